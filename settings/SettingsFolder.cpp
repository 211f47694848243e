#include "settings/SettingsFolder.h"

#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace loafix {

namespace fs = std::filesystem;

std::filesystem::path PickSettingsFolder(const fs::path& preferred, const fs::path& fallback) {
  if (fallback.empty()) return preferred;
  // Every write creates a temporary file beside the settings file, so the test is whether
  // a new file can be made there, not whether the settings file itself is writable.
  try {
    const fs::path probe =
        preferred / (".loafix-probe-" + std::to_string(std::random_device{}()) + ".tmp");
    bool created = false;
    {
      std::ofstream out(probe, std::ios::binary);
      created = out.good();
    }
    std::error_code ignored;
    if (created && fs::remove(probe, ignored)) return preferred;
  } catch (...) {
  }
  return fallback;
}

}  // namespace loafix
