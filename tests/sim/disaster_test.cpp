// Outbreaks, the shortage deletion, game over and the Earth contact notices.
#include <gtest/gtest.h>

#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

using DisasterTest = ColonyTest;

std::string NoticeOf(std::string_view text) {
  return "notice:" + std::string(text);
}

TEST_F(DisasterTest, WaterDiseaseNeedsMoreThan160) {
  S().water = 160;
  S().food = 0;
  defaultDraw = 100;  // mod 32000 is not 0: no virus; mod 100 is 0
  colony.RunDay();
  EXPECT_EQ(S().disease, 0);
  EXPECT_TRUE(host.Notices().empty());
  S().water = 161;
  draws = {0, 7};  // water test, the disease's spread; then no virus (default 100)
  colony.RunDay();
  EXPECT_EQ(S().disease, 57 - 0);  // 50 + 7, the day's growth step does not lower it yet
  EXPECT_EQ(host.Notices(), std::vector<std::string>{NoticeOf(kTextWaterDisease)});
  EXPECT_EQ(host.events.front(), "sound:Alarm");
}

TEST_F(DisasterTest, AllThreeOutbreaksCanFireOnOneDayAndTheLastSetsTheDisease) {
  S().water = 200;
  S().food = 200;
  draws = {0, 10, 0, 3, 0, 42};
  colony.RunDay();
  EXPECT_EQ(host.Notices(),
            (std::vector<std::string>{NoticeOf(kTextWaterDisease), NoticeOf(kTextFoodPoisoning),
                                      NoticeOf(kTextVirus)}));
  EXPECT_EQ(S().disease, 142);
  // While a disease runs no outbreak starts, however high water and food are.
  host.events.clear();
  defaultDraw = 0;
  for (int i = 0; i < 30; ++i) colony.RunDay();
  EXPECT_TRUE(host.Notices().empty());
}

TEST_F(DisasterTest, PowerShortageDeletesNewestFirstStartingWithTheWindPlant) {
  ExploreAll();
  AddPeople(S(), 300);
  for (int i = 0; i < 4; ++i) Build(kWaterWell, 20 + i, 20);  // serials 1..4
  FinishAll();
  Build(kWindPower, 20, 21);  // 5
  FinishAll();
  ASSERT_EQ(S().power, 70);
  for (int i = 0; i < 8; ++i) Build(kDisco, 20 + i, 22);  // 6..13, −160
  Build(kPub, 20, 23);                                    // 14, −8
  Build(kGym, 21, 23);                                    // 15, −6
  Build(kLittleHouse, 22, 23);                            // 16, −1
  Build(kWindPower, 23, 23);                              // 17, the newest
  FinishAll();
  ASSERT_EQ(S().power, -5);
  colony.DeleteNewestStructures();
  // The wind plant goes first (power −105), then the house, gym and pub (−90), then the
  // newest Discos one by one until power is back at +10.
  EXPECT_EQ(Cell(23, 23).type, kLand);
  for (int x = 20; x <= 22; ++x) {
    EXPECT_EQ(Cell(x, 23).type, kLand) << x;
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Cell(20 + i, 22).type, kDisco) << i;
  }
  for (int i = 3; i < 8; ++i) {
    EXPECT_EQ(Cell(20 + i, 22).type, kLand) << i;
  }
  EXPECT_EQ(Cell(20, 21).type, kWindPower);
  EXPECT_EQ(S().power, 10);
  EXPECT_EQ(S().buildSerial, 8);
  EXPECT_EQ(Invariants(), "");
  // The next placement reuses the freed serial numbers.
  Build(kCrops, 30, 30);
  EXPECT_EQ(Cell(30, 30).serial, 9);
}

TEST_F(DisasterTest, OneDeathWithNobodyUnemployedPullsDownTheNewestSite) {
  Build(kWaterWell, 10, 64);  // 4 builders
  Build(kWindPower, 12, 63);  // 6 builders
  ASSERT_EQ(S().unemployed, 0);
  S().growthAccumulator = -1.5f;
  colony.RunDay();
  EXPECT_EQ(S().population, 9);
  EXPECT_EQ(Cell(12, 63).type, kLand);
  EXPECT_EQ(Cell(10, 64).type, kWaterWell);
  EXPECT_EQ(S().unemployed, 5);
  EXPECT_EQ(S().buildSerial, 1);
  EXPECT_EQ(host.Notices(), std::vector<std::string>{NoticeOf(kTextPeopleShortage)});
  EXPECT_EQ(Invariants(), "");
}

TEST_F(DisasterTest, OneDeathWithNobodyUnemployedPullsDownTheNewestFinishedStructure) {
  Build(kWaterWell, 10, 64);       // 4 builders
  Build(kWaterCondenser, 12, 64);  // 2
  Build(kBatteries, 12, 63);       // 3
  Build(kCrops, 11, 63);           // 1, finished today: its builder becomes its worker
  ASSERT_EQ(S().unemployed, 0);
  S().growthAccumulator = -1.5f;
  colony.RunDay();
  EXPECT_EQ(Cell(11, 63).type, kLand);
  EXPECT_EQ(Cell(12, 63).type, kBatteries);
  EXPECT_EQ(S().unemployed, 0);
  EXPECT_EQ(S().food, 11);  // the crops' 50 went with them
  EXPECT_EQ(Invariants(), "");
}

TEST_F(DisasterTest, GameOverDayShowsThePowerNoticeThenOnlyTheQuestion) {
  ExploreAll();
  Build(kWaterCondenser, 12, 64);
  FinishAll();
  S().power -= 10;  // a shortage today
  S().growthAccumulator = -20.0f;
  host.answer = false;
  colony.RunDay();
  EXPECT_EQ(host.Notices(), (std::vector<std::string>{NoticeOf(kTextPowerShortage),
                                                      "question:" + std::string(kTextGameOver)}));
  EXPECT_EQ(host.events[host.events.size() - 2], "sound:GameOver");
  EXPECT_EQ(S().population, 0);
  EXPECT_TRUE(host.ended);
  EXPECT_TRUE(colony.Ended());
  // Nothing runs after the program was told to end.
  const std::int32_t day = S().day;
  S().speed = kAccelerated;
  colony.GameTick();
  EXPECT_EQ(S().day, day);
}

TEST_F(DisasterTest, GameOverAnsweredYesStartsANewPausedGame) {
  S().speed = kAccelerated;
  S().growthAccumulator = -30.0f;
  host.answer = true;
  colony.RunDay();
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(S().population, 10);
  EXPECT_EQ(S().day, 1);
  EXPECT_EQ(S().year, 2001);
  EXPECT_EQ(S().speed, kPaused);
  EXPECT_EQ(Invariants(), "");
}

TEST_F(DisasterTest, CommCenterFinishedAndLostOnTheSameDayIsNotAnnouncedAsOn) {
  ExploreAll();
  Enrich();
  Build(kCommCenter, 30, 30);
  for (int i = 0; i < 79; ++i) colony.AdvanceConstruction();
  ASSERT_EQ(Cell(30, 30).constructionLeft, 1);
  // Power is exactly used up, so the Comm. Center's −6 on finishing causes a shortage that
  // pulls it down (it is the newest) on the day it is finished.
  S().power = 0;
  host.events.clear();
  colony.RunDay();
  EXPECT_EQ(Cell(30, 30).type, kLand);
  EXPECT_EQ(S().earthContact, kNoContact);
  EXPECT_FALSE(colony.EarthCommEnabled());
  EXPECT_EQ(host.Notices(),
            (std::vector<std::string>{NoticeOf(kTextPowerShortage), NoticeOf(kTextContactLost)}));
}

TEST_F(DisasterTest, CommCenterFinishingAnnouncesContactOnce) {
  ExploreAll();
  Enrich();
  Build(kCommCenter, 30, 30);
  for (int i = 0; i < 79; ++i) colony.RunDay();
  EXPECT_FALSE(colony.EarthCommEnabled());
  host.events.clear();
  colony.RunDay();
  EXPECT_EQ(S().earthContact, kContactOn);
  EXPECT_TRUE(colony.EarthCommEnabled());
  EXPECT_EQ(host.Notices(), std::vector<std::string>{NoticeOf(kTextContactOn)});
  EXPECT_EQ(host.events.front(), "sound:Warning");
  host.events.clear();
  Build(kCrops, 31, 31);
  colony.RunDay();  // another structure finished: no second announcement
  EXPECT_TRUE(host.Notices().empty());
}

}  // namespace
