#include "app/heartbeat.h"

#include <cstdlib>
#include <string_view>

namespace app {

Heartbeat Heartbeat::FromEnvironment() {
  const char* value = std::getenv(kHeartbeatVariable);
  return Heartbeat(value != nullptr && std::string_view(value) == "1" ? stderr : nullptr);
}

void Heartbeat::Tick(Clock::time_point now) {
  if (out_ == nullptr) return;
  if (last_ && now - *last_ < std::chrono::seconds(1)) return;
  last_ = now;
  ++count_;
  std::fprintf(out_, "redhollow heartbeat %llu\n", static_cast<unsigned long long>(count_));
  std::fflush(out_);
}

}  // namespace app
