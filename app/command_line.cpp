#include "app/command_line.h"

#include "app/version.h"

namespace app {
namespace {

constexpr std::string_view kWindowOption = "--window";

CommandLineExit Mistake(const std::string& complaint) {
  return {2, "", "redhollow: " + complaint + "\n" + Usage()};
}

}  // namespace

std::string Usage() {
  return "Usage: redhollow [OPTION]...\n"
         "Found a colony on the planet Pell.\n"
         "\n"
         "  --window[=WxH]  play in a window: of the remembered size (1280x720 at first), or\n"
         "                  W pixels wide and H high, from 800x600 to 16384x16384; the size\n"
         "                  needs the '=' (--window 1024x768 is not understood)\n"
         "  --fullscreen    play on the whole screen (the default)\n"
         "  --help          show this help and end\n"
         "  --version       show the version and end\n"
         "\n"
         "The options hold for this run and are kept with the next change of a setting, in\n"
         "$XDG_CONFIG_HOME/redhollow/settings.ini (~/.config/redhollow/ by default).\n";
}

std::string VersionLine() {
  return std::string("Redhollow ") + kGameVersion + "\n";
}

CommandLine ParseCommandLine(std::span<const std::string_view> arguments) {
  StartOptions options;
  bool optionsEnded = false;
  for (const std::string_view argument : arguments) {
    if (optionsEnded || !argument.starts_with("-") || argument == "-")
      return Mistake("unexpected argument '" + std::string(argument) + "'");
    if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--help") {
      return CommandLineExit{0, Usage(), ""};
    } else if (argument == "--version") {
      return CommandLineExit{0, VersionLine(), ""};
    } else if (argument == "--fullscreen") {
      options.fullScreen = true;
    } else if (argument == kWindowOption) {
      options.fullScreen = false;
    } else if (argument.starts_with(kWindowOption) && argument[kWindowOption.size()] == '=') {
      const std::string_view size = argument.substr(kWindowOption.size() + 1);
      options.windowSize = ParseWindowSize(size);
      if (!options.windowSize) {
        return Mistake("invalid window size '" + std::string(size) + "': WIDTHxHEIGHT, from " +
                       std::to_string(kMinWindowWidth) + "x" + std::to_string(kMinWindowHeight) +
                       " to " + std::to_string(kMaxWindowSide) + " each side");
      }
      options.fullScreen = false;
    } else {
      const std::string_view name = argument.substr(0, argument.find('='));
      if (name == "--help" || name == "--version" || name == "--fullscreen")
        return Mistake("option '" + std::string(name) + "' takes no value");
      return Mistake("unrecognized option '" + std::string(argument) + "'");
    }
  }
  return options;
}

Settings ApplyStartOptions(Settings settings, const StartOptions& options) {
  if (options.fullScreen) settings.fullScreen = *options.fullScreen;
  if (options.windowSize)
    std::tie(settings.windowWidth, settings.windowHeight) = *options.windowSize;
  return settings;
}

}  // namespace app
