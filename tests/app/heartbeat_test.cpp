// The random player's sign of life: silent unless the environment asks, then one numbered line
// a second however often the timer ticks.
#include "app/heartbeat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace app {
namespace {

using std::chrono::milliseconds;

std::string Written(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  return text;
}

TEST(Heartbeat, OneNumberedLineASecondHoweverOftenItTicks) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  ASSERT_NE(file, nullptr);
  Heartbeat heartbeat(file.get());
  const Heartbeat::Clock::time_point start{};
  for (int tick = 0; tick < 25; ++tick) heartbeat.Tick(start + milliseconds(40 * tick));
  heartbeat.Tick(start + milliseconds(1000));
  heartbeat.Tick(start + milliseconds(1999));
  // A late tick after a long pause beats once, not once for every second missed.
  heartbeat.Tick(start + milliseconds(7000));
  EXPECT_EQ(Written(file.get()),
            "redhollow heartbeat 1\nredhollow heartbeat 2\nredhollow heartbeat 3\n");
}

TEST(Heartbeat, OnlyTheVariableSetToOneWritesOnStderr) {
  const auto writtenWith = [](const char* value) {
    if (value != nullptr) {
      setenv(kHeartbeatVariable, value, 1);
    } else {
      unsetenv(kHeartbeatVariable);
    }
    Heartbeat heartbeat = Heartbeat::FromEnvironment();
    ::testing::internal::CaptureStderr();
    heartbeat.Tick(Heartbeat::Clock::now());
    return ::testing::internal::GetCapturedStderr();
  };
  EXPECT_EQ(writtenWith(nullptr), "");
  EXPECT_EQ(writtenWith("0"), "");
  EXPECT_EQ(writtenWith(""), "");
  EXPECT_EQ(writtenWith("1"), "redhollow heartbeat 1\n");
  unsetenv(kHeartbeatVariable);
}

}  // namespace
}  // namespace app
