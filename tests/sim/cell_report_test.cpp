// The colony names every cell whose looks it changes, so that the screen can redraw just
// those: placing (with the explored disc and highway joints), demolishing, selecting,
// building sites and crops changing their pictures, finished structures and shortages
// pulling structures down. It names no cell that looks as it did.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

using CellSet = std::set<std::pair<std::int32_t, std::int32_t>>;

// Everything of a cell is seen but its serial and its days left, so a field added to cells
// later counts as seen until someone decides otherwise.
bool SameLooks(MapCell a, MapCell b) {
  a.serial = b.serial = 0;
  a.constructionLeft = b.constructionLeft = 0;
  return a == b;
}

class CellReportTest : public ColonyTest {
 protected:
  void Remember() {
    before = land;
    host.cells.clear();
    host.changes = 0;
  }
  // Cells whose picture or selection marker differ from the remembered land.
  CellSet Changed() const {
    CellSet changed;
    for (std::int32_t y = 0; y < land.rows; ++y) {
      for (std::int32_t x = 0; x < land.columns; ++x) {
        const bool selectedBefore = before.selectedX == x && before.selectedY == y;
        const bool selectedNow = land.selectedX == x && land.selectedY == y;
        if (!SameLooks(before.Cell(x, y), land.Cell(x, y)) || selectedBefore != selectedNow) {
          changed.insert({x, y});
        }
      }
    }
    return changed;
  }
  CellSet Named() const {
    CellSet named;
    for (const world::CellPos& c : host.cells) named.insert({c.x, c.y});
    return named;
  }
  ::testing::AssertionResult NamedExactlyTheChangedCells() const {
    if (host.changes & kChangedNewMap) return ::testing::AssertionSuccess();
    const CellSet changed = Changed();
    const CellSet named = Named();
    if (!changed.empty() &&
        (host.changes & (kChangedMap | kChangedMapRebuild | kChangedSelection)) == 0) {
      return ::testing::AssertionFailure() << "cells changed without a map change";
    }
    for (const auto& [x, y] : changed) {
      if (!named.count({x, y})) {
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") changed unnamed";
      }
    }
    for (const auto& [x, y] : named) {
      if (!changed.count({x, y})) {
        return ::testing::AssertionFailure() << "(" << x << ", " << y << ") named unchanged";
      }
    }
    return ::testing::AssertionSuccess();
  }
  world::Land before;
};

TEST_F(CellReportTest, PlacingNamesTheCellTheExploredDiscAndTheJoinedHighways) {
  S().unemployed = 200;
  // Beside the landing module at (11, 64): a highway, then one next to it that joins it.
  Remember();
  Build(kHighway, 12, 66);
  EXPECT_TRUE(NamedExactlyTheChangedCells());
  EXPECT_GT(Named().size(), 5u) << "the disc around the new highway was explored";
  Remember();
  Build(kHighway, 13, 66);
  EXPECT_TRUE(NamedExactlyTheChangedCells());
  EXPECT_TRUE(Named().count({12, 66})) << "the first highway turned to join the second";
  // Demolishing the second one turns the first back.
  Remember();
  colony.SelectCell(13, 66);
  colony.DemolishStructure(13, 66);
  EXPECT_TRUE(NamedExactlyTheChangedCells());
  EXPECT_TRUE(Named().count({12, 66}));
}

TEST_F(CellReportTest, SelectingNamesTheOldAndTheNewCell) {
  S().unemployed = 200;
  Build(kHighway, 12, 66);
  Build(kWaterWell, 12, 62);
  Remember();
  ASSERT_TRUE(colony.SelectCell(12, 66));
  EXPECT_EQ(Named(), (CellSet{{12, 66}}));
  Remember();
  ASSERT_TRUE(colony.SelectCell(12, 62));
  EXPECT_EQ(Named(), (CellSet{{12, 66}, {12, 62}}));
  Remember();
  ASSERT_TRUE(colony.ClearSelection());
  EXPECT_EQ(Named(), (CellSet{{12, 62}}));
  EXPECT_TRUE(NamedExactlyTheChangedCells());
}

TEST_F(CellReportTest, DaysNameSitesThatChangeTheirPictureButNotThoseThatOnlyCountDown) {
  S().unemployed = 200;
  Build(kWaterWell, 12, 62);
  std::int32_t namedDays = 0;
  for (int day = 0; day < 40 && Cell(12, 62).constructionLeft != 0; ++day) {
    Remember();
    colony.RunDay();
    EXPECT_TRUE(NamedExactlyTheChangedCells()) << "day " << day;
    namedDays += Named().empty() ? 0 : 1;
  }
  EXPECT_EQ(Cell(12, 62).constructionLeft, 0);
  EXPECT_GE(namedDays, 1) << "the finished well at least";
}

// A player at play, days on end: every change of looks is named, and nothing else is.
TEST_F(CellReportTest, EveryChangeOfLooksIsNamedDayAfterDay) {
  world::Random choices(99);
  random.Replace({});
  random.Seed(5);
  ExploreAll();
  int shortages = 0;
  for (int day = 0; day < 1500; ++day) {
    const int actions = choices.Below(4);
    for (int a = 0; a < actions; ++a) {
      const std::int32_t x = choices.Below(world::kMapColumns);
      const std::int32_t y = choices.Below(world::kMapRows);
      Remember();
      switch (choices.Below(6)) {
        case 0:
          colony.SelectCell(x, y);
          break;
        case 1:
          colony.ClearSelection();
          break;
        case 2:
          colony.SelectCell(x, y);
          colony.Command(kCommandDelete);
          break;
        default:
          colony.PlaceStructure(5 + choices.Below(29), x, y);
          break;
      }
      ASSERT_TRUE(NamedExactlyTheChangedCells()) << "day " << day << " action " << a;
    }
    if (choices.Below(50) == 0) AddPeople(S(), choices.Below(40));
    Remember();
    const std::size_t notices = host.Notices().size();
    colony.RunDay();
    shortages += host.Notices().size() > notices ? 1 : 0;
    ASSERT_TRUE(NamedExactlyTheChangedCells()) << "day " << day;
  }
  EXPECT_GT(shortages, 0) << "shortages pulled structures down";
}

}  // namespace
