#include "gfx/png_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/golden.h"

namespace gfx {
namespace {

TEST(PngFile, RoundTripKeepsEveryPixel) {
  MemVideo surface(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) surface.set(x, y, Rgb(x * 30, y * 50, (x + y) * 10));
  const std::string path = testing_support::TestOutputPath("png_round_trip.png");
  ASSERT_TRUE(WritePng(surface, path));
  auto back = ReadPng(path);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->width(), 7);
  ASSERT_EQ(back->height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(back->at(x, y), surface.at(x, y));
}

TEST(PngFile, DamagedOrMissingFilesReadAsNothing) {
  EXPECT_EQ(ReadPng("/nonexistent/file.png"), nullptr);
  const std::string path = testing_support::TestOutputPath("damaged.png");
  std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\nthis is not a picture";
  EXPECT_EQ(ReadPng(path), nullptr);
  EXPECT_FALSE(WritePng(MemVideo(0, 0), path));
  EXPECT_FALSE(WritePng(MemVideo(2, 2), "/nonexistent/dir/out.png"));
}

}  // namespace
}  // namespace gfx
