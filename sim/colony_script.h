// colony-sim's script reader: runs the colony model from a text of commands, one per line,
// and prints what happens as JSON lines. The program in tools/colony_sim is a thin shell
// around RunColonyScript; the fuzz target and the tests call it directly.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sim {

struct ColonyScriptOptions {
  // Every draw returns this value when set; otherwise the generator seeded with `seed`.
  std::optional<std::int32_t> constantDraw;
  std::uint64_t seed = 1;
  // How the game-over question is answered.
  bool answerYes = true;
  // save and load touch files only when allowed (the fuzz target forbids it).
  bool allowFiles = true;
  // The most days and ticks the whole script may run; a script asking for more is cut short.
  std::int64_t stepBudget = std::numeric_limits<std::int64_t>::max();
};

// colony-sim's command line: [--rng const:N | --seed N] [--answer yes|no] [SCRIPT]. Fills
// options (the seed stays as given unless --seed names one) and the script's path, if any;
// returns what is wrong with the arguments, or nothing.
std::optional<std::string> ParseColonyScriptArgs(std::span<const std::string_view> args,
                                                 ColonyScriptOptions& options,
                                                 std::optional<std::string_view>& scriptPath);

// Returns the exit status: 0, or 2 after "line N: <reason>" on `errors`.
int RunColonyScript(std::istream& script, std::ostream& out, std::ostream& errors,
                    const ColonyScriptOptions& options);

}  // namespace sim
