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

}  // namespace loafix
