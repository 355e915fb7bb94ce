// The game screen's own work on a day at accelerated speed: the day itself and every panel
// redraw it causes (date box, counter box, info area with the Status page), presented, first
// with no change of the map, then on a busy colony, at 1024 x 768, 1920 x 1080 and
// 3840 x 2160. The screen runs on the
// headless platform from the build folder's archives, as the game does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/main_wnd.h"
#include "bench/bench_game.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"
#include "world/random.h"

namespace {

constexpr gfx::AppVideo kSizes[] = {{1024, 768}, {1920, 1080}, {3840, 2160}};

struct RunningGame {
  explicit RunningGame(gfx::AppVideo size) : platform(size) {
    window = bench_support::OpenGameWindow(platform);
    platform.Activate();
    platform.MoveMouse(size.width / 2, size.height / 2);
    platform.Tick(2);
    bench_support::StartColony(platform, *window);
    platform.PressKey(platform::vk::kF7);
  }
  platform::HeadlessPlatform platform;
  std::unique_ptr<app::TMainWnd> window;
};

void BM_AcceleratedDayWithPanels(benchmark::State& bench) {
  RunningGame game(kSizes[bench.range(0)]);
  screens::GameProc& screen = *game.window->gameScreen;
  sim::ColonyState& colony = screen.colony().State();
  for (auto _ : bench) {
    // Far from its target, the growth rate moves every day, so the day redraws the counter
    // box and the Status page beside the date; the colony never changes size.
    colony.growthRate = 30.0f;
    colony.growthAccumulator = 0.0f;
    screen.Tick();
  }
  bench.SetLabel(std::to_string(kSizes[bench.range(0)].width) + "x" +
                 std::to_string(kSizes[bench.range(0)].height));
}
BENCHMARK(BM_AcceleratedDayWithPanels)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The whole accelerated tick of a busy colony: every cell a running Disco, and a Disco in view
// finishing its construction every day, so the day redraws its cell and the panels, and the
// tick then redraws every animation in view.
void BM_AcceleratedTickBusyColony(benchmark::State& bench) {
  RunningGame game(kSizes[bench.range(0)]);
  screens::GameProc& screen = *game.window->gameScreen;
  sim::ColonyState& colony = screen.colony().State();
  world::Land& land = screen.land();
  for (world::MapCell& cell : land.cells) {
    cell = world::MapCell{};
    cell.revealMask = world::kRevealAll;
    cell.sheet = world::kSheetStructure;
    cell.type = sim::kDisco;
    cell.frame = 37;
    cell.animStart = 19;
    cell.animLength = 6;
  }
  screen.worldMap().DrawMiniMap();
  screen.worldMap().RefreshAll();
  const world::CellPos centre{land.centerX, land.centerY};
  std::int32_t day = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    world::MapCell& site = land.Cell(centre.x + day % 7 - 3, centre.y + day % 5 - 2);
    ++day;
    site.sheet = world::kSheetSite;
    site.frame = 48;
    site.animStart = 0;
    site.constructionLeft = 1;
    // Whatever a finished Disco takes, the colony never runs short.
    colony.power = 1000000;
    colony.unemployed = 1000000;
    colony.growthRate = 30.0f;
    colony.growthAccumulator = 0.0f;
    bench.ResumeTiming();
    screen.Tick();
  }
  bench.SetLabel(std::to_string(kSizes[bench.range(0)].width) + "x" +
                 std::to_string(kSizes[bench.range(0)].height));
}
BENCHMARK(BM_AcceleratedTickBusyColony)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
