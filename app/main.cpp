// Program entry: the command line, then the game on the real window, until it ends.
#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

#include "app/command_line.h"
#include "app/run_game.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv) {
  // Read before anything is opened: --help and --version need no display.
  const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const app::CommandLine commandLine = app::ParseCommandLine(arguments);
  if (const auto* exit = std::get_if<app::CommandLineExit>(&commandLine)) {
    std::fputs(exit->standardOutput.c_str(), stdout);
    std::fputs(exit->standardError.c_str(), stderr);
    return exit->status;
  }
  platform::SdlPlatform platform;
  return app::RunGame(platform, std::get<app::StartOptions>(commandLine));
}
