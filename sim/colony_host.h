// Everything the colony model says to whoever runs it: the game screen (sounds, message
// dialogs, redraws), colony-sim and the tests. The model never draws or plays anything.
#pragma once

#include <cstdint>
#include <string_view>

namespace sim {

// Sound names of the sound archive.
inline constexpr std::string_view kSoundWarning = "Warning";
inline constexpr std::string_view kSoundAlarm = "Alarm";
inline constexpr std::string_view kSoundGameOver = "GameOver";
inline constexpr std::string_view kSoundBuild = "build";
inline constexpr std::string_view kSoundDemolish = "demolish";

// Title of every notice and of the game-over question.
inline constexpr std::string_view kNoticeTitle = "Pell Informs:";

// What changed and must be redrawn; combined as bits.
enum ColonyChange : std::uint32_t {
  kChangedCounters = 1u << 0,         // the counter box
  kChangedInfoArea = 1u << 1,         // the palette page, Status or Information (sets selectedType)
  kChangedDate = 1u << 2,             // the date box
  kChangedMap = 1u << 3,              // refresh the map view
  kChangedMapRebuild = 1u << 4,       // rebuild the map surface, then refresh
  kChangedEarthCommButton = 1u << 5,  // "Earth Comm" enabled state
  kChangedPalette = 1u << 6,          // which item buttons are shown (the Comm. Center slot)
  kChangedSelection = 1u << 7,        // the selected cell
  kChangedToolbar = 1u << 8,          // time and category buttons pressed from the state
  kChangedNewMap = 1u << 9,  // a fresh map: centre the view on the land's centre, rebuild it
                             // and the minimap
};

class ColonyHost {
 public:
  virtual ~ColonyHost() = default;

  // A sound on its own (the sound switch is the host's business).
  virtual void PlaySound(std::string_view sound) = 0;
  // A modal notice titled kNoticeTitle with one Ok button; its sound is played first.
  virtual void Notice(std::string_view sound, std::string_view text) = 0;
  // A modal Yes/No question titled kNoticeTitle, its sound played first; true means Yes.
  virtual bool Question(std::string_view sound, std::string_view text) = 0;
  // Things to redraw, as ColonyChange bits.
  virtual void Changed(std::uint32_t changes) = 0;
  // A cell whose picture, minimap colour or selection marker changed: with kChangedMap,
  // kChangedMapRebuild or kChangedSelection, every such cell is named here (some perhaps
  // twice), so a screen may redraw just those. A fresh map (kChangedNewMap) names none, and
  // neither do animation steps, which the view follows by itself.
  virtual void CellChanged(std::int32_t /*x*/, std::int32_t /*y*/) {}
  // One game tick's last step: scroll the view while the pointer rests on an edge, else redraw
  // the view's animated cells. Only the screen knows where the pointer is.
  virtual void ScrollOrRedrawAnimations() {}
  // Command 117: show Earth's report modally (the dialog computes its figures).
  virtual void ShowEarthReport() {}
  // The player chose to stop after game over: the program ends at once.
  virtual void EndProgram() = 0;
};

// A host with no screen and nobody to ask: it shows nothing and answers every question Yes
// (for benchmarks and fuzzing, which only run the model).
class SilentHost final : public ColonyHost {
 public:
  void PlaySound(std::string_view) override {}
  void Notice(std::string_view, std::string_view) override {}
  bool Question(std::string_view, std::string_view) override { return true; }
  void Changed(std::uint32_t) override {}
  void EndProgram() override {}
};

}  // namespace sim
