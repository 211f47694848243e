#include "client/InstantMessages.h"

#include <algorithm>
#include <optional>
#include <string>

#include "client/clientkit.h"

namespace loafix {
namespace {

constexpr std::string_view kToolbarHostClass = "AOL Toolbar";
constexpr std::string_view kToolbarClass = "_AOL_Toolbar";
constexpr std::string_view kComboClass = "_AOL_Combobox";
constexpr std::string_view kEditClass = "Edit";
constexpr std::string_view kButtonClass = "Button";
constexpr std::uintptr_t kSpaceBar = 0x20;

// Longest sleep between two looks at the client: short enough that a window the
// client opens is seen at once, long enough that waiting costs no processor.
constexpr double kPollSeconds = 0.010;

void WaitBeforeNextLook(Host& host, double giveUp) {
  host.waitForEvents(std::min(host.now() + kPollSeconds, giveUp));
}

// A lookup under a window that was not found finds nothing. FindWindowExA with a
// parent of 0 would search the top-level windows instead and could hand the keyword
// and its Enter to another program's edit box.
Hwnd ChildOf(WindowSystem& ws, Hwnd parent, Hwnd after, std::string_view className,
             std::optional<std::string_view> caption = std::nullopt) {
  return parent == 0 ? 0 : ws.FindWindowExA(parent, after, className, caption);
}

}  // namespace

void EnterKeyword(WindowSystem& ws, std::string_view keyword) {
  const Hwnd frame = ws.FindWindowA(kFrameClass);
  const Hwnd bar = ChildOf(ws, frame, 0, kToolbarHostClass);
  const Hwnd inner = ChildOf(ws, bar, 0, kToolbarClass);
  const Hwnd combo = ChildOf(ws, inner, 0, kComboClass);
  const Hwnd box = ChildOf(ws, combo, 0, kEditClass);
  ws.SendMessageA(box, WM_SETTEXT, 0, keyword);
  ws.SendMessageA(box, WM_CHAR, 32, 0);
  ws.SendMessageA(box, WM_CHAR, 13, 0);
}

void SendIM(WindowSystem& ws, Host& host, std::string_view screenName, std::string_view text) {
  const Hwnd frame = ws.FindWindowA(kFrameClass);
  const Hwnd mdi = ChildOf(ws, frame, 0, kMdiClass);
  EnterKeyword(ws, std::string(kImKeywordPrefix) + std::string(screenName));

  // Wait for the IM window with its text box and its ninth icon, the send button.
  Hwnd im = 0, body = 0, button = 0;
  double giveUp = host.now() + kImWaitLimitSeconds;
  for (;;) {
    host.processEvents();
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    body = ChildOf(ws, im, 0, kRichClass);
    // Nine lookups, each after the previous one; one after 0 starts again from the
    // first icon, so a window with five icons yields its third.
    button = 0;
    for (int i = 0; i < 9; ++i) button = ChildOf(ws, im, button, kIconClass);
    if (im != 0 && body != 0 && button != 0) break;
    if (host.now() >= giveUp) return;
    WaitBeforeNextLook(host, giveUp);
  }

  ws.SendMessageA(body, WM_SETTEXT, 0, text);
  ws.SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
  ws.SendMessageA(button, WM_LBUTTONUP, 0, 0);

  // Wait for the outcome: the client closes the IM window, or raises its box.
  giveUp = host.now() + kImWaitLimitSeconds;
  for (;;) {
    host.processEvents();
    const Hwnd box = ws.FindWindowA(kClientBoxClass, kClientBoxCaption);
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    // The client creates its box before the box's button, and we can find the box in
    // between: it counts once its button is there, or the box would stay up.
    const Hwnd dismiss = ChildOf(ws, box, 0, kButtonClass);
    if (dismiss != 0) {
      ws.PostMessageA(dismiss, WM_KEYDOWN, kSpaceBar, 0);
      ws.PostMessageA(dismiss, WM_KEYUP, kSpaceBar, 0);
      ws.PostMessageA(im, WM_CLOSE, 0, 0);
      return;
    }
    if (box == 0 && im == 0) return;
    if (host.now() >= giveUp) return;
    WaitBeforeNextLook(host, giveUp);
  }
}

void IMsOff(WindowSystem& ws, Host& host) {
  SendIM(ws, host, kImsOffName, kImsSwitchText);
}

void IMsOn(WindowSystem& ws, Host& host) {
  SendIM(ws, host, kImsOnName, kImsSwitchText);
}

}  // namespace loafix
