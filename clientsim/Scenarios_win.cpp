#include "clientsim/Scenarios_win.h"

#include <array>

#include "platform/win32/Win32WindowSystem.h"

namespace loafix::clientsim {
namespace {

using win32::FromHwnd;

void OpenRoom(Scenarios& on, bool) {
  on.model.openRoom(on.roomsOpened++ == 0 ? on.firstRoomName
                                          : "Room " + std::to_string(on.roomsOpened));
}

void CloseRoom(Scenarios& on, bool) {
  const HWND mdi = on.surface.mdiClient();
  if (!mdi) return;
  // The top of the MDI area's order: the room a lookup finds first.
  for (HWND w = GetWindow(mdi, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (on.model.room(FromHwnd(w))) {
      on.model.closeRoom(FromHwnd(w));
      return;
    }
  }
}

void Hang(Scenarios&, bool) {
  // Busy on the one thread that owns every window: no message is answered, sent or
  // posted, and Wine never marks the windows as hung.
  Sleep(kHangMs);
}

using enum Scenario::Where;

constexpr std::array<Scenario, 11> kScenarios = {{
    {kOpenRoom, "&Open a chat room", kBoth, false, false, &OpenRoom},
    {kCloseRoom, "&Close the top room", kBoth, false, false, &CloseRoom},
    {kRaiseModal, "Raise a &modal window", kBoth, false, true,
     [](Scenarios& on, bool) { on.model.raiseModal(); }},
    {kDropModal, "Drop the modal window", kPanel, false, false,
     [](Scenarios& on, bool) { on.model.dropModal(); }},
    {kMessageBox, "Show a message &box", kBoth, false, false,
     [](Scenarios& on, bool) { on.model.showMessageBox("You have no new mail."); }},
    {kMailWindow, "Open a &Write Mail window", kBoth, false, false,
     [](Scenarios& on, bool) { on.model.openMailWindow("Write Mail", true); }},
    {kSlowMail, "Mail window opens late", kPanel, true, false,
     [](Scenarios& on, bool checked) { on.model.options.mailOpenDelayMs = checked ? 3000 : 0; }},
    {kSlowIm, "IM window opens late", kPanel, true, false,
     [](Scenarios& on, bool checked) { on.model.options.imOpenDelayMs = checked ? 2000 : 0; }},
    {kMailStaysOpen, "Mail window stays open", kPanel, true, false,
     [](Scenarios& on, bool checked) { on.model.options.mailStaysOpen = checked; }},
    {kHang, "Stop answering for 20 s", kPanel, false, false, &Hang},
    // The panel's close box ends the client too.
    {kExit, "E&xit", kMenu, false, true, [](Scenarios&, bool) { PostQuitMessage(0); }},
}};

}  // namespace

std::span<const Scenario> ScenarioTable() {
  return kScenarios;
}

void RunScenario(Scenarios& on, int command, bool checked) {
  for (const Scenario& s : kScenarios) {
    if (s.command == command) return s.action(on, checked);
  }
}

HMENU BuildScenarioMenu() {
  HMENU client = CreatePopupMenu();
  for (const Scenario& s : kScenarios) {
    if (!(s.where & kMenu)) continue;
    if (s.menuSeparator) AppendMenuA(client, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(client, MF_STRING, s.command, s.caption);
  }
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(client), "&Client");
  return bar;
}

}  // namespace loafix::clientsim
