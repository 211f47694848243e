// Where the file the callers call "C:\loafix.ini" really lives.
#pragma once

#include <string>

#include "settings/SettingsFile.h"

namespace loafix {

inline constexpr std::string_view kSettingsFileName = "loafix.ini";

// `preferred` when this user may create files in it (every write makes a temporary file
// beside the settings file) and the settings file there is missing or a regular file;
// else `fallback`. `preferred` again when there is no fallback.
std::string PickSettingsFolder(const std::string& preferred, const std::string& fallback,
                               std::string_view fileName = kSettingsFileName,
                               SettingsFiles& files = PlatformFiles());

}  // namespace loafix
