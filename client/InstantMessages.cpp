#include "client/InstantMessages.h"

#include <algorithm>
#include <optional>
#include <string>

#include "client/clientkit.h"

namespace loafix {
namespace {

constexpr std::uintptr_t kSpaceBar = 0x20;

}  // namespace

void EnterKeyword(WindowSystem& ws, std::string_view keyword) {
  const Hwnd bar = ChildOf(ws, ClientFrame(ws), 0, kToolbarHostClass);
  const Hwnd inner = ChildOf(ws, bar, 0, kToolbarClass);
  const Hwnd combo = ChildOf(ws, inner, 0, kComboClass);
  const Hwnd box = ChildOf(ws, combo, 0, kKeywordBoxClass);
  ws.SendMessageA(box, WM_SETTEXT, 0, keyword);
  ws.SendMessageA(box, WM_CHAR, 32, 0);
  ws.SendMessageA(box, WM_CHAR, 13, 0);
}

void SendIM(WindowSystem& ws, Host& host, std::string_view screenName, std::string_view text) {
  const Hwnd mdi = ClientMdi(ws);
  EnterKeyword(ws, std::string(kImKeywordPrefix) + std::string(screenName));

  // Wait for the IM window with its text box and its ninth icon, the send button.
  Hwnd im = 0, body = 0, button = 0;
  const bool found = PollUntil(host, host.now() + kImWaitLimitSeconds, [&] {
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    body = ChildOf(ws, im, 0, kRichClass);
    // Nine lookups, each after the previous one; one after 0 starts again from the
    // first icon, so a window with five icons yields its third.
    button = 0;
    for (int i = 0; i < 9; ++i) button = ChildOf(ws, im, button, kIconClass);
    return im != 0 && body != 0 && button != 0;
  });
  if (!found) return;

  ws.SendMessageA(body, WM_SETTEXT, 0, text);
  ws.SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
  ws.SendMessageA(button, WM_LBUTTONUP, 0, 0);

  // Wait for the outcome: the client closes the IM window, or raises its box.
  Hwnd dismiss = 0;
  PollUntil(host, host.now() + kImWaitLimitSeconds, [&] {
    const Hwnd box = ws.FindWindowA(kClientBoxClass, kClientBoxCaption);
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    // The client creates its box before the box's button, and we can find the box in
    // between: it counts once its button is there, or the box would stay up.
    dismiss = ChildOf(ws, box, 0, kButtonClass);
    return dismiss != 0 || (box == 0 && im == 0);
  });
  if (dismiss == 0) return;
  ws.PostMessageA(dismiss, WM_KEYDOWN, kSpaceBar, 0);
  ws.PostMessageA(dismiss, WM_KEYUP, kSpaceBar, 0);
  ws.PostMessageA(im, WM_CLOSE, 0, 0);
}

void IMsOff(WindowSystem& ws, Host& host) {
  SendIM(ws, host, kImsOffName, kImsSwitchText);
}

void IMsOn(WindowSystem& ws, Host& host) {
  SendIM(ws, host, kImsOnName, kImsSwitchText);
}

}  // namespace loafix
