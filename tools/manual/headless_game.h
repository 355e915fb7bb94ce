// The game run on the headless platform from the current folder's archives, for the tools
// that draw what a player sees (the README's screenshots, the manual's pictures). The map
// comes from a fixed seed, so the pictures change only when the game does. The game's
// messages are answered as a player would (Ok, and No to a question) and kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "gfx/mem_video.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"

namespace manual {

class HeadlessGame {
 public:
  // The title screen is on the window once this returns.
  explicit HeadlessGame(gfx::AppVideo size);
  ~HeadlessGame();

  app::TMainWnd& window() { return *window_; }
  screens::GameProc& game() { return *window_->gameScreen; }
  const gfx::MemVideo& Window() const { return platform_.window(); }

  // "New Game" on a map of the seed; the game screen is shown, paused.
  void StartColony(std::uint64_t seed);
  // Builds the sample colony of about twenty structures around the landing module and runs
  // the given number of accelerated days; time is paused after.
  void GrowSampleColony(std::int32_t days);
  // The colony of the README's and the manual's pictures: the sample colony on the map of
  // seed 11, grown for 70 days.
  void StartSampleColony();
  // More accelerated days, then paused.
  void RunDays(std::int32_t days);
  // Shows a category's page (0 Status, 1 Information, 2.. the palette) as its tab would.
  void ShowCategory(std::int32_t category);
  // Clicks the landing module: the Information page shows it.
  void SelectLandingModule();
  // Runs `open`, which shows a dialog, and returns the dialog's part of the window as it was
  // while open; the dialog is then closed by its close box.
  gfx::MemVideo CaptureDialog(const std::function<void()>& open);
  // The part of the window in a rectangle.
  gfx::MemVideo Crop(const gfx::IntRect& r) const;
  // The window with the map zoomed out by `steps` scales with the wheel over the view's centre;
  // the map is zoomed back in after, to the view it had.
  gfx::MemVideo ZoomedOut(std::int32_t steps);

  // The texts of the messages the game showed, in order.
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  void Answer(platform::HeadlessPlatform& p);
  world::CellPos LandingModule();

  gfx::AppVideo size_;
  platform::HeadlessPlatform platform_;
  std::unique_ptr<app::TMainWnd> window_;
  std::vector<std::string> messages_;
  std::function<void(platform::HeadlessPlatform&, dialogs::TForm&)> otherDialog_;
};

// Writes a picture as PNG, making its folder; false when it could not be written.
bool WritePicture(const gfx::MemVideo& picture, const std::filesystem::path& path);

}  // namespace manual
