#include <windows.h>

#include <cstdio>
#include <random>
#include <string>

#include "settings/FileReplace.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;

bool WriteAll(HANDLE h, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReplaceFileContents(const fs::path& file, std::string_view bytes) noexcept {
  try {
    const fs::path target = fs::absolute(file);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
      return false;
    }

    std::random_device random;
    fs::path temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
      char suffix[32];
      std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
      temp = target.parent_path() / (L"~" + target.filename().wstring());
      temp += suffix;
      h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
      if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    // A hidden or system settings file stays so after the replacement.
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kept))
      SetFileAttributesW(temp.c_str(), attributes & kept);
    ok = ok && MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temp.c_str());
    return ok;
  } catch (...) {
    return false;
  }
}

}  // namespace loafix
