// The map view at every scale: pictures scaled without fringes or gaps, the cell under the
// pointer, and the ground kept under the point a zoom is made about. (The window after zooms,
// scrolls, changes and ticks is checked against full redraws in map_refresh_test.cpp.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "gfx/draw.h"
#include "screens/game_layout.h"
#include "tests/world/map_scene.h"
#include "tests/world/test_pictures.h"
#include "world/map_pictures.h"
#include "world/map_scale.h"
#include "world/scaled_sheets.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using screens::kGameViewArea;
using testing::FrameColor;
using testing::TestPictures;

constexpr gfx::Color kUntouched = gfx::Rgb(255, 0, 255);

// A view at one scale of its own land, drawing into its own back buffer.
struct ScaledView {
  ScaledView(const MapScale& scale, gfx::AppVideo screen, const MapPictures& pictures)
      : sheets(scale),
        backBuffer(screen.width, screen.height),
        map(kGameViewArea, land, screen, {[this] { return &backBuffer; }, {}}, pictures, &sheets) {}
  ScaledSheets sheets;
  Land land;
  gfx::MemVideo backBuffer;
  WorldIso3D map;
};

std::string Named(const MapScale& scale) {
  return std::to_string(scale.percent) + " %";
}

TEST(MapZoom, EveryScaleKeepsTheTilesAndTheirLatticeOnWholePixels) {
  for (const MapScale& scale : kMapScales) {
    SCOPED_TRACE(Named(scale));
    const MapGeometry geometry = GeometryAt(scale);
    // Exact fractions of the design's tile: anchors 72 and 48 apart land on whole pixels.
    EXPECT_EQ(geometry.tileWidth * scale.denominator, kTileWidth * scale.numerator);
    EXPECT_EQ(geometry.tileHeight * scale.denominator, kTileHeight * scale.numerator);
    EXPECT_EQ(geometry.tileWidth % 2, 0);
    EXPECT_EQ(geometry.tileHeight % 2, 0);
    EXPECT_GE(geometry.lift * scale.denominator, kStructureLift * scale.numerator);
    EXPECT_LT((geometry.lift - 1) * scale.denominator, kStructureLift * scale.numerator);
  }
  const MapGeometry native = GeometryAt(kMapScales[kNativeScaleIndex]);
  EXPECT_EQ(native.tileWidth, kTileWidth);
  EXPECT_EQ(native.lift, kStructureLift);
  EXPECT_EQ(native.animationLeft, kAnimationLeft);
  EXPECT_EQ(native.animationTop, kAnimationTop);
  EXPECT_EQ(ScaleIndexOfPercent(71), 1u);
  EXPECT_EQ(ScaleIndexOfPercent(75), std::nullopt);
}

// Every frame of the test pictures has one colour on black holes: a scaled pixel that shows
// the frame at all shows exactly its colour (no black fringe from the holes), and scaling one
// frame leaves the others alone.
TEST(MapZoom, ScaledFramesAreTheMeanOfTheirOpaquePixelsOnlyAndMadeWhenFirstDrawn) {
  TestPictures pictures;
  for (const MapScale& scale : kMapScales) {
    if (scale.IsNative()) continue;
    SCOPED_TRACE(Named(scale));
    ScaledSheets sheets(scale);
    const MapPictures scaled = sheets.Follow(pictures.Slots());
    EXPECT_EQ(scaled.miniMap, pictures.Slots().miniMap);
    const std::size_t animationFrames = sheets.FramesScaled();
    EXPECT_EQ(animationFrames, 48u);
    struct Probe {
      const gfx::WBitmap* sheet;
      testing::Sheet colours;
      std::int32_t frame;
    };
    for (const Probe probe :
         {Probe{scaled.tiles0, testing::Tiles0, 20}, Probe{scaled.tiles1, testing::Tiles1, 7},
          Probe{scaled.tiles2, testing::Tiles2, 30}}) {
      std::int32_t frame = probe.frame;
      const gfx::WBitmap* picture = sheets.Prepare(probe.sheet, frame);
      ASSERT_NE(picture, nullptr);
      const gfx::IntRect box = gfx::FrameSourceRect(*picture, frame);
      EXPECT_EQ(box.Width(), probe.sheet->frameWidth);
      EXPECT_EQ(box.Height(), probe.sheet->frameHeight);
      std::int32_t opaque = 0;
      for (std::int32_t y = box.top; y < box.bottom; ++y) {
        for (std::int32_t x = box.left; x < box.right; ++x) {
          if (picture->mask->IsKeyed(x, y)) continue;
          ++opaque;
          ASSERT_EQ(picture->bitmap->at(x, y), FrameColor(probe.colours, probe.frame))
              << x << "," << y;
        }
      }
      // The diamond covers about half its box.
      EXPECT_GT(opaque, box.Width() * box.Height() / 3);
    }
    EXPECT_EQ(sheets.FramesScaled(), animationFrames + 3);
    std::int32_t again = 20;
    EXPECT_NE(sheets.Prepare(scaled.tiles0, again), nullptr);
    std::int32_t missing = 999;  // a frame the sheet lacks draws nothing
    EXPECT_EQ(sheets.Prepare(scaled.tiles0, missing), nullptr);
    std::int32_t animation = 5;  // the animation sheet is drawn from as it is
    EXPECT_EQ(sheets.Prepare(scaled.animation, animation), scaled.animation);
    EXPECT_EQ(animation, 5);
    EXPECT_EQ(sheets.FramesScaled(), animationFrames + 3);
    sheets.Clear();
    EXPECT_EQ(sheets.FramesScaled(), 0u);
  }
}

// Plain ground: every pixel of the map surface is drawn, at every scale, so neighbouring
// diamonds leave no seam between them; with the game's own pictures, and with the test's, whose
// diamonds meet without overlapping (each pixel's centre lies in exactly one).
TEST(MapZoom, PlainGroundLeavesNoSeamAtAnyScale) {
  MapPictureSet game;
  ASSERT_TRUE(
      LoadMapPictures(game, std::string(REDHOLLOW_GOLDEN_RESOURCE_DIR) + "/" + kMapArchive));
  const TestPictures test;
  for (const MapPictures& pictures : {game.Slots(), test.Slots()}) {
    for (const MapScale& scale : kMapScales) {
      SCOPED_TRACE(Named(scale) + (pictures.tiles0 == &test.tiles0 ? ", test pictures" : ""));
      ScaledView view(scale, {1024, 768}, pictures);
      for (MapCell& cell : view.land.cells) {
        cell = MapCell{};
        cell.revealMask = kRevealAll;
        cell.frame = 16;
      }
      view.map.Recentre();
      gfx::FillSurface(*view.map.mapSurface, kUntouched);
      view.map.DrawMap();
      const gfx::MemVideo& surface = *view.map.mapSurface;
      std::int32_t seams = 0;
      for (std::int32_t y = 0; y < surface.height(); ++y) {
        for (std::int32_t x = 0; x < surface.width(); ++x) seams += surface.at(x, y) == kUntouched;
      }
      EXPECT_EQ(seams, 0);
    }
  }
}

// The point of the map surface under a pixel's centre lies in the diamond of the cell the view
// names for it (on its edge at most, where two cells meet), at every scale, across the view and
// at its edges, with the view in the middle of the map and pushed against its corners.
TEST(MapZoom, TheCellUnderThePointerAtEveryScaleAndAtTheViewsEdges) {
  TestPictures pictures;
  for (const MapScale& scale : kMapScales) {
    for (const gfx::AppVideo screen : {gfx::AppVideo{1024, 768}, gfx::AppVideo{1920, 1080}}) {
      ScaledView view(scale, screen, pictures.Slots());
      WorldIso3D& map = view.map;
      const gfx::IntRect r = map.viewRect;
      for (const CellPos centre : {CellPos{64, 64}, CellPos{0, 64}, CellPos{128, 64},
                                   CellPos{64, 0}, CellPos{64, 128}, CellPos{30, 90}}) {
        map.CenterOnCell(centre.x, centre.y);
        SCOPED_TRACE(Named(scale) + " at " + std::to_string(screen.width) + " centred near " +
                     std::to_string(centre.x) + "," + std::to_string(centre.y));
        std::vector<std::int32_t> xs{r.left + 1, r.left + 2, r.right - 2};
        std::vector<std::int32_t> ys{r.top + 1, r.top + 2, r.bottom - 2};
        for (std::int32_t i = 1; i < 16; ++i) {
          xs.push_back(r.left + r.Width() * i / 16 + i);
          ys.push_back(r.top + r.Height() * i / 16 + i);
        }
        for (const std::int32_t sx : xs) {
          for (const std::int32_t sy : ys) {
            const CellPos cell = map.CellAtPoint(sx, sy);
            ASSERT_TRUE(map.land.InGrid(cell.x, cell.y));
            const gfx::IntRect box = map.TileBox(cell);
            const double px = (sx - r.left + 0.5) * map.shownPart.Width() / r.Width();
            const double py = (sy - r.top + 0.5) * map.shownPart.Height() / r.Height();
            const double across = std::abs(px - (box.left + box.right) / 2.0) / (box.Width() / 2.0);
            const double down = std::abs(py - (box.top + box.bottom) / 2.0) / (box.Height() / 2.0);
            // The view rounds a pixel to the surface pixel it starts in: a pixel's worth of slack.
            const double slack = 1.5 * map.shownPart.Width() / r.Width() / (box.Height() / 2.0);
            ASSERT_LE(across + down, 1.0 + slack) << sx << "," << sy;
          }
        }
      }
    }
  }
}

// A zoom about a point: the ground under it stays within one half tile each way (centring is on
// whole cells), and going back about the same point from the exact centre asked comes back to
// the view it started from.
TEST(MapZoom, ZoomingAboutAPointKeepsItsGroundUnderIt) {
  TestPictures pictures;
  const gfx::AppVideo screen{1280, 720};
  for (std::size_t from = 0; from < kMapScales.size(); ++from) {
    for (std::size_t to = 0; to < kMapScales.size(); ++to) {
      if (from == to) continue;
      SCOPED_TRACE(Named(kMapScales[from]) + " to " + Named(kMapScales[to]));
      ScaledView before(kMapScales[from], screen, pictures.Slots());
      before.map.CenterOnCell(60, 66);
      const gfx::IntRect r = before.map.viewRect;
      for (const auto& [sx, sy] :
           {std::pair{r.left + r.Width() / 2, r.top + r.Height() / 2},
            std::pair{r.left + 37, r.top + 51}, std::pair{r.right - 90, r.bottom - 13}}) {
        const CellPos start{before.land.centerX, before.land.centerY};
        const ViewPos centre = before.land.CellToView(start);
        const WorldIso3D::ExactView ground =
            before.map.GroundAt({1.0 * centre.u, 1.0 * centre.v}, sx, sy);

        ScaledView after(kMapScales[to], screen, pictures.Slots());
        after.land = before.land;
        const WorldIso3D::ExactView asked = after.map.CentreFor(ground, sx, sy);
        after.map.CenterNear(asked);
        const ViewPos got = after.land.CellToView({after.land.centerX, after.land.centerY});
        const WorldIso3D::ExactView now = after.map.GroundAt({1.0 * got.u, 1.0 * got.v}, sx, sy);
        EXPECT_LE(std::abs(now.u - ground.u), 1.0 + 1e-9) << sx << "," << sy;
        EXPECT_LE(std::abs(now.v - ground.v), 1.0 + 1e-9) << sx << "," << sy;

        ScaledView back(kMapScales[from], screen, pictures.Slots());
        back.land = after.land;
        back.map.CenterNear(back.map.CentreFor(after.map.GroundAt(asked, sx, sy), sx, sy));
        EXPECT_EQ((CellPos{back.land.centerX, back.land.centerY}), start) << sx << "," << sy;
      }
    }
  }
}

}  // namespace
}  // namespace world
