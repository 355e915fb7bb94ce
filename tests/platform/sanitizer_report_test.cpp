// A fault that the sanitizer build finds must be reported with the names of the functions it
// happened in: a report of bare addresses, found on another machine, cannot be traced back.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define REDHOLLOW_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

#ifdef REDHOLLOW_ADDRESS_SANITIZER
[[gnu::noinline]] int ReadOnePastTheEndOfFourInts(std::size_t at) {
  std::vector<int> four(4);
  volatile const int* data = four.data();
  return data[at];
}

TEST(SanitizerReportDeathTest, NamesTheFunctionWhereTheFaultHappened) {
  EXPECT_DEATH(ReadOnePastTheEndOfFourInts(4),
               "heap-buffer-overflow(.|\n)*ReadOnePastTheEndOfFourInts");
}
#else
TEST(SanitizerReportDeathTest, NamesTheFunctionWhereTheFaultHappened) {
  GTEST_SKIP() << "only the sanitizer build reports faults";
}
#endif

}  // namespace
