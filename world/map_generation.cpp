#include "world/map_generation.h"

#include <algorithm>

namespace world {

namespace {

// A view coordinate of the landing site, kLandingMargin away from both edges of the square.
std::int32_t LandingCoordinate(const WorldIso3D& world, Random& random) {
  const std::int32_t spread = world.size - 2 * kLandingMargin;
  // A grid too small for the margin lands in its middle.
  if (spread <= 0) return world.size / 2;
  return kLandingMargin + random.Below(spread);
}

}  // namespace

CellPos GenerateMap(WorldIso3D& world, Random& random) {
  std::fill(world.cells.begin(), world.cells.end(), MapCell{});
  for (MapCell& cell : world.cells) {
    if (random.Below(kRareGroundOdds) != 0) {
      cell.frame = static_cast<std::uint8_t>(kCommonGroundFirst + random.Below(kCommonGroundCount));
    } else {
      cell.frame = static_cast<std::uint8_t>(kRareGroundFirst + random.Below(kRareGroundCount));
    }
  }

  ViewPos site{LandingCoordinate(world, random), 0};
  site.v = LandingCoordinate(world, random);
  // Only view coordinates of equal parity name a cell exactly; otherwise the conversion would
  // drop v by one, possibly past the margin, so v moves one step towards the middle instead.
  if (!gfx::IsEven(site.u - site.v)) site.v += site.v < world.size / 2 ? 1 : -1;
  const CellPos landing = world.ViewToCell(site);
  if (MapCell* cell = world.CellAt(landing.x, landing.y)) {
    cell->type = kTypeLandingModule;
    cell->sheet = kSheetStructure;
    cell->frame = kLandingModuleFrame;
  }
  RevealAround(world, landing.x, landing.y);
  world.CenterOnCell(landing.x, landing.y);
  return landing;
}

void RevealAround(WorldIso3D& world, std::int32_t cx, std::int32_t cy) {
  if (cx < -kExploreRadius || cy < -kExploreRadius || cx > world.columns + kExploreRadius ||
      cy > world.rows + kExploreRadius) {
    return;
  }
  for (std::int32_t dy = -kExploreRadius; dy <= kExploreRadius; ++dy) {
    for (std::int32_t dx = -kExploreRadius; dx <= kExploreRadius; ++dx) {
      MapCell* cell = world.CellAt(cx + dx, cy + dy);
      if (cell == nullptr) continue;
      cell->revealMask |= kExploreTable[dy + kExploreRadius][dx + kExploreRadius];
    }
  }
}

}  // namespace world
