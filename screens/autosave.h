// Autosave: the running colony written now and then into three rotating files of the SAVES
// folder (autosave-1.sav .. autosave-3.sav), and before a changed colony is replaced by another
// or the game quits with it.
//
// Only running play time counts: the game screen ticks only while it is shown with no dialog
// open, and a paused colony does not count. When the interval is up, the tick copies the
// colony with its history (a few hundred kilobytes) and the writer's thread encodes and writes
// the copy, so the tick never waits for the disk.
//
// A colony is "changed" when it differs from the one last loaded, saved by the player, written
// by an autosave or just founded: the copy is compared with that one, so nothing the colony
// does has to be told to this class.
//
// The slot written is the oldest on disk (a missing one first), so a restarted game goes on
// where the last run stopped rather than over its newest autosave. The file the running colony
// was loaded from is never the slot chosen until the colony was autosaved itself: otherwise
// the old colony, autosaved when it is replaced, could take the place of the file just loaded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/background_writer.h"
#include "sim/colony.h"
#include "sim/save_game.h"

namespace screens {

inline constexpr int kDefaultAutosaveMinutes = 5;
// The game screen's tick is 40 ms.
inline constexpr std::int64_t kTicksPerMinute = 60'000 / 40;

// The slot an autosave goes to in the folder: a missing slot first (the lowest), else the one
// modified longest ago; never `avoid` (when it is one of them).
std::filesystem::path AutosaveTarget(const std::filesystem::path& folder,
                                     const std::filesystem::path& avoid = {});

// Encodes and writes an autosave into the folder's oldest slot, then makes sure the new file is
// the newest of the slots even where the clock is coarser than two quick writes.
platform::WriteOutcome WriteAutosave(const sim::SavedGame& game,
                                     const std::filesystem::path& folder,
                                     const std::filesystem::path& avoid);

class Autosave {
 public:
  using Copy = std::shared_ptr<const sim::SavedGame>;

  // `savesFolder` names the folder at each write.
  explicit Autosave(std::function<std::filesystem::path()> savesFolder)
      : savesFolder_(std::move(savesFolder)) {}

  // 0 turns autosave off; a negative value counts as 0.
  void SetIntervalMinutes(int minutes);
  int intervalMinutes() const { return minutes_; }

  // One tick of the game screen; time counts only while the colony `running`.
  void Tick(const sim::Colony& colony, bool running);
  // The colony as it stands is the one on disk: just founded, saved by the player, or loaded
  // (from `loadedFrom`).
  void Settled(const sim::Colony& colony, const std::filesystem::path& loadedFrom = {});
  // A copy of the colony when it changed since it last settled or was autosaved; else null.
  Copy ChangedCopy(const sim::Colony& colony) const;
  // Hands a copy to the writer's thread.
  void Write(Copy game);
  // The colony is about to go with the program: written when changed, and waited for.
  void SaveBeforeQuit(const sim::Colony& colony);

  // What the player is to be told of finished autosaves: a failure, once, until an autosave
  // succeeds again. Also written on stderr.
  std::optional<std::string> TakeNotice();

  platform::BackgroundWriter& writer() { return writer_; }
  // Ticks of play counted towards the next autosave.
  std::int64_t runningTicks() const { return runningTicks_; }

 private:
  std::function<std::filesystem::path()> savesFolder_;
  int minutes_ = kDefaultAutosaveMinutes;
  std::int64_t runningTicks_ = 0;
  // The colony as last settled or autosaved; null when that is not known to be on disk.
  Copy onDisk_;
  std::filesystem::path loadedFrom_;
  bool failureTold_ = false;
  // Last: it ends first, after the last write.
  platform::BackgroundWriter writer_;
};

}  // namespace screens
