// The stand-in client's windows as real Win32 windows: every window the model asks
// for is created with the class name it names, in the same tree and order of
// children, so a program on the same desktop finds them as it would find the real
// client's. The messages a program can send are handed to the model; everything
// else is the window system's default handling. The windows also draw themselves
// (toolbar, chat room with its transcript and people list) so a person can follow.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>
#include <map>
#include <string>
#include <unordered_map>

#include "clientsim/ClientModel.h"

namespace loafix::clientsim {

class Win32Surface : public ClientSurface {
 public:
  explicit Win32Surface(HINSTANCE instance);
  ~Win32Surface() override;
  Win32Surface(const Win32Surface&) = delete;
  Win32Surface& operator=(const Win32Surface&) = delete;

  // The model whose windows these are; set once, before it starts.
  void attach(ClientModel& model) { model_ = &model; }
  // Commands of the frame's own menu (the front end's, not the model's).
  std::function<void(int command)> onCommand;
  // The frame's menu bar, attached when the frame is created.
  HMENU frameMenu = nullptr;
  HWND mdiClient() const { return mdiClient_; }
  HWND frame() const { return frame_; }

  // ---- ClientSurface ----
  Wnd create(Wnd parent, std::string_view className, std::string_view caption,
             bool onTop = false) override;
  void destroy(Wnd window) override;
  bool exists(Wnd window) override;
  std::string text(Wnd window) override;
  void setText(Wnd window, std::string_view text) override;
  void setEnabled(Wnd window, bool enabled) override;
  bool enabled(Wnd window) override;
  bool visible(Wnd window) override;
  void after(int ms, std::function<void()> action) override;
  void changed() override;

 private:
  enum class Kind { Plain, Frame, MdiChild, Subclassed };
  struct Info {
    Kind kind = Kind::Plain;
    WNDPROC original = nullptr;  // the system class's procedure of a subclassed window
    std::string className;       // lower case
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK TimerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                          const Info& info);
  void registerClass(std::string_view className);
  void layout(HWND parent);
  void paint(HWND window);

  HINSTANCE instance_;
  ClientModel* model_ = nullptr;
  HWND frame_ = nullptr;
  HWND mdiClient_ = nullptr;
  HWND timerWindow_ = nullptr;
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;
  int roomsCreated_ = 0;
  // What the window being created is, for the messages that arrive during creation.
  Info creating_;
  std::unordered_map<HWND, Info> windows_;
  std::map<std::string, bool> registered_;
  UINT_PTR nextTimer_ = 1;
  std::map<UINT_PTR, std::function<void()>> pending_;
};

}  // namespace loafix::clientsim
