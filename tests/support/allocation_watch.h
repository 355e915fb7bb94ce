// Watches a test program's allocations: damaged headers must not make the readers ask for
// memory their input could never fill. This header replaces the program's operator new and
// delete, so a test file that includes it is a program of its own (tests/CMakeLists.txt sees
// the include), never part of its layer's program.
//
// largestAllocation is the largest single request since a test last reset it, and
// liveAllocations the number of blocks not yet given back (a reader that leaks leaves it
// higher than it found it). A request
// beyond kAllocationCeiling is refused with std::bad_alloc instead of being made, so that a
// reader that would ask for gigabytes fails its test at once without taking them (the
// pixel storage of surfaces is mapped apart from operator new and is not seen here).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace testing_support {

inline std::atomic<std::size_t> largestAllocation{0};
inline std::atomic<std::int64_t> liveAllocations{0};
inline constexpr std::size_t kAllocationCeiling = std::size_t{256} << 20;

}  // namespace testing_support

void* operator new(std::size_t size) {
  std::size_t seen = testing_support::largestAllocation.load();
  while (size > seen && !testing_support::largestAllocation.compare_exchange_weak(seen, size)) {
  }
  if (size > testing_support::kAllocationCeiling) throw std::bad_alloc();
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  ++testing_support::liveAllocations;
  return p;
}
// gcc sees the malloc of the replaced new and this free as a mismatch once both are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  if (p != nullptr) --testing_support::liveAllocations;
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  operator delete(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
