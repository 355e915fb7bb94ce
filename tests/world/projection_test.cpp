// The grid, its coordinate systems, the view's size for a screen, the cell under a point, and
// moving the view.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <vector>

#include "screens/game_layout.h"
#include "world/map_generation.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using screens::kGameViewArea;

struct ProjectionScreen {
  explicit ProjectionScreen(std::int32_t width, std::int32_t height) : backBuffer(width, height) {}
  gfx::AppVideo Size() const { return {backBuffer.width(), backBuffer.height()}; }
  MapScreen Target() {
    return {[this] { return &backBuffer; },
            [this](const gfx::IntRect& r) { presented.push_back(r); }};
  }
  gfx::MemVideo backBuffer;
  std::vector<gfx::IntRect> presented;
};

// The game's land with a view of it on a screen.
struct GameView {
  GameView(std::int32_t width, std::int32_t height, const gfx::FracRect& area = kGameViewArea)
      : screen(width, height), map(area, land, screen.Size(), screen.Target()) {}
  ProjectionScreen screen;
  Land land;
  WorldIso3D map;
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
  GameView game(1024, 768);
  const WorldIso3D& map = game.map;
  std::set<std::pair<std::int32_t, std::int32_t>> views;
  for (std::int32_t y = 0; y < game.land.rows; ++y) {
    for (std::int32_t x = 0; x < game.land.columns; ++x) {
      const ViewPos view = map.CellToView({x, y});
      EXPECT_TRUE(gfx::IsEven(view.u - view.v)) << x << "," << y;
      ASSERT_EQ(map.ViewToCell(view), (CellPos{x, y}));
      views.insert({view.u, view.v});
    }
  }
  EXPECT_EQ(views.size(), game.land.cells.size());
}

TEST(Projection, ViewCoordinatesOfKnownCells) {
  GameView game(1024, 768);
  const WorldIso3D& map = game.map;
  EXPECT_EQ(map.CellToView({64, 64}), (ViewPos{64, 64}));
  EXPECT_EQ(map.CellToView({0, 64}), (ViewPos{0, 0}));
  EXPECT_EQ(map.CellToView({128, 64}), (ViewPos{128, 128}));
  // Odd sums round down, below zero too.
  EXPECT_EQ(map.ViewToCell({1, 0}), (CellPos{0, 63}));
  EXPECT_EQ(map.ViewToCell({0, -1}), (CellPos{-1, 63}));
}

TEST(Projection, TopLeftCellAndTileBoxes) {
  GameView game(1024, 768);
  const WorldIso3D& map = game.map;
  ASSERT_EQ(map.viewColumns, 8);
  ASSERT_EQ(map.viewRows, 8);
  game.land.centerX = 64;
  game.land.centerY = 64;
  EXPECT_EQ(map.TopLeftCell(), (CellPos{56, 64}));
  // The centre cell's diamond is centred on the surface, the top-left cell's on its corner.
  EXPECT_EQ(map.TileBox({64, 64}), gfx::IntRect::FromSize(576 - 72, 384 - 48, 144, 96));
  EXPECT_EQ(map.TileBox({56, 64}), gfx::IntRect::FromSize(-72, -48, 144, 96));
  EXPECT_EQ(map.TileBox({65, 64}), gfx::IntRect::FromSize(576, 384, 144, 96));
  EXPECT_EQ(map.TileBox({64, 65}), gfx::IntRect::FromSize(576 - 144, 384, 144, 96));
}

TEST(Creation, GameScreenFiguresAt1024By768) {
  GameView game(1024, 768);
  const WorldIso3D& map = game.map;
  EXPECT_EQ(&map.land, &game.land);
  EXPECT_EQ(map.viewColumns, 8);
  EXPECT_EQ(map.viewRows, 8);
  EXPECT_EQ(map.mapSurface->width(), 1152);
  EXPECT_EQ(map.mapSurface->height(), 768);
  EXPECT_EQ(map.shownPart, (gfx::IntRect{0, 0, 1152, 760}));
  EXPECT_EQ(map.viewRect, (gfx::IntRect{0, 92, 1024, 768}));
  EXPECT_EQ(map.miniMapSurface->width(), 128);
  EXPECT_EQ(map.miniMapSurface->height(), 128);
  EXPECT_EQ(map.miniMapRect, gfx::IntRect{});
  // The view leaves the land as it was.
  EXPECT_EQ((CellPos{game.land.centerX, game.land.centerY}), (CellPos{0, 0}));
  EXPECT_FALSE(game.land.HasSelection());
}

TEST(Creation, TheViewFollowsTheScreenSizeItIsGivenNotTheBackBuffer) {
  // A back buffer of another size (the shell is about to make it anew) changes nothing.
  ProjectionScreen screen(640, 480);
  Land land;
  const WorldIso3D map(kGameViewArea, land, {1024, 768}, screen.Target());
  EXPECT_EQ(map.viewRect, (gfx::IntRect{0, 92, 1024, 768}));
  EXPECT_EQ(map.viewColumns, 8);
  EXPECT_EQ(map.viewRows, 8);
  // The minimap follows the land's size.
  Land small(40);
  const WorldIso3D smallMap(kGameViewArea, small, {1024, 768}, screen.Target());
  EXPECT_EQ(smallMap.miniMapSurface->width(), 40);
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
    GameView game(c.width, c.height, c.area);
    const WorldIso3D& map = game.map;
    EXPECT_EQ(map.viewColumns, c.columns) << c.width << "x" << c.height;
    EXPECT_EQ(map.viewRows, c.rows) << c.width << "x" << c.height;
    EXPECT_TRUE(gfx::IsEven(map.viewRows - map.viewColumns));
    EXPECT_EQ(map.mapSurface->width(), 144 * c.columns);
    EXPECT_EQ(map.mapSurface->height(), 96 * c.rows);
  }
}

TEST(Creation, WithoutAScreenTheMapIsEmptyButSafe) {
  Land land(-5);
  for (const gfx::AppVideo size : {gfx::AppVideo{0, 0}, gfx::AppVideo{-300, -20}}) {
    // No back buffer: an empty screen, and one that looks up nothing.
    for (MapScreen screen : {MapScreen{}, MapScreen{[] { return nullptr; }, {}}}) {
      WorldIso3D map(kGameViewArea, land, size, screen);
      EXPECT_EQ(map.viewColumns, 0);
      map.CenterOnCell(1, 1);
      map.RefreshAll();
      map.RedrawAnimations();
      map.MiniMapClick(3, 3);
      const CellPos under = map.CellAtPoint(10, 10);
      EXPECT_TRUE(land.InGrid(under.x, under.y));
    }
  }
}

class CellAtPointTest : public ::testing::Test {
 protected:
  // The map surface is shown at its own size, so back-buffer points are map-surface points.
  CellAtPointTest() : game(1152, 768, {0.0f, 0.0f, 1.0f, 1.0f}) {
    land.centerX = 64;
    land.centerY = 64;
  }
  GameView game;
  Land& land = game.land;
  WorldIso3D& map = game.map;
};

TEST_F(CellAtPointTest, SurfaceCentreIsTheCentreCell) {
  ASSERT_EQ(map.shownPart.Width(), map.viewRect.Width());
  EXPECT_EQ(map.CellAtPoint(576, 384), (CellPos{64, 64}));
  // Through the game's own view, which is stretched.
  GameView game(1024, 768);
  const WorldIso3D& gameMap = game.map;
  game.land.centerX = 70;
  game.land.centerY = 30;
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
  land.centerX = 0;
  land.centerY = 0;
  // Above the top cell's diamond, left of it, right of it.
  EXPECT_EQ(map.CellAtPoint(576, 300), (CellPos{0, 0}));
  EXPECT_EQ(map.CellAtPoint(10, 700), (CellPos{0, 0}));
  land.centerX = 128;
  land.centerY = 128;
  EXPECT_EQ(map.CellAtPoint(576, 384), (CellPos{128, 128}));
  EXPECT_EQ(map.CellAtPoint(576, 440), (CellPos{0, 0}));
  EXPECT_EQ(map.CellAtPoint(INT32_MAX, INT32_MIN), (CellPos{0, 0}));
}

class MovingTheView : public ::testing::Test {
 protected:
  MovingTheView() : game(1024, 768) {}
  ViewPos Centre() const { return map.CellToView({land.centerX, land.centerY}); }
  GameView game;
  ProjectionScreen& screen = game.screen;
  Land& land = game.land;
  WorldIso3D& map = game.map;
};

TEST_F(MovingTheView, CentringKeepsTheParityAndStaysInside) {
  map.CenterOnCell(64, 64);
  EXPECT_EQ(Centre(), (ViewPos{64, 64}));
  // u = 65 has the wrong parity for 8 columns: the cell to the upper left is taken.
  map.CenterOnCell(65, 64);
  EXPECT_EQ((CellPos{land.centerX, land.centerY}), (CellPos{64, 64}));
  for (std::int32_t y = 0; y <= 128; y += 4) {
    for (std::int32_t x = 0; x <= 128; x += 4) {
      map.CenterOnCell(x, y);
      const ViewPos view = Centre();
      EXPECT_TRUE(gfx::IsEven(view.u - map.viewColumns));
      EXPECT_GE(view.u - map.viewColumns, 0);
      EXPECT_LE(view.u + map.viewColumns, land.size);
      EXPECT_GE(view.v - map.viewRows, 0);
      EXPECT_LE(view.v + map.viewRows, land.size);
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

// After a new map or a load the view centres on the land's centre; the centre it chose must
// then stay where it is, or every refresh would move the view.
TEST(Recentre, CentringOnTheChosenCentreChangesNothing) {
  struct Case {
    gfx::AppVideo screen;
    std::int32_t gridSize;
  };
  const Case cases[] = {{{1024, 768}, kMapSize}, {{1920, 1080}, kMapSize}, {{3840, 2160}, kMapSize},
                        {{1366, 768}, kMapSize}, {{1024, 768}, 12},        {{1024, 768}, 2}};
  for (const Case& c : cases) {
    Land land(c.gridSize);
    WorldIso3D map(kGameViewArea, land, c.screen, MapScreen{});
    for (std::int32_t y = -2; y <= land.rows + 1; ++y) {
      for (std::int32_t x = -2; x <= land.columns + 1; ++x) {
        map.CenterOnCell(x, y);
        const CellPos chosen{land.centerX, land.centerY};
        map.Recentre();
        ASSERT_EQ((CellPos{land.centerX, land.centerY}), chosen)
            << c.screen.width << "x" << c.screen.height << " grid " << c.gridSize << " cell " << x
            << "," << y;
      }
    }
  }
}

TEST(Recentre, ANewMapIsShownAroundItsLandingSite) {
  GameView game(1024, 768);
  game.map.CenterOnCell(0, 64);
  // Ground takes two draws a cell; then the site at u = v = 10 + 54.
  std::deque<std::int32_t> draws(2 * game.land.cells.size(), 1);
  draws.insert(draws.end(), {54, 54});
  Random random;
  random.Replace([&draws] {
    const std::int32_t value = draws.empty() ? 0 : draws.front();
    if (!draws.empty()) draws.pop_front();
    return value;
  });
  const CellPos landing = GenerateMap(game.land, random);
  EXPECT_EQ(landing, (CellPos{64, 64}));
  game.map.Recentre();
  EXPECT_EQ(game.map.TopLeftCell(), (CellPos{56, 64}));
}

}  // namespace
}  // namespace world
