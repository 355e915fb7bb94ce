// The day step: calendar, construction, the growth model and the tick dividers.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

using DayTest = ColonyTest;

TEST_F(DayTest, ShortYearRule) {
  // 1 Hexember of a short year (cycle 1): the year ends after day 27.
  S().month = 23;
  S().day = 1;
  S().year = 2001;
  S().shortYearCycle = 1;
  for (int i = 0; i < 26; ++i) colony.RunDay();
  EXPECT_EQ(S().day, 27);
  colony.RunDay();
  EXPECT_EQ(S().day, 1);
  EXPECT_EQ(S().month, 0);
  EXPECT_EQ(S().year, 2002);
  EXPECT_EQ(S().shortYearCycle, 2);

  // Cycle 5 is a long year: day 28 comes.
  S().month = 23;
  S().day = 1;
  S().year = 2005;
  S().shortYearCycle = 5;
  for (int i = 0; i < 27; ++i) colony.RunDay();
  EXPECT_EQ(S().day, 28);
  colony.RunDay();
  EXPECT_EQ(S().month, 0);

  // Day 27 of Hexavernalis is followed by 1 Aestas; 9999 wraps to 0 and cycle 9 to 0.
  S().month = 5;
  S().day = 27;
  colony.RunDay();
  EXPECT_EQ(S().day, 1);
  EXPECT_EQ(S().month, 6);
  S().month = 23;
  S().day = 28;
  S().year = 9999;
  S().shortYearCycle = 9;
  colony.RunDay();
  EXPECT_EQ(S().year, 0);
  EXPECT_EQ(S().shortYearCycle, 0);
}

TEST_F(DayTest, YearsHave668Or669Days) {
  // From 1 Vernalis 2001 (short) a whole year is 668 days, 2005 (long) 669.
  for (int i = 0; i < 668; ++i) colony.RunDay();
  EXPECT_EQ(S().year, 2002);
  EXPECT_EQ(S().day, 1);
  EXPECT_EQ(S().month, 0);
  S().shortYearCycle = 5;
  for (int i = 0; i < 668; ++i) colony.RunDay();
  EXPECT_EQ(S().year, 2002);
  colony.RunDay();
  EXPECT_EQ(S().year, 2003);
}

TEST_F(DayTest, FreshColonyGrowthFigures) {
  // B = (4 × 10/10 + 1) × 4 = 20, D = 100 / 10 = 10, T = 10: the rate stays at 10.
  colony.UpdateGrowth();
  EXPECT_EQ(S().growthRate, 10.0f);
  const float expected =
      static_cast<float>(static_cast<double>(static_cast<float>(10 * 10.0 * 0.01)) / 669.0);
  EXPECT_EQ(S().growthAccumulator, expected);
  EXPECT_NEAR(S().growthAccumulator, 0.0015, 0.00001);
  colony.UpdateGrowth();
  EXPECT_EQ(S().growthAccumulator, static_cast<float>(static_cast<double>(expected) + expected));
}

TEST_F(DayTest, DeathTermAndShortages) {
  // Health equal to disease: D = 25, so T = 20 − 25 = −5 and the rate falls by 0.1 a day,
  // and the disease pulls it down by another 0.1.
  S().health = 3;
  S().disease = 3;
  colony.UpdateGrowth();
  EXPECT_FLOAT_EQ(S().growthRate, 9.8f);
  // Health 0, disease 1: D = 5 × (2 + 4 − 0) = 30; T = 20 − 30 = −10.
  S().health = 0;
  S().disease = 1;
  S().growthRate = -10.0f;
  colony.UpdateGrowth();
  // The disease takes 0.1, then the rate moves back up toward −10.
  EXPECT_FLOAT_EQ(S().growthRate, -10.0f);

  // No food: T becomes −20 and the rate loses an extra 0.1; no water: −50 and another 0.1.
  S().health = 6;
  S().disease = 0;
  S().growthRate = 0.0f;
  S().food = 0;
  colony.UpdateGrowth();
  EXPECT_FLOAT_EQ(S().growthRate, -0.2f);
  S().water = 0;
  S().growthRate = 0.0f;
  colony.UpdateGrowth();
  EXPECT_FLOAT_EQ(S().growthRate, -0.3f);
}

TEST_F(DayTest, DiseaseLosesOnePointEvery11Days) {
  S().disease = 5;
  for (int i = 0; i < 10; ++i) colony.UpdateGrowth();
  EXPECT_EQ(S().disease, 5);
  colony.UpdateGrowth();
  EXPECT_EQ(S().disease, 4);
  EXPECT_EQ(colony.DiseaseDecay(), 0);
}

// A colony whose growth adds exactly nothing: no births (reproduction 0) and so much health
// that deaths truncate to 0, with the rate already at the target 0.
class AccumulatorTest : public ColonyTest {
 protected:
  void SetUp() override {
    S().reproduction = 0;
    S().health = 100;
    S().growthRate = 0.0f;
  }
};

TEST_F(AccumulatorTest, ExactlyOneAddsNobody) {
  S().growthAccumulator = 1.0f;
  colony.RunDay();
  EXPECT_EQ(S().population, 10);
  EXPECT_EQ(S().growthAccumulator, 1.0f);
}

TEST_F(AccumulatorTest, OnePointSevenAddsOne) {
  S().growthAccumulator = 1.7f;
  colony.RunDay();
  EXPECT_EQ(S().population, 11);
  EXPECT_EQ(S().unemployed, 11);
  EXPECT_EQ(S().water, 9);
  EXPECT_NEAR(S().growthAccumulator, 0.7f, 1e-6);
}

TEST_F(AccumulatorTest, MinusOnePointThreeRemovesOne) {
  S().growthAccumulator = -1.3f;
  colony.RunDay();
  EXPECT_EQ(S().population, 9);
  EXPECT_EQ(S().freeHousing, 13);
  EXPECT_NEAR(S().growthAccumulator, -0.3f, 1e-6);
}

// A doctored colony far beyond anything play reaches (the population and rate an older loader
// let through) must not overflow a counter: the people stop at the limit, the balances keep
// agreeing with the map, and the rate comes back within what a saved game holds.
TEST_F(DayTest, TheDayHoldsTheColonyWithinItsLimits) {
  ExploreAll();
  Enrich();
  const std::int32_t extra = 100'000'000 - S().population;
  S().population += extra;
  S().unemployed += extra;
  S().water -= extra;
  S().food -= extra;
  S().freeHousing -= extra;
  S().communications -= extra;
  S().growthRate = 1.0e6f;
  for (int day = 0; day < 3; ++day) {
    colony.RunDay();
    EXPECT_EQ(S().population, kMaxPopulation) << day;
    EXPECT_LE(S().growthRate, kMaxGrowthRate) << day;
    EXPECT_EQ(Invariants(), "") << day;
  }

  // At the limit with the fastest growth play allows, nobody more arrives.
  colony.NewGame();
  ExploreAll();
  Enrich();
  AddPeople(S(), kMaxPopulation - 3 - S().population);
  S().growthRate = kMaxGrowthRate;
  S().growthAccumulator = 0.9f;
  colony.RunDay();
  EXPECT_EQ(S().population, kMaxPopulation);
  EXPECT_EQ(Invariants(), "");
  EXPECT_LE(std::fabs(S().growthAccumulator), kMaxGrowthAccumulator);

  // A rate at the bottom of the range stays there under every penalty.
  colony.NewGame();
  S().growthRate = kMinGrowthRate;
  S().water = 0;
  S().food = 0;
  S().disease = 50;
  colony.UpdateGrowth();
  EXPECT_EQ(S().growthRate, kMinGrowthRate);
}

TEST_F(DayTest, CondenserSiteFramesAndFinish) {
  ASSERT_EQ(colony.PlaceStructure(kWaterCondenser, 12, 64), PlaceResult::kBuilt);
  const MapCell& cell = Cell(12, 64);
  EXPECT_EQ(cell.sheet, world::kSheetSite);
  EXPECT_EQ(cell.frame, 0);
  EXPECT_EQ(cell.constructionLeft, 5);
  std::vector<int> frames;
  std::vector<std::int32_t> results;
  for (int day = 0; day < 4; ++day) {
    results.push_back(colony.AdvanceConstruction());
    frames.push_back(cell.frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(results, (std::vector<std::int32_t>{0, 0, 1, 0}));
  EXPECT_EQ(S().water, 10);
  EXPECT_EQ(colony.AdvanceConstruction(), kConstructionFinished);
  EXPECT_EQ(cell.sheet, world::kSheetStructure);
  EXPECT_EQ(cell.frame, 3);
  EXPECT_EQ(cell.animStart, 5);
  EXPECT_EQ(cell.animLength, 3);
  EXPECT_EQ(cell.variant, 0);
  EXPECT_EQ(S().water, 80);
  EXPECT_EQ(S().power, 5);
  EXPECT_EQ(S().unemployed, 10);
  EXPECT_EQ(Invariants(), "");
  // The animation phase wraps at its length.
  for (int i = 0; i < 4; ++i) colony.AnimationStep();
  EXPECT_EQ(cell.variant, 1);
}

TEST_F(DayTest, HouseSiteUsesItsVariant) {
  draws = {2};  // the variant
  ASSERT_EQ(colony.PlaceStructure(kCountryHouse, 12, 64), PlaceResult::kBuilt);
  MapCell& cell = Cell(12, 64);
  EXPECT_EQ(cell.variant, 2);
  EXPECT_EQ(cell.frame, 18 + 2 * 2);
  for (int i = 0; i < 14; ++i) colony.AdvanceConstruction();
  EXPECT_EQ(cell.frame, 18 + 1 + 2 * 2);  // 2 steps × 14 / 15 = 1
  colony.AdvanceConstruction();
  EXPECT_EQ(cell.frame, 24 + 2);
}

TEST_F(DayTest, CropsFollowWaterAndFood) {
  ASSERT_EQ(colony.PlaceStructure(kCrops, 12, 64), PlaceResult::kBuilt);
  colony.AdvanceConstruction();  // finished: food 60, water 0
  MapCell& cell = Cell(12, 64);
  EXPECT_EQ(cell.frame, 8);
  struct Case {
    std::int32_t water, food, level;
  };
  for (const Case c : {Case{0, 60, 0}, Case{5, 0, 0}, Case{5, -3, 1}, Case{5, 19, 1},
                       Case{5, 20, 2}, Case{5, 99, 2}, Case{5, 100, 3}, Case{-5, 200, 3}}) {
    S().water = c.water;
    S().food = c.food;
    colony.AdvanceConstruction();
    EXPECT_EQ(cell.frame, 8 + c.level) << c.water << " " << c.food;
  }
  // An unchanged frame reports nothing.
  EXPECT_EQ(colony.AdvanceConstruction(), kConstructionNothing);
}

TEST_F(DayTest, TickDividers) {
  S().speed = kNormal;
  for (int tick = 1; tick <= 12; ++tick) colony.GameTick();
  EXPECT_EQ(S().day, 1);
  colony.GameTick();
  EXPECT_EQ(S().day, 2);
  for (int tick = 0; tick < 13; ++tick) colony.GameTick();
  EXPECT_EQ(S().day, 3);

  S().speed = kAccelerated;
  for (int tick = 0; tick < 5; ++tick) colony.GameTick();
  EXPECT_EQ(S().day, 8);

  S().speed = kPaused;
  for (int tick = 0; tick < 50; ++tick) colony.GameTick();
  EXPECT_EQ(S().day, 8);

  // Restoring the view resets both dividers: the next day is 13 ticks away again.
  S().speed = kNormal;
  colony.GameTick();
  colony.RestoreView();
  for (int tick = 0; tick < 12; ++tick) colony.GameTick();
  EXPECT_EQ(S().day, 8);
  colony.GameTick();
  EXPECT_EQ(S().day, 9);
}

TEST_F(DayTest, AnimationStepsAtNormalSpeedEveryThirdTick) {
  Build(kWaterCondenser, 12, 64);
  FinishAll();
  const MapCell& cell = Cell(12, 64);
  S().speed = kNormal;
  colony.GameTick();
  colony.GameTick();
  EXPECT_EQ(cell.variant, 0);
  colony.GameTick();
  EXPECT_EQ(cell.variant, 1);
}

}  // namespace
