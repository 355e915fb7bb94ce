// The file dialog on its own: what it lists, the list's click and double click, the hot keys
// outside and inside the name field, an empty name, the caption following the mode, and the
// names it refuses.
#include "dialogs/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "tests/dialogs/dialog_fixture.h"

namespace dialogs_test {
namespace {

namespace fs = std::filesystem;

TEST(RefusedSaveName, NamesThatWouldLeaveTheFolderOrHideAreRefused) {
  EXPECT_EQ(dialogs::RefusedSaveName("colony"), "");
  EXPECT_EQ(dialogs::RefusedSaveName("base.sav"), "");  // kept as typed: base.sav.sav
  EXPECT_EQ(dialogs::RefusedSaveName("my colony, year 2 & more"), "");
  EXPECT_EQ(dialogs::RefusedSaveName(std::string(200, 'x')), "");
  for (const std::string& bad : {std::string(), std::string("../up"), std::string("a/b"),
                                 std::string("a\\b"), std::string(".hidden"), std::string(201, 'x'),
                                 std::string("tab\there"), std::string("bell\x07")})
    EXPECT_NE(dialogs::RefusedSaveName(bad), "") << bad;
}

class FileDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    folder = fs::temp_directory_path() /
             ("redhollow-files-" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder / "SAVES");
    window->startDir = folder.string();
    for (const char* name : {"alpha.sav", "a.b.sav", "BETA.SAV", "notes.txt", ".hidden.sav"})
      std::ofstream(folder / "SAVES" / name) << "x";
    fs::create_directories(folder / "SAVES" / "folder.sav");
    files = window->fileDialog.get();
    ASSERT_NE(files, nullptr);
  }
  void TearDown() override {
    fs::remove_all(folder);
    DialogTest::TearDown();
  }
  int Show(std::int32_t mode) {
    files->Prepare(mode, dialogs::kSavesFolder, dialogs::kSavedGameExtension, 0.5f, 0.5f);
    return files->ShowModal();
  }
  platform::Point LineOf(std::int32_t line) {
    const gfx::IntRect list = files->fileList().bounds;
    const platform::Point centre = CentreOf(*files, list);
    return {centre.x,
            files->ClientBounds().top + list.top + 1 + files->fileList().LineHeight() * line + 3};
  }

  fs::path folder;
  dialogs::TFileDlg* files = nullptr;
};

TEST_F(FileDialog, ItListsTheSavedGamesWithoutTheirExtensionAndAClickNamesOne) {
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(files->fileList().Items(), (std::vector<std::string>{"a.b", "alpha"}));
    EXPECT_EQ(files->ActiveControl(), &files->actionButton());
    const platform::Point line = LineOf(1);
    p.Click(line.x, line.y);
    EXPECT_EQ(files->nameEdit().Text(), "alpha");
    // Below the last line a click changes nothing.
    const platform::Point below = LineOf(5);
    p.Click(below.x, below.y);
    EXPECT_EQ(files->fileList().ItemIndex(), 1);
    const platform::Point first = LineOf(0);
    p.Click(first.x, first.y);
    p.PressButton(platform::MouseButton::Left, first.x, first.y, 0, true);
    p.ReleaseButton(platform::MouseButton::Left, first.x, first.y);
  }};
  EXPECT_EQ(Show(dialogs::kFileModeLoad), dialogs::kModalOk);
  EXPECT_FALSE(scriptRanOut);
  EXPECT_EQ(files->path, folder.string() + "/SAVES/a.b.sav");
}

TEST_F(FileDialog, TheActionKeyWorksOutsideTheNameFieldAndTypesInsideIt) {
  script = {[&](auto& p, auto&) {
    p.PressKey('L');  // the action with an empty name: nothing
    EXPECT_EQ(files->ModalResult, 0);
    const platform::Point field = CentreOf(*files, files->nameEdit().bounds);
    p.Click(field.x, field.y);
    p.TypeText("alph");
    p.PressKey('A');
    p.TypeText("a");
    p.PressKey('L');
    p.TypeText("l");
    EXPECT_EQ(files->nameEdit().Text(), "alphal");
    EXPECT_EQ(files->ModalResult, 0);
    p.PressKey(platform::vk::kBack);
    p.PressKey(platform::vk::kTab);  // to the action button
    p.PressKey('L');
  }};
  EXPECT_EQ(Show(dialogs::kFileModeLoad), dialogs::kModalOk);
  EXPECT_EQ(files->path, folder.string() + "/SAVES/alpha.sav");
}

TEST_F(FileDialog, TheCaptionAndTheActionFollowTheModeEveryShowing) {
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(files->caption(), "Save Game");
    EXPECT_EQ(files->actionButton().caption, "&Save");
    EXPECT_EQ(files->actionButton().hotKey, 'S');
    p.PressKey('C');
  }};
  EXPECT_EQ(Show(dialogs::kFileModeSave), dialogs::kModalCancel);
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(files->caption(), "Load Game");
    EXPECT_EQ(files->actionButton().caption, "&Load");
    EXPECT_EQ(files->actionButton().hotKey, 'L');
    EXPECT_EQ(files->nameEdit().Text(), "");
    p.PressKey('C');
  }};
  EXPECT_EQ(Show(dialogs::kFileModeLoad), dialogs::kModalCancel);
  EXPECT_FALSE(scriptRanOut);
  EXPECT_EQ(files->ClientBounds(),
            gfx::FracToPixels(gfx::FracRect::FromSize(0.39f, 0.3f, 0.22f, 0.4f), {1024, 768}));
}

TEST_F(FileDialog, AMissingFolderListsNothingAndSavingThereIsStillAccepted) {
  fs::remove_all(folder / "SAVES");
  script = {[&](auto& p, auto&) {
    EXPECT_TRUE(files->fileList().Items().empty());
    const platform::Point field = CentreOf(*files, files->nameEdit().bounds);
    p.Click(field.x, field.y);
    p.TypeText("base.sav");
    p.PressKey(platform::vk::kReturn);
  }};
  EXPECT_EQ(Show(dialogs::kFileModeSave), dialogs::kModalOk);
  EXPECT_EQ(files->path, folder.string() + "/SAVES/base.sav.sav");
}

// Names on disk are bytes, not always UTF-8. The list shows each as well as the font can, two
// of them even alike ("caf\xE9" and "café"); picking one and accepting must name that very
// file, to load it or to replace it, whatever its bytes.
TEST_F(FileDialog, EveryListedNamePickedAndAcceptedNamesThatFile) {
  fs::remove_all(folder / "SAVES");
  fs::create_directories(folder / "SAVES");
  const std::vector<std::string> names = {"caf\xE9",   "caf\xC3\xA9",         "\xFF\xFE",
                                          "tab\there", std::string(240, 'n'), "\xE6\x97\xA5"};
  for (const std::string& name : names) std::ofstream(folder / "SAVES" / (name + ".sav")) << name;
  ASSERT_EQ(dialogs::ListSavedGames(folder / "SAVES", "sav").size(), names.size());

  for (const std::int32_t mode : {dialogs::kFileModeLoad, dialogs::kFileModeSave}) {
    for (std::size_t line = 0; line < names.size(); ++line) {
      std::string listed;
      script = {[&](auto& p, auto&) {
        listed = files->fileList().Items().at(line);
        const platform::Point at = LineOf(static_cast<std::int32_t>(line));
        p.Click(at.x, at.y);
        p.PressKey(mode == dialogs::kFileModeLoad ? 'L' : 'S');
      }};
      // Saving over a listed game asks first.
      if (mode == dialogs::kFileModeSave) script.push_back([](auto& p, auto&) { p.PressKey('Y'); });
      ASSERT_EQ(Show(mode), dialogs::kModalOk) << line;
      EXPECT_EQ(files->path, (folder / "SAVES" / (listed + ".sav")).string());
      std::ifstream file(files->path);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), listed);
    }
  }
}

// A typed name is UTF-8 even when a file whose bytes show alike is listed.
TEST_F(FileDialog, ATypedNameIsTheTextTypedNotAListedLookalike) {
  std::ofstream(folder / "SAVES" / "caf\xE9.sav") << "x";
  script = {[&](auto& p, auto&) {
    const platform::Point field = CentreOf(*files, files->nameEdit().bounds);
    p.Click(field.x, field.y);
    p.TypeText("caf\xC3\xA9");
    p.PressKey(platform::vk::kReturn);
  }};
  EXPECT_EQ(Show(dialogs::kFileModeSave), dialogs::kModalOk);
  EXPECT_EQ(files->path, folder.string() + "/SAVES/caf\xC3\xA9.sav");
}

// What a save killed before its rename left is cleared as the dialog opens; a save under way
// in a running game keeps its file.
TEST_F(FileDialog, OpeningTheDialogClearsWhatInterruptedSavesLeft) {
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const fs::path stale = folder / "SAVES" / ("alpha.sav.tmp-" + std::to_string(ended));
  const fs::path running = folder / "SAVES" / ("alpha.sav.tmp-" + std::to_string(::getpid()));
  std::ofstream(stale) << "half";
  std::ofstream(running) << "half";
  script = {[&](auto& p, auto&) {
    EXPECT_FALSE(fs::exists(stale));
    p.PressKey('C');
  }};
  EXPECT_EQ(files->ChooseSavedGame(dialogs::kFileModeLoad), std::nullopt);
  EXPECT_TRUE(fs::exists(running));
}

}  // namespace
}  // namespace dialogs_test
