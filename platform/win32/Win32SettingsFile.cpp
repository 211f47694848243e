// The settings file's Windows half (settings/SettingsFile.h): paths go to the "W" calls
// through the one Win32 text unit.
#include "platform/win32/Win32.h"

#include <string>

#include "platform/win32/Win32Text.h"
#include "settings/SettingsFile.h"

namespace loafix {
namespace {

// A rename refused by a busy file is tried this often, this far apart, before the store
// writes in place: a virus scanner or an indexer usually lets go within that.
constexpr int kRenameTries = 4;
constexpr DWORD kRenamePauseMs = 25;

// Every handle we open lets everyone else go on reading, writing, renaming and deleting,
// as the platform's own profile functions do.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The file that asks whether a folder takes new files.
constexpr wchar_t kProbeStem[] = L".loafix-probe-";

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

bool RefusedByAccess(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// One WriteFile call for the whole text: what another program reading the file at the
// same moment sees is the old text or the new one, as far as the system allows.
bool WriteWhole(HANDLE h, std::string_view bytes) {
  DWORD written = 0;
  return WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool SeekTo(HANDLE h, std::size_t offset) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
}

// A handle on a regular file only: folders, devices ("NUL", "CON") and pipes are refused.
HANDLE OpenRegular(const std::wstring& path, DWORD access, DWORD& error) {
  const HANDLE h = CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    return h;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(h);
    error = ERROR_INVALID_NAME;
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

// std::to_wstring would bring the runtime's wide printf along, and its imports with it.
std::wstring Decimal(unsigned long n) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
    n /= 10;
  } while (n != 0);
  return digits;
}

HANDLE CreateProbe(const std::wstring& folder, const std::wstring& stem, std::wstring& name) {
  static unsigned serial = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = folder + stem + Decimal(GetCurrentProcessId()) + L"-" +
           Decimal(++serial ^ GetTickCount()) + L".tmp";
    const HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return h;
  }
  return INVALID_HANDLE_VALUE;
}

// The temporary files of earlier writes that could not be removed then (a virus scanner
// or an indexer had them open without letting them be deleted): the guide promises no
// files beside the settings file, so each write takes away what the last ones left,
// once they are old enough not to be a live write's.
void RemoveLeftovers(const std::wstring& folder, const std::wstring& stem) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + stem + L"*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME nowTime;
  GetSystemTimeAsFileTime(&nowTime);
  const auto ticks = [](const FILETIME& t) {  // 100 ns units
    return static_cast<long long>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                  t.dwLowDateTime);
  };
  const long long now = ticks(nowTime), oldEnough = kLeftoverAgeSeconds * 10'000'000LL;
  do {
    // The pattern may also match a short 8.3 name; only the full name counts, spelled
    // as this program spells its own.
    const std::wstring name = found.cFileName;
    const long long age = now - ticks(found.ftLastWriteTime);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > stem.size() + 4 &&
        name.compare(0, stem.size(), stem) == 0 && name.compare(name.size() - 4, 4, L".tmp") == 0 &&
        (age >= oldEnough || age <= -oldEnough))
      DeleteFileW((folder + name).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

PathKind SettingsFiles::kind(const std::string& path) {
  const std::wstring wide = win32::Utf8ToWide(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::kMissing
                                                                          : PathKind::kOther;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kOther;
  // A device name answers to the attribute query like a file does; only a handle tells.
  DWORD error = 0;
  const HANDLE h = OpenRegular(wide, 0, error);
  if (h == INVALID_HANDLE_VALUE)
    return RefusedByAccess(error) ? PathKind::kRegularFile : PathKind::kOther;
  CloseHandle(h);
  return PathKind::kRegularFile;
}

ReadStatus SettingsFiles::read(const std::string& path, std::size_t spare, std::string& bytes) {
  ReadStatus status = ReadStatus::kUnreadable;
  DWORD error = 0;
  const HANDLE h = OpenRegular(win32::Utf8ToWide(path), GENERIC_READ, error);
  if (h == INVALID_HANDLE_VALUE) {
    bytes.clear();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadStatus::kMissing
                                                                          : ReadStatus::kUnreadable;
  }
  LARGE_INTEGER size{};
  if (GetFileSizeEx(h, &size) &&
      ReadWhole(static_cast<std::size_t>(size.QuadPart), spare, bytes,
                [h](char* to, std::size_t most) -> std::ptrdiff_t {
                  DWORD n = 0;
                  const DWORD chunk = most > (1u << 30) ? (1u << 30) : static_cast<DWORD>(most);
                  return ReadFile(h, to, chunk, &n, nullptr) ? static_cast<std::ptrdiff_t>(n) : -1;
                }))
    status = ReadStatus::kRead;
  CloseHandle(h);
  if (status != ReadStatus::kRead) bytes.clear();
  return status;
}

WriteOutcome SettingsFiles::replace(const std::string& path, std::string_view bytes) {
  const std::wstring target = win32::Utf8ToWide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return WriteOutcome::kFailed;
  } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    return WriteOutcome::kFailed;
  }

  const std::wstring folder = FolderOf(target);
  const std::wstring stem = L"~" + target.substr(folder.size()) + L".";
  RemoveLeftovers(folder, stem);
  RemoveLeftovers(folder, kProbeStem);
  std::wstring temp;
  const HANDLE h = CreateProbe(folder, stem, temp);
  if (h == INVALID_HANDLE_VALUE)
    return RefusedByAccess(GetLastError()) ? WriteOutcome::kRefused : WriteOutcome::kFailed;
  bool ok = WriteWhole(h, bytes) && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  // A hidden or system settings file stays so after the replacement.
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kept))
    SetFileAttributesW(temp.c_str(), attributes & kept);
  WriteOutcome outcome = ok ? WriteOutcome::kRefused : WriteOutcome::kFailed;
  for (int attempt = 0; ok && attempt < kRenameTries; ++attempt) {
    if (attempt > 0) Sleep(kRenamePauseMs);
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      outcome = WriteOutcome::kWritten;
      break;
    }
    if (!RefusedByAccess(GetLastError())) {
      outcome = WriteOutcome::kFailed;
      break;
    }
  }
  if (outcome != WriteOutcome::kWritten) DeleteFileW(temp.c_str());
  return outcome;
}

WriteOutcome SettingsFiles::overwrite(const std::string& path, std::string_view bytes) {
  const std::wstring target = win32::Utf8ToWide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY))
    return WriteOutcome::kFailed;
  DWORD error = 0;
  const HANDLE h = OpenRegular(target, GENERIC_WRITE, error);
  if (h == INVALID_HANDLE_VALUE) return WriteOutcome::kFailed;
  LARGE_INTEGER old{};
  bool ok = GetFileSizeEx(h, &old) != 0;
  if (ok && static_cast<ULONGLONG>(old.QuadPart) < bytes.size())
    ok = SeekTo(h, bytes.size()) && SetEndOfFile(h);
  ok = ok && SeekTo(h, 0) && WriteWhole(h, bytes) && SetEndOfFile(h) && FlushFileBuffers(h);
  ok = CloseHandle(h) && ok;
  return ok ? WriteOutcome::kWritten : WriteOutcome::kFailed;
}

bool SettingsFiles::canCreateIn(const std::string& folder) {
  std::wstring where = win32::Utf8ToWide(folder);
  if (!where.empty() && where.back() != L'\\' && where.back() != L'/') where += L'\\';
  RemoveLeftovers(where, kProbeStem);
  std::wstring probe;
  const HANDLE h = CreateProbe(where, kProbeStem, probe);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return DeleteFileW(probe.c_str()) != 0;
}

bool SettingsFiles::canRead(const std::string& path) {
  DWORD error = 0;
  const HANDLE h = OpenRegular(win32::Utf8ToWide(path), GENERIC_READ, error);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool SettingsFiles::canWrite(const std::string& path) {
  const std::wstring target = win32::Utf8ToWide(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  // A handle that writes, taken and let go: refused for an account without the right to
  // write the file, and for a file another program holds without sharing its writing.
  // A hold is waited out for a moment, as a rename is: a scanner that happens to be
  // looking at the file must not send the whole run elsewhere.
  for (int attempt = 0; attempt < kRenameTries; ++attempt) {
    if (attempt > 0) Sleep(kRenamePauseMs);
    DWORD error = 0;
    const HANDLE h = OpenRegular(target, GENERIC_WRITE, error);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      return true;
    }
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return false;
  }
  return false;
}

}  // namespace loafix
