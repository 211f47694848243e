// Texts as the hex of their bytes, so that any byte (high 1252 bytes, blanks, line
// breaks) fits in one word of a line: the stand-in client's log, the tests that read it
// and the settings oracle's scripts all write texts this way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace loafix {

// The value of one hex digit of either case; -1 for any other character.
inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "3c666f..." for the bytes "<fo...": two lower-case digits a byte, "" for "".
inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

// Hex that stays one word of a line: "." for "", which Unhex reads back as "".
inline std::string HexWord(std::string_view bytes) {
  return bytes.empty() ? "." : Hex(bytes);
}

// The bytes back from hex of either case; an odd or malformed tail is dropped.
inline std::string Unhex(std::string_view hex) {
  std::string out;
  out.reserve(hex.size() / 2);
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) break;
    out += static_cast<char>(high * 16 + low);
  }
  return out;
}

}  // namespace loafix
