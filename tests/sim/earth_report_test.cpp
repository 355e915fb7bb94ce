// The complaint counters from the map's neighbourhoods, the nine levels, the verdict and SCORE.
#include "sim/earth_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "sim/colony_script.h"
#include "tests/sim/best_colony.h"
#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;

class EarthReportTest : public ::testing::Test {
 protected:
  EarthReportTest() {
    ResetToNewGame(state);
    state.unemployed = 0;  // everyone employed unless a test says otherwise
  }
  void Put(std::int32_t x, std::int32_t y, StructureType type) {
    land.Cell(x, y).type = static_cast<std::uint8_t>(type);
  }
  std::int32_t Count() { return CountComplaints(land, state); }

  world::Land land;
  ColonyState state;
};

TEST_F(EarthReportTest, NoHousesMeansTheHighwayComplaintAtFull) {
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(state.complaints, (std::array<std::int32_t, 8>{4, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(EarthReportTest, HousesWithoutHighwayAndTheThreeCellNeighbourhood) {
  // Four houses; three have a highway among (x−1, y), (x, y−1), (x−1, y−1).
  Put(10, 10, kHighway);
  Put(11, 10, kLittleHouse);  // highway to the left
  Put(10, 11, kFlats);        // highway above
  Put(11, 11, kSkyscraper);   // highway above-left
  // Highways to the right and below do not connect.
  Put(20, 20, kCountryHouse);
  Put(21, 20, kHighway);
  Put(20, 21, kHighway);
  Count();
  EXPECT_EQ(state.complaints[0], 2);  // 1 of 4 = 25 % → 2
  // Edges: a house at x = 0 sees only (0, y − 1); one at (0, 0) sees nothing.
  land = world::Land{};
  Put(0, 5, kLittleHouse);
  Put(0, 4, kHighway);
  Count();
  EXPECT_EQ(state.complaints[0], 0);
  Put(0, 0, kLittleHouse);
  Put(1, 0, kHighway);
  Put(0, 1, kHighway);
  Count();
  EXPECT_EQ(state.complaints[0], 4);  // 1 of 2 = 50 % → 5, limited to 4
}

TEST_F(EarthReportTest, CountersAreLimitedToFour) {
  Put(0, 0, kLittleHouse);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(state.complaints[0], 4);
}

TEST_F(EarthReportTest, NoiseViceAndTelescopes) {
  Put(10, 10, kDisco);
  Put(11, 10, kCasino);
  Put(11, 11, kLittleHouse);  // Disco (above-left) and Casino (above): 2
  Put(10, 11, kHighway);      // keeps the highway counter out of the way
  Put(30, 30, kDisco);
  Put(31, 30, kDisco);
  Put(31, 31, kFlats);  // two Discos count once: 1
  Put(30, 31, kHighway);
  Count();
  EXPECT_EQ(state.complaints[1], 3);

  land = world::Land{};
  Put(10, 10, kPub);
  Put(11, 10, kLoveCenter);
  Put(10, 11, kCasino);
  Put(11, 11, kChurch);
  Put(40, 40, kFlats);
  Put(40, 41, kSkyscraper);
  Put(41, 41, kTelescope);
  Count();
  EXPECT_EQ(state.complaints[2], 3);
  EXPECT_EQ(state.complaints[5], 2);
}

TEST_F(EarthReportTest, HospitalAndLibraryNextToADisco) {
  Put(20, 19, kDisco);
  Put(20, 20, kHospital);
  Put(21, 20, kPublicLibrary);
  Count();
  EXPECT_EQ(state.complaints[3], 1);
  EXPECT_EQ(state.complaints[4], 1);
}

TEST_F(EarthReportTest, Unemployment) {
  state.population = 100;
  for (auto [unemployed, counter] : {std::pair{30, 1}, {85, 4}, {19, 0}, {0, 0}}) {
    state.unemployed = unemployed;
    Count();
    EXPECT_EQ(state.complaints[6], counter) << unemployed;
  }
  state.population = 0;
  state.unemployed = 0;
  Count();
  EXPECT_EQ(state.complaints[6], 4);
}

TEST_F(EarthReportTest, MoreJobsThanPeopleIsNoComplaint) {
  // 34 points (water only slight) and no complaint: verdict 8.
  simtest::MakeBestColony(state, land, 11, 10);
  state.population = 100;
  state.water = 10;
  // 60 jobs more than people: a share of −60 %, which must not pay 3 points back (37 → 9).
  state.unemployed = -60;
  const EarthReport r = ComputeEarthReport(land, state);
  EXPECT_EQ(state.complaints[6], 0);
  EXPECT_EQ(r.complaintCount, 0);
  EXPECT_EQ(r.points, 34);
  EXPECT_EQ(r.verdict, 8);
  EXPECT_EQ(ChooseComplaintLetter(state, 6), kNoComplaintText);
  // A negative population with people out of work is no complaint either.
  state.population = -5;
  state.unemployed = 3;
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(state.complaints[6], 0);
}

// colony-sim's report of a saved colony that employs more people than it has.
class ColonySimReport : public simtest::ColonyTest {};

TEST_F(ColonySimReport, AgreesThatMoreJobsThanPeopleIsNoComplaint) {
  ExploreAll();
  Enrich();
  for (int i = 0; i < 4; ++i) Build(kJobCenter, 100 + 2 * i, 100);
  FinishAll();
  AddPeople(S(), -(S().unemployed + 60));
  ASSERT_LT(S().unemployed, 0);
  ASSERT_GT(S().population, 0);
  ASSERT_EQ(Invariants(), "");
  const std::filesystem::path folder(REDHOLLOW_TEST_OUTPUT_DIR);
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "more-jobs-than-people.sav";
  ASSERT_EQ(SaveGameToFile(colony, path), "");

  std::istringstream script("load " + path.string() + "\nreport\n");
  std::ostringstream out;
  std::ostringstream errors;
  ASSERT_EQ(RunColonyScript(script, out, errors, {}), 0) << errors.str();
  EXPECT_NE(out.str().find("\"complaints\":[4,0,0,0,0,0,0,0]"), std::string::npos) << out.str();
  const EarthReport r = ComputeEarthReport(land, S());
  EXPECT_NE(out.str().find("\"points\":" + std::to_string(r.points) +
                           ",\"verdict\":" + std::to_string(r.verdict)),
            std::string::npos)
      << out.str();
}

TEST_F(EarthReportTest, LevelsAtTheirBoundaries) {
  state.water = 160;
  EXPECT_EQ(AssessmentLevels(state)[0], 4);
  EXPECT_EQ(AssessmentTexts[0][4], "-Your way of accumulating water could promote a disease");
  state.water = 159;
  EXPECT_EQ(AssessmentLevels(state)[0], 3);
  state.water = -1;
  EXPECT_EQ(AssessmentLevels(state)[0], 0);
  state.growthRate = -0.9f;
  EXPECT_EQ(AssessmentLevels(state)[8], 2);
  state.growthRate = -20.5f;
  EXPECT_EQ(AssessmentLevels(state)[8], 1);
  state.growthRate = -21.0f;
  EXPECT_EQ(AssessmentLevels(state)[8], 0);
  state.growthRate = 22.0f;
  EXPECT_EQ(AssessmentLevels(state)[8], 4);
  // Communications are divided by 10 once Earth listens.
  state.communications = 350;
  EXPECT_EQ(AssessmentLevels(state)[7], 4);
  state.earthContact = kContactOn;
  EXPECT_EQ(AssessmentLevels(state)[7], 3);
  // Health counts the disease against it.
  state.health = 45;
  state.disease = 10;
  EXPECT_EQ(AssessmentLevels(state)[4], 2);
  // Reproduction is not divided by birth control.
  state.reproduction = 50;
  state.birthControl = 5;
  EXPECT_EQ(AssessmentLevels(state)[6], 2);
}

TEST_F(EarthReportTest, BestScoreAndVerdicts) {
  // The best of every line: 4 × 4 + 4 + 4 + 4 + 4 + 4 = 36 points.
  simtest::MakeBestColony(state, land, 11, 10);
  EarthReport r = ComputeEarthReport(land, state);
  EXPECT_EQ(r.points, 36);
  EXPECT_EQ(r.complaintCount, 0);
  EXPECT_EQ(r.verdict, 9);
  EXPECT_EQ(VerdictTexts[r.verdict], "YOU ARE THE BEST!");
  EXPECT_EQ(r.score, 22);
  EXPECT_EQ(ChooseComplaintLetter(state, 3), kNoComplaintText);

  // Complaints come off the points: 36 − 4 (highway) = 32 → verdict 8.
  land = world::Land{};
  r = ComputeEarthReport(land, state);
  EXPECT_EQ(r.points, 36);
  EXPECT_EQ(r.verdict, 8);
  EXPECT_EQ(r.score, 25 * 8 / 10);

  // Points 3 → verdict 0; 7 → 1: water, food, power, housing all at level 0 and so on.
  ColonyState poor = state;
  poor.water = poor.food = poor.power = poor.freeHousing = -5;
  poor.health = -1;
  poor.mentalHealth = -50;
  poor.reproduction = -1;
  poor.communications = -50;
  poor.growthRate = 15.0f;  // 3 points
  land = world::Land{};
  Put(10, 10, kHighway);
  Put(11, 10, kLittleHouse);
  r = ComputeEarthReport(land, poor);
  EXPECT_EQ(r.points, 3);
  EXPECT_EQ(r.verdict, 0);
  poor.water = 50;  // +4 → 7
  r = ComputeEarthReport(land, poor);
  EXPECT_EQ(r.points, 7);
  EXPECT_EQ(r.verdict, 1);
  // Below zero the score stays 0: −4 growth points.
  poor.water = -5;
  poor.growthRate = -30.0f;
  r = ComputeEarthReport(land, poor);
  EXPECT_EQ(r.points, -4);
  EXPECT_EQ(r.verdict, 0);
  EXPECT_EQ(r.score, 0);
}

TEST_F(EarthReportTest, WithOneComplaintThatLetterIsAlwaysShown) {
  state.complaints = {0, 0, 0, 3, 0, 0, 0, 0};
  for (std::int32_t draw = 0; draw < 20; ++draw) {
    EXPECT_EQ(ChooseComplaintLetter(state, draw), ComplaintLetters[3]) << draw;
  }
  state.complaints = {1, 0, 0, 0, 0, 0, 2, 0};
  EXPECT_EQ(ChooseComplaintLetter(state, 6), ComplaintLetters[6]);
  EXPECT_EQ(ChooseComplaintLetter(state, 1), ComplaintLetters[6]);
  EXPECT_EQ(ChooseComplaintLetter(state, 0), ComplaintLetters[0]);
}

TEST(EarthReportTables, TextsFitTheirSlots) {
  for (const auto& line : AssessmentTexts) {
    for (std::string_view text : line) EXPECT_LT(text.size(), 128u);
  }
  for (std::string_view text : VerdictTexts) EXPECT_LT(text.size(), 128u);
  for (std::string_view text : ComplaintLetters) EXPECT_LT(text.size(), 256u);
  // Levels that no balance reaches are the empty slots.
  EXPECT_TRUE(AssessmentTexts[4][4].empty());
  EXPECT_TRUE(AssessmentTexts[6][3].empty());
  EXPECT_TRUE(AssessmentTexts[6][4].empty());
}

}  // namespace
