#include "sim/colony_state.h"

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
  state.population += n;
  state.unemployed += n;
  state.water -= n;
  state.food -= n;
  state.freeHousing -= n;
  state.communications -= n;
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
