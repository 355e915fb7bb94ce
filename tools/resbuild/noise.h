// Small deterministic noise for texture: the same seed and place always give the same value,
// on every machine and run, so the archives come out byte for byte the same.
#pragma once

#include <cstdint>

#include "tools/resbuild/canvas.h"

namespace resbuild {

// A well-mixed 32-bit hash of a seed and two integers.
std::uint32_t Hash(std::uint32_t seed, std::int32_t x, std::int32_t y);
// 0..1 for a lattice point.
double HashUnit(std::uint32_t seed, std::int32_t x, std::int32_t y);
// Smooth value noise, 0..1, with features about `scale` pixels across.
double ValueNoise(std::uint32_t seed, double x, double y, double scale);
// Three octaves of value noise, 0..1.
double FractalNoise(std::uint32_t seed, double x, double y, double scale);

// Brightens and darkens every drawn pixel of the canvas inside [x0, x1) x [y0, y1) by up to
// +-amplitude (0.1 = 10 %) following fractal noise of the given scale, plus a fine grain
// of up to +-grain. Transparent pixels stay transparent; coverage is kept.
void ApplyNoise(Canvas& canvas, std::uint32_t seed, double amplitude, double scale,
                double grain = 0.0);
void ApplyNoise(Canvas& canvas, std::uint32_t seed, double amplitude, double scale, double grain,
                int x0, int y0, int x1, int y1);

// A deterministic stream of pseudo-random numbers for placing details (stones, cracks).
class DetailRandom {
 public:
  explicit DetailRandom(std::uint32_t seed) : state_((seed * 2654435761u + 0x9E3779B9u) | 1u) {}
  std::uint32_t Next();
  double Unit() { return (Next() >> 8) / 16777216.0; }  // 0..1
  double Range(double low, double high) { return low + (high - low) * Unit(); }

 private:
  std::uint32_t state_;
};

}  // namespace resbuild
