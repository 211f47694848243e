// Replacing the settings file as a whole: the new bytes go to a temporary file in the same
// folder, reach the disk, and take the file's place in one rename, so a crash, a power cut
// or a full disk leaves either the old file or the new one, never half of one.
#pragma once

#include <filesystem>
#include <string_view>

namespace loafix {

// Makes `file` hold exactly `bytes`. Returns false, with `file` byte for byte as it was
// and no temporary file left behind, when that cannot be done: a missing folder, a folder
// we may not create files in, a full disk, or a read-only `file` (read-only is honoured
// even where the system would let this user replace the file anyway).
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes) noexcept;

}  // namespace loafix
