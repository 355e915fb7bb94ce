// Placing and demolishing, new game, restoring the view and the palette commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/sim/colony_fixture.h"
#include "world/highway.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

using CommandTest = ColonyTest;

TEST_F(CommandTest, RefusalsComeInOrderAndChangeNothing) {
  ExploreAll();
  const ColonyState before = S();
  const std::vector<MapCell> cells = land.cells;
  // Too few people and too little water: only the people notice.
  EXPECT_EQ(colony.PlaceStructure(kFishFarm, 20, 20), PlaceResult::kRefusedPeople);
  EXPECT_EQ(host.events,
            (std::vector<std::string>{"sound:Warning", "notice:Insufficient people!"}));
  // A refusal leaves map and state untouched.
  EXPECT_EQ(S(), before);
  EXPECT_EQ(land.cells, cells);
  // 30 unemployed and water 5: the Fish Farm is refused for water, Solar Power is built.
  AddPeople(S(), 25);
  S().water = 5;
  host.events.clear();
  EXPECT_EQ(colony.PlaceStructure(kFishFarm, 20, 20), PlaceResult::kRefusedWater);
  EXPECT_EQ(host.Notices(), std::vector<std::string>{"notice:" + std::string(kTextNoWater)});
  EXPECT_EQ(colony.PlaceStructure(kSolarPower, 20, 20), PlaceResult::kBuilt);
  // Power 4 is not enough for a Pub's 8.
  S().water = 100;
  S().power = 4;
  host.events.clear();
  EXPECT_EQ(colony.PlaceStructure(kPub, 21, 20), PlaceResult::kRefusedPower);
  EXPECT_EQ(host.Notices(), std::vector<std::string>{"notice:" + std::string(kTextNoPower)});
  EXPECT_EQ(Cell(21, 20).type, kLand);
}

TEST_F(CommandTest, TheBuildCursorNeedsExploredLandAndEnoughPeople) {
  colony.Command(kCommandFirstCategory + 4);  // Housing
  colony.Command(kCommandFirstItem + 2);      // Flats, 10 builders
  EXPECT_EQ(colony.SelectedType(), kFlats);
  AddPeople(S(), -5);  // 5 unemployed
  EXPECT_FALSE(colony.CanBuildOn(12, 64));
  AddPeople(S(), 5);
  EXPECT_TRUE(colony.CanBuildOn(12, 64));
  EXPECT_FALSE(colony.CanBuildOn(11, 64));  // the P.E.M.
  EXPECT_FALSE(colony.CanBuildOn(40, 40));  // unexplored
  EXPECT_FALSE(colony.CanBuildOn(-1, 40));
  colony.Command(kCommandFirstCategory + 0);  // Status
  EXPECT_EQ(colony.SelectedType(), kLand);
  EXPECT_FALSE(colony.CanBuildOn(12, 64));
}

TEST_F(CommandTest, PlaceRefusesTypesWithoutAShownButtonAndBadCells) {
  ExploreAll();
  Enrich();
  for (StructureType t : {0, 1, 2, 3, 4, 13, 14, 19, 34, 35, -1, 200}) {
    EXPECT_EQ(colony.PlaceStructure(t, 30, 30), PlaceResult::kRefusedType) << t;
  }
  EXPECT_EQ(colony.PlaceStructure(kCrops, -1, 0), PlaceResult::kRefusedCell);
  EXPECT_EQ(colony.PlaceStructure(kCrops, 129, 0), PlaceResult::kRefusedCell);
  EXPECT_EQ(colony.PlaceStructure(kCrops, 11, 64), PlaceResult::kRefusedCell);  // the P.E.M.
  Cell(31, 31).revealMask = 7;
  EXPECT_EQ(colony.PlaceStructure(kCrops, 31, 31), PlaceResult::kRefusedCell);
  // One Comm. Center at a time, whoever asks.
  Build(kCommCenter, 30, 30);
  EXPECT_EQ(colony.PaletteSlots()[kCommCenterSlot], 0);
  EXPECT_EQ(colony.PlaceStructure(kCommCenter, 32, 32), PlaceResult::kRefusedType);
  EXPECT_EQ(Cell(32, 32).type, kLand);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(CommandTest, PlacingMarksASiteWithItsSerialAndExplores) {
  EXPECT_EQ(Cell(16, 64).revealMask, 0);
  Build(kWaterCondenser, 14, 64);
  const MapCell& c = Cell(14, 64);
  EXPECT_EQ(c.type, kWaterCondenser);
  EXPECT_EQ(c.serial, 1);
  EXPECT_EQ(c.sheet, world::kSheetSite);
  EXPECT_EQ(c.constructionLeft, 5);
  EXPECT_EQ(S().unemployed, 8);
  EXPECT_EQ(S().buildSerial, 1);
  EXPECT_EQ(Cell(16, 64).revealMask, 15);
  EXPECT_EQ(host.events, std::vector<std::string>{"sound:build"});
}

TEST_F(CommandTest, HighwaysAreFinishedAtOnceAndJoinTheirNeighbours) {
  ExploreAll();
  Build(kHighway, 20, 20);
  EXPECT_EQ(Cell(20, 20).frame, 28);
  EXPECT_EQ(Cell(20, 20).sheet, world::kSheetGround);
  EXPECT_EQ(Cell(20, 20).constructionLeft, 0);
  EXPECT_EQ(S().communications, 25);
  Build(kHighway, 21, 20);
  Build(kHighway, 19, 20);
  EXPECT_EQ(Cell(20, 20).frame, 29);  // along x
  Build(kHighway, 20, 19);
  Build(kHighway, 20, 21);
  EXPECT_EQ(Cell(20, 20).frame, 38);  // the crossing
  EXPECT_EQ(Cell(20, 19).frame, 28);  // one neighbour on its y axis
  // A building site of another type is no highway.
  Build(kCrops, 22, 20);
  world::JoinHighway(colony.Map(), 21, 20);
  EXPECT_EQ(Cell(21, 20).frame, 29);
  // Demolishing the centre rejoins the neighbours.
  colony.DemolishStructure(20, 20);
  EXPECT_EQ(Cell(21, 20).frame, 28);
  EXPECT_EQ(Cell(20, 21).frame, 28);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(CommandTest, DemolishingSitesAndFinishedStructures) {
  ExploreAll();
  Enrich();
  const ColonyState before = S();
  Build(kSkyscraper, 30, 30);
  EXPECT_EQ(S().unemployed, before.unemployed - 40);
  host.events.clear();
  colony.SelectCell(30, 30);
  EXPECT_EQ(S().category, 1);
  colony.Command(kCommandDelete);
  // A site returns its builders and changes no balance.
  ColonyState expected = before;
  expected.buildSerial += 1;
  EXPECT_EQ(S(), expected);
  EXPECT_EQ(host.events, std::vector<std::string>{"sound:demolish"});
  EXPECT_FALSE(land.HasSelection());
  const MapCell& c = Cell(30, 30);
  EXPECT_EQ(c.type, kLand);
  EXPECT_EQ(c.sheet, world::kSheetGround);
  EXPECT_EQ(c.frame, 17);                       // 16 + draw mod 5
  EXPECT_EQ(c.serial, before.buildSerial + 1);  // kept
  EXPECT_EQ(S().category, 0);

  // A finished one takes its effects back and returns its 2 workers.
  Build(kSkyscraper, 30, 30);
  FinishAll();
  EXPECT_EQ(S().freeHousing, before.freeHousing + 40);
  colony.DemolishStructure(30, 30);
  expected = before;
  expected.buildSerial += 2;
  EXPECT_EQ(S(), expected);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(CommandTest, TheHandCursorSelectsOnlyStructuresNotYetSelected) {
  ExploreAll();
  Build(kHighway, 20, 20);
  colony.Command(kCommandFirstCategory + 3);  // Food
  host.events.clear();
  // Bare land, cells outside the grid and far-off ones select nothing and report nothing.
  host.changes = 0;
  for (auto [x, y] : {std::pair{12, 64}, {-1, 0}, {129, 5}, {INT32_MIN, INT32_MAX}}) {
    EXPECT_FALSE(colony.SelectCell(x, y)) << x << "," << y;
  }
  EXPECT_FALSE(land.HasSelection());
  EXPECT_EQ(host.changes, 0u);
  EXPECT_EQ(S().category, 3);
  // A structure is selected and the Information page shown, which redraws the info area.
  EXPECT_TRUE(colony.SelectCell(20, 20));
  EXPECT_EQ((std::pair{land.selectedX, land.selectedY}), (std::pair{20, 20}));
  EXPECT_EQ(host.changes, kChangedSelection | kChangedMap | kChangedInfoArea);
  EXPECT_EQ(S().category, 1);
  EXPECT_EQ(colony.SelectedType(), kLand);
  // Pressing it again changes nothing (the screen plays no click); another one moves it.
  colony.Command(kCommandFirstCategory + 3);
  host.changes = 0;
  EXPECT_FALSE(colony.SelectCell(20, 20));
  EXPECT_EQ(host.changes, 0u);
  EXPECT_EQ(S().category, 3);
  EXPECT_TRUE(colony.SelectCell(11, 64));
  EXPECT_EQ((std::pair{land.selectedX, land.selectedY}), (std::pair{11, 64}));
  // The right press clears it and shows the Status page, once.
  host.changes = 0;
  EXPECT_TRUE(colony.ClearSelection());
  EXPECT_EQ(host.changes, kChangedSelection | kChangedMap | kChangedInfoArea);
  EXPECT_EQ(S().category, 0);
  EXPECT_FALSE(colony.ClearSelection());
  EXPECT_TRUE(host.events.empty()) << "selecting makes no sound of the model's own";
}

TEST_F(CommandTest, TheLandingModuleCannotBeDemolished) {
  colony.SelectCell(11, 64);
  EXPECT_EQ(S().category, 1);
  const ColonyState before = S();
  host.events.clear();
  colony.Command(kCommandDelete);
  EXPECT_EQ(S(), before);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(Cell(11, 64).type, kLandingModule);
  // A right press clears the selection and shows the Status page; a second does nothing.
  colony.ClearSelection();
  EXPECT_FALSE(land.HasSelection());
  EXPECT_EQ(S().category, 0);
  host.changes = 0;
  colony.ClearSelection();
  EXPECT_EQ(host.changes, 0u);
}

TEST_F(CommandTest, CommCenterContactRules) {
  ExploreAll();
  Enrich();
  colony.Command(kCommandFirstCategory + 7);
  colony.Command(kCommandFirstItem + 3);
  EXPECT_EQ(colony.SelectedType(), kCommCenter);
  Build(kCommCenter, 30, 30);
  EXPECT_EQ(S().earthContact, kContactBuilding);
  EXPECT_EQ(S().categoryItem[5], 0);
  EXPECT_EQ(colony.SelectedType(), kHighway);  // clicking on builds highways, not a second one
  // Demolished under construction: the warning sound, no message.
  host.events.clear();
  colony.DemolishStructure(30, 30);
  EXPECT_EQ(host.events, (std::vector<std::string>{"sound:Warning", "sound:demolish"}));
  EXPECT_EQ(S().earthContact, kNoContact);
  EXPECT_EQ(colony.PaletteSlots()[kCommCenterSlot], 1);

  // Finished, then demolished: the notice, and the Earth Comm button is disabled.
  Build(kCommCenter, 30, 30);
  for (int i = 0; i < 79; ++i) colony.AdvanceConstruction();
  colony.RunDay();
  EXPECT_EQ(S().earthContact, kContactOn);
  EXPECT_TRUE(colony.EarthCommEnabled());
  host.events.clear();
  colony.DemolishStructure(30, 30);
  EXPECT_EQ(host.events,
            (std::vector<std::string>{"sound:Warning", "notice:" + std::string(kTextContactLost),
                                      "sound:demolish"}));
  EXPECT_EQ(S().earthContact, kNoContact);
  EXPECT_FALSE(colony.EarthCommEnabled());
  EXPECT_EQ(Invariants(), "");
}

TEST_F(CommandTest, NewGameClearsTheSelectionAndRestoresTheView) {
  ExploreAll();
  Enrich();
  Build(kCommCenter, 30, 30);
  FinishAll();
  colony.RunDay();
  colony.SelectCell(30, 30);
  ASSERT_TRUE(land.HasSelection());
  S().speed = kAccelerated;
  colony.NewGame();
  EXPECT_FALSE(land.HasSelection());
  EXPECT_FALSE(colony.EarthCommEnabled());
  EXPECT_EQ(colony.PaletteSlots()[kCommCenterSlot], 1);
  EXPECT_EQ(S().speed, kPaused);
  EXPECT_EQ(colony.SelectedType(), kLand);
  EXPECT_EQ(colony.DayDivider(), 0);
  EXPECT_EQ(colony.DiseaseDecay(), 0);
  EXPECT_EQ(Cell(11, 64).type, kLandingModule);
  EXPECT_EQ(Invariants(), "");
}

// A new game must show the new colony at once: every panel, and the view moved to the new
// land's centre, also while the game screen is not shown (the main menu's New Game).
TEST_F(CommandTest, NewGameReportsEveryPanelAndTheNewMap) {
  constexpr std::uint32_t kEveryPanel =
      kChangedCounters | kChangedDate | kChangedInfoArea | kChangedSelection | kChangedNewMap;
  for (const bool shown : {false, true}) {
    colony.SetScreenShown(shown);
    land.centerX = land.centerY = 0;
    defaultDraw = 3;
    host.changes = 0;
    colony.NewGame();
    EXPECT_EQ(host.changes & kEveryPanel, kEveryPanel) << "shown " << shown;
    // The land's centre is the new landing site, for the view to centre on.
    const MapCell* module = land.CellAt(land.centerX, land.centerY);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->type, kLandingModule);
  }
}

TEST_F(CommandTest, ALoadedGameReportsItsCountersDateAndMap) {
  ExploreAll();
  Build(kHighway, 20, 20);
  colony.SelectCell(20, 20);
  const ColonyState state = S();
  const std::vector<MapCell> cells = land.cells;
  std::int32_t moduleX = -1, moduleY = -1;
  for (std::int32_t y = 0; y < land.rows; ++y)
    for (std::int32_t x = 0; x < land.columns; ++x)
      if (land.CellAt(x, y)->type == kLandingModule) moduleX = x, moduleY = y;
  defaultDraw = 11;  // a new game lands somewhere else
  colony.NewGame();
  ASSERT_NE(std::pair(land.centerX, land.centerY), std::pair(moduleX, moduleY));
  host.changes = 0;
  colony.ReplaceGame(state, kLand, cells, ColonyHistory{});
  constexpr std::uint32_t kLoaded =
      kChangedCounters | kChangedDate | kChangedInfoArea | kChangedSelection | kChangedNewMap;
  EXPECT_EQ(host.changes & kLoaded, kLoaded);
  EXPECT_EQ(land.cells, cells);
  EXPECT_FALSE(land.HasSelection());
  // The view goes to the loaded colony's landing module.
  EXPECT_EQ(land.centerX, moduleX);
  EXPECT_EQ(land.centerY, moduleY);
}

TEST_F(CommandTest, SpeedAndItemCommands) {
  colony.Command(kCommandNormal);
  EXPECT_EQ(S().speed, kNormal);
  colony.Command(kCommandAccelerate);
  EXPECT_EQ(S().speed, kAccelerated);
  colony.Command(kCommandPause);
  colony.Command(kCommandPause);
  EXPECT_EQ(S().speed, kPaused);
  colony.Command(kCommandFirstCategory + 3);  // Food
  EXPECT_EQ(colony.SelectedType(), kCrops);
  colony.Command(kCommandFirstItem + 2);
  EXPECT_EQ(colony.SelectedType(), kFarm);
  EXPECT_EQ(S().categoryItem[1], 2);
  colony.Command(kCommandFirstCategory + 2);
  EXPECT_EQ(colony.SelectedType(), kWaterCondenser);
  colony.Command(kCommandFirstCategory + 3);  // the item of each category is remembered
  EXPECT_EQ(colony.SelectedType(), kFarm);
  EXPECT_FALSE(colony.Command(13));
}

}  // namespace
