// Whole files in and out for the settings tests, by the standard library (the program
// itself does not use it; see settings/SettingsFile.h).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

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

#ifndef _WIN32
// Runs `write` with files limited to `bytes`: a write past it fails part way, as one on a
// full disk does (the signal such a write raises is ignored meanwhile).
template <typename Write>
void WithFileSizeLimit(rlim_t bytes, Write write) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &small);
  write();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);
}
#endif

}  // namespace loafix::test
