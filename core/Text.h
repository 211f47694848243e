// Conversions between the program's UTF-8 text and Windows-1252, the ANSI code page
// of a Western-language system. Used by every backend that must produce the bytes a
// real ANSI program would (the simulated desktop, the settings file, the stand-in
// client's log).
#pragma once

#include <string>
#include <string_view>

namespace loafix {

// UTF-8 to Windows-1252, byte for byte as the Win32 backend converts (without best
// fit): a character outside the code page becomes "?" ("??" beyond the 16-bit range,
// one per UTF-16 unit); malformed UTF-8 bytes are taken as Latin-1.
std::string Utf8ToAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, so every byte string survives a round trip.
std::string AnsiToUtf8(std::string_view ansi);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

// Lower-case for ASCII letters only, as class-name and key comparisons need.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace loafix
