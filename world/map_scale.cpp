#include "world/map_scale.h"

namespace world {

namespace {

// Floor division for a positive divisor.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

std::optional<std::size_t> ScaleIndexOfPercent(std::int32_t percent) {
  for (std::size_t i = 0; i < kMapScales.size(); ++i) {
    if (kMapScales[i].percent == percent) return i;
  }
  return std::nullopt;
}

std::int32_t ScaleFloor(std::int32_t length, const MapScale& scale) {
  return static_cast<std::int32_t>(
      FloorDiv(std::int64_t{length} * scale.numerator, scale.denominator));
}

std::int32_t ScaleCeil(std::int32_t length, const MapScale& scale) {
  return -ScaleFloor(-length, scale);
}

std::int32_t ScaleRound(std::int32_t length, const MapScale& scale) {
  return static_cast<std::int32_t>(FloorDiv(
      2 * std::int64_t{length} * scale.numerator + scale.denominator, 2 * scale.denominator));
}

MapGeometry GeometryAt(const MapScale& scale) {
  MapGeometry geometry;
  geometry.tileWidth = ScaleFloor(kTileWidth, scale);
  geometry.tileHeight = ScaleFloor(kTileHeight, scale);
  geometry.lift = ScaleCeil(kStructureLift, scale);
  geometry.animationLeft = ScaleRound(kAnimationLeft, scale);
  geometry.animationTop = ScaleRound(kAnimationTop, scale);
  return geometry;
}

}  // namespace world
