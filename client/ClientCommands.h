// The menu commands that act on the client as a whole: switching the user's instant
// messages, "upchat" (making the client's frame usable while one of its modal windows
// is up, and putting the modal state back), and hiding and showing the frame.
//
// The menu lives in ui/; it passes in the items whose check marks a command moves.
// The three "kill windows" items have no action and no routine here.
#pragma once

#include <string_view>

#include "client/ClientWindows.h"
#include "client/FormSpec.h"
#include "client/Host.h"
#include "client/WindowSystem.h"

namespace loafix {

// "&off": unchecks "&on", checks "&off", then IMsOff. The marks stay whatever the
// outcome; choosing it again sends again.
void imoff(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem);
// "&on": unchecks "&off", checks "&on", then IMsOn.
void imon(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem);

// "&upchat": checks upchat, unchecks unupchat; then, only if the frame has a modal
// window, enables the frame, disables the modal window and posts the brand line and,
// about a second later, the upchat-on line.
void upchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem);
// "&unupchat": the reverse; the modal window is enabled before the frame is disabled.
void unupchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem);

// "&hide aol" and "&show aol": the frame, found also while hidden.
void hideaol(WindowSystem& ws);
void showaol(WindowSystem& ws);

}  // namespace loafix
