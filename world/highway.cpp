#include "world/highway.h"

namespace world {

namespace {

// Wide coordinates, so that the neighbours of a cell at the edge of the integers stay sound.
bool IsHighway(const LandGrid& land, std::int64_t x, std::int64_t y) {
  if (x < 0 || y < 0 || x >= land.columns || y >= land.rows) return false;
  const MapCell* cell = land.CellAt(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
  return cell != nullptr && cell->type == kTypeHighway;
}

}  // namespace

std::uint8_t HighwayNeighbours(const LandGrid& land, std::int32_t x, std::int32_t y) {
  std::uint8_t mask = 0;
  for (std::size_t bit = 0; bit < kHighwayNeighbourSteps.size(); ++bit) {
    const NeighbourStep step = kHighwayNeighbourSteps[bit];
    if (IsHighway(land, std::int64_t{x} + step.dx, std::int64_t{y} + step.dy)) mask |= 1u << bit;
  }
  return mask;
}

std::uint8_t HighwayNeighbours(const WorldIso3D& world, std::int32_t x, std::int32_t y) {
  // The land view is only read here, so the map's cells stay as they are.
  return HighwayNeighbours(LandOf(const_cast<WorldIso3D&>(world)), x, y);
}

void JoinHighway(const LandGrid& land, std::int32_t x, std::int32_t y) {
  MapCell* cell = land.CellAt(x, y);
  if (cell == nullptr) return;
  cell->sheet = kSheetGround;
  cell->frame =
      static_cast<std::uint8_t>(kHighwayFirstFrame + kHighwayJoints[HighwayNeighbours(land, x, y)]);
}

void JoinHighway(WorldIso3D& world, std::int32_t x, std::int32_t y) {
  JoinHighway(LandOf(world), x, y);
}

}  // namespace world
