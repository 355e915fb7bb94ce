#include "gfx/wbitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "tools/archive_writer.h"

namespace gfx {
namespace {

TEST(FramePosition, EveryLayout) {
  struct Case {
    ImageLayout layout;
    std::int32_t n, frameWidth, frameHeight, framesPerRow;
    FramePoint expected;
  };
  const Case cases[] = {
      {LayoutWhole, 5, 10, 10, 0, {0, 0}},
      {LayoutGrid8, 7, 144, 96, 0, {7 * 145, 0}},
      {LayoutGrid8, 9, 144, 96, 0, {145, 97}},
      {LayoutGrid8, 16, 48, 48, 0, {0, 98}},
      {LayoutRow, 3, 144, 144, 0, {432, 0}},
      {LayoutColumn, 4, 128, 48, 0, {0, 192}},
      {LayoutGrid, 7, 40, 30, 2, {40, 90}},
      {LayoutRow, INT32_MAX, INT32_MAX, 1, 0, {INT32_MAX, 0}},  // held at the limit
  };
  for (const Case& c : cases) {
    const auto at = FramePosition(c.layout, c.n, c.frameWidth, c.frameHeight, c.framesPerRow);
    ASSERT_TRUE(at.has_value()) << "layout " << c.layout << " frame " << c.n;
    EXPECT_EQ(*at, c.expected) << "layout " << c.layout << " frame " << c.n;
  }
  // A grid narrower than one frame has no place for any frame; nor has an unknown layout.
  EXPECT_FALSE(FramePosition(LayoutGrid, 0, 40, 30, 0).has_value());
  EXPECT_FALSE(FramePosition(static_cast<ImageLayout>(9), 0, 40, 30, 2).has_value());
}

std::unique_ptr<MemVideo> Surface(std::int32_t w, std::int32_t h, Color fill) {
  auto s = std::make_unique<MemVideo>(w, h);
  std::fill(s->pixels(), s->pixels() + static_cast<std::size_t>(w) * h, fill);
  return s;
}

TEST(WBitmap, GridCountsOnlyForLayoutGrid) {
  WBitmap image;
  SetImage(image, Surface(100, 95, kWhite), LayoutGrid, 40, 30, false);
  EXPECT_EQ(image.width, 100);
  EXPECT_EQ(image.height, 95);
  EXPECT_EQ(image.framesPerRow, 2);
  EXPECT_EQ(image.frameRows, 3);
  EXPECT_EQ(*FramePosition(image, 7), (FramePoint{40, 90}));

  SetImage(image, Surface(100, 95, kWhite), LayoutGrid, 0, 30, false);
  EXPECT_EQ(image.framesPerRow, 0);
  EXPECT_FALSE(FramePosition(image, 1).has_value());

  SetImage(image, Surface(100, 95, kWhite), LayoutColumn, 40, 30, false);
  EXPECT_EQ(image.framesPerRow, 0);
  EXPECT_EQ(image.frameRows, 0);
  EXPECT_EQ(image.frameWidth, 40);
  EXPECT_EQ(image.frameHeight, 30);
}

TEST(WBitmap, MaskMarksEveryBlackPixelOfATransparentPicture) {
  auto picture = Surface(5, 3, Rgb(1, 2, 3));
  picture->set(0, 0, kBlack);
  picture->set(4, 2, kBlack);
  picture->set(2, 1, Rgb(0, 0, 1));  // nearly black is still drawn
  WBitmap image;
  SetImage(image, std::move(picture), LayoutWhole, 0, 0, true);
  ASSERT_NE(image.mask, nullptr);
  ASSERT_EQ(image.mask->width, 5);
  ASSERT_EQ(image.mask->height, 3);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      const bool black = (x == 0 && y == 0) || (x == 4 && y == 2);
      EXPECT_EQ(image.mask->IsKeyed(x, y), black) << x << "," << y;
    }
  }
  // Replacing the picture replaces the mask with it.
  SetImage(image, Surface(2, 2, kWhite), LayoutWhole, 0, 0, false);
  EXPECT_EQ(image.mask, nullptr);
  SetImage(image, nullptr, LayoutRow, 8, 8, true);
  EXPECT_FALSE(image.present());
  EXPECT_EQ(image.width, 0);
  EXPECT_EQ(image.height, 0);
  EXPECT_EQ(image.mask, nullptr);
}

TEST(WBitmap, LoadsAPackedPictureWithItsFramesAndMask) {
  // 5 x 2 pixels of palette indices; index 0 is black.
  const std::uint8_t indices[] = {0, 1, 1, 2, 2, 1, 0, 2, 2, 0};
  tools::Palette palette{};
  palette[1] = Rgb(10, 20, 30);
  palette[2] = Rgb(200, 100, 50);
  const std::filesystem::path dir = REDHOLLOW_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  const std::string archive = (dir / "wbitmap_load.dat").string();
  ASSERT_TRUE(tools::WriteArchiveFile(
      archive, {{"TBConstI", 1, tools::EncodePackedPicture(5, 2, indices, palette)}}));

  WBitmap image;
  ASSERT_TRUE(LoadImage(image, archive, "tbconsti", LayoutGrid, 2, 1, true));
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.framesPerRow, 2);
  EXPECT_EQ(image.frameRows, 2);
  ASSERT_NE(image.mask, nullptr);
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 5; ++x) {
      const std::uint8_t index = indices[y * 5 + x];
      EXPECT_EQ(image.bitmap->at(x, y), palette[index]) << x << "," << y;
      EXPECT_EQ(image.mask->IsKeyed(x, y), index == 0) << x << "," << y;
    }
  }

  // Reloading under a name the archive lacks drops the old picture.
  EXPECT_FALSE(LoadImage(image, archive, "TBConstB", LayoutColumn, 56, 36, true));
  EXPECT_FALSE(image.present());
  EXPECT_EQ(image.mask, nullptr);
  EXPECT_EQ(image.framesPerRow, 0);
  EXPECT_EQ(image.layout, LayoutColumn);
  EXPECT_FALSE(LoadImage(image, dir / "no_such_archive.dat", "TBConstI", LayoutGrid, 2, 1, true));
}

}  // namespace
}  // namespace gfx
