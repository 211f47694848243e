#include "tests/settings/IniReference.h"

#include "core/Text.h"

namespace loafix::ini::reference {
namespace {

// The C white-space characters, and Ctrl-Z.
bool IsBlank(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

std::u16string_view TrimFront(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}
std::u16string_view Trim(std::u16string_view s) {
  s = TrimFront(s);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Trimmed first, then cut at a NUL: blanks just before a NUL stay.
std::string Name(std::u16string_view s) {
  s = Trim(s);
  return Utf16ToUtf8(s.substr(0, s.find(u'\0')));
}

std::u16string Decode(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToUtf16(bytes.substr(3));
  const bool little = bytes.substr(0, 2) == "\xFF\xFE", big = bytes.substr(0, 2) == "\xFE\xFF";
  if (!little && !big) return AnsiToUtf16(bytes);
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {  // an odd last byte is ignored
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(little ? a | (b << 8) : (a << 8) | b);
  }
  return text;
}

}  // namespace

std::vector<Section> Sections(std::string_view fileBytes) {
  const std::u16string text = Decode(fileBytes);
  std::vector<Section> sections(1);
  for (std::size_t begin = 0; begin <= text.size();) {
    std::size_t end = text.find_first_of(u"\r\n", begin);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string_view line = Trim(std::u16string_view(text).substr(begin, end - begin));
    begin = end + 1;
    if (line.empty()) continue;
    const std::size_t close = line.rfind(u']');
    if (line.front() == u'[' && close != std::u16string_view::npos && close > 0) {
      sections.push_back({Name(line.substr(1, close - 1)), {}});
      continue;
    }
    const std::size_t eq = line.find(u'=');
    Entry entry{Name(line.substr(0, eq)), std::nullopt};
    if (eq != std::u16string_view::npos) {
      const std::u16string_view value = TrimFront(line.substr(eq + 1));
      entry.value = Utf16ToUtf8(value.substr(0, value.find(u'\0')));
    }
    sections.back().entries.push_back(std::move(entry));
  }
  return sections;
}

}  // namespace loafix::ini::reference
