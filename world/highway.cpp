#include "world/highway.h"

namespace world {

namespace {

bool IsHighway(const WorldIso3D& world, std::int32_t x, std::int32_t y) {
  const MapCell* cell = world.CellAt(x, y);
  return cell != nullptr && cell->type == kTypeHighway;
}

}  // namespace

std::uint8_t HighwayNeighbours(const WorldIso3D& world, std::int32_t x, std::int32_t y) {
  std::uint8_t mask = 0;
  if (IsHighway(world, x, y - 1)) mask |= kJoinUpRight;
  if (IsHighway(world, x + 1, y)) mask |= kJoinDownRight;
  if (IsHighway(world, x, y + 1)) mask |= kJoinDownLeft;
  if (IsHighway(world, x - 1, y)) mask |= kJoinUpLeft;
  return mask;
}

void JoinHighway(WorldIso3D& world, std::int32_t x, std::int32_t y) {
  MapCell* cell = world.CellAt(x, y);
  if (cell == nullptr) return;
  cell->sheet = kSheetGround;
  cell->frame = static_cast<std::uint8_t>(kHighwayFirstFrame +
                                          kHighwayJoints[HighwayNeighbours(world, x, y)]);
}

}  // namespace world
