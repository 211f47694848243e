#include "platform/win32/Win32SettingsFolder.h"

#include "platform/win32/Win32Text.h"
#include "settings/SettingsFolder.h"

namespace loafix::win32 {

SettingsPlace ChooseSettingsPlace() {
  static const SettingsPlace chosen = [] {
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
    return PickSettingsPlace("C:\\", WideToUtf8(appData));
  }();
  return chosen;
}

}  // namespace loafix::win32
