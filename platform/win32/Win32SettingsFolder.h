// Where loafix.exe keeps its settings file on this machine.
#pragma once

#include "settings/SettingsStore.h"

namespace loafix::win32 {

// The root of drive C: where the settings file there can be read and written (or
// created), else the user's %APPDATA% folder, whose file starts from a readable
// C:\loafix.ini: a standard account on current Windows may not create files in C:\, and
// may find one there that it may only read (left from XP, or from a run as
// administrator). Chosen once per run; nothing is written until something is saved.
SettingsPlace ChooseSettingsPlace();

}  // namespace loafix::win32
