// Screenshots: where they go by the XDG rules, their names that never collide, the PNG holding
// exactly what the window shows (a dialog included), the notice that says so and goes again,
// and a failure told while play goes on.
#include "app/screenshot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "gfx/draw.h"
#include "gfx/png_file.h"
#include "tests/screens/game_screen_fixture.h"

namespace app {
namespace {

namespace fs = std::filesystem;

fs::path TestFolder() {
  return fs::temp_directory_path() /
         ("redhollow-shots-" + std::to_string(::getpid()) + "-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

::testing::AssertionResult SamePixels(const gfx::MemVideo& a, const gfx::MemVideo& b) {
  if (a.width() != b.width() || a.height() != b.height())
    return ::testing::AssertionFailure() << "sizes differ";
  for (std::int32_t y = 0; y < a.height(); ++y)
    for (std::int32_t x = 0; x < a.width(); ++x)
      if (a.at(x, y) != b.at(x, y))
        return ::testing::AssertionFailure() << "first difference at " << x << ", " << y;
  return ::testing::AssertionSuccess();
}

TEST(ScreenshotFolder, FollowsTheXdgRules) {
  const fs::path root = TestFolder();
  fs::remove_all(root);
  fs::create_directories(root / "home/.config");
  const std::string home = (root / "home").string();
  PicturePlaces places{std::nullopt, std::nullopt, home};
  // Nothing said anywhere: ~/Pictures.
  EXPECT_EQ(ScreenshotFolder(places), root / "home/Pictures/Redhollow");
  // The user-dirs file of ~/.config, $HOME replaced; the last assignment counts.
  std::ofstream(root / "home/.config/user-dirs.dirs")
      << "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_PICTURES_DIR=\"$HOME/Old\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(ScreenshotFolder(places), root / "home/Bilder/Redhollow");
  // XDG_CONFIG_HOME says where that file is.
  fs::create_directories(root / "config");
  std::ofstream(root / "config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"/srv/pictures\"\n";
  places.configHome = (root / "config").string();
  EXPECT_EQ(ScreenshotFolder(places), fs::path("/srv/pictures/Redhollow"));
  // The environment's own value comes first.
  places.picturesDir = "/data/shots";
  EXPECT_EQ(ScreenshotFolder(places), fs::path("/data/shots/Redhollow"));
  fs::remove_all(root);

  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"Pictures\"\n", "/home/p"), std::nullopt);
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME\"\n", "/home/p"),
            fs::path("/home/p"));
  EXPECT_EQ(PicturesDirFromUserDirs("  XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\r\n", "/h"),
            fs::path("/h/My \"Pics\""));
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIRS=\"/x\"\n", "/h"), std::nullopt);
  EXPECT_EQ(ScreenshotFolder(PicturePlaces{}), fs::path());
}

TEST(ScreenshotFolder, RelativeValuesInTheEnvironmentAreIgnored) {
  const char* kNames[] = {"XDG_PICTURES_DIR", "XDG_CONFIG_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved;
  for (const char* name : kNames) {
    const char* value = std::getenv(name);
    saved.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
  }
  ::setenv("XDG_PICTURES_DIR", "Pictures", 1);
  ::setenv("XDG_CONFIG_HOME", ".config", 1);
  ::setenv("HOME", "/home/player", 1);
  const PicturePlaces places = PicturePlaces::FromEnvironment();
  EXPECT_EQ(places.picturesDir, std::nullopt);
  EXPECT_EQ(places.configHome, std::nullopt);
  EXPECT_EQ(places.home, "/home/player");
  ::setenv("XDG_PICTURES_DIR", "/pics", 1);
  EXPECT_EQ(PicturePlaces::FromEnvironment().picturesDir, "/pics");
  for (std::size_t i = 0; i < saved.size(); ++i) {
    if (saved[i]) {
      ::setenv(kNames[i], saved[i]->c_str(), 1);
    } else {
      ::unsetenv(kNames[i]);
    }
  }
}

TEST(WriteScreenshot, NamesNeverCollideAndNothingIsWrittenOver) {
  const fs::path root = TestFolder();
  fs::remove_all(root);
  std::tm moment{};
  moment.tm_year = 2026 - 1900;
  moment.tm_mon = 11;
  moment.tm_mday = 8;
  moment.tm_hour = 19;
  moment.tm_min = 30;
  moment.tm_sec = 5;
  const std::string stem = ScreenshotStem(moment);
  EXPECT_EQ(stem, "redhollow-2026-12-08-19-30-05");
  gfx::MemVideo picture(3, 2);
  picture.set(2, 1, gfx::Rgb(1, 2, 3));

  const fs::path folder = root / "Pictures" / "Redhollow";
  EXPECT_EQ(WriteScreenshot(picture, folder, stem).written, stem + ".png");  // folder made
  std::ofstream(folder / (stem + "-2.png")) << "the player's own";
  fs::create_symlink(root / "victim", folder / (stem + "-3.png"));
  const platform::WriteOutcome next = WriteScreenshot(picture, folder, stem);
  EXPECT_TRUE(next.ok());
  EXPECT_EQ(next.written, stem + "-4.png");
  EXPECT_FALSE(fs::exists(root / "victim"));
  EXPECT_EQ(fs::file_size(folder / (stem + "-2.png")), 16u);
  const auto read = gfx::ReadPng((folder / (stem + "-4.png")).string());
  ASSERT_TRUE(read);
  EXPECT_TRUE(SamePixels(*read, picture));

  // A folder that cannot be made: said, nothing thrown.
  std::ofstream(root / "plain") << "x";
  const platform::WriteOutcome failed =
      WriteScreenshot(picture, root / "plain" / "Redhollow", stem);
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.problem.rfind("The screenshot could not be saved: the folder ", 0), 0u);
  fs::remove_all(root);
}

class ScreenshotGame : public screens_test::GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    pictures = TestFolder();
    fs::remove_all(pictures);
    const char* old = std::getenv("XDG_PICTURES_DIR");
    if (old != nullptr) oldPictures = old;
    ::setenv("XDG_PICTURES_DIR", pictures.c_str(), 1);
  }
  void TearDown() override {
    if (oldPictures) {
      ::setenv("XDG_PICTURES_DIR", oldPictures->c_str(), 1);
    } else {
      ::unsetenv("XDG_PICTURES_DIR");
    }
    fs::remove_all(pictures);
    GameScreenTest::TearDown();
  }
  // The one screenshot written, read back.
  std::unique_ptr<gfx::MemVideo> Written() {
    window->screenshotWriter.WaitUntilIdle();
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(pictures / "Redhollow"))
      files.push_back(entry.path());
    EXPECT_EQ(files.size(), 1u);
    if (files.size() != 1) return nullptr;
    auto png = gfx::ReadPng(files[0].string());
    fs::remove(files[0]);
    return png;
  }

  fs::path pictures;
  std::optional<std::string> oldPictures;
};

TEST_F(ScreenshotGame, ThePngHoldsTheWindowAndTheNoticeSaysSoThenGoes) {
  // On the title screen.
  const gfx::MemVideo menu = platform->window();
  platform->PressKey(platform::vk::kF12);
  auto png = Written();
  ASSERT_TRUE(png);
  EXPECT_TRUE(SamePixels(*png, menu));

  StartNewGame();
  platform->Tick(110);  // the first notice's seconds
  const gfx::MemVideo shown = platform->window();
  ASSERT_TRUE(SamePixels(shown, *window->backBuffer));
  platform->PressKey(platform::vk::kF12);
  png = Written();
  ASSERT_TRUE(png);
  EXPECT_TRUE(SamePixels(*png, shown));

  // The next tick tells of it over the window; time goes on beneath.
  platform->PressKey(platform::vk::kF6);
  platform->Tick();
  ASSERT_TRUE(window->notice.shown());
  EXPECT_EQ(window->notice.text().rfind("Screenshot saved: redhollow-", 0), 0u);
  EXPECT_TRUE(window->notice.text().ends_with(".png"));
  EXPECT_TRUE(messages->shown.empty());
  const gfx::IntRect noticeRect = window->notice.rect();
  EXPECT_NE(platform->window().at(noticeRect.left + 1, noticeRect.top + 1),
            window->backBuffer->at(noticeRect.left + 1, noticeRect.top + 1));
  platform->Tick(110);
  EXPECT_FALSE(window->notice.shown());
  EXPECT_TRUE(SamePixels(platform->window(), *window->backBuffer));
}

TEST_F(ScreenshotGame, WithADialogOpenThePngHoldsTheDialogOverTheScreen) {
  StartNewGame();
  std::unique_ptr<gfx::MemVideo> png;
  std::unique_ptr<gfx::MemVideo> composed;
  gfx::IntRect dialog;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    if (composed) {
      p.PressKey('C');
      return;
    }
    dialog = form.WindowBounds();
    composed = std::make_unique<gfx::MemVideo>(p.window().width(), p.window().height());
    gfx::CopyRect(p.window(), p.window().bounds(), *composed, 0, 0);
    window->TakeScreenshot();  // F12 under a dialog comes here
    png = Written();
  };
  platform->PressKey(platform::vk::kF2);
  ASSERT_TRUE(png);
  EXPECT_TRUE(SamePixels(*png, *composed));
  // The dialog is in it, not only the screen below.
  EXPECT_NE(png->at(dialog.left + 5, dialog.top + 5),
            window->backBuffer->at(dialog.left + 5, dialog.top + 5));
}

TEST_F(ScreenshotGame, AFolderThatCannotBeMadeIsToldAndPlayGoesOn) {
  StartNewGame();
  std::ofstream(pictures) << "a file where the folder goes";
  platform->PressKey(platform::vk::kF6);
  platform->PressKey(platform::vk::kF12);
  window->screenshotWriter.WaitUntilIdle();
  const std::int32_t day = state().day;
  platform->Tick(60);
  ASSERT_TRUE(window->notice.shown());
  EXPECT_EQ(window->notice.text().rfind("The screenshot could not be saved: the folder ", 0), 0u);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_GT(state().day, day);
}

}  // namespace
}  // namespace app
