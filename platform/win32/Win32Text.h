// Text at the Win32 boundary: the program's UTF-8 to and from UTF-16 for the "W" calls,
// and to and from the system's own ANSI code page (CP_ACP) for the "A" calls, whatever
// that code page is. A character the code page lacks becomes the system's default
// character, as it would for any ANSI program. The portable Windows-1252 conversion,
// which gives the same bytes on a Western-language system, is in core/Text.
//
// UTF-8 goes through the system's own converter too (CP_UTF8): for malformed UTF-8 or a
// lone surrogate its answer depends on the Windows version (XP drops what later
// versions turn into U+FFFD), and the windows get what any other program would give them.
#pragma once

#include "platform/win32/Win32.h"

#include <string>
#include <string_view>

namespace loafix::win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring SystemCodePageToWide(std::string_view bytes);
std::string WideToSystemCodePage(std::wstring_view wide);

inline std::string Utf8ToSystemCodePage(std::string_view utf8) {
  return WideToSystemCodePage(Utf8ToWide(utf8));
}
inline std::string SystemCodePageToUtf8(std::string_view bytes) {
  return WideToUtf8(SystemCodePageToWide(bytes));
}

}  // namespace loafix::win32
