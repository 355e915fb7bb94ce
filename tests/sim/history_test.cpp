// The colony's history: every finished day recorded as the colony lived it, the months' last
// days kept for good, what a new game, a load and the end of a colony do to it, and that
// recording never changes the colony.
#include <gtest/gtest.h>

#include <vector>

#include "sim/earth_report.h"
#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;

// What a finished day must leave in the history: the state's figures, with Earth's score for
// them while Earth is in contact.
HistoryRecord RecordOf(const ColonyState& state, const world::Land& land) {
  HistoryRecord r;
  r.day = state.day;
  r.month = state.month;
  r.year = state.year;
  r.population = state.population;
  r.unemployed = state.unemployed;
  r.water = state.water;
  r.food = state.food;
  r.power = state.power;
  r.freeHousing = state.freeHousing;
  r.mentalHealth = state.mentalHealth;
  r.reproduction = state.reproduction;
  r.health = state.health;
  r.communications = state.communications;
  r.growthRate = state.growthRate;
  if (state.earthContact == kContactOn) {
    ColonyState scratch = state;
    r.hasScore = true;
    r.score = ComputeEarthReport(land, scratch).score;
  }
  return r;
}

bool EndsItsMonth(const ColonyState& state) {
  return state.day == MonthLength(state.month, state.shortYearCycle);
}

class HistoryTest : public ColonyTest {
 protected:
  std::size_t Questions() const {
    std::size_t n = 0;
    for (const std::string& e : host.events) n += e.starts_with("question:") ? 1 : 0;
    return n;
  }
  // A colony that can build anything and keeps going.
  void Prepare() {
    ExploreAll();
    Enrich(300);
    colony.Command(kCommandAccelerate);
  }
};

// Random building, demolishing, selecting and paging on the accelerated clock, Earth's contact
// coming, going and coming back: after every day its record is the state the day left, with
// Earth's score only in contact, and the complaints of the player's last report stay as they
// were; at the end the history holds the last 120 days and every month's last day that the
// test saw; saved and loaded on the way, the history comes back whole.
TEST_F(HistoryTest, TwoThousandRandomDaysAreRecordedAsTheColonyLivedThem) {
  world::Random choices(4711);
  random.Replace({});
  random.Seed(99);
  Prepare();
  std::vector<HistoryRecord> days;
  std::vector<HistoryRecord> months;
  int newGames = 0;
  int daysInContact = 0;
  int contactsMade = 0;
  for (int day = 0; day < 2000; ++day) {
    const int actions = choices.Below(4);
    for (int a = 0; a < actions; ++a) {
      const std::int32_t x = choices.Below(world::kMapColumns);
      const std::int32_t y = choices.Below(world::kMapRows);
      switch (choices.Below(8)) {
        case 0:
          colony.SelectCell(x, y);
          colony.Command(kCommandDelete);
          break;
        case 1:
          colony.Command(kCommandFirstCategory + choices.Below(kCategoryCount));
          break;
        case 2:
          colony.PlaceStructure(kCommCenter, x, y);
          break;
        default:
          colony.PlaceStructure(5 + choices.Below(29), x, y);
      }
    }
    if (choices.Below(40) == 0) AddPeople(S(), choices.Below(40));  // newcomers
    if (day == 1000) {                                              // contact lost for a while
      for (std::size_t i = 0; i < land.cells.size(); ++i) {
        if (land.cells[i].type != kCommCenter) continue;
        colony.SelectCell(static_cast<std::int32_t>(i) % land.columns,
                          static_cast<std::int32_t>(i) / land.columns);
        colony.Command(kCommandDelete);
      }
    }
    // As the report dialog leaves them; the day's own report must not touch them.
    S().complaints = {1, 2, 3, 4, 0, 1, 2, 0};
    const std::size_t questionsBefore = Questions();
    const ColonyState before = S();
    colony.GameTick();
    ASSERT_NE(S().day, before.day) << "an accelerated tick is one day";
    if (Questions() != questionsBefore) {
      // The colony died out and a new one was founded: its history begins afresh.
      EXPECT_TRUE(colony.History().Empty());
      days.clear();
      months.clear();
      ++newGames;
      Prepare();
      continue;
    }
    const HistoryRecord expected = RecordOf(S(), land);
    ASSERT_FALSE(colony.History().Daily().empty());
    ASSERT_EQ(colony.History().Daily().back(), expected) << "day " << day;
    ASSERT_EQ(S().complaints, before.complaints) << "day " << day;
    days.push_back(expected);
    if (EndsItsMonth(S())) months.push_back(expected);
    daysInContact += expected.hasScore ? 1 : 0;
    if (expected.hasScore && (days.size() < 2 || !days[days.size() - 2].hasScore)) ++contactsMade;

    if (day % 500 == 499) {
      SavedGame loaded;
      ASSERT_EQ(
          DecodeSavedGame(EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History()),
                          loaded),
          DecodeError::kNone)
          << "day " << day;
      EXPECT_EQ(loaded.history, colony.History());
    }
  }
  const auto& daily = colony.History().Daily();
  ASSERT_EQ(daily.size(), ColonyHistory::kDailyRecords);
  EXPECT_TRUE(std::equal(daily.begin(), daily.end(), days.end() - daily.size()));
  EXPECT_EQ(colony.History().Monthly(), months);
  // The run went through what it is meant to: many months, with Earth and without.
  EXPECT_EQ(newGames, 0);
  EXPECT_GE(months.size(), 60u);
  EXPECT_GE(contactsMade, 2);
  EXPECT_GT(daysInContact, 100);
  EXPECT_LT(daysInContact, 2000 - 80 * contactsMade);
  EXPECT_EQ(CheckHistory(colony.History(), S()), "");
  RecordProperty("months", static_cast<int>(months.size()));
  RecordProperty("daysInContact", daysInContact);
}

TEST_F(HistoryTest, TheMonthsKeepTheCalendarsWholeRound) {
  ColonyHistory history;
  HistoryRecord record;
  const auto months = static_cast<std::int32_t>(ColonyHistory::kMonthlyRecords);
  for (std::int32_t i = 0; i < months + 5; ++i) {
    record.population = i;
    history.Record(record, true);
  }
  ASSERT_EQ(history.Monthly().size(), ColonyHistory::kMonthlyRecords);
  EXPECT_EQ(history.Monthly().front().population, 5);
  EXPECT_EQ(history.Monthly().back().population, months + 4);
  EXPECT_EQ(history.Daily().size(), ColonyHistory::kDailyRecords);

  history.Clear();
  EXPECT_TRUE(history.Empty());
}

// The day the last colonist dies is recorded before the game-over question: a No leaves it as
// the ended colony's last record, a Yes founds a colony whose history is empty.
TEST_F(HistoryTest, TheDayThatEndsTheColonyIsItsLastRecord) {
  colony.RunDay();
  S().growthAccumulator = -30.0f;
  host.answer = false;
  colony.RunDay();
  ASSERT_TRUE(colony.Ended());
  ASSERT_EQ(colony.History().Daily().size(), 2u);
  EXPECT_EQ(colony.History().Daily().back(), RecordOf(S(), land));
  EXPECT_EQ(colony.History().Daily().back().population, 0);
}

TEST_F(HistoryTest, ANewColonyAfterGameOverStartsWithNoHistory) {
  for (int i = 0; i < 30; ++i) colony.RunDay();
  ASSERT_EQ(colony.History().Monthly().size(), 1u);
  S().growthAccumulator = -30.0f;
  host.answer = true;
  colony.RunDay();
  EXPECT_EQ(S().population, 10);
  EXPECT_TRUE(colony.History().Empty());
  colony.RunDay();
  EXPECT_EQ(colony.History().Daily().size(), 1u);
}

TEST_F(HistoryTest, ANewGameClearsTheHistoryAndALoadBringsItsOwn) {
  for (int i = 0; i < 40; ++i) colony.RunDay();
  const SavedGame saved = Snapshot();
  ASSERT_EQ(saved.history.Daily().size(), 40u);
  colony.NewGame();
  EXPECT_TRUE(colony.History().Empty());
  colony.RunDay();
  Restore(saved);
  EXPECT_EQ(colony.History(), saved.history);
  Restore(SavedGame{saved.state, saved.selectedType, saved.cells, ColonyHistory{}});
  EXPECT_TRUE(colony.History().Empty());
}

}  // namespace
