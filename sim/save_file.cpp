#include "sim/save_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "sim/colony.h"
#include "sim/file_descriptor.h"
#include "sim/replace_file.h"
#include "sim/save_game.h"

namespace sim {

namespace {

namespace fs = std::filesystem;

// What a failed save left is part of its sentence: the player must know whether the game
// they saved there before is still there.
std::string SaveFailure(const fs::path& path, const std::string& why, bool oldFileKept) {
  return "The game could not be saved to " + path.filename().string() + ": " + why +
         (oldFileKept ? "; the old file is unchanged." : "; no file was written.");
}

bool ProcessRuns(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Why nothing may be saved under the path: something else than a saved game stands there.
std::optional<std::string> NotASaveThere(const fs::path& path, bool& replacing) {
  struct stat old {};
  replacing = ::stat(path.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) {
    return "The game could not be saved to " + path.filename().string() +
           ": something that is not a saved game has that name, and it was left as it was.";
  }
  return std::nullopt;
}

}  // namespace

std::string SaveGameToFile(const Colony& colony, const fs::path& path) {
  // Padded or cut to the saved size, another land's cells would come back in other places.
  if (colony.Map().cells.size() != static_cast<std::size_t>(kCellCount)) {
    bool replacing = false;
    if (auto refused = NotASaveThere(path, replacing)) return *refused;
    return SaveFailure(path, "the map is not the size a saved game holds", replacing);
  }
  return WriteSavedGameFile(
      EncodeSavedGame(colony.State(), colony.SelectedType(), colony.Map().cells, colony.History()),
      path);
}

std::string WriteSavedGameFile(std::span<const std::uint8_t> bytes, const fs::path& path) {
  bool replacing = false;
  if (auto refused = NotASaveThere(path, replacing)) return *refused;
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code fsError;
  fs::create_directories(folder, fsError);
  if (fsError) {
    return SaveFailure(path, "its folder could not be created (" + fsError.message() + ")",
                       replacing);
  }

  if (const std::error_code error = ReplaceFileDurably(path, bytes)) {
    return SaveFailure(path, error.message(), replacing);
  }
  return {};
}

std::string LoadGameFromFile(Colony& colony, const fs::path& path) {
  const std::string name = path.filename().string();
  const std::string notASave =
      "The file " + name + " is not a Redhollow saved game or is damaged; nothing was loaded.";
  if (colony.Map().cells.size() != static_cast<std::size_t>(kCellCount)) {
    return "The file " + name + " cannot be loaded into a map of another size; nothing was loaded.";
  }
  // Without blocking: a pipe or a terminal would otherwise wait in open for a writer forever.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid()) return "The file " + name + " could not be opened; nothing was loaded.";
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    return "The file " + name + " could not be read; nothing was loaded.";
  }
  if (!S_ISREG(info.st_mode)) return notASave;

  // Read at most one byte more than the file's size and than the largest saved game: anything
  // longer is not one, and a file that grows while it is read does not check out.
  const std::size_t largest = LargestSavedGameFileSize();
  const auto statedSize = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  gfx::ByteBuffer bytes(std::min(statedSize, largest) + 1);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t n = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return "The file " + name + " could not be read; nothing was loaded.";
    }
    filled += static_cast<std::size_t>(n);
  }
  bytes.resize(filled);

  SavedGame game;
  switch (DecodeSavedGame(bytes, game)) {
    case DecodeError::kNone:
      break;
    case DecodeError::kNewer:
      return "The file " + name + " was saved by a newer version of Redhollow; nothing was loaded.";
    case DecodeError::kForeign:
    case DecodeError::kDamaged:
      return notASave;
  }
  colony.ReplaceGame(game.state, game.selectedType, game.cells, game.history);
  return {};
}

int RemoveStaleSaveTemporaries(const fs::path& folder, std::string_view extension) {
  int removed = 0;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return 0;
  for (const auto end = fs::directory_iterator(); it != end; it.increment(error)) {
    if (error) break;
    const std::optional<pid_t> owner =
        TemporaryFileOwner(it->path().filename().native(), extension);
    // A save under way in a running game, ours included, keeps its file.
    if (!owner || ProcessRuns(*owner)) continue;
    const fs::file_status status = it->symlink_status(error);
    if (error || fs::is_directory(status)) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace sim
