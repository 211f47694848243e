#include "settings/SettingsFile.h"

namespace loafix {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += kPathSeparator;
  path += name;
  return path;
}

SettingsFiles& PlatformFiles() {
  static SettingsFiles files;
  return files;
}

bool ReadWhole(std::size_t size, std::size_t spare, std::string& bytes,
               const std::function<std::ptrdiff_t(char* to, std::size_t most)>& readSome) {
  try {
    if (bytes.capacity() < size + spare) {
      // Let the old buffer go first (an assignment would keep it), and leave room for
      // an edit after a read, so that a write after a read needs no new buffer.
      std::string().swap(bytes);
      bytes.reserve(size + spare + size / 16 + 4096);
    }
    bytes.resize(size);
    std::size_t got = 0;
    char more[4096];  // what a file that grew meanwhile has beyond its size
    for (;;) {
      const bool full = got == bytes.size();
      const std::ptrdiff_t n =
          full ? readSome(more, sizeof more) : readSome(bytes.data() + got, bytes.size() - got);
      if (n < 0) {
        bytes.clear();
        return false;
      }
      if (n == 0) break;
      if (full) bytes.append(more, static_cast<std::size_t>(n));
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return true;
  } catch (...) {
    std::string().swap(bytes);  // out of memory: read as unreadable, and let the memory go
    return false;
  }
}

}  // namespace loafix
