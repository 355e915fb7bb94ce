// A change of the window's size, from the window system's event to the new screen presented:
// the back buffer made anew, every screen and dialog laid out again, the screen drawn whole
// and shown. Measured on the game screen of a running colony and on the title screen, at
// 3840 x 2160 (from a window of 1920 x 1080 and back), and for the switch to full screen and
// back by the key. Runs headless from the build folder's archives, as the game does.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/main_wnd.h"
#include "bench/bench_game.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"
#include "world/random.h"

namespace {

constexpr gfx::AppVideo kLarge{3840, 2160};
constexpr gfx::AppVideo kHalf{1920, 1080};

struct WindowedGame {
  explicit WindowedGame(bool onGameScreen) : platform(kLarge) {
    platform.SetWindowMode(platform::WindowMode{false, kHalf, std::nullopt});
    window = bench_support::OpenGameWindow(platform);
    platform.Activate();
    platform.MoveMouse(kHalf.width / 2, kHalf.height / 2);
    platform.Tick(2);
    if (onGameScreen) bench_support::StartColony(platform, *window);
  }
  platform::HeadlessPlatform platform;
  std::unique_ptr<app::TMainWnd> window;
};

// One resize to 3840 x 2160 per iteration; the way back to the smaller size is not timed.
void BM_ResizeTo4K(benchmark::State& bench) {
  WindowedGame game(bench.range(0) == 1);
  for (auto _ : bench) {
    game.platform.Resize(kLarge);
    bench.PauseTiming();
    game.platform.Resize(kHalf);
    bench.ResumeTiming();
  }
  bench.SetLabel(bench.range(0) == 1 ? "game screen" : "title screen");
}
BENCHMARK(BM_ResizeTo4K)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// F11 from a window to full screen on a 3840 x 2160 screen, and (untimed) back.
void BM_SwitchToFullScreen4K(benchmark::State& bench) {
  WindowedGame game(true);
  for (auto _ : bench) {
    game.platform.PressKey(platform::vk::kF11);
    bench.PauseTiming();
    game.platform.PressKey(platform::vk::kF11);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_SwitchToFullScreen4K)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
