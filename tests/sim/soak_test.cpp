// Thousands of days of random building and demolishing: after every day both invariants
// hold, nothing is short of people or power, and the state survives a save and load.
#include <gtest/gtest.h>

#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

class SoakTest : public ColonyTest {};

TEST_F(SoakTest, InvariantsHoldAfterEveryDayOf20000) {
  world::Random choices(2024);
  random.Replace({});
  random.Seed(77);
  ExploreAll();
  int built = 0;
  int newGames = 0;
  for (int day = 0; day < 20000; ++day) {
    // A few commands a day, the way a busy player might.
    const int actions = choices.Below(4);
    for (int a = 0; a < actions; ++a) {
      const std::int32_t x = choices.Below(world::kMapColumns);
      const std::int32_t y = choices.Below(world::kMapRows);
      if (choices.Below(5) == 0) {
        colony.SelectCell(x, y);
        colony.Command(kCommandDelete);
      } else if (colony.PlaceStructure(5 + choices.Below(29), x, y) == PlaceResult::kBuilt) {
        ++built;
      }
    }
    if (choices.Below(50) == 0) AddPeople(S(), choices.Below(40));  // newcomers keep it going
    const std::int32_t serial = S().buildSerial;
    colony.RunDay();
    if (S().buildSerial < serial && S().year == 2001 && S().day == 1) {
      ++newGames;
      ExploreAll();
    }
    ASSERT_EQ(Invariants(), "") << "day " << day;
    ASSERT_GE(S().unemployed, 0) << "day " << day;
    ASSERT_GE(S().power, 0) << "day " << day;
    ASSERT_GE(S().population, 1) << "day " << day;

    if (day % 2000 == 1999) {
      const gfx::ByteBuffer file =
          EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());
      SavedGame loaded;
      ASSERT_EQ(DecodeSavedGame(file, loaded), DecodeError::kNone) << "day " << day;
      EXPECT_EQ(loaded.state, S());
      EXPECT_EQ(loaded.history, colony.History());
    }
  }
  // The soak did exercise the model.
  EXPECT_GT(built, 2000);
  RecordProperty("built", built);
  RecordProperty("newGames", newGames);
}

}  // namespace
