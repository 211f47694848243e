// The idle options submenu of the command menu: the switch, the brag, the poster's
// options and idling by itself, built where its items are owned.
#include "idle/IdleCommands.h"

namespace loafix {

MenuItem IdleOptionsMenu(Program& p) {
  return Submenu(
      items::idleoptions, "&idle opts.",
      {
          Command(items::idleon, "&idle on", Runs(p, idleon)),
          Command(items::idleoff, "&idle off", Runs(p, idleoff), true),
          Separator("line10"),
          Command(items::bragstats, "&brag stats", Runs(p, bragstats)),
          Separator("line6"),
          Command(items::aimsn, "&aim sn", Runs(p, aimsn)),
          Separator("line5"),
          Command(items::setascii, "&set ascii", Runs(p, setascii)),
          Separator("line4"),
          Command(items::reason, "&reason", Runs(p, reason)),
          Command(items::linksite, "&link site", Runs(p, linksite)),
          Separator("line7"),
          Command(items::enablescrolling, "enable scrolling", Runs(p, enablescrolling), true),
          Command(items::scrollinginterval, "scrolling interval", Runs(p, scrollinginterval)),
          Separator("line14"),
          Command(items::autoidle, "auto idle...", Runs(p, autoidle)),
          Command(items::autoback, "auto back", Runs(p, autoback)),
      });
}

}  // namespace loafix
