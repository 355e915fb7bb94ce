#include "screens/autosave.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <iostream>
#include <system_error>

#include "dialogs/file_dialog.h"
#include "sim/save_file.h"

namespace screens {

namespace {

namespace fs = std::filesystem;

bool SameGame(const sim::SavedGame& a, const sim::Colony& colony) {
  return a.selectedType == colony.SelectedType() && a.state == colony.State() &&
         a.cells == colony.Map().cells && a.history == colony.History();
}

Autosave::Copy CopyOf(const sim::Colony& colony) {
  return std::make_shared<const sim::SavedGame>(
      sim::SavedGame{colony.State(), colony.SelectedType(), colony.Map().cells, colony.History()});
}

fs::path SlotPath(const fs::path& folder, int slot) {
  return folder / (dialogs::AutosaveName(slot) + "." + std::string(dialogs::kSavedGameExtension));
}

bool Earlier(const timespec& a, const timespec& b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec < b.tv_sec : a.tv_nsec < b.tv_nsec;
}

}  // namespace

fs::path AutosaveTarget(const fs::path& folder, const fs::path& avoid) {
  std::optional<fs::path> oldest;
  timespec oldestTime{};
  for (int slot = 1; slot <= dialogs::kAutosaveSlots; ++slot) {
    const fs::path path = SlotPath(folder, slot);
    if (!avoid.empty() && path.lexically_normal() == avoid.lexically_normal()) continue;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return path;
    if (!oldest || Earlier(info.st_mtim, oldestTime)) {
      oldest = path;
      oldestTime = info.st_mtim;
    }
  }
  return oldest.value_or(SlotPath(folder, 1));
}

platform::WriteOutcome WriteAutosave(const sim::SavedGame& game, const fs::path& folder,
                                     const fs::path& avoid) {
  const fs::path target = AutosaveTarget(folder, avoid);
  if (game.cells.size() != static_cast<std::size_t>(sim::kCellCount)) {
    return {{},
            "The game could not be saved to " + target.filename().string() +
                ": the map is not the size a saved game holds."};
  }
  const gfx::ByteBuffer bytes =
      sim::EncodeSavedGame(game.state, game.selectedType, game.cells, game.history);
  if (std::string problem = sim::WriteSavedGameFile(bytes, target); !problem.empty()) {
    return {{}, std::move(problem)};
  }
  // Two writes within one tick of the file system's clock would look equally old, and the
  // next rotation could pick the newest: the new file is made a nanosecond newer than the rest.
  struct stat written {};
  if (::stat(target.c_str(), &written) != 0) return {target.filename().string(), {}};
  timespec newest = written.st_mtim;
  bool tied = false;
  for (int slot = 1; slot <= dialogs::kAutosaveSlots; ++slot) {
    const fs::path other = SlotPath(folder, slot);
    struct stat info {};
    if (other == target || ::stat(other.c_str(), &info) != 0) continue;
    if (!Earlier(info.st_mtim, newest)) {
      newest = info.st_mtim;
      tied = true;
    }
  }
  if (tied) {
    timespec times[2] = {{0, UTIME_OMIT}, newest};
    if (++times[1].tv_nsec == 1'000'000'000) {
      times[1].tv_nsec = 0;
      ++times[1].tv_sec;
    }
    (void)::utimensat(AT_FDCWD, target.c_str(), times, 0);
  }
  return {target.filename().string(), {}};
}

void Autosave::SetIntervalMinutes(int minutes) {
  minutes_ = minutes < 0 ? 0 : minutes;
}

void Autosave::Tick(const sim::Colony& colony, bool running) {
  if (minutes_ == 0 || !running) return;
  if (++runningTicks_ < minutes_ * kTicksPerMinute) return;
  // A disk still busy with the last autosave: the next tick tries again.
  if (writer_.Busy()) return;
  runningTicks_ = 0;
  if (Copy copy = ChangedCopy(colony)) {
    Write(copy);
    onDisk_ = std::move(copy);
    loadedFrom_.clear();
  }
}

void Autosave::Settled(const sim::Colony& colony, const fs::path& loadedFrom) {
  onDisk_ = CopyOf(colony);
  loadedFrom_ = loadedFrom;
}

Autosave::Copy Autosave::ChangedCopy(const sim::Colony& colony) const {
  if (onDisk_ && SameGame(*onDisk_, colony)) return nullptr;
  return CopyOf(colony);
}

void Autosave::Write(Copy game) {
  writer_.Post([game = std::move(game), folder = savesFolder_(), avoid = loadedFrom_] {
    return WriteAutosave(*game, folder, avoid);
  });
}

void Autosave::SaveBeforeQuit(const sim::Colony& colony) {
  if (Copy copy = ChangedCopy(colony)) {
    Write(copy);
    onDisk_ = std::move(copy);
  }
  writer_.WaitUntilIdle();
  // Nobody is left to read a notice on the window; stderr still says it.
  (void)TakeNotice();
}

std::optional<std::string> Autosave::TakeNotice() {
  std::optional<std::string> notice;
  for (const platform::WriteOutcome& outcome : writer_.TakeFinished()) {
    if (outcome.ok()) {
      failureTold_ = false;
      continue;
    }
    // Not on disk after all: the colony is written again at the next chance.
    onDisk_ = nullptr;
    if (failureTold_) continue;
    failureTold_ = true;
    std::cerr << "Redhollow: autosave failed: " << outcome.problem << '\n';
    notice = "Autosave failed. " + outcome.problem;
  }
  return notice;
}

}  // namespace screens
