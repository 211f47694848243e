// Where loafix.exe keeps its settings file on this machine.
#pragma once

#include <string>

namespace loafix::win32 {

// The root of drive C: where the settings file can be written there, else the user's
// %APPDATA% folder: a standard account on current Windows may not create files in C:\,
// and the settings would otherwise vanish without a word. Chosen once per run.
std::string ChooseSettingsFolder();

}  // namespace loafix::win32
