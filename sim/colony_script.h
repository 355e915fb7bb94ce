// colony-sim's script reader: runs the colony model from a text of commands, one per line,
// and prints what happens as JSON lines. The program in tools/colony_sim is a thin shell
// around RunColonyScript; the fuzz target and the tests call it directly.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <limits>
#include <optional>

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

// Returns the exit status: 0, or 2 after "line N: <reason>" on `errors`.
int RunColonyScript(std::istream& script, std::ostream& out, std::ostream& errors,
                    const ColonyScriptOptions& options);

}  // namespace sim
