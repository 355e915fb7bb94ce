// Autosave: the rotation over the three slots judged by what is on disk (across a restart
// too), an unchanged colony left unwritten, time counted only while the colony runs with no
// dialog open, a failure told once without stopping play, the old colony written when a new
// one replaces it and when the game quits, and a kill at any moment leaving every autosave
// loadable.
#include "screens/autosave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "dialogs/file_dialog.h"
#include "tests/screens/game_screen_fixture.h"
#include "tests/sim/colony_fixture.h"
#include "tests/support/kill_harness.h"

namespace screens_test {
namespace {

namespace fs = std::filesystem;

fs::path TestFolder(const std::string& kind) {
  return fs::temp_directory_path() /
         ("redhollow-" + kind + "-" + std::to_string(::getpid()) + "-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

fs::path Slot(const fs::path& saves, int slot) {
  return saves / (dialogs::AutosaveName(slot) + ".sav");
}

// The slot modified last, 0 when there is none.
int NewestSlot(const fs::path& saves) {
  int newest = 0;
  timespec newestTime{};
  for (int slot = 1; slot <= dialogs::kAutosaveSlots; ++slot) {
    struct stat info {};
    if (::stat(Slot(saves, slot).c_str(), &info) != 0) continue;
    const timespec t = info.st_mtim;
    if (newest == 0 || t.tv_sec > newestTime.tv_sec ||
        (t.tv_sec == newestTime.tv_sec && t.tv_nsec > newestTime.tv_nsec)) {
      newest = slot;
      newestTime = t;
    }
  }
  return newest;
}

class AutosaveRotation : public simtest::ColonyTest {
 protected:
  void SetUp() override {
    root = TestFolder("autosave");
    fs::remove_all(root);
    saves = root / "SAVES";
  }
  void TearDown() override { fs::remove_all(root); }

  std::unique_ptr<screens::Autosave> MakeAutosave() {
    auto autosave = std::make_unique<screens::Autosave>([this] { return saves; });
    autosave->SetIntervalMinutes(2);
    autosave->Settled(colony);
    return autosave;
  }
  // Two minutes of play; returns the slot that the autosave wrote, 0 for none.
  int PlayTwoMinutes(screens::Autosave& autosave) {
    const int before = NewestSlot(saves);
    const std::string old = before == 0 ? "" : ReadAll(Slot(saves, before));
    for (std::int64_t i = 0; i < 2 * screens::kTicksPerMinute; ++i) autosave.Tick(colony, true);
    autosave.writer().WaitUntilIdle();
    const int after = NewestSlot(saves);
    if (after == before && (after == 0 || ReadAll(Slot(saves, after)) == old)) return 0;
    return after;
  }
  static std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path root;
  fs::path saves;
};

TEST_F(AutosaveRotation, TheOldestSlotOnDiskIsReplacedEvenAfterARestart) {
  auto autosave = MakeAutosave();
  std::vector<int> written;
  for (int i = 0; i < 5; ++i) {
    colony.RunDay();
    written.push_back(PlayTwoMinutes(*autosave));
  }
  EXPECT_EQ(written, (std::vector<int>{1, 2, 3, 1, 2}));
  // Each autosave holds the colony of its moment, and loads.
  EXPECT_EQ(sim::LoadGameFromFile(colony, Slot(saves, 2)), "");

  // A new run counts from nothing, but the disk says slot 3 is the oldest.
  autosave = MakeAutosave();
  colony.RunDay();
  EXPECT_EQ(PlayTwoMinutes(*autosave), 3);
  // A missing slot comes first, whatever the times.
  fs::remove(Slot(saves, 2));
  colony.RunDay();
  EXPECT_EQ(PlayTwoMinutes(*autosave), 2);
  colony.RunDay();
  EXPECT_EQ(PlayTwoMinutes(*autosave), 1);
  // The player's own saves beside them are never touched.
  std::ofstream(saves / "mine.sav") << "the player's";
  for (int i = 0; i < 4; ++i) {
    colony.RunDay();
    PlayTwoMinutes(*autosave);
  }
  EXPECT_EQ(ReadAll(saves / "mine.sav"), "the player's");
}

// Slots that look equally new (a coarse clock, or a clock set back since they were written):
// each autosave still becomes the newest, so the rotation goes on instead of hitting one slot.
TEST_F(AutosaveRotation, SlotsThatLookEquallyNewStillRotate) {
  auto autosave = MakeAutosave();
  fs::create_directories(saves);
  const auto later = fs::file_time_type::clock::now() + std::chrono::hours(1);
  for (int slot = 1; slot <= dialogs::kAutosaveSlots; ++slot) {
    std::ofstream(Slot(saves, slot)) << "old";
    fs::last_write_time(Slot(saves, slot), later);
  }
  std::vector<int> written;
  for (int i = 0; i < 4; ++i) {
    colony.RunDay();
    written.push_back(PlayTwoMinutes(*autosave));
  }
  EXPECT_EQ(written, (std::vector<int>{1, 2, 3, 1}));
}

TEST_F(AutosaveRotation, OnlyRunningTimeCountsAndAnUnchangedColonyIsNotWrittenAgain) {
  auto autosave = MakeAutosave();
  // Just founded and settled: the interval passes without a write.
  EXPECT_EQ(PlayTwoMinutes(*autosave), 0);
  EXPECT_FALSE(fs::exists(saves));
  colony.RunDay();
  for (int i = 0; i < 10 * screens::kTicksPerMinute; ++i) autosave->Tick(colony, false);
  EXPECT_EQ(autosave->runningTicks(), 0);
  EXPECT_EQ(PlayTwoMinutes(*autosave), 1);
  // Unchanged since that autosave.
  EXPECT_EQ(PlayTwoMinutes(*autosave), 0);
  // Off: nothing counts, nothing is written.
  colony.RunDay();
  autosave->SetIntervalMinutes(0);
  EXPECT_EQ(PlayTwoMinutes(*autosave), 0);
  autosave->SetIntervalMinutes(-3);
  EXPECT_EQ(autosave->intervalMinutes(), 0);
}

TEST_F(AutosaveRotation, AFailureIsToldOnceUntilAnAutosaveSucceedsAgain) {
  auto autosave = MakeAutosave();
  fs::create_directories(root);
  std::ofstream(saves) << "a file where the folder goes";
  colony.RunDay();
  EXPECT_EQ(PlayTwoMinutes(*autosave), 0);
  const std::optional<std::string> first = autosave->TakeNotice();
  ASSERT_TRUE(first);
  EXPECT_EQ(*first,
            "Autosave failed. The game could not be saved to autosave-1.sav: its folder could not "
            "be created (Not a directory); no file was written.");
  // Still failing, and the colony counts as unsaved: written again, told no more.
  PlayTwoMinutes(*autosave);
  EXPECT_FALSE(autosave->TakeNotice());
  fs::remove(saves);
  EXPECT_EQ(PlayTwoMinutes(*autosave), 1);
  EXPECT_FALSE(autosave->TakeNotice());
  fs::remove_all(saves);
  std::ofstream(saves) << "again";
  colony.RunDay();
  PlayTwoMinutes(*autosave);
  EXPECT_TRUE(autosave->TakeNotice());
}

// The real autosave, killed at random moments while its thread writes, a hundred times: every
// autosave on disk loads as one of the colonies written.
TEST_F(AutosaveRotation, AKillAtAnyMomentLeavesEveryAutosaveLoadable) {
  const sim::SavedGame first = Snapshot();
  colony.RunDay();
  const sim::SavedGame second = Snapshot();
  // The two colonies stand ready, so that the writes follow one another as closely as play's.
  const simtest::StandingColony firstColony(first), secondColony(second);
  const auto colonyOfWrite = [&](int i) -> const sim::Colony& {
    return i % 2 == 0 ? firstColony.colony : secondColony.colony;
  };
  // Every slot holds a game before the kills begin.
  auto autosave = MakeAutosave();
  for (int i = 0; i < dialogs::kAutosaveSlots; ++i) autosave->SaveBeforeQuit(colonyOfWrite(i));
  ASSERT_EQ(NewestSlot(saves), 3);
  int killedWhileWriting = 0;
  testing_support::KillWhileWriting(
      100,
      [&](int i) {
        // The child's own: a thread of the parent's writer does not live on in the child.
        static std::unique_ptr<screens::Autosave> childAutosave = MakeAutosave();
        childAutosave->SaveBeforeQuit(colonyOfWrite(i));
        return childAutosave->TakeNotice() == std::nullopt;
      },
      [&](int round) {
        for (int slot = 1; slot <= dialogs::kAutosaveSlots; ++slot) {
          colony.NewGame();
          ASSERT_EQ(sim::LoadGameFromFile(colony, Slot(saves, slot)), "") << "round " << round;
          ASSERT_TRUE(S() == first.state || S() == second.state) << "round " << round;
          EXPECT_EQ(colony.History(), S() == first.state ? first.history : second.history);
        }
        killedWhileWriting += sim::RemoveStaleSaveTemporaries(saves, "sav");
      });
  // Some kills must land while a temporary file exists, or the test proves little.
  EXPECT_GT(killedWhileWriting, 0);
  RecordProperty("KilledWhileWriting", killedWhileWriting);
}

// --- on the game screen ---

class AutosaveGame : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    saves = fs::path(window->startDir) / "SAVES";
  }
  screens::Autosave& autosave() { return game().autosave(); }
  // A few accelerated days, then paused.
  void PlaySomeDays() {
    platform->PressKey(platform::vk::kF7);
    platform->Tick(5);
    platform->PressKey(platform::vk::kF5);
  }
  std::vector<std::string> Listed() { return dialogs::ListSavedGames(saves, "sav"); }

  fs::path saves;
};

TEST_F(AutosaveGame, PlayTimeCountsOnlyWhileTheColonyRunsWithNoDialogOpen) {
  StartNewGame();
  platform->Tick(10);
  EXPECT_EQ(autosave().runningTicks(), 0);  // paused at the start
  platform->PressKey(platform::vk::kF6);
  platform->Tick(10);
  EXPECT_EQ(autosave().runningTicks(), 10);
  // The file dialog stays open for 20 ticks of the window's timer, then is cancelled.
  int idle = 0;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm&) {
    if (++idle == 20) p.PressKey('C');
  };
  platform->PressKey(platform::vk::kF3);
  EXPECT_EQ(idle, 20);
  EXPECT_EQ(autosave().runningTicks(), 10);
  platform->Tick(5);
  EXPECT_EQ(autosave().runningTicks(), 15);
  // Minimised: the timer does no work.
  platform->PressKey(platform::vk::kF10);
  platform->Tick(10);
  EXPECT_EQ(autosave().runningTicks(), 15);
}

TEST_F(AutosaveGame, AtTheIntervalTheRunningColonyIsWrittenAndListedFirst) {
  game().SetAutosaveInterval(2);
  StartNewGame();
  fs::create_directories(saves);
  std::ofstream(saves / "a named save.sav") << "x";
  platform->PressKey(platform::vk::kF6);
  platform->Tick(static_cast<int>(2 * screens::kTicksPerMinute));
  autosave().writer().WaitUntilIdle();
  ASSERT_TRUE(fs::exists(saves / "autosave-1.sav"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"autosave-1", "a named save"}));
  // Nothing was asked or shown, and time went on.
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_FALSE(window->notice.shown());
  const sim::ColonyState saved = state();
  platform->PressKey(platform::vk::kF5);
  PlaySomeDays();
  ASSERT_NE(state(), saved);
  EXPECT_TRUE(game().LoadGame((saves / "autosave-1.sav").string()));
  EXPECT_EQ(state().day, saved.day);
}

TEST_F(AutosaveGame, ANewColonyOrALoadedOneTakesThePlaceOfAChangedOneOnlyAfterItIsWritten) {
  StartNewGame();
  // A fresh colony replaced at once is not worth a file.
  messages->answers = {dialogs::kResultYes};
  platform->PressKey(platform::vk::kF1);
  autosave().writer().WaitUntilIdle();
  EXPECT_FALSE(fs::exists(saves));

  PlaySomeDays();
  const sim::ColonyState first = state();
  messages->answers = {dialogs::kResultYes};
  platform->PressKey(platform::vk::kF1);
  autosave().writer().WaitUntilIdle();
  EXPECT_EQ(Listed(), std::vector<std::string>{"autosave-1"});

  // Loading autosave-1 over a changed colony writes that colony, but not over the file loaded.
  PlaySomeDays();
  const sim::ColonyState second = state();
  fs::copy_file(saves / "autosave-1.sav", saves / "autosave-2.sav");
  fs::copy_file(saves / "autosave-1.sav", saves / "autosave-3.sav");
  fs::last_write_time(saves / "autosave-1.sav",
                      fs::last_write_time(saves / "autosave-3.sav") - std::chrono::hours(1));
  ASSERT_TRUE(game().LoadGame((saves / "autosave-1.sav").string()));
  EXPECT_EQ(state(), first);
  autosave().writer().WaitUntilIdle();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"autosave-2", "autosave-3", "autosave-1"}));
  ASSERT_TRUE(game().LoadGame((saves / "autosave-2.sav").string()));
  EXPECT_EQ(state(), second);

  // A load that fails keeps the colony and writes nothing.
  PlaySomeDays();
  std::ofstream(saves / "broken.sav") << "not a game";
  EXPECT_FALSE(game().LoadGame((saves / "broken.sav").string()));
  autosave().writer().WaitUntilIdle();
  EXPECT_EQ(Listed().size(), 4u);
  EXPECT_EQ(Listed().front(), "autosave-2");
}

TEST_F(AutosaveGame, QuittingWritesAChangedColonyBeforeTheAnswerReturns) {
  StartNewGame();
  PlaySomeDays();
  const sim::ColonyState played = state();
  // Alt+F4 or the window's close: No keeps the game and writes nothing.
  messages->answers = {dialogs::kResultNo};
  platform->RequestClose();
  EXPECT_FALSE(platform->terminated());
  EXPECT_FALSE(fs::exists(saves));
  // Yes: written, and the write waited for.
  messages->answers = {dialogs::kResultYes};
  platform->RequestClose();
  EXPECT_TRUE(platform->terminated());
  EXPECT_FALSE(autosave().writer().Busy());
  ASSERT_TRUE(fs::exists(saves / "autosave-1.sav"));
  colony().NewGame();
  ASSERT_TRUE(game().LoadGame((saves / "autosave-1.sav").string()));
  EXPECT_EQ(state(), played);
}

TEST_F(AutosaveGame, QuittingWithAColonyJustSavedOrFoundedWritesNothing) {
  StartNewGame();
  PlaySomeDays();
  ASSERT_TRUE(game().SaveGame((saves / "mine.sav").string()));
  messages->answers = {dialogs::kResultYes};
  platform->PressKey(platform::vk::kEscape);
  EXPECT_TRUE(platform->terminated());
  EXPECT_EQ(Listed(), std::vector<std::string>{"mine"});
}

TEST_F(AutosaveGame, AFailedAutosaveIsToldOnTheScreenOnceAndPlayGoesOn) {
  StartNewGame();
  std::ofstream(saves) << "a file where the folder goes";
  const auto replaceChangedColony = [&] {
    PlaySomeDays();
    messages->answers = {dialogs::kResultYes};
    platform->PressKey(platform::vk::kF1);
    autosave().writer().WaitUntilIdle();
    platform->Tick();
  };
  replaceChangedColony();
  ASSERT_TRUE(window->notice.shown());
  EXPECT_EQ(window->notice.text().rfind("Autosave failed. The game could not be saved to", 0), 0u);
  // Only the two New Game questions were dialogs.
  EXPECT_EQ(messages->shown.size(), 1u);
  platform->PressKey(platform::vk::kF6);
  const std::int32_t day = state().day;
  platform->Tick(110);  // the notice's seconds
  EXPECT_GT(state().day, day);
  EXPECT_FALSE(window->notice.shown());

  replaceChangedColony();
  EXPECT_FALSE(window->notice.shown());  // told once
  fs::remove(saves);
  replaceChangedColony();
  EXPECT_FALSE(window->notice.shown());
  fs::remove_all(saves);
  std::ofstream(saves) << "again";
  replaceChangedColony();
  EXPECT_TRUE(window->notice.shown());  // after a success, a new failure is told
}

TEST_F(AutosaveGame, ThePlayerCannotSaveUnderAnAutosavesName) {
  StartNewGame();
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    if (&form != window->fileDialog.get()) return;
    auto& files = *window->fileDialog;
    if (files.nameEdit().Text().empty()) {
      const gfx::IntRect field =
          files.nameEdit().bounds.Offset(files.ClientBounds().left, files.ClientBounds().top);
      p.Click((field.left + field.right) / 2, (field.top + field.bottom) / 2);
      p.TypeText("autosave-2");
      p.PressKey(platform::vk::kReturn);
    } else {
      p.PressKey('C');
    }
  };
  platform->PressKey(platform::vk::kF3);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "Error");
  EXPECT_FALSE(fs::exists(saves / "autosave-2.sav"));
}

}  // namespace
}  // namespace screens_test
