#include "settings/SettingsFolder.h"

namespace loafix {

std::string PickSettingsFolder(const std::string& preferred, const std::string& fallback,
                               std::string_view fileName, SettingsFiles& files) {
  if (fallback.empty()) return preferred;
  // A folder, a FIFO or a device where the file should be can never hold the settings:
  // every write to it would be lost, so it counts as a file that cannot be created.
  const PathKind file = files.kind(JoinPath(preferred, fileName));
  if (file == PathKind::kOther) return fallback;
  return files.canCreateIn(preferred) ? preferred : fallback;
}

}  // namespace loafix
