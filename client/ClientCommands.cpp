#include "client/ClientCommands.h"

#include "client/clientkit.h"

namespace loafix {

bool SwitchModal(WindowSystem& ws, bool frameUsable) {
  const Hwnd frame = ClientFrame(ws);
  const Hwnd modal = ChildOf(ws, frame, 0, kModalClass);
  if (modal == 0) return false;
  if (frameUsable) {
    ws.EnableWindow(frame, true);
    ws.EnableWindow(modal, false);
  } else {
    ws.EnableWindow(modal, true);
    ws.EnableWindow(frame, false);
  }
  return true;
}

void hideaol(WindowSystem& ws) { WindowHide(ws, ClientFrame(ws)); }

void showaol(WindowSystem& ws) { WindowShow(ws, ClientFrame(ws)); }

}  // namespace loafix
