#include "platform/sim/SimCodePages.h"

#include <array>
#include <cassert>
#include <cstdint>

#include "core/Text.h"

namespace loafix::sim {
namespace {

// ---- 1251: Cyrillic ----

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are А..я in order. The one byte the
// code page leaves undefined, 0x98, maps to the C1 control of the same value.
constexpr std::array<char16_t, 64> k1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t Cp1251Unit(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0));
  return k1251High[b - 0x80];
}

class Cp1251 final : public CodePage {
 public:
  unsigned number() const override { return 1251; }
  std::u16string ToUtf16(std::string_view bytes) const override {
    std::u16string out;
    for (char c : bytes) out += Cp1251Unit(static_cast<unsigned char>(c));
    return out;
  }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    std::string out;
    for (char16_t u : text) {
      char byte = '?';
      for (unsigned b = 0; b <= 0xFF; ++b)
        if (Cp1251Unit(static_cast<unsigned char>(b)) == u) {
          byte = static_cast<char>(b);
          break;
        }
      out += byte;
    }
    return out;
  }
  bool IsLeadByte(unsigned char) const override { return false; }
};

// ---- 932: Japanese (Shift JIS as Windows has it) ----

// Runs of two-byte characters whose code points follow the bytes one for one: kana,
// the Cyrillic letters, and the single characters the tests use.
struct Run {
  std::uint16_t bytes;  // lead byte, second byte
  char16_t first;
  std::uint16_t count;
};
constexpr Run k932Runs[] = {
    {0x8145, 0x30FB, 1},   // ・ (also what a pair outside the code page reads as)
    {0x829F, 0x3041, 83},  // ぁ..ん
    {0x8340, 0x30A1, 63},  // ァ..ミ (ソ is 83 5C, ゾ 83 5D, ゼ 83 5B)
    {0x8380, 0x30E0, 23},  // ム..ヶ
    {0x8440, 0x0410, 6},   // А..Е
    {0x8446, 0x0401, 1},   // Ё
    {0x8447, 0x0416, 26},  // Ж..Я
    {0x8470, 0x0430, 6},   // а..е
    {0x8476, 0x0451, 1},   // ё
    {0x8477, 0x0436, 8},   // ж..н
    {0x8480, 0x043E, 18},  // о..я
    {0x9048, 0x98DF, 1},   // 食
    {0x928B, 0x663C, 1},   // 昼
    {0x945C, 0x80FD, 1},   // 能
    {0x955C, 0x8868, 1},   // 表
};
constexpr char16_t kUnknownPair = 0x30FB;

bool Is932Lead(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

char16_t Cp932Pair(unsigned char lead, unsigned char second) {
  const unsigned bytes = (lead << 8) | second;
  for (const Run& r : k932Runs)
    if (bytes >= r.bytes && bytes < r.bytes + r.count)
      return static_cast<char16_t>(r.first + (bytes - r.bytes));
  return kUnknownPair;
}

class Cp932 final : public CodePage {
 public:
  unsigned number() const override { return 932; }
  std::u16string ToUtf16(std::string_view bytes) const override {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (Is932Lead(b)) {
        // As the platform reads it: a lead byte takes whatever byte follows, and one at
        // the very end is a character of its own.
        out += i + 1 < bytes.size() ? Cp932Pair(b, static_cast<unsigned char>(bytes[++i]))
                                    : kUnknownPair;
      } else if (b >= 0xA1 && b <= 0xDF) {
        out += static_cast<char16_t>(0xFF61 + (b - 0xA1));  // half-width katakana
      } else if (b == 0xA0 || b >= 0xFD) {
        out += static_cast<char16_t>(b == 0xA0 ? 0xF8F0 : 0xF8F1 + (b - 0xFD));  // private use
      } else {
        out += b;
      }
    }
    return out;
  }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    std::string out;
    for (char16_t u : text) {
      if (u < 0x80) {
        out += static_cast<char>(u);
      } else if (u >= 0xFF61 && u <= 0xFF9F) {
        out += static_cast<char>(0xA1 + (u - 0xFF61));
      } else if (u == 0x80 || (u >= 0xF8F0 && u <= 0xF8F3)) {
        out += static_cast<char>(u == 0x80 ? 0x80 : u == 0xF8F0 ? 0xA0 : 0xFD + (u - 0xF8F1));
      } else {
        out += Pair(u);
      }
    }
    return out;
  }
  bool IsLeadByte(unsigned char b) const override { return Is932Lead(b); }

 private:
  static std::string Pair(char16_t u) {
    for (const Run& r : k932Runs)
      if (u >= r.first && u < r.first + r.count) {
        const unsigned bytes = r.bytes + (u - r.first);
        return {static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)};
      }
    return "?";
  }
};

// ---- 65001: UTF-8 as the ANSI code page ----

class Cp65001 final : public CodePage {
 public:
  unsigned number() const override { return kUtf8; }
  std::u16string ToUtf16(std::string_view bytes) const override { return Utf8ToUtf16(bytes); }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    return Utf16ToUtf8(text);
  }
  bool IsLeadByte(unsigned char) const override { return false; }
};

}  // namespace

const CodePage& SimCodePage(unsigned number) {
  static const Cp1251 cp1251;
  static const Cp932 cp932;
  static const Cp65001 cp65001;
  switch (number) {
    case 1251:
      return cp1251;
    case 932:
      return cp932;
    case CodePage::kUtf8:
      return cp65001;
    default:
      assert(number == 1252 && "the simulated desktop knows 1252, 1251, 932 and 65001");
      return Windows1252();
  }
}

}  // namespace loafix::sim
