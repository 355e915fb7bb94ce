// Replacing a file whole: the bytes go to a temporary file beside it, which reaches the disk
// before it is renamed over the file, and the folder reaches the disk after, so that a crash
// leaves the old file or the new one, never a mixture or nothing. Saved games are written so,
// and so is every file a player's tool replaces.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

namespace sim {

// The temporary file of a replacement is named after the file and the process writing it:
// NAME.tmp-PID.
inline constexpr std::string_view kTemporaryMarker = ".tmp-";

// The folder must exist. The temporary file is created afresh, never through a link left in
// its place, and takes the permissions of the file it replaces. An empty error code on success;
// otherwise the error that stopped it, with the old file unchanged and no temporary file left
// behind.
std::error_code ReplaceFileDurably(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes);

// The process that a temporary file's name NAME.EXTENSION.tmp-PID names, where NAME is not
// empty and does not start with a dot; none for any other name.
std::optional<pid_t> TemporaryFileOwner(std::string_view fileName, std::string_view extension);

}  // namespace sim
