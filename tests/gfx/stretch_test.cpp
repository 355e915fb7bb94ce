#include "gfx/stretch.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include "gfx/mem_video.h"

namespace gfx {
namespace {

constexpr Color kUntouched = 0x00123456;

MemVideo FilledVideo(std::int32_t width, std::int32_t height, Color c) {
  MemVideo surface(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) surface.set(x, y, c);
  }
  return surface;
}

MemVideo Random(std::int32_t width, std::int32_t height, std::mt19937& random) {
  MemVideo surface(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) surface.set(x, y, random() & 0x00FFFFFF);
  }
  return surface;
}

std::vector<Color> Pixels(const MemVideo& surface) {
  return {surface.pixels(), surface.pixels() + surface.width() * surface.height()};
}

TEST(StretchTest, EqualSizesCopyExactlyInBothModes) {
  std::mt19937 random(1);
  const MemVideo source = Random(7, 5, random);
  for (bool smooth : {false, true}) {
    MemVideo dest = FilledVideo(9, 8, kUntouched);
    StretchRect(source, {1, 1, 6, 4}, dest, IntRect::FromSize(2, 3, 5, 3), smooth);
    for (std::int32_t y = 0; y < dest.height(); ++y) {
      for (std::int32_t x = 0; x < dest.width(); ++x) {
        const bool inside = x >= 2 && x < 7 && y >= 3 && y < 6;
        EXPECT_EQ(dest.at(x, y), inside ? source.at(x - 1, y - 2) : kUntouched)
            << "smooth " << smooth << " at " << x << "," << y;
      }
    }
  }
}

TEST(StretchTest, UnsmoothedPicksTheNearestPixel) {
  MemVideo source(4, 2);
  for (std::int32_t y = 0; y < 2; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) source.set(x, y, Rgb(10 * x, 100 + y, 0));
  }
  // Halving picks the second pixel of each pair (centres 1 and 3).
  MemVideo half(2, 1);
  StretchRect(source, source.bounds(), half, half.bounds(), false);
  EXPECT_EQ(half.at(0, 0), source.at(1, 1));
  EXPECT_EQ(half.at(1, 0), source.at(3, 1));
  // Doubling repeats every pixel twice in both directions.
  MemVideo twice(8, 4);
  StretchRect(source, source.bounds(), twice, twice.bounds(), false);
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(twice.at(x, y), source.at(x / 2, y / 2));
  }
  EXPECT_FALSE(twice.halftoneStretch);
}

TEST(StretchTest, SmoothedUpscaleBlendsNeighbours) {
  // 2 x 1 -> 4 x 1 samples the source at -0.25, 0.25, 0.75 and 1.25: the outer two clamp to
  // the edge pixels, the inner two weigh the pair 3:1 and 1:3.
  MemVideo source(2, 1);
  source.set(0, 0, Rgb(0, 100, 255));
  source.set(1, 0, Rgb(200, 0, 1));
  MemVideo dest(4, 1);
  StretchRect(source, source.bounds(), dest, dest.bounds(), true);
  EXPECT_EQ(dest.at(0, 0), Rgb(0, 100, 255));
  EXPECT_EQ(dest.at(1, 0), Rgb(50, 75, 192));
  EXPECT_EQ(dest.at(2, 0), Rgb(150, 25, 65));
  EXPECT_EQ(dest.at(3, 0), Rgb(200, 0, 1));

  // 2 x 2 -> 3 x 3: the centre is the mean of all four, edge middles the mean of a side.
  MemVideo square(2, 2);
  square.set(0, 0, Rgb(0, 0, 0));
  square.set(1, 0, Rgb(100, 0, 0));
  square.set(0, 1, Rgb(0, 200, 0));
  square.set(1, 1, Rgb(100, 200, 40));
  MemVideo nine(3, 3);
  StretchRect(square, square.bounds(), nine, nine.bounds(), true);
  EXPECT_EQ(nine.at(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(nine.at(1, 0), Rgb(50, 0, 0));
  EXPECT_EQ(nine.at(0, 1), Rgb(0, 100, 0));
  EXPECT_EQ(nine.at(1, 1), Rgb(50, 100, 10));
  EXPECT_EQ(nine.at(2, 2), Rgb(100, 200, 40));
}

TEST(StretchTest, StrongReductionsAverageBoxes) {
  // 4 x 4 -> 1 x 1 reduces to 2 x 2 box means first, then blends them equally.
  MemVideo source(4, 4);
  for (std::int32_t y = 0; y < 4; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) source.set(x, y, Rgb(16 * (4 * y + x), 0, 0));
  }
  MemVideo one(1, 1);
  StretchRect(source, source.bounds(), one, one.bounds(), true);
  EXPECT_EQ(one.at(0, 0), Rgb(120, 0, 0));  // the mean of 0, 16, ..., 240

  // One-pixel stripes reduced eightfold turn an even grey; sampling would give stripes.
  MemVideo stripes(64, 8);
  for (std::int32_t y = 0; y < 8; ++y) {
    for (std::int32_t x = 0; x < 64; ++x) stripes.set(x, y, x % 2 == 0 ? kWhite : kBlack);
  }
  MemVideo grey(8, 1);
  StretchRect(stripes, stripes.bounds(), grey, grey.bounds(), true);
  for (std::int32_t x = 0; x < 8; ++x) EXPECT_EQ(grey.at(x, 0), Rgb(128, 128, 128)) << x;

  // A box at the far edge averages only the pixels that exist: 5 -> 1 reduces by four to
  // the boxes {0..3} and {4}, sampled at an eighth of the way from the first to the second.
  MemVideo five(5, 1);
  five.set(4, 0, Rgb(0, 128, 0));
  MemVideo single(1, 1);
  StretchRect(five, five.bounds(), single, single.bounds(), true);
  EXPECT_EQ(single.at(0, 0), Rgb(0, 16, 0));
}

TEST(StretchTest, HalftoneModeSticksToTheDestination) {
  std::mt19937 random(2);
  const MemVideo source = Random(6, 6, random);
  MemVideo smoothed(4, 4), nearest(4, 4), sticky(4, 4);
  StretchRect(source, source.bounds(), smoothed, smoothed.bounds(), true);
  StretchRect(source, source.bounds(), nearest, nearest.bounds(), false);
  ASSERT_NE(Pixels(smoothed), Pixels(nearest));

  // Even a stretch that copies nothing sets the mode.
  StretchRect(source, {}, sticky, sticky.bounds(), true);
  EXPECT_TRUE(sticky.halftoneStretch);
  StretchRect(source, source.bounds(), sticky, sticky.bounds(), false);
  EXPECT_EQ(Pixels(sticky), Pixels(smoothed));
  EXPECT_TRUE(sticky.halftoneStretch);
}

TEST(StretchTest, DestinationClippingKeepsTheMapping) {
  std::mt19937 random(3);
  const MemVideo source = Random(9, 7, random);
  for (bool smooth : {false, true}) {
    // The reference stretches into a surface large enough for the whole rectangle.
    MemVideo reference(40, 40);
    StretchRect(source, source.bounds(), reference, {10, 10, 23, 26}, smooth);
    // Off every edge of a small surface at once, then each corner in turn.
    for (const IntRect rect : {IntRect{-3, -4, 10, 12}, IntRect{2, 3, 15, 19},
                               IntRect{-6, 1, 7, 17}, IntRect{1, -9, 14, 7}}) {
      MemVideo dest = FilledVideo(8, 8, kUntouched);
      StretchRect(source, source.bounds(), dest, rect, smooth);
      for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 8; ++x) {
          const Color expected = rect.Contains(x, y)
                                     ? reference.at(x - rect.left + 10, y - rect.top + 10)
                                     : kUntouched;
          ASSERT_EQ(dest.at(x, y), expected) << smooth << " " << x << "," << y;
        }
      }
    }
  }
}

TEST(StretchTest, SourceClippingLeavesUnmappedPixelsAndNeverShifts) {
  std::mt19937 random(4);
  const MemVideo source = Random(8, 8, random);
  // The same pixels inside a larger picture, to compare against.
  MemVideo framed = FilledVideo(16, 16, kBlack);
  for (std::int32_t y = 0; y < 8; ++y) {
    for (std::int32_t x = 0; x < 8; ++x) framed.set(x + 4, y + 4, source.at(x, y));
  }
  for (bool smooth : {false, true}) {
    // srcRect hangs 4 pixels over every edge; halving it puts sample centres at 2x + 1 - 4,
    // so only destination pixels 2..5 of each axis land on the source.
    MemVideo dest = FilledVideo(8, 8, kUntouched);
    StretchRect(source, {-4, -4, 12, 12}, dest, dest.bounds(), smooth);
    MemVideo expected(8, 8);
    StretchRect(framed, framed.bounds(), expected, expected.bounds(), smooth);
    for (std::int32_t y = 0; y < 8; ++y) {
      for (std::int32_t x = 0; x < 8; ++x) {
        const bool mapped = x >= 2 && x <= 5 && y >= 2 && y <= 5;
        ASSERT_EQ(dest.at(x, y), mapped ? expected.at(x, y) : kUntouched)
            << smooth << " " << x << "," << y;
      }
    }
  }
}

TEST(StretchTest, RectanglesOutsideOrAbsurdCopyNothing) {
  std::mt19937 random(5);
  const MemVideo source = Random(5, 5, random);
  const std::vector<std::pair<IntRect, IntRect>> cases = {
      {{5, 0, 9, 5}, {0, 0, 4, 4}},   // source right of the surface
      {{0, -9, 5, 0}, {0, 0, 4, 4}},  // source above it
      {{0, 0, 5, 5}, {4, 0, 9, 4}},   // destination right of its surface
      {{0, 0, 5, 5}, {0, -7, 4, 0}},  // destination above it
      {{3, 0, 1, 5}, {0, 0, 4, 4}},   // reversed source
      {{0, 0, 5, 5}, {0, 0, 4, 0}},   // empty destination
      {{0, 0, 5, 5}, {INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 2}},
  };
  for (bool smooth : {false, true}) {
    for (const auto& [from, to] : cases) {
      MemVideo dest = FilledVideo(4, 4, kUntouched);
      StretchRect(source, from, dest, to, smooth);
      EXPECT_EQ(Pixels(dest), Pixels(FilledVideo(4, 4, kUntouched)));
    }
    // Enormous rectangles around small surfaces map, clip and do not overflow.
    MemVideo dest = FilledVideo(4, 4, kUntouched);
    StretchRect(source, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, dest, {-3, -3, INT_MAX, INT_MAX},
                smooth);
    StretchRect(source, {-2, -2, 7, 7}, dest, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, smooth);
    MemVideo empty(0, 0);
    StretchRect(empty, {0, 0, 3, 3}, dest, dest.bounds(), smooth);
    StretchRect(source, source.bounds(), empty, {0, 0, 3, 3}, smooth);
  }
}

TEST(StretchTest, StretchWithinOneSurfaceReadsTheOriginal) {
  std::mt19937 random(6);
  MemVideo surface = Random(12, 12, random);
  const MemVideo copy = surface;
  MemVideo expected = surface;
  StretchRect(copy, {0, 0, 8, 8}, expected, {2, 2, 12, 12}, true);
  StretchRect(surface, {0, 0, 8, 8}, surface, {2, 2, 12, 12}, true);
  EXPECT_EQ(Pixels(surface), Pixels(expected));
}

// A random stretch: sizes from reductions below a quarter to enlargements over four, with
// rectangles hanging off either surface now and then.
struct RandomCase {
  std::int32_t sourceWidth, sourceHeight, destWidth, destHeight;
  IntRect srcRect, dstRect;
};

RandomCase MakeCase(std::mt19937& random, std::int32_t maxSize) {
  auto size = [&] { return 1 + static_cast<std::int32_t>(random() % maxSize); };
  auto shift = [&](std::int32_t length) {
    return random() % 4 == 0 ? static_cast<std::int32_t>(random() % (length + 1)) - length / 2 : 0;
  };
  RandomCase c{size(), size(), size(), size(), {}, {}};
  std::int32_t sw = size(), sh = size(), dw = size(), dh = size();
  // Equal lengths on one axis leave that axis unblended, a path of its own.
  if (random() % 8 == 0) dh = sh;
  if (random() % 8 == 0) dw = sw;
  c.srcRect = IntRect::FromSize(shift(sw), shift(sh), sw, sh);
  c.dstRect = IntRect::FromSize(shift(dw), shift(dh), dw, dh);
  return c;
}

// The scalar kernel first, then the vector kernels this processor has.
std::vector<StretchKernel> SupportedKernels() {
  std::vector<StretchKernel> kernels = {StretchKernel::kScalar};
  for (StretchKernel k : {StretchKernel::kSse2, StretchKernel::kAvx2}) {
    if (IsStretchKernelSupported(k)) kernels.push_back(k);
  }
  return kernels;
}

TEST(StretchTest, AllKernelsGiveIdenticalPixels) {
  const std::vector<StretchKernel> kernels = SupportedKernels();
  if (kernels.size() == 1) GTEST_SKIP() << "no vector kernel on this processor";
  std::mt19937 random(7);
  for (int i = 0; i < 600; ++i) {
    const RandomCase c = MakeCase(random, i < 500 ? 70 : 400);
    // Top bytes set on purpose: the smoothed kernels must still write 0 there.
    MemVideo source(c.sourceWidth, c.sourceHeight);
    for (std::int32_t p = 0; p < c.sourceWidth * c.sourceHeight; ++p) {
      source.pixels()[p] = static_cast<Color>(random());
    }
    std::vector<Color> first;
    for (StretchKernel kernel : kernels) {
      MemVideo dest = FilledVideo(c.destWidth, c.destHeight, kUntouched);
      StretchRectWithKernel(kernel, source, c.srcRect, dest, c.dstRect, true, dest.bounds());
      const std::vector<Color> pixels = Pixels(dest);
      if (kernel == StretchKernel::kScalar) {
        first = pixels;
        const bool copy =
            c.srcRect.Width() == c.dstRect.Width() && c.srcRect.Height() == c.dstRect.Height();
        for (Color p : pixels) ASSERT_TRUE(copy || p >> 24 == 0) << "case " << i;
      } else {
        ASSERT_EQ(pixels, first) << "case " << i << " kernel " << static_cast<int>(kernel);
      }
    }
  }
}

TEST(StretchTest, KernelsAgreeOnDestinationsLargeEnoughToStream) {
  // Above 16 MB the vector kernels write around the caches, with rows that start on and
  // off 32-byte boundaries.
  std::mt19937 random(9);
  const MemVideo source = Random(2100, 2080, random);
  MemVideo reference(2052, 2050);
  StretchRectWithKernel(StretchKernel::kScalar, source, source.bounds(), reference,
                        {0, 0, 2051, 2050}, true, reference.bounds());
  for (StretchKernel kernel : {StretchKernel::kSse2, StretchKernel::kAvx2}) {
    if (!IsStretchKernelSupported(kernel)) continue;
    MemVideo dest(2052, 2050);
    StretchRectWithKernel(kernel, source, source.bounds(), dest, {0, 0, 2051, 2050}, true,
                          dest.bounds());
    EXPECT_TRUE(Pixels(dest) == Pixels(reference)) << static_cast<int>(kernel);
  }
}

TEST(StretchTest, PartialStretchMatchesTheFullOne) {
  std::mt19937 random(8);
  for (int i = 0; i < 300; ++i) {
    const RandomCase c = MakeCase(random, 90);
    const MemVideo source = Random(c.sourceWidth, c.sourceHeight, random);
    const bool smooth = i % 3 != 0;
    MemVideo full = FilledVideo(c.destWidth, c.destHeight, kUntouched);
    StretchRect(source, c.srcRect, full, c.dstRect, smooth);
    const std::int32_t x = static_cast<std::int32_t>(random() % c.destWidth) - 3;
    const std::int32_t y = static_cast<std::int32_t>(random() % c.destHeight) - 3;
    const IntRect clip = IntRect::FromSize(x, y, 1 + static_cast<std::int32_t>(random() % 40),
                                           1 + static_cast<std::int32_t>(random() % 40));
    MemVideo part = FilledVideo(c.destWidth, c.destHeight, kUntouched);
    StretchRectPart(source, c.srcRect, part, c.dstRect, smooth, clip);
    for (std::int32_t py = 0; py < c.destHeight; ++py) {
      for (std::int32_t px = 0; px < c.destWidth; ++px) {
        ASSERT_EQ(part.at(px, py), clip.Contains(px, py) ? full.at(px, py) : kUntouched)
            << "case " << i << " at " << px << "," << py;
      }
    }
  }
}

// Parts stretched together give, with every kernel, the pixels of their part-stretches one
// by one and leave everything else alone, also after a full stretch whose cached mapping they
// reuse, with parts of different rows, parts that overlap and parts off the destination.
TEST(StretchTest, PartsTogetherMatchThePartsOneByOneWithEveryKernel) {
  const std::vector<StretchKernel> kernels = SupportedKernels();
  std::mt19937 random(12);
  for (int i = 0; i < 400; ++i) {
    const RandomCase c = MakeCase(random, i < 300 ? 90 : 300);
    const MemVideo source = Random(c.sourceWidth, c.sourceHeight, random);
    const bool smooth = i % 5 != 0;
    auto coordinate = [&](std::int32_t length) {
      return static_cast<std::int32_t>(random() % (length + 8)) - 4;
    };
    std::vector<IntRect> parts;
    std::int32_t left = coordinate(c.destWidth) / 2 - 2;
    const std::int32_t top = coordinate(c.destHeight);
    const int count = 1 + static_cast<int>(random() % 5);
    for (int p = 0; p < count; ++p) {
      const std::int32_t right = left + 1 + static_cast<std::int32_t>(random() % 23);
      const std::int32_t partTop = top + static_cast<std::int32_t>(random() % 9) - 4;
      parts.push_back(
          {left, partTop, right, partTop + 1 + static_cast<std::int32_t>(random() % 30)});
      // Now and then the next part overlaps this one.
      left = right + static_cast<std::int32_t>(random() % 12) - 2;
    }
    MemVideo expected = FilledVideo(c.destWidth, c.destHeight, kUntouched);
    for (const IntRect& part : parts) {
      StretchRectPart(source, c.srcRect, expected, c.dstRect, smooth, part);
    }
    for (StretchKernel kernel : kernels) {
      MemVideo together = FilledVideo(c.destWidth, c.destHeight, kUntouched);
      if (i % 2 == 0) {
        // Warm the cache with the whole stretch, then restore the untouched pixels.
        StretchRect(source, c.srcRect, together, c.dstRect, smooth);
        together = FilledVideo(c.destWidth, c.destHeight, kUntouched);
      }
      StretchRectPartsWithKernel(kernel, source, c.srcRect, together, c.dstRect, smooth, parts);
      ASSERT_EQ(Pixels(together), Pixels(expected))
          << "case " << i << " kernel " << static_cast<int>(kernel);
    }
  }
}

// Redrawing a part of the source changes the full stretch only inside its stretched area,
// in both modes, for shrinks, enlargements, copies and rectangles off either surface.
TEST(StretchTest, ChangesStayInsideTheirStretchedArea) {
  std::mt19937 random(13);
  int casesThatChanged = 0;
  for (int i = 0; i < 300; ++i) {
    const RandomCase c = MakeCase(random, 80);
    const bool smooth = i % 4 != 0;
    const MemVideo before = Random(c.sourceWidth, c.sourceHeight, random);
    MemVideo after = before;
    // Mostly near the part of the source that is stretched.
    IntRect near = c.srcRect.Intersect(before.bounds());
    if (near.IsEmpty() || i % 10 == 0) near = before.bounds();
    const std::int32_t x = near.left + static_cast<std::int32_t>(random() % (near.Width() + 4)) - 2;
    const std::int32_t y = near.top + static_cast<std::int32_t>(random() % (near.Height() + 4)) - 2;
    const IntRect change = IntRect::FromSize(x, y, 1 + static_cast<std::int32_t>(random() % 12),
                                             1 + static_cast<std::int32_t>(random() % 12));
    for (std::int32_t py = 0; py < c.sourceHeight; ++py) {
      for (std::int32_t px = 0; px < c.sourceWidth; ++px) {
        if (change.Contains(px, py)) after.set(px, py, ~before.at(px, py) & 0x00FFFFFF);
      }
    }
    MemVideo stretchedBefore = FilledVideo(c.destWidth, c.destHeight, kUntouched);
    MemVideo stretchedAfter = FilledVideo(c.destWidth, c.destHeight, kUntouched);
    StretchRect(before, c.srcRect, stretchedBefore, c.dstRect, smooth);
    StretchRect(after, c.srcRect, stretchedAfter, c.dstRect, smooth);
    const IntRect area = StretchedArea(after, c.srcRect, stretchedAfter, c.dstRect, smooth, change);
    bool changed = false;
    for (std::int32_t py = 0; py < c.destHeight; ++py) {
      for (std::int32_t px = 0; px < c.destWidth; ++px) {
        if (stretchedBefore.at(px, py) == stretchedAfter.at(px, py)) continue;
        changed = true;
        ASSERT_TRUE(area.Contains(px, py)) << "case " << i << " at " << px << "," << py;
      }
    }
    // Every pixel inside is one the stretch produces.
    ASSERT_EQ(area.Intersect(stretchedAfter.bounds()), area) << "case " << i;
    ASSERT_EQ(area.Intersect(c.dstRect), area) << "case " << i;
    casesThatChanged += changed;
  }
  EXPECT_GT(casesThatChanged, 100);
}

TEST(StretchTest, StretchedAreaIsTight) {
  const MemVideo source(10, 4);
  const MemVideo wide(20, 4);
  // Twice as wide: destination x samples (x + 0.5) / 2 - 0.5, so 9..12 read source pixel 5.
  EXPECT_EQ(StretchedArea(source, {0, 0, 10, 4}, wide, {0, 0, 20, 4}, true, {5, 1, 6, 2}),
            (IntRect{9, 1, 13, 2}));
  // Nearest pixel: 10 and 11 are the ones that pick it.
  EXPECT_EQ(StretchedArea(source, {0, 0, 10, 4}, wide, {0, 0, 20, 4}, false, {5, 1, 6, 2}),
            (IntRect{10, 1, 12, 2}));
  // Equal sizes copy: the change moves with the rectangles.
  const MemVideo same(12, 6);
  EXPECT_EQ(StretchedArea(source, {0, 0, 10, 4}, same, {2, 1, 12, 5}, true, {3, 0, 5, 2}),
            (IntRect{5, 1, 7, 3}));
  // Outside the source or the stretched rectangle, nothing.
  EXPECT_TRUE(
      StretchedArea(source, {0, 0, 10, 4}, wide, {0, 0, 20, 4}, true, {10, 0, 12, 4}).IsEmpty());
  EXPECT_TRUE(
      StretchedArea(source, {0, 0, 5, 4}, wide, {0, 0, 20, 4}, true, {6, 0, 8, 4}).IsEmpty());
}

}  // namespace
}  // namespace gfx
