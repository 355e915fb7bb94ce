// The fixed tables of the colony: what every structure type does to the balances, how it is
// drawn, what it is called and where it sits in the building palette, plus the calendar's
// month names and lengths. All of it is data in one place; tests sweep every row.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace sim {

// A structure type is a number 0..34 stored in one byte of a map cell.
using StructureType = std::int32_t;

inline constexpr int kStructureTypeCount = 35;
inline constexpr StructureType kLand = 0;
inline constexpr StructureType kLandingModule = 1;
inline constexpr StructureType kWaterCondenser = 5;
inline constexpr StructureType kWaterWell = 6;
inline constexpr StructureType kBatteries = 7;
inline constexpr StructureType kWindPower = 8;
inline constexpr StructureType kSolarPower = 9;
inline constexpr StructureType kCrops = 10;
inline constexpr StructureType kFishFarm = 11;
inline constexpr StructureType kFarm = 12;
inline constexpr StructureType kLittleHouse = 15;
inline constexpr StructureType kCountryHouse = 16;
inline constexpr StructureType kFlats = 17;
inline constexpr StructureType kSkyscraper = 18;
inline constexpr StructureType kPub = 20;
inline constexpr StructureType kDisco = 21;
inline constexpr StructureType kLoveCenter = 22;
inline constexpr StructureType kCasino = 23;
inline constexpr StructureType kJobCenter = 24;
inline constexpr StructureType kGym = 25;
inline constexpr StructureType kHospital = 26;
inline constexpr StructureType kChurch = 27;
inline constexpr StructureType kPublicLibrary = 28;
inline constexpr StructureType kBirthControl = 29;
inline constexpr StructureType kHighway = 30;
inline constexpr StructureType kPellNet = 31;
inline constexpr StructureType kTelescope = 32;
inline constexpr StructureType kCommCenter = 33;

// What a finished structure adds to the colony's balances (negative: consumption).
struct StructureSpec {
  std::int32_t water;
  std::int32_t power;
  std::int32_t food;
  std::int32_t buildDays;
  std::int32_t builders;
  std::int32_t workers;
  std::int32_t freeHousing;
  std::int32_t mentalHealth;
  std::int32_t reproduction;
  std::int32_t health;
  std::int32_t communications;
  friend constexpr bool operator==(const StructureSpec&, const StructureSpec&) = default;
};

// How a structure is drawn: building-site frames index the sheet tiles2, finished frames
// tiles1, animation frames the Animation picture (stored as 1 + first frame; 0 = none).
struct StructureLook {
  std::int32_t constructionFrame;
  std::int32_t constructionSteps;
  std::int32_t finishedFrame;
  std::int32_t variants;
  std::int32_t animationFrame;
  std::int32_t animationLength;
  friend constexpr bool operator==(const StructureLook&, const StructureLook&) = default;
};

inline constexpr int kCategoryCount = 8;
inline constexpr int kItemsPerCategory = 5;
// The two pages before the building categories.
inline constexpr int kStatusCategory = 0;
inline constexpr int kInformationCategory = 1;
inline constexpr int kFirstBuildingCategory = 2;
inline constexpr int kPaletteSlotCount = kCategoryCount * kItemsPerCategory;
// The palette slot of the Comm. Center, the only one that changes during play.
inline constexpr int kCommCenterSlot = 38;

extern const std::array<StructureSpec, kStructureTypeCount> StructureCatalogue;
extern const std::array<StructureLook, kStructureTypeCount> StructureLooks;
extern const std::array<std::string_view, kStructureTypeCount> StructureNames;
extern const std::array<std::string_view, kCategoryCount> CategoryHints;
// Which item buttons a new game shows: 1 for every slot whose type has a name.
extern const std::array<std::int32_t, kPaletteSlotCount> InitialPaletteSlots;

inline constexpr int kMonthCount = 24;
extern const std::array<std::string_view, kMonthCount> MonthNames;
extern const std::array<std::int32_t, kMonthCount> MonthLengths;
// Days in a month (clamped into the year): the last month is one day short in four years of
// every ten (shortYearCycle 1 to 4).
std::int32_t MonthLength(std::int32_t month, std::int32_t shortYearCycle);

constexpr bool IsValidStructureType(std::int32_t type) {
  return type >= 0 && type < kStructureTypeCount;
}
constexpr bool IsHouse(StructureType type) {
  return type >= kLittleHouse && type <= kSkyscraper;
}
// Crops, Fish Farm and Farm: their finished look follows the food balance.
constexpr bool IsFoodProducer(StructureType type) {
  return type >= kCrops && type <= kFarm;
}
// Types 2, 3, 4, 13, 14, 19 and 34 have no row, no name and no palette button.
bool IsSpareType(StructureType type);

// Out-of-range types read as Land, so a damaged cell can never index past a table.
const StructureSpec& SpecOf(StructureType type);
const StructureLook& LookOf(StructureType type);
std::string_view NameOf(StructureType type);

// Item i of building category k builds type 5·k + i − 5.
constexpr StructureType PaletteType(std::int32_t category, std::int32_t item) {
  return kItemsPerCategory * category + item - 5;
}
constexpr std::int32_t PaletteSlotIndex(std::int32_t category, std::int32_t item) {
  return kItemsPerCategory * category + item;
}
// The palette slot whose button builds the type; -1 for types 0 and 1.
constexpr std::int32_t PaletteSlotOf(StructureType type) {
  return type >= kWaterCondenser && type < kStructureTypeCount ? type + 5 : -1;
}

}  // namespace sim
