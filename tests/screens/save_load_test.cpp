// Saving and loading as a player does it: F3 and F2 on the game screen, "Load Game" on the
// menu, the overwrite question freezing the colony, refused names, a damaged file, and the
// keys and clicks that a dialog keeps from the screen below it.
#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/file_dialog.h"
#include "tests/screens/game_screen_fixture.h"

namespace screens_test {
namespace {

namespace fs = std::filesystem;

class SaveLoad : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    folder = fs::temp_directory_path() /
             ("redhollow-saves-" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    window->startDir = folder.string();
    messages->otherDialog = [this](platform::HeadlessPlatform& p, dialogs::TForm& form) {
      if (&form != window->fileDialog.get()) return;
      if (fileSteps.empty()) {
        p.PressKey('C');  // cancel
        return;
      }
      auto step = std::move(fileSteps.front());
      fileSteps.pop_front();
      step(p);
    };
  }
  void TearDown() override {
    fs::remove_all(folder);
    GameScreenTest::TearDown();
  }
  dialogs::TFileDlg& files() { return *window->fileDialog; }
  // Clicks into the name field and types the name, then presses Enter.
  std::function<void(platform::HeadlessPlatform&)> TypeName(std::string name) {
    return [this, name](platform::HeadlessPlatform& p) {
      const gfx::IntRect field =
          files().nameEdit().bounds.Offset(files().ClientBounds().left, files().ClientBounds().top);
      p.Click((field.left + field.right) / 2, (field.top + field.bottom) / 2);
      p.TypeText(name);
      p.PressKey(platform::vk::kReturn);
    };
  }
  fs::path SaveFile(const std::string& name) { return folder / "SAVES" / (name + ".sav"); }

  fs::path folder;
  std::deque<std::function<void(platform::HeadlessPlatform&)>> fileSteps;
};

TEST_F(SaveLoad, ASavedColonyComesBackWithTheViewRestoredFromIt) {
  StartNewGame();
  platform->PressKey(platform::vk::kF7);
  platform->Tick(20);
  platform->PressKey(platform::vk::kF6);
  ClickAt(CellPoint(LandingModule().x, LandingModule().y));  // selects the landing module
  const sim::ColonyState saved = colony().State();
  const std::vector<world::MapCell> cells = game().land().cells;
  ASSERT_EQ(saved.category, 1);

  fileSteps = {TypeName("first colony")};  // no SAVES folder yet: saving makes it
  platform->PressKey(platform::vk::kF3);
  ASSERT_TRUE(fs::exists(SaveFile("first colony")));
  EXPECT_TRUE(messages->shown.empty());

  messages->answers = {dialogs::kResultYes};
  platform->PressKey(platform::vk::kF1);
  ASSERT_EQ(colony().State().day, 1);

  fileSteps = {TypeName("first colony")};
  platform->PressKey(platform::vk::kF2);
  EXPECT_EQ(colony().State(), saved);
  EXPECT_EQ(game().land().cells, cells);
  EXPECT_FALSE(game().land().HasSelection());
  EXPECT_EQ(palette().tabs[1]->down, 1);     // the category of the saved game
  EXPECT_EQ(toolbar().buttons[5]->down, 1);  // and its speed, normal
  EXPECT_EQ(toolbar().buttons[4]->down, 0);
}

TEST_F(SaveLoad, NoToTheOverwriteQuestionKeepsTheDialogOpenAndTheColonyStill) {
  StartNewGame();
  fileSteps = {TypeName("base")};
  platform->PressKey(platform::vk::kF3);
  ASSERT_TRUE(fs::exists(SaveFile("base")));

  platform->PressKey(platform::vk::kF7);
  const std::int32_t day = colony().State().day;
  messages->answers = {dialogs::kResultNo, dialogs::kResultYes};
  fileSteps = {TypeName("base"), [&](platform::HeadlessPlatform& p) {
                 // No was answered: the dialog is open with the name, and no day went by.
                 EXPECT_EQ(files().nameEdit().Text(), "base");
                 EXPECT_EQ(colony().State().day, day);
                 p.Tick(5);
                 EXPECT_EQ(colony().State().day, day);
                 p.PressKey(platform::vk::kReturn, platform::kAutoRepeat);  // held: nothing
                 EXPECT_EQ(messages->shown.size(), 1u);
                 p.PressKey(platform::vk::kReturn);
               }};
  platform->PressKey(platform::vk::kF3);
  ASSERT_EQ(messages->shown.size(), 2u);
  EXPECT_EQ(messages->shown[0].title, "Warning");
  EXPECT_EQ(messages->shown[0].text, "File already exist. Do you want to replace it?");
  EXPECT_EQ(colony().State().day, day);
  platform->Tick();
  EXPECT_EQ(colony().State().day, day + 1);  // time runs again once the dialog is gone
}

TEST_F(SaveLoad, RefusedNamesWriteNothingAndSayWhy) {
  StartNewGame();
  fileSteps = {TypeName("../outside"), TypeName(".hidden"), [](auto& p) { p.PressKey('C'); }};
  platform->PressKey(platform::vk::kF3);
  ASSERT_EQ(messages->shown.size(), 2u);
  EXPECT_EQ(messages->shown[0].title, "Error");
  EXPECT_EQ(messages->shown[1].title, "Error");
  EXPECT_FALSE(fs::exists(folder / "outside.sav"));
  EXPECT_FALSE(fs::exists(folder / "SAVES"));
}

TEST_F(SaveLoad, AMissingFileIsAnErrorAndTheDialogStaysOpen) {
  StartNewGame();
  fileSteps = {TypeName("nothing here"), [](auto& p) { p.PressKey('C'); }};
  platform->PressKey(platform::vk::kF2);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "Error");
  EXPECT_NE(messages->shown[0].text.find("nothing here.sav does exist or cannot be read"),
            std::string::npos);
}

TEST_F(SaveLoad, ADamagedFileFromTheMenuSaysWhyAndStaysOnTheMenu) {
  fs::create_directories(folder / "SAVES");
  std::ofstream(SaveFile("broken"), std::ios::binary) << "RHSAVE\r\n\x01\x00\x00\x00 and no more";
  fileSteps = {TypeName("broken")};
  Click(*window->menuScreen->buttons[1]);
  platform->Tick(3);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "Pell Informs:");
  EXPECT_FALSE(messages->shown[0].text.empty());
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenMenu));
  EXPECT_NE(window->menuScreen, nullptr);
}

TEST_F(SaveLoad, LoadingFromTheMenuStartsTheGameWithTheSavedColony) {
  StartNewGame();
  platform->PressKey(platform::vk::kF7);
  platform->Tick(40);
  platform->PressKey(platform::vk::kF5);  // paused, so no day passes as the game comes back
  fileSteps = {TypeName("later")};
  platform->PressKey(platform::vk::kF3);
  const sim::ColonyState saved = colony().State();

  // A second run of the program: a new window, its menu, and "Load Game".
  messages.reset();
  window.reset();
  window = std::make_unique<app::TMainWnd>(*platform);
  messages = std::make_unique<testing_support::DialogAnswerer>(*platform, *window);
  messages->otherDialog = [this](platform::HeadlessPlatform& p, dialogs::TForm&) {
    TypeName("later")(p);
  };
  window->startDir = folder.string();
  platform->Activate();
  platform->Tick(2);
  Click(*window->menuScreen->buttons[1]);
  platform->Tick();
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenGame));
  EXPECT_EQ(window->gameScreen->colony().State(), saved);
}

TEST_F(SaveLoad, UnderADialogTheScreensKeysAndClicksDoNothing) {
  StartNewGame();
  const sim::ColonyState before = colony().State();
  const std::int32_t cx = game().land().centerX;
  fileSteps = {[&](platform::HeadlessPlatform& p) {
    for (const std::uint16_t key : {platform::vk::kEscape, platform::vk::kF1, platform::vk::kF7,
                                    platform::vk::kF5, platform::vk::kLeft, platform::vk::kDown})
      p.PressKey(key);
    const platform::Point cell = CellPoint(cx + 1, game().land().centerY);
    p.Click(cell.x, cell.y);
    p.Click(Centre(*palette().tabs[4]).x, Centre(*palette().tabs[4]).y);
    EXPECT_EQ(files().ModalResult, 0);
    p.PressKey('C');
  }};
  platform->PressKey(platform::vk::kF2);
  EXPECT_EQ(colony().State(), before);
  EXPECT_EQ(game().land().centerX, cx);
  EXPECT_TRUE(messages->shown.empty());
}

}  // namespace
}  // namespace screens_test
