// Text at the Win32 boundary: the program's UTF-8 to and from the system's ANSI code
// page (and UTF-16 for the few calls that need it). A character the code page lacks
// becomes the system's default character, as it would for any ANSI program.
#pragma once

#include "platform/win32/Win32.h"

#include <string>
#include <string_view>

namespace loafix::win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

inline std::string Utf8ToAnsi(std::string_view utf8) {
  return WideToAnsi(Utf8ToWide(utf8));
}
inline std::string AnsiToUtf8(std::string_view ansi) {
  return WideToUtf8(AnsiToWide(ansi));
}

}  // namespace loafix::win32
