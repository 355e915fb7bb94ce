// colony-sim's script reader: the regression scripts under tests/data/colony-sim with their
// stored output, and the handling of bad scripts. Each script's first line names its options
// ("# args: --rng const:1 --answer no"); @OUT@ and @DATA@ in a script stand for the test
// output folder and the script folder. REDHOLLOW_UPDATE_GOLDENS=1 rewrites the stored output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "sim/colony_script.h"

namespace {

namespace fs = std::filesystem;
using sim::ColonyScriptOptions;
using sim::RunColonyScript;

const fs::path kScripts = fs::path(REDHOLLOW_TEST_DATA_DIR) / "colony-sim";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

// The options a script's first line, "# args: ...", gives colony-sim.
ColonyScriptOptions OptionsFrom(const std::string& script) {
  std::istringstream line(script.substr(0, script.find('\n')));
  std::vector<std::string> words{std::istream_iterator<std::string>(line), {}};
  std::vector<std::string_view> args;
  for (std::size_t i = 2; i < words.size(); ++i) args.push_back(words[i]);
  EXPECT_TRUE(words.size() >= 2 && words[0] == "#" && words[1] == "args:") << script;
  ColonyScriptOptions options;
  std::optional<std::string_view> scriptPath;
  const std::optional<std::string> problem = ParseColonyScriptArgs(args, options, scriptPath);
  EXPECT_FALSE(problem) << problem.value_or("");
  EXPECT_FALSE(scriptPath);
  return options;
}

struct ScriptRun {
  int status;
  std::string out;
  std::string errors;
};

ScriptRun RunScript(const std::string& script, const ColonyScriptOptions& options = {}) {
  std::istringstream in(script);
  std::ostringstream out, errors;
  const int status = RunColonyScript(in, out, errors, options);
  return {status, out.str(), errors.str()};
}

TEST(ColonySim, RegressionScriptsGiveTheirStoredOutput) {
  const fs::path outDir = fs::path(REDHOLLOW_TEST_OUTPUT_DIR) / "colony-sim";
  fs::remove_all(outDir);
  fs::create_directories(outDir);
  const char* update = std::getenv("REDHOLLOW_UPDATE_GOLDENS");
  int scripts = 0;
  for (const auto& entry : fs::directory_iterator(kScripts)) {
    if (entry.path().extension() != ".txt") continue;
    ++scripts;
    std::string script = ReadText(entry.path());
    ReplaceAll(script, "@OUT@", outDir.string());
    ReplaceAll(script, "@DATA@", kScripts.string());
    const ScriptRun run = RunScript(script, OptionsFrom(script));
    EXPECT_EQ(run.status, 0) << entry.path() << run.errors;
    std::string output = run.out;
    ReplaceAll(output, outDir.string(), "@OUT@");
    fs::path expected = entry.path();
    expected.replace_extension(".expected");
    if (update && std::string(update) == "1") {
      std::ofstream(expected, std::ios::binary) << output;
      continue;
    }
    EXPECT_EQ(output, ReadText(expected)) << entry.path();
  }
  EXPECT_GE(scripts, 4);
}

// colony-sim's saves carry the history: what `history` prints before a save, it prints again
// after a new game and the load.
TEST(ColonySim, ASavedGameBringsBackItsHistory) {
  const fs::path save = fs::path(REDHOLLOW_TEST_OUTPUT_DIR) / "colony-sim-history" / "h.sav";
  fs::remove_all(save.parent_path());
  ColonyScriptOptions options;
  options.constantDraw = 1;
  const ScriptRun run =
      RunScript("new\nplace 33 12 64\nday 90\nhistory\nsave " + save.string() +
                    "\nnew\nday 2\nhistory\nload " + save.string() + "\nhistory\n",
                options);
  ASSERT_EQ(run.status, 0) << run.errors;
  std::vector<std::string> histories;
  for (std::size_t at = run.out.find("{\"history\""); at != std::string::npos;) {
    const std::size_t next = run.out.find("{\"history\"", at + 1);
    histories.push_back(run.out.substr(at, next == std::string::npos ? next : next - at));
    at = next;
  }
  ASSERT_EQ(histories.size(), 3u) << run.out;
  EXPECT_TRUE(histories[0].starts_with("{\"history\":{\"daily\":90,\"monthly\":3}}\n"));
  EXPECT_NE(histories[0].find("\"score\":4}"), std::string::npos);  // Earth in contact
  EXPECT_TRUE(histories[1].starts_with("{\"history\":{\"daily\":2,\"monthly\":0}}\n"));
  EXPECT_EQ(histories[2], histories[0]);
}

TEST(ColonySim, PlaceRefusals) {
  ColonyScriptOptions options;
  options.constantDraw = 1;
  const ScriptRun run =
      RunScript("new\nplace 33 12 64\nplace 33 13 64\nplace 1 12 63\nplace 5 70 70\n", options);
  EXPECT_EQ(run.status, 0);
  // The first Comm. Center is built; while it stands no second one may be placed.
  EXPECT_EQ(run.out, "{\"refused\":\"type\"}\n{\"refused\":\"type\"}\n{\"refused\":\"cell\"}\n");
}

// demolish presses the cell with the hand cursor, then "Delete building", as a player does, so
// the page it ends on is the game's.
TEST(ColonySim, DemolishEndsOnTheGamesPage) {
  ColonyScriptOptions options;
  options.constantDraw = 1;  // the P.E.M. stands at (11, 64)
  const auto category = [](const std::string& out) {
    const std::size_t at = out.rfind("\"category\":");
    return at == std::string::npos ? std::string("none") : out.substr(at + 11, 1);
  };
  // The P.E.M. is selected, the Information page shown, and nothing else changes.
  const ScriptRun before = RunScript("new\nstate\ncells\n", options);
  const ScriptRun pem = RunScript("new\ndemolish 11 64\nstate\ncells\n", options);
  EXPECT_EQ(category(pem.out), "1");
  std::string expected = before.out;
  const std::size_t at = expected.find("\"category\":0");
  ASSERT_NE(at, std::string::npos);
  expected.replace(at, 12, "\"category\":1");
  EXPECT_EQ(pem.out, expected);
  // Another structure is pulled down and the Status page shown, after the P.E.M. too.
  for (const char* script : {"new\nplace 30 12 64\ndemolish 12 64\nstate\ncell 12 64\n",
                             "new\ndemolish 11 64\nplace 30 12 64\ndemolish 12 64\nstate\n"
                             "cell 12 64\n"}) {
    const ScriptRun run = RunScript(script, options);
    EXPECT_EQ(category(run.out), "0") << script;
    EXPECT_NE(run.out.find("\"type\":0,"), std::string::npos) << script;
  }
  // Bare land selects nothing; the page stays as it was.
  const ScriptRun land = RunScript("new\ndemolish 12 64\nstate\ncells\n", options);
  EXPECT_EQ(land.out, before.out);
}

TEST(ColonySim, BadLinesStopWithStatusTwo) {
  struct Case {
    const char* script;
    const char* error;
  };
  for (const Case c : {
           Case{"new\n\n# fine\nbogus\n", "line 4: unknown command 'bogus'\n"},
           Case{"place 35 1 1\n", "line 1: bad structure type '35'\n"},
           Case{"place -1 1 1\n", "line 1: bad structure type '-1'\n"},
           Case{"place 5 1\n", "line 1: place takes 3 arguments\n"},
           Case{"day x\n", "line 1: bad count 'x'\n"},
           Case{"day -4\n", "line 1: bad count '-4'\n"},
           Case{"speed 3\n", "line 1: bad speed '3'\n"},
           Case{"state now\n", "line 1: state takes 0 arguments\n"},
           Case{"cell 200 1\n", "line 1: cell outside the map\n"},
           Case{"place 5 99999999999 1\n", "line 1: bad coordinate '99999999999'\n"},
       }) {
    const ScriptRun run = RunScript(c.script);
    EXPECT_EQ(run.status, 2) << c.script;
    EXPECT_EQ(run.errors, c.error) << c.script;
  }
  // Output before the bad line is kept.
  const ScriptRun run = RunScript("new\nstate\nnope\nstate\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST(ColonySim, StepBudgetAndForbiddenFiles) {
  ColonyScriptOptions options;
  options.stepBudget = 5;
  options.allowFiles = false;
  const ScriptRun run = RunScript("new\nday 1000000000\nsave x.sav\n", options);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "{\"error\":\"saving and loading are disabled\"}\n");
  const ScriptRun state = RunScript("new\nday 1000000000\nstate\n", options);
  EXPECT_NE(state.out.find("\"day\":6,"), std::string::npos) << state.out;
}

}  // namespace
