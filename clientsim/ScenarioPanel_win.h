// A small window of buttons beside the stand-in client with which a person switches
// its scenarios (the panel commands of Scenarios_win.h). It stays usable while the
// client's own frame is disabled by its modal window.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>

namespace loafix::clientsim {

// Creates the panel to the right of `frame`; `onCommand` gets the command and, for the
// check boxes, whether it is now checked.
HWND CreateScenarioPanel(HINSTANCE instance, HWND frame,
                         std::function<void(int command, bool checked)> onCommand);

}  // namespace loafix::clientsim
