#include "gfx/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace gfx {
namespace {

TEST(RoundHalfUp, HalvesGoUpAndNegativeFractionsGoDown) {
  EXPECT_EQ(RoundHalfUp(0.5f), 1);
  EXPECT_EQ(RoundHalfUp(1.4999f), 1);
  EXPECT_EQ(RoundHalfUp(2.5f), 3);
  EXPECT_EQ(RoundHalfUp(2.49f), 2);
  EXPECT_EQ(RoundHalfUp(-0.5f), -1);
  EXPECT_EQ(RoundHalfUp(-2.0f), -2);
  EXPECT_EQ(RoundHalfUp(-2.3f), -3);
  EXPECT_EQ(RoundHalfUp(-2.7f), -3);
  EXPECT_EQ(RoundHalfUp(0.0f), 0);
}

TEST(RoundHalfUp, SaturatesOnValuesNoIntegerHolds) {
  EXPECT_EQ(RoundHalfUp(1e20f), INT32_MAX);
  EXPECT_EQ(RoundHalfUp(-1e20f), INT32_MIN);
  EXPECT_EQ(RoundHalfUp(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
}

TEST(Geometry, ClampScaleAndEven) {
  EXPECT_EQ(ClampInt(-5, 0, 10), 0);
  EXPECT_EQ(ClampInt(15, 0, 10), 10);
  EXPECT_EQ(ClampInt(7, 0, 10), 7);
  EXPECT_EQ(ScaleInt(100, 1, 0), 0);
  EXPECT_EQ(ScaleInt(5, 1, 2), 3);  // 2.5 rounds up
  EXPECT_EQ(ScaleInt(1024, 3, 4), 768);
  EXPECT_TRUE(IsEven(0));
  EXPECT_TRUE(IsEven(-2));
  EXPECT_FALSE(IsEven(-3));
}

TEST(Geometry, VersionNumberCountsTheMinorDigits) {
  EXPECT_DOUBLE_EQ(VersionNumber(5, 1), 5.1);
  EXPECT_DOUBLE_EQ(VersionNumber(4, 10), 4.1);
  EXPECT_DOUBLE_EQ(VersionNumber(4, 90), 4.9);
  EXPECT_DOUBLE_EQ(VersionNumber(6, 0), 6.0);
  EXPECT_GE(VersionNumber(5, 1), 5.1);
}

TEST(Geometry, FractionsBecomePixelsThroughRoundHalfUp) {
  const FracRect r = FracRect::FromSize(0.25f, 0.5f, 0.5f, 0.25f);
  EXPECT_EQ(r, (FracRect{0.25f, 0.5f, 0.75f, 0.75f}));
  EXPECT_EQ(FracToPixels(r, AppVideo{1024, 768}), (IntRect{256, 384, 768, 576}));
  EXPECT_EQ(FracToPixels(r, 1023, 768).left, 256);  // 255.75
  EXPECT_EQ(r.Moved(0.25f, -0.5f), (FracRect{0.5f, 0.0f, 1.0f, 0.25f}));
}

TEST(Geometry, FitAspectKeepsOrCentres) {
  const AppVideo screen{1000, 500};
  const FracRect rect = FracRect::FromSize(0.0f, 0.0f, 0.5f, 0.5f);
  EXPECT_EQ(FitAspect(rect, 2.0f, screen), rect);
  const FracRect wide = FitAspect(rect, 4.0f, screen);
  EXPECT_FLOAT_EQ(wide.left, 0.0f);
  EXPECT_FLOAT_EQ(wide.right, 0.5f);
  EXPECT_FLOAT_EQ(wide.top, 0.125f);
  EXPECT_FLOAT_EQ(wide.bottom, 0.375f);
  // Too narrow for the ratio: the width shrinks and the box is centred horizontally.
  const FracRect tall = FitAspect(rect, 0.5f, screen);
  EXPECT_FLOAT_EQ(tall.top, 0.0f);
  EXPECT_FLOAT_EQ(tall.bottom, 0.5f);
  EXPECT_FLOAT_EQ(tall.left, 0.1875f);
  EXPECT_FLOAT_EQ(tall.right, 0.3125f);
}

TEST(IntRect, ContainsAndIntersect) {
  const IntRect r = IntRect::FromSize(10, 20, 30, 40);
  EXPECT_EQ(r, (IntRect{10, 20, 40, 60}));
  EXPECT_TRUE(r.Contains(10, 20));
  EXPECT_FALSE(r.Contains(40, 20));
  EXPECT_EQ(r.Intersect({0, 0, 15, 25}), (IntRect{10, 20, 15, 25}));
  EXPECT_TRUE(r.Intersect({100, 100, 120, 120}).IsEmpty());
}

}  // namespace
}  // namespace gfx
