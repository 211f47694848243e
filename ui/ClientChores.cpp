// The menu's chores in the client, handed to the client driver with the check marks
// they move.
#include "client/ClientCommands.h"
#include "ui/Program.h"

namespace loafix {

void ClientUpchat(Program& p) { upchat(p.ws, p.host, p.item("upchat"), p.item("unupchat")); }
void ClientUnupchat(Program& p) { unupchat(p.ws, p.host, p.item("upchat"), p.item("unupchat")); }
void ClientHide(Program& p) { hideaol(p.ws); }
void ClientShow(Program& p) { showaol(p.ws); }
void ClientImOff(Program& p) { imoff(p.ws, p.host, p.item("imoff"), p.item("imon")); }
void ClientImOn(Program& p) { imon(p.ws, p.host, p.item("imoff"), p.item("imon")); }

}  // namespace loafix
