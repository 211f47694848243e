// The idle subsystem's commands and ticks: the idle clock on the strip, the switch,
// the periodic poster, the brag, idling by itself, and the strip's tooltip.
#pragma once

#include <string>
#include <string_view>

#include "core/Program.h"

namespace loafix {

void IdleClockTick(Program& p);   // Timer1
void IdlePosterTick(Program& p);  // Timer2
void idleon(Program& p);
void idleoff(Program& p);
void bragstats(Program& p);
// Idling by itself: the two items at the end of the idle options, and the check.
void autoidle(Program& p);
void autoback(Program& p);
void AutoIdleTick(Program& p);  // Timer3
// Starts or stops Timer3 as the settings ask, after each change.
void ArmAutoIdle(Program& p);
// At start-up: the "auto back" mark from the settings file, and the check armed.
void AutoIdleAtStart(Program& p);
// The strip's tooltip: "not idle", or since when, when the next line goes and how often;
// then, once a line has gone, when and where the last one went.
std::string StripTooltip(Program& p);

// The poster's reading of the "interval" setting: a leading decimal number (sign and
// fraction allowed) followed by anything, e.g. the "." the interval prompt appends;
// rounded half to even; clamped to 32 bits. Nothing readable counts as 60.
int IntervalSeconds(std::string_view text);
// The "auto idle" setting's minutes: leading digits after any blanks; 0 (off) when there
// are none, and at most a year.
int AutoIdleMinutes(std::string_view text);

}  // namespace loafix
