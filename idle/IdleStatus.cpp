// What the strip tells when the mouse rests on it: whether the person is idle, since
// when, when the next line goes out and how often.
#include <cmath>
#include <algorithm>

#include "idle/IdleCommands.h"

namespace loafix {

std::string StripTooltip(Program& p) {
  if (!p.checked("idleon") || p.idleState.since < 0) return "not idle";
  const int minuteOfDay = static_cast<int>(p.idleState.since / 60) % (24 * 60);
  const auto twoDigits = [](int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; };
  std::string text = "idle since " + twoDigits(minuteOfDay / 60) + ":" + twoDigits(minuteOfDay % 60);
  if (!p.checked("enablescrolling")) return text + " \u00b7 scrolling off";
  const double left = std::ceil(p.idleState.nextLineAt - p.host.now());
  const int nextIn = p.idleState.nextLineAt < 0 || left < 0 ? 0 : static_cast<int>(std::min(left, 2e9));
  text += " \u00b7 next line in " + std::to_string(nextIn) + " s";
  text += " \u00b7 every " + std::to_string(IntervalSeconds(p.read("interval"))) + " s";
  return text;
}

}  // namespace loafix
