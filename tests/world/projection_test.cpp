// The grid, its coordinate systems, the view's size for a screen, the cell under a point, and
// moving the view.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "screens/game_layout.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using screens::kGameViewArea;

struct Screen {
  explicit Screen(std::int32_t width, std::int32_t height) : backBuffer(width, height) {}
  MapScreen Target() {
    return {&backBuffer, [this](const gfx::IntRect& r) { presented.push_back(r); }};
  }
  gfx::MemVideo backBuffer;
  std::vector<gfx::IntRect> presented;
};

TEST(MapCell, KeepsTheSavedLayout) {
  EXPECT_EQ(sizeof(MapCell), 12u);
  EXPECT_EQ(offsetof(MapCell, revealMask), 0u);
  EXPECT_EQ(offsetof(MapCell, sheet), 1u);
  EXPECT_EQ(offsetof(MapCell, frame), 2u);
  EXPECT_EQ(offsetof(MapCell, type), 3u);
  EXPECT_EQ(offsetof(MapCell, constructionLeft), 4u);
  EXPECT_EQ(offsetof(MapCell, animStart), 5u);
  EXPECT_EQ(offsetof(MapCell, variant), 6u);
  EXPECT_EQ(offsetof(MapCell, animLength), 7u);
  EXPECT_EQ(offsetof(MapCell, serial), 8u);
}

TEST(Projection, EveryCellSurvivesTheRoundTripThroughViewCoordinates) {
  Screen screen(1024, 768);
  WorldIso3D map(kGameViewArea, kMapSize, screen.Target());
  std::set<std::pair<std::int32_t, std::int32_t>> views;
  for (std::int32_t y = 0; y < map.rows; ++y) {
    for (std::int32_t x = 0; x < map.columns; ++x) {
      const ViewPos view = map.CellToView({x, y});
      EXPECT_TRUE(gfx::IsEven(view.u - view.v)) << x << "," << y;
      ASSERT_EQ(map.ViewToCell(view), (CellPos{x, y}));
      views.insert({view.u, view.v});
    }
  }
  EXPECT_EQ(views.size(), static_cast<std::size_t>(map.columns * map.rows));
}

TEST(Projection, ViewCoordinatesOfKnownCells) {
  Screen screen(1024, 768);
  WorldIso3D map(kGameViewArea, kMapSize, screen.Target());
  EXPECT_EQ(map.CellToView({64, 64}), (ViewPos{64, 64}));
  EXPECT_EQ(map.CellToView({0, 64}), (ViewPos{0, 0}));
  EXPECT_EQ(map.CellToView({128, 64}), (ViewPos{128, 128}));
  // Odd sums round down, below zero too.
  EXPECT_EQ(map.ViewToCell({1, 0}), (CellPos{0, 63}));
  EXPECT_EQ(map.ViewToCell({0, -1}), (CellPos{-1, 63}));
}

TEST(Projection, TopLeftCellAndTileBoxes) {
  Screen screen(1024, 768);
  WorldIso3D map(kGameViewArea, kMapSize, screen.Target());
  ASSERT_EQ(map.viewColumns, 8);
  ASSERT_EQ(map.viewRows, 8);
  map.centerX = 64;
  map.centerY = 64;
  EXPECT_EQ(map.TopLeftCell(), (CellPos{56, 64}));
  // The centre cell's diamond is centred on the surface, the top-left cell's on its corner.
  EXPECT_EQ(map.TileBox({64, 64}), gfx::IntRect::FromSize(576 - 72, 384 - 48, 144, 96));
  EXPECT_EQ(map.TileBox({56, 64}), gfx::IntRect::FromSize(-72, -48, 144, 96));
  EXPECT_EQ(map.TileBox({65, 64}), gfx::IntRect::FromSize(576, 384, 144, 96));
  EXPECT_EQ(map.TileBox({64, 65}), gfx::IntRect::FromSize(576 - 144, 384, 144, 96));
}

TEST(Creation, GameScreenFiguresAt1024By768) {
  Screen screen(1024, 768);
  WorldIso3D map(kGameViewArea, kMapSize, screen.Target());
  EXPECT_EQ(map.columns, 129);
  EXPECT_EQ(map.rows, 129);
  EXPECT_EQ(map.cells.size(), 129u * 129u);
  EXPECT_EQ(map.viewColumns, 8);
  EXPECT_EQ(map.viewRows, 8);
  EXPECT_EQ(map.mapSurface->width(), 1152);
  EXPECT_EQ(map.mapSurface->height(), 768);
  EXPECT_EQ(map.shownPart, (gfx::IntRect{0, 0, 1152, 760}));
  EXPECT_EQ(map.viewRect, (gfx::IntRect{0, 92, 1024, 768}));
  EXPECT_EQ(map.miniMapSurface->width(), 128);
  EXPECT_EQ(map.miniMapSurface->height(), 128);
  EXPECT_EQ(map.centerX, 0);
  EXPECT_EQ(map.centerY, 0);
  EXPECT_FALSE(map.HasSelection());
  EXPECT_EQ(map.miniMapRect, gfx::IntRect{});
}

TEST(Creation, ViewColumnsAndTheParityRule) {
  struct Case {
    std::int32_t width, height;
    gfx::FracRect area;
    std::int32_t columns, rows;
  };
  const Case cases[] = {
      // An exact multiple of the tile width needs no extra column.
      {1152, 768, kGameViewArea, 8, 8},
      {1153, 768, kGameViewArea, 9, 9},
      // 7 rows are exactly enough, but 8 columns need an even row count.
      {1024, 597, {0.0f, 0.0f, 1.0f, 1.0f}, 8, 8},
      {1920, 1080, kGameViewArea, 14, 12},
      {3840, 2160, kGameViewArea, 27, 21},
  };
  for (const Case& c : cases) {
    Screen screen(c.width, c.height);
    WorldIso3D map(c.area, kMapSize, screen.Target());
    EXPECT_EQ(map.viewColumns, c.columns) << c.width << "x" << c.height;
    EXPECT_EQ(map.viewRows, c.rows) << c.width << "x" << c.height;
    EXPECT_TRUE(gfx::IsEven(map.viewRows - map.viewColumns));
    EXPECT_EQ(map.mapSurface->width(), 144 * c.columns);
    EXPECT_EQ(map.mapSurface->height(), 96 * c.rows);
  }
}

TEST(Creation, WithoutAScreenTheMapIsEmptyButSafe) {
  WorldIso3D map(kGameViewArea, -5, MapScreen{});
  EXPECT_EQ(map.size, 2);
  EXPECT_EQ(map.viewColumns, 0);
  map.CenterOnCell(1, 1);
  map.RefreshAll();
  map.RedrawAnimations();
  map.MiniMapClick(3, 3);
  const CellPos under = map.CellAtPoint(10, 10);
  EXPECT_TRUE(map.InGrid(under.x, under.y));
  EXPECT_THROW(map.Cell(3, 0), std::out_of_range);
  EXPECT_EQ(map.CellAt(-1, 0), nullptr);
}

class CellAtPointTest : public ::testing::Test {
 protected:
  // The map surface is shown at its own size, so back-buffer points are map-surface points.
  CellAtPointTest() : screen(1152, 768), map({0.0f, 0.0f, 1.0f, 1.0f}, kMapSize, screen.Target()) {
    map.centerX = 64;
    map.centerY = 64;
  }
  Screen screen;
  WorldIso3D map;
};

TEST_F(CellAtPointTest, SurfaceCentreIsTheCentreCell) {
  ASSERT_EQ(map.shownPart.Width(), map.viewRect.Width());
  EXPECT_EQ(map.CellAtPoint(576, 384), (CellPos{64, 64}));
  // Through the game's own view, which is stretched.
  Screen gameScreen(1024, 768);
  WorldIso3D gameMap(kGameViewArea, kMapSize, gameScreen.Target());
  gameMap.centerX = 70;
  gameMap.centerY = 30;
  const std::int32_t sx = gfx::ScaleInt(576, gameMap.viewRect.Width(), gameMap.shownPart.Width());
  const std::int32_t sy = gameMap.viewRect.top +
                          gfx::ScaleInt(384, gameMap.viewRect.Height(), gameMap.shownPart.Height());
  EXPECT_EQ(gameMap.CellAtPoint(sx, sy), (CellPos{70, 30}));
}

TEST_F(CellAtPointTest, UpperEdgesBelongToTheCellLowerEdgesToTheCellsBelow) {
  // Diamond of (64, 64): corners (576, 336), (648, 384), (576, 432), (504, 384).
  EXPECT_EQ(map.CellAtPoint(576, 336), (CellPos{64, 64}));  // top corner
  EXPECT_EQ(map.CellAtPoint(612, 360), (CellPos{64, 64}));  // on the upper right edge
  EXPECT_EQ(map.CellAtPoint(540, 360), (CellPos{64, 64}));  // on the upper left edge
  EXPECT_EQ(map.CellAtPoint(612, 408), (CellPos{65, 64}));  // on the lower right edge
  EXPECT_EQ(map.CellAtPoint(540, 408), (CellPos{64, 65}));  // on the lower left edge
  EXPECT_EQ(map.CellAtPoint(576, 432), (CellPos{65, 65}));  // bottom corner
  EXPECT_EQ(map.CellAtPoint(576, 431), (CellPos{64, 64}));  // just above it
  // Every tile box centre names its own cell.
  for (std::int32_t y = 60; y <= 68; ++y) {
    for (std::int32_t x = 60; x <= 68; ++x) {
      const gfx::IntRect box = map.TileBox({x, y});
      EXPECT_EQ(map.CellAtPoint(box.left + 72, box.top + 48), (CellPos{x, y}));
    }
  }
}

TEST_F(CellAtPointTest, PointsOutsideTheGridGiveTheFirstCell) {
  map.centerX = 0;
  map.centerY = 0;
  // Above the top cell's diamond, left of it, right of it.
  EXPECT_EQ(map.CellAtPoint(576, 300), (CellPos{0, 0}));
  EXPECT_EQ(map.CellAtPoint(10, 700), (CellPos{0, 0}));
  map.centerX = 128;
  map.centerY = 128;
  EXPECT_EQ(map.CellAtPoint(576, 384), (CellPos{128, 128}));
  EXPECT_EQ(map.CellAtPoint(576, 440), (CellPos{0, 0}));
  EXPECT_EQ(map.CellAtPoint(INT32_MAX, INT32_MIN), (CellPos{0, 0}));
}

class MovingTheView : public ::testing::Test {
 protected:
  MovingTheView() : screen(1024, 768), map(kGameViewArea, kMapSize, screen.Target()) {}
  ViewPos Centre() const { return map.CellToView({map.centerX, map.centerY}); }
  Screen screen;
  WorldIso3D map;
};

TEST_F(MovingTheView, CentringKeepsTheParityAndStaysInside) {
  map.CenterOnCell(64, 64);
  EXPECT_EQ(Centre(), (ViewPos{64, 64}));
  // u = 65 has the wrong parity for 8 columns: the cell to the upper left is taken.
  map.CenterOnCell(65, 64);
  EXPECT_EQ((CellPos{map.centerX, map.centerY}), (CellPos{64, 64}));
  for (std::int32_t y = 0; y <= 128; y += 4) {
    for (std::int32_t x = 0; x <= 128; x += 4) {
      map.CenterOnCell(x, y);
      const ViewPos view = Centre();
      EXPECT_TRUE(gfx::IsEven(view.u - map.viewColumns));
      EXPECT_GE(view.u - map.viewColumns, 0);
      EXPECT_LE(view.u + map.viewColumns, map.size);
      EXPECT_GE(view.v - map.viewRows, 0);
      EXPECT_LE(view.v + map.viewRows, map.size);
    }
  }
}

TEST_F(MovingTheView, CentringNearTheCornersPutsTheEdgeOnTheBorder) {
  map.CenterOnCell(0, 64);  // view (0, 0)
  EXPECT_EQ(Centre(), (ViewPos{8, 8}));
  map.CenterOnCell(128, 64);  // view (128, 128)
  EXPECT_EQ(Centre(), (ViewPos{120, 120}));
  map.CenterOnCell(64, 0);  // view (128, 0)
  EXPECT_EQ(Centre(), (ViewPos{120, 8}));
  map.CenterOnCell(64, 128);  // view (0, 128)
  EXPECT_EQ(Centre(), (ViewPos{8, 120}));
}

TEST_F(MovingTheView, ScrollingMovesTwoViewUnitsAndAlwaysRefreshes) {
  struct Case {
    std::int32_t code;
    ViewPos move;
  };
  const Case cases[] = {{7, {-2, -2}}, {8, {0, -2}}, {9, {2, -2}}, {4, {-2, 0}}, {6, {2, 0}},
                        {1, {-2, 2}},  {2, {0, 2}},  {3, {2, 2}},  {5, {0, 0}},  {0, {0, 0}}};
  for (const Case& c : cases) {
    map.CenterOnCell(64, 64);
    screen.presented.clear();
    map.Scroll(c.code);
    EXPECT_EQ(Centre(), (ViewPos{64 + c.move.u, 64 + c.move.v})) << "code " << c.code;
    EXPECT_FALSE(screen.presented.empty()) << "code " << c.code;
  }
}

TEST_F(MovingTheView, ScrollingUpLeftAtTheLimitStaysButStillRefreshes) {
  map.miniMapRect = {413, 3, 508, 89};
  map.CenterOnCell(0, 64);
  const ViewPos before = Centre();
  screen.presented.clear();
  map.Scroll(ScrollUpLeft);
  EXPECT_EQ(Centre(), before);
  EXPECT_EQ(screen.presented, (std::vector<gfx::IntRect>{map.viewRect, map.miniMapRect}));
}

}  // namespace
}  // namespace world
