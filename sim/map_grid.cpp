#include "sim/map_grid.h"

#include <algorithm>
#include <array>

namespace sim {

namespace {

// Reveal bits around an explored cell, rows dy = −4..4, columns dx = −4..4: a disc fully
// explored inside, and at its rim only the quarters that face the centre.
constexpr std::array<std::array<std::uint8_t, 9>, 9> kRevealTable = {{
    {0, 0, 4, 12, 12, 12, 8, 0, 0},
    {0, 4, 14, 15, 15, 15, 13, 8, 0},
    {4, 14, 15, 15, 15, 15, 15, 13, 8},
    {6, 15, 15, 15, 15, 15, 15, 15, 9},
    {6, 15, 15, 15, 15, 15, 15, 15, 9},
    {6, 15, 15, 15, 15, 15, 15, 15, 9},
    {2, 7, 15, 15, 15, 15, 15, 11, 1},
    {0, 2, 7, 15, 15, 15, 11, 1, 0},
    {0, 0, 2, 3, 3, 3, 1, 0, 0},
}};

// Highway frame − 28 by neighbour mask (1 = y − 1, 2 = x + 1, 4 = y + 1, 8 = x − 1).
constexpr std::array<std::uint8_t, 16> kHighwayJoints = {0, 0, 1, 2, 0, 0, 3, 7,
                                                         1, 5, 1, 6, 4, 9, 8, 10};
constexpr std::uint8_t kFirstHighwayFrame = 28;

}  // namespace

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
  std::fill(cells_.begin(), cells_.end(), MapCell{});
  for (MapCell& cell : cells_) {
    if (random.Below(12) != 0) {
      cell.frame = static_cast<std::uint8_t>(16 + random.Below(8));
    } else {
      cell.frame = static_cast<std::uint8_t>(24 + random.Below(4));
    }
  }
  constexpr std::int32_t size = world::kMapSize;
  const std::int32_t u = 10 + random.Below(size - 20);
  const std::int32_t v = 10 + random.Below(size - 20);
  const std::int32_t x = (u + v) >> 1;
  const std::int32_t y = size / 2 + ((v - u) >> 1);
  MapCell& landing = At(x, y);
  landing.type = world::kTypeLandingModule;
  landing.sheet = world::kSheetStructure;
  landing.frame = 2;
  RevealAround(x, y);
  centreX_ = x;
  centreY_ = y;
}

void CellGrid::RevealAround(std::int32_t cx, std::int32_t cy) {
  for (std::int32_t dy = -4; dy <= 4; ++dy) {
    for (std::int32_t dx = -4; dx <= 4; ++dx) {
      if (!InGrid(cx + dx, cy + dy)) continue;
      At(cx + dx, cy + dy).revealMask |= kRevealTable[dy + 4][dx + 4];
    }
  }
}

void CellGrid::JoinHighway(std::int32_t x, std::int32_t y) {
  if (!InGrid(x, y)) return;
  auto isHighway = [this](std::int32_t nx, std::int32_t ny) {
    return InGrid(nx, ny) && At(nx, ny).type == world::kTypeHighway;
  };
  const int mask = (isHighway(x, y - 1) ? 1 : 0) | (isHighway(x + 1, y) ? 2 : 0) |
                   (isHighway(x, y + 1) ? 4 : 0) | (isHighway(x - 1, y) ? 8 : 0);
  MapCell& cell = At(x, y);
  cell.sheet = world::kSheetGround;
  cell.frame = static_cast<std::uint8_t>(kFirstHighwayFrame + kHighwayJoints[mask]);
}

}  // namespace sim
