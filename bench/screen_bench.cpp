// The game screen's own work on a day at accelerated speed: the day itself and every panel
// redraw it causes (date box, counter box, info area with the Status page), presented, with no
// change of the map, at 1024 x 768, 1920 x 1080 and 3840 x 2160. The screen runs on the
// headless platform from the build folder's archives, as the game does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/main_wnd.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"
#include "world/random.h"

namespace {

constexpr gfx::AppVideo kSizes[] = {{1024, 768}, {1920, 1080}, {3840, 2160}};

struct RunningGame {
  explicit RunningGame(gfx::AppVideo size) : platform(size) {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) std::filesystem::current_path(exe.parent_path().parent_path());
    window = std::make_unique<app::TMainWnd>(platform);
    platform.Activate();
    platform.MoveMouse(size.width / 2, size.height / 2);
    platform.Tick(2);
    world::ProgramRandom().Seed(7);
    window->gameScreen->NewGame();
    window->RequestScreen(app::ScreenGame);
    platform.Tick();
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

}  // namespace

BENCHMARK_MAIN();
