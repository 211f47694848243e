// Runs settings operations through the platform's own private-profile functions, so
// the settings store can be compared against them under Wine. Reads a script of
// operations and writes one line per read; every text travels as hex so any byte
// (high 1252 bytes, blanks, line breaks) survives the trip.
//
//   F <path>               use this file for the following operations
//   W <section> <key> <value>|-   WritePrivateProfileStringA; "-" passes NULL
//   R <section> <key>      GetPrivateProfileStringA into a 750-byte buffer, default ""
//   .                      an empty text (any hex field may be "." for "")
//
// Output per read: "<count> <hex of the first count bytes>". The profile cache is
// released after every operation (the documented flush call) so each read sees the
// file as a fresh process would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "clientsim/Hex.h"

using loafix::HexWord;
using loafix::Unhex;

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: ini_oracle <script> <results> [<code page>]\n");
    return 2;
  }
  // The comparison is about the bytes of one code page (a Western system's unless
  // another is named); any other would make every high byte differ for reasons unrelated
  // to the store.
  const unsigned expected = argc == 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 1252;
  if (GetACP() != expected) {
    std::fprintf(stderr, "ini_oracle: ANSI code page is %u, not %u\n", GetACP(), expected);
    return 3;
  }
  std::ifstream script(argv[1], std::ios::binary);
  std::ofstream results(argv[2], std::ios::binary);
  if (!script || !results) return 2;

  std::string file;
  std::string line;
  while (std::getline(script, line)) {
    std::istringstream fields(line);
    std::string op, a, b, c;
    fields >> op >> a >> b >> c;
    if (op == "F") {
      file = Unhex(a);
    } else if (op == "W") {
      const std::string section = Unhex(a), key = Unhex(b);
      const std::optional<std::string> value =
          c == "-" ? std::nullopt : std::optional<std::string>(Unhex(c));
      WritePrivateProfileStringA(section.c_str(), key.c_str(), value ? value->c_str() : nullptr,
                                 file.c_str());
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    } else if (op == "R") {
      const std::string section = Unhex(a), key = Unhex(b);
      char buffer[750] = {};
      const DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                   sizeof buffer, file.c_str());
      WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
      results << count << ' ' << HexWord(std::string_view(buffer, count)) << '\n';
    }
  }
  return results.good() ? 0 : 1;
}
