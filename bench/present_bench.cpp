// Presenting to the real window: the copy into the window's surface and the update of the
// window, for a whole screen, one widget-sized rectangle and a tick's worth of small ones,
// with SDL's window surface backed by a GL texture (acceleration 1) or by plain shared memory
// (0). It needs an X display of the size to measure:
//   xvfb-run -a -s "-screen 0 3840x2160x24" build/bench/present_bench
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "gfx/draw.h"
#include "platform/sdl_platform.h"

namespace {

struct Quiet final : platform::WindowEvents {};

enum Pattern { kWholeScreen, kWidget, kSmallRects };

// The rectangles one update shows: the whole screen, one 256 x 160 widget, or 100 rectangles
// of 48 x 32 spread over the screen like the map's animation boxes of one tick.
std::vector<gfx::IntRect> Rectangles(Pattern pattern, gfx::AppVideo screen) {
  switch (pattern) {
    case kWholeScreen:
      return {{0, 0, screen.width, screen.height}};
    case kWidget:
      return {gfx::IntRect::FromSize(screen.width / 3, screen.height / 3, 256, 160)};
    case kSmallRects: {
      std::vector<gfx::IntRect> rects;
      for (int i = 0; i < 100; ++i) {
        const int x = (i * 7919) % (screen.width - 48);
        const int y = (i * 104729) % (screen.height - 32);
        rects.push_back(gfx::IntRect::FromSize(x, y, 48, 32));
      }
      return rects;
    }
  }
  return {};
}

void BM_Present(benchmark::State& state) {
  const bool accelerated = state.range(0) != 0;
  const auto pattern = static_cast<Pattern>(state.range(1));
  // Set above the platform's own choice, which only sets SDL's default.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, accelerated ? "1" : "0",
                          SDL_HINT_OVERRIDE);
  platform::SdlPlatform platform;
  Quiet events;
  if (std::getenv("DISPLAY") == nullptr || !platform.OpenMainWindow("Redhollow", events)) {
    state.SkipWithError("needs an X display");
    return;
  }
  const gfx::AppVideo screen = platform.ClientSize();
  gfx::MemVideo backBuffer(screen.width, screen.height);
  gfx::FillRect(backBuffer, backBuffer.bounds(), gfx::Rgb(200, 120, 60));
  const std::vector<gfx::IntRect> rects = Rectangles(pattern, screen);
  // A modal loop that is finished at once shows what was presented and returns.
  const auto showNow = [] { return true; };
  platform.Present(backBuffer, backBuffer.bounds(), 0, 0);
  platform.RunModalLoop(events, showNow);
  for (auto _ : state) {
    for (const gfx::IntRect& rect : rects) platform.Present(backBuffer, rect, rect.left, rect.top);
    platform.RunModalLoop(events, showNow);
  }
  state.SetLabel(std::to_string(screen.width) + "x" + std::to_string(screen.height));
}

BENCHMARK(BM_Present)
    ->ArgNames({"accelerated", "pattern"})
    ->ArgsProduct({{0, 1}, {kWholeScreen, kWidget, kSmallRects}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
