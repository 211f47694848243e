// Whole files in and out for the settings tests, by the standard library (the program
// itself does not use it; see settings/SettingsFile.h).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace loafix::test {

// Every byte of the file; "" for a missing one.
inline std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Makes the file hold exactly `bytes`.
inline void Put(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace loafix::test
