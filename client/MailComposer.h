// The mail composer: sends one e-mail through the client the way a person would.
// It clicks the client's Write icon, waits for the "Write Mail" window that click
// opens, types the recipient, subject and body into it, clicks its send icon, and
// closes that window about a second later if the client has left it open.
//
// The feedback window's send area goes through SendMailOnce with a flag of its own, so
// that a second send started while the first is still waiting for the client is
// ignored:
//
//   SendMailOnce(p.mailSending, ws, host, kAuthorMail, subject, text);
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix {


// How long SendMail keeps looking for a complete mail window before it gives up.
inline constexpr double kMailWaitLimitSeconds = 30.0;

// Writes `recipient`, `subject` and `body` into the client's new mail window exactly
// as given (line breaks included; the second edit box, "Copy To", is left alone) and
// sends it. Only a window whose boxes are all empty is taken for ours: mail windows the
// person already had open, or has typed into, are never written into, sent or closed.
// Events keep running while it waits. Gives up silently, touching nothing, when no
// complete empty new window titled exactly "Write Mail" turns up within 30 s, or at once
// when the client's main window is no longer the one the Write click went to (the client
// ended or was started again). Not guarded against re-entry: see SendMailOnce.
void SendMail(WindowSystem& ws, Host& host, std::string_view recipient, std::string_view subject,
              std::string_view body);

// The client's MDI area, or 0.
Hwnd FindMDIClient(WindowSystem& ws);
// The first client child window, in the MDI area's order, whose caption contains
// "Write Mail" (exact letter case), or 0.
Hwnd FindWriteMail(WindowSystem& ws);
// Sends WM_CLOSE to the window and returns the result.
std::intptr_t CloseWin(WindowSystem& ws, Hwnd window);

// Lets one send through at a time: SendMail, unless a send through the same flag is
// still in progress (retrying, or waiting to close the window); false when ignored.
// `sending` is true while a send is in progress, also if the program ends inside it.
bool SendMailOnce(bool& sending, WindowSystem& ws, Host& host, std::string_view recipient,
                  std::string_view subject, std::string_view body);

}  // namespace loafix
