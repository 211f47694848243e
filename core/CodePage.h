// The system's ANSI code page: the bytes an ANSI ("A") program's texts are made of, at
// the window-system boundary and in the settings file. Each backend gives the program
// the code page in use (the Win32 one asks the system; the simulated desktop declares
// one); the portable layers convert through it and never assume Windows-1252.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace loafix {

class CodePage {
 public:
  virtual ~CodePage() = default;

  // The code page's number, as GetACP gives it (1252, 1251, 932, 65001, ...).
  virtual unsigned number() const = 0;

  // The bytes as UTF-16, as the platform reads them (MultiByteToWideChar): never fails;
  // bytes that are no character become the code page's replacement.
  virtual std::u16string ToUtf16(std::string_view bytes) const = 0;
  // UTF-16 as the code page's bytes, without best fit: a character the code page lacks
  // becomes "?". Nullopt when the conversion fails; a failed conversion is never "".
  virtual std::optional<std::string> FromUtf16(std::u16string_view text) const = 0;

  // Whether `byte` starts a character of two bytes (a double-byte code page such as
  // 932); the byte after it may then be any byte, "[", "]" and "\" included.
  virtual bool IsLeadByte(unsigned char byte) const = 0;

  // The same for the program's UTF-8.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const;
  virtual std::string ToUtf8(std::string_view bytes) const;

  bool IsUtf8() const { return number() == kUtf8; }
  static constexpr unsigned kUtf8 = 65001;
};

// Windows-1252, the code page of a Western-language system, converted by core/Text:
// the simulated desktop's unless a test picks another.
const CodePage& Windows1252();

}  // namespace loafix
