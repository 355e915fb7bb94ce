#include "world/map_generation.h"

#include <algorithm>

namespace world {

namespace {

// A view coordinate of the landing site, kLandingMargin away from both edges of the square.
std::int32_t LandingCoordinate(const Land& land, Random& random) {
  const std::int32_t spread = land.size - 2 * kLandingMargin;
  // A grid too small for the margin lands in its middle.
  if (spread <= 0) return land.size / 2;
  return kLandingMargin + random.Below(spread);
}

}  // namespace

CellPos GenerateMap(Land& land, Random& random) {
  std::fill(land.cells.begin(), land.cells.end(), MapCell{});
  for (MapCell& cell : land.cells) {
    if (random.Below(kRareGroundOdds) != 0) {
      cell.frame = static_cast<std::uint8_t>(kCommonGroundFirst + random.Below(kCommonGroundCount));
    } else {
      cell.frame = static_cast<std::uint8_t>(kRareGroundFirst + random.Below(kRareGroundCount));
    }
  }

  ViewPos site{LandingCoordinate(land, random), 0};
  site.v = LandingCoordinate(land, random);
  // Only view coordinates of equal parity name a cell exactly; otherwise the conversion would
  // drop v by one, possibly past the margin, so v moves one step towards the middle instead.
  if (((site.u - site.v) & 1) != 0) site.v += site.v < land.size / 2 ? 1 : -1;
  const CellPos landing = land.ViewToCell(site);
  if (MapCell* cell = land.CellAt(landing.x, landing.y)) {
    cell->type = kTypeLandingModule;
    cell->sheet = kSheetStructure;
    cell->frame = kLandingModuleFrame;
  }
  RevealAround(land, landing.x, landing.y);
  land.centerX = landing.x;
  land.centerY = landing.y;
  return landing;
}

void RevealAround(Land& land, std::int32_t cx, std::int32_t cy) {
  // Far-off centres reach no cell; stopping here also keeps the sums below in range.
  if (cx < -kExploreRadius || cy < -kExploreRadius || cx > land.columns + kExploreRadius ||
      cy > land.rows + kExploreRadius) {
    return;
  }
  for (std::int32_t dy = -kExploreRadius; dy <= kExploreRadius; ++dy) {
    for (std::int32_t dx = -kExploreRadius; dx <= kExploreRadius; ++dx) {
      MapCell* cell = land.CellAt(cx + dx, cy + dy);
      if (cell == nullptr) continue;
      cell->revealMask |= kExploreTable[dy + kExploreRadius][dx + kExploreRadius];
    }
  }
}

}  // namespace world
