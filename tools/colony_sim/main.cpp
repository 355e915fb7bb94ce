// colony-sim [--rng const:N | --seed N] [--answer yes|no] [SCRIPT]
// Runs the colony model from a script file (or standard input) and prints JSON lines.
#include <charconv>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>

#include "sim/colony_script.h"

namespace {

constexpr std::string_view kUsage =
    "usage: colony-sim [--rng const:N | --seed N] [--answer yes|no] [SCRIPT]\n";

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

int Usage(std::string_view problem) {
  std::cerr << "colony-sim: " << problem << '\n' << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  sim::ColonyScriptOptions options;
  options.seed = static_cast<std::uint64_t>(
      std::chrono::system_clock::now().time_since_epoch().count());
  bool randomChosen = false;
  std::optional<std::string_view> scriptPath;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--rng" || arg == "--seed" || arg == "--answer") {
      if (i + 1 >= argc) return Usage(std::string(arg) + " needs a value");
      const std::string_view value = argv[++i];
      if (arg == "--answer") {
        if (value != "yes" && value != "no") return Usage("--answer takes yes or no");
        options.answerYes = value == "yes";
        continue;
      }
      if (randomChosen) return Usage("give only one of --rng and --seed");
      randomChosen = true;
      if (arg == "--seed") {
        const auto seed = ParseNumber<std::uint64_t>(value);
        if (!seed) return Usage("--seed takes a whole number");
        options.seed = *seed;
      } else {
        constexpr std::string_view prefix = "const:";
        const auto draw = value.starts_with(prefix)
                              ? ParseNumber<std::int32_t>(value.substr(prefix.size()))
                              : std::nullopt;
        if (!draw || *draw < 0) return Usage("--rng takes const:N with N >= 0");
        options.constantDraw = *draw;
      }
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return Usage("unknown option " + std::string(arg));
    } else if (scriptPath) {
      return Usage("only one script");
    } else {
      scriptPath = arg;
    }
  }
  if (scriptPath && *scriptPath != "-") {
    std::ifstream script{std::string(*scriptPath)};
    if (!script) return Usage("cannot open " + std::string(*scriptPath));
    return sim::RunColonyScript(script, std::cout, std::cerr, options);
  }
  return sim::RunColonyScript(std::cin, std::cout, std::cerr, options);
}
