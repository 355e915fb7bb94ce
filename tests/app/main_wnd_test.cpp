// The main window driven headless: one-time loading, the screen state machine on the
// timer, minimising, resizing, the close question and the global keys; the start refused
// without whole archives.
#include "app/main_wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "app/run_game.h"
#include "app/settings.h"
#include "platform/headless_platform.h"
#include "tests/support/dialog_answerer.h"
#include "tools/archive_writer.h"
#include "widgets/input_state.h"
#include "widgets/tw_procedure.h"

namespace app {
namespace {

namespace fs = std::filesystem;

// A screen that only records the keys it is given.
class FakeScreen final : public widgets::TWProcedure {
 public:
  using TWProcedure::TWProcedure;
  std::vector<std::uint16_t> keys;
  void KeyDown(std::uint16_t key, platform::ShiftState) override { keys.push_back(key); }
};

// Runs each test in a folder of its own holding small archives, as the game's folder would.
class MainWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    folder_ =
        fs::temp_directory_path() /
        ("redhollow-shell-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    fs::current_path(folder_);
    WriteArchives(0x112233);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }

  static void WriteArchives(gfx::Color shade) {
    const std::vector<gfx::Color> pixels(128 * 96, shade);
    tools::WriteArchiveFile(
        "res01.dat",
        {{"DlgBkgnd", 0, tools::EncodeRgbBitmap(4, 3, 24, std::vector<gfx::Color>(12, shade))},
         {"DlgButton", 0, tools::EncodeRgbBitmap(128, 96, 24, pixels)},
         {"DlgIcon", 0,
          tools::EncodeRgbBitmap(64, 128, 24, std::vector<gfx::Color>(64 * 128, shade))}});
    tools::WriteArchiveFile("res00.dat", {{"click1", 0, {'R', 'I', 'F', 'F', 1}},
                                          {"click2", 0, {'R', 'I', 'F', 'F', 2}}});
  }

  fs::path previous_;
  fs::path folder_;
};

TEST_F(MainWndTest, CreationBuildsBlackSurfacesTheTimerAndTheCursors) {
  platform::HeadlessPlatform platform({800, 600});
  TMainWnd window(platform);
  EXPECT_EQ(MainWnd, &window);
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenWaiting));
  ASSERT_TRUE(window.appVideo);
  EXPECT_EQ(window.appVideo->width, 800);
  EXPECT_EQ(window.appVideo->height, 600);
  ASSERT_TRUE(window.backBuffer);
  EXPECT_EQ(window.backBuffer->width(), 800);
  EXPECT_EQ(window.scratch->width(), 256);
  EXPECT_EQ(window.scratch->height(), 160);
  EXPECT_EQ(window.backBuffer->at(799, 599), gfx::kBlack);
  EXPECT_EQ(window.timerInterval, 40u);
  EXPECT_EQ(window.tooltip.hintDelay, 500u);
  EXPECT_EQ(window.sounds.soundEffectsOn, 1);
  EXPECT_DOUBLE_EQ(window.osVersion, 6.1);
  EXPECT_EQ(window.startDir, fs::current_path().string());
  EXPECT_EQ(platform.cursors.count(platform::kCursorHand), 1u);
  EXPECT_EQ(platform.cursors.count(platform::kCursorBuild), 1u);
  EXPECT_EQ(platform.cursors[platform::kCursorBuild].hotX, 15);
}

// Started where its archives are missing or damaged, the game says which, with the full path,
// in a message box, and ends with status 1 instead of opening on a black screen.
TEST_F(MainWndTest, WithoutWholeArchivesTheGameSaysWhichAndDoesNotStart) {
  tools::WriteArchiveFile("res02.dat", {{"tiles0", 0, {1, 2, 3}}});
  {
    platform::HeadlessPlatform platform;
    EXPECT_EQ(RunGame(platform), 0);
    EXPECT_TRUE(platform.messageBoxes.empty());
  }
  const std::string folder = fs::current_path().string();
  fs::remove("res00.dat");
  fs::resize_file("res02.dat", fs::file_size("res02.dat") - 1);
  platform::HeadlessPlatform platform;
  EXPECT_EQ(RunGame(platform), 1);
  ASSERT_EQ(platform.messageBoxes.size(), 1u);
  EXPECT_EQ(platform.messageBoxes[0].title, "Redhollow cannot start");
  EXPECT_EQ(platform.messageBoxes[0].text,
            "The archive " + folder +
                "/res00.dat is missing.\n"
                "The archive " +
                folder +
                "/res02.dat is damaged: the data of its entry \"tiles0\" "
                "lies past the end of the file.\n"
                "Start the game in the folder that holds its archives (an installed game with its "
                "launcher, redhollow), or install it again.\n"
                "Install the game again, or pack a changed archive again.");
  EXPECT_EQ(MainWnd, nullptr);
}

// Where the system cannot show its box, the game's window says it until a key is pressed.
TEST_F(MainWndTest, WithoutTheSystemsBoxTheWindowSaysWhyTheGameCannotStart) {
  fs::remove("res01.dat");
  platform::HeadlessPlatform platform({640, 480});
  platform.messageBoxAnswers = {platform::kResultNone};
  bool windowSaidIt = false;
  platform.onModalIdle = [&](platform::HeadlessPlatform& p) {
    // White text on the top half; nothing of a screen below it.
    std::int32_t lit = 0;
    for (std::int32_t y = 0; y < 480; ++y)
      for (std::int32_t x = 0; x < 640; ++x) lit += p.window().at(x, y) == gfx::kWhite ? 1 : 0;
    windowSaidIt = lit > 500 && MainWnd != nullptr && MainWnd->menuScreen == nullptr;
    p.PressKey(platform::vk::kReturn);
  };
  EXPECT_EQ(RunGame(platform), 1);
  ASSERT_EQ(platform.messageBoxes.size(), 1u);
  EXPECT_NE(platform.messageBoxes[0].text.find("res01.dat is missing"), std::string::npos);
  EXPECT_TRUE(windowSaidIt);
  EXPECT_LT(platform.now(), 1000u);  // ended by the key, not by the headless loop's patience
}

TEST(MainWndLifetime, TheGlobalWindowIsClearedWithIt) {
  platform::HeadlessPlatform platform;
  { TMainWnd window(platform); }
  EXPECT_EQ(MainWnd, nullptr);
}

TEST_F(MainWndTest, FirstActivationLoadsOnceAndLaterOnesLoadNothing) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  platform.Activate();
  EXPECT_TRUE(window.activated);
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenStarting));
  ASSERT_TRUE(window.dialogPictures.dlgBackground &&
              window.dialogPictures.dlgBackground->present());
  EXPECT_EQ(window.dialogPictures.dlgBackground->bitmap->at(0, 0), 0x112233u);
  EXPECT_EQ(window.dialogPictures.dlgButtons->frameHeight, 48);
  EXPECT_TRUE(window.dialogPictures.dlgButtons->transparent);
  EXPECT_EQ(window.dialogPictures.dlgIcons->frameWidth, 64);
  EXPECT_EQ(*window.sounds.clickSound1, (gfx::ByteBuffer{'R', 'I', 'F', 'F', 1}));
  EXPECT_EQ(*window.sounds.clickSound2, (gfx::ByteBuffer{'R', 'I', 'F', 'F', 2}));

  const gfx::WBitmap* firstBackground = window.dialogPictures.dlgBackground.get();
  WriteArchives(0x445566);
  platform.Activate();
  EXPECT_EQ(window.dialogPictures.dlgBackground.get(), firstBackground);
  EXPECT_EQ(window.dialogPictures.dlgBackground->bitmap->at(0, 0), 0x112233u);
}

TEST_F(MainWndTest, MissingArchivesLeaveEmptyPicturesAndNoCrash) {
  fs::remove("res00.dat");
  fs::remove("res01.dat");
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  platform.Activate();
  EXPECT_FALSE(window.dialogPictures.dlgBackground->present());
  EXPECT_TRUE(window.sounds.clickSound1->empty());
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenStarting));
}

TEST_F(MainWndTest, TheMenuIsRequestedOnTheFirstTickAndReachedOnTheSecond) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  platform.Tick(3);  // nothing happens before the first activation
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenWaiting));
  EXPECT_EQ(window.requestedScreen, 0);
  platform.Activate();
  platform.Tick();
  EXPECT_EQ(window.requestedScreen, ScreenMenu);
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenStarting));
  platform.Tick();
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenMenu));
  EXPECT_EQ(window.requestedScreen, 0);
  EXPECT_EQ(window.backBuffer->at(0, 0), gfx::kBlack);
}

TEST_F(MainWndTest, SwitchingToTheGameDestroysTheMenuAndTicksOnlyWithoutAModalDialog) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  platform.MoveMouse(400, 300);  // away from the edges, where the pointer scrolls the map
  platform.Activate();
  platform.Tick(2);
  ASSERT_TRUE(window.menuScreen && window.gameScreen);
  screens::GameProc* game = window.gameScreen.get();
  game->NewGame();
  game->colony().Command(sim::kCommandAccelerate);  // a day on every tick of the game screen

  window.RequestScreen(ScreenGame);
  platform.Tick();
  EXPECT_EQ(window.menuScreen, nullptr);
  EXPECT_EQ(widgets::activeProcedure, game);
  EXPECT_EQ(window.currentScreen, static_cast<std::uint32_t>(ScreenGame));
  EXPECT_EQ(game->colony().State().day, 2);  // the switch and the first game tick share a tick

  game->modal = 1;
  platform.Tick(3);
  EXPECT_EQ(game->colony().State().day, 2);
  game->modal = 0;
  platform.Tick();
  EXPECT_EQ(game->colony().State().day, 3);
  window.RequestScreen(ScreenMenu);  // there is no way back to the menu
  platform.Tick();
  EXPECT_EQ(widgets::activeProcedure, game);
  EXPECT_EQ(window.menuScreen, nullptr);
}

TEST_F(MainWndTest, MinimisedTheTimerDoesNothingUntilRestored) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  platform.MoveMouse(400, 300);
  platform.Activate();
  platform.Tick(2);
  window.gameScreen->NewGame();
  window.RequestScreen(ScreenGame);
  platform.Tick();
  screens::GameProc& game = *window.gameScreen;
  game.colony().Command(sim::kCommandAccelerate);
  const std::int32_t day = game.colony().State().day;
  window.Minimise();
  EXPECT_EQ(platform.minimizeCount, 1);
  platform.MinimiseByWindowSystem();
  platform.Tick(100);
  EXPECT_EQ(game.colony().State().day, day);
  platform.Restore();
  EXPECT_FALSE(window.minimised);
  platform.Tick(2);
  EXPECT_EQ(game.colony().State().day, day + 2);
}

// A game screen running a day on every tick, then minimised by the game (F10).
class MinimiseTest : public MainWndTest {
 protected:
  void SetUp() override {
    MainWndTest::SetUp();
    window = std::make_unique<TMainWnd>(platform);
    platform.MoveMouse(400, 300);
    platform.Activate();
    platform.Tick(2);
    window->gameScreen->NewGame();
    window->RequestScreen(ScreenGame);
    platform.Tick();
    window->gameScreen->colony().Command(sim::kCommandAccelerate);
    Minimise();
  }
  void TearDown() override {
    window.reset();
    MainWndTest::TearDown();
  }

  std::int32_t Day() const { return window->gameScreen->colony().State().day; }
  void Minimise() {
    window->Minimise();
    dayMinimised = Day();
  }
  void ExpectPausedFor(int ticks) {
    platform.Tick(ticks);
    EXPECT_TRUE(window->minimised);
    EXPECT_EQ(Day(), dayMinimised);
  }
  // The game hears at once that it is restored, and the next tick is a day.
  void ExpectRunningAfter(const std::function<void()>& sign) {
    sign();
    EXPECT_FALSE(window->minimised);
    platform.Tick();
    EXPECT_EQ(Day(), dayMinimised + 1);
  }

  platform::HeadlessPlatform platform;
  std::unique_ptr<TMainWnd> window;
  std::int32_t dayMinimised = 0;
};

// A bare X server, or a window manager that keeps full-screen windows up, never minimises the
// window nor says anything: the game may not wait for a restore that never comes.
TEST_F(MinimiseTest, AWindowSystemThatIgnoresTheMinimisePausesTheGameOnlyBriefly) {
  ExpectPausedFor(3);
  platform.Tick(25);
  EXPECT_FALSE(window->minimised);
  EXPECT_GT(Day(), dayMinimised);
}

// Any sign that the window is on the screen again ends the pause.
TEST_F(MinimiseTest, ExposedOrGivenTheFocusTheGameRunsAgain) {
  ExpectPausedFor(1);
  ExpectRunningAfter([&] { platform.Expose(); });
  Minimise();
  ExpectPausedFor(1);
  ExpectRunningAfter([&] { platform.Activate(); });
}

// A window manager that minimises: the game waits as long as the window is away, and the
// way back may be a restore or only the window's flags.
TEST_F(MinimiseTest, MinimisedByTheWindowSystemTheGameWaitsUntilTheWindowIsBack) {
  platform.MinimiseByWindowSystem();
  ExpectPausedFor(100);
  ExpectRunningAfter([&] { platform.Restore(); });
  Minimise();
  platform.MinimiseByWindowSystem();
  ExpectPausedFor(100);
  platform.windowState = {};  // restored without a word: the next tick sees it
  platform.Tick();
  EXPECT_FALSE(window->minimised);
  EXPECT_EQ(Day(), dayMinimised + 1);
}

// A compositor that tells nothing but takes the focus away: the game waits for the focus.
TEST_F(MinimiseTest, WithTheFocusGoneTheGameWaitsForItsReturn) {
  platform.LoseFocus();
  ExpectPausedFor(100);
  ExpectRunningAfter([&] { platform.Activate(); });
}

TEST_F(MainWndTest, ResizeRecreatesABlackBackBufferThatLaterPresentationsUse) {
  platform::HeadlessPlatform platform({64, 48});
  TMainWnd window(platform);
  window.backBuffer->set(3, 3, gfx::kWhite);
  platform.Resize({40, 30});
  ASSERT_TRUE(window.backBuffer);
  EXPECT_EQ(window.backBuffer->width(), 40);
  EXPECT_EQ(window.backBuffer->height(), 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(window.backBuffer->at(x, y), gfx::kBlack);
  window.backBuffer->set(39, 29, 0x00FF00);
  window.PresentRect(gfx::IntRect{30, 20, 40, 30});
  EXPECT_EQ(platform.window().at(39, 29), 0x00FF00u);
  EXPECT_EQ(platform.presentedRects.back(), (gfx::IntRect{30, 20, 40, 30}));
}

TEST_F(MainWndTest, PaintPresentsTheClipAndNothingWithoutABackBuffer) {
  platform::HeadlessPlatform platform({16, 8});
  TMainWnd window(platform);
  window.backBuffer->set(1, 1, 0xABCDEF);
  window.FormPaint({0, 0, 2, 2});
  EXPECT_EQ(platform.window().at(1, 1), 0xABCDEFu);
  window.backBuffer.reset();
  const std::size_t before = platform.presentedRects.size();
  window.PresentRect();
  EXPECT_EQ(platform.presentedRects.size(), before);
}

TEST_F(MainWndTest, ClosingAsksOnlyWhileAScreenIsActive) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  testing_support::DialogAnswerer answers(platform, window);
  platform.RequestClose();
  EXPECT_TRUE(answers.shown.empty());
  EXPECT_TRUE(platform.terminated());
}

TEST_F(MainWndTest, AnsweringNoToTheExitQuestionLeavesEverythingAsItWas) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  testing_support::DialogAnswerer answers(platform, window);
  FakeScreen screen(window);
  widgets::activeProcedure = &screen;
  answers.answers = {platform::kResultNo, platform::kResultYes};
  platform.PressKey(platform::vk::kF4, platform::kAltKey);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].title, "Exit");
  EXPECT_EQ(answers.shown[0].text, "Are you really sure you want to exit?");
  EXPECT_EQ(answers.shown[0].buttons, dialogs::kButtonsYesNo);
  EXPECT_FALSE(platform.terminated());
  EXPECT_TRUE(screen.keys.empty());
  platform.RequestClose();
  EXPECT_TRUE(platform.terminated());
  widgets::activeProcedure = nullptr;
}

TEST_F(MainWndTest, SoundSwitchKeysWorkOnEveryScreenAndGoNowhereElse) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  testing_support::DialogAnswerer answers(platform, window);
  platform.PressKey(platform::vk::kF8);
  EXPECT_EQ(window.sounds.soundEffectsOn, 0);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].title, "Options");
  EXPECT_EQ(answers.shown[0].text, "Sound Effects OFF");

  FakeScreen screen(window);
  widgets::activeProcedure = &screen;
  platform.PressKey(platform::vk::kS, platform::kAltKey);
  EXPECT_EQ(window.sounds.soundEffectsOn, 1);
  EXPECT_EQ(answers.shown.back().text, "Sound Effects ON");
  EXPECT_TRUE(screen.keys.empty());
  platform.PressKey(platform::vk::kS);  // plain S is the screen's, not a switch
  EXPECT_EQ(window.sounds.soundEffectsOn, 1);
  EXPECT_EQ(screen.keys, (std::vector<std::uint16_t>{platform::vk::kS}));
  platform.PressKey(platform::vk::kEscape);  // a screen's own key while one is active
  EXPECT_FALSE(platform.terminated());
  widgets::activeProcedure = nullptr;
}

TEST_F(MainWndTest, EscapeBeforeAnyScreenEndsTheProgramAtOnce) {
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  testing_support::DialogAnswerer answers(platform, window);
  platform.PressKey(platform::vk::kS);
  EXPECT_FALSE(platform.terminated());
  platform.PressKey(platform::vk::kEscape);
  EXPECT_TRUE(platform.terminated());
  EXPECT_TRUE(answers.shown.empty());
}

// The random player's heartbeat comes from the timer and, like the game, stops while the
// window is minimised: that silence is what tells it the game froze.
TEST_F(MainWndTest, TheHeartbeatIsTheTimersAndSilentWhileMinimised) {
  setenv(kHeartbeatVariable, "1", 1);
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  unsetenv(kHeartbeatVariable);
  platform.Activate();
  window.Minimise();
  ::testing::internal::CaptureStderr();
  platform.Tick(3);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  platform.Restore();
  ::testing::internal::CaptureStderr();
  platform.Tick(3);  // the menu's loading may say more on stderr
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.find("redhollow heartbeat"), said.rfind("redhollow heartbeat"));
  EXPECT_EQ(said.rfind("redhollow heartbeat 1\n", 0), 0u) << said;
}

// The sound switch starts as the player left it, and F8 keeps the new state in the settings
// file (of this test's own configuration folder, which the tests' main sets).
TEST_F(MainWndTest, TheSoundSwitchStartsFromTheSettingsAndItsKeysWriteThem) {
  const std::optional<fs::path> file = UserSettingsPath();
  ASSERT_TRUE(file.has_value());
  fs::create_directories(file->parent_path());
  std::ofstream(*file) << "sound-effects = off\nautosave-minutes = 10\nfuture-key = kept\n";
  platform::HeadlessPlatform platform;
  TMainWnd window(platform);
  EXPECT_EQ(window.sounds.soundEffectsOn, 0);
  EXPECT_FALSE(window.settings().soundEffects);
  EXPECT_EQ(window.settings().autosaveMinutes, 10);

  testing_support::DialogAnswerer answers(platform, window);
  platform.PressKey(platform::vk::kF8);
  EXPECT_EQ(window.sounds.soundEffectsOn, 1);
  EXPECT_EQ(answers.shown.back().text, "Sound Effects ON");
  std::ostringstream log;
  SettingsStore reread(*file, log);
  reread.Load();
  EXPECT_TRUE(reread.settings().soundEffects);
  EXPECT_EQ(reread.settings().autosaveMinutes, 10);

  // The Options dialog's way: the whole settings at once.
  Settings quiet = window.settings();
  quiet.soundEffects = false;
  quiet.effectsVolume = 30;
  window.ChangeSettings(quiet);
  EXPECT_EQ(window.sounds.soundEffectsOn, 0);
  EXPECT_EQ(window.settings(), quiet);
  reread.Load();
  EXPECT_EQ(reread.settings(), quiet);
  EXPECT_EQ(window.TakeSettingsProblem(), std::nullopt);
}

// Settings that cannot be kept are said once on the screen, without a dialog, and the switch
// still works for the run.
TEST_F(MainWndTest, SettingsThatCannotBeKeptAreSaidOnceOnTheScreen) {
  platform::HeadlessPlatform platform;
  std::ostringstream log;
  std::ofstream(folder_ / "a-file") << "not a folder";
  TMainWnd window(platform, SettingsStore(folder_ / "a-file" / "settings.ini", log));
  platform.Activate();
  platform.Tick(2);
  testing_support::DialogAnswerer answers(platform, window);
  platform.PressKey(platform::vk::kF8);
  platform.Tick();
  EXPECT_TRUE(window.notice.shown());
  EXPECT_NE(window.notice.text().find("cannot be kept"), std::string::npos) << window.notice.text();
  window.notice.Hide();
  platform.PressKey(platform::vk::kF8);
  platform.Tick();
  EXPECT_FALSE(window.notice.shown());
  EXPECT_EQ(window.sounds.soundEffectsOn, 1);
}

TEST_F(MainWndTest, AWindowGivenAStoreUsesItAndLeavesTheUsersFileAlone) {
  platform::HeadlessPlatform platform;
  std::ostringstream log;
  SettingsStore store(folder_ / "elsewhere.ini", log);
  Settings quiet;
  quiet.soundEffects = false;
  store.SetForThisRun(quiet);
  TMainWnd window(platform, std::move(store));
  EXPECT_EQ(window.sounds.soundEffectsOn, 0);
  testing_support::DialogAnswerer answers(platform, window);
  platform.PressKey(platform::vk::kF8);
  EXPECT_TRUE(fs::exists(folder_ / "elsewhere.ini"));
  EXPECT_FALSE(fs::exists(*UserSettingsPath()));
}

}  // namespace
}  // namespace app
