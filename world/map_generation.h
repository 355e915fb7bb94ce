// A new game's land: fresh terrain with the landing module, and exploring around a cell.
// Highway joints, the third operation on the land itself, are in world/highway.h.
#pragma once

#include <array>
#include <cstdint>

#include "world/highway.h"
#include "world/land.h"
#include "world/random.h"

namespace world {

// The landing module's picture in tiles1.
constexpr std::int32_t kLandingModuleFrame = 2;
// Ground frames in tiles0: eight common tiles, and four rarer ones for one cell in twelve.
constexpr std::int32_t kCommonGroundFirst = 16;
constexpr std::int32_t kCommonGroundCount = 8;
constexpr std::int32_t kRareGroundFirst = 24;
constexpr std::int32_t kRareGroundCount = 4;
constexpr std::int32_t kRareGroundOdds = 12;
// The landing site keeps this many view units away from the edges of the view square.
constexpr std::int32_t kLandingMargin = 10;

// The quarters that exploring reveals around a cell: rows are y offsets -4..4, columns x
// offsets -4..4. Fully explored inside a disc of about four cells; at its rim only the
// quarters facing the centre.
constexpr std::int32_t kExploreRadius = 4;
constexpr std::array<std::array<std::uint8_t, 9>, 9> kExploreTable = {{
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

// Clears the land and fills it for a new game: ground everywhere, the landing module at a
// random place inside the view square, explored around it. The land's centre becomes the
// landing site (a view keeps it inside the view square when it centres on it); the selection
// is left to the caller. Returns the landing site.
CellPos GenerateMap(Land& land, Random& random);

// Explores the cells around (cx, cy) that lie inside the grid; masks only gain bits.
void RevealAround(Land& land, std::int32_t cx, std::int32_t cy);

}  // namespace world
