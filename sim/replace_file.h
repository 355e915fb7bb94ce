// Replacing a file whole: the bytes go to a temporary file beside it, which reaches the disk
// before it is renamed over the file, and the folder reaches the disk after, so that a crash
// leaves the old file or the new one, never a mixture or nothing. Saved games are written so,
// and so is every file a player's tool replaces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

namespace sim {

// The folder must exist. An empty error code on success; otherwise the error that stopped it,
// with the old file unchanged and no temporary file left behind.
std::error_code ReplaceFileDurably(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes);

}  // namespace sim
