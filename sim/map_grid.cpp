#include "sim/map_grid.h"

#include "world/highway.h"
#include "world/map_generation.h"

namespace sim {

void CellGrid::Select(std::int32_t x, std::int32_t y) {
  if (!InGrid(x, y)) {
    selectedX_ = -1;
    selectedY_ = 0;
    return;
  }
  selectedX_ = x;
  selectedY_ = y;
}

void CellGrid::GenerateMap(world::Random& random) {
  // Without a view there is nothing to clamp, so the centre is the landing site itself.
  const world::CellPos landing = world::GenerateMap(Land(), random);
  centreX_ = landing.x;
  centreY_ = landing.y;
}

void CellGrid::RevealAround(std::int32_t x, std::int32_t y) {
  world::RevealAround(Land(), x, y);
}

void MapGrid::RejoinHighwayNeighbours(std::int32_t x, std::int32_t y) {
  for (const world::NeighbourStep step : world::kHighwayNeighbourSteps) {
    const std::int32_t nx = x + step.dx, ny = y + step.dy;
    if (InGrid(nx, ny) && At(nx, ny).type == world::kTypeHighway) JoinHighway(nx, ny);
  }
}

void CellGrid::JoinHighway(std::int32_t x, std::int32_t y) {
  world::JoinHighway(Land(), x, y);
}

}  // namespace sim
