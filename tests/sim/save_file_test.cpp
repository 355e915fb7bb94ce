// Saved games on disk, against what players' folders really hold: pipes and folders where a
// file was expected, links left where the temporary file goes, files only their owner may
// read, saves killed half way, and what a failed save says it left.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <thread>

#include "tests/sim/colony_fixture.h"
#include "tests/support/kill_harness.h"

namespace {

using namespace sim;
using simtest::ColonyTest;
namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The number of a process that has ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

class SaveFileTest : public ColonyTest {
 protected:
  void SetUp() override {
    folder = fs::path(REDHOLLOW_TEST_OUTPUT_DIR) / "sim-save-files" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  std::string Temporary(const fs::path& save) const {
    return save.string() + ".tmp-" + std::to_string(::getpid());
  }

  // Saves in a child process that may write no more than a few bytes to any file, and returns
  // what the save said.
  std::string SaveWithoutRoom(const fs::path& path) {
    int answer[2];
    if (::pipe(answer) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails instead of killing
      const rlimit limit{100, 100};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      const std::string said = SaveGameToFile(colony, path);
      (void)!::write(answer[1], said.data(), said.size());
      ::_exit(0);
    }
    ::close(answer[1]);
    std::string said;
    char buffer[256];
    for (ssize_t n; (n = ::read(answer[0], buffer, sizeof buffer)) > 0;) said.append(buffer, n);
    ::close(answer[0]);
    ::waitpid(child, nullptr, 0);
    return said;
  }

  fs::path folder;
};

// Opening a pipe for reading waits for a writer; a terminal may never answer. The loader
// must refuse them at once, as it refuses any file that is not a saved game.
TEST_F(SaveFileTest, LoadingAPipeAFolderOrADeviceRefusesAtOnce) {
  const ColonyState state = S();
  const fs::path pipe = folder / "pipe.sav";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  auto load = std::async(std::launch::async, [&] { return LoadGameFromFile(colony, pipe); });
  if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // A writer that comes and goes frees the waiting reader, so that the test ends.
    ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    ADD_FAILURE() << "loading a pipe blocked";
  }
  EXPECT_EQ(load.get(),
            "The file pipe.sav is not a Redhollow saved game or is damaged; nothing was loaded.");

  fs::create_directories(folder / "folder.sav");
  EXPECT_EQ(LoadGameFromFile(colony, folder / "folder.sav"),
            "The file folder.sav is not a Redhollow saved game or is damaged; nothing was loaded.");
  EXPECT_EQ(LoadGameFromFile(colony, "/dev/null"),
            "The file null is not a Redhollow saved game or is damaged; nothing was loaded.");
  EXPECT_EQ(S(), state);
}

TEST_F(SaveFileTest, ALinkWhereTheTemporaryFileGoesIsNeverFollowed) {
  const fs::path save = folder / "colony.sav";
  const fs::path victim = folder / "victim.txt";
  std::ofstream(victim) << "a player's notes";
  fs::create_symlink(victim, Temporary(save));

  ASSERT_EQ(SaveGameToFile(colony, save), "");
  EXPECT_EQ(Contents(victim), "a player's notes");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(save)));
  EXPECT_EQ(LoadGameFromFile(colony, save), "");
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"colony.sav", "victim.txt"}));
}

TEST_F(SaveFileTest, AReplacedSaveKeepsItsPermissions) {
  const fs::path save = folder / "private.sav";
  ASSERT_EQ(SaveGameToFile(colony, save), "");
  fs::permissions(save, fs::perms::owner_read | fs::perms::owner_write);
  colony.RunDay();
  ASSERT_EQ(SaveGameToFile(colony, save), "");
  EXPECT_EQ(fs::status(save).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(LoadGameFromFile(colony, save), "");
}

TEST_F(SaveFileTest, AFailedSaveSaysWhatItLeft) {
  // No folder can be made where a file stands: there was no old game either.
  std::ofstream(folder / "plain") << "x";
  EXPECT_EQ(SaveGameToFile(colony, folder / "plain" / "new.sav"),
            "The game could not be saved to new.sav: its folder could not be created (Not a "
            "directory); no file was written.");

  // A disk that takes no more (a file size limit, which binds root too): the old game stays
  // as it was.
  const fs::path save = folder / "old.sav";
  ASSERT_EQ(SaveGameToFile(colony, save), "");
  const std::string old = Contents(save);
  colony.RunDay();
  EXPECT_EQ(SaveWithoutRoom(save),
            "The game could not be saved to old.sav: File too large; the old file is unchanged.");
  EXPECT_EQ(SaveWithoutRoom(folder / "new.sav"),
            "The game could not be saved to new.sav: File too large; no file was written.");
  EXPECT_EQ(Contents(save), old);
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"old.sav", "plain"}));

  // A pipe or a folder under the name is left alone, whatever it is.
  const fs::path pipe = folder / "pipe.sav";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  EXPECT_EQ(SaveGameToFile(colony, pipe),
            "The game could not be saved to pipe.sav: something that is not a saved game has "
            "that name, and it was left as it was.");
  EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(SaveFileTest, OnlyTheTemporaryFilesOfEndedSavesAreCleared) {
  const std::string dead = std::to_string(EndedProcess());
  const std::string alive = std::to_string(::getpid());
  const std::vector<std::string> kept = {
      "colony.sav",
      "colony.sav.tmp-" + alive,  // a save under way
      "notes.txt.tmp-" + dead,    // not a saved game's
      "colony.sav.tmp-" + dead + "x",
      "colony.sav.tmp-",
      ".sav.tmp-" + dead,
      "folder.sav.tmp-" + dead,  // a folder
  };
  for (const std::string& name : kept) {
    if (name.starts_with("folder")) {
      fs::create_directories(folder / name);
    } else {
      std::ofstream(folder / name) << "x";
    }
  }
  std::ofstream(folder / ("colony.sav.tmp-" + dead)) << "half a save";
  fs::create_symlink(folder / "colony.sav", folder / ("linked.sav.tmp-" + dead));

  EXPECT_EQ(RemoveStaleSaveTemporaries(folder, "sav"), 2);
  std::vector<std::string> expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderNames(folder), expected);
  EXPECT_EQ(Contents(folder / "colony.sav"), "x");  // the link went, not what it named
  EXPECT_EQ(RemoveStaleSaveTemporaries(folder / "missing", "sav"), 0);
}

// The real save, killed at random moments while it writes, a hundred times: the file always
// loads as one of the two games it held, and clearing the folder leaves nothing else in it.
TEST_F(SaveFileTest, AKillAtAnyMomentOfASaveLeavesAGameThatLoads) {
  const fs::path save = folder / "colony.sav";
  ASSERT_EQ(SaveGameToFile(colony, save), "");
  const SavedGame first = Snapshot();
  colony.RunDay();
  const SavedGame second = Snapshot();
  const simtest::StandingColony firstColony(first), secondColony(second);

  int killedWhileWriting = 0;
  // The child alternates the two games for as long as it lives.
  testing_support::KillWhileWriting(
      100,
      [&](int i) {
        return SaveGameToFile(i % 2 == 0 ? secondColony.colony : firstColony.colony, save).empty();
      },
      [&](int round) {
        colony.NewGame();
        ASSERT_EQ(LoadGameFromFile(colony, save), "") << "round " << round;
        ASSERT_TRUE(S() == first.state || S() == second.state) << "round " << round;
        EXPECT_EQ(colony.History(), S() == first.state ? first.history : second.history);
        killedWhileWriting += RemoveStaleSaveTemporaries(folder, "sav");
        ASSERT_EQ(FolderNames(folder), std::vector<std::string>{"colony.sav"}) << "round " << round;
      });
  // Some kills must land while a temporary file exists, or the test proves little.
  EXPECT_GT(killedWhileWriting, 0);
  RecordProperty("KilledWhileWriting", killedWhileWriting);
}

}  // namespace
