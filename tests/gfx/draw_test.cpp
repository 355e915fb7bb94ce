#include "gfx/draw.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace gfx {
namespace {

constexpr Color kPaper = Rgb(0, 0, 255);  // no picture below uses blue

std::unique_ptr<MemVideo> Filled(std::int32_t w, std::int32_t h, Color fill) {
  auto s = std::make_unique<MemVideo>(w, h);
  FillSurface(*s, fill);
  return s;
}

// Every pixel a different colour without blue.
Color PatternAt(std::int32_t x, std::int32_t y) {
  return Rgb(x + 1, y + 1, 0);
}
std::unique_ptr<MemVideo> Pattern(std::int32_t w, std::int32_t h) {
  auto s = std::make_unique<MemVideo>(w, h);
  for (std::int32_t y = 0; y < h; ++y)
    for (std::int32_t x = 0; x < w; ++x) s->set(x, y, PatternAt(x, y));
  return s;
}

void ExpectPixels(const MemVideo& s, const std::function<Color(std::int32_t, std::int32_t)>& want) {
  for (std::int32_t y = 0; y < s.height(); ++y)
    for (std::int32_t x = 0; x < s.width(); ++x)
      ASSERT_EQ(s.at(x, y), want(x, y)) << "pixel " << x << "," << y;
  EXPECT_EQ(s.textColor, kBlack);
  EXPECT_EQ(s.backgroundColor, kWhite);
}

// Draws src's pattern at (x, y), or paper where it does not reach.
std::function<Color(std::int32_t, std::int32_t)> Placed(IntRect on, std::int32_t sx,
                                                        std::int32_t sy) {
  return [=](std::int32_t x, std::int32_t y) {
    return on.Contains(x, y) ? PatternAt(x - on.left + sx, y - on.top + sy) : kPaper;
  };
}

TEST(Draw, FillAndFrameClipAtEveryEdge) {
  auto s = Filled(8, 6, kPaper);
  FillRect(*s, {-3, -2, 2, 1}, kWhite);
  FillRect(*s, {6, 4, 100, 100}, kWhite);
  FillRect(*s, {5, 5, 3, 3}, kWhite);  // empty
  ExpectPixels(*s, [](std::int32_t x, std::int32_t y) {
    return (x < 2 && y < 1) || (x >= 6 && y >= 4) ? kWhite : kPaper;
  });

  s = Filled(8, 6, kPaper);
  FrameRect(*s, {1, 1, 6, 5}, kWhite);
  FrameRect(*s, {-1, -1, 9, 7}, Rgb(9, 9, 0));  // just outside the surface
  FrameRect(*s, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, kWhite);
  ExpectPixels(*s, [](std::int32_t x, std::int32_t y) {
    const bool inner = IntRect{1, 1, 6, 5}.Contains(x, y) && !IntRect{2, 2, 5, 4}.Contains(x, y);
    return inner ? kWhite : kPaper;
  });
}

TEST(Draw, LinesTakeOnePixelPerStepRoundedHalfUp) {
  constexpr Color kInk = Rgb(200, 40, 0);
  auto s = Filled(8, 6, kPaper);
  DrawLine(*s, 1, 1, 6, 1, kInk);  // flat
  DrawLine(*s, 0, 5, 0, 3, kInk);  // upright, drawn upwards
  DrawLine(*s, 7, 0, 7, 0, kInk);  // a point
  ExpectPixels(*s, [](std::int32_t x, std::int32_t y) {
    return (y == 1 && x >= 1 && x <= 6) || (x == 0 && y >= 3) || (x == 7 && y == 0) ? kInk : kPaper;
  });
  // Shallow: (0, 0) to (7, 3) climbs at steps 3/7 = 0.43, 0.86, 1.29, 1.71, 2.14, 2.57 of x.
  s = Filled(8, 6, kPaper);
  DrawLine(*s, 0, 0, 7, 3, kInk);
  const std::int32_t shallow[8] = {0, 0, 1, 1, 2, 2, 3, 3};
  ExpectPixels(*s, [&](std::int32_t x, std::int32_t y) { return y == shallow[x] ? kInk : kPaper; });
  // Steep and backwards: (5, 5) to (3, 0), one pixel per row.
  s = Filled(8, 6, kPaper);
  DrawLine(*s, 5, 5, 3, 0, kInk);
  const std::int32_t steep[6] = {3, 3, 4, 4, 5, 5};
  ExpectPixels(*s, [&](std::int32_t x, std::int32_t y) { return x == steep[y] ? kInk : kPaper; });
}

TEST(Draw, AClippedLineKeepsExactlyThePixelsOfTheWholeLineOnTheSurface) {
  constexpr Color kInk = Rgb(200, 40, 0);
  // Each line drawn whole on a large surface, and moved onto a small one that sees a window of
  // it: the small one must show the large one's pixels in that window, no more, no fewer.
  const std::int32_t lines[][4] = {{-30, -7, 45, 30}, {12, -40, 3, 60}, {-5, 20, 50, 21},
                                   {40, 2, -20, 9},   {9, 9, 9, -30},   {-25, 29, 35, -21}};
  for (const auto& l : lines) {
    auto whole = Filled(100, 100, kPaper);
    DrawLine(*whole, l[0] + 40, l[1] + 40, l[2] + 40, l[3] + 40, kInk);
    auto part = Filled(12, 9, kPaper);
    DrawLine(*part, l[0], l[1], l[2], l[3], kInk);
    ExpectPixels(*part, [&](std::int32_t x, std::int32_t y) { return whole->at(x + 40, y + 40); });
  }
  // Ends at the limits of 32 bits: the diagonal through the surface, and nothing else.
  auto s = Filled(8, 6, kPaper);
  DrawLine(*s, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk);
  DrawLine(*s, INT32_MIN, 100, INT32_MAX, 100, kInk);  // below the surface
  DrawLine(*s, -1, INT32_MAX, -1, INT32_MIN, kInk);    // left of it
  ExpectPixels(*s, [](std::int32_t x, std::int32_t y) { return x == y ? kInk : kPaper; });
  MemVideo empty(0, 0);
  DrawLine(empty, 0, 0, 5, 5, kInk);  // nothing to draw on, nothing happens
}

TEST(Draw, CopyIsExactAndClipsBothSurfaces) {
  const auto src = Pattern(4, 4);
  struct Case {
    IntRect srcRect;
    std::int32_t x, y;
    IntRect expectOn;  // where the copy lands, clipped
    std::int32_t sx, sy;
  };
  const Case cases[] = {
      {{0, 0, 4, 4}, 2, 1, {2, 1, 6, 5}, 0, 0},
      {{1, 1, 3, 3}, 0, 0, {0, 0, 2, 2}, 1, 1},
      {{0, 0, 4, 4}, -2, -1, {0, 0, 2, 3}, 2, 1},  // left and top edges
      {{0, 0, 4, 4}, 6, 4, {6, 4, 8, 6}, 0, 0},    // right and bottom edges
      {{-1, -2, 9, 9}, 0, 0, {1, 2, 5, 6}, 0, 0},  // source rect beyond the source
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, INT32_MIN, INT32_MIN, {0, 0, 4, 4}, 0, 0},
      {{0, 0, 4, 4}, INT32_MAX, INT32_MIN, {}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "copy to " << c.x << "," << c.y);
    auto dst = Filled(8, 6, kPaper);
    CopyRect(*src, c.srcRect, *dst, c.x, c.y);
    ExpectPixels(*dst, Placed(c.expectOn, c.sx, c.sy));
  }
}

TEST(Draw, TransparentCopyKeepsTheDestinationUnderTheMask) {
  auto picture = Pattern(3, 2);
  picture->set(1, 0, kBlack);
  WBitmap image;
  SetImage(image, std::move(picture), LayoutWhole, 0, 0, true);
  auto dst = Filled(8, 6, kPaper);
  DrawImage(*dst, image, 6, 5);  // clipped to (6..8, 5)
  DrawImage(*dst, image, 1, 1);
  ExpectPixels(*dst, [](std::int32_t x, std::int32_t y) {
    if ((x == 2 && y == 1) || (x == 7 && y == 5)) return kPaper;
    if (IntRect{1, 1, 4, 3}.Contains(x, y)) return PatternAt(x - 1, y - 1);
    if (IntRect{6, 5, 8, 6}.Contains(x, y)) return PatternAt(x - 6, y - 5);
    return kPaper;
  });
}

TEST(Draw, OpaqueImagesCopyBlackAndMissingImagesDrawNothing) {
  auto picture = Pattern(3, 3);
  picture->set(0, 0, kBlack);
  WBitmap image;
  SetImage(image, std::move(picture), LayoutWhole, 0, 0, false);
  auto dst = Filled(8, 6, kPaper);
  DrawImage(*dst, image, 4, 2, {1, 1, 3, 9});
  ExpectPixels(*dst, Placed({4, 2, 6, 4}, 1, 1));
  DrawImage(*dst, image, 0, 0);
  EXPECT_EQ(dst->at(0, 0), kBlack);

  WBitmap missing;
  LoadImage(missing, "/nonexistent/res02.dat", "StType0", LayoutRow, 2, 2, true);
  dst = Filled(8, 6, kPaper);
  DrawImage(*dst, missing, 0, 0);
  DrawFrame(*dst, missing, 0, 0, 1);
  StretchImage(*dst, {0, 0, 8, 6}, missing, {0, 0, 2, 2}, true);
  ExpectPixels(*dst, [](std::int32_t, std::int32_t) { return kPaper; });
}

TEST(Draw, FramesOfEveryLayout) {
  // A 12 x 7 picture with its pattern; each case names where frame n must come from.
  struct Case {
    ImageLayout layout;
    std::int32_t frameWidth, frameHeight, n;
    IntRect source;  // the part of the frame inside the picture
  };
  const Case cases[] = {
      {LayoutWhole, 2, 2, 3, {0, 0, 12, 7}},
      {LayoutGrid8, 1, 2, 9, {2, 3, 3, 5}},  // x = 1 * (1 + 1), y = 1 * (2 + 1)
      {LayoutGrid8, 1, 2, 3, {6, 0, 7, 2}},
      {LayoutRow, 5, 3, 1, {5, 0, 10, 3}},
      {LayoutRow, 5, 3, 2, {10, 0, 12, 3}},   // partly beyond the picture
      {LayoutColumn, 3, 3, 2, {0, 6, 3, 7}},  // partly beyond the picture
      {LayoutGrid, 5, 2, 3, {5, 2, 10, 4}},   // two per row
      {LayoutRow, 5, 3, 3, {}},               // wholly beyond
      {LayoutGrid, 13, 2, 0, {}},             // no whole frame per row
      {LayoutRow, 5, 3, INT32_MAX, {}},
      {LayoutGrid8, 1, 2, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " frame " << c.n);
    WBitmap image;
    SetImage(image, Pattern(12, 7), c.layout, c.frameWidth, c.frameHeight, false);
    auto dst = Filled(16, 10, kPaper);
    DrawFrame(*dst, image, 1, 2, c.n);
    ExpectPixels(*dst, Placed(c.source.Offset(1 - c.source.left, 2 - c.source.top), c.source.left,
                              c.source.top));
  }
}

TEST(Draw, StretchOfEqualSizeIsACopyAndNeverTransparent) {
  auto picture = Pattern(4, 3);
  picture->set(1, 1, kBlack);
  WBitmap image;
  SetImage(image, std::move(picture), LayoutWhole, 0, 0, true);
  for (const bool smooth : {false, true}) {
    auto dst = Filled(8, 6, kPaper);
    StretchImage(*dst, {3, 2, 6, 4}, image, {1, 1, 4, 3}, smooth);
    ExpectPixels(*dst, [](std::int32_t x, std::int32_t y) {
      if (x == 3 && y == 2) return kBlack;
      return IntRect{3, 2, 6, 4}.Contains(x, y) ? PatternAt(x - 2, y - 1) : kPaper;
    });
    EXPECT_EQ(dst->halftoneStretch, smooth);
  }
}

TEST(Draw, BackgroundCutOutFigures) {
  WBitmap background;
  SetImage(background, Pattern(200, 100), LayoutWhole, 0, 0, false);
  const FracRect area = FracRect::FromSize(0.1f, 0.2f, 0.5f, 0.25f);
  EXPECT_EQ(BackgroundCutOut(FracRect::FromSize(0.1f, 0.05f, 0.2f, 0.1f), area, &background),
            (IntRect{40, 20, 120, 60}));
  // Exact binary fractions: 10 * 0.125 / 0.5 = 2.5 goes up, 8 * -0.046875 / 0.25 = -1.5 down.
  WBitmap small;
  SetImage(small, Pattern(10, 8), LayoutWhole, 0, 0, false);
  EXPECT_EQ(BackgroundCutOut({0.125f, -0.046875f, 0.5f, 0.25f},
                             FracRect::FromSize(0.25f, 0.25f, 0.5f, 0.25f), &small),
            (IntRect{3, -2, 10, 8}));
  EXPECT_EQ(BackgroundCutOut({0.1f, 0.1f, 0.2f, 0.2f}, area, nullptr), IntRect{});
  WBitmap missing;
  EXPECT_EQ(BackgroundCutOut({0.1f, 0.1f, 0.2f, 0.2f}, area, &missing), IntRect{});
  EXPECT_EQ(BackgroundCutOut({0.1f, 0.1f, 0.2f, 0.2f}, {0.3f, 0.3f, 0.3f, 0.9f}, &background),
            IntRect{});
}

// A 40 x 30 screen; the area is its lower right quarter, (20, 15) to (40, 30) in pixels,
// and a background of 20 x 15 covers it pixel for pixel.
constexpr AppVideo kScreen{40, 30};
const FracRect kArea = FracRect::FromSize(0.5f, 0.5f, 0.5f, 0.5f);

TEST(Draw, BackgroundCutOutDrawsWhereTheRectangleLies) {
  WBitmap background;
  SetImage(background, Pattern(20, 15), LayoutWhole, 0, 0, false);
  auto dst = Filled(40, 30, kPaper);
  // r is (5, 3) to (15, 9) within the area: (25, 18) to (35, 24) on the screen.
  DrawBackgroundCutOut(*dst, FracRect::FromSize(0.125f, 0.1f, 0.25f, 0.2f), kArea, &background,
                       kScreen);
  ExpectPixels(*dst, Placed({25, 18, 35, 24}, 5, 3));
}

// Frame 1 of an 8 x 6 column picture: a border, and a black (transparent) hole in it.
constexpr Color kBorder = Rgb(200, 100, 0);
WBitmap PanelFrames(ImageLayout layout) {
  auto picture = Filled(8, 12, Rgb(50, 50, 0));
  FillRect(*picture, {0, 6, 8, 12}, kBorder);
  FillRect(*picture, {2, 8, 6, 10}, kBlack);
  WBitmap frames;
  SetImage(frames, std::move(picture), layout, 8, 6, true);
  return frames;
}
bool InHole(std::int32_t x, std::int32_t y) {
  return IntRect{2, 2, 6, 4}.Contains(x, y);
}

TEST(Draw, SkinnedPanelAtFrameSize) {
  const WBitmap frames = PanelFrames(LayoutColumn);
  const FracRect r = FracRect::FromSize(0.1f, 0.1f, 0.2f, 0.2f);  // 8 x 6 at (24, 18)
  const IntRect onScreen{24, 18, 32, 24};
  constexpr Color kStale = Rgb(7, 7, 0);

  auto scratch = Filled(16, 10, kStale);
  auto dst = Filled(40, 30, kPaper);
  DrawSkinnedPanel(*dst, r, frames, *scratch, nullptr, kArea, 1, kScreen);
  ExpectPixels(*dst, [&](std::int32_t x, std::int32_t y) {
    if (!onScreen.Contains(x, y)) return kPaper;
    return InHole(x - 24, y - 18) ? kStale : kBorder;
  });

  // The background shows through the hole: its cut-out under r is (4, 3) to (12, 9).
  WBitmap background;
  SetImage(background, Pattern(20, 15), LayoutWhole, 0, 0, false);
  dst = Filled(40, 30, kPaper);
  DrawSkinnedPanel(*dst, r, frames, *scratch, &background, kArea, 1, kScreen);
  ExpectPixels(*dst, [&](std::int32_t x, std::int32_t y) {
    if (!onScreen.Contains(x, y)) return kPaper;
    return InHole(x - 24, y - 18) ? PatternAt(x - 24 + 4, y - 18 + 3) : kBorder;
  });

  // Without its picture the panel draws nothing, not the scratch's leftovers.
  WBitmap missing;
  SetImage(missing, nullptr, LayoutColumn, 8, 6, true);
  dst = Filled(40, 30, kPaper);
  DrawSkinnedPanel(*dst, r, missing, *scratch, &background, kArea, 1, kScreen);
  ExpectPixels(*dst, [](std::int32_t, std::int32_t) { return kPaper; });
}

TEST(Draw, SkinnedPanelScaledStaysInsideItsRectangle) {
  WBitmap background;
  SetImage(background, Pattern(20, 15), LayoutWhole, 0, 0, false);
  const WBitmap frames = PanelFrames(LayoutColumn);
  auto scratch = Filled(16, 10, Rgb(7, 7, 0));
  auto dst = Filled(40, 30, kPaper);
  // 20 x 15 at (24, 18), partly beyond the surface's right and bottom edges.
  DrawSkinnedPanel(*dst, FracRect::FromSize(0.1f, 0.1f, 0.5f, 0.5f), frames, *scratch, &background,
                   kArea, 1, kScreen);
  const IntRect onScreen{24, 18, 40, 30};
  for (std::int32_t y = 0; y < 30; ++y) {
    for (std::int32_t x = 0; x < 40; ++x) {
      // Every pixel inside comes from blue-free pictures; every pixel outside is untouched.
      if (onScreen.Contains(x, y)) {
        ASSERT_EQ(BlueOf(dst->at(x, y)), 0) << x << "," << y;
      } else {
        ASSERT_EQ(dst->at(x, y), kPaper) << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(dst->halftoneStretch);
  EXPECT_EQ(dst->textColor, kBlack);
}

}  // namespace
}  // namespace gfx
