#include <windows.h>

#include <string>

#include "settings/SettingsFolder.h"

namespace loafix {
namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string ChooseSettingsFolder() {
  static const std::string chosen = [] {
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
    return PickSettingsFolder("C:\\", Utf8(appData));
  }();
  return chosen;
}

}  // namespace loafix
