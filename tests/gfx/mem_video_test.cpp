// New surfaces are black however their storage was used before: large ones come straight
// from the system, small ones from the heap, where freed pixels of other surfaces lie.
#include "gfx/mem_video.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace gfx {
namespace {

bool AllBlack(const MemVideo& surface) {
  const std::size_t count =
      static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  return std::all_of(surface.pixels(), surface.pixels() + count,
                     [](Color c) { return c == kBlack; });
}

void Whiten(MemVideo& surface) {
  std::fill_n(
      surface.pixels(),
      static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height()),
      kWhite);
}

TEST(MemVideo, EverySizeStartsBlackEvenWhereAnotherSurfaceWasWhite) {
  // Small (heap), just under and over the huge-page threshold, and a 4K back buffer.
  const std::int32_t sizes[][2] = {{1, 1}, {256, 160}, {1023, 1024}, {1024, 1025}, {3840, 2160}};
  for (const auto& size : sizes) {
    for (int round = 0; round < 3; ++round) {
      MemVideo surface(size[0], size[1]);
      ASSERT_TRUE(AllBlack(surface)) << size[0] << "x" << size[1] << " round " << round;
      Whiten(surface);
      EXPECT_EQ(surface.at(size[0] - 1, size[1] - 1), kWhite);
    }
  }
}

TEST(MemVideo, LargeSurfacesSitOnHugePageBoundariesAndCopyTheirPixels) {
  MemVideo surface(2048, 1024);  // 8 MiB
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(surface.pixels()) % (std::uintptr_t{2} << 20), 0u);
  surface.set(2047, 1023, Rgb(1, 2, 3));
  const MemVideo copy = surface;
  EXPECT_EQ(copy.at(2047, 1023), Rgb(1, 2, 3));
  EXPECT_EQ(copy.at(0, 0), kBlack);
  EXPECT_NE(copy.pixels(), surface.pixels());
}

TEST(MemVideo, NegativeAndZeroSizesAreEmpty) {
  EXPECT_TRUE(MemVideo(0, 10).empty());
  EXPECT_TRUE(MemVideo(-5, 10).empty());
  EXPECT_TRUE(MemVideo(10, -1).empty());
  EXPECT_EQ(MemVideo(-5, 10).width(), 0);
}

}  // namespace
}  // namespace gfx
