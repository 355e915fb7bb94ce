// The game's command line, GNU style: --window[=WxH], --fullscreen, --help, --version. Read
// before anything is opened, so that --help and --version work without a display.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "app/settings.h"

namespace app {

// What the command line asks of this run; each option overrides the settings' value.
struct StartOptions {
  std::optional<bool> fullScreen;
  std::optional<std::pair<int, int>> windowSize;

  bool operator==(const StartOptions&) const = default;
};

// The program ends at once with this status, after writing the texts to the streams.
struct CommandLineExit {
  int status = 0;
  std::string standardOutput;
  std::string standardError;
};

using CommandLine = std::variant<StartOptions, CommandLineExit>;

// The usage text that --help prints.
std::string Usage();
// "Redhollow 2.0.0": the version the build was configured with.
std::string VersionLine();

// The arguments after the program's name. The first of --help, --version or a mistake ends
// the reading; of --window and --fullscreen the later decides, and a size given stays.
CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

// The settings for this run: the stored ones with the command line's choices over them.
Settings ApplyStartOptions(Settings settings, const StartOptions& options);

}  // namespace app
