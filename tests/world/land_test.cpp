// The land on its own: its size, reaching its cells, the selection, and a land whose fields
// were set by hand to something that does not fit together.
#include "world/land.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "world/highway.h"
#include "world/map_generation.h"

namespace world {
namespace {

TEST(Land, StartsClearedWithNothingSelected) {
  const Land land;
  EXPECT_EQ(land.size, kMapSize);
  EXPECT_EQ(land.columns, kMapColumns);
  EXPECT_EQ(land.rows, kMapRows);
  ASSERT_EQ(land.cells.size(), static_cast<std::size_t>(kMapColumns * kMapRows));
  for (const MapCell& cell : land.cells) ASSERT_EQ(cell, MapCell{});
  EXPECT_FALSE(land.HasSelection());
  EXPECT_EQ((CellPos{land.centerX, land.centerY}), (CellPos{0, 0}));
  // A size below the smallest grid is held to it.
  const Land tiny(-5);
  EXPECT_EQ(tiny.size, 2);
  EXPECT_EQ(tiny.columns, 3);
  EXPECT_EQ(tiny.cells.size(), 9u);
}

TEST(Land, CellsAreReachedRowAfterRowAndNotPastTheEdges) {
  Land land(4);
  EXPECT_EQ(land.CellAt(0, 0), &land.cells[0]);
  EXPECT_EQ(land.CellAt(2, 3), &land.cells[2 + 3 * 5]);
  EXPECT_EQ(land.CellAt(4, 4), &land.cells.back());
  EXPECT_EQ(&land.Cell(3, 1), &land.cells[3 + 1 * 5]);
  for (auto [x, y] : {std::pair{5, 0}, {0, 5}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MAX}}) {
    EXPECT_FALSE(land.InGrid(x, y));
    EXPECT_EQ(land.CellAt(x, y), nullptr) << x << "," << y;
    EXPECT_THROW(land.Cell(x, y), std::out_of_range) << x << "," << y;
    EXPECT_THROW(std::as_const(land).Cell(x, y), std::out_of_range) << x << "," << y;
  }
}

TEST(Land, SelectingOutsideTheGridClearsTheSelection) {
  Land land;
  land.Select(5, 6);
  EXPECT_TRUE(land.HasSelection());
  EXPECT_EQ((CellPos{land.selectedX, land.selectedY}), (CellPos{5, 6}));
  land.Select(129, 6);
  EXPECT_FALSE(land.HasSelection());
  land.Select(0, 0);
  land.Select(-1, 3);
  EXPECT_FALSE(land.HasSelection());
  land.Select(128, 128);
  land.ClearSelection();
  EXPECT_FALSE(land.HasSelection());
}

TEST(Land, ViewCoordinatesFollowTheSizeParameter) {
  const Land small(12);
  EXPECT_EQ(small.CellToView({6, 6}), (ViewPos{6, 6}));
  EXPECT_EQ(small.CellToView({0, 6}), (ViewPos{0, 0}));
  for (std::int32_t y = 0; y < small.rows; ++y) {
    for (std::int32_t x = 0; x < small.columns; ++x) {
      ASSERT_EQ(small.ViewToCell(small.CellToView({x, y})), (CellPos{x, y}));
    }
  }
}

// Whoever cuts the cells short breaks the land; a debug build stops at the first cell reached,
// a release build treats the missing cells as outside the grid and goes on.
TEST(Land, CellsCutShortStopADebugBuildAndAreNeverTouchedInARelease) {
  Land land(3);
  land.cells.resize(10);
  EXPECT_DEBUG_DEATH(land.CellAt(1, 2), "columns x rows");
#ifdef NDEBUG
  EXPECT_NE(land.CellAt(1, 2), nullptr);
  EXPECT_EQ(land.CellAt(2, 2), nullptr);
  EXPECT_THROW(land.Cell(2, 2), std::out_of_range);
  RevealAround(land, 3, 3);
  land.cells[9].type = kTypeHighway;
  JoinHighway(land, 1, 2);
  EXPECT_EQ(land.cells[9].frame, kHighwayFirstFrame);
  JoinHighway(land, 2, 2);
  RejoinHighwayNeighbours(land, 2, 2);
  Random random(5);
  const CellPos landing = GenerateMap(land, random);
  EXPECT_EQ(landing, (CellPos{1, 1}));  // a grid this small lands in the middle
  EXPECT_EQ(land.cells[5].type, kTypeLandingModule);
  EXPECT_EQ(land.cells.size(), 10u);
#endif
}

}  // namespace
}  // namespace world
