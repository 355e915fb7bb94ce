// Autosave and screenshots, on the tick and off it, with the real game screen at 3840 x 2160
// on the headless platform:
//  - on the tick, the two ways to take the colony: a copy of its state, cells and history (what
//    the game does; the writer's thread encodes it), against encoding the saved game's bytes
//    there; and the copy of a colony with years of history;
//  - off the tick, the whole autosave: encoding, choosing the slot, the durable write with its
//    syncs, into the build folder's disk;
//  - a screenshot: composing the window on the tick, then encoding and writing the PNG off it.
#include <benchmark/benchmark.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/main_wnd.h"
#include "app/screenshot.h"
#include "bench/bench_game.h"
#include "platform/headless_platform.h"
#include "screens/autosave.h"
#include "screens/game_proc.h"
#include "sim/save_game.h"
#include "world/random.h"

namespace {

namespace fs = std::filesystem;

struct GameAt4K {
  GameAt4K() : platform({3840, 2160}) {
    window = bench_support::OpenGameWindow(platform);
    folder = fs::current_path() / "bench-output" / "autosave";
    fs::remove_all(folder);
    fs::create_directories(folder);
    window->startDir = folder.string();
    platform.Activate();
    platform.Tick(2);
    bench_support::StartColony(platform, *window);
    platform.PressKey(platform::vk::kF7);
    platform.Tick(50);
  }
  ~GameAt4K() { fs::remove_all(folder); }
  const sim::Colony& colony() { return window->gameScreen->colony(); }

  platform::HeadlessPlatform platform;
  fs::path folder;
  std::unique_ptr<app::TMainWnd> window;
};

void BM_TickCopiesTheColony(benchmark::State& bench) {
  GameAt4K game;
  screens::Autosave autosave([&] { return game.folder; });
  for (auto _ : bench) benchmark::DoNotOptimize(autosave.ChangedCopy(game.colony()));
}
BENCHMARK(BM_TickCopiesTheColony)->Unit(benchmark::kMicrosecond);

// The copy of a colony with a long life behind it: 120 days and the argument's years of
// months (10,000 years is the most a history keeps).
void BM_TickCopiesTheColonyWithItsHistory(benchmark::State& bench) {
  GameAt4K game;
  sim::Colony& colony = game.window->gameScreen->colony();
  const std::vector<sim::MapCell> cells = colony.Map().cells;
  const auto months = static_cast<std::size_t>(bench.range(0)) * sim::kMonthCount;
  colony.ReplaceGame(colony.State(), colony.SelectedType(), cells,
                     sim::ColonyHistory(std::deque<sim::HistoryRecord>(120),
                                        std::vector<sim::HistoryRecord>(months)));
  screens::Autosave autosave([&] { return game.folder; });
  for (auto _ : bench) benchmark::DoNotOptimize(autosave.ChangedCopy(game.colony()));
}
BENCHMARK(BM_TickCopiesTheColonyWithItsHistory)
    ->Arg(10)
    ->Arg(100)
    ->Arg(10'000)
    ->Unit(benchmark::kMicrosecond);

void BM_TickEncodesTheColony(benchmark::State& bench) {
  GameAt4K game;
  const sim::Colony& colony = game.colony();
  for (auto _ : bench) {
    benchmark::DoNotOptimize(sim::EncodeSavedGame(colony.State(), colony.SelectedType(),
                                                  colony.Map().cells, colony.History()));
  }
}
BENCHMARK(BM_TickEncodesTheColony)->Unit(benchmark::kMicrosecond);

void BM_AutosaveOffTheTick(benchmark::State& bench) {
  GameAt4K game;
  screens::Autosave autosave([&] { return game.folder; });
  const screens::Autosave::Copy copy = autosave.ChangedCopy(game.colony());
  for (auto _ : bench) {
    const platform::WriteOutcome outcome = screens::WriteAutosave(*copy, game.folder / "SAVES", {});
    if (!outcome.ok()) bench.SkipWithError(outcome.problem.c_str());
  }
}
BENCHMARK(BM_AutosaveOffTheTick)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScreenshotComposedOnTheTick(benchmark::State& bench) {
  GameAt4K game;
  for (auto _ : bench) benchmark::DoNotOptimize(game.window->ComposeWindow());
}
BENCHMARK(BM_ScreenshotComposedOnTheTick)->Unit(benchmark::kMillisecond);

void BM_ScreenshotOffTheTick(benchmark::State& bench) {
  GameAt4K game;
  const std::unique_ptr<gfx::MemVideo> picture = game.window->ComposeWindow();
  const fs::path shots = game.folder / "shots";
  for (auto _ : bench) {
    const platform::WriteOutcome outcome = app::WriteScreenshot(*picture, shots, "bench");
    if (!outcome.ok()) bench.SkipWithError(outcome.problem.c_str());
    bench.PauseTiming();
    fs::remove_all(shots);
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_ScreenshotOffTheTick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
