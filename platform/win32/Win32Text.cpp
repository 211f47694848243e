#include "platform/win32/Win32Text.h"

namespace loafix::win32 {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  // Without flags the call fails only on arguments it cannot take; each byte then counts
  // as no character rather than the text vanishing.
  if (n <= 0) return std::wstring(bytes.size(), L'\xFFFD');
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

// The flags WideCharToMultiByte takes for a code page. Into the ANSI code page we want
// no best fit: a character it lacks becomes "?", as on the simulated desktop, instead of
// a look-alike ("ā" is not "a", "¬" is not the full-width "￢" of 932). Microsoft's
// documentation of WideCharToMultiByte: for UTF-8 (65001) and GB18030 (54936) dwFlags
// must be 0 or WC_ERR_INVALID_CHARS, else the call fails with ERROR_INVALID_FLAGS. That
// is the ANSI code page itself on a Windows 10 or 11 with "Beta: Use Unicode UTF-8 for
// worldwide language support" on, where CP_ACP is 65001. Wine takes any flag there, so
// only Windows shows the difference; the rule is the documented one. (UTF-8 has every
// character, so there is nothing to fit; WC_ERR_INVALID_CHARS would fail on a lone
// surrogate, which the program's texts never hold, and XP does not know it.)
DWORD FlagsFor(UINT codePage) {
  return codePage == CP_UTF8 || codePage == 54936 ? 0 : WC_NO_BEST_FIT_CHARS;
}

std::optional<std::string> FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const DWORD flags = FlagsFor(codePage);
  const int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  if (WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), n, nullptr, nullptr) !=
      n)
    return std::nullopt;
  return bytes;
}

// The code page in use, by its number: CP_ACP would hide that it is 65001 from FlagsFor.
class AnsiCodePage final : public CodePage {
 public:
  AnsiCodePage() : number_(GetACP()) {}
  unsigned number() const override { return number_; }
  std::u16string ToUtf16(std::string_view bytes) const override {
    const std::wstring wide = ToWide(number_, bytes);
    return std::u16string(wide.begin(), wide.end());
  }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    return FromWide(number_, std::wstring(text.begin(), text.end()));
  }
  bool IsLeadByte(unsigned char byte) const override {
    return number_ != CP_UTF8 && IsDBCSLeadByteEx(number_, byte);
  }
  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    return FromWide(number_, Utf8ToWide(utf8));
  }
  std::string ToUtf8(std::string_view bytes) const override {
    return WideToUtf8(ToWide(number_, bytes));
  }

 private:
  UINT number_;
};

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  return ToWide(CP_UTF8, utf8);
}
std::string WideToUtf8(std::wstring_view wide) {
  return FromWide(CP_UTF8, wide).value_or(std::string());  // every UTF-16 text has one
}

const CodePage& SystemCodePage() {
  static const AnsiCodePage page;
  return page;
}

std::wstring SystemCodePageToWide(std::string_view bytes) {
  return ToWide(SystemCodePage().number(), bytes);
}
std::optional<std::string> WideToSystemCodePage(std::wstring_view wide) {
  return FromWide(SystemCodePage().number(), wide);
}

}  // namespace loafix::win32
