#include "gfx/mem_video.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace gfx {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool Large(std::size_t bytes) {
  return bytes >= 2 * kHugePage;
}

std::size_t RoundedToHugePages(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocatePixels(std::size_t bytes) {
#if defined(__linux__)
  if (Large(bytes)) {
    // Straight from the system rather than from malloc, whose larger blocks may be reused
    // and dirty: fresh pages are zero, and untouched ones cost nothing.
    const std::size_t rounded = RoundedToHugePages(bytes);
    if (rounded < bytes) throw std::bad_alloc();
    // Mapped one huge page larger, then trimmed to a huge-page boundary on both sides.
    const std::size_t mapped = rounded + kHugePage;
    void* region =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (region == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(region);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) munmap(region, aligned - start);
    const std::size_t tail = mapped - (aligned - start) - rounded;
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + rounded), tail);
    void* pointer = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
    // Only advice: where the system has no huge pages to give, small ones serve as well.
    madvise(pointer, rounded, MADV_HUGEPAGE);
#endif
    return pointer;
  }
#endif
  // calloc skips clearing memory it knows to be fresh.
  void* pointer = std::calloc(bytes == 0 ? 1 : bytes, 1);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

void FreePixels(void* pointer, std::size_t bytes) {
  if (pointer == nullptr) return;
#if defined(__linux__)
  if (Large(bytes)) {
    munmap(pointer, RoundedToHugePages(bytes));
    return;
  }
#endif
  std::free(pointer);
}

MemVideo::MemVideo(std::int32_t width, std::int32_t height)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
  static_assert(kBlack == 0, "fresh pixel storage is zero, which must be black");
}

}  // namespace gfx
