// The text of an INI file, read as the platform's private-profile functions read it and
// edited so that every line we do not need to touch keeps its bytes. Pure functions over
// the file's bytes, each one pass that stops where its answer is known: the settings
// store does the file input and output around them.
//
// Names and values cross this interface as UTF-8 and pass through the system's ANSI code
// page, as they would through the platform's "A" functions. The file itself may be in
// that code page, or UTF-8 or UTF-16 with a byte-order mark; edits keep its encoding.
// The file's line structure is read from its decoded text: in a double-byte code page
// the second byte of a character may be "[", "]" or "\" and is never taken for markup.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/CodePage.h"

namespace loafix::ini {

// The longest value a read returns, in characters: the callers' read buffer holds 750
// characters including the terminator.
inline constexpr std::size_t kMaxValueLength = 749;

// The value of `key` in the first section named `section`, both matched in any letter
// case with blanks around them ignored; blanks around the value and one pair of
// matching outer quotes removed; at most kMaxValueLength characters. "" when the
// section, the key or its value is missing.
// In a code page of more than one byte per character the value is also cut, at a
// character's end, to what that buffer holds in bytes.
std::string ReadValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                      const CodePage& codePage = Windows1252());

// Stores `value` under `key` in the first section named `section` (created at the end
// of the file when missing), or removes the key when `value` is null, changing only the
// bytes that must change, inside `fileBytes` itself. kNoChange, with `fileBytes`
// untouched, when the file needs no change, or when a name would break the file's line
// structure; kNotEncodable, also untouched, when the code page's conversion failed.
//
// The value is stored as it reads back: blanks and line breaks before it dropped, cut
// at the next line break, trailing blanks dropped. A line break therefore never starts
// a line of its own, so no value can create, change or remove another key or section.
enum class EditResult { kChanged, kNoChange, kNotEncodable };
EditResult EditValue(std::string& fileBytes, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value,
                     const CodePage& codePage = Windows1252());

// How many bytes EditValue may add to a file at most: reserved beforehand, the edit
// needs no second buffer.
std::size_t EditRoom(std::string_view section, std::string_view key, std::string_view value);

// The file's bytes after EditValue, or nullopt when it changes nothing or cannot.
std::optional<std::string> WriteValue(std::string_view fileBytes, std::string_view section,
                                      std::string_view key, std::optional<std::string_view> value,
                                      const CodePage& codePage = Windows1252());

}  // namespace loafix::ini
