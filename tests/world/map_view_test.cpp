// Drawing the map with made-up pictures whose every frame has its own colour: which frame of
// which sheet lands where, the selection marker, fog and lift, animations, and the minimap.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "screens/game_layout.h"
#include "tests/world/test_pictures.h"
#include "world/animation_changes.h"
#include "world/map_generation.h"
#include "world/world_iso3d.h"

namespace world {
namespace {

using testing::Anim;
using testing::FrameColor;
using testing::MakeMovingAnimation;
using testing::Mini;
using testing::TestPictures;
using testing::Tiles0;
using testing::Tiles1;
using testing::Tiles2;

const gfx::FracRect kWholeScreen{0.0f, 0.0f, 1.0f, 1.0f};
using screens::kGameViewArea;
using screens::kMiniMapArea;

// A back buffer with a window behind it: presenting copies a rectangle to the window, so the
// window shows what a player would see.
struct Screen {
  Screen(std::int32_t width, std::int32_t height)
      : backBuffer(width, height), window(width, height) {}
  gfx::AppVideo Size() const { return {backBuffer.width(), backBuffer.height()}; }
  MapScreen Target() {
    return {[this] { return &backBuffer; },
            [this](const gfx::IntRect& r) {
              presented.push_back(r);
              gfx::CopyRect(backBuffer, r, window, r.left, r.top);
            }};
  }
  gfx::MemVideo backBuffer;
  gfx::MemVideo window;
  std::vector<gfx::IntRect> presented;
};

MapCell Ground(std::uint8_t frame, std::uint8_t reveal = kRevealAll) {
  MapCell cell;
  cell.revealMask = reveal;
  cell.frame = frame;
  return cell;
}

MapCell Structure(std::uint8_t sheet, std::uint8_t frame, std::uint8_t type, std::uint8_t reveal) {
  MapCell cell;
  cell.revealMask = reveal;
  cell.sheet = sheet;
  cell.frame = frame;
  cell.type = type;
  return cell;
}

// A 288 x 192 screen shows a 2 x 2 view at its own size, so the back buffer is the map surface.
class SmallView : public ::testing::Test {
 protected:
  SmallView()
      : screen(288, 192),
        map(kWholeScreen, land, screen.Size(), screen.Target(), pictures.Slots()) {
    for (MapCell& cell : land.cells) cell = Ground(16);
    land.centerX = 64;
    land.centerY = 64;
  }
  gfx::Color At(std::int32_t x, std::int32_t y) const { return map.mapSurface->at(x, y); }

  TestPictures pictures;
  Screen screen;
  Land land;
  WorldIso3D map;
};

TEST_F(SmallView, ExploredGroundFillsItsTileBox) {
  map.DrawCell(Ground(20), 40, 30);
  EXPECT_EQ(At(112, 78), FrameColor(Tiles0, 20));
  EXPECT_EQ(At(112, 30), FrameColor(Tiles0, 20));
  EXPECT_EQ(At(41, 78), FrameColor(Tiles0, 20));
  // The corners of the box are the picture's holes.
  EXPECT_EQ(At(40, 30), gfx::kBlack);
  EXPECT_EQ(At(183, 125), gfx::kBlack);
  EXPECT_EQ(At(112, 29), gfx::kBlack);
}

TEST_F(SmallView, UnexploredCellShowsFrameZeroWhateverItHolds) {
  map.DrawCell(Structure(kSheetStructure, 40, 22, 0), 40, 30);
  EXPECT_EQ(At(112, 78), FrameColor(Tiles0, 0));
  EXPECT_EQ(At(112, 30), FrameColor(Tiles0, 0));
  EXPECT_EQ(At(112, 21), gfx::kBlack) << "nothing is lifted";
}

TEST_F(SmallView, PartlyExploredStructureIsLiftedWithItsFog) {
  for (std::uint8_t sheet : {kSheetStructure, kSheetSite}) {
    gfx::FillSurface(*map.mapSurface, gfx::kBlack);
    map.DrawCell(Structure(sheet, 7, 3, kRevealTop | kRevealBottom), 40, 30);
    const testing::Sheet expected = sheet == kSheetStructure ? Tiles1 : Tiles2;
    for (std::int32_t y = 0; y < 192; ++y) {
      gfx::Color want = gfx::kBlack;
      if (y >= 21 && y < 21 + 48) {
        want = FrameColor(Tiles0, 5);  // the overlay, lifted with the structure
      } else if (y >= 21 + 48 && y < 21 + 105) {
        want = FrameColor(expected, 7);
      }
      ASSERT_EQ(At(112, y), want) << "sheet " << int{sheet} << " row " << y;
    }
  }
  // Fully explored: no overlay at all.
  map.DrawCell(Structure(kSheetStructure, 7, 3, kRevealAll), 40, 30);
  EXPECT_EQ(At(112, 21), FrameColor(Tiles1, 7));
}

TEST_F(SmallView, MapIsDrawnInPainterOrderWithTheSelectionMarker) {
  land.Cell(64, 64) = Ground(18);
  land.Cell(63, 64) = Ground(19);
  land.Select(64, 64);
  map.DrawMap();
  // The centre cell's box is (72, 48)-(216, 144); its upper neighbours are drawn before it.
  EXPECT_EQ(At(144, 96), FrameColor(Tiles0, 18));
  EXPECT_EQ(At(75, 96), FrameColor(Tiles1, 1)) << "marker in front, at the left strip";
  EXPECT_EQ(At(84, 96), FrameColor(Tiles0, 18)) << "right of the strip";
  EXPECT_EQ(At(144, 42), FrameColor(Tiles1, 0)) << "marker behind, above the cell's box";
  EXPECT_EQ(At(60, 48), FrameColor(Tiles0, 19)) << "the upper-left neighbour";
  // Without the selection the neighbour's tile lies where the marker was.
  land.ClearSelection();
  map.DrawMap();
  EXPECT_EQ(At(144, 42), FrameColor(Tiles0, 16));
}

TEST_F(SmallView, PositionsOutsideTheGridGetTheOutsideTile) {
  land.centerX = 0;
  land.centerY = 0;
  map.DrawMap();
  EXPECT_EQ(At(10, 10), FrameColor(Tiles0, 15));
  EXPECT_EQ(At(280, 10), FrameColor(Tiles0, 15));
  EXPECT_EQ(At(144, 96), FrameColor(Tiles0, 16));  // the cell (0, 0)
}

TEST_F(SmallView, AnimatedStructuresShowTheirCurrentFrame) {
  MapCell pub = Structure(kSheetStructure, 36, 21, kRevealAll);
  pub.animStart = 15;
  pub.animLength = 4;
  pub.variant = 2;
  land.Cell(64, 64) = pub;
  map.DrawMap();
  // Frame 15 + 2 - 1 over columns 120..167 and rows 67..114 around the anchor (144, 96).
  EXPECT_EQ(At(120, 67), FrameColor(Anim, 16));
  EXPECT_EQ(At(167, 114), FrameColor(Anim, 16));
  EXPECT_EQ(At(119, 67), FrameColor(Tiles1, 36));
  EXPECT_EQ(At(168, 114), FrameColor(Tiles1, 36));
  EXPECT_EQ(At(120, 66), FrameColor(Tiles1, 36));

  // Stepping and redrawing changes only the animation's square.
  gfx::MemVideo before = *map.mapSurface;
  map.StepAnimations();
  screen.presented.clear();
  map.RedrawAnimations();
  std::int32_t changed = 0;
  for (std::int32_t y = 0; y < 192; ++y) {
    for (std::int32_t x = 0; x < 288; ++x) {
      if (At(x, y) == before.at(x, y)) continue;
      ++changed;
      ASSERT_EQ(At(x, y), FrameColor(Anim, 17)) << x << "," << y;
    }
  }
  EXPECT_EQ(changed, 48 * 48);
  EXPECT_EQ(screen.backBuffer.at(130, 80), FrameColor(Anim, 17));
  EXPECT_EQ(screen.window.at(130, 80), FrameColor(Anim, 17));
  EXPECT_EQ(screen.presented.size(), 1u);
}

// A structure in front that the map drew over part of an animation square: the next redraw
// draws the whole new frame over it, not just what the frames differ in.
TEST_F(SmallView, RedrawDrawsWholeFramesWhereTheMapCoveredThem) {
  gfx::WBitmap moving;
  MakeMovingAnimation(moving);
  map.pictures.animation = &moving;
  MapCell disco = Structure(kSheetStructure, 36, 21, kRevealAll);
  disco.animStart = 2;
  disco.animLength = 2;
  land.Cell(64, 64) = disco;
  // Frame 0 of tiles1 paints its whole box; in front, it covers the square's lower right.
  land.Cell(65, 64) = Structure(kSheetStructure, 0, 21, kRevealAll);
  map.DrawMap();
  ASSERT_EQ(At(160, 110), FrameColor(Tiles1, 0));
  map.StepAnimations();
  map.RedrawAnimations();
  const gfx::IntRect source = gfx::FrameSourceRect(moving, 2);
  for (std::int32_t y = 0; y < 48; ++y) {
    for (std::int32_t x = 0; x < 48; ++x) {
      ASSERT_EQ(At(120 + x, 67 + y), moving.bitmap->at(source.left + x, source.top + y))
          << x << "," << y;
    }
  }
  // From then on only the moving block is redrawn: frames 1 and 2 differ in 17 x 15 pixels.
  map.StepAnimations();
  screen.presented.clear();
  map.RedrawAnimations();
  ASSERT_EQ(screen.presented.size(), 1u);
  EXPECT_EQ(screen.presented[0], gfx::IntRect::FromSize(120 + 7, 67 + 5, 17, 15));
}

// The shell frees the back buffer and makes a new one when the window changes size, so the map
// asks for it at each use: it draws into whichever is current, as far as it reaches, and into
// none while there is none.
TEST(MapScreenTarget, TheBackBufferIsLookedUpAtEachUse) {
  TestPictures pictures;
  auto backBuffer = std::make_unique<gfx::MemVideo>(288, 192);
  std::int32_t lookups = 0;
  const MapScreen target{[&] {
                           ++lookups;
                           return backBuffer.get();
                         },
                         {}};
  Land land;
  for (MapCell& cell : land.cells) cell = Ground(16);
  MapCell pub = Structure(kSheetStructure, 36, 21, kRevealAll);
  pub.animStart = 15;
  pub.animLength = 4;
  land.Cell(64, 64) = pub;
  land.centerX = land.centerY = 64;
  WorldIso3D map(kWholeScreen, land, {288, 192}, target, pictures.Slots());
  map.miniMapRect = {0, 0, 64, 64};

  map.RefreshAll();
  EXPECT_EQ(backBuffer->at(10, 150), FrameColor(Tiles0, 16));
  EXPECT_EQ(backBuffer->at(130, 80), FrameColor(Anim, 14));
  EXPECT_EQ(lookups, 2) << "one for the view, one for the minimap, not one per row";

  // The shell made it anew, smaller.
  backBuffer = std::make_unique<gfx::MemVideo>(200, 100);
  map.RefreshAll();
  EXPECT_EQ(backBuffer->at(130, 80), FrameColor(Anim, 14));
  map.StepAnimations();
  lookups = 0;
  map.RedrawAnimations();
  EXPECT_EQ(backBuffer->at(130, 80), FrameColor(Anim, 15));
  EXPECT_EQ(lookups, 1);

  // Between freeing one and making the next there is none: the map surface still follows.
  backBuffer.reset();
  map.StepAnimations();
  map.RedrawAnimations();
  map.RefreshAll();
  map.ShowMiniMap(true);
  EXPECT_EQ(map.mapSurface->at(130, 80), FrameColor(Anim, 16));
}

TEST(StepAnimations, LengthFourCyclesThroughItsPhases) {
  Land land(20);
  WorldIso3D map(kWholeScreen, land, {}, MapScreen{});
  MapCell& animated = land.Cell(3, 4);
  animated.animStart = 5;
  animated.animLength = 4;
  MapCell& plain = land.Cell(5, 5);
  plain.variant = 2;  // a look variant, which only animated cells step
  std::vector<int> phases;
  for (int step = 0; step < 5; ++step) {
    map.StepAnimations();
    phases.push_back(animated.variant);
  }
  EXPECT_EQ(phases, (std::vector<int>{1, 2, 3, 0, 1}));
  EXPECT_EQ(plain.variant, 2);
  // A broken length never leaves the phase outside 0.
  animated.animLength = 0;
  map.StepAnimations();
  EXPECT_EQ(animated.variant, 0);
}

TEST(AnimationChanges, BoxOfThePixelsTwoFramesDifferIn) {
  gfx::WBitmap sheet;
  MakeMovingAnimation(sheet);
  AnimationChanges changes;
  // Frame 1's block is at (7, 5), frame 2's at (14, 10).
  EXPECT_EQ(changes.Between(&sheet, 1, 2), (gfx::IntRect{7, 5, 24, 20}));
  EXPECT_EQ(changes.Between(&sheet, 2, 1), (gfx::IntRect{7, 5, 24, 20}));
  EXPECT_TRUE(changes.Between(&sheet, 40, 41).IsEmpty());
  EXPECT_TRUE(changes.Between(&sheet, 5, 5).IsEmpty());
  // Unknown frames and frames past the sheet change the whole square; no sheet, nothing.
  const gfx::IntRect whole{0, 0, 48, 48};
  EXPECT_EQ(changes.Between(&sheet, -1, 3), whole);
  EXPECT_EQ(changes.Between(&sheet, 3, 48), whole);
  EXPECT_EQ(changes.Between(&sheet, 300, 3), whole);
  EXPECT_EQ(changes.Between(&sheet, 1, 2),
            (gfx::IntRect{7, 5, 24, 20}));  // still known after frames past the sheet
  EXPECT_TRUE(changes.Between(nullptr, 1, 2).IsEmpty());
  // Another sheet is compared anew.
  gfx::WBitmap plain;
  TestPictures::MakeGrid8(plain, Anim, 48, 48, 48,
                          [](std::int32_t) { return testing::Paint::Whole; });
  EXPECT_EQ(changes.Between(&plain, 1, 2), whole);
}

// Tick after tick, redrawing animations draws, stretches and presents only what changed; the
// map must end up as if every frame were drawn whole, and the window as after a full stretch
// and present, also when cells change animation or are drawn between ticks.
TEST(RedrawAnimations, WindowMatchesAFullStretchAtEverySize) {
  struct Case {
    std::int32_t width, height;
    gfx::FracRect area;
  };
  const Case cases[] = {
      {1024, 768, kGameViewArea},
      {1920, 1080, kGameViewArea},
      {3840, 2160, kGameViewArea},
      {1366, 768, kGameViewArea},
      // A small view of a wide surface: the stretch shrinks by more than half.
      {1024, 768, gfx::FracRect::FromSize(0.1f, 0.2f, 0.22f, 0.3f)},
  };
  TestPictures pictures;
  MakeMovingAnimation(pictures.animation);
  auto differences = [](const gfx::MemVideo& a, const gfx::MemVideo& b) {
    std::int32_t count = 0;
    for (std::int32_t y = 0; y < a.height(); ++y) {
      for (std::int32_t x = 0; x < a.width(); ++x) count += a.at(x, y) != b.at(x, y);
    }
    return count;
  };
  for (const Case& c : cases) {
    for (std::int32_t animatedEvery : {20, 1}) {
      const std::string label = std::to_string(c.width) + "x" + std::to_string(c.height) +
                                " every " + std::to_string(animatedEvery);
      // `map` redraws what changed; `whole` forgets its frames before every redraw, so it
      // draws them whole, as a redraw without memory would.
      Screen screen(c.width, c.height), wholeScreen(c.width, c.height);
      Land land, wholeLand;
      WorldIso3D map(c.area, land, screen.Size(), screen.Target(), pictures.Slots());
      WorldIso3D whole(c.area, wholeLand, wholeScreen.Size(), wholeScreen.Target(),
                       pictures.Slots());
      Random random(7);
      GenerateMap(land, random);
      map.Recentre();
      for (MapCell& cell : land.cells) {
        cell.revealMask = kRevealAll;
        if (random.Below(animatedEvery) != 0) continue;
        cell.sheet = kSheetStructure;
        cell.frame = 36;
        cell.animStart = static_cast<std::uint8_t>(1 + random.Below(44));
        cell.animLength = 4;
        cell.variant = static_cast<std::uint8_t>(random.Below(4));
      }
      wholeLand = land;
      map.RefreshAll();
      whole.RefreshAll();
      std::int64_t changedArea = 0, wholeArea = 0;
      for (int tick = 0; tick < 5; ++tick) {
        if (tick == 2) {
          // Some cells change their animation between ticks.
          for (std::size_t i = 0; i < land.cells.size(); i += 7) {
            MapCell& cell = land.cells[i];
            if (cell.animStart != 0) cell.animStart = static_cast<std::uint8_t>(41 - cell.variant);
          }
          wholeLand.cells = land.cells;
        }
        if (tick == 3) {
          const gfx::IntRect box = map.TileBox({64, 64});
          map.DrawCell(land.Cell(64, 64), box.left, box.top);
          whole.DrawCell(wholeLand.Cell(64, 64), box.left, box.top);
        }
        map.StepAnimations();
        whole.StepAnimations();
        screen.presented.clear();
        map.RedrawAnimations();
        whole.ForgetAnimationFrames();
        whole.RedrawAnimations();
        auto areaOf = [](const std::vector<gfx::IntRect>& rects) {
          std::int64_t area = 0;
          for (const gfx::IntRect& r : rects) area += std::int64_t{r.Width()} * r.Height();
          return area;
        };
        // DrawCell forgets every frame, so tick 3 draws them whole.
        if (tick != 3) {
          changedArea += areaOf(screen.presented);
          wholeArea += areaOf(wholeScreen.presented);
        }
        wholeScreen.presented.clear();
        ASSERT_EQ(differences(*map.mapSurface, *whole.mapSurface), 0) << label << " tick " << tick;
        gfx::MemVideo expected = screen.window;
        gfx::StretchRect(*map.mapSurface, map.shownPart, expected, map.viewRect, true);
        ASSERT_EQ(differences(screen.window, expected), 0) << label << " tick " << tick;
        ASSERT_EQ(differences(wholeScreen.window, expected), 0) << label << " tick " << tick;
      }
      // Where the frames are known, only the moving blocks are redrawn.
      EXPECT_LT(changedArea, wholeArea / 2) << label;
    }
  }
}

class MiniMapTest : public ::testing::Test {
 protected:
  MiniMapTest()
      : screen(1024, 768),
        map(kGameViewArea, land, screen.Size(), screen.Target(), pictures.Slots()) {
    for (MapCell& cell : land.cells) cell = Ground(16, 0);
    map.miniMapRect = gfx::FracToPixels(kMiniMapArea, 1024, 768);
  }
  // The minimap pixels of a cell: two side by side, at its view coordinates.
  void ExpectMiniFrame(CellPos cell, std::int32_t frame) {
    const ViewPos view = map.CellToView(cell);
    for (std::int32_t x : {view.u - 1, view.u}) {
      EXPECT_EQ(map.miniMapSurface->at(x, view.v), FrameColor(Mini, frame))
          << "cell " << cell.x << "," << cell.y << " pixel " << x;
    }
  }
  TestPictures pictures;
  Screen screen;
  Land land;
  WorldIso3D map;
};

TEST_F(MiniMapTest, EachCellGetsTheColourOfWhatItHolds) {
  land.Cell(64, 64) = Ground(20);
  land.Cell(65, 64) = Ground(27);
  land.Cell(66, 64) = Structure(kSheetStructure, 2, kTypeLandingModule, kRevealAll);
  land.Cell(67, 64) = Structure(kSheetGround, 29, kTypeHighway, kRevealAll);
  land.Cell(68, 64) = Structure(kSheetSite, 30, 17, kRevealAll);
  land.Cell(69, 64) = Structure(kSheetStructure, 30, 17, kRevealRight);
  land.Cell(70, 64) = Structure(kSheetStructure, 30, 17, 0);
  map.DrawMiniMap();
  ExpectMiniFrame({64, 64}, 12);
  ExpectMiniFrame({65, 64}, 19);
  ExpectMiniFrame({66, 64}, 20);
  ExpectMiniFrame({67, 64}, 21);
  ExpectMiniFrame({68, 64}, 36);
  ExpectMiniFrame({69, 64}, 1);
  ExpectMiniFrame({70, 64}, 0);
  // Every pixel of the square is some cell's.
  for (std::int32_t y = 0; y < 128; ++y) {
    for (std::int32_t x = 0; x < 128; ++x) ASSERT_NE(map.miniMapSurface->at(x, y), gfx::kBlack);
  }
}

TEST_F(MiniMapTest, ViewFrameNeverPassesTheRightOrBottomEdge) {
  map.DrawMiniMap();
  const gfx::Color red = gfx::Rgb(255, 0, 0);
  for (std::int32_t y = 0; y <= 128; y += 2) {
    for (std::int32_t x = 0; x <= 128; x += 2) {
      map.CenterOnCell(x, y);
      gfx::FillSurface(screen.backBuffer, gfx::kWhite);
      map.ShowMiniMap(false);
      bool sawRed = false;
      // The frame is about 12 x 11 pixels; anything past the minimap would lie near it.
      const gfx::IntRect& mini = map.miniMapRect;
      for (std::int32_t py = 0; py < mini.bottom + 30; ++py) {
        for (std::int32_t px = mini.left - 30; px < mini.right + 30; ++px) {
          if (screen.backBuffer.at(px, py) != red) continue;
          sawRed = true;
          ASSERT_LT(px, map.miniMapRect.right) << "centre " << x << "," << y;
          ASSERT_LT(py, map.miniMapRect.bottom) << "centre " << x << "," << y;
        }
      }
      ASSERT_TRUE(sawRed);
    }
  }
  EXPECT_TRUE(screen.presented.empty());
  map.ShowMiniMap(true);
  EXPECT_EQ(screen.presented, (std::vector<gfx::IntRect>{map.miniMapRect}));
}

TEST_F(MiniMapTest, ClickCentresOnTheCellUnderThePointAndRefreshes) {
  const gfx::IntRect& mini = map.miniMapRect;
  map.MiniMapClick(mini.Width() / 2, mini.Height() / 2);
  const ViewPos centre = map.CellToView({land.centerX, land.centerY});
  EXPECT_NEAR(centre.u, 64, 2);
  EXPECT_NEAR(centre.v, 64, 2);
  EXPECT_TRUE(gfx::IsEven(centre.u - map.viewColumns));
  EXPECT_EQ(screen.presented, (std::vector<gfx::IntRect>{map.viewRect, map.miniMapRect}));
  // The corner is clamped into the view square.
  map.MiniMapClick(0, 0);
  EXPECT_EQ(map.CellToView({land.centerX, land.centerY}), (ViewPos{8, 8}));
}

}  // namespace
}  // namespace world
