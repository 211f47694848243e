// What the strip tells when the mouse rests on it: whether the person is idle, since
// when, when the next line goes out and how often, and what became of the last line.
#include <algorithm>
#include <cmath>

#include "idle/IdleCommands.h"

namespace loafix {

namespace {

std::string ClockTime(double timeOfDay) {
  const int minuteOfDay = static_cast<int>(timeOfDay / 60) % (24 * 60);
  const auto twoDigits = [](int n) { return std::string{char('0' + n / 10), char('0' + n % 10)}; };
  return twoDigits(minuteOfDay / 60) + ":" + twoDigits(minuteOfDay % 60);
}

std::string IdleText(Program& p) {
  if (!p.checked(items::idleon) || p.idleState.since < 0) return "not idle";
  std::string text = "idle since " + ClockTime(p.idleState.since);
  if (!p.checked(items::enablescrolling)) return text + " \u00b7 scrolling off";
  const double left = std::ceil(p.idleState.nextLineAt - p.host.now());
  const int nextIn =
      p.idleState.nextLineAt < 0 || left < 0 ? 0 : static_cast<int>(std::min(left, 2e9));
  text += " \u00b7 next line in " + std::to_string(nextIn) + " s";
  text += " \u00b7 every " + std::to_string(IntervalSeconds(p.read("interval"))) + " s";
  return text;
}

std::string LastLineText(const Program::LastLine& line) {
  const std::string when = "last line " + ClockTime(line.at);
  switch (line.stop) {
    case ClientStop::NotAnswering:
      return when + ": the client did not answer";
    case ClientStop::Refused:
      return when + ": the client refused it (it runs as administrator)";
    case ClientStop::Unconvertible:
      return when + ": its text does not fit this Windows' code page";
    case ClientStop::None:
      break;
  }
  if (line.noRoom) return when + ": no chat room open";
  return when + " in " + (line.room.empty() ? std::string("the chat room") : line.room);
}

}  // namespace

std::string StripTooltip(Program& p) {
  std::string text = IdleText(p);
  if (p.lastLine.at >= 0) text += " \u00b7 " + LastLineText(p.lastLine);
  return text;
}

}  // namespace loafix
