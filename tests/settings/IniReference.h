// The tests' reference reader of an INI file: every section and entry, read the plain
// way the platform's private-profile functions read a file. The whole file is decoded
// (ANSI, or UTF-8 or UTF-16 by its byte-order mark), split at every CR and LF, and each
// line trimmed of blanks; a line that starts with "[" and holds a later "]" names a
// section, any other non-blank line is an entry split at its first "=".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loafix::ini::reference {

// Lines before the first section line form a first section named "". A line without
// "=" is an entry with no value; comments and unknown lines are entries too. Names and
// values (UTF-8) are trimmed of blanks and end at a NUL, as the platform keeps them.
struct Entry {
  std::string name;
  std::optional<std::string> value;
  bool operator==(const Entry&) const = default;
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
  bool operator==(const Section&) const = default;
};
std::vector<Section> Sections(std::string_view fileBytes);

}  // namespace loafix::ini::reference
