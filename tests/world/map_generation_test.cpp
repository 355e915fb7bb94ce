// A new map, exploring around a cell, highway joints, and the program's random generator.
#include "world/map_generation.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <vector>

#include "screens/game_layout.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using screens::kGameViewArea;

class NewLand : public ::testing::Test {
 protected:
  std::vector<std::uint8_t> Masks() const {
    std::vector<std::uint8_t> masks;
    for (const MapCell& cell : land.cells) masks.push_back(cell.revealMask);
    return masks;
  }
  Land land;
};

TEST(Random, SeededSequencesRepeatAndStayIn31Bits) {
  Random a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t value = a.Next();
    EXPECT_GE(value, 0);
    EXPECT_EQ(value, b.Next());
    differs |= value != c.Next();
  }
  EXPECT_TRUE(differs);
  EXPECT_EQ(a.Below(0), 0);
  EXPECT_EQ(a.Below(-3), 0);
  // A replacement source is used as given, but never outside the promised range.
  a.Replace([] { return -1; });
  EXPECT_EQ(a.Next(), 0x7FFFFFFF);
  {
    ScopedRandomSource scripted([] { return 5; });
    EXPECT_EQ(ProgramRandom().Below(3), 2);
  }
  ProgramRandom().Seed(9);
  Random fresh(9);
  EXPECT_EQ(ProgramRandom().Next(), fresh.Next());
}

TEST_F(NewLand, NewMapHasGroundEverywhereAndTheModuleInsideTheMargin) {
  // The view of a 1024 x 768 game screen, which keeps its centre inside the view square.
  WorldIso3D view(kGameViewArea, land, {1024, 768}, MapScreen{});
  std::map<int, int> counts;
  for (std::uint64_t seed = 1; seed <= 60; ++seed) {
    Random random(seed);
    land.centerX = land.centerY = 3;
    const CellPos landing = GenerateMap(land, random);
    EXPECT_EQ((CellPos{land.centerX, land.centerY}), landing) << "the land's centre is the site";
    const ViewPos site = land.CellToView(landing);
    EXPECT_GE(site.u, 10);
    EXPECT_LE(site.u, 117);
    EXPECT_GE(site.v, 10);
    EXPECT_LE(site.v, 117);
    const MapCell& module = land.Cell(landing.x, landing.y);
    EXPECT_EQ(module.type, kTypeLandingModule);
    EXPECT_EQ(module.sheet, kSheetStructure);
    EXPECT_EQ(module.frame, 2);
    EXPECT_EQ(module.revealMask, kRevealAll);
    // The view is centred on the module unless that would leave the map.
    view.Recentre();
    const ViewPos centre = land.CellToView({land.centerX, land.centerY});
    EXPECT_LE(std::abs(centre.u - site.u), 9);
    EXPECT_LE(std::abs(centre.v - site.v), 9);
    for (const MapCell& cell : land.cells) {
      if (&cell == &module) continue;
      ASSERT_EQ(cell.type, 0);
      ASSERT_EQ(cell.sheet, 0);
      ASSERT_GE(cell.frame, 16);
      ASSERT_LE(cell.frame, 27);
      ASSERT_EQ(cell.serial, 0);
      ASSERT_EQ(cell.animStart, 0);
      ++counts[cell.frame];
    }
  }
  // About eleven cells in twelve are common ground, spread over its eight tiles.
  int common = 0, rare = 0;
  for (auto [frame, count] : counts) (frame < 24 ? common : rare) += count;
  EXPECT_NEAR(static_cast<double>(rare) / (common + rare), 1.0 / 12.0, 0.01);
  for (int frame = 16; frame <= 27; ++frame) EXPECT_GT(counts[frame], 0) << frame;
}

TEST_F(NewLand, LandingSiteFollowsTheDraws) {
  // Ground: 129 * 129 cells of two draws each; then u and v.
  std::deque<std::int32_t> draws(2 * 129 * 129, 1);
  draws.push_back(54);  // u = 10 + 54 = 64
  draws.push_back(0);   // v = 10
  Random random;
  random.Replace([&draws] {
    const std::int32_t value = draws.empty() ? 0 : draws.front();
    if (!draws.empty()) draws.pop_front();
    return value;
  });
  const CellPos landing = GenerateMap(land, random);
  EXPECT_TRUE(draws.empty());
  EXPECT_EQ(land.CellToView(landing), (ViewPos{64, 10}));
  EXPECT_EQ(land.Cell(0, 0).frame, 17);
  // Odd u with even v: v moves one step towards the middle rather than out of the margin.
  draws.assign(2 * 129 * 129, 1);
  draws.push_back(107);  // u = 117
  draws.push_back(0);    // v = 10
  EXPECT_EQ(land.CellToView(GenerateMap(land, random)), (ViewPos{117, 11}));
}

TEST_F(NewLand, TinyGridLandsInTheMiddle) {
  Land small(12);
  Random random(3);
  const CellPos landing = GenerateMap(small, random);
  EXPECT_EQ(small.CellToView(landing), (ViewPos{6, 6}));
}

TEST_F(NewLand, ExploringTheCornerChangesOnlyTheCellsInsideTheGrid) {
  RevealAround(land, 0, 0);
  for (std::int32_t y = 0; y < land.rows; ++y) {
    for (std::int32_t x = 0; x < land.columns; ++x) {
      const std::uint8_t want = x <= 4 && y <= 4 ? kExploreTable[y + 4][x + 4] : 0;
      ASSERT_EQ(land.Cell(x, y).revealMask, want) << x << "," << y;
    }
  }
  // Far outside the grid nothing happens at all.
  RevealAround(land, -100, INT32_MAX);
  RevealAround(land, 200, 5);
  const std::vector<std::uint8_t> once = Masks();
  RevealAround(land, 0, 0);
  EXPECT_EQ(Masks(), once);
}

TEST_F(NewLand, ExploringTwoCellsFourApartLeavesNoFogBetweenThem) {
  land.Cell(60, 64).revealMask = kRevealTop;  // masks only gain bits
  RevealAround(land, 60, 64);
  RevealAround(land, 64, 64);
  for (std::int32_t y = 61; y <= 67; ++y) {
    for (std::int32_t x = 60; x <= 64; ++x) {
      EXPECT_EQ(land.Cell(x, y).revealMask, kRevealAll) << x << "," << y;
    }
  }
  // The rim faces the centre: the left column only has its right-hand quarters.
  EXPECT_EQ(land.Cell(56, 64).revealMask, kRevealRight | kRevealBottom);
  EXPECT_EQ(land.Cell(60, 60).revealMask, kRevealBottom | kRevealLeft);
}

class Highways : public NewLand {
 protected:
  void Highway(std::int32_t x, std::int32_t y) {
    MapCell& cell = land.Cell(x, y);
    cell.type = kTypeHighway;
    cell.sheet = kSheetGround;
  }
  std::int32_t JoinedFrame(std::int32_t x, std::int32_t y) {
    JoinHighway(land, x, y);
    return land.Cell(x, y).frame;
  }
};

TEST_F(Highways, PiecesFollowTheNeighbours) {
  Highway(64, 64);
  EXPECT_EQ(JoinedFrame(64, 64), 28);  // alone
  Highway(65, 64);
  Highway(63, 64);
  EXPECT_EQ(JoinedFrame(64, 64), 29);  // along x
  Highway(64, 63);
  Highway(64, 65);
  EXPECT_EQ(JoinedFrame(64, 64), 38);  // crossing

  Highway(20, 20);
  Highway(20, 19);
  Highway(21, 20);
  EXPECT_EQ(JoinedFrame(20, 20), 30);  // the bend of mask 3
  EXPECT_EQ(land.Cell(20, 20).sheet, kSheetGround);
}

TEST_F(Highways, EveryMaskGivesItsPiece) {
  const std::int32_t expected[16] = {28, 28, 29, 30, 28, 28, 31, 35,
                                     29, 33, 29, 34, 32, 37, 36, 38};
  for (std::uint8_t mask = 0; mask < 16; ++mask) {
    for (MapCell& cell : land.cells) cell = MapCell{};
    Highway(40, 40);
    if (mask & kJoinUpRight) Highway(40, 39);
    if (mask & kJoinDownRight) Highway(41, 40);
    if (mask & kJoinDownLeft) Highway(40, 41);
    if (mask & kJoinUpLeft) Highway(39, 40);
    EXPECT_EQ(HighwayNeighbours(land, 40, 40), mask);
    EXPECT_EQ(JoinedFrame(40, 40), expected[mask]) << "mask " << int{mask};
  }
}

TEST_F(Highways, GridEdgesAndOtherSitesDoNotJoin) {
  Highway(0, 0);
  Highway(1, 0);
  EXPECT_EQ(JoinedFrame(0, 0), 29);
  Highway(128, 128);
  Highway(128, 127);
  EXPECT_EQ(JoinedFrame(128, 128), 28);
  // A building site of another type next to a highway is not part of it.
  Highway(70, 70);
  MapCell& site = land.Cell(71, 70);
  site.sheet = kSheetSite;
  site.type = 17;
  site.frame = 28;
  EXPECT_EQ(JoinedFrame(70, 70), 28);
  // Outside the grid nothing is touched.
  const std::vector<MapCell> before = land.cells;
  JoinHighway(land, -1, 0);
  JoinHighway(land, 129, 5);
  RejoinHighwayNeighbours(land, -1, 0);
  RejoinHighwayNeighbours(land, INT32_MAX, INT32_MIN);
  EXPECT_EQ(HighwayNeighbours(land, INT32_MAX, INT32_MIN), 0);
  EXPECT_EQ(land.cells, before);
}

TEST_F(Highways, RejoiningTouchesOnlyTheHighwayNeighbours) {
  // A cross around (50, 50) whose pieces were joined while the centre was a highway.
  for (auto [x, y] : {std::pair{50, 50}, {51, 50}, {49, 50}, {50, 49}, {50, 51}}) Highway(x, y);
  for (auto [x, y] : {std::pair{51, 50}, {49, 50}, {50, 49}, {50, 51}}) JoinHighway(land, x, y);
  MapCell& corner = land.Cell(51, 51);  // no edge neighbour of the centre
  corner.frame = 17;
  land.Cell(50, 50).type = kTypeBareLand;
  RejoinHighwayNeighbours(land, 50, 50);
  for (auto [x, y] : {std::pair{51, 50}, {49, 50}, {50, 49}, {50, 51}}) {
    EXPECT_EQ(land.Cell(x, y).frame, 28) << x << "," << y;  // each one a lone piece again
  }
  EXPECT_EQ(corner.frame, 17);
  // Along the edge of the grid the missing neighbours are skipped.
  Highway(0, 1);
  RejoinHighwayNeighbours(land, 0, 0);
  EXPECT_EQ(land.Cell(0, 1).frame, 28);
}

}  // namespace
}  // namespace world
