#include "sim/save_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <system_error>

#include "sim/colony.h"
#include "sim/save_game.h"

namespace sim {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryMarker = ".tmp-";

// Closes the descriptor it holds when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now, for the caller that must know whether the close succeeded.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

std::string ErrnoText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

// What a failed save left is part of its sentence: the player must know whether the game
// they saved there before is still there.
std::string SaveFailure(const fs::path& path, const std::string& why, bool oldFileKept) {
  return "The game could not be saved to " + path.filename().string() + ": " + why +
         (oldFileKept ? "; the old file is unchanged." : "; no file was written.");
}

// Writes all bytes, going on after short writes and interruptions.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, int& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A new temporary file, never an existing one and never through a link that someone left
// in its place. One left by an earlier process that had our number is stale: it goes.
int CreateTemporary(const fs::path& temp) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(temp.c_str(), kFlags, 0644);
  if (fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0)
    fd = ::open(temp.c_str(), kFlags, 0644);
  return fd;
}

void SyncFolder(const fs::path& folder) {
  const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
}

// The process number of a temporary file's name NAME.EXTENSION.tmp-PID, if it is one.
std::optional<pid_t> TemporaryOwner(std::string_view name, std::string_view extension) {
  const std::size_t marker = name.rfind(kTemporaryMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  const std::string_view saved = name.substr(0, marker);
  const std::string_view digits = name.substr(marker + kTemporaryMarker.size());
  // NAME.EXTENSION with a name that does not start with a dot, as the saves the list shows.
  if (saved.size() < extension.size() + 2 || !saved.ends_with(extension) ||
      saved[saved.size() - extension.size() - 1] != '.' || saved.front() == '.') {
    return std::nullopt;
  }
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() || pid <= 0) {
    return std::nullopt;
  }
  return pid;
}

bool ProcessRuns(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

}  // namespace

std::string SaveGameToFile(const Colony& colony, const fs::path& path) {
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) {
    return "The game could not be saved to " + path.filename().string() +
           ": something that is not a saved game has that name, and it was left as it was.";
  }
  // Padded or cut to the saved size, another land's cells would come back in other places.
  if (colony.Map().cells.size() != static_cast<std::size_t>(kCellCount)) {
    return SaveFailure(path, "the map is not the size a saved game holds", replacing);
  }
  const gfx::ByteBuffer bytes =
      EncodeSavedGame(colony.State(), colony.SelectedType(), colony.Map().cells);
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code fsError;
  fs::create_directories(folder, fsError);
  if (fsError) {
    return SaveFailure(path, "its folder could not be created (" + fsError.message() + ")",
                       replacing);
  }

  const fs::path temp = path.string() + std::string(kTemporaryMarker) + std::to_string(::getpid());
  FileDescriptor file(CreateTemporary(temp));
  if (!file.valid()) return SaveFailure(path, ErrnoText(errno), replacing);
  int error = 0;
  // A replaced game keeps who may read it; a failure to say so costs nothing of the game.
  if (replacing) (void)::fchmod(file.get(), old.st_mode & 07777);
  bool ok = WriteAll(file.get(), bytes, error);
  if (ok && ::fsync(file.get()) != 0) {
    error = errno;
    ok = false;
  }
  if (file.Close() != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return SaveFailure(path, ErrnoText(error), replacing);
  }
  // The rename itself reaches the disk with the folder.
  SyncFolder(folder);
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

  // Read at most one byte more than a saved game holds: anything longer is not one.
  gfx::ByteBuffer bytes(SavedGameFileSize() + 1);
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
  colony.ReplaceGame(game.state, game.selectedType, game.cells);
  return {};
}

int RemoveStaleSaveTemporaries(const fs::path& folder, std::string_view extension) {
  int removed = 0;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return 0;
  for (const auto end = fs::directory_iterator(); it != end; it.increment(error)) {
    if (error) break;
    const std::optional<pid_t> owner = TemporaryOwner(it->path().filename().native(), extension);
    // A save under way in a running game, ours included, keeps its file.
    if (!owner || ProcessRuns(*owner)) continue;
    const fs::file_status status = it->symlink_status(error);
    if (error || fs::is_directory(status)) continue;
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace sim
