#include "settings/SettingsFolder.h"

namespace loafix {
namespace {

// Whether the store can keep the settings in `file` of `folder`: read it and write it,
// or create it.
bool Holds(SettingsFiles& files, const std::string& folder, const std::string& file) {
  switch (files.kind(file)) {
    case PathKind::kRegularFile:
      return files.canRead(file) && files.canWrite(file);
    case PathKind::kMissing:
      return files.canCreateIn(folder);
    case PathKind::kOther:
      // A folder, a FIFO or a device where the file should be: every write to it would
      // be lost.
      return false;
  }
  return false;
}

}  // namespace

SettingsPlace PickSettingsPlace(const std::string& preferred, const std::string& fallback,
                                std::string_view fileName, SettingsFiles& files) {
  const std::string preferredFile = JoinPath(preferred, fileName);
  if (fallback.empty() || Holds(files, preferred, preferredFile)) return {preferred, {}};
  // A file this account may read but not write (left from Windows XP, made by a run as
  // administrator, or marked read-only) keeps what the person saved: the fallback starts
  // from it, so the reason and the screen name come along.
  const std::string fallbackFile = JoinPath(fallback, fileName);
  const bool seeded =
      files.kind(fallbackFile) == PathKind::kMissing && files.canRead(preferredFile);
  // Where the fallback cannot keep the settings either, the preferred file at least still
  // shows what was saved, and each write that fails says so.
  if (!Holds(files, fallback, fallbackFile)) return {preferred, {}};
  return {fallback, seeded ? preferred : std::string()};
}

}  // namespace loafix
