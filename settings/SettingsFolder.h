// Where the file the callers call "C:\loafix.ini" really lives.
#pragma once

#include <filesystem>

namespace loafix {

// `preferred` when this user may create (and so atomically replace) files in it, else
// `fallback`; `preferred` again when there is no fallback.
std::filesystem::path PickSettingsFolder(const std::filesystem::path& preferred,
                                         const std::filesystem::path& fallback);

#ifdef _WIN32
// The root of drive C: where the settings file can be written there, else the user's
// %APPDATA% folder: a standard account on current Windows may not create files in C:\,
// and the settings would otherwise vanish without a word. Chosen once per run.
std::filesystem::path ChooseSettingsFolder();
#endif

}  // namespace loafix
