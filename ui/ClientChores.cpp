#include "ui/ClientChores.h"

#include "client/ClientCommands.h"
#include "client/InstantMessages.h"
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/UiCommands.h"

namespace loafix {
namespace {

void check(MenuItem& on, MenuItem& off) {
  on.checked = true;
  off.checked = false;
}

// Both upchat commands: the switch, then the brand line, a one-second pause and the
// status line. Nothing without a modal window.
void announceSwitch(WindowSystem& ws, Host& host, bool frameUsable, std::string_view statusLine) {
  if (!SwitchModal(ws, frameUsable)) return;
  ChatSend(ws, BrandLine);
  Pause(host, 1);
  ChatSend(ws, statusLine);
}

}  // namespace

void imoff(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem) {
  check(imoffItem, imonItem);
  IMsOff(ws, host);
}

void imon(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem) {
  check(imonItem, imoffItem);
  IMsOn(ws, host);
}

void upchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem) {
  check(upchatItem, unupchatItem);
  announceSwitch(ws, host, true, UpchatOnLine);
}

void unupchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem) {
  check(unupchatItem, upchatItem);
  announceSwitch(ws, host, false, UpchatOffLine);
}

void ClientUpchat(Program& p) {
  upchat(p.ws, p.host, p.item(items::upchat), p.item(items::unupchat));
}
void ClientUnupchat(Program& p) {
  unupchat(p.ws, p.host, p.item(items::upchat), p.item(items::unupchat));
}
void ClientHide(Program& p) { hideaol(p.ws); }
void ClientShow(Program& p) { showaol(p.ws); }
void ClientImOff(Program& p) {
  imoff(p.ws, p.host, p.item(items::imoff), p.item(items::imon));
}
void ClientImOn(Program& p) {
  imon(p.ws, p.host, p.item(items::imoff), p.item(items::imon));
}

}  // namespace loafix
