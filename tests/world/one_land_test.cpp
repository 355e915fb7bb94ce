// The colony and the map view on one land, as the game screen holds them: what the colony
// changes the view draws with nothing copied in between, and a new map reaches the view
// through kChangedNewMap.
#include <gtest/gtest.h>

#include <vector>

#include "sim/colony.h"
#include "tests/world/test_pictures.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using testing::FrameColor;
using testing::TestPictures;
using testing::Tiles0;
using testing::Tiles1;

// Refreshes the view as the game screen does: a new map is centred on and drawn whole; other
// changes redraw only the cells the colony named, so a cell it forgets to name stays stale.
struct ViewHost final : sim::ColonyHost {
  explicit ViewHost(WorldIso3D& view) : map(view) {}
  void PlaySound(std::string_view) override {}
  void Notice(std::string_view, std::string_view) override {}
  bool Question(std::string_view, std::string_view) override { return true; }
  void CellChanged(std::int32_t x, std::int32_t y) override { cells.push_back({x, y}); }
  void Changed(std::uint32_t changes) override {
    if (changes & sim::kChangedNewMap) {
      map.Recentre();
      map.RefreshAll();
    } else if (changes & (sim::kChangedMap | sim::kChangedMapRebuild)) {
      if (cells.empty()) {
        map.RefreshAll();
      } else {
        map.RedrawCells(cells);
      }
    }
    cells.clear();
  }
  void EndProgram() override {}
  WorldIso3D& map;
  std::vector<CellPos> cells;
};

class OneLand : public ::testing::Test {
 protected:
  // A 576 x 384 screen shows a 4 x 4 view at its own size.
  OneLand()
      : backBuffer(576, 384),
        map({0.0f, 0.0f, 1.0f, 1.0f}, land, {576, 384}, {[this] { return &backBuffer; }, {}},
            pictures.Slots()),
        host(map),
        colony(land, random, host) {
    // With every draw 1 the landing module stands at (11, 64).
    random.Replace([] { return 1; });
    colony.SetScreenShown(true);
  }
  // What the view shows in the middle of a cell's diamond.
  gfx::Color Shown(CellPos cell, std::int32_t dx = 72) const {
    const gfx::IntRect box = map.TileBox(cell);
    return backBuffer.at(box.left + dx, box.top + 48);
  }

  TestPictures pictures;
  gfx::MemVideo backBuffer;
  Land land;
  WorldIso3D map;
  ViewHost host;
  Random random;
  sim::Colony colony;
};

TEST_F(OneLand, ANewGameMovesTheViewToItsLandingSite) {
  map.CenterOnCell(100, 30);
  colony.NewGame();
  // The centre keeps the view's column parity: the cell left of the module.
  EXPECT_EQ((CellPos{land.centerX, land.centerY}), (CellPos{10, 64}));
  EXPECT_EQ(Shown({11, 64}), FrameColor(Tiles1, 2));
}

TEST_F(OneLand, TheViewDrawsWhatTheColonyChanges) {
  colony.NewGame();
  EXPECT_TRUE(colony.SelectCell(11, 64));
  EXPECT_EQ(Shown({11, 64}, 3), FrameColor(Tiles1, 1)) << "the marker in front";
  EXPECT_EQ(colony.PlaceStructure(sim::kHighway, 12, 64), sim::PlaceResult::kBuilt);
  EXPECT_EQ(Shown({12, 64}), FrameColor(Tiles0, 28));
  colony.Command(sim::kCommandDelete);  // the P.E.M. stays
  EXPECT_TRUE(colony.SelectCell(12, 64));
  colony.Command(sim::kCommandDelete);
  EXPECT_EQ(land.Cell(12, 64).type, kTypeBareLand);
  EXPECT_EQ(Shown({12, 64}), FrameColor(Tiles0, land.Cell(12, 64).frame));
  EXPECT_EQ(Shown({11, 64}, 3), FrameColor(Tiles1, 2)) << "no marker left";
}

}  // namespace
}  // namespace world
