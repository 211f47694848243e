// The program's settings as its handlers reach them: short texts under keys of one
// section of one INI file, read afresh at every use and written at once. The settings
// store (settings/) is the one implementation; this is all the program state needs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace loafix {

inline constexpr std::string_view kSection = "idle info";
// The two spellings callers use for the one settings file.
inline constexpr std::string_view kIniUpper = "C:\\loafix.ini";
inline constexpr std::string_view kIniLower = "c:\\loafix.ini";

class Settings {
 public:
  // At most 749 characters of the key's value (UTF-8); "" for a missing file,
  // section or key. Section and key match in any letter case.
  virtual std::string GetFromINI(std::string_view section, std::string_view key,
                                 std::string_view file) const = 0;

  // Writes the value under the upper-cased key; a null value removes the key. False when
  // it could not be written at all; the file then keeps every byte it had, and telling
  // the person is the caller's part.
  virtual bool WriteToINI(std::string_view section, std::string_view key,
                          std::optional<std::string_view> value, std::string_view file) = 0;

  // The real path (UTF-8) behind one of the callers' spellings of the file.
  virtual std::string Resolve(std::string_view file) const = 0;

 protected:
  ~Settings() = default;
};

}  // namespace loafix
