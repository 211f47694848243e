// The program's text conversions. Its own text is UTF-8; "ANSI" here is Windows-1252, the
// ANSI code page of a Western-language system (core/CodePage gives it to the portable
// layers beside the system's own); the platform's wide text is UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace loafix {

// ---- Windows-1252 ----

// UTF-8 to Windows-1252, byte for byte as the Win32 backend converts (without best
// fit): a character outside the code page becomes "?" ("??" beyond the 16-bit range,
// one per UTF-16 unit); malformed UTF-8 bytes are taken as Latin-1.
std::string Utf8ToAnsi(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, so every byte string survives a round trip.
std::string AnsiToUtf8(std::string_view ansi);

// The same to and from UTF-16, one unit per byte, as the platform's "A" functions
// convert: a unit outside the code page becomes "?", each half of a surrogate pair too.
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);

// ---- UTF-8 and UTF-16 ----

// UTF-16 to UTF-8; a surrogate without its other half becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-8 to UTF-16 as the platform decodes a UTF-8 file (Wine byte for byte): a malformed
// sequence becomes U+FFFD, taking as many bytes with it as that decoder takes, and a
// sequence cut off by the end of `utf8` takes the rest. Only the characters that start
// before `stop` are decoded, the last of them read as in the whole of `utf8`.
std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t stop = std::string_view::npos);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

// ---- letter case ----

// The letters of the ANSI code page in both cases: A-Z, the Latin-1 capitals but "×",
// and "Š", "Œ", "Ž", "Ÿ", each with its small letter ("ß" and "µ" have no capital in the
// code page). Settings keys are stored in capitals and matched in any letter case.
char16_t AnsiLower(char16_t unit);  // every other unit unchanged
// UTF-8 through the code page with its letters in capitals or small letters; a character
// outside the code page becomes "?", as in Utf8ToAnsi.
std::string AnsiUpper(std::string_view utf8);
std::string AnsiLower(std::string_view utf8);

// Lower-case for ASCII letters only, as class-name and file-name comparisons need.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace loafix
