#include "tools/resbuild/noise.h"

#include <algorithm>
#include <cmath>

namespace resbuild {

std::uint32_t Hash(std::uint32_t seed, std::int32_t x, std::int32_t y) {
  std::uint32_t h = seed * 0x27D4EB2Du;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double HashUnit(std::uint32_t seed, std::int32_t x, std::int32_t y) {
  return (Hash(seed, x, y) >> 8) / 16777216.0;
}

double ValueNoise(std::uint32_t seed, double x, double y, double scale) {
  const double fx = x / scale;
  const double fy = y / scale;
  const double ix = std::floor(fx);
  const double iy = std::floor(fy);
  const auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  const double tx = smooth(fx - ix);
  const double ty = smooth(fy - iy);
  const auto cx = static_cast<std::int32_t>(ix);
  const auto cy = static_cast<std::int32_t>(iy);
  const double a = HashUnit(seed, cx, cy);
  const double b = HashUnit(seed, cx + 1, cy);
  const double c = HashUnit(seed, cx, cy + 1);
  const double d = HashUnit(seed, cx + 1, cy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(std::uint32_t seed, double x, double y, double scale) {
  return (ValueNoise(seed, x, y, scale) * 4 + ValueNoise(seed + 1, x, y, scale / 2) * 2 +
          ValueNoise(seed + 2, x, y, scale / 4)) /
         7.0;
}

void ApplyNoise(Canvas& canvas, std::uint32_t seed, double amplitude, double scale, double grain) {
  ApplyNoise(canvas, seed, amplitude, scale, grain, 0, 0, canvas.width(), canvas.height());
}

void ApplyNoise(Canvas& canvas, std::uint32_t seed, double amplitude, double scale, double grain,
                int x0, int y0, int x1, int y1) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, canvas.width());
  y1 = std::min(y1, canvas.height());
  canvas.Flush();
  for (int y = y0; y < y1; ++y) {
    std::uint32_t* row = canvas.Row(y);
    for (int x = x0; x < x1; ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t alpha = p >> 24;
      if (alpha == 0) continue;
      const double n = (FractalNoise(seed, x, y, scale) - 0.5) * 2 * amplitude +
                       (HashUnit(seed ^ 0x5bd1e995u, x, y) - 0.5) * 2 * grain;
      const double factor = 1.0 + n;
      const auto scaled = [&](std::uint32_t c) {
        const double v = std::round(c * factor);
        return static_cast<std::uint32_t>(std::clamp(v, 0.0, static_cast<double>(alpha)));
      };
      row[x] = (alpha << 24) | (scaled((p >> 16) & 0xFF) << 16) | (scaled((p >> 8) & 0xFF) << 8) |
               scaled(p & 0xFF);
    }
  }
  canvas.MarkDirty();
}

std::uint32_t DetailRandom::Next() {
  // xorshift32: tiny, portable and the same everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

}  // namespace resbuild
