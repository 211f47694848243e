// The periodic poster: each tick of Timer2 waits the configured interval, then posts
// the statistics line and, a second later, the reason or website line, as the check
// marks read after the wait ask.
#include <array>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/Program.h"

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

bool Holds(Program& p, Mark mark, std::string_view item) {
  return mark == Mark::Any || p.checked(item) == (mark == Mark::Checked);
}

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

}  // namespace

int IntervalSeconds(std::string_view text) {
  // strtod wants a terminated string and would also take hex, "inf" and "nan";
  // accept only [sign] digits [. digits].
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digitsStart = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  std::size_t digits = i - digitsStart;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const std::size_t fractionStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    digits += i - fractionStart;
  }
  if (digits == 0) return 60;
  const double value = RoundHalfEven(std::strtod(std::string(text.substr(0, i)).c_str(), nullptr));
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

void IdlePosterTick(Program& p) {
  const int interval = IntervalSeconds(p.read("interval"));
  p.idleState.nextLineAt = p.host.now() + interval;
  Pause(p.host, interval);
  // Each rule reads the check marks anew: a command run during a one-second pause of
  // an earlier rule can make a later rule hold too.
  for (const PosterRule& rule : kPosterRules) {
    if (!p.checked("enablescrolling") || !Holds(p, rule.aimsn, "aimsn") ||
        !Holds(p, rule.reason, "reason") || !Holds(p, rule.linksite, "linksite")) {
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
