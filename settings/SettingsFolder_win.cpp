#include <windows.h>

#include <string>

#include "settings/SettingsFolder.h"

namespace loafix {

std::filesystem::path ChooseSettingsFolder() {
  static const std::filesystem::path chosen = [] {
    // The variable, not the shell folder functions: no extra system library, and the
    // same answer for a roaming profile.
    std::wstring appData(MAX_PATH, L'\0');
    DWORD length =
        GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
    if (length >= appData.size()) {
      appData.resize(length);
      length =
          GetEnvironmentVariableW(L"APPDATA", appData.data(), static_cast<DWORD>(appData.size()));
    }
    appData.resize(length < appData.size() ? length : 0);
    return PickSettingsFolder(L"C:\\", appData);
  }();
  return chosen;
}

}  // namespace loafix
