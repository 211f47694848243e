#include "settings/SettingsStore.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "client/Ansi.h"
#include "settings/FileReplace.h"
#include "settings/IniFile.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;

// The whole file, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path SettingsStore::Resolve(std::string_view file) const {
  // Callers name the file by a Windows path in either letter case; only its name counts,
  // and, as on Windows, not the case of that name.
  const std::size_t cut = file.find_last_of("\\/:");
  std::string name = AsciiLower(cut == std::string_view::npos ? file : file.substr(cut + 1));
  if (name.empty() || name == "." || name == "..") name = "loafix.ini";
  return folder_ / name;
}

std::string SettingsStore::GetFromINI(std::string_view section, std::string_view key,
                                      std::string_view file) const {
  try {
    const std::optional<std::string> bytes = ReadWholeFile(Resolve(file));
    if (!bytes) return {};
    return ini::ReadValue(*bytes, section, ini::LowerCase(key));
  } catch (...) {
    return {};  // out of memory on a monstrous file: read as missing
  }
}

void SettingsStore::WriteToINI(std::string_view section, std::string_view key,
                               std::optional<std::string_view> value, std::string_view file) {
  try {
    const fs::path path = Resolve(file);
    std::error_code ec;
    std::string current;
    if (fs::exists(path, ec)) {
      // A file that exists but cannot be read is never overwritten: the rewrite would
      // drop every other line of it.
      std::optional<std::string> bytes = ReadWholeFile(path);
      if (!bytes) return;
      current = std::move(*bytes);
    } else if (ec) {
      return;
    }
    const std::optional<std::string> updated =
        ini::WriteValue(current, section, ini::UpperCase(key), value);
    if (updated) ReplaceFileContents(path, *updated);
  } catch (...) {
    // Failures are not reported; the file keeps what it had.
  }
}

}  // namespace loafix
