// colony-sim [--rng const:N | --seed N] [--answer yes|no] [SCRIPT]
// Runs the colony model from a script file (or standard input) and prints JSON lines.
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/colony_script.h"

namespace {

constexpr std::string_view kUsage =
    "usage: colony-sim [--rng const:N | --seed N] [--answer yes|no] [SCRIPT]\n";

int Usage(std::string_view problem) {
  std::cerr << "colony-sim: " << problem << '\n' << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  sim::ColonyScriptOptions options;
  options.seed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::optional<std::string_view> scriptPath;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (const auto problem = sim::ParseColonyScriptArgs(args, options, scriptPath)) {
    return Usage(*problem);
  }
  if (scriptPath && *scriptPath != "-") {
    std::ifstream script{std::string(*scriptPath)};
    if (!script) return Usage("cannot open " + std::string(*scriptPath));
    return sim::RunColonyScript(script, std::cout, std::cerr, options);
  }
  return sim::RunColonyScript(std::cin, std::cout, std::cerr, options);
}
