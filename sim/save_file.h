// Saved games on disk: writing one so that a crash or a kill at any moment leaves the old file
// or the new one, reading one without ever blocking on what only looks like a file, and
// clearing away what interrupted saves left behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace sim {

class Colony;

// Saves the colony to the file, creating its folder when missing. The new game goes to a
// temporary file beside it (NAME.tmp-PID, created afresh, never through a link), reaches the
// disk, and then replaces the file in one rename, keeping the old file's permissions. A colony
// on a land of another size than the game's map is not saved. Returns an empty string on
// success, else one sentence for the player that says what was left.
std::string SaveGameToFile(const Colony& colony, const std::filesystem::path& path);

// The second half of SaveGameToFile, for a saved game already encoded (by another thread, say):
// the folder made when missing, then the durable replacement. The same sentences on failure.
std::string WriteSavedGameFile(std::span<const std::uint8_t> bytes,
                               const std::filesystem::path& path);

// Loads the file into the colony only when it is a regular file, every check passes and the
// colony's land is the size of the game's map (then the selection is cleared and the view
// restored). Returns an empty string on success, else one sentence for the player; the running
// game is then unchanged.
std::string LoadGameFromFile(Colony& colony, const std::filesystem::path& path);

// Removes the temporary files that saves killed before their rename left in the folder: files
// named NAME.EXTENSION.tmp-PID of a process that no longer runs. Anything else stays. Returns
// how many it removed.
int RemoveStaleSaveTemporaries(const std::filesystem::path& folder, std::string_view extension);

}  // namespace sim
