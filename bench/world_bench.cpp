// The map view's recurring costs with every cell of the map a running structure: one tick's
// animation step and redraw with its stretch and presentation, a scroll step, a change of one
// cell with its refresh, and, to compare, a full refresh, its floor (the stretch and
// presentation of the whole view alone) and the move of the map surface a scroll makes.
// Presenting copies to window-sized memory of ordinary pages, as the window's own surface is
// written (only our surfaces get huge pages).
//
// The pictures come from the game archive when it lies beside the benchmark's folder (the
// build puts it one level up); otherwise made-up pictures of the same sizes and holes are used.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/mem_video.h"
#include "gfx/pixel_rows.h"
#include "gfx/stretch.h"
#include "gfx/wbitmap.h"
#include "screens/game_layout.h"
#include "world/map_pictures.h"
#include "world/map_scale.h"
#include "world/scaled_sheets.h"
#include "world/world_iso3d.h"

namespace {

using screens::kGameViewArea;
using screens::kMiniMapArea;

struct ScreenSize {
  std::int32_t width, height;
};
constexpr ScreenSize kScreens[] = {{1024, 768}, {1920, 1080}, {3840, 2160}};

// Made-up frames: every tile paints its diamond, structures their whole frame, animations
// their square.
void MakeSheet(gfx::WBitmap& image, std::int32_t frames, std::int32_t fw, std::int32_t fh,
               bool diamond, bool transparent) {
  const std::int32_t rows = (frames + 7) / 8;
  auto surface = std::make_unique<gfx::MemVideo>(8 * (fw + 1) - 1, rows * (fh + 1) - 1);
  for (std::int32_t frame = 0; frame < frames; ++frame) {
    const std::int32_t left = (frame % 8) * (fw + 1);
    const std::int32_t top = (frame / 8) * (fh + 1);
    for (std::int32_t y = 0; y < fh; ++y) {
      for (std::int32_t x = 0; x < fw; ++x) {
        const float dx = (x + 0.5f - fw / 2.0f) / (fw / 2.0f);
        const float dy = (y + 0.5f - (fh - 48)) / 48.0f;
        const bool inside = !diamond || (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < 1.0f;
        if (inside) surface->set(left + x, top + y, gfx::Rgb(frame * 5, x, y));
      }
    }
  }
  gfx::SetImage(image, std::move(surface), gfx::LayoutGrid8, fw, fh, transparent);
}

const world::MapPictureSet& Pictures() {
  static const world::MapPictureSet pictures = [] {
    world::MapPictureSet set;
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto archive = exe.parent_path().parent_path() / world::kMapArchive;
    if (!error && std::filesystem::exists(archive) &&
        world::LoadMapPictures(set, archive.string())) {
      return set;
    }
    MakeSheet(set.tiles0, 39, 144, 96, true, true);
    MakeSheet(set.tiles1, 52, 144, 105, true, true);
    MakeSheet(set.tiles2, 76, 144, 105, true, true);
    MakeSheet(set.animation, 48, 48, 48, false, false);
    MakeSheet(set.miniMap, 54, 2, 1, false, true);
    return set;
  }();
  return pictures;
}

// Every running structure of the game: its tiles1 frame, first animation frame and length.
struct Running {
  std::uint8_t type, frame, animStart, animLength;
};
constexpr Running kRunning[] = {{5, 3, 5, 3},    {6, 4, 8, 3},    {8, 6, 11, 4},   {20, 36, 15, 4},
                                {21, 37, 19, 6}, {22, 38, 25, 3}, {23, 39, 28, 8}, {25, 44, 36, 3},
                                {29, 48, 39, 4}, {31, 49, 43, 6}};

struct Bench {
  // animatedEvery: one cell in that many runs an animation; the others are plain structures.
  // mixed: the animated cells take turns among every running structure instead of all
  // being the Disco.
  // scale: an index of world::kMapScales.
  explicit Bench(const ScreenSize& size, std::int32_t animatedEvery = 1, bool mixed = false,
                 std::size_t scale = world::kNativeScaleIndex)
      : sheets(world::kMapScales[scale]),
        backBuffer(size.width, size.height),
        window(static_cast<std::size_t>(size.width) * size.height),
        map(kGameViewArea, land, {size.width, size.height},
            {[this] { return &backBuffer; }, [this](const gfx::IntRect& r) { Present(r); }},
            Pictures().Slots(), &sheets) {
    map.miniMapRect = gfx::FracToPixels(kMiniMapArea, size.width, size.height);
    std::int32_t n = 0;
    for (world::MapCell& cell : land.cells) {
      cell.revealMask = world::kRevealAll;
      cell.sheet = world::kSheetStructure;
      cell.type = 21;
      cell.frame = 37;
      if (n++ % animatedEvery != 0) continue;
      const Running running = mixed ? kRunning[(n / 3) % std::size(kRunning)] : kRunning[4];
      cell.type = running.type;
      cell.frame = running.frame;
      cell.animStart = running.animStart;
      cell.animLength = running.animLength;
      cell.variant = static_cast<std::uint8_t>(n % running.animLength);
    }
    map.CenterOnCell(64, 64);
    map.DrawMiniMap();
    map.RefreshAll();
  }
  void Present(const gfx::IntRect& r) {
    const gfx::IntRect shown = r.Intersect(backBuffer.bounds());
    if (shown.IsEmpty()) return;
    const std::size_t pitch = static_cast<std::size_t>(backBuffer.width()) * 4;
    gfx::CopyPixelRows(
        reinterpret_cast<std::uint8_t*>(
            window.data() + static_cast<std::size_t>(shown.top) * backBuffer.width() + shown.left),
        pitch, reinterpret_cast<const std::uint8_t*>(backBuffer.row(shown.top) + shown.left), pitch,
        shown.Width(), shown.Height());
  }
  world::ScaledSheets sheets;
  gfx::MemVideo backBuffer;
  std::vector<gfx::Color> window;
  world::Land land;
  world::WorldIso3D map;
};

void Label(benchmark::State& state) {
  const ScreenSize& size = kScreens[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(std::to_string(size.width) + "x" + std::to_string(size.height));
}

// forgetFrames: each tick starts as after DrawCell, with nothing known of the frames on the map.
void RunTicks(benchmark::State& state, Bench& bench, bool forgetFrames = false) {
  for (auto _ : state) {
    if (forgetFrames) bench.map.ForgetAnimationFrames();
    bench.map.StepAnimations();
    bench.map.RedrawAnimations();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

void BM_AnimationTick(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  RunTicks(state, bench);
}

// Every cell running, each kind of running structure in turn.
void BM_AnimationTickMixed(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))], 1, true);
  RunTicks(state, bench);
}

// A colony as played: one structure in ten animated.
void BM_AnimationTickTenth(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))], 10);
  RunTicks(state, bench);
}

// The first tick after a full refresh where nothing is known of the frames on the map (as
// after DrawCell): every square is drawn whole.
void BM_AnimationTickUnknownFrames(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  RunTicks(state, bench, true);
}

void BM_FullRefresh(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state) {
    bench.map.RefreshAll();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// What no refresh of the whole view can go below: its stretch and presentation.
void BM_StretchAndPresentView(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state) {
    bench.map.StretchMap();
    bench.map.PresentView();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// One scroll step back and forth, sideways or up and down: the map surface moves by a tile
// and the uncovered strip is drawn, then the whole view is stretched and presented.
void RunScrolls(benchmark::State& state, std::int32_t there, std::int32_t back, std::size_t screen,
                std::size_t scale = world::kNativeScaleIndex) {
  Bench bench(kScreens[screen], 1, false, scale);
  std::int32_t direction = there;
  for (auto _ : state) {
    bench.map.Scroll(direction);
    direction = direction == there ? back : there;
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

void BM_ScrollSideways(benchmark::State& state) {
  RunScrolls(state, world::ScrollLeft, world::ScrollRight,
             static_cast<std::size_t>(state.range(0)));
}

void BM_ScrollUpDown(benchmark::State& state) {
  RunScrolls(state, world::ScrollUp, world::ScrollDown, static_cast<std::size_t>(state.range(0)));
}

// The memory move alone of a sideways step, against the drawing it saves.
void BM_MapSurfaceMove(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  gfx::MemVideo& surface = *bench.map.mapSurface;
  std::int32_t shift = bench.map.tileWidth;
  for (auto _ : state) {
    gfx::ShiftPixels(surface, shift, 0);
    shift = -shift;
    benchmark::DoNotOptimize(surface.pixels());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// A cell in the middle of the view changes its picture (a structure finished, placed or
// demolished) and the view follows: its neighbourhood drawn, stretched and presented, and the
// minimap shown.
void BM_OneCellChange(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  const world::CellPos cell{bench.land.centerX, bench.land.centerY};
  world::MapCell& changing = bench.land.Cell(cell.x, cell.y);
  for (auto _ : state) {
    changing.frame = changing.frame == 37 ? 36 : 37;
    bench.map.RedrawCells({&cell, 1});
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// An accelerated tick of a busy colony: a building site in view finishes (a different cell
// each day) and every cell runs its animation; the change is drawn, then the animations.
void BM_AcceleratedTickBusy(benchmark::State& state) {
  Bench bench(kScreens[static_cast<std::size_t>(state.range(0))]);
  const world::CellPos centre{bench.land.centerX, bench.land.centerY};
  std::int32_t day = 0;
  for (auto _ : state) {
    const world::CellPos cell{centre.x + day % 7 - 3, centre.y + day % 5 - 2};
    world::MapCell& site = bench.land.Cell(cell.x, cell.y);
    site.sheet = site.sheet == world::kSheetSite ? world::kSheetStructure : world::kSheetSite;
    ++day;
    bench.map.RedrawCells({&cell, 1});
    bench.map.StepAnimations();
    bench.map.RedrawAnimations();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// The zoomed map at 3840 x 2160, range(0) the index of the scale (0 is 50 %, 4 is 200 %).
constexpr std::size_t kLargestScreen = 2;

void LabelScale(benchmark::State& state) {
  state.SetLabel(
      std::to_string(world::kMapScales[static_cast<std::size_t>(state.range(0))].percent) +
      " % at 3840x2160");
}

void BM_AnimationTickAtScale(benchmark::State& state) {
  Bench bench(kScreens[kLargestScreen], 1, false, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    bench.map.StepAnimations();
    bench.map.RedrawAnimations();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  LabelScale(state);
}

void BM_AcceleratedTickBusyAtScale(benchmark::State& state) {
  Bench bench(kScreens[kLargestScreen], 1, false, static_cast<std::size_t>(state.range(0)));
  const world::CellPos centre{bench.land.centerX, bench.land.centerY};
  std::int32_t day = 0;
  for (auto _ : state) {
    const world::CellPos cell{centre.x + day % 7 - 3, centre.y + day % 5 - 2};
    world::MapCell& site = bench.land.Cell(cell.x, cell.y);
    site.sheet = site.sheet == world::kSheetSite ? world::kSheetStructure : world::kSheetSite;
    ++day;
    bench.map.RedrawCells({&cell, 1});
    bench.map.StepAnimations();
    bench.map.RedrawAnimations();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  LabelScale(state);
}

void BM_ScrollSidewaysAtScale(benchmark::State& state) {
  RunScrolls(state, world::ScrollLeft, world::ScrollRight, kLargestScreen,
             static_cast<std::size_t>(state.range(0)));
  LabelScale(state);
}

// A zoom step as the wheel makes it, from the scale above (below, for 200 %) to range(0) and
// back: a view at the new scale, centred about the pointer, the minimap drawn anew and the map
// drawn, stretched and presented whole. range(1) 0: the frames in view were scaled before (as
// after the first visit of a scale); 1: every step scales them afresh (a scale's first visit).
void BM_ZoomStep(benchmark::State& state) {
  const auto to = static_cast<std::size_t>(state.range(0));
  const std::size_t from = to + 1 < world::kMapScales.size() ? to + 1 : to - 1;
  const bool cold = state.range(1) != 0;
  Bench bench(kScreens[kLargestScreen], 1, false, from);
  world::ScaledSheets fromSheets(world::kMapScales[from]);
  world::ScaledSheets toSheets(world::kMapScales[to]);
  const gfx::IntRect view = bench.map.viewRect;
  const std::int32_t sx = view.left + view.Width() / 3;
  const std::int32_t sy = view.top + view.Height() / 3;
  auto zoom = [&](world::ScaledSheets& sheets, std::unique_ptr<world::WorldIso3D>& map,
                  const world::WorldIso3D& now) {
    const world::ViewPos centre = bench.land.CellToView({bench.land.centerX, bench.land.centerY});
    const auto ground = now.GroundAt({1.0 * centre.u, 1.0 * centre.v}, sx, sy);
    map = std::make_unique<world::WorldIso3D>(
        kGameViewArea, bench.land,
        gfx::AppVideo{bench.backBuffer.width(), bench.backBuffer.height()}, bench.map.screen,
        bench.map.pictures, &sheets);
    map->miniMapRect = bench.map.miniMapRect;
    map->CenterNear(map->CentreFor(ground, sx, sy));
    map->DrawMiniMap();
    map->RefreshAll();
  };
  std::unique_ptr<world::WorldIso3D> there;
  std::unique_ptr<world::WorldIso3D> back;
  zoom(toSheets, there, bench.map);
  zoom(fromSheets, back, *there);
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      toSheets.Clear();
      state.ResumeTiming();
    }
    zoom(toSheets, there, *back);
    state.PauseTiming();
    zoom(fromSheets, back, *there);
    state.ResumeTiming();
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel(std::to_string(world::kMapScales[from].percent) + " % to " +
                 std::to_string(world::kMapScales[to].percent) + (cold ? " %, first visit" : " %") +
                 " at 3840x2160");
}

// The other way to zoom out, measured to choose: the map drawn at the pictures' own size on a
// surface as much larger as the scale is smaller (at 50 %, twice the width and height of the
// view's surface), smoothed down into the view. This is the floor of its scroll step and tick.
void BM_StretchOfANativeSizeSurfaceAtHalfScale(benchmark::State& state) {
  Bench bench(kScreens[kLargestScreen]);
  const gfx::MemVideo& surface = *bench.map.mapSurface;
  gfx::MemVideo large(2 * surface.width(), 2 * surface.height());
  const gfx::IntRect shown{0, 0, 2 * bench.map.shownPart.Width(), 2 * bench.map.shownPart.Height()};
  for (auto _ : state) {
    gfx::StretchRect(large, shown, bench.backBuffer, bench.map.viewRect, true);
    bench.Present(bench.map.viewRect);
    benchmark::DoNotOptimize(bench.window.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel("3840x2160, a surface of " + std::to_string(large.width()) + "x" +
                 std::to_string(large.height()));
}

// Scaling the pictures: the animation sheet whole (as the first draw at a scale does), or with
// every frame of the tile sheets too (range(1) 1), for the scale of index range(0).
void BM_ScaleSheets(benchmark::State& state) {
  const world::MapScale& scale = world::kMapScales[static_cast<std::size_t>(state.range(0))];
  const bool tiles = state.range(1) != 0;
  for (auto _ : state) {
    world::ScaledSheets sheets(scale);
    const world::MapPictures scaled = sheets.Follow(Pictures().Slots());
    if (tiles) {
      for (const gfx::WBitmap* sheet : {scaled.tiles0, scaled.tiles1, scaled.tiles2}) {
        for (std::int32_t frame = 0; frame < 80; ++frame) {
          std::int32_t n = frame;
          benchmark::DoNotOptimize(sheets.Prepare(sheet, n));
        }
      }
    }
    benchmark::DoNotOptimize(sheets.FramesScaled());
  }
  state.SetLabel(std::to_string(scale.percent) + (tiles ? " %, every frame" : " %, animation"));
}

BENCHMARK(BM_ScaleSheets)->ArgsProduct({{0, 1, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationTickAtScale)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcceleratedTickBusyAtScale)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollSidewaysAtScale)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoomStep)->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchOfANativeSizeSurfaceAtHalfScale)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_AnimationTick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationTickMixed)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationTickTenth)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationTickUnknownFrames)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRefresh)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchAndPresentView)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollSideways)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollUpDown)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapSurfaceMove)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneCellChange)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcceleratedTickBusy)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
