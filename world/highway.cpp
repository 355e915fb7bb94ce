#include "world/highway.h"

namespace world {

namespace {

// The neighbour one step away, or null outside the grid. Wide coordinates, so that the
// neighbours of a cell at the edge of the integers stay sound.
const MapCell* Neighbour(const Land& land, std::int32_t x, std::int32_t y, NeighbourStep step) {
  const std::int64_t nx = std::int64_t{x} + step.dx;
  const std::int64_t ny = std::int64_t{y} + step.dy;
  if (nx < 0 || ny < 0 || nx >= land.columns || ny >= land.rows) return nullptr;
  return land.CellAt(static_cast<std::int32_t>(nx), static_cast<std::int32_t>(ny));
}

bool IsHighway(const MapCell* cell) {
  return cell != nullptr && cell->type == kTypeHighway;
}

}  // namespace

std::uint8_t HighwayNeighbours(const Land& land, std::int32_t x, std::int32_t y) {
  std::uint8_t mask = 0;
  for (std::size_t bit = 0; bit < kHighwayNeighbourSteps.size(); ++bit) {
    if (IsHighway(Neighbour(land, x, y, kHighwayNeighbourSteps[bit]))) mask |= 1u << bit;
  }
  return mask;
}

void JoinHighway(Land& land, std::int32_t x, std::int32_t y) {
  MapCell* cell = land.CellAt(x, y);
  if (cell == nullptr) return;
  cell->sheet = kSheetGround;
  cell->frame =
      static_cast<std::uint8_t>(kHighwayFirstFrame + kHighwayJoints[HighwayNeighbours(land, x, y)]);
}

void RejoinHighwayNeighbours(Land& land, std::int32_t x, std::int32_t y) {
  for (const NeighbourStep step : kHighwayNeighbourSteps) {
    // A neighbour inside the grid has coordinates that fit.
    if (IsHighway(Neighbour(land, x, y, step))) JoinHighway(land, x + step.dx, y + step.dy);
  }
}

}  // namespace world
