// The in-memory map that colony-sim and the tests use: new map, exploring.
#include "sim/map_grid.h"

#include <gtest/gtest.h>

#include <cstring>

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
          EXPECT_GE(u, 9);  // the cell of (u, v) may be one below when u and v differ in parity
          EXPECT_LE(u, 118);
          EXPECT_GE(v, 9);
          EXPECT_LE(v, 118);
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
  EXPECT_EQ(std::memcmp(once.data(), map.Cells().data(), once.size() * sizeof(MapCell)), 0);
  // Two discs four cells apart leave everything between them fully explored.
  map.RevealAround(60, 60);
  map.RevealAround(64, 60);
  for (std::int32_t x = 60; x <= 64; ++x) EXPECT_EQ(map.At(x, 60).revealMask, 15) << x;
}

TEST(CellGrid, SelectionOutsideTheGridMeansNone) {
  CellGrid map;
  map.Select(5, 6);
  EXPECT_TRUE(map.HasSelection());
  map.Select(129, 6);
  EXPECT_FALSE(map.HasSelection());
}

}  // namespace
