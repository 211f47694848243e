#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

#include "settings/SettingsFile.h"

namespace loafix {
namespace {

// A rename refused by a busy file is tried this often, this far apart, before the store
// writes in place.
constexpr int kRenameTries = 4;
constexpr long kRenamePauseMs = 25;

void Nap(long ms) {
  timespec t{ms / 1000, (ms % 1000) * 1000000L};
  while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

bool WriteAll(int fd, std::string_view bytes, off_t at) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    at += n;
  }
  return true;
}

// A link to the settings file stays a link: the file it points to is the one written.
bool FollowLinks(std::string& path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return false;
    const std::string link(buffer, static_cast<std::size_t>(n));
    path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
  }
  return false;
}

// Nobody may write the file: left alone, as the platform's own writes would leave it,
// even by root, whom the system would let.
bool ReadOnly(const struct stat& st) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool RefusedByAccess(int error) {
  return error == EACCES || error == EPERM || error == EBUSY;
}

int CreateProbe(const std::string& folder, const char* stem, std::string& name) {
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = JoinPath(folder, stem + std::to_string(::getpid()) + "-" +
                                std::to_string(++serial ^ static_cast<unsigned>(::time(nullptr))) +
                                ".tmp");
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// The file that asks whether a folder takes new files.
constexpr char kProbeStem[] = ".loafix-probe-";

// The temporary files of earlier writes that could not be removed then: each write takes
// away what the last ones left, once they are old enough not to be a live write's.
void RemoveLeftovers(const std::string& folder, std::string_view stem) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  constexpr std::string_view kTail = ".tmp";
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= stem.size() + kTail.size() || name.substr(0, stem.size()) != stem ||
        name.substr(name.size() - kTail.size()) != kTail)
      continue;
    const std::string path = JoinPath(folder, name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;
    const auto age = static_cast<long long>(now) - static_cast<long long>(st.st_mtime);
    if (age >= kLeftoverAgeSeconds || age <= -kLeftoverAgeSeconds) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

}  // namespace

PathKind SettingsFiles::kind(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0)
    return errno == ENOENT ? PathKind::kMissing : PathKind::kOther;
  return S_ISREG(st.st_mode) ? PathKind::kRegularFile : PathKind::kOther;
}

ReadStatus SettingsFiles::read(const std::string& path, std::size_t spare, std::string& bytes) {
  ReadStatus status = ReadStatus::kUnreadable;
  // Non-blocking, so that a FIFO of that name is refused instead of waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    bytes.clear();
    return errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kUnreadable;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      ReadWhole(static_cast<std::size_t>(st.st_size), spare, bytes,
                [fd](char* to, std::size_t most) -> std::ptrdiff_t {
                  for (;;) {
                    const ssize_t n = ::read(fd, to, most);
                    if (n >= 0 || errno != EINTR) return n;
                  }
                }))
    status = ReadStatus::kRead;
  ::close(fd);
  if (status != ReadStatus::kRead) bytes.clear();
  return status;
}

WriteOutcome SettingsFiles::replace(const std::string& path, std::string_view bytes) {
  std::string target = path;
  if (!FollowLinks(target)) return WriteOutcome::kFailed;
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return WriteOutcome::kFailed;
  if (exists && (!S_ISREG(old.st_mode) || ReadOnly(old) || ::access(target.c_str(), W_OK) != 0))
    return WriteOutcome::kFailed;

  std::string temp;
  const std::string stem = "." + target.substr(target.find_last_of('/') + 1) + ".";
  RemoveLeftovers(FolderOf(target), stem);
  RemoveLeftovers(FolderOf(target), kProbeStem);
  const int fd = CreateProbe(FolderOf(target), stem.c_str(), temp);
  if (fd < 0) return RefusedByAccess(errno) ? WriteOutcome::kRefused : WriteOutcome::kFailed;
  bool ok = WriteAll(fd, bytes, 0);
  if (ok && exists) {
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only root can give the file away; anyone else keeps it as their own.
    }
  }
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  WriteOutcome outcome = ok ? WriteOutcome::kRefused : WriteOutcome::kFailed;
  for (int attempt = 0; ok && attempt < kRenameTries; ++attempt) {
    if (attempt > 0) Nap(kRenamePauseMs);
    if (::rename(temp.c_str(), target.c_str()) == 0) {
      outcome = WriteOutcome::kWritten;
      break;
    }
    if (!RefusedByAccess(errno)) {
      outcome = WriteOutcome::kFailed;
      break;
    }
  }
  if (outcome != WriteOutcome::kWritten) {
    ::unlink(temp.c_str());
    return outcome;
  }
  // The rename reaches the disk with the folder's own entry list.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return WriteOutcome::kWritten;
}

WriteOutcome SettingsFiles::overwrite(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return WriteOutcome::kFailed;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !ReadOnly(st);
  const auto size = static_cast<off_t>(bytes.size());
  if (ok && size > st.st_size) {
    const int error = ::posix_fallocate(fd, 0, size);
    ok = error == 0 || error == EOPNOTSUPP || error == EINVAL;  // a file system without it
  }
  ok = ok && WriteAll(fd, bytes, 0) && ::ftruncate(fd, size) == 0 && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  return ok ? WriteOutcome::kWritten : WriteOutcome::kFailed;
}

bool SettingsFiles::canCreateIn(const std::string& folder) {
  RemoveLeftovers(folder, kProbeStem);
  std::string probe;
  const int fd = CreateProbe(folder, kProbeStem, probe);
  if (fd < 0) return false;
  ::close(fd);
  return ::unlink(probe.c_str()) == 0;
}

bool SettingsFiles::canRead(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

bool SettingsFiles::canWrite(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  const bool writable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && !ReadOnly(st);
  ::close(fd);
  return writable;
}

}  // namespace loafix
