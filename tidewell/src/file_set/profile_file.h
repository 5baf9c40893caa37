// Reading and replacing "profile.cfg" as a whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tidewell {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadProfileFile(const std::filesystem::path& path);

// Writes the bytes to a new file beside the target, flushes it to disk and renames it
// over the target, so a crash or a full disk never leaves a partial file. On failure
// the old file stays as it was.
bool ReplaceProfileFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace tidewell
