#include "settings/SettingsStore.h"

#include "core/Text.h"
#include "settings/IniFile.h"

namespace loafix {

SettingsStore::SettingsStore(SettingsPlace place, SettingsFiles& files)
    : SettingsStore(std::move(place), Windows1252(), files) {}

SettingsStore::SettingsStore(SettingsPlace place, const CodePage& codePage, SettingsFiles& files)
    : place_(std::move(place)), codePage_(codePage), files_(files) {}

namespace {

// The file's name in a caller's spelling of its path. Callers name the file by a Windows
// path in either letter case; only its name counts, and, as on Windows, not the case of
// that name.
std::string NameOf(std::string_view file) {
  const std::size_t cut = file.find_last_of("\\/:");
  std::string name = AsciiLower(cut == std::string_view::npos ? file : file.substr(cut + 1));
  if (name.empty() || name == "." || name == "..") name = "loafix.ini";
  return name;
}

}  // namespace

std::string SettingsStore::Resolve(std::string_view file) const {
  return JoinPath(place_.folder, NameOf(file));
}

ReadStatus SettingsStore::readFile(std::string_view file, std::size_t spare) const {
  const ReadStatus status = files_.read(Resolve(file), spare, bytes_);
  if (status != ReadStatus::kMissing || place_.seedFolder.empty()) return status;
  // A seed that cannot be read counts as none: the file starts empty, as any new one.
  if (files_.read(JoinPath(place_.seedFolder, NameOf(file)), spare, bytes_) != ReadStatus::kRead)
    bytes_.clear();
  return ReadStatus::kMissing;
}

std::string SettingsStore::GetFromINI(std::string_view section, std::string_view key,
                                      std::string_view file) const {
  try {
    if (readFile(file, 0) == ReadStatus::kUnreadable) return {};
    return ini::ReadValue(bytes_, section, AnsiLower(key), codePage_);
  } catch (...) {
    return {};  // out of memory on a monstrous file: read as missing
  }
}

bool SettingsStore::WriteToINI(std::string_view section, std::string_view key,
                               std::optional<std::string_view> value, std::string_view file) {
  try {
    const std::string path = Resolve(file);
    const std::string upperKey = AnsiUpper(key);
    // The edit is made inside the buffer the file was read into, so a large file is in
    // memory once, not twice.
    const ReadStatus read =
        readFile(file, ini::EditRoom(section, upperKey, value.value_or(std::string_view())));
    // A file that exists but cannot be read is never overwritten: the rewrite would drop
    // every other line of it.
    if (read == ReadStatus::kUnreadable) return false;
    switch (ini::EditValue(bytes_, section, upperKey, value, codePage_)) {
      case ini::EditResult::kChanged:
        break;
      case ini::EditResult::kNoChange:
        return true;
      case ini::EditResult::kNotEncodable:
        return false;  // nothing written: "" in place of the text would lose it
    }
    WriteOutcome outcome = files_.replace(path, bytes_);
    if (outcome == WriteOutcome::kRefused && read == ReadStatus::kRead)
      outcome = files_.overwrite(path, bytes_);
    return outcome == WriteOutcome::kWritten;
  } catch (...) {
    return false;  // the file keeps what it had
  }
}

}  // namespace loafix
