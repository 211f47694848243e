// An in-process desktop: a tree of windows with classes, captions, Z order, enabled,
// visible and topmost flags, and a handler per window for the messages sent and
// posted to it. Texts are stored as bytes of the desktop's ANSI code page (Windows-1252
// unless a test declares another), converted at this boundary, so tests see the bytes a
// real client would receive.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/CodePage.h"
#include "core/WindowSystem.h"
#include "platform/sim/SimClock.h"

namespace loafix::sim {

struct SimMessage {
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  std::string text;  // ANSI bytes of a text lParam (WM_SETTEXT)
  bool posted;
};

// A window's own handling of a message; nullopt leaves it to the default handling:
// WM_SETTEXT stores the text as the caption, WM_CLOSE destroys the window,
// WM_SYSCOMMAND with the drag-move command counts a drag.
using SimHandler = std::function<std::optional<std::intptr_t>(Hwnd, const SimMessage&)>;

struct SimWindow {
  Hwnd parent = 0;
  std::string className;
  std::string caption;  // ANSI bytes
  std::vector<Hwnd> children;  // top of the Z order first
  bool visible = true;
  bool enabled = true;
  bool minimized = false;
  bool topmost = false;
  int drags = 0;
  Micros hungUntil = 0;  // top-level windows: the process answers no message until then
  bool refuses = false;  // top-level windows: the process runs at a higher privilege
  SimHandler handler;
};

class SimDesktop : public WindowSystem {
 public:
  explicit SimDesktop(SimClock& clock, const CodePage& codePage = Windows1252());

  // The system's ANSI code page on this desktop: the settings store's too.
  const CodePage& codePage() const { return codePage_; }

  // ---- building the desktop (tests, the stand-in client, the host) ----
  // Creates a window last in the parent's order of children (first when `onTop`);
  // parent 0 makes it a top-level window. Caption in ANSI bytes.
  Hwnd create(Hwnd parent, std::string_view className, std::string_view ansiCaption = "",
              bool onTop = false);
  // Destroys the window and its descendants; the observer hears of each.
  void destroy(Hwnd window);
  void setHandler(Hwnd window, SimHandler handler);
  bool exists(Hwnd window) const { return windows_.count(window) != 0; }
  SimWindow* window(Hwnd window);
  const std::vector<Hwnd>& children(Hwnd parent);
  // Caption as UTF-8, for assertions.
  std::string caption(Hwnd window);
  void bringToTop(Hwnd window);
  // The process of a top-level window stops answering messages for `seconds` of
  // virtual time (threads suspended, or busy).
  void hang(Hwnd topLevel, double seconds);
  // The process of a top-level window runs at a higher privilege than the program (a
  // client started as administrator): the window system refuses every message, show
  // and enable the program aims at its windows, at once; lookups still find them.
  void refuse(Hwnd topLevel, bool refusing = true);
  // Shows, hides or minimizes a window at once, as its own process does (the program's
  // own windows, and a delayed ShowWindow taking effect).
  void setShown(Hwnd window, int command);
  // How long a send waits for a window that does not answer: as long as the Win32
  // backend's.
  static constexpr Micros kSendTimeout = 5 * kSecond;
  // Called for every window destroyed.
  std::function<void(Hwnd)> onDestroyed;

  // Messages delivered (sent, or posted and then dispatched), when recording is on.
  struct Delivery {
    Hwnd window;
    SimMessage message;
  };
  void recordDeliveries(bool on) { recording_ = on; }
  const std::vector<Delivery>& deliveries() const { return deliveries_; }
  void clearDeliveries() { deliveries_.clear(); }

  // ---- WindowSystem ----
  Hwnd FindWindowA(std::string_view className,
                   std::optional<std::string_view> caption = std::nullopt) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                     std::optional<std::string_view> caption = std::nullopt) override;
  std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                             std::string_view text) override;
  void PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  void ShowWindow(Hwnd window, int command) override;
  void EnableWindow(Hwnd window, bool enable) override;
  void SetWindowPos(Hwnd window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                    unsigned flags) override;
  void ReleaseCapture() override { ++captureReleases_; }
  int GetWindowTextLengthA(Hwnd window) override;
  std::string GetWindowTextA(Hwnd window, int maxCount) override;

  int captureReleases() const { return captureReleases_; }

 private:
  std::intptr_t deliver(Hwnd window, SimMessage message);
  std::intptr_t send(Hwnd window, SimMessage message);
  SimWindow* topLevelOf(Hwnd window);
  Micros hungUntil(Hwnd window);
  // Whether the window's process takes a message: refused at once, or waited for up to
  // kSendTimeout; either failure ends the operation.
  bool answers(Hwnd window);

  SimClock& clock_;
  const CodePage& codePage_;
  std::unordered_map<Hwnd, SimWindow> windows_;
  std::vector<Hwnd> topLevel_;
  Hwnd nextHandle_ = 0x10010;
  bool recording_ = false;
  std::vector<Delivery> deliveries_;
  int captureReleases_ = 0;
};

}  // namespace loafix::sim
