#include "client/ClientWindows.h"

#include <algorithm>

namespace loafix {
namespace {

// Short enough that a window the client opens is seen at once, long enough that
// waiting costs no processor.
constexpr double kPollSeconds = 0.010;

}  // namespace

Hwnd ChildOf(WindowSystem& ws, Hwnd parent, Hwnd after, std::string_view className,
             std::optional<std::string_view> caption) {
  return parent == 0 ? 0 : ws.FindWindowExA(parent, after, className, caption);
}

Hwnd NextInChain(WindowSystem& ws, Hwnd parent, Hwnd after, std::string_view className) {
  return after == 0 ? 0 : ChildOf(ws, parent, after, className);
}

Hwnd ClientFrame(WindowSystem& ws) { return ws.FindWindowA(kFrameClass); }

Hwnd ClientMdi(WindowSystem& ws) { return ChildOf(ws, ClientFrame(ws), 0, kMdiClass); }

bool PollUntil(Host& host, double giveUp, const std::function<bool()>& look) {
  for (;;) {
    host.processEvents();
    if (look()) return true;
    if (host.now() >= giveUp) return false;
    host.waitForEvents(std::min(host.now() + kPollSeconds, giveUp));
  }
}

}  // namespace loafix
