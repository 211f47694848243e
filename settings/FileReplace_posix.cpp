#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "settings/FileReplace.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A new file beside `target` that nobody else has, created with the usual permissions.
int CreateTemporary(const fs::path& target, fs::path& temp) {
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    temp = target.parent_path() / ("." + target.filename().string() + suffix);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool ReplaceFileContents(const fs::path& file, std::string_view bytes) noexcept {
  try {
    fs::path target = fs::absolute(file);
    std::error_code ec;
    // A link to the settings file stays a link: the file it points to is the one replaced.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
      target = fs::weakly_canonical(target, ec);
      if (ec) return false;
    }

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists) {
      if (!S_ISREG(old.st_mode)) return false;
      // A rename replaces a file whatever its own permissions, and root may write anything:
      // a file nobody may write is left alone here, as the platform's own writes would.
      if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
      if (::access(target.c_str(), W_OK) != 0) return false;
    }

    fs::path temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    if (ok && exists) {
      ok = ::fchmod(fd, old.st_mode & 07777) == 0;
      if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only root can give the file away; anyone else keeps it as their own.
      }
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
      ::unlink(temp.c_str());
      return false;
    }
    // The rename reaches the disk with the folder's own entry list.
    const int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
      ::fsync(folder);
      ::close(folder);
    }
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace loafix
