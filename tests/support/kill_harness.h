// Kills a writing process at random moments: `write` runs over and over in a child process
// that is killed after a random wait of up to 20 ms, `rounds` times; after each kill `check`
// looks at what the child left on disk. For the tests that a kill at any moment leaves every
// file loadable.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

namespace testing_support {

// `write(i)` is the i-th write of the child's life; it returns false to end the child with a
// failure. `check(round)` runs in the test's process after each kill.
inline void KillWhileWriting(int rounds, const std::function<bool(int)>& write,
                             const std::function<void(int)>& check) {
  std::mt19937 random(::testing::UnitTest::GetInstance()->random_seed());
  for (int round = 0; round < rounds; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i)
        if (!write(i)) ::_exit(1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writing child ended on its own";
    check(round);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace testing_support
