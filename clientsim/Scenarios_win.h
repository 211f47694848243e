// The stand-in client's own commands, one table for the three places they show: the
// buttons of the "clientsim scenarios" panel, the frame's "Client" menu, and what a
// WM_COMMAND of either (or one posted by a test) does.
#pragma once

#include "platform/win32/Win32.h"

#include <span>
#include <string>

#include "clientsim/ClientModel.h"
#include "clientsim/Win32Surface_win.h"

namespace loafix::clientsim {

// The command ids: what the panel's buttons and the frame's menu send, and what a test
// posts to the frame. Fixed numbers, since a test in another process names them.
enum ScenarioCommand {
  kOpenRoom = 101,
  kCloseRoom,
  kRaiseModal,
  kDropModal,
  kMessageBox,
  kMailWindow,
  kSlowMail,
  kSlowIm,
  kExit,
  kHang,
  kMailStaysOpen,
};

// What the commands act on.
struct Scenarios {
  ClientModel& model;
  Win32Surface& surface;
  std::string firstRoomName;
  int roomsOpened = 0;
};

struct Scenario {
  int command;
  // With its access key, as the frame's menu shows it; the panel shows it without.
  const char* caption;
  enum Where { kPanel = 1, kMenu = 2, kBoth = 3 } where;
  bool checkBox;       // on the panel: a check box whose state the action gets
  bool menuSeparator;  // in the menu: a separator before it
  void (*action)(Scenarios& on, bool checked);
};

// In the order the panel and the menu show them.
std::span<const Scenario> ScenarioTable();

// Runs the command `command`; `checked`: the state of its check box, if it has one.
void RunScenario(Scenarios& on, int command, bool checked);

// The frame's menu bar: a "Client" menu with the table's menu commands.
HMENU BuildScenarioMenu();

}  // namespace loafix::clientsim
