// The settings file: where it lives, a round trip, every key damaged in turn, damaged lines and
// files, a newer version's keys kept through a rewrite, and a folder that cannot be written.
#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace app {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Every value other than its default, so that a key that falls back shows.
Settings Changed() {
  Settings s;
  s.soundEffects = false;
  s.effectsVolume = 35;
  s.fullScreen = false;
  s.windowWidth = 1600;
  s.windowHeight = 900;
  s.windowX = -40;
  s.windowY = 25;
  s.autosaveMinutes = 10;
  s.mapScale = 71;
  return s;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("redhollow-settings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_ / "config", fs::perms::owner_all, fs::perm_options::add, ignored_);
    fs::remove_all(folder_);
  }

  fs::path File() const { return folder_ / "config" / "redhollow" / "settings.ini"; }
  // A store of File(), loaded, its complaints in log_.
  SettingsStore Loaded() {
    log_.str("");
    SettingsStore store(File(), log_);
    store.Load();
    return store;
  }

  fs::path folder_;
  std::ostringstream log_;
  std::error_code ignored_;
};

TEST(WindowSize, OnlyWholeSizesWithinTheBoundsAreRead) {
  EXPECT_EQ(ParseWindowSize("1280x720"), (std::pair{1280, 720}));
  EXPECT_EQ(ParseWindowSize("800x600"), (std::pair{800, 600}));
  EXPECT_EQ(ParseWindowSize("16384x16384"), (std::pair{16384, 16384}));
  for (const char* bad : {"", "x", "12x", "x600", "0x0", "799x600", "800x599", "16385x600",
                          "1280x720x3", "1280X720", "+1280x720", "1280x-720", " 1280x720",
                          "1280 x 720", "1280x720 ", "99999999999x600", "1280,720"})
    EXPECT_EQ(ParseWindowSize(bad), std::nullopt) << bad;
}

TEST(SettingsPathTest, XdgConfigHomeCountsOnlyWhenAbsolute) {
  EXPECT_EQ(SettingsPath("/x/conf", "/home/p"), fs::path("/x/conf/redhollow/settings.ini"));
  const fs::path fallback("/home/p/.config/redhollow/settings.ini");
  EXPECT_EQ(SettingsPath(nullptr, "/home/p"), fallback);
  EXPECT_EQ(SettingsPath("", "/home/p"), fallback);
  EXPECT_EQ(SettingsPath("conf", "/home/p"), fallback);
  EXPECT_EQ(SettingsPath("./conf", "/home/p"), fallback);
  // No usable home: the settings last for the run only, never in whatever folder the game is.
  EXPECT_EQ(SettingsPath(nullptr, nullptr), std::nullopt);
  EXPECT_EQ(SettingsPath("conf", "home"), std::nullopt);
  EXPECT_EQ(SettingsPath("", ""), std::nullopt);
}

TEST_F(SettingsTest, AMissingFileIsTheDefaultsSilentlyAndNothingIsWrittenUntilAChange) {
  SettingsStore store = Loaded();
  EXPECT_EQ(store.settings(), Settings{});
  EXPECT_EQ(log_.str(), "");
  store.Change(Settings{});  // no change
  EXPECT_FALSE(fs::exists(File()));
  EXPECT_EQ(store.TakeProblem(), std::nullopt);
}

TEST_F(SettingsTest, ChangedSettingsComeBackAsTheyWereWrittenInAFolderOfThePlayersOwn) {
  {
    SettingsStore store = Loaded();
    store.Change(Changed());
    EXPECT_EQ(store.settings(), Changed());
  }
  EXPECT_EQ(Loaded().settings(), Changed());
  EXPECT_EQ(log_.str(), "");
  const std::string text = ReadFile(File());
  for (const char* line : {"version = 1", "sound-effects = off", "effects-volume = 35",
                           "full-screen = no", "window-size = 1600x900", "window-position = -40,25",
                           "autosave-minutes = 10", "map-scale = 71"})
    EXPECT_NE(text.find(std::string("\n") + line + "\n"), std::string::npos) << line;
  EXPECT_EQ(text.front(), '#');  // it says what it is
  EXPECT_EQ(fs::status(File().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
  for (const auto& entry : fs::directory_iterator(File().parent_path()))
    EXPECT_EQ(entry.path().filename(), "settings.ini");  // no temporary file left

  // A window whose place is not known writes no place, and reads back without one.
  Settings unplaced = Changed();
  unplaced.windowX.reset();
  unplaced.windowY.reset();
  Loaded().Change(unplaced);
  EXPECT_EQ(ReadFile(File()).find("\nwindow-position ="), std::string::npos);
  EXPECT_EQ(Loaded().settings(), unplaced);
}

TEST_F(SettingsTest, ASettingsFileThatIsALinkStaysOneAndItsTargetIsRewritten) {
  const fs::path kept = folder_ / "dotfiles" / "redhollow.ini";
  WriteFile(kept, "effects-volume = 20\n");
  fs::create_directories(File().parent_path());
  fs::create_symlink(kept, File());
  SettingsStore store = Loaded();
  EXPECT_EQ(store.settings().effectsVolume, 20);
  store.Change(Changed());
  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_EQ(Loaded().settings(), Changed());
  for (const auto& entry : fs::directory_iterator(kept.parent_path()))
    EXPECT_EQ(entry.path().filename(), "redhollow.ini");  // no temporary file left
}

TEST_F(SettingsTest, EachDamagedKeyFallsBackAloneWithOneLineNamingFileLineAndKey) {
  struct Damage {
    const char* key;
    const char* bad;
  };
  const Damage damages[] = {
      {"sound-effects", "loud"},     {"effects-volume", "101"}, {"effects-volume", "-1"},
      {"effects-volume", "5%"},      {"full-screen", ""},       {"window-size", "799x600"},
      {"window-size", "1280x720x3"}, {"window-position", "12"}, {"window-position", "1,2,3"},
      {"window-position", "x,4"},    {"autosave-minutes", "3"}, {"autosave-minutes", "-5"},
      {"map-scale", "75"},           {"map-scale", "71%"},      {"version", "zero"}};
  const std::string good = FormatSettings(Changed(), {});
  for (const Damage& damage : damages) {
    SCOPED_TRACE(std::string(damage.key) + " = " + damage.bad);
    std::vector<std::string> lines = Lines(good);
    int damagedLine = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].starts_with(std::string(damage.key) + " =")) {
        lines[i] = std::string(damage.key) + " = " + damage.bad;
        damagedLine = static_cast<int>(i) + 1;
      }
    }
    ASSERT_NE(damagedLine, 0);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    WriteFile(File(), text);

    const Settings read = Loaded().settings();
    Settings expected = Changed();
    const Settings defaults;
    const std::string key = damage.key;
    if (key == "sound-effects") expected.soundEffects = defaults.soundEffects;
    if (key == "effects-volume") expected.effectsVolume = defaults.effectsVolume;
    if (key == "full-screen") expected.fullScreen = defaults.fullScreen;
    if (key == "window-size") {
      expected.windowWidth = defaults.windowWidth;
      expected.windowHeight = defaults.windowHeight;
    }
    if (key == "window-position") expected.windowX = expected.windowY = std::nullopt;
    if (key == "autosave-minutes") expected.autosaveMinutes = defaults.autosaveMinutes;
    if (key == "map-scale") expected.mapScale = defaults.mapScale;
    EXPECT_EQ(read, expected);
    const std::vector<std::string> said = Lines(log_.str());
    ASSERT_EQ(said.size(), 1u) << log_.str();
    EXPECT_NE(said[0].find(File().string() + ":" + std::to_string(damagedLine) + ": " + key),
              std::string::npos)
        << said[0];
  }
}

TEST_F(SettingsTest, JunkOverlongAndShapelessLinesAreSkippedOneLineEach) {
  std::string text = FormatSettings(Changed(), {});
  text += std::string("\x01\x02\xff\x00junk=1\n", 11);  // binary, with an '='
  text += "window-size = " + std::string(5000, '9') + "x600\n";
  text += "just some words\n";
  text += "= 5\n";
  text += "Sound Effects = on\n";  // not a key of the file's form
  text += "   # an indented comment\n\n  \t\n";
  WriteFile(File(), text);
  EXPECT_EQ(Loaded().settings(), Changed());
  EXPECT_EQ(Lines(log_.str()).size(), 5u) << log_.str();

  // A file of nothing but junk says a bounded number of lines, however long it is.
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += "\x07\x08\n";
  WriteFile(File(), junk);
  EXPECT_EQ(Loaded().settings(), Settings{});
  EXPECT_LE(Lines(log_.str()).size(), 21u);
  EXPECT_NE(log_.str().find("more lines could not be used"), std::string::npos);
}

TEST_F(SettingsTest, AHandWrittenFileIsReadWithItsSpacesCaseAndLineEnds) {
  WriteFile(File(),
            "; mine\r\n  sound-effects=OFF  \r\n\teffects-volume =\t7\r\nfull-screen = No\r\n"
            "window-position = 3 , -4\r\nwindow-size=1024x768");  // no final line end
  const Settings read = Loaded().settings();
  EXPECT_EQ(log_.str(), "");
  EXPECT_FALSE(read.soundEffects);
  EXPECT_EQ(read.effectsVolume, 7);
  EXPECT_FALSE(read.fullScreen);
  EXPECT_EQ(read.windowX, 3);
  EXPECT_EQ(read.windowY, -4);
  EXPECT_EQ(read.windowWidth, 1024);
  EXPECT_EQ(read.windowHeight, 768);
}

TEST_F(SettingsTest, AHugeFileIsReadOnlyAsFarAsTheBoundWithOneLineSayingSo) {
  std::string text = FormatSettings(Changed(), {});
  const std::string comment = "# " + std::string(97, 'c') + "\n";
  while (text.size() < 4 * 1024 * 1024) text += comment;
  text += "effects-volume = 1\n";  // far beyond the bound: not read
  WriteFile(File(), text);
  EXPECT_EQ(Loaded().settings(), Changed());
  const std::vector<std::string> said = Lines(log_.str());
  ASSERT_EQ(said.size(), 1u) << log_.str();
  EXPECT_NE(said[0].find(File().string()), std::string::npos);
}

TEST_F(SettingsTest, ANewerVersionsKeysSurviveARewriteByThisOne) {
  WriteFile(File(),
            "version = 2\nsound-effects = off\nmusic-volume = 40\nwindow-size = 1024x768\n"
            "ui.theme = dusk  \n");
  SettingsStore store = Loaded();
  EXPECT_FALSE(store.settings().soundEffects);
  EXPECT_EQ(store.settings().windowWidth, 1024);
  const std::vector<std::string> said = Lines(log_.str());
  ASSERT_EQ(said.size(), 2u) << log_.str();
  EXPECT_NE(said[0].find(":3: unknown key music-volume"), std::string::npos) << said[0];
  EXPECT_NE(said[1].find(":5: unknown key ui.theme"), std::string::npos) << said[1];

  Settings louder = store.settings();
  louder.effectsVolume = 60;
  store.Change(louder);
  const std::string text = ReadFile(File());
  EXPECT_NE(text.find("\nmusic-volume = 40\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nui.theme = dusk\n"), std::string::npos) << text;
  EXPECT_EQ(Loaded().settings(), louder);
}

TEST_F(SettingsTest, SomethingElseInTheFilesPlaceIsTheDefaultsWithoutWaiting) {
  fs::create_directories(File());  // a folder
  EXPECT_EQ(Loaded().settings(), Settings{});
  EXPECT_EQ(Lines(log_.str()).size(), 1u);
  fs::remove(File());
  ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);  // no writer: a blocking read would hang
  EXPECT_EQ(Loaded().settings(), Settings{});
  EXPECT_EQ(Lines(log_.str()).size(), 1u);
}

// The path goes through a regular file, so the folder cannot be made, even by root.
TEST_F(SettingsTest, AFolderThatCannotBeMadeIsToldOnceAndTheSettingsHoldForTheRun) {
  WriteFile(folder_ / "config", "a file, not a folder");
  SettingsStore store = Loaded();
  EXPECT_EQ(log_.str(), "");  // a missing file says nothing
  Settings s = Changed();
  for (int volume : {10, 20, 30}) {
    s.effectsVolume = volume;
    store.Change(s);
    EXPECT_EQ(store.settings(), s);
  }
  const std::vector<std::string> said = Lines(log_.str());
  ASSERT_EQ(said.size(), 1u) << log_.str();
  EXPECT_NE(said[0].find(File().string()), std::string::npos);
  const std::optional<std::string> problem = store.TakeProblem();
  ASSERT_TRUE(problem.has_value());
  EXPECT_NE(said[0].find(*problem), std::string::npos);
  EXPECT_EQ(store.TakeProblem(), std::nullopt);  // taken once
  s.effectsVolume = 40;
  store.Change(s);
  EXPECT_EQ(store.TakeProblem(), std::nullopt);
  EXPECT_EQ(Lines(log_.str()).size(), 1u);
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenIsToldOnce) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  fs::create_directories(File().parent_path());
  fs::permissions(folder_ / "config", fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(File().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  SettingsStore store = Loaded();
  store.Change(Changed());
  Settings s = Changed();
  s.soundEffects = true;
  store.Change(s);
  EXPECT_EQ(Lines(log_.str()).size(), 1u) << log_.str();
  EXPECT_TRUE(store.TakeProblem().has_value());
  fs::permissions(File().parent_path(), fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(SettingsTest, ValuesOutOfRangeAreBroughtIntoRangeBeforeTheyAreKept) {
  SettingsStore store = Loaded();
  Settings wild;
  wild.effectsVolume = 250;
  wild.windowWidth = 320;
  wild.windowHeight = 100000;
  wild.windowX = 5;  // without a y the place is unknown
  wild.autosaveMinutes = 7;
  wild.mapScale = 75;
  store.Change(wild);
  EXPECT_EQ(store.settings().effectsVolume, 100);
  EXPECT_EQ(store.settings().windowWidth, kMinWindowWidth);
  EXPECT_EQ(store.settings().windowHeight, kMaxWindowSide);
  EXPECT_EQ(store.settings().windowX, std::nullopt);
  EXPECT_EQ(store.settings().autosaveMinutes, 5);
  EXPECT_EQ(store.settings().mapScale, 100);
  EXPECT_EQ(Loaded().settings(), store.settings());
  EXPECT_EQ(log_.str(), "");  // what was written reads back without a complaint
}

// The command line's choices hold for the run and reach the file only with a later change.
TEST_F(SettingsTest, SettingsForThisRunAreWrittenOnlyWithTheNextChange) {
  SettingsStore store = Loaded();
  Settings windowed = store.settings();
  windowed.fullScreen = false;
  windowed.windowWidth = 1024;
  windowed.windowHeight = 768;
  store.SetForThisRun(windowed);
  EXPECT_EQ(store.settings(), windowed);
  EXPECT_FALSE(fs::exists(File()));
  Settings quiet = windowed;
  quiet.soundEffects = false;
  store.Change(quiet);
  EXPECT_EQ(Loaded().settings(), quiet);
}

TEST_F(SettingsTest, TheStoreOfTheTestsEnvironmentIsNeverThePlayersOwn) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr);
  const std::optional<fs::path> path = UserSettingsPath();
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(*path, fs::path(config) / "redhollow" / "settings.ini");
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    EXPECT_NE(path->string().rfind((fs::path(home) / ".config").string(), 0), 0u);
  }
  EXPECT_EQ(SettingsStore::InMemory().path(), std::nullopt);
}

}  // namespace
}  // namespace app
