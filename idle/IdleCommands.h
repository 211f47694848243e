// The idle subsystem's commands and ticks: the idle clock on the strip, the switch,
// the periodic poster and its options, the brag, idling by itself, and the strip's
// tooltip.
#pragma once

#include <string>
#include <string_view>

#include "core/FormSpec.h"
#include "core/Program.h"

namespace loafix {

// The items of the idle options submenu; the poster and the tooltip read the options'
// check marks.
namespace items {
inline constexpr ItemName idleoptions{"idleoptions"};
inline constexpr ItemName idleon{"idleon"};
inline constexpr ItemName idleoff{"idleoff"};
inline constexpr ItemName bragstats{"bragstats"};
inline constexpr ItemName aimsn{"aimsn"};
inline constexpr ItemName setascii{"setascii"};
inline constexpr ItemName reason{"reason"};
inline constexpr ItemName linksite{"linksite"};
inline constexpr ItemName enablescrolling{"enablescrolling"};
inline constexpr ItemName scrollinginterval{"scrollinginterval"};
inline constexpr ItemName autoidle{"autoidle"};
inline constexpr ItemName autoback{"autoback"};
}  // namespace items

// The submenu "&idle opts." of the command menu, its items in order.
MenuItem IdleOptionsMenu(Program& p);

void IdleClockTick(Program& p);   // Timer1
void IdlePosterTick(Program& p);  // Timer2
void idleon(Program& p);
void idleoff(Program& p);
void bragstats(Program& p);
// The poster's options: what its lines say (screen name, glyph, reason or link site)
// and how often they go.
void aimsn(Program& p);
void setascii(Program& p);
void reason(Program& p);
void scrollinginterval(Program& p);
void enablescrolling(Program& p);
// The link-site window (Form4) and the command that opens it.
FormSpec LinkSiteSpec(Program& p);
void linksite(Program& p);
// The statistics line with the strip's counters as they stand, and the screen name when
// asked: the announcement of idleon and each line of the poster.
void PostStats(Program& p, bool withScreenName);
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
