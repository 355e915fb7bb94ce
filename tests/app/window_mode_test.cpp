// A window of any size and the switch to and from full screen: whatever size the game comes to,
// by a resize or a switch, it draws exactly what a game started at that size draws, open
// dialogs included, and keeps what the player was doing. Runs the real main window headless in
// the folder of the built archives.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "app/run_game.h"
#include "dialogs/file_dialog.h"
#include "gfx/png_file.h"
#include "platform/headless_platform.h"
#include "screens/main_menu_proc.h"
#include "tests/support/golden.h"
#include "world/random.h"

namespace app {
namespace {

using platform::HeadlessPlatform;
using platform::WindowMode;

// The window's pixels, kept for comparison.
struct Picture {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<gfx::Color> pixels;
  gfx::MemVideo Surface() const {
    gfx::MemVideo surface(width, height);
    for (std::int32_t y = 0; y < height; ++y)
      std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width, surface.row(y));
    return surface;
  }
};

Picture Snapshot(const gfx::MemVideo& window) {
  Picture p{window.width(), window.height(), {}};
  for (std::int32_t y = 0; y < window.height(); ++y)
    p.pixels.insert(p.pixels.end(), window.row(y), window.row(y) + window.width());
  return p;
}

// Equal pixel for pixel; otherwise both pictures are written out for a person to compare.
::testing::AssertionResult SamePicture(const Picture& expected, const Picture& actual,
                                       const std::string& name) {
  if (expected.width != actual.width || expected.height != actual.height)
    return ::testing::AssertionFailure()
           << name << ": " << actual.width << " x " << actual.height << " instead of "
           << expected.width << " x " << expected.height;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < expected.pixels.size(); ++i)
    if (expected.pixels[i] != actual.pixels[i]) ++differing;
  if (differing == 0) return ::testing::AssertionSuccess();
  gfx::WritePng(expected.Surface(), testing_support::TestOutputPath(name + ".expected.png"));
  gfx::WritePng(actual.Surface(), testing_support::TestOutputPath(name + ".actual.png"));
  return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ";
}

// One run of the game on a desktop of the given size, full screen or in a window.
class Game {
 public:
  Game(gfx::AppVideo desktop, std::optional<gfx::AppVideo> window) {
    platform = std::make_unique<HeadlessPlatform>(desktop);
    if (window) platform->SetWindowMode(WindowMode{false, *window, std::nullopt});
    shell = std::make_unique<TMainWnd>(*platform);
    platform->Activate();
    RestPointer();
    platform->Tick(2);
  }
  ~Game() {
    shell.reset();
    platform.reset();
  }

  // Away from the edges, where a resting pointer would scroll the map.
  void RestPointer() {
    const gfx::AppVideo client = platform->ClientSize();
    platform->MoveMouse(client.width / 2, client.height * 3 / 4);
  }
  void StartNewGame() {
    world::ProgramRandom().Seed(7);
    const gfx::IntRect button = gfx::FracToPixels(screens::kMenuButtons[0].rect, *shell->appVideo);
    platform->Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    platform->Tick();
    RestPointer();
  }
  void Resize(gfx::AppVideo client) {
    platform->Resize(client);
    RestPointer();
  }
  Picture Window() const { return Snapshot(platform->window()); }

  // Opens the file dialog on the game screen; `whileOpen` runs once it shows, then the dialog
  // is closed with its close box.
  void WithFileDialogOpen(std::int32_t mode, const std::function<void()>& whileOpen) {
    bool done = false;
    platform->onModalIdle = [&](HeadlessPlatform& p) {
      if (done) return;
      done = true;
      whileOpen();
      p.RequestClose();
    };
    shell->gameScreen->ChooseSavedGame(mode);
    platform->onModalIdle = nullptr;
    EXPECT_TRUE(done);
  }

  std::unique_ptr<HeadlessPlatform> platform;
  std::unique_ptr<TMainWnd> shell;
};

class WindowModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(REDHOLLOW_GOLDEN_RESOURCE_DIR);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

constexpr gfx::AppVideo kDesktop{1366, 768};
constexpr gfx::AppVideo kSmall{1024, 768};

// The menu, a new game and the file dialog over it, as a game started at 1366 x 768 draws
// them; the same game started in a 1024 x 768 window and dragged to 1366 x 768 at each stage
// must draw exactly these.
struct Reference {
  Picture menu;
  Picture newGame;
  Picture fileDialog;
};

const Reference& StartedAtTheDesktopsSize() {
  static const Reference reference = [] {
    Reference r;
    Game game(kDesktop, std::nullopt);
    r.menu = game.Window();
    game.StartNewGame();
    r.newGame = game.Window();
    game.WithFileDialogOpen(dialogs::kFileModeLoad, [&] { r.fileDialog = game.Window(); });
    return r;
  }();
  return reference;
}

TEST_F(WindowModeTest, AResizedWindowDrawsWhatAGameStartedAtItsSizeDraws) {
  const Reference& reference = StartedAtTheDesktopsSize();
  Game game(kDesktop, kSmall);
  EXPECT_EQ(game.platform->ClientSize(), kSmall);
  EXPECT_EQ(*game.shell->appVideo, kSmall);
  game.Resize(kDesktop);
  EXPECT_TRUE(SamePicture(reference.menu, game.Window(), "resized_menu"));

  // The game screen was made at 1024 x 768 beside the menu, and laid out again unseen.
  game.StartNewGame();
  EXPECT_TRUE(SamePicture(reference.newGame, game.Window(), "resized_new_game"));

  // Smaller and back again while it runs.
  game.Resize({900, 700});
  game.Resize(kDesktop);
  EXPECT_TRUE(SamePicture(reference.newGame, game.Window(), "resized_twice_new_game"));

  // A dialog open during the resize lays itself out again over the new screen.
  game.Resize(kSmall);
  game.WithFileDialogOpen(dialogs::kFileModeLoad, [&] {
    game.Resize(kDesktop);
    EXPECT_TRUE(SamePicture(reference.fileDialog, game.Window(), "resized_file_dialog"));
  });
  // What the dialog covered comes back at the new size.
  EXPECT_TRUE(SamePicture(reference.newGame, game.Window(), "after_resized_dialog"));
}

TEST_F(WindowModeTest, FullScreenAndBackDrawsWhatAGameStartedAtTheWindowsSizeDraws) {
  const Reference& reference = StartedAtTheDesktopsSize();
  // A window of 1366 x 768 on a larger desktop, switched to full screen and back, by either key.
  Game game({1600, 900}, kDesktop);
  game.StartNewGame();
  EXPECT_TRUE(SamePicture(reference.newGame, game.Window(), "window_new_game"));

  game.platform->PressKey(platform::vk::kF11);
  EXPECT_TRUE(game.shell->FullScreen());
  EXPECT_EQ(game.platform->ClientSize(), (gfx::AppVideo{1600, 900}));
  EXPECT_EQ(*game.shell->appVideo, (gfx::AppVideo{1600, 900}));
  EXPECT_EQ(game.shell->gameScreen->worldMap().viewRect.right, 1600);

  game.platform->PressKey(platform::vk::kReturn, platform::kAltKey);
  EXPECT_FALSE(game.shell->FullScreen());
  game.RestPointer();
  EXPECT_EQ(game.platform->ClientSize(), kDesktop);
  EXPECT_TRUE(SamePicture(reference.newGame, game.Window(), "window_again_new_game"));
}

// Alt+Enter switches under a dialog and is not also the Enter that answers it; what the player
// typed stays, and the dialog takes its new place and size.
TEST_F(WindowModeTest, ASwitchUnderADialogKeepsItOpenWithItsText) {
  Game game({1600, 900}, kSmall);
  game.StartNewGame();
  game.WithFileDialogOpen(dialogs::kFileModeSave, [&] {
    dialogs::TFileDlg& dialog = *game.shell->FileDialog();
    const gfx::IntRect field =
        dialog.nameEdit().bounds.Offset(dialog.ClientBounds().left, dialog.ClientBounds().top);
    game.platform->Click((field.left + field.right) / 2, (field.top + field.bottom) / 2);
    game.platform->TypeText("Olympus");
    const gfx::IntRect before = dialog.WindowBounds();
    game.platform->PressKey(platform::vk::kReturn, platform::kAltKey);
    EXPECT_TRUE(game.shell->FullScreen());
    EXPECT_TRUE(dialog.Showing());
    EXPECT_EQ(dialog.ModalResult, 0);
    EXPECT_EQ(dialog.nameEdit().Text(), "Olympus");
    const gfx::IntRect after = dialog.WindowBounds();
    EXPECT_GT(after.Width(), before.Width());
    // Centred on the new screen, and drawn there.
    EXPECT_NEAR((after.left + after.right) / 2, 800, 2);
    EXPECT_EQ(game.platform->window().at(after.left + 1, after.top + 1), dialog.Image().at(1, 1));
    game.platform->PressKey(platform::vk::kF11);
    EXPECT_FALSE(game.shell->FullScreen());
    EXPECT_EQ(dialog.WindowBounds(), before);
    EXPECT_EQ(dialog.nameEdit().Text(), "Olympus");
  });
}

// A switch, and a resize once it settled, are kept in the settings; the next start opens the
// window as the player left it.
TEST_F(WindowModeTest, TheWindowOpensAgainAsThePlayerLeftIt) {
  constexpr gfx::AppVideo kScreen{1600, 900};
  {
    HeadlessPlatform platform(kScreen);
    TMainWnd window(platform);
    platform.Activate();
    platform.Tick(2);
    EXPECT_TRUE(window.settings().fullScreen);
    platform.PressKey(platform::vk::kF11);
    EXPECT_FALSE(window.settings().fullScreen);
    platform.Resize({1000, 700});
    platform.Resize({1100, 750});
    // Not while the border is being dragged; once it kept its size for a second.
    EXPECT_EQ(window.settings().windowWidth, 1280);
    platform.Tick(30);
    EXPECT_EQ(window.settings().windowWidth, 1100);
    EXPECT_EQ(window.settings().windowHeight, 750);
  }
  HeadlessPlatform platform(kScreen);
  EXPECT_EQ(RunGame(platform), 0);
  EXPECT_FALSE(platform.CurrentWindowMode().fullScreen);
  EXPECT_EQ(platform.ClientSize(), (gfx::AppVideo{1100, 750}));
}

TEST_F(WindowModeTest, AWindowIsNeverSmallerThanTheGameNorLargerThanTheScreen) {
  EXPECT_EQ(platform::FitWindowSize({640, 480}, {1920, 1080}), platform::kSmallestWindow);
  EXPECT_EQ(platform::FitWindowSize({4000, 3000}, {1920, 1080}), (gfx::AppVideo{1920, 1080}));
  EXPECT_EQ(platform::FitWindowSize({1280, 720}, {1920, 1080}), (gfx::AppVideo{1280, 720}));
  // A remembered window from a larger screen opens shrunk to this one.
  HeadlessPlatform platform({1024, 768});
  platform.SetWindowMode(WindowMode{false, {2560, 1440}, platform::Point{10, 10}});
  EXPECT_EQ(platform.ClientSize(), (gfx::AppVideo{1024, 768}));
  EXPECT_EQ(platform.CurrentWindowMode().windowSize, (gfx::AppVideo{1024, 768}));
}

}  // namespace
}  // namespace app
