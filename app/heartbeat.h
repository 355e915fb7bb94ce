// A sign of life for the end-to-end random player, off unless asked for. With
// REDHOLLOW_HEARTBEAT=1 in the environment the main window's timer writes
//   redhollow heartbeat N
// on stderr at most once a second while it ticks (a minimised window does not tick). A window
// that stays silent for seconds is frozen: its timer no longer runs. Without the variable
// nothing is written and the game behaves exactly as without this.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace app {

inline constexpr const char* kHeartbeatVariable = "REDHOLLOW_HEARTBEAT";

class Heartbeat {
 public:
  using Clock = std::chrono::steady_clock;

  // On only when the variable is "1"; then the lines go to stderr.
  static Heartbeat FromEnvironment();
  // Writes to `out`; null writes nothing.
  explicit Heartbeat(std::FILE* out) : out_(out) {}

  // Called on every tick of the timer: a line when a second has passed since the last one.
  void Tick(Clock::time_point now);

 private:
  std::FILE* out_ = nullptr;
  std::optional<Clock::time_point> last_;
  std::uint64_t count_ = 0;
};

}  // namespace app
