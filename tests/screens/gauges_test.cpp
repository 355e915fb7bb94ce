// The gauge helpers at their edges, pixel by pixel on small surfaces, and the panels' text
// conversions.
#include "screens/gauges.h"

#include <gtest/gtest.h>

#include <memory>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/info_pages.h"
#include "screens/panel_text.h"

namespace screens {
namespace {

// A stand-in for "StType1" whose gauge strips have one colour per source column, so a bar's
// pixels tell which columns it was stretched from.
std::unique_ptr<gfx::WBitmap> GaugePicture() {
  auto surface = std::make_unique<gfx::MemVideo>(200, 196);
  for (std::int32_t y = 96; y < 126; ++y)
    for (std::int32_t x = 0; x < 200; ++x)
      surface->set(x, y, gfx::Rgb(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7));
  auto picture = std::make_unique<gfx::WBitmap>();
  gfx::SetImage(*picture, std::move(surface), gfx::LayoutWhole, 0, 0, false);
  return picture;
}

// A 200 x 100 screen, so a fraction of it is easy to read in pixels.
class GaugeTest : public ::testing::Test {
 protected:
  static constexpr gfx::AppVideo kScreen{200, 100};
  // Pixels that are no longer the black the surface started with.
  gfx::IntRect Painted() const {
    gfx::IntRect box{kScreen.width, kScreen.height, 0, 0};
    for (std::int32_t y = 0; y < kScreen.height; ++y)
      for (std::int32_t x = 0; x < kScreen.width; ++x)
        if (target.at(x, y) != gfx::kBlack) {
          box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                 std::max(box.bottom, y + 1)};
        }
    return box.IsEmpty() ? gfx::IntRect{} : box;
  }

  gfx::MemVideo target{kScreen.width, kScreen.height};
  std::unique_ptr<gfx::WBitmap> gauges = GaugePicture();
  GaugeCanvas canvas{target, kScreen, gauges.get()};
};

TEST_F(GaugeTest, ALevelBarFillsItsShareOfTheSlotAndNothingBelowOne) {
  const gfx::FracRect slot{0.1f, 0.1f, 0.9f, 0.2f};  // 160 pixels wide
  DrawLevelBar(canvas, 0, slot);
  DrawLevelBar(canvas, -7, slot);
  EXPECT_EQ(Painted(), gfx::IntRect{});
  DrawLevelBar(canvas, 80, slot);
  EXPECT_EQ(Painted(), (gfx::IntRect{21, 10, 101, 20}));  // half, a pixel to the right
  gfx::FillSurface(target, gfx::kBlack);
  DrawLevelBar(canvas, 200, slot);  // held at 160 steps: the whole slot
  EXPECT_EQ(Painted(), (gfx::IntRect{21, 10, 181, 20}));
  EXPECT_EQ(gfx::RedOf(target.at(180, 15)), 159);  // the last column of the strip
  EXPECT_GE(gfx::GreenOf(target.at(21, 10)), 96);  // the level strip's rows
  EXPECT_LT(gfx::GreenOf(target.at(21, 19)), 104);
}

TEST_F(GaugeTest, ABalanceBarGrowsFromTheMiddleWithItsSideOfTheStrip) {
  const gfx::FracRect slot{0.0f, 0.5f, 1.0f, 0.6f};
  DrawBalanceBar(canvas, 0, kBalanceStyleRed, slot);
  EXPECT_EQ(Painted(), gfx::IntRect{});
  DrawBalanceBar(canvas, -150, kBalanceStyleRed, slot);  // held at -100: half the slot, left
  EXPECT_EQ(Painted(), (gfx::IntRect{0, 50, 100, 60}));
  EXPECT_EQ(gfx::RedOf(target.at(0, 55)), 0);  // source columns 0..100
  EXPECT_EQ(gfx::RedOf(target.at(99, 55)), 99);
  EXPECT_GE(gfx::GreenOf(target.at(50, 50)), 106);  // style 1's rows
  EXPECT_LT(gfx::GreenOf(target.at(50, 59)), 114);
  gfx::FillSurface(target, gfx::kBlack);
  DrawBalanceBar(canvas, 50, kBalanceStyleBlue, slot);  // a quarter, right, a pixel on
  EXPECT_EQ(Painted(), (gfx::IntRect{101, 50, 151, 60}));
  EXPECT_EQ(gfx::RedOf(target.at(101, 55)), 100);
  EXPECT_GE(gfx::GreenOf(target.at(120, 50)), 116);
  EXPECT_LT(gfx::GreenOf(target.at(120, 59)), 124);
}

TEST_F(GaugeTest, AColumnRisesOrFallsFromItsBaselineWithinItsRange) {
  const gfx::FracRect rect{0.1f, 0.0f, 0.2f, 1.0f};
  const float baseline = 0.6f;
  const gfx::Color c = gfx::Rgb(1, 2, 3);
  DrawColumnBar(target, kScreen, 0, -30, 100, c, baseline, rect);
  EXPECT_EQ(Painted(), gfx::IntRect{});
  DrawColumnBar(target, kScreen, 50, -30, 100, c, baseline, rect);  // half of 60 rows up
  EXPECT_EQ(Painted(), (gfx::IntRect{20, 30, 40, 60}));
  gfx::FillSurface(target, gfx::kBlack);
  DrawColumnBar(target, kScreen, -300, -30, 100, c, baseline, rect);  // held at -30: all of 40 down
  EXPECT_EQ(Painted(), (gfx::IntRect{20, 61, 40, 101}.Intersect(target.bounds())));
  gfx::FillSurface(target, gfx::kBlack);
  DrawColumnBar(target, kScreen, 5, 0, 0, c, baseline, rect);  // no room: a range of nothing
  EXPECT_EQ(Painted(), gfx::IntRect{});
}

TEST(RatioFigures, CountersAreColouredByTheirValue) {
  const gfx::Color red = gfx::Rgb(255, 0, 0), yellow = gfx::Rgb(255, 255, 0),
                   green = gfx::Rgb(0, 255, 0);
  for (auto [value, colour] : {std::pair{-5, red},
                               {0, red},
                               {9, red},
                               {10, yellow},
                               {15, yellow},
                               {19, yellow},
                               {20, green},
                               {129, green},
                               {130, yellow},
                               {149, yellow},
                               {150, red},
                               {999, red},
                               {1000, red}})
    EXPECT_EQ(RatioColor(value), colour) << value;
}

TEST(RatioFigures, AFigureIsHeldToThreeDigitsAndTheFontIsWhiteAgain) {
  auto font = gfx::Font::Create("Verdana", 700, 14);
  if (!font) GTEST_SKIP() << "no font";
  gfx::MemVideo target(100, 30);
  const gfx::AppVideo screen{100, 30};
  DrawRatioFigure(target, screen, font.get(), 1000, 0.0f, 0.0f);
  EXPECT_EQ(font->color(), gfx::kWhite);
  gfx::MemVideo expected(100, 30);
  font->setColor(gfx::Rgb(255, 0, 0));
  gfx::DrawTextAt(expected, "999", font.get(), gfx::kTextAlignLeft, 0.0f, 0.0f, screen);
  for (std::int32_t y = 0; y < 30; ++y)
    for (std::int32_t x = 0; x < 100; ++x) ASSERT_EQ(target.at(x, y), expected.at(x, y));
}

TEST(PanelText, GrowthRatesAndShares) {
  EXPECT_EQ(GrowthRateText(10.0f), "10.00%");
  EXPECT_EQ(GrowthRateText(-0.5f), "-0.50%");
  EXPECT_EQ(GrowthRateText(0.0f), "0.00%");
  EXPECT_EQ(GrowthRateText(-0.001f), "0.00%");  // never "-0.00%"
  EXPECT_EQ(GrowthRateText(-0.0f), "0.00%");
  EXPECT_EQ(UnemployedPercent(1, 8), 13);  // 12.5 goes up
  EXPECT_EQ(UnemployedPercent(2, 3), 67);
  EXPECT_EQ(UnemployedPercent(-1, 8), -13);  // other halves below zero go down
  EXPECT_EQ(WithPercent(10, 10, 10), "10 (100%)");
  EXPECT_EQ(WithPercent(0, 0, 0), "0 (0%)");
}

TEST(StatusBalances, HealthLessDiseaseAndCommunicationsInTensWithContact) {
  sim::ColonyState colony;
  colony.health = 6;
  colony.disease = 10;
  colony.mentalHealth = -3;
  colony.reproduction = 9;
  colony.birthControl = 2;
  colony.communications = 350;
  EXPECT_EQ(StatusBalances(colony).health, -4);
  EXPECT_EQ(StatusBalances(colony).reproduction, 4);
  EXPECT_EQ(StatusBalances(colony).communications, 350);
  colony.earthContact = sim::kContactOn;
  EXPECT_EQ(StatusBalances(colony).communications, 35);
  colony.birthControl = 0;  // a damaged colony shows no bar rather than dividing by nothing
  EXPECT_EQ(StatusBalances(colony).reproduction, 0);
}

}  // namespace
}  // namespace screens
