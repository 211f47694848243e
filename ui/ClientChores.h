// The menu's chores in the client: the check marks they move, the client driver's
// work, and the lines that announce an upchat. The three "kill windows" items have no
// action.
#pragma once

#include "core/FormSpec.h"
#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix {

// "&off": unchecks "&on", checks "&off", then IMsOff. The marks stay whatever the
// outcome; choosing it again sends again.
void imoff(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem);
// "&on": unchecks "&off", checks "&on", then IMsOn.
void imon(WindowSystem& ws, Host& host, MenuItem& imoffItem, MenuItem& imonItem);
// "&upchat": checks upchat, unchecks unupchat; then, only if the frame has a modal
// window, switches it and posts the brand line and, about a second later, the
// upchat-on line.
void upchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem);
// "&unupchat": the reverse; the modal window is enabled before the frame is disabled.
void unupchat(WindowSystem& ws, Host& host, MenuItem& upchatItem, MenuItem& unupchatItem);

}  // namespace loafix
