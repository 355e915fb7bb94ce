// The scales of the map view and what the map's geometry becomes at each: the tile's box, the
// lift of structures and the animation square, all in whole pixels.
//
// Each scale is an exact fraction of the design's own tile of 144 x 96 that keeps the anchor
// lattice (steps of 72 and 48 pixels) on whole even pixels, so tiles meet at every scale exactly
// as they do at 100 %: 50 % is 1/2 (72 x 48), 71 % is 17/24 (102 x 68), 141 % is 17/12
// (204 x 136) and 200 % is 2 (288 x 192).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "world/map_cell.h"

namespace world {

struct MapScale {
  std::int32_t percent = 100;
  std::int32_t numerator = 1;
  std::int32_t denominator = 1;

  bool IsNative() const { return numerator == denominator; }
  friend constexpr bool operator==(const MapScale&, const MapScale&) = default;
};

// From the smallest to the largest; the design's own is the middle one.
inline constexpr std::array<MapScale, 5> kMapScales{{
    {50, 1, 2},
    {71, 17, 24},
    {100, 1, 1},
    {141, 17, 12},
    {200, 2, 1},
}};
inline constexpr std::size_t kNativeScaleIndex = 2;

// The index of the scale with this percentage; none for any other number.
std::optional<std::size_t> ScaleIndexOfPercent(std::int32_t percent);

// The top-left corner of the animation square (48 x 48 in the game's sheet) relative to a
// cell's anchor, in the design's own pixels.
inline constexpr std::int32_t kAnimationLeft = -24;
inline constexpr std::int32_t kAnimationTop = -29;

struct MapGeometry {
  std::int32_t tileWidth = kTileWidth;
  std::int32_t tileHeight = kTileHeight;
  // Structures and sites stand this far above their diamond; their frames are this much taller
  // than a ground tile.
  std::int32_t lift = kStructureLift;
  // The animation square's top-left corner relative to the anchor.
  std::int32_t animationLeft = kAnimationLeft;
  std::int32_t animationTop = kAnimationTop;
};

// A length of the design's pixels at a scale, rounded down, up or to the nearest (halves up).
std::int32_t ScaleFloor(std::int32_t length, const MapScale& scale);
std::int32_t ScaleCeil(std::int32_t length, const MapScale& scale);
std::int32_t ScaleRound(std::int32_t length, const MapScale& scale);

// The tile box scales exactly; a picture lifted by a fraction of a pixel is lifted by the whole
// pixel above it, so a structure's frame covers all of its scaled picture; the animation square's
// corner is rounded, the same for every frame (frames never shimmer).
MapGeometry GeometryAt(const MapScale& scale);

}  // namespace world
