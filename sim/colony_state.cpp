#include "sim/colony_state.h"

#include <algorithm>
#include <limits>

namespace sim {

void ApplyStructure(ColonyState& state, StructureType type, std::int32_t sign) {
  const StructureSpec& s = SpecOf(type);
  state.water += sign * s.water;
  state.power += sign * s.power;
  state.food += sign * s.food;
  state.freeHousing += sign * s.freeHousing;
  state.mentalHealth += sign * s.mentalHealth;
  state.reproduction += sign * s.reproduction;
  state.health += sign * s.health;
  state.communications += sign * s.communications;
  if (type == kBirthControl) state.birthControl += 2 * sign;
  if (sign > 0) {
    state.unemployed += s.builders - s.workers;
  } else {
    state.unemployed += s.workers;
  }
}

void AddPeople(ColonyState& state, std::int32_t n) {
  // In 64 bits: a loaded colony's day may ask for more than the counters hold.
  const std::int64_t added =
      std::min<std::int64_t>(n, std::int64_t{kMaxPopulation} - state.population);
  auto add = [added](std::int32_t& counter, std::int32_t sign) {
    counter = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(counter + sign * added, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
  };
  add(state.population, +1);
  add(state.unemployed, +1);
  add(state.water, -1);
  add(state.food, -1);
  add(state.freeHousing, -1);
  add(state.communications, -1);
}

void ResetToNewGame(ColonyState& state) {
  state = ColonyState{};
  ApplyStructure(state, kLandingModule, +1);
  AddPeople(state, 10);
  state.birthControl = 1;
  state.growthRate = 10.0f;
  state.growthAccumulator = 0.0f;
  state.day = 1;
  state.month = 0;
  state.year = 2001;
  state.shortYearCycle = 1;
  state.speed = kPaused;
  state.category = 0;
  state.categoryItem.fill(0);
}

}  // namespace sim
