// Where the file the callers call "C:\loafix.ini" really lives.
#pragma once

#include <string>

#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"

namespace loafix {

inline constexpr std::string_view kSettingsFileName = "loafix.ini";

// `preferred` when the settings file there can be read and written, or, missing, created
// (every write makes a temporary file beside it, or writes into the file itself when
// that is refused); else `fallback`, whose file, when it does not exist yet, starts from
// a readable file in `preferred`. `preferred` again when there is no fallback, or the
// fallback can keep the settings no better. A read-only or held file is never the one
// chosen while another can be written, so a run never tries writes that are bound to
// fail. Only probes: nothing of the settings is written here.
SettingsPlace PickSettingsPlace(const std::string& preferred, const std::string& fallback,
                                std::string_view fileName = kSettingsFileName,
                                SettingsFiles& files = PlatformFiles());

}  // namespace loafix
