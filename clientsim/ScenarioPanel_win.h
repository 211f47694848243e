// A small window of buttons beside the stand-in client with which a person switches
// its scenarios: open or close a chat room, raise or drop a modal window, bring up a
// message box or a mail window, make the mail or IM window slow to open. It stays
// usable while the client's own frame is disabled by its modal window.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>

namespace loafix::clientsim {

enum ScenarioCommand {
  kOpenRoom = 101,
  kCloseRoom,
  kRaiseModal,
  kDropModal,
  kMessageBox,
  kMailWindow,
  kSlowMail,  // check box: the Write click opens the mail window 3 s later
  kSlowIm,    // check box: an IM window opens 2 s after its keyword
  kExit,
  kHang,      // the client stops answering any message for kHangMs, as a busy one does
  kMailStaysOpen,  // check box: a sent mail's window stays open
};

inline constexpr DWORD kHangMs = 20000;

// Creates the panel to the right of `frame`; `onCommand` gets the command and, for the
// check boxes, whether it is now checked.
HWND CreateScenarioPanel(HINSTANCE instance, HWND frame,
                         std::function<void(int command, bool checked)> onCommand);

}  // namespace loafix::clientsim
