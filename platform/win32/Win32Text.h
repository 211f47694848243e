// Text at the Win32 boundary: the program's UTF-8 to and from UTF-16 for the "W" calls,
// and to and from the system's own ANSI code page for the "A" calls, whatever that code
// page is (GetACP: 1252, 1251, 932, 65001, ...). A character the code page lacks becomes
// "?", as it would on the simulated desktop. The portable Windows-1252 conversion, which
// gives the same bytes on a Western-language system, is in core/Text.
//
// UTF-8 goes through the system's own converter too (CP_UTF8): for malformed UTF-8 or a
// lone surrogate its answer depends on the Windows version (XP drops what later
// versions turn into U+FFFD), and the windows get what any other program would give them.
#pragma once

#include "core/CodePage.h"
#include "platform/win32/Win32.h"

#include <optional>
#include <string>
#include <string_view>

namespace loafix::win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The system's ANSI code page, for the portable layers (the settings file's bytes).
const CodePage& SystemCodePage();

std::wstring SystemCodePageToWide(std::string_view bytes);
// Nullopt when the system refuses the conversion: never "" in place of a text.
std::optional<std::string> WideToSystemCodePage(std::wstring_view wide);

inline std::optional<std::string> Utf8ToSystemCodePage(std::string_view utf8) {
  return WideToSystemCodePage(Utf8ToWide(utf8));
}
inline std::string SystemCodePageToUtf8(std::string_view bytes) {
  return WideToUtf8(SystemCodePageToWide(bytes));
}

}  // namespace loafix::win32
