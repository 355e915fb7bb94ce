// The command line read without running anything: each option, the sizes refused, mistakes,
// and what --help and --version print with which status.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace app {
namespace {

CommandLine Parse(const std::vector<std::string_view>& arguments) {
  return ParseCommandLine(arguments);
}

StartOptions OptionsOf(const std::vector<std::string_view>& arguments) {
  const CommandLine result = Parse(arguments);
  EXPECT_TRUE(std::holds_alternative<StartOptions>(result));
  return std::holds_alternative<StartOptions>(result) ? std::get<StartOptions>(result)
                                                      : StartOptions{};
}

CommandLineExit ExitOf(const std::vector<std::string_view>& arguments) {
  const CommandLine result = Parse(arguments);
  EXPECT_TRUE(std::holds_alternative<CommandLineExit>(result));
  return std::holds_alternative<CommandLineExit>(result) ? std::get<CommandLineExit>(result)
                                                         : CommandLineExit{};
}

TEST(CommandLineTest, TheOptionsSayOnlyWhatWasAskedAndTheLaterModeDecides) {
  EXPECT_EQ(OptionsOf({}), StartOptions{});
  EXPECT_EQ(OptionsOf({"--fullscreen"}), (StartOptions{true, std::nullopt}));
  EXPECT_EQ(OptionsOf({"--window"}), (StartOptions{false, std::nullopt}));
  EXPECT_EQ(OptionsOf({"--window=1024x768"}), (StartOptions{false, std::pair{1024, 768}}));
  EXPECT_EQ(OptionsOf({"--window=800x600", "--fullscreen"}),
            (StartOptions{true, std::pair{800, 600}}));
  EXPECT_EQ(OptionsOf({"--fullscreen", "--window"}), (StartOptions{false, std::nullopt}));
  EXPECT_EQ(OptionsOf({"--"}), StartOptions{});
}

TEST(CommandLineTest, TheOptionsOverrideTheSettingsForTheRun) {
  Settings stored;
  stored.fullScreen = false;
  stored.windowWidth = 1000;
  EXPECT_EQ(ApplyStartOptions(stored, {}), stored);
  const Settings full = ApplyStartOptions(stored, {true, std::nullopt});
  EXPECT_TRUE(full.fullScreen);
  EXPECT_EQ(full.windowWidth, 1000);  // the remembered window stays for a later switch
  const Settings sized = ApplyStartOptions(Settings{}, {false, std::pair{900, 700}});
  EXPECT_FALSE(sized.fullScreen);
  EXPECT_EQ(sized.windowWidth, 900);
  EXPECT_EQ(sized.windowHeight, 700);
  EXPECT_EQ(sized.soundEffects, Settings{}.soundEffects);
}

TEST(CommandLineTest, MistakesEndWithStatusTwoAComplaintAndTheUsageOnStderr) {
  struct Case {
    std::vector<std::string_view> arguments;
    std::string complaint;
  };
  const std::vector<Case> cases = {
      {{"--window=12x"}, "invalid window size '12x'"},
      {{"--window=0x0"}, "invalid window size '0x0'"},
      {{"--window=799x600"}, "invalid window size '799x600'"},
      {{"--window=1280x720x3"}, "invalid window size '1280x720x3'"},
      {{"--window=16385x800"}, "invalid window size '16385x800'"},
      {{"--window="}, "invalid window size ''"},
      {{"--window", "1280x720"}, "unexpected argument '1280x720'"},  // the size needs the '='
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{"--windows"}, "unrecognized option '--windows'"},
      {{"-h"}, "unrecognized option '-h'"},
      {{"--help=me"}, "option '--help' takes no value"},
      {{"--fullscreen=yes"}, "option '--fullscreen' takes no value"},
      {{"colony.sav"}, "unexpected argument 'colony.sav'"},
      {{"-"}, "unexpected argument '-'"},
      {{"--", "--help"}, "unexpected argument '--help'"},
      {{"--fullscreen", "--bogus", "--help"}, "unrecognized option '--bogus'"},
  };
  for (const Case& c : cases) {
    const CommandLineExit exit = ExitOf(c.arguments);
    EXPECT_EQ(exit.status, 2) << c.complaint;
    EXPECT_EQ(exit.standardOutput, "") << c.complaint;
    // One line of complaint, then the usage.
    EXPECT_TRUE(exit.standardError.starts_with("redhollow: " + c.complaint)) << exit.standardError;
    EXPECT_EQ(exit.standardError.find('\n') + 1 + Usage().size(), exit.standardError.size());
    EXPECT_TRUE(exit.standardError.ends_with(Usage()));
  }
}

TEST(CommandLineTest, HelpAndVersionPrintOnStdoutAndEndWithStatusZero) {
  const CommandLineExit help = ExitOf({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.standardOutput, Usage());
  EXPECT_EQ(help.standardError, "");
  for (const char* option :
       {"--window[=WxH]", "--fullscreen", "--help", "--version", "needs the '='"})
    EXPECT_NE(Usage().find(option), std::string::npos) << option;
  EXPECT_EQ(ExitOf({"--window=900x700", "--help", "--bogus"}).status, 0);  // the first decides

  const CommandLineExit version = ExitOf({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.standardError, "");
  EXPECT_EQ(version.standardOutput, VersionLine());
  // One line, "Redhollow" and a dotted version number.
  const std::string& line = version.standardOutput;
  ASSERT_TRUE(line.starts_with("Redhollow ")) << line;
  ASSERT_TRUE(line.ends_with("\n")) << line;
  const std::string number = line.substr(10, line.size() - 11);
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.find_first_not_of("0123456789."), std::string::npos) << line;
  EXPECT_NE(number.find('.'), std::string::npos) << line;
}

}  // namespace
}  // namespace app
