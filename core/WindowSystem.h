// The window-system layer of the client driver: the Win32 operations the program
// uses, under their Win32 names, with exactly the meaning the client driver relies on.
//
// Texts cross this interface as UTF-8. Each backend converts them to the ANSI code
// page at its own boundary, so the client sees the bytes a real ANSI program sends
// ("¬" arrives as the single byte 0xAC).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace loafix {

// An opaque 32-bit window handle; 0 is "no window" and every lookup yields 0 when
// nothing matches.
using Hwnd = std::uint32_t;

// Window messages the program sends or posts, with the numbers the client expects.
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;

inline constexpr std::intptr_t HWND_TOPMOST = -1;
inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;

// "Move" combined with the caption hit-test code: the window follows the mouse.
inline constexpr std::uintptr_t SC_DRAGMOVE = 0xF012;

// Why a client operation stopped before its end.
enum class ClientStop {
  None,
  NotAnswering,   // a call waited out its bound on a client that did not answer
  Refused,        // the window system would not let the message through (the client
                  // runs at a higher privilege than the program)
  Unconvertible,  // a text could not be put into the system's code page, so it was not
                  // sent (as "" it would empty the box and leave the Enter a line to post)
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // ---- client operations ----
  // One client operation is one event handler's whole conversation with the client
  // (a command, a tick). A call that gives up on a window that does not answer in
  // time, or that the window system refuses, ends the operation it belongs to: every
  // later send, post, show or enable of it reaches nothing and yields 0, so a text that
  // never arrived gets no Enter and the second line of a pair is not sent. A hung
  // client so costs at most one wait per operation; nothing is retried later. The
  // hosts open one around every handler and finish it when the handler returns.
  class Operation {
   public:
    explicit Operation(WindowSystem& ws) : ws_(ws), outer_(ws.stop_) {
      ws.stop_ = ClientStop::None;
    }
    ~Operation() { ws_.stop_ = outer_; }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    // The handler has returned: an operation that stopped early is told to
    // onOperationStopped, while it is still the running one.
    void finish() {
      if (ws_.stop_ != ClientStop::None && ws_.onOperationStopped)
        ws_.onOperationStopped(ws_.stop_);
    }

   private:
    WindowSystem& ws_;
    ClientStop outer_;
  };
  // True once a call of the running operation has given up or been refused.
  bool operationAbandoned() const { return stop_ != ClientStop::None; }
  ClientStop operationStop() const { return stop_; }

  // ---- what the person may be told ----
  // Neither changes what is sent: both only tell.
  // After a handler whose operation stopped early, with the reason.
  std::function<void(ClientStop)> onOperationStopped;
  // After each chat line the chat sender handed over: the room it went to (0: none was
  // open), and how the operation stands after it.
  std::function<void(Hwnd room, ClientStop)> onChatLine;

  // The first top-level window of the class (any letter case) and, when given, with
  // exactly that caption; else 0. Hidden windows are found too.
  virtual Hwnd FindWindowA(std::string_view className,
                           std::optional<std::string_view> caption = std::nullopt) = 0;

  // The next direct child of `parent` after `after` (0: from the first child), in the
  // window system's order of children (top of the Z order first), with that class (any
  // letter case) and caption (exact, when given); else 0. A parent of 0 searches the
  // top-level windows. `after` need not share the class being searched for.
  virtual Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                             std::optional<std::string_view> caption = std::nullopt) = 0;

  // Synchronous: returns after the target has handled the message. Handle 0, or a
  // window that no longer exists, delivers nothing and yields 0.
  virtual std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  // The same, with a text as lParam (WM_SETTEXT): converted to ANSI, zero-terminated.
  virtual std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::string_view text) = 0;

  // Queued to the target's thread; returns at once.
  virtual void PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) = 0;

  // Both are bounded like a send: showing never waits for the window's thread (it
  // takes effect once the thread answers), and enabling waits for an answer at most
  // as long as a send before it gives up and ends the operation.
  virtual void ShowWindow(Hwnd window, int command) = 0;
  virtual void EnableWindow(Hwnd window, bool enable) = 0;
  virtual void SetWindowPos(Hwnd window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                            unsigned flags) = 0;
  virtual void ReleaseCapture() = 0;

  // Length of the caption in ANSI characters; 0 for handle 0.
  virtual int GetWindowTextLengthA(Hwnd window) = 0;
  // At most maxCount - 1 ANSI characters of the caption, returned as UTF-8.
  virtual std::string GetWindowTextA(Hwnd window, int maxCount) = 0;

 protected:
  // A backend's call gave up on a window, or was refused: the operation ends here.
  void abandonOperation(ClientStop why) {
    if (stop_ == ClientStop::None) stop_ = why;
  }

 private:
  ClientStop stop_ = ClientStop::None;
};

}  // namespace loafix
