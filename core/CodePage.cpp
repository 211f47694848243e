#include "core/CodePage.h"

#include "core/Text.h"

namespace loafix {

std::optional<std::string> CodePage::FromUtf8(std::string_view utf8) const {
  return FromUtf16(Utf8ToUtf16(utf8));
}

std::string CodePage::ToUtf8(std::string_view bytes) const {
  return Utf16ToUtf8(ToUtf16(bytes));
}

namespace {

class Cp1252 final : public CodePage {
 public:
  unsigned number() const override { return 1252; }
  std::u16string ToUtf16(std::string_view bytes) const override { return AnsiToUtf16(bytes); }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    return Utf16ToAnsi(text);
  }
  bool IsLeadByte(unsigned char) const override { return false; }
  std::optional<std::string> FromUtf8(std::string_view utf8) const override {
    return Utf8ToAnsi(utf8);
  }
  std::string ToUtf8(std::string_view bytes) const override { return AnsiToUtf8(bytes); }
};

}  // namespace

const CodePage& Windows1252() {
  static const Cp1252 page;
  return page;
}

}  // namespace loafix
