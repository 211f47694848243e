#include "client/ClientCommands.h"

#include "client/InstantMessages.h"
#include "client/clientkit.h"
#include "idle/ChatLines.h"

namespace loafix {
namespace {

// The visibility commands name the frame's class in lower case; class names match in
// any letter case, so it is the same window.
constexpr std::string_view kFrameClassLower = "aol frame25";

void check(MenuItem& on, MenuItem& off) {
  on.checked = true;
  off.checked = false;
}

// Both upchat commands: the two enable calls in the given order, then the brand line,
// a one-second pause and the status line. Nothing without a modal window.
void switchModal(WindowSystem& ws, Host& host, bool frameUsable, std::string_view statusLine) {
  const Hwnd frame = ClientFrame(ws);
  const Hwnd modal = ChildOf(ws, frame, 0, kModalClass);
  if (modal == 0) return;
  if (frameUsable) {
    ws.EnableWindow(frame, true);
    ws.EnableWindow(modal, false);
  } else {
    ws.EnableWindow(modal, true);
    ws.EnableWindow(frame, false);
  }
  ChatSend(ws, BrandLine);
  Pause(host, 1);
  ChatSend(ws, statusLine);
}

}  // namespace

void imoff(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem) {
  imonItem.checked = false;
  imoffItem.checked = true;
  IMsOff(ws, host);
}

void imon(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem) {
  imoffItem.checked = false;
  imonItem.checked = true;
  IMsOn(ws, host);
}

void upchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem) {
  check(upchatItem, unupchatItem);
  switchModal(ws, host, true, UpchatOnLine);
}

void unupchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem) {
  check(unupchatItem, upchatItem);
  switchModal(ws, host, false, UpchatOffLine);
}

void hideaol(WindowSystem& ws) {
  WindowHide(ws, ws.FindWindowA(kFrameClassLower));
}

void showaol(WindowSystem& ws) {
  WindowShow(ws, ws.FindWindowA(kFrameClassLower));
}

}  // namespace loafix
