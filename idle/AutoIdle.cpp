// Idling by itself, off until the person turns it on: "auto idle" starts idling after a
// quiet spell of the keyboard and mouse, "auto back" ends it at the person's first input
// afterwards. Both act through the very handlers of "&idle on" and "&idle off". A slow
// timer looks at the window system's input clock; nothing spins.
#include <algorithm>

#include "idle/IdleCommands.h"

namespace loafix {
namespace {

inline constexpr std::string_view kAutoIdleKey = "auto idle";
inline constexpr std::string_view kAutoBackKey = "auto back";
inline constexpr std::string_view kAutoIdlePrompt =
    "idle by itself after how many minutes without keyboard or mouse? (0 = never)";
inline constexpr std::string_view kAutoIdleTitle = "auto idle";
// How often the input clock is looked at: one cheap call every few seconds.
inline constexpr int kCheckMs = 2000;
// Auto back ends only idling that has seen a full quiet minute: the mouse that chose
// "&idle on", or moved just after, is not a return.
inline constexpr double kQuietBeforeBack = 60;
inline constexpr int kMostMinutes = 366 * 24 * 60;

}  // namespace

int AutoIdleMinutes(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  long long minutes = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    minutes = std::min<long long>(minutes * 10 + (text[i] - '0'), kMostMinutes);
  }
  return any ? static_cast<int>(minutes) : 0;
}

void ArmAutoIdle(Program& p) {
  const bool on = AutoIdleMinutes(p.read(kAutoIdleKey)) > 0 || p.checked(items::autoback);
  // Set only on a change: setting restarts the countdown.
  if (on == p.idleState.checking) return;
  p.idleState.checking = on;
  p.host.setTimer(p.Timer3(), on, on ? kCheckMs : 0);
}

void autoidle(Program& p) {
  const std::string stored = p.read(kAutoIdleKey);
  const auto answer = p.host.inputBox(kAutoIdlePrompt, kAutoIdleTitle, stored.empty() ? "0" : stored);
  const int minutes = answer ? AutoIdleMinutes(*answer) : 0;
  // Off is no key at all, as in a file an older copy of the program wrote.
  if (minutes > 0) {
    p.write(kAutoIdleKey, std::to_string(minutes));
  } else {
    p.write(kAutoIdleKey, std::nullopt);
  }
  ArmAutoIdle(p);
}

void AutoIdleAtStart(Program& p) {
  p.check(items::autoback, p.read(kAutoBackKey) == "1");
  ArmAutoIdle(p);
}

void autoback(Program& p) {
  const bool on = !p.checked(items::autoback);
  p.check(items::autoback, on);
  if (on) {
    p.write(kAutoBackKey, "1");
  } else {
    p.write(kAutoBackKey, std::nullopt);
  }
  ArmAutoIdle(p);
}

void AutoIdleTick(Program& p) {
  const double now = p.host.now();
  const double input = p.host.lastInput();
  std::optional<double>& armed = p.idleState.backArmedAt;
  if (!p.checked(items::idleon)) {
    const int minutes = AutoIdleMinutes(p.read(kAutoIdleKey));
    if (minutes <= 0 || now - input < minutes * 60.0) return;
    idleon(p);
    // Idling that began by itself began when the person left: the quiet spell that
    // started it is the quiet minute auto back waits for.
    if (p.checked(items::idleon) && !armed) armed = input;
    return;
  }
  if (!p.checked(items::autoback)) return;
  if (!armed) {
    if (now - input >= kQuietBeforeBack) armed = input;
    return;
  }
  // Input made in the program's own menu is a choice from it, not a return.
  if (input > *armed && input > p.host.menuLastClosed()) idleoff(p);
}

}  // namespace loafix
