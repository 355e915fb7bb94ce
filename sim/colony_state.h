// The changing data of one colony: population, balances, calendar, growth model, Earth
// contact and the player's selections, with the only two operations besides the growth
// model that change the balances.
//
// Two invariants hold whenever the model hands control back:
//  - each balance is the sum of its catalogue column over the finished structures, minus the
//    population for water, food, free housing and communications;
//  - unemployed = population − workers of finished structures − builders of building sites.
#pragma once

#include <array>
#include <cstdint>

#include "sim/structure_catalogue.h"

namespace sim {

enum GameSpeed : std::int32_t { kPaused = 0, kNormal = 1, kAccelerated = 2 };
enum EarthContact : std::int32_t { kNoContact = 0, kContactBuilding = 1, kContactOn = 2 };

inline constexpr int kBuildingCategories = 6;
inline constexpr int kComplaintSlots = 8;

// What play can reach, so that a saved game outside it is refused and no day's sum overflows.
//
// Population: a map of Skyscrapers houses 22 + 40 × 16,640 = 665,622 people. Once housing runs
// out, the growth target is at most −1, so the rate, which never passes 50.1 (it steps 0.1
// towards a target of at most 50), falls by at least 0.1 a day; a day adds rate / 66,900 of the
// population, so from there it grows by at most exp(Σ rate / 66,900) − 1, about 21 %: some
// 803,000 people.
inline constexpr std::int32_t kMaxPopulation = 1'000'000;
// Growth rate: below the target's floor of −50 the rate falls by at most 0.2 a day (three
// penalties of 0.1, less the step back towards the target), and every day below −50 takes
// more than 1/1,338 of the people. The largest colony is gone within about 3,100 such days,
// at a rate of about −620.
inline constexpr float kMaxGrowthRate = 51.0f;
inline constexpr float kMinGrowthRate = -1000.0f;
// Whole people leave the accumulator at the end of every day once it passes ±1.
inline constexpr float kMaxGrowthAccumulator = 1.0f;

struct ColonyState {
  // From population to buildSerial: the block a new game clears.
  std::int32_t population = 0;
  std::int32_t unemployed = 0;
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
  std::int32_t shortYearCycle = 0;
  std::int32_t speed = kPaused;
  std::int32_t category = 0;
  std::array<std::int32_t, kBuildingCategories> categoryItem{};
  std::int32_t water = 0;
  std::int32_t food = 0;
  std::int32_t power = 0;
  std::int32_t freeHousing = 0;
  std::int32_t communications = 0;
  std::int32_t mentalHealth = 0;
  std::int32_t reproduction = 0;
  std::int32_t birthControl = 0;
  std::int32_t health = 0;
  std::int32_t disease = 0;
  float growthRate = 0.0f;
  float growthAccumulator = 0.0f;
  std::int32_t earthContact = kNoContact;
  // Seven complaint counters of the last Earth report, then a spare entry that stays 0.
  std::array<std::int32_t, kComplaintSlots> complaints{};
  std::int32_t buildSerial = 0;

  friend bool operator==(const ColonyState&, const ColonyState&) = default;
};

// sign +1 when a structure is finished, −1 when a finished structure is removed. The
// builders were taken at placement, so finishing returns them and takes the workers.
void ApplyStructure(ColonyState& state, StructureType type, std::int32_t sign);

// n may be negative. Every person takes one unit of water, food, housing and communications.
// The population stops at kMaxPopulation; then only the people who fit are added.
void AddPeople(ColonyState& state, std::int32_t n);

// The new-game values: the landing module's balances, ten colonists, day 1 of month 0 of
// 2001, paused, the Status page.
void ResetToNewGame(ColonyState& state);

}  // namespace sim
