// The colony model as the game screen runs it: the colony state on the land it is given, the
// day step, the alerts and disasters, and the player's commands. It knows nothing of
// drawing, sound or dialogs; everything it has to say goes to its ColonyHost.
//
// Index: the tick and the day (GameTick, RunDay, AdvanceConstruction, UpdateGrowth), the
// disasters (outbreaks, DeleteNewestStructures, game over), the commands (PlaceStructure,
// DemolishStructure, NewGame, RestoreView, Command).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "sim/colony_history.h"
#include "sim/colony_host.h"
#include "sim/colony_state.h"
#include "sim/structure_catalogue.h"
#include "world/land.h"
#include "world/random.h"

namespace sim {

using world::MapCell;

// What became of a placement.
enum class PlaceResult {
  kBuilt,
  kRefusedType,  // no palette button shows that type, so nothing may build it
  kRefusedCell,  // outside the grid, not bare land, or not fully explored
  kRefusedPeople,
  kRefusedWater,
  kRefusedPower,
};

// Command codes of the game screen that change the colony.
enum GameCommand : std::int32_t {
  kCommandPause = 100,
  kCommandNormal = 101,
  kCommandAccelerate = 102,
  kCommandFirstCategory = 103,  // .. 110
  kCommandFirstItem = 111,      // .. 115
  kCommandDelete = 116,
  kCommandEarthComm = 117,
};

inline constexpr std::string_view kTextNoPeople = "Insufficient people!";
inline constexpr std::string_view kTextNoWater =
    "Insufficient water. You must build another well or condenser!";
inline constexpr std::string_view kTextNoPower =
    "Insufficient energy. You must build another generator!";
inline constexpr std::string_view kTextWaterDisease =
    "Your thoughtless way of accumulating water had promoted a contagious disease!";
inline constexpr std::string_view kTextFoodPoisoning =
    "Your thoughtless way of accumulating food had promoted a food poisoning!";
inline constexpr std::string_view kTextVirus =
    "A Pellian virus has caused a dangerous contagious disease! Get ready your medical team";
inline constexpr std::string_view kTextPowerShortage =
    "Insufficient energy!, Some structures will be deleted!";
inline constexpr std::string_view kTextPeopleShortage =
    "Insufficient people!, Some structures will be deleted!";
inline constexpr std::string_view kTextContactOn = "The conection with Earth is on!";
inline constexpr std::string_view kTextContactLost = "Warning! Contact with Earth will be lost!";
inline constexpr std::string_view kTextGameOver =
    "Marvelous, this is a fine mess we're in! Would you like try again?";

// AdvanceConstruction's results.
inline constexpr std::int32_t kConstructionNothing = 0;
inline constexpr std::int32_t kConstructionFrameChanged = 1;
inline constexpr std::int32_t kConstructionFinished = 2;

class Colony {
 public:
  // The land, the generator and the host must outlive the colony.
  Colony(world::Land& land, world::Random& random, ColonyHost& host);

  // --- the tick and the day ---
  // One 40 ms timer tick of the game screen.
  void GameTick();
  void RunDay();
  // Walks every cell once: building sites count down, crops follow the food balance.
  std::int32_t AdvanceConstruction();
  void UpdateGrowth();
  // Every animated cell's phase advances by one and wraps at its animation length.
  void AnimationStep();

  // --- disasters ---
  // Pulls down the structures with the highest serial numbers while people or power are short.
  void DeleteNewestStructures();

  // --- commands ---
  PlaceResult PlaceStructure(StructureType type, std::int32_t x, std::int32_t y);
  void DemolishStructure(std::int32_t x, std::int32_t y);
  // A fresh map and colony; reports every panel and kChangedNewMap.
  void NewGame();
  // Brings the screen's model side in line with the state: after a new game, a load, or when
  // the game screen becomes active.
  void RestoreView();
  // Commands 100..117. Returns false for a code this model does not handle.
  bool Command(std::int32_t code);
  // The hand cursor's press: a structure inside the grid that is not already selected becomes
  // the selection and the Information page is shown. Returns whether it selected (the screen
  // then plays its click).
  bool SelectCell(std::int32_t x, std::int32_t y);
  // The right press: clears a selection and shows the Status page. Returns whether there was
  // one.
  bool ClearSelection();
  // Replaces the running game with a loaded one (already checked): the state, the selected
  // type, every cell of a land of the same size and the history; then the selection is
  // cleared, the view restored and every panel and kChangedNewMap reported.
  void ReplaceGame(const ColonyState& state, StructureType selectedType,
                   std::span<const MapCell> cells, const ColonyHistory& history);

  // Whether a click on the cell would build (the build cursor).
  bool CanBuildOn(std::int32_t x, std::int32_t y) const;
  // Whether the palette shows the button that builds the type.
  bool IsPaletteTypeShown(StructureType type) const;

  // --- state ---
  ColonyState& State() { return state_; }
  const ColonyState& State() const { return state_; }
  world::Land& Map() { return land_; }
  const world::Land& Map() const { return land_; }
  // Every day that ended since the colony was founded or loaded from a file that kept none.
  const ColonyHistory& History() const { return history_; }

  StructureType SelectedType() const { return selectedType_; }
  void SetSelectedType(StructureType type) { selectedType_ = type; }
  const std::array<std::int32_t, kPaletteSlotCount>& PaletteSlots() const { return paletteSlots_; }
  bool EarthCommEnabled() const { return earthCommEnabled_; }
  std::int32_t DayDivider() const { return dayDivider_; }
  std::int32_t DiseaseDecay() const { return diseaseDecay_; }
  // Whether the game screen is currently shown; RestoreView then follows every new game.
  void SetScreenShown(bool shown) { screenShown_ = shown; }
  // True once the player answered No to the game-over question.
  bool Ended() const { return ended_; }

 private:
  void RunDisease();
  void Outbreak(std::string_view text, std::int32_t base, std::int32_t spread);
  void GameOver();
  // The day is over: its figures join the history.
  void RecordDay();
  void SetCategory(std::int32_t category);
  void RefreshInfoArea();
  void DemolishCell(std::int32_t x, std::int32_t y, bool rebuildView);
  // Runs `change` and names to the host every cell within `radius` of (x, y) whose looks it
  // changed.
  template <typename Change>
  void ReportLooksAround(std::int32_t x, std::int32_t y, std::int32_t radius, Change change);
  // PlaceStructure's change of the land, once the structure may be built.
  void Build(MapCell& cell, StructureType type, std::int32_t x, std::int32_t y);
  // The selection moves to (x, y) (none for x = -1); the old and the new cell are named.
  void MoveSelection(std::int32_t x, std::int32_t y);

  world::Land& land_;
  world::Random& random_;
  ColonyHost& host_;
  ColonyState state_;
  ColonyHistory history_;
  StructureType selectedType_ = kLand;
  std::array<std::int32_t, kPaletteSlotCount> paletteSlots_ = InitialPaletteSlots;
  bool earthCommEnabled_ = false;
  std::int32_t animationDivider_ = 0;
  std::int32_t dayDivider_ = 0;
  std::int32_t diseaseDecay_ = 0;
  bool viewRestored_ = false;
  bool screenShown_ = false;
  bool ended_ = false;
};

}  // namespace sim
