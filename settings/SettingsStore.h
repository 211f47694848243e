// The settings store: short text values in section "idle info" of one INI file,
// read afresh at every use and written at once. Our own file layer, on every
// platform, keeping the platform's private-profile read-back rules.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace loafix {

inline constexpr std::string_view kSection = "idle info";
// The two spellings callers use for the one settings file.
inline constexpr std::string_view kIniUpper = "C:\\loafix.ini";
inline constexpr std::string_view kIniLower = "c:\\loafix.ini";

class SettingsStore {
 public:
  // `folder` is where the file named "C:\loafix.ini" lives on this machine: the root
  // of drive C: on Windows (or the fallback the platform layer chose), a test's own
  // folder elsewhere.
  explicit SettingsStore(std::filesystem::path folder);

  // At most 749 characters of the key's value (UTF-8); "" for a missing file,
  // section or key. Section and key match in any letter case.
  std::string GetFromINI(std::string_view section, std::string_view key,
                         std::string_view file) const;

  // Writes the value under the upper-cased key; a null value removes the key. A write
  // that cannot be done changes nothing and reports nothing.
  void WriteToINI(std::string_view section, std::string_view key,
                  std::optional<std::string_view> value, std::string_view file);

  // The real path behind one of the callers' spellings of the file.
  std::filesystem::path Resolve(std::string_view file) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace loafix
