// The settings store: short text values in section "idle info" of one INI file,
// read afresh at every use and written at once. Our own file layer, on every
// platform, keeping the platform's private-profile read-back rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/CodePage.h"
#include "core/Settings.h"
#include "settings/SettingsFile.h"

namespace loafix {

// Where the file named "C:\loafix.ini" lives on this machine (UTF-8): the root of drive C:
// on Windows (or the fallback the platform layer chose), a test's own folder elsewhere.
struct SettingsPlace {
  std::string folder;
  // While the file in `folder` does not exist, it is read from this folder instead, and
  // its first write starts from that file's bytes: a new file that is a copy of an old
  // one from its first byte, made only when something is saved. "": none.
  std::string seedFolder;
};

class SettingsStore final : public Settings {
 public:
  // The file's bytes are in the system's ANSI code page, Windows-1252 unless one is given.
  SettingsStore(SettingsPlace place, const CodePage& codePage,
                SettingsFiles& files = PlatformFiles());
  explicit SettingsStore(SettingsPlace place, SettingsFiles& files = PlatformFiles());
  explicit SettingsStore(std::string folder, SettingsFiles& files = PlatformFiles())
      : SettingsStore(SettingsPlace{std::move(folder), {}}, files) {}
  SettingsStore(std::string folder, const CodePage& codePage,
                SettingsFiles& files = PlatformFiles())
      : SettingsStore(SettingsPlace{std::move(folder), {}}, codePage, files) {}

  // At most 749 characters of the key's value (UTF-8); "" for a missing file,
  // section or key. Section and key match in any letter case.
  std::string GetFromINI(std::string_view section, std::string_view key,
                         std::string_view file) const override;

  // Writes the value under the upper-cased key; a null value removes the key. The write
  // lands wherever the platform's own profile writer would land it: when another program
  // holds the file, the new text goes into the file itself. False when it could not be
  // written at all; the file then keeps every byte it had, and telling the person is the
  // caller's part.
  bool WriteToINI(std::string_view section, std::string_view key,
                  std::optional<std::string_view> value, std::string_view file) override;

  // The real path (UTF-8) behind one of the callers' spellings of the file.
  std::string Resolve(std::string_view file) const override;

 private:
  // Reads the file into bytes_, or, while it does not exist, its seed (kMissing then).
  ReadStatus readFile(std::string_view file, std::size_t spare) const;

  SettingsPlace place_;
  const CodePage& codePage_;
  SettingsFiles& files_;
  // The file's bytes during one call; its memory is kept for the next (see
  // SettingsFiles::read). Nothing in it is used again: every call reads the file afresh.
  mutable std::string bytes_;
};

}  // namespace loafix
