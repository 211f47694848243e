// The stand-in chat client: its window tree and how it reacts to the messages a
// program sends it. The same model runs on the simulated desktop (tests, headless
// demo) and inside clientsim.exe over real Win32 windows; each of those supplies a
// ClientSurface through which the model creates and changes its windows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loafix::clientsim {

using Wnd = std::uint32_t;

// What the model needs of the window system it lives in. Texts are ANSI bytes.
class ClientSurface {
 public:
  virtual ~ClientSurface() = default;
  // A new window of the class under `parent` (0: a top-level window), created last in
  // the parent's order of children, or first when `onTop`.
  virtual Wnd create(Wnd parent, std::string_view className, std::string_view caption,
                     bool onTop = false) = 0;
  virtual void destroy(Wnd window) = 0;
  virtual bool exists(Wnd window) = 0;
  virtual std::string text(Wnd window) = 0;
  virtual void setText(Wnd window, std::string_view text) = 0;
  virtual void setEnabled(Wnd window, bool enabled) = 0;
  virtual bool enabled(Wnd window) = 0;
  virtual bool visible(Wnd window) = 0;
  // Runs `action` about `ms` milliseconds from now on the client's own thread.
  virtual void after(int ms, std::function<void()> action) = 0;
  // Something a person watching the client would see has changed.
  virtual void changed() {}
};

struct ChatRoom {
  Wnd window = 0;
  Wnd transcriptBox = 0;  // first RICHCNTL: the lines the room shows
  Wnd inputBox = 0;       // second RICHCNTL: where lines are typed
  Wnd people = 0;         // _AOL_Listbox
  std::string name;
  std::vector<std::string> lines;  // ANSI bytes, as received
};

class ClientModel {
 public:
  explicit ClientModel(ClientSurface& surface);

  // Builds the client's frame with its toolbar and MDI area; no room is open yet.
  void start(std::string_view screenName = "loafixfan");
  // Opens a chat room; `onTop` puts it first in the MDI area's order of children.
  ChatRoom& openRoom(std::string_view name, bool onTop = false);
  void closeRoom(Wnd room);
  // Closes the whole client (every window goes).
  void quit();

  // A message sent or posted to one of the client's windows. `text` holds the ANSI
  // bytes of a WM_SETTEXT. nullopt: leave the message to the default handling
  // (WM_SETTEXT stores the text, WM_CLOSE destroys the window).
  std::optional<std::intptr_t> onMessage(Wnd window, std::uint32_t message, std::uintptr_t wParam,
                                         std::intptr_t lParam, std::string_view text);
  // The window is going away (destroyed by the default handling or by its owner).
  void onDestroyed(Wnd window);

  Wnd frame() const { return frame_; }
  Wnd mdi() const { return mdi_; }
  const std::vector<ChatRoom>& rooms() const { return rooms_; }
  ChatRoom* room(Wnd window);
  // Every line any room received, in order (ANSI bytes).
  const std::vector<std::string>& received() const { return received_; }
  // Everything the client was sent, one line each, for logs and tests.
  const std::vector<std::string>& log() const { return log_; }
  // Called with each new log line (clientsim.exe appends it to its log file).
  std::function<void(const std::string&)> onLog;

 private:
  void record(std::string line);

  ClientSurface& surface_;
  Wnd frame_ = 0, mdi_ = 0, toolbarHost_ = 0, toolbar_ = 0, combo_ = 0, keywordBox_ = 0;
  std::string screenName_;
  std::vector<ChatRoom> rooms_;
  std::vector<std::string> received_;
  std::vector<std::string> log_;
};

// Hex of a byte string ("3c666f...") as the logs write it.
std::string Hex(std::string_view bytes);

}  // namespace loafix::clientsim
