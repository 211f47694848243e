// The one way platform code includes <windows.h>. The portable headers name the
// messages and flags they use (WM_SETTEXT, SW_HIDE, HWND_TOPMOST, ...) as constants,
// and <windows.h> defines the same names as macros; so the portable headers must be
// read first, after which the macros expand to the same numbers.
#pragma once

#include "client/Host.h"
#include "client/WindowSystem.h"

#include <windows.h>
