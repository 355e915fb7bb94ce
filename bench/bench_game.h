// The real main window for benchmarks: run from the build folder, where the archives are, with
// settings of its own in memory (never those of whoever runs the benchmark).
#pragma once

#include <filesystem>
#include <memory>

#include "app/main_wnd.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"
#include "world/random.h"

namespace bench_support {

inline std::unique_ptr<app::TMainWnd> OpenGameWindow(platform::HeadlessPlatform& platform) {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) std::filesystem::current_path(exe.parent_path().parent_path());
  return std::make_unique<app::TMainWnd>(platform, app::SettingsStore::InMemory());
}

// A new colony from a fixed seed on the game screen, after the title screen came up.
inline void StartColony(platform::HeadlessPlatform& platform, app::TMainWnd& window) {
  world::ProgramRandom().Seed(7);
  window.gameScreen->NewGame();
  window.RequestScreen(app::ScreenGame);
  platform.Tick();
}

}  // namespace bench_support
