// The real main window on the headless platform, run in the folder of the built archives:
// the menu is brought up by the screen state machine, and a new game is started by clicking
// "New Game" as a player would, on a map from a fixed seed.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/main_wnd.h"
#include "gfx/geometry.h"
#include "platform/headless_platform.h"
#include "screens/game_layout.h"
#include "screens/game_proc.h"
#include "screens/main_menu_proc.h"
#include "tests/support/dialog_answerer.h"
#include "widgets/input_state.h"
#include "world/random.h"

namespace screens_test {

class GameScreenTest : public ::testing::Test {
 protected:
  explicit GameScreenTest(gfx::AppVideo screen = {1024, 768}) : screen_(screen) {}

  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(REDHOLLOW_GOLDEN_RESOURCE_DIR);
    platform = std::make_unique<platform::HeadlessPlatform>(screen_);
    window = std::make_unique<app::TMainWnd>(*platform);
    // Saved games, autosaves above all, go to a folder of the test's own, not the build's.
    startFolder_ = std::filesystem::temp_directory_path() /
                   ("redhollow-game-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(startFolder_);
    std::filesystem::create_directories(startFolder_);
    window->startDir = startFolder_.string();
    messages = std::make_unique<testing_support::DialogAnswerer>(*platform, *window);
    platform->Activate();
    // Away from the edges, where a resting pointer would scroll the map, and below the title
    // screen's buttons.
    platform->MoveMouse(screen_.width / 2, screen_.height * 7 / 8);
    platform->Tick(2);
  }
  void TearDown() override {
    messages.reset();
    window.reset();
    platform.reset();
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(startFolder_);
  }

  // Clicks "New Game" on the menu and lets the shell switch to the game screen.
  void StartNewGame(std::uint64_t seed = 7) {
    world::ProgramRandom().Seed(seed);
    ClickAt(Centre(screens::kMenuButtons[0].rect));
    platform->Tick();
    platform->MoveMouse(screen_.width / 2, screen_.height * 3 / 4);
  }

  gfx::IntRect Pixels(const gfx::FracRect& r) const { return gfx::FracToPixels(r, screen_); }
  platform::Point Centre(const gfx::FracRect& r) const {
    const gfx::IntRect p = Pixels(r);
    return {(p.left + p.right) / 2, (p.top + p.bottom) / 2};
  }
  platform::Point Centre(const widgets::TWControl& widget) const {
    return {(widget.pixelRect.left + widget.pixelRect.right) / 2,
            (widget.pixelRect.top + widget.pixelRect.bottom) / 2};
  }
  void ClickAt(platform::Point p) { platform->Click(p.x, p.y); }
  void Click(const widgets::TWControl& widget) { ClickAt(Centre(widget)); }

  screens::GameProc& game() { return *window->gameScreen; }
  sim::Colony& colony() { return game().colony(); }
  sim::ColonyState& state() { return colony().State(); }
  screens::TPanelControl& palette() { return *game().palettePanel; }
  screens::TPanelTBI& toolbar() { return *game().toolPanel; }

  // Where the landing module stands.
  world::CellPos LandingModule() {
    const world::Land& land = game().land();
    for (std::int32_t y = 0; y < land.rows; ++y)
      for (std::int32_t x = 0; x < land.columns; ++x)
        if (land.CellAt(x, y)->type == world::kTypeLandingModule) return {x, y};
    ADD_FAILURE() << "no landing module";
    return {};
  }

  // The point of the view where a cell's diamond has its centre.
  platform::Point CellPoint(std::int32_t x, std::int32_t y) {
    world::WorldIso3D& map = game().worldMap();
    const gfx::IntRect box = map.TileBox({x, y});
    const gfx::IntRect view = map.viewRect;
    const auto toScreen = [](std::int32_t v, std::int32_t from, std::int32_t to) {
      return gfx::ScaleInt(v, to, from);
    };
    return {view.left + toScreen((box.left + box.right) / 2 - map.shownPart.left,
                                 map.shownPart.Width(), view.Width()),
            view.top + toScreen((box.top + box.bottom) / 2 - map.shownPart.top,
                                map.shownPart.Height(), view.Height())};
  }

  std::unique_ptr<platform::HeadlessPlatform> platform;
  std::unique_ptr<app::TMainWnd> window;
  // Answers the game's messages and records them.
  std::unique_ptr<testing_support::DialogAnswerer> messages;

 private:
  gfx::AppVideo screen_;
  std::filesystem::path previous_;
  std::filesystem::path startFolder_;
};

}  // namespace screens_test
