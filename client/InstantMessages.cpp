#include "client/InstantMessages.h"

#include <algorithm>
#include <optional>
#include <string>

#include "client/clientkit.h"

namespace loafix {
namespace {

constexpr std::uintptr_t kSpaceBar = 0x20;

// How long a window must stay as it is before a wait takes it as finished. The client
// creates a window's children one after another on its own thread; seen from here two
// children are apart by one window creation (a millisecond or a few under Wine) unless
// the client's thread loses the processor meanwhile, which on desktop Windows costs a
// time slice of about 30 ms. 50 ms outlasts one lost slice, spans five passes of the
// wait, and is nothing beside the time the client takes to open the window.
constexpr double kHoldStillSeconds = 0.050;
// A chain of nine lookups that wrapped (fewer than nine icons) picks an icon that is no
// send button in a finished window, so the client would send nothing; mostly it means a
// window still being built. Such a window must hold still far longer: on a loaded
// machine a client can stall between two children for longer than 50 ms (under Wine,
// on two cores shared by ten busy processes, the stand-in client building a late window
// one child per timer left gaps of up to 46 ms, and with 50 ms alone one send in 20
// still clicked "Text Color").
constexpr double kWrappedHoldStillSeconds = 1.0;
constexpr int kSendIconLookups = 9;
// The time readings are sums of floating-point seconds; a microsecond of slack keeps a
// span of exactly 50 ms from reading as a hair short.
constexpr double kClockSlackSeconds = 1e-6;

// A window as one pass of a wait saw it: itself, the child the routine will use, and
// how many children it has of the class that child is picked from.
struct Sighting {
  Hwnd window = 0, part = 0, target = 0;
  int count = 0;
  bool operator==(const Sighting&) const = default;
};

int CountChildren(WindowSystem& ws, Hwnd parent, std::string_view className) {
  int n = 0;
  for (Hwnd w = ChildOf(ws, parent, 0, className); w != 0;
       w = NextInChain(ws, parent, w, className))
    ++n;
  return n;
}

// Whether the passes of one wait have seen the same thing for `span` seconds: a window
// another process is still building changes between passes, and a choice made from it
// half-built (a chain of lookups that wraps, a box's button not there yet) would be
// wrong once it is finished.
class HoldStill {
 public:
  bool operator()(const Sighting& seen, double now, double span = kHoldStillSeconds) {
    if (!seen_ || seen != last_) {
      seen_ = true;
      last_ = seen;
      since_ = now;
      return false;
    }
    return now - since_ >= span - kClockSlackSeconds;
  }

 private:
  bool seen_ = false;
  Sighting last_;
  double since_ = 0;
};

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

  // Wait for the IM window with its text box and its ninth icon, the send button, taken
  // once the window holds still with as many icons as before.
  Hwnd im = 0, body = 0, button = 0;
  HoldStill imStill;
  const bool found = PollUntil(host, host.now() + kImWaitLimitSeconds, [&] {
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    body = ChildOf(ws, im, 0, kRichClass);
    // Nine lookups, each after the previous one; one after 0 starts again from the
    // first icon, so a window with five icons yields its third.
    button = 0;
    for (int i = 0; i < kSendIconLookups; ++i) button = ChildOf(ws, im, button, kIconClass);
    const bool complete = im != 0 && body != 0 && button != 0;
    const int icons = CountChildren(ws, im, kIconClass);
    const double span = icons < kSendIconLookups ? kWrappedHoldStillSeconds : kHoldStillSeconds;
    return imStill({im, body, button, icons}, host.now(), span) && complete;
  });
  if (!found) return;

  ws.SendMessageA(body, WM_SETTEXT, 0, text);
  ws.SendMessageA(button, WM_LBUTTONDOWN, 0, 0);
  ws.SendMessageA(button, WM_LBUTTONUP, 0, 0);

  // Wait for the outcome: the client closes the IM window, or raises its box. A box is
  // the outcome with or without a button; it is taken once it holds still, so a box
  // caught before its button exists still gets that button pressed.
  Hwnd box = 0, dismiss = 0;
  HoldStill boxStill;
  const bool ended = PollUntil(host, host.now() + kImWaitLimitSeconds, [&] {
    box = ws.FindWindowA(kClientBoxClass, kClientBoxCaption);
    im = ChildOf(ws, mdi, 0, kChildClass, kImWindowCaption);
    dismiss = ChildOf(ws, box, 0, kButtonClass);
    const Sighting seen{box, 0, dismiss, CountChildren(ws, box, kButtonClass)};
    const bool still = boxStill(seen, host.now());
    return box != 0 ? still : im == 0;
  });
  if (!ended || box == 0) return;
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
