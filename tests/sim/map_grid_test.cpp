// The in-memory map that colony-sim and the tests use: new map, exploring, highways, and that
// it makes the same land as the game's map.
#include "sim/map_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "gfx/mem_video.h"
#include "screens/game_layout.h"
#include "world/highway.h"
#include "world/map_generation.h"

namespace {

using namespace sim;

TEST(CellGrid, NewMapHasOneLandingModuleInsideTheViewBorder) {
  for (std::uint64_t seed = 1; seed <= 30; ++seed) {
    CellGrid map;
    world::Random random(seed);
    map.GenerateMap(random);
    int modules = 0;
    for (std::int32_t y = 0; y < kRows; ++y) {
      for (std::int32_t x = 0; x < kColumns; ++x) {
        const MapCell& c = map.At(x, y);
        if (c.type == world::kTypeLandingModule) {
          ++modules;
          const std::int32_t u = x - y + 64;
          const std::int32_t v = x + y - 64;
          EXPECT_GE(u, 10);
          EXPECT_LE(u, 117);
          EXPECT_GE(v, 10);
          EXPECT_LE(v, 117);
          EXPECT_EQ(c.revealMask, 15);
          EXPECT_EQ(map.CentreX(), x);
          EXPECT_EQ(map.CentreY(), y);
        } else {
          EXPECT_EQ(c.type, 0);
          EXPECT_GE(c.frame, 16);
          EXPECT_LE(c.frame, 27);
        }
        EXPECT_EQ(c.serial, 0);
      }
    }
    EXPECT_EQ(modules, 1) << seed;
  }
}

TEST(CellGrid, ExploringAtTheCornerAndTwice) {
  CellGrid map;
  map.RevealAround(0, 0);
  int inside = 0;
  int outside = 0;
  for (std::int32_t y = 0; y < kRows; ++y) {
    for (std::int32_t x = 0; x < kColumns; ++x) {
      if (map.At(x, y).revealMask == 0) continue;
      (x <= 4 && y <= 4 ? inside : outside) += 1;
    }
  }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(inside, 22);                  // the 5 × 5 corner of the disc has three zero entries
  EXPECT_EQ(map.At(4, 4).revealMask, 0);  // the table's corner is 0
  EXPECT_EQ(map.At(4, 0).revealMask, 9);
  EXPECT_EQ(map.At(0, 4).revealMask, 3);
  const std::vector<MapCell> once(map.Cells().begin(), map.Cells().end());
  map.RevealAround(0, 0);
  EXPECT_TRUE(std::equal(once.begin(), once.end(), map.Cells().begin(), map.Cells().end()));
  // Two discs four cells apart leave everything between them fully explored.
  map.RevealAround(60, 60);
  map.RevealAround(64, 60);
  for (std::int32_t x = 60; x <= 64; ++x) EXPECT_EQ(map.At(x, 60).revealMask, 15) << x;
}

TEST(CellGrid, MakesTheSameLandAsTheGameMap) {
  gfx::MemVideo backBuffer(1024, 768);
  world::WorldIso3D game(screens::kGameViewArea, world::kMapSize, {&backBuffer, {}});
  for (std::uint64_t seed : {1u, 7u, 12345u}) {
    CellGrid map;
    world::Random ours(seed);
    world::Random theirs(seed);
    map.GenerateMap(ours);
    const world::CellPos landing = world::GenerateMap(game, theirs);
    EXPECT_EQ(map.CentreX(), landing.x);
    EXPECT_EQ(map.CentreY(), landing.y);
    EXPECT_EQ(ours.Next(), theirs.Next()) << "both took the same number of draws";
    // A highway cross, joined on both sides, then exploring near the corner.
    for (auto [x, y] : {std::pair{30, 30}, {31, 30}, {29, 30}, {30, 29}, {30, 31}, {31, 31}}) {
      map.At(x, y).type = world::kTypeHighway;
      game.Cell(x, y).type = world::kTypeHighway;
    }
    for (std::int32_t y = 28; y <= 32; ++y) {
      for (std::int32_t x = 28; x <= 32; ++x) {
        map.JoinHighway(x, y);
        world::JoinHighway(game, x, y);
      }
    }
    map.RevealAround(2, 127);
    world::RevealAround(game, 2, 127);
    ASSERT_EQ(map.Cells().size(), game.cells.size());
    EXPECT_TRUE(
        std::equal(map.Cells().begin(), map.Cells().end(), game.cells.begin(), game.cells.end()))
        << seed;
  }
}

TEST(CellGrid, OddViewSumsLandInsideTheMargin) {
  // Ground takes two draws a cell; then u = 10 + 107 = 117 and v = 10, which differ in parity.
  std::deque<std::int32_t> draws(2 * kCellCount, 1);
  draws.push_back(107);
  draws.push_back(0);
  world::Random random;
  random.Replace([&draws] {
    const std::int32_t value = draws.empty() ? 0 : draws.front();
    if (!draws.empty()) draws.pop_front();
    return value;
  });
  CellGrid map;
  map.GenerateMap(random);
  EXPECT_TRUE(draws.empty());
  const std::int32_t x = map.CentreX();
  const std::int32_t y = map.CentreY();
  EXPECT_EQ(x - y + 64, 117);
  EXPECT_EQ(x + y - 64, 11);
  EXPECT_EQ(map.At(x, y).type, world::kTypeLandingModule);
}

TEST(CellGrid, HighwaysJoinOnlyInsideTheGrid) {
  CellGrid map;
  map.At(0, 0).type = world::kTypeHighway;
  map.At(0, 1).type = world::kTypeHighway;
  map.JoinHighway(0, 0);
  EXPECT_EQ(map.At(0, 0).frame, 28);  // along y; nothing joins across the edge
  const std::vector<MapCell> before(map.Cells().begin(), map.Cells().end());
  map.JoinHighway(-1, 0);
  map.JoinHighway(0, kRows);
  map.RevealAround(INT32_MIN, INT32_MAX);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), map.Cells().begin(), map.Cells().end()));
}

TEST(CellGrid, SelectionOutsideTheGridMeansNone) {
  CellGrid map;
  map.Select(5, 6);
  EXPECT_TRUE(map.HasSelection());
  map.Select(129, 6);
  EXPECT_FALSE(map.HasSelection());
}

}  // namespace
