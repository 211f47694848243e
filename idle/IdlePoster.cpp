// The periodic poster: each tick of Timer2 waits the configured interval, then posts
// the statistics line and, a second later, the reason or website line, as the check
// marks read after the wait ask.
#include <algorithm>
#include <array>
#include <climits>
#include <string>

#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "idle/IdleCommands.h"

namespace loafix {
namespace {

enum class Mark { Any, Checked, Unchecked };
enum class Second { None, Reason, Website };

struct PosterRule {
  Mark aimsn, reason, linksite;  // enablescrolling must be checked for every rule
  Second second;
};

constexpr std::array<PosterRule, 6> kPosterRules = {{
    {Mark::Unchecked, Mark::Unchecked, Mark::Unchecked, Second::None},
    {Mark::Checked, Mark::Unchecked, Mark::Unchecked, Second::None},
    {Mark::Unchecked, Mark::Checked, Mark::Any, Second::Reason},
    {Mark::Checked, Mark::Checked, Mark::Any, Second::Reason},
    {Mark::Unchecked, Mark::Any, Mark::Checked, Second::Website},
    {Mark::Checked, Mark::Any, Mark::Checked, Second::Website},
}};

bool Holds(Program& p, Mark mark, ItemName item) {
  return mark == Mark::Any || p.checked(item) == (mark == Mark::Checked);
}

}  // namespace

void PostStats(Program& p, bool withScreenName) {
  const Hwnd strip = p.Form2();
  const std::string days = p.text(strip, "Label2");
  const std::string hours = p.text(strip, "Label3");
  const std::string minutes = p.text(strip, "Label4");
  if (withScreenName) {
    ChatSend(p.ws, AimStatsLine(p.read("ascii"), days, hours, minutes, p.read("aim sn")));
  } else {
    ChatSend(p.ws, StatsLine(p.read("ascii"), days, hours, minutes));
  }
}

int IntervalSeconds(std::string_view text) {
  // Only [sign] digits [. digits], read digit by digit and rounded half to even from
  // the digits themselves (no strtod: it would also take hex, "inf" and "nan", and it
  // brings the C library's whole number formatting into the program).
  constexpr long long kBeyond = static_cast<long long>(INT_MAX) + 2;
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  long long whole = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    any = true;
    whole = std::min(whole * 10 + (text[i] - '0'), kBeyond);
  }
  // The fraction only decides the rounding: below a half, a half, or above.
  int fraction = 0;  // -1 below, 0 none or exactly half, 1 above
  bool half = false;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      any = true;
      const int digit = text[i] - '0';
      if (i == first) {
        half = digit == 5;
        fraction = digit > 5 ? 1 : digit < 5 ? -1 : 0;
      } else if (half && digit != 0) {
        fraction = 1;
        half = false;
      }
    }
  }
  if (!any) return 60;
  if (fraction > 0 || (half && whole % 2 == 1)) ++whole;
  if (negative) return whole == 0 ? 0 : -whole <= INT_MIN ? INT_MIN : static_cast<int>(-whole);
  return whole >= INT_MAX ? INT_MAX : static_cast<int>(whole);
}

void IdlePosterTick(Program& p) {
  const int interval = IntervalSeconds(p.read("interval"));
  p.idleState.nextLineAt = p.host.now() + interval;
  Pause(p.host, interval);
  // Each rule reads the check marks anew: a command run during a one-second pause of
  // an earlier rule can make a later rule hold too.
  for (const PosterRule& rule : kPosterRules) {
    if (!p.checked(items::enablescrolling) || !Holds(p, rule.aimsn, items::aimsn) ||
        !Holds(p, rule.reason, items::reason) || !Holds(p, rule.linksite, items::linksite)) {
      continue;
    }
    PostStats(p, rule.aimsn == Mark::Checked);
    if (rule.second == Second::None) continue;
    Pause(p.host, 1);
    if (rule.second == Second::Reason) {
      ChatSend(p.ws, ReasonLine(p.read("ascii"), p.read("reason")));
    } else {
      ChatSend(p.ws, WebsiteLine(p.read("ascii"), p.read("web url"), p.read("site name"),
                                 p.read("description")));
    }
  }
}

}  // namespace loafix
