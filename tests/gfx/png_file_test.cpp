#include "gfx/png_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/save_game.h"
#include "tests/support/allocation_watch.h"
#include "tests/support/golden.h"

namespace gfx {
namespace {

namespace fs = std::filesystem;
using testing_support::largestAllocation;
using testing_support::liveAllocations;

ByteBuffer FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void WriteFile(const std::string& path, const ByteBuffer& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A PNG file whose header claims another size, its checksum made right.
ByteBuffer WithClaimedSize(ByteBuffer png, std::uint32_t width, std::uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
  }
  const std::uint32_t crc = sim::Crc32(std::span<const std::uint8_t>(png).subspan(12, 17));
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  return png;
}

MemVideo Gradient(int width, int height) {
  MemVideo surface(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) surface.set(x, y, Rgb(x * 30, y * 50, (x + y) * 10));
  return surface;
}

void ExpectSamePixels(const MemVideo* read, const MemVideo& written) {
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->width(), written.width());
  ASSERT_EQ(read->height(), written.height());
  for (int y = 0; y < written.height(); ++y)
    for (int x = 0; x < written.width(); ++x) EXPECT_EQ(read->at(x, y), written.at(x, y));
}

TEST(PngFile, RoundTripKeepsEveryPixel) {
  const MemVideo surface = Gradient(7, 5);
  const std::string path = testing_support::TestOutputPath("png_round_trip.png");
  ASSERT_TRUE(WritePng(surface, path));
  ExpectSamePixels(ReadPng(path).get(), surface);
  // With holes the file has an alpha channel, which reading drops again.
  ASSERT_TRUE(WritePng(surface, path, surface.at(3, 2)));
  EXPECT_EQ(FileBytes(path), EncodePng(surface, surface.at(3, 2)));
  ExpectSamePixels(ReadPng(path).get(), surface);
  ExpectSamePixels(DecodePng(EncodePng(surface)).get(), surface);
}

TEST(PngFile, DamagedOrMissingFilesReadAsNothing) {
  EXPECT_EQ(ReadPng("/nonexistent/file.png"), nullptr);
  const std::string path = testing_support::TestOutputPath("damaged.png");
  std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\nthis is not a picture";
  EXPECT_EQ(ReadPng(path), nullptr);
  EXPECT_FALSE(WritePng(MemVideo(0, 0), path));
  EXPECT_FALSE(WritePng(MemVideo(2, 2), "/nonexistent/dir/out.png"));
}

// A file of a hundred bytes cannot hold the pixels of a 16384 x 16384 picture: it is refused
// from its header, before the gigabytes such a picture needs are asked for.
TEST(PngFile, RefusesPicturesTheirDataCouldNeverFill) {
  const std::string path = testing_support::TestOutputPath("png_claims_too_much.png");
  ASSERT_TRUE(WritePng(MemVideo(1, 1), path));
  const ByteBuffer tiny = FileBytes(path);
  const struct {
    std::uint32_t width, height;
  } claims[] = {{16384, 16384}, {65536, 4097}, {100000, 1}, {1, 5000}};
  for (const auto& claim : claims) {
    SCOPED_TRACE(std::to_string(claim.width) + " x " + std::to_string(claim.height));
    WriteFile(path, WithClaimedSize(tiny, claim.width, claim.height));
    largestAllocation = 0;
    EXPECT_EQ(ReadPng(path), nullptr);
    EXPECT_LT(largestAllocation, std::size_t{1} << 20);
  }
}

// libpng gives up on damage from deep inside its calls; what the reader holds by then is
// still given back.
TEST(PngFile, DamagedRowsLeaveNothingBehind) {
  const std::string path = testing_support::TestOutputPath("png_damaged_rows.png");
  ASSERT_TRUE(WritePng(Gradient(64, 64), path));
  const ByteBuffer whole = FileBytes(path);
  const auto idat =
      std::search(whole.begin(), whole.end(), std::begin("IDAT"), std::end("IDAT") - 1);
  ASSERT_NE(idat, whole.end());
  const std::size_t rowsStart = static_cast<std::size_t>(idat - whole.begin()) + 4;
  ByteBuffer flipped = whole;
  flipped[rowsStart + 20] ^= 0x55;
  const ByteBuffer cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(rowsStart) + 20);
  for (const ByteBuffer& damaged : {flipped, cut}) {
    WriteFile(path, damaged);
    const std::int64_t before = liveAllocations;
    const bool refused = ReadPng(path) == nullptr;
    const std::int64_t after = liveAllocations;
    EXPECT_TRUE(refused);
    EXPECT_EQ(after, before);
  }
}

// The seed pictures of the PNG fuzzer are one black-and-white picture stored in every colour
// type and depth, with and without alpha and interlacing; each reads as the same pixels.
TEST(PngFile, EveryStoredFormatReadsAsTheSamePixels) {
  static constexpr const char* kPattern[] = {
      "#..##.#.#", ".#..##...", "###...##.", "....#...#", "#.#.#.###", ".###.....", "#....##.#",
  };
  const fs::path folder = fs::path(REDHOLLOW_TEST_DATA_DIR) / "fuzz-seeds" / "png_file";
  int formats = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    const auto picture = ReadPng(entry.path().string());
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->width(), 9);
    ASSERT_EQ(picture->height(), 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x)
        EXPECT_EQ(picture->at(x, y), kPattern[y][x] == '#' ? kBlack : kWhite) << x << "," << y;
    ++formats;
  }
  EXPECT_GE(formats, 10);
}

}  // namespace
}  // namespace gfx
