// Highway pieces: a highway's picture follows which of its four edge neighbours are highways.
#pragma once

#include <array>
#include <cstdint>

#include "world/land.h"

namespace world {

// Neighbour bits of a highway's joint mask.
constexpr std::uint8_t kJoinUpRight = 1;    // (x, y - 1)
constexpr std::uint8_t kJoinDownRight = 2;  // (x + 1, y)
constexpr std::uint8_t kJoinDownLeft = 4;   // (x, y + 1)
constexpr std::uint8_t kJoinUpLeft = 8;     // (x - 1, y)

// The edge neighbours, one step each, in the order of the mask bits above.
struct NeighbourStep {
  std::int32_t dx, dy;
};
constexpr std::array<NeighbourStep, 4> kHighwayNeighbourSteps = {
    {{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};

// The first highway frame in tiles0, and the frame of each joint mask relative to it: 0 along
// the y axis (also a lone highway), 1 along the x axis, 2-5 the bends, 6-9 the T-joints,
// 10 the crossing.
constexpr std::int32_t kHighwayFirstFrame = 28;
constexpr std::array<std::uint8_t, 16> kHighwayJoints = {0, 0, 1, 2, 0, 0, 3, 7,
                                                         1, 5, 1, 6, 4, 9, 8, 10};

// The joint mask of (x, y): the edge neighbours inside the grid whose type is the highway.
std::uint8_t HighwayNeighbours(const Land& land, std::int32_t x, std::int32_t y);

// Gives the cell (x, y) the highway piece that joins its highway neighbours (sheet 0). Only
// the cell's picture changes; a cell outside the grid is left alone.
void JoinHighway(Land& land, std::int32_t x, std::int32_t y);

// Joins the highways next to (x, y) anew, after it gained or lost its own.
void RejoinHighwayNeighbours(Land& land, std::int32_t x, std::int32_t y);

}  // namespace world
