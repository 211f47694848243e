#include "client/ClientCommands.h"

#include "client/clientkit.h"

namespace loafix {
namespace {

// The visibility commands name the frame's class in lower case; class names match in
// any letter case, so it is the same window.
constexpr std::string_view kFrameClassLower = "aol frame25";

}  // namespace

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

void hideaol(WindowSystem& ws) { WindowHide(ws, ws.FindWindowA(kFrameClassLower)); }

void showaol(WindowSystem& ws) { WindowShow(ws, ws.FindWindowA(kFrameClassLower)); }

}  // namespace loafix
