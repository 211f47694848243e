// The file operations the settings store is built on, with paths as UTF-8 text. The
// platform's own file calls sit behind them (platform/win32/Win32SettingsFile.cpp,
// SettingsFile_posix.cpp): neither C++ streams nor the standard path library, which would add more than a megabyte
// to the program.
//
// A store takes them as an object so that a test can put a fault where the real file
// system will not produce one on demand (a rename refused because another program
// holds the file).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace loafix {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A temporary file of an earlier write (or a folder probe) that is still there is taken
// away by a later write once its last change is this far from now, either way: a
// younger one may be another running program's, between its last byte and its rename
// (a loafix started by another account, say), and must not be pulled from under it.
inline constexpr int kLeftoverAgeSeconds = 60;

// `name` inside `folder`.
std::string JoinPath(std::string_view folder, std::string_view name);

enum class PathKind {
  kMissing,
  kRegularFile,
  kOther,  // a folder, a FIFO, a device, or something that cannot be looked at
};

enum class ReadStatus { kRead, kMissing, kUnreadable };

enum class WriteOutcome {
  kWritten,
  // Refused by a sharing or access error: another program holds the file open, or no
  // new file may be created beside it. Writing into the file itself may still work.
  kRefused,
  kFailed,  // nothing was changed, and writing in place would not help either
};

class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;

  virtual PathKind kind(const std::string& path);

  // The whole file into `bytes`, with room for `spare` more bytes reserved so that an
  // edit can be made in the same buffer; `bytes` is empty unless kRead. Only a regular
  // file is read. The buffer's memory is reused, not given back: a fresh buffer for a
  // file of megabytes costs more in page faults than reading it (a tenth of a second
  // for 20 MB under Wine).
  virtual ReadStatus read(const std::string& path, std::size_t spare, std::string& bytes);

  // Makes `path` hold exactly `bytes` by writing a temporary file beside it and renaming
  // it over the old one, so a crash or a full disk leaves the old file or the new one,
  // never half of one. A rename refused because the file is held is tried again for a
  // moment before kRefused. On kRefused and kFailed the file keeps every byte and no
  // temporary file is left. A read-only file is kFailed, also where the system would let
  // this user replace it.
  virtual WriteOutcome replace(const std::string& path, std::string_view bytes);

  // Makes the existing file `path` hold exactly `bytes` by writing into it, through a
  // handle that shares reading, writing and deleting as the platform's own profile writer
  // does: the way in while another program holds the file. The text goes in one write
  // and the file's end is set after it, so the file is never longer or shorter than its
  // new text; a longer text claims its room first, so a full disk refuses before any byte
  // has changed.
  virtual WriteOutcome overwrite(const std::string& path, std::string_view bytes);

  // Whether a new file can be created in `folder` (the probe is removed again).
  virtual bool canCreateIn(const std::string& folder);

  // Whether the existing regular file `path` can be read now.
  virtual bool canRead(const std::string& path);

  // Whether the existing regular file `path` can be written now, by replace() or by
  // overwrite(): nobody made it read-only and no other program holds it against writing.
  // The file is not changed.
  virtual bool canWrite(const std::string& path);
};

// The platform's file system.
SettingsFiles& PlatformFiles();

// The reading loop of both platforms' SettingsFiles::read, over an open file that had
// `size` bytes when looked at: fills `bytes` by the buffer rules of read() (room for
// `spare` more, the old buffer reused), and also takes what a file that grew meanwhile
// has beyond that size. `readSome(to, most)` reads at most `most` bytes into `to` and
// returns how many, 0 at the file's end, or -1 on an error. False on an error or when
// memory runs out; `bytes` is then empty.
bool ReadWhole(std::size_t size, std::size_t spare, std::string& bytes,
               const std::function<std::ptrdiff_t(char* to, std::size_t most)>& readSome);

}  // namespace loafix
