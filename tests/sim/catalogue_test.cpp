// Sweeps every row of the structure tables against the design's tables, copied here as text
// so that a typing slip in the game's tables cannot hide in the same slip in the test.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/colony_state.h"
#include "sim/structure_catalogue.h"

namespace {

using namespace sim;

constexpr const char* kCatalogueTable = R"(
| 0 Land | 0 | 0 | 0 | 0 | 0 | 0 | 0 | 0 | 0 | 0 | 0 |
| 1 P.E.M. | 20 | 10 | 20 | 0 | 0 | 0 | 22 | -1 | 4 | 6 | 20 |
| 5 Water Condenser | 70 | -5 | 0 | 5 | 2 | 0 | 0 | 0 | 0 | 0 | 0 |
| 6 Water Well | 100 | -10 | 0 | 8 | 4 | 2 | 0 | 0 | 0 | 0 | 0 |
| 7 Batteries | 0 | 60 | 0 | 3 | 3 | 1 | 0 | 0 | -1 | -1 | 0 |
| 8 Wind Power | 0 | 100 | 0 | 10 | 6 | 3 | 0 | 0 | 0 | 0 | 0 |
| 9 Solar Power | 0 | 80 | 0 | 15 | 10 | 2 | 0 | 0 | 0 | 0 | 0 |
| 10 Crops | -10 | 0 | 50 | 1 | 1 | 1 | 0 | 2 | 1 | 4 | 0 |
| 11 Fish Farm | -30 | -5 | 80 | 20 | 20 | 2 | 0 | 1 | 0 | 2 | 0 |
| 12 Farm | -8 | -2 | 100 | 10 | 5 | 4 | 0 | -2 | 3 | -2 | 0 |
| 15 Little House | -1 | -1 | 0 | 5 | 2 | 0 | 4 | -2 | 4 | -1 | 0 |
| 16 Country House | -6 | -4 | 0 | 15 | 4 | 0 | 8 | 2 | 2 | 2 | 0 |
| 17 Flats | -8 | -8 | 0 | 40 | 10 | 1 | 20 | 1 | 1 | 1 | 0 |
| 18 Skyscraper | -10 | -20 | 0 | 80 | 40 | 2 | 40 | 0 | 1 | 0 | 0 |
| 20 Pub | -8 | -8 | 0 | 15 | 8 | 4 | 4 | -10 | 1 | -4 | 0 |
| 21 Disco | -10 | -20 | 0 | 50 | 20 | 12 | 0 | -2 | 4 | -2 | 0 |
| 22 Love Center | -6 | -8 | 0 | 30 | 15 | 8 | 0 | -4 | 10 | 4 | 0 |
| 23 Casino | -10 | -18 | 0 | 60 | 20 | 16 | 0 | -20 | -1 | -4 | 0 |
| 24 Job Center | -2 | -8 | 0 | 10 | 40 | 40 | 0 | -8 | -4 | -4 | 0 |
| 25 Gym | 0 | -6 | 0 | 20 | 10 | 4 | 0 | 10 | -8 | 4 | 0 |
| 26 Hospital | -8 | -20 | 0 | 60 | 50 | 45 | 0 | 0 | 0 | 20 | 0 |
| 27 Church | 0 | -6 | 0 | 40 | 30 | 2 | 2 | 15 | -10 | 2 | 0 |
| 28 Public Library | 0 | -10 | 0 | 30 | 20 | 10 | 0 | 5 | -2 | -2 | 0 |
| 29 Birth Control | 0 | -2 | 0 | 20 | 10 | 8 | 0 | 0 | 0 | 0 | 0 |
| 30 Highway | 0 | 0 | 0 | 0 | 0 | 0 | 0 | 1 | 0 | -1 | 15 |
| 31 PellNet | 0 | -4 | 0 | 20 | 4 | 2 | 0 | -10 | -4 | -1 | 100 |
| 32 Telescope | 0 | -2 | 0 | 40 | 10 | 4 | 0 | 1 | -2 | 2 | 80 |
| 33 Comm. Center | 0 | -6 | 0 | 80 | 10 | 6 | 0 | 0 | 0 | 0 | 0 |
)";

constexpr const char* kLookTable = R"(
| 1 | 0 | 0 | 2 | 1 | 0 | 0 |
| 5 | 0 | 2 | 3 | 1 | 5 | 3 |
| 6 | 2 | 2 | 4 | 1 | 8 | 3 |
| 7 | 4 | 1 | 5 | 1 | 0 | 0 |
| 8 | 5 | 2 | 6 | 1 | 11 | 4 |
| 9 | 7 | 2 | 7 | 1 | 0 | 0 |
| 10 | 9 | 1 | 8 | 1 | 0 | 0 |
| 11 | 10 | 2 | 12 | 1 | 0 | 0 |
| 12 | 12 | 2 | 16 | 1 | 0 | 0 |
| 15 | 14 | 1 | 20 | 4 | 0 | 0 |
| 16 | 18 | 2 | 24 | 4 | 0 | 0 |
| 17 | 26 | 2 | 28 | 4 | 0 | 0 |
| 18 | 34 | 3 | 32 | 4 | 0 | 0 |
| 20 | 46 | 2 | 36 | 1 | 15 | 4 |
| 21 | 48 | 3 | 37 | 1 | 19 | 6 |
| 22 | 51 | 2 | 38 | 1 | 25 | 3 |
| 23 | 53 | 3 | 39 | 1 | 28 | 8 |
| 24 | 56 | 2 | 40 | 4 | 0 | 0 |
| 25 | 58 | 2 | 44 | 1 | 36 | 3 |
| 26 | 60 | 3 | 45 | 1 | 0 | 0 |
| 27 | 63 | 2 | 46 | 1 | 0 | 0 |
| 28 | 65 | 2 | 47 | 1 | 0 | 0 |
| 29 | 67 | 2 | 48 | 1 | 39 | 4 |
| 31 | 69 | 2 | 49 | 1 | 43 | 6 |
| 32 | 71 | 2 | 50 | 1 | 0 | 0 |
| 33 | 73 | 3 | 51 | 1 | 0 | 0 |
)";

// Type, name, palette category and item (-1 for none).
constexpr const char* kNameTable = R"(
| 0 | Land | -1 | -1 |
| 1 | P.E.M. | -1 | -1 |
| 5 | Water Condenser | 2 | 0 |
| 6 | Water Well | 2 | 1 |
| 7 | Batteries | 2 | 2 |
| 8 | Wind Power | 2 | 3 |
| 9 | Solar Power | 2 | 4 |
| 10 | Crops | 3 | 0 |
| 11 | Fish Farm | 3 | 1 |
| 12 | Farm | 3 | 2 |
| 15 | Little House | 4 | 0 |
| 16 | Country House | 4 | 1 |
| 17 | Flats | 4 | 2 |
| 18 | Skyscraper | 4 | 3 |
| 20 | Pub | 5 | 0 |
| 21 | Disco | 5 | 1 |
| 22 | Love Center | 5 | 2 |
| 23 | Casino | 5 | 3 |
| 24 | Job Center | 5 | 4 |
| 25 | Gym | 6 | 0 |
| 26 | Hospital | 6 | 1 |
| 27 | Church | 6 | 2 |
| 28 | Public Library | 6 | 3 |
| 29 | Birth Control | 6 | 4 |
| 30 | Highway | 7 | 0 |
| 31 | PellNet | 7 | 1 |
| 32 | Telescope | 7 | 2 |
| 33 | Comm. Center | 7 | 3 |
)";

// The cells of a "| a | b | ... |" row, trimmed.
std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::stringstream in(row);
  std::string cell;
  std::getline(in, cell, '|');
  while (std::getline(in, cell, '|')) {
    const auto first = cell.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    cells.push_back(cell.substr(first, cell.find_last_not_of(' ') - first + 1));
  }
  return cells;
}

std::vector<std::vector<std::string>> Rows(const char* table) {
  std::vector<std::vector<std::string>> rows;
  std::stringstream in(table);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) rows.push_back(Cells(line));
  }
  return rows;
}

TEST(StructureCatalogue, EveryRowMatchesTheDesignAndUnlistedRowsAreZero) {
  std::array<bool, kStructureTypeCount> listed{};
  for (const auto& row : Rows(kCatalogueTable)) {
    ASSERT_EQ(row.size(), 12u);
    const int type = std::stoi(row[0]);
    listed[type] = true;
    EXPECT_EQ(row[0], std::to_string(type) + " " + std::string(StructureNames[type]));
    const StructureSpec& s = StructureCatalogue[type];
    const std::array<std::int32_t, 11> got = {
        s.water,       s.power,        s.food,         s.buildDays, s.builders,      s.workers,
        s.freeHousing, s.mentalHealth, s.reproduction, s.health,    s.communications};
    for (int c = 0; c < 11; ++c)
      EXPECT_EQ(got[c], std::stoi(row[c + 1])) << "type " << type << " column " << c;
  }
  for (int type = 0; type < kStructureTypeCount; ++type) {
    if (!listed[type]) {
      EXPECT_EQ(StructureCatalogue[type], StructureSpec{}) << type;
    }
  }
}

TEST(StructureCatalogue, EveryLookMatchesTheDesignAndUnlistedRowsAreZero) {
  std::array<bool, kStructureTypeCount> listed{};
  for (const auto& row : Rows(kLookTable)) {
    ASSERT_EQ(row.size(), 7u);
    const int type = std::stoi(row[0]);
    listed[type] = true;
    const StructureLook expected{std::stoi(row[1]), std::stoi(row[2]), std::stoi(row[3]),
                                 std::stoi(row[4]), std::stoi(row[5]), std::stoi(row[6])};
    EXPECT_EQ(StructureLooks[type], expected) << type;
  }
  for (int type = 0; type < kStructureTypeCount; ++type) {
    if (!listed[type]) {
      EXPECT_EQ(StructureLooks[type], StructureLook{}) << type;
    }
    // Types with variants are never animated: the variant and the phase share a byte.
    const StructureLook& look = StructureLooks[type];
    if (look.variants > 1) {
      EXPECT_EQ(look.animationFrame, 0) << type;
    }
  }
}

TEST(StructureCatalogue, NamesPaletteSlotsAndSpareTypes) {
  std::array<bool, kStructureTypeCount> named{};
  for (const auto& row : Rows(kNameTable)) {
    ASSERT_EQ(row.size(), 4u);
    const int type = std::stoi(row[0]);
    named[type] = true;
    EXPECT_EQ(StructureNames[type], row[1]);
    EXPECT_LE(StructureNames[type].size(), 31u);  // fits its 32-byte slot with the terminator
    const int category = std::stoi(row[2]);
    const int item = std::stoi(row[3]);
    if (category >= 0) {
      EXPECT_EQ(PaletteType(category, item), type);
      EXPECT_EQ(PaletteSlotOf(type), PaletteSlotIndex(category, item));
      EXPECT_EQ(InitialPaletteSlots[PaletteSlotIndex(category, item)], 1) << type;
    } else {
      EXPECT_EQ(PaletteSlotOf(type), -1);
    }
  }
  int shownSlots = 0;
  for (int slot = 0; slot < kPaletteSlotCount; ++slot) shownSlots += InitialPaletteSlots[slot];
  EXPECT_EQ(shownSlots, 26);  // the named types 5..33 except 13, 14 and 19
  for (int type : {2, 3, 4, 13, 14, 19, 34}) {
    EXPECT_FALSE(named[type]);
    EXPECT_TRUE(IsSpareType(type));
    EXPECT_TRUE(StructureNames[type].empty());
    const int slot = PaletteSlotOf(type);
    if (slot >= 0) {
      EXPECT_EQ(InitialPaletteSlots[slot], 0) << type;
    }
  }
  EXPECT_FALSE(IsSpareType(kLand));
  EXPECT_EQ(kCommCenterSlot, PaletteSlotOf(kCommCenter));
  EXPECT_EQ(CategoryHints[0], "Status");
  EXPECT_EQ(CategoryHints[5], "'Happy' structures");
  EXPECT_EQ(CategoryHints[7], "Communications");
  // Out-of-range types read as Land rather than past the tables.
  EXPECT_EQ(SpecOf(35), StructureCatalogue[0]);
  EXPECT_EQ(SpecOf(-1), StructureCatalogue[0]);
  EXPECT_TRUE(NameOf(200).empty());
}

TEST(Calendar, MonthTables) {
  int days = 0;
  for (int m = 0; m < kMonthCount; ++m) days += MonthLengths[m];
  EXPECT_EQ(days, 669);
  EXPECT_EQ(MonthNames[0], "Vernalis");
  EXPECT_EQ(MonthNames[5], "Hexavernalis");
  EXPECT_EQ(MonthNames[23], "Hexember");
  for (int m : {5, 11, 17}) {
    EXPECT_EQ(MonthLengths[m], 27);
  }
}

TEST(ColonyState, NewGameValues) {
  ColonyState s;
  s.water = 999;
  s.buildSerial = 77;
  s.complaints[3] = 2;
  ResetToNewGame(s);
  EXPECT_EQ(s.population, 10);
  EXPECT_EQ(s.unemployed, 10);
  EXPECT_EQ(s.water, 10);
  EXPECT_EQ(s.food, 10);
  EXPECT_EQ(s.power, 10);
  EXPECT_EQ(s.freeHousing, 12);
  EXPECT_EQ(s.communications, 10);
  EXPECT_EQ(s.mentalHealth, -1);
  EXPECT_EQ(s.reproduction, 4);
  EXPECT_EQ(s.health, 6);
  EXPECT_EQ(s.birthControl, 1);
  EXPECT_EQ(s.disease, 0);
  EXPECT_EQ(s.earthContact, kNoContact);
  EXPECT_EQ(s.complaints, (std::array<std::int32_t, 8>{}));
  EXPECT_EQ(s.buildSerial, 0);
  EXPECT_EQ(s.growthRate, 10.0f);
  EXPECT_EQ(s.growthAccumulator, 0.0f);
  EXPECT_EQ(s.day, 1);
  EXPECT_EQ(s.month, 0);
  EXPECT_EQ(s.year, 2001);
  EXPECT_EQ(s.shortYearCycle, 1);
  EXPECT_EQ(s.speed, kPaused);
  EXPECT_EQ(s.category, 0);
  EXPECT_EQ(s.categoryItem, (std::array<std::int32_t, 6>{}));
}

TEST(ColonyState, ApplyStructureBothWaysReturnsOnlyTheBuilders) {
  for (StructureType t = 0; t < kStructureTypeCount; ++t) {
    ColonyState s;
    ResetToNewGame(s);
    const ColonyState before = s;
    ApplyStructure(s, t, +1);
    ApplyStructure(s, t, -1);
    ColonyState expected = before;
    expected.unemployed += StructureCatalogue[t].builders;
    EXPECT_EQ(s, expected) << "type " << t;
  }
}

TEST(ColonyState, BirthControlAndAddPeople) {
  ColonyState s;
  ResetToNewGame(s);
  ApplyStructure(s, kBirthControl, +1);
  ApplyStructure(s, kBirthControl, +1);
  EXPECT_EQ(s.birthControl, 5);

  ResetToNewGame(s);
  AddPeople(s, -3);
  EXPECT_EQ(s.population, 7);
  EXPECT_EQ(s.unemployed, 7);
  EXPECT_EQ(s.water, 13);
  EXPECT_EQ(s.food, 13);
  EXPECT_EQ(s.freeHousing, 15);
  EXPECT_EQ(s.communications, 13);
  EXPECT_EQ(s.power, 10);
  EXPECT_EQ(s.health, 6);
}

}  // namespace
