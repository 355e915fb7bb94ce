#include "gfx/mem_video.h"

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

}  // namespace

void* AllocatePixels(std::size_t bytes) {
  if (!Large(bytes)) {
    void* pointer = std::malloc(bytes == 0 ? 1 : bytes);
    if (pointer == nullptr) throw std::bad_alloc();
    return pointer;
  }
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* pointer = std::aligned_alloc(kHugePage, rounded);
  if (pointer == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only advice: where the system has no huge pages to give, small ones serve as well.
  madvise(pointer, rounded, MADV_HUGEPAGE);
#endif
  return pointer;
}

void FreePixels(void* pointer, std::size_t) {
  std::free(pointer);
}

MemVideo::MemVideo(std::int32_t width, std::int32_t height)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kBlack) {}

}  // namespace gfx
