#include "sim/structure_catalogue.h"

#include <algorithm>

namespace sim {

namespace {
constexpr StructureSpec kNoSpec{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr StructureLook kNoLook{0, 0, 0, 0, 0, 0};
}  // namespace

// Columns: water, power, food, buildDays, builders, workers, freeHousing, mentalHealth,
// reproduction, health, communications.
const std::array<StructureSpec, kStructureTypeCount> StructureCatalogue = {{
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},             // 0 Land
    {20, 10, 20, 0, 0, 0, 22, -1, 4, 6, 20},       // 1 P.E.M.
    kNoSpec,                                       // 2
    kNoSpec,                                       // 3
    kNoSpec,                                       // 4
    {70, -5, 0, 5, 2, 0, 0, 0, 0, 0, 0},           // 5 Water Condenser
    {100, -10, 0, 8, 4, 2, 0, 0, 0, 0, 0},         // 6 Water Well
    {0, 60, 0, 3, 3, 1, 0, 0, -1, -1, 0},          // 7 Batteries
    {0, 100, 0, 10, 6, 3, 0, 0, 0, 0, 0},          // 8 Wind Power
    {0, 80, 0, 15, 10, 2, 0, 0, 0, 0, 0},          // 9 Solar Power
    {-10, 0, 50, 1, 1, 1, 0, 2, 1, 4, 0},          // 10 Crops
    {-30, -5, 80, 20, 20, 2, 0, 1, 0, 2, 0},       // 11 Fish Farm
    {-8, -2, 100, 10, 5, 4, 0, -2, 3, -2, 0},      // 12 Farm
    kNoSpec,                                       // 13
    kNoSpec,                                       // 14
    {-1, -1, 0, 5, 2, 0, 4, -2, 4, -1, 0},         // 15 Little House
    {-6, -4, 0, 15, 4, 0, 8, 2, 2, 2, 0},          // 16 Country House
    {-8, -8, 0, 40, 10, 1, 20, 1, 1, 1, 0},        // 17 Flats
    {-10, -20, 0, 80, 40, 2, 40, 0, 1, 0, 0},      // 18 Skyscraper
    kNoSpec,                                       // 19
    {-8, -8, 0, 15, 8, 4, 4, -10, 1, -4, 0},       // 20 Pub
    {-10, -20, 0, 50, 20, 12, 0, -2, 4, -2, 0},    // 21 Disco
    {-6, -8, 0, 30, 15, 8, 0, -4, 10, 4, 0},       // 22 Love Center
    {-10, -18, 0, 60, 20, 16, 0, -20, -1, -4, 0},  // 23 Casino
    {-2, -8, 0, 10, 40, 40, 0, -8, -4, -4, 0},     // 24 Job Center
    {0, -6, 0, 20, 10, 4, 0, 10, -8, 4, 0},        // 25 Gym
    {-8, -20, 0, 60, 50, 45, 0, 0, 0, 20, 0},      // 26 Hospital
    {0, -6, 0, 40, 30, 2, 2, 15, -10, 2, 0},       // 27 Church
    {0, -10, 0, 30, 20, 10, 0, 5, -2, -2, 0},      // 28 Public Library
    {0, -2, 0, 20, 10, 8, 0, 0, 0, 0, 0},          // 29 Birth Control
    {0, 0, 0, 0, 0, 0, 0, 1, 0, -1, 15},           // 30 Highway
    {0, -4, 0, 20, 4, 2, 0, -10, -4, -1, 100},     // 31 PellNet
    {0, -2, 0, 40, 10, 4, 0, 1, -2, 2, 80},        // 32 Telescope
    {0, -6, 0, 80, 10, 6, 0, 0, 0, 0, 0},          // 33 Comm. Center
    kNoSpec,                                       // 34
}};

// Columns: constructionFrame, constructionSteps, finishedFrame, variants, animationFrame,
// animationLength.
const std::array<StructureLook, kStructureTypeCount> StructureLooks = {{
    kNoLook,                // 0
    {0, 0, 2, 1, 0, 0},     // 1
    kNoLook,                // 2
    kNoLook,                // 3
    kNoLook,                // 4
    {0, 2, 3, 1, 5, 3},     // 5
    {2, 2, 4, 1, 8, 3},     // 6
    {4, 1, 5, 1, 0, 0},     // 7
    {5, 2, 6, 1, 11, 4},    // 8
    {7, 2, 7, 1, 0, 0},     // 9
    {9, 1, 8, 1, 0, 0},     // 10
    {10, 2, 12, 1, 0, 0},   // 11
    {12, 2, 16, 1, 0, 0},   // 12
    kNoLook,                // 13
    kNoLook,                // 14
    {14, 1, 20, 4, 0, 0},   // 15
    {18, 2, 24, 4, 0, 0},   // 16
    {26, 2, 28, 4, 0, 0},   // 17
    {34, 3, 32, 4, 0, 0},   // 18
    kNoLook,                // 19
    {46, 2, 36, 1, 15, 4},  // 20
    {48, 3, 37, 1, 19, 6},  // 21
    {51, 2, 38, 1, 25, 3},  // 22
    {53, 3, 39, 1, 28, 8},  // 23
    {56, 2, 40, 4, 0, 0},   // 24
    {58, 2, 44, 1, 36, 3},  // 25
    {60, 3, 45, 1, 0, 0},   // 26
    {63, 2, 46, 1, 0, 0},   // 27
    {65, 2, 47, 1, 0, 0},   // 28
    {67, 2, 48, 1, 39, 4},  // 29
    kNoLook,                // 30: the highway's frame comes from its neighbours
    {69, 2, 49, 1, 43, 6},  // 31
    {71, 2, 50, 1, 0, 0},   // 32
    {73, 3, 51, 1, 0, 0},   // 33
    kNoLook,                // 34
}};

const std::array<std::string_view, kStructureTypeCount> StructureNames = {
    "Land",
    "P.E.M.",
    "",
    "",
    "",
    "Water Condenser",
    "Water Well",
    "Batteries",
    "Wind Power",
    "Solar Power",
    "Crops",
    "Fish Farm",
    "Farm",
    "",
    "",
    "Little House",
    "Country House",
    "Flats",
    "Skyscraper",
    "",
    "Pub",
    "Disco",
    "Love Center",
    "Casino",
    "Job Center",
    "Gym",
    "Hospital",
    "Church",
    "Public Library",
    "Birth Control",
    "Highway",
    "PellNet",
    "Telescope",
    "Comm. Center",
    "",
};

const std::array<std::string_view, kCategoryCount> CategoryHints = {
    "Status",  "Information",        "Water and Power",      "Food",
    "Housing", "'Happy' structures", "'Serious' structures", "Communications",
};

const std::array<std::int32_t, kPaletteSlotCount> InitialPaletteSlots = {
    0, 0, 0, 0, 0,  // category 0: the Status page
    0, 0, 0, 0, 0,  // category 1: the Information page
    1, 1, 1, 1, 1,  // types 5..9
    1, 1, 1, 0, 0,  // types 10..14
    1, 1, 1, 1, 0,  // types 15..19
    1, 1, 1, 1, 1,  // types 20..24
    1, 1, 1, 1, 1,  // types 25..29
    1, 1, 1, 1, 0,  // types 30..34
};

const std::array<std::string_view, kMonthCount> MonthNames = {
    "Vernalis", "Duvernalis", "Trivernalis", "Quadrivernalis", "Pentavernalis", "Hexavernalis",
    "Aestas",   "Duestas",    "Triestas",    "Quadrestas",     "Pentestas",     "Hexestas",
    "Autumnus", "Duautumn",   "Triautumn",   "Quadrautumn",    "Pentautumn",    "Hexautumn",
    "Unember",  "Duember",    "Triember",    "Quadrember",     "Pentember",     "Hexember",
};

const std::array<std::int32_t, kMonthCount> MonthLengths = {
    28, 28, 28, 28, 28, 27, 28, 28, 28, 28, 28, 27, 28, 28, 28, 28, 28, 27, 28, 28, 28, 28, 28, 28,
};

std::int32_t MonthLength(std::int32_t month, std::int32_t shortYearCycle) {
  const std::int32_t last = kMonthCount - 1;
  const std::int32_t length = MonthLengths[static_cast<std::size_t>(std::clamp(month, 0, last))];
  return month == last && shortYearCycle >= 1 && shortYearCycle <= 4 ? length - 1 : length;
}

bool IsSpareType(StructureType type) {
  return IsValidStructureType(type) && type != kLand && StructureNames[type].empty();
}

const StructureSpec& SpecOf(StructureType type) {
  return StructureCatalogue[IsValidStructureType(type) ? type : kLand];
}

const StructureLook& LookOf(StructureType type) {
  return StructureLooks[IsValidStructureType(type) ? type : kLand];
}

std::string_view NameOf(StructureType type) {
  return IsValidStructureType(type) ? StructureNames[type] : std::string_view{};
}

}  // namespace sim
