// Switching idling on and off: the check marks of idleon/idleoff, the two timers,
// the announcement and the off line.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "idle/IdleCommands.h"

namespace loafix {

void idleon(Program& p) {
  p.idleState.since = p.host.timeOfDay();
  p.idleState.backArmedAt.reset();
  p.check(items::idleon, true);
  p.check(items::idleoff, false);
  p.host.setTimer(p.Timer1(), true, 60000);
  Pause(p.host, 1);
  // idleoff chosen during the pause has switched idling off again; arming the poster
  // now would leave it posting while the menu shows idle off.
  if (!p.checked(items::idleon)) return;
  p.host.setTimer(p.Timer2(), true, 1);
  if (!p.checked(items::aimsn)) PostStats(p, false);
  if (p.checked(items::aimsn)) PostStats(p, true);
}

void idleoff(Program& p) {
  p.idleState.since = -1;
  p.idleState.nextLineAt = -1;
  p.check(items::idleon, false);
  p.check(items::idleoff, true);
  p.host.setTimer(p.Timer1(), false, 0);
  p.host.setTimer(p.Timer2(), false, 0);
  ChatSend(p.ws, IdleOffLine(p.read("ascii")));
  const Hwnd strip = p.Form2();
  p.setText(strip, "Label2", "0");
  p.setText(strip, "Label3", "0");
  p.setText(strip, "Label4", "0");
}

}  // namespace loafix
