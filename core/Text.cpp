#include "core/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace loafix {
namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; 0 marks the five undefined
// bytes, which map to the C1 control of the same value.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

char CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    if (kHigh[i] == 0 && cp == 0x80 + i) return static_cast<char>(cp);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
}

bool IsSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDFFF;
}

// One character of UTF-8 at `i`, moved past what the platform's decoder consumes; U+FFFD
// for a malformed sequence. Matches Wine byte for byte, including its choice of how many
// bytes a malformed sequence swallows.
char32_t DecodeUtf8(std::string_view bytes, std::size_t& i) {
  constexpr char32_t kMalformed = 0xFFFD;
  const auto lead = static_cast<unsigned char>(bytes[i++]);
  if (lead < 0x80) return lead;
  const unsigned length = lead >= 0xF5   ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC2 ? 1
                                         : 0;
  if (length == 0) return kMalformed;
  const std::size_t end = i + length;  // `i` is already past the lead byte
  if (end > bytes.size()) {
    i = bytes.size();  // a sequence cut by the end takes the rest with it
    return kMalformed;
  }
  auto trail = [&](std::size_t pos) -> int {
    const unsigned c = static_cast<unsigned char>(bytes[pos]) ^ 0x80;
    return c < 0x40 ? static_cast<int>(c) : -1;
  };
  static constexpr unsigned char kMask[] = {0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = lead & kMask[length];
  int c;
  switch (length) {
    case 3:
      if ((c = trail(end - 3)) < 0) return kMalformed;
      cp = (cp << 6) | c;
      ++i;
      if (cp < 0x10) return kMalformed;
      [[fallthrough]];
    case 2:
      if ((c = trail(end - 2)) < 0) return kMalformed;
      cp = (cp << 6) | c;
      if (cp >= (0x110000 >> 6)) return kMalformed;
      ++i;
      if (cp < 0x20) return kMalformed;
      if (cp >= (0xD800 >> 6) && cp <= (0xDFFF >> 6)) return kMalformed;
      [[fallthrough]];
    default:
      if ((c = trail(end - 1)) < 0) return kMalformed;
      cp = (cp << 6) | c;
      ++i;
      if (cp < 0x80) return kMalformed;
      return cp;
  }
}

// The code page's letter case. A Latin-1 capital's small letter is the capital plus
// 0x20; these four pairs lie elsewhere.
struct LetterPair {
  char16_t capital, small;
};
constexpr LetterPair kOtherLetters[] = {
    {0x0160, 0x0161},  // S with caron
    {0x0152, 0x0153},  // OE
    {0x017D, 0x017E},  // Z with caron
    {0x0178, 0x00FF},  // Y with diaeresis
};

bool IsLatin1Capital(char16_t u) {
  return (u >= u'A' && u <= u'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7);
}

char16_t Capital(char16_t u) {
  if (u >= 0x20 && IsLatin1Capital(static_cast<char16_t>(u - 0x20)))
    return static_cast<char16_t>(u - 0x20);
  for (const LetterPair& p : kOtherLetters)
    if (u == p.small) return p.capital;
  return u;
}

std::string MapLetters(std::string_view utf8, char16_t (*map)(char16_t)) {
  std::u16string units = AnsiToUtf16(Utf8ToAnsi(utf8));
  for (char16_t& u : units) u = map(u);
  return Utf16ToUtf8(units);
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 3 ? lead & 0x07 : extra == 2 ? lead & 0x0F : lead & 0x1F;
    bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4);
    if (lead < 0x80) {
      cp = lead;
      extra = 0;
    }
    for (int k = 1; valid && k <= extra; ++k) {
      if (i + k >= utf8.size() || (static_cast<unsigned char>(utf8[i + k]) & 0xC0) != 0x80) {
        valid = false;
      } else {
        cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
      }
    }
    if (!valid) {
      out += static_cast<char>(lead);  // not UTF-8: keep the byte as it is
      ++i;
      continue;
    }
    out += CodePointToByte(cp);
    // The system converts UTF-16: a character beyond it is two units, each a "?".
    if (cp > 0xFFFF) out += '?';
    i += 1 + extra;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (char c : ansi) AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += static_cast<char16_t>(ByteToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (char16_t u : utf16) out += CodePointToByte(u);  // a surrogate is no byte: "?"
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t u = utf16[i];
    if (!IsSurrogate(u)) {
      AppendUtf8(out, u);
    } else if (u < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
               utf16[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
      ++i;
    } else {
      AppendUtf8(out, 0xFFFD);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t stop) {
  stop = std::min(stop, utf8.size());
  std::u16string out;
  out.reserve(stop);
  for (std::size_t i = 0; i < stop;) AppendUtf16(out, DecodeUtf8(utf8, i));
  return out;
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

char16_t AnsiLower(char16_t unit) {
  if (IsLatin1Capital(unit)) return static_cast<char16_t>(unit + 0x20);
  for (const LetterPair& p : kOtherLetters)
    if (unit == p.capital) return p.small;
  return unit;
}

std::string AnsiUpper(std::string_view utf8) {
  return MapLetters(utf8, Capital);
}

std::string AnsiLower(std::string_view utf8) {
  return MapLetters(utf8, AnsiLower);
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace loafix
