#include "gfx/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Fills a buffer with bytes that differ from place to place, so a misplaced byte shows.
std::vector<std::uint8_t> Pattern(std::size_t bytes, std::uint8_t seed) {
  std::vector<std::uint8_t> data(bytes);
  for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::uint8_t>(i * 131 + seed);
  return data;
}

struct Case {
  std::int32_t width;
  std::int32_t rows;
  std::size_t srcOffset;  // bytes, to start rows off the 16-byte boundary
  std::size_t dstOffset;
};

// Both ways of copying (small copies through the caches, large ones past them) must write
// exactly the rows' pixels, whatever the alignment of either side, and nothing around them.
TEST(CopyPixelRows, WritesTheRowsAndNothingElseAtAnySizeAndAlignment) {
  const Case cases[] = {
      {1, 1, 0, 0},      {3, 5, 4, 8},     {64, 3, 0, 4},       {63, 7, 12, 0},   {700, 400, 0, 0},
      {700, 400, 4, 12}, {701, 397, 8, 4}, {2000, 150, 12, 12}, {64, 5000, 4, 0}, {4100, 70, 0, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " x " << c.rows << " from +" << c.srcOffset
                                      << " to +" << c.dstOffset);
    const std::size_t rowBytes = static_cast<std::size_t>(c.width) * 4;
    const std::size_t srcPitch = rowBytes + 36;
    const std::size_t dstPitch = rowBytes + 20;
    const std::vector<std::uint8_t> src = Pattern(c.srcOffset + srcPitch * c.rows, 7);
    std::vector<std::uint8_t> dst = Pattern(c.dstOffset + dstPitch * c.rows + 16, 91);
    std::vector<std::uint8_t> expected = dst;
    for (std::int32_t r = 0; r < c.rows; ++r) {
      for (std::size_t b = 0; b < rowBytes; ++b) {
        expected[c.dstOffset + r * dstPitch + b] = src[c.srcOffset + r * srcPitch + b];
      }
    }
    gfx::CopyPixelRows(dst.data() + c.dstOffset, dstPitch, src.data() + c.srcOffset, srcPitch,
                       c.width, c.rows);
    EXPECT_TRUE(dst == expected);
  }
}

TEST(CopyPixelRows, NothingToCopyLeavesTheDestination) {
  const std::vector<std::uint8_t> src = Pattern(64, 1);
  std::vector<std::uint8_t> dst = Pattern(64, 2);
  const std::vector<std::uint8_t> before = dst;
  gfx::CopyPixelRows(dst.data(), 16, src.data(), 16, 0, 4);
  gfx::CopyPixelRows(dst.data(), 16, src.data(), 16, 4, 0);
  gfx::CopyPixelRows(dst.data(), 16, src.data(), 16, -3, 4);
  EXPECT_TRUE(dst == before);
}

}  // namespace
