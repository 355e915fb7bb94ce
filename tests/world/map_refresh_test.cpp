// Refreshing the view in parts: a scroll moves what stays in view and draws the strips it
// uncovers, a change of cells draws and presents only around them. A twin view of the same
// land that draws everything whole after every step (as a full refresh does) must show the
// same window, pixel for pixel, whatever the sequence of steps.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "screens/game_layout.h"
#include "tests/world/map_scene.h"
#include "tests/world/test_pictures.h"
#include "world/map_scale.h"
#include "world/random.h"
#include "world/scaled_sheets.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using screens::kGameViewArea;
using screens::kMiniMapArea;
using testing::MakeMovingAnimation;
using testing::TestPictures;

bool SameSurface(const gfx::MemVideo& a, const gfx::MemVideo& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  return std::memcmp(a.pixels(), b.pixels(),
                     static_cast<std::size_t>(a.width()) * a.height() * sizeof(gfx::Color)) == 0;
}

std::int64_t AreaOf(const std::vector<gfx::IntRect>& rects) {
  std::int64_t area = 0;
  for (const gfx::IntRect& r : rects) area += std::int64_t{r.Width()} * r.Height();
  return area;
}

// A view with its back buffer and window; presenting copies to the window.
struct Viewer {
  Viewer(std::int32_t width, std::int32_t height, const MapPictures& pictures)
      : backBuffer(width, height), window(width, height) {
    Remake(pictures, nullptr);
  }
  // A view at the scale of the sheets (the design's own without), as a zoom makes it.
  void Remake(const MapPictures& pictures, ScaledSheets* sheets) {
    map = std::make_unique<WorldIso3D>(
        kGameViewArea, land, gfx::AppVideo{backBuffer.width(), backBuffer.height()},
        MapScreen{[this] { return &backBuffer; },
                  [this](const gfx::IntRect& r) {
                    presented.push_back(r);
                    gfx::CopyRect(backBuffer, r, window, r.left, r.top);
                  }},
        pictures, sheets);
    map->miniMapRect = gfx::FracToPixels(kMiniMapArea, backBuffer.width(), backBuffer.height());
  }
  gfx::MemVideo backBuffer;
  gfx::MemVideo window;
  std::vector<gfx::IntRect> presented;
  Land land;
  std::unique_ptr<WorldIso3D> map;
};

// `parts` refreshes as the game does; `whole` forgets everything before each step, so it
// draws the map, the minimap and every animation frame whole and presents the whole view.
struct Twins {
  Twins(std::int32_t width, std::int32_t height, const MapPictures& pictures)
      : pictures(pictures), parts(width, height, pictures), whole(width, height, pictures) {
    testing::BuildScene(*parts.map);
    whole.land = parts.land;
    for (Viewer* v : {&parts, &whole}) {
      v->map->DrawMiniMap();
      v->map->RefreshAll();
    }
  }
  Land& land() { return parts.land; }
  void Changed(std::vector<CellPos> cells) {
    whole.land = parts.land;
    parts.presented.clear();
    parts.map->RedrawCells(cells);
    whole.map->ForgetAnimationFrames();
    whole.map->DrawMiniMap();
    whole.map->RefreshAll();
  }
  void Scroll(std::int32_t direction) {
    parts.presented.clear();
    parts.map->Scroll(direction);
    FollowCentre();
  }
  void MiniMapClick(std::int32_t mx, std::int32_t my) {
    parts.presented.clear();
    parts.map->MiniMapClick(mx, my);
    FollowCentre();
  }
  // A zoom to the sheets' scale about a point of the back buffer, as the game screen makes it:
  // new views, centred to keep the ground under the point, drawn whole.
  void Zoom(ScaledSheets* sheets, std::int32_t sx, std::int32_t sy) {
    const ViewPos centre = parts.land.CellToView({parts.land.centerX, parts.land.centerY});
    const WorldIso3D::ExactView ground =
        parts.map->GroundAt({1.0 * centre.u, 1.0 * centre.v}, sx, sy);
    for (Viewer* v : {&parts, &whole}) v->Remake(pictures, sheets);
    parts.map->CenterNear(parts.map->CentreFor(ground, sx, sy));
    whole.land = parts.land;
    parts.presented.clear();
    for (Viewer* v : {&parts, &whole}) {
      v->map->DrawMiniMap();
      v->map->RefreshAll();
    }
  }
  void FollowCentre() {
    whole.land = parts.land;
    whole.map->ForgetAnimationFrames();
    whole.map->RefreshAll();
  }
  void Tick() {
    parts.map->StepAnimations();
    whole.map->StepAnimations();
    parts.presented.clear();
    parts.map->RedrawAnimations();
    whole.map->ForgetAnimationFrames();
    whole.map->RedrawAnimations();
  }
  ::testing::AssertionResult Same() const {
    if (!SameSurface(*parts.map->miniMapSurface, *whole.map->miniMapSurface)) {
      return ::testing::AssertionFailure() << "the minimaps differ";
    }
    if (!SameSurface(parts.window, whole.window)) {
      for (std::int32_t y = 0; y < parts.window.height(); ++y) {
        for (std::int32_t x = 0; x < parts.window.width(); ++x) {
          if (parts.window.at(x, y) != whole.window.at(x, y)) {
            return ::testing::AssertionFailure() << "the windows differ at " << x << ", " << y;
          }
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
  MapPictures pictures;
  Viewer parts, whole;
};

// A cell somewhere in view or around it.
CellPos CellNearView(const WorldIso3D& map, Random& random) {
  const CellPos topLeft = map.TopLeftCell();
  const ViewPos corner = map.CellToView(topLeft);
  return map.ViewToCell({corner.u - 2 + random.Below(2 * map.viewColumns + 5),
                         corner.v - 2 + random.Below(2 * map.viewRows + 5)});
}

// What a colony does to a cell: a structure (some animated), a building site, bare ground,
// a highway piece, partly explored land or an unexplored cell.
void ChangeCell(MapCell& cell, Random& random) {
  switch (random.Below(6)) {
    case 0:
      cell.sheet = kSheetStructure;
      cell.type = 21;
      cell.frame = static_cast<std::uint8_t>(2 + random.Below(50));
      cell.animStart = static_cast<std::uint8_t>(random.Below(2) == 0 ? 0 : 1 + random.Below(40));
      cell.animLength = 4;
      cell.variant = static_cast<std::uint8_t>(random.Below(4));
      break;
    case 1:
      cell.sheet = kSheetSite;
      cell.type = 17;
      cell.frame = static_cast<std::uint8_t>(random.Below(76));
      cell.animStart = 0;
      break;
    case 2:
      cell = MapCell{};
      cell.revealMask = kRevealAll;
      cell.frame = static_cast<std::uint8_t>(16 + random.Below(8));
      break;
    case 3:
      cell.sheet = kSheetGround;
      cell.type = kTypeHighway;
      cell.frame = static_cast<std::uint8_t>(28 + random.Below(11));
      cell.animStart = 0;
      break;
    case 4:
      cell.revealMask = static_cast<std::uint8_t>(1 + random.Below(14));
      break;
    default:
      cell.revealMask = 0;
      break;
  }
}

// With scaled sheets (one for every scale), some steps zoom the view about a random point.
void RunSequence(std::int32_t width, std::int32_t height, std::int32_t steps,
                 const MapPictures& pictures,
                 std::span<const std::unique_ptr<ScaledSheets>> scales = {}) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  Twins twins(width, height, pictures);
  ASSERT_TRUE(twins.Same()) << size;
  Random random(static_cast<std::uint64_t>(width) * 7 + static_cast<std::uint64_t>(height));
  const std::int32_t directions[] = {ScrollUpLeft, ScrollUp,       ScrollUpRight, ScrollLeft,
                                     ScrollRight,  ScrollDownLeft, ScrollDown,    ScrollDownRight};
  const gfx::IntRect view = twins.parts.map->viewRect;  // the same at every scale
  const std::int64_t viewArea = std::int64_t{view.Width()} * view.Height();
  for (std::int32_t step = 0; step < steps; ++step) {
    const std::int32_t what = random.Below(scales.empty() ? 10 : 12);
    std::string label = size + " step " + std::to_string(step);
    if (what >= 10) {
      const std::size_t index = random.Below(static_cast<std::int32_t>(scales.size()));
      const std::int32_t sx = view.left + 1 + random.Below(view.Width() - 2);
      const std::int32_t sy = view.top + 1 + random.Below(view.Height() - 2);
      twins.Zoom(scales[index].get(), sx, sy);
      label += " zoom to " + std::to_string(kMapScales[index].percent) + " %";
    } else if (what == 1) {
      const gfx::IntRect& mini = twins.parts.map->miniMapRect;
      twins.MiniMapClick(random.Below(mini.Width()), random.Below(mini.Height()));
      label += " minimap click";
    } else if (what < 3) {
      // Runs in one direction reach the edges of the view square.
      const std::int32_t direction = directions[random.Below(8)];
      const std::int32_t run = 1 + random.Below(what == 0 ? 12 : 2);
      for (std::int32_t i = 0; i < run; ++i) twins.Scroll(direction);
      label += " scroll " + std::to_string(direction) + " x" + std::to_string(run);
    } else if (what < 7) {
      // Several changes of one day, reported together.
      std::vector<CellPos> cells;
      const std::int32_t count = 1 + random.Below(what == 6 ? 6 : 2);
      for (std::int32_t i = 0; i < count; ++i) {
        const CellPos at = CellNearView(*twins.parts.map, random);
        MapCell* cell = twins.land().CellAt(at.x, at.y);
        if (cell == nullptr) continue;
        ChangeCell(*cell, random);
        cells.push_back(at);
      }
      twins.Changed(cells);
      label += " change of " + std::to_string(cells.size());
      if (count == 1) {
        EXPECT_LT(AreaOf(twins.parts.presented), viewArea / 8) << label;
      }
    } else if (what < 8) {
      // A new selection reports the old and the new cell.
      std::vector<CellPos> cells;
      if (twins.land().HasSelection())
        cells.push_back({twins.land().selectedX, twins.land().selectedY});
      const CellPos at = CellNearView(*twins.parts.map, random);
      twins.land().Select(at.x, at.y);
      cells.push_back(at);
      twins.Changed(cells);
      label += " selection";
    } else {
      twins.Tick();
      label += " tick";
    }
    ASSERT_TRUE(twins.Same()) << label;
  }
}

TEST(MapRefresh, RandomStepsLeaveTheWindowOfAFullRefresh) {
  TestPictures pictures;
  MakeMovingAnimation(pictures.animation);
  struct Size {
    std::int32_t width, height, steps;
  };
  for (const Size& s :
       {Size{1024, 768, 80}, Size{1366, 768, 60}, Size{1920, 1080, 40}, Size{3840, 2160, 16}}) {
    RunSequence(s.width, s.height, s.steps, pictures.Slots());
  }
}

// The same at every scale, with zooms between the steps.
TEST(MapRefresh, RandomStepsWithZoomsLeaveTheWindowOfAFullRefreshAtEveryScale) {
  TestPictures pictures;
  MakeMovingAnimation(pictures.animation);
  std::vector<std::unique_ptr<ScaledSheets>> scales;
  for (const MapScale& scale : kMapScales) scales.push_back(std::make_unique<ScaledSheets>(scale));
  RunSequence(1024, 768, 80, pictures.Slots(), scales);
  RunSequence(1920, 1080, 24, pictures.Slots(), scales);
}

// Animation frames drawn over the selection marker that covers part of them in painter's
// order: a change elsewhere puts painter's order back there too, as a full refresh does.
TEST(MapRefresh, FramesDrawnOverWhatCoversThemAreDrawnAgainInPainterOrder) {
  TestPictures pictures;
  MakeMovingAnimation(pictures.animation);
  Twins twins(1024, 768, pictures.Slots());
  Land& land = twins.land();
  const CellPos centre{land.centerX, land.centerY};
  // The upper-left neighbour runs; the marker behind the selected cell paints its whole box.
  MapCell& running = land.Cell(centre.x - 1, centre.y);
  running.revealMask = kRevealAll;
  running.sheet = kSheetStructure;
  running.frame = 36;
  running.animStart = 3;
  running.animLength = 4;
  std::vector<CellPos> cells{{centre.x - 1, centre.y}, centre};
  if (land.HasSelection()) cells.push_back({land.selectedX, land.selectedY});
  land.Select(centre.x, centre.y);
  twins.Changed(cells);
  ASSERT_TRUE(twins.Same());
  twins.Tick();
  ASSERT_TRUE(twins.Same());
  const CellPos far{centre.x + 3, centre.y + 3};
  land.Cell(far.x, far.y).revealMask = 3;
  twins.Changed({far});
  EXPECT_TRUE(twins.Same());
  twins.Tick();
  twins.Scroll(ScrollRight);
  EXPECT_TRUE(twins.Same());
}

// A step moves the map surface by a whole tile, draws only the strips it uncovers and
// presents the whole view and the minimap; at the edge of the view square it still refreshes.
TEST(MapRefresh, ScrollPresentsTheViewAndTheMinimapOnce) {
  TestPictures pictures;
  Twins twins(1024, 768, pictures.Slots());
  WorldIso3D& map = *twins.parts.map;
  const gfx::MemVideo before = *map.mapSurface;
  twins.Scroll(ScrollRight);
  ASSERT_TRUE(twins.Same());
  EXPECT_EQ(twins.parts.presented, (std::vector<gfx::IntRect>{map.viewRect, map.miniMapRect}));
  // Content moved one tile to the left.
  for (std::int32_t y = 100; y < 600; y += 37) {
    for (std::int32_t x = 200; x < 1000; x += 41) {
      ASSERT_EQ(map.mapSurface->at(x - 144, y), before.at(x, y)) << x << "," << y;
    }
  }
  for (std::int32_t i = 0; i < 80; ++i) twins.Scroll(ScrollUpLeft);
  const CellPos corner{map.land.centerX, map.land.centerY};
  twins.Scroll(ScrollUpLeft);
  EXPECT_EQ((CellPos{map.land.centerX, map.land.centerY}), corner);
  EXPECT_EQ(twins.parts.presented, (std::vector<gfx::IntRect>{map.viewRect, map.miniMapRect}));
  EXPECT_TRUE(twins.Same());
}

// After someone else drew into the map surface, or with the centre moved behind the view's
// back, a change draws the whole map once; changes far outside the view draw nothing of it.
TEST(MapRefresh, UnknownSurfaceOrFarCellsAreHandledSoundly) {
  TestPictures pictures;
  Twins twins(1024, 768, pictures.Slots());
  WorldIso3D& map = *twins.parts.map;
  gfx::FillSurface(*map.mapSurface, gfx::kWhite);
  map.ForgetAnimationFrames();
  twins.Changed({{0, 0}});
  EXPECT_TRUE(twins.Same());
  EXPECT_EQ(twins.parts.presented, (std::vector<gfx::IntRect>{map.viewRect, map.miniMapRect}));

  map.CenterOnCell(map.land.centerX + 6, map.land.centerY);
  twins.Changed({});
  EXPECT_TRUE(twins.Same());

  twins.Changed({{-5, 3}, {1 << 30, -(1 << 30)}, {0, 128}});
  EXPECT_TRUE(twins.Same());
  EXPECT_EQ(twins.parts.presented, (std::vector<gfx::IntRect>{map.miniMapRect}));
}

TEST(MapRefresh, MinimapCellsAreDrawnAsTheWholeMinimapDrawsThem) {
  TestPictures pictures;
  Twins twins(1024, 768, pictures.Slots());
  Land& land = twins.land();
  std::vector<CellPos> cells;
  // The corners and edges of the view square, where the minimap's rows start and end.
  for (const ViewPos view : {ViewPos{0, 0}, ViewPos{128, 0}, ViewPos{0, 128}, ViewPos{128, 128},
                             ViewPos{1, 127}, ViewPos{127, 1}, ViewPos{64, 64}}) {
    const CellPos at = land.ViewToCell(view);
    MapCell* cell = land.CellAt(at.x, at.y);
    ASSERT_NE(cell, nullptr);
    cell->revealMask = kRevealAll;
    cell->type = 25;
    cells.push_back(at);
  }
  twins.Changed(cells);
  EXPECT_TRUE(twins.Same());
}

}  // namespace
}  // namespace world
