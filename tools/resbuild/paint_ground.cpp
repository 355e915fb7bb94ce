// tiles0: the ground of the map. 0 unexplored; 1-14 fog over partly explored cells; 15 the
// view outside the map; 16-23 common ground; 24-27 rocks and craters; 28-38 highways.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"

namespace resbuild {
namespace {

using namespace colors;

constexpr Iso kTile = Iso::Tile();

// The quarter of the diamond that holds map point (u, v): 1 top, 2 right, 4 bottom, 8 left.
int QuarterOf(double u, double v) {
  if (u < 0.5) return v < 0.5 ? 1 : 8;
  return v < 0.5 ? 2 : 4;
}

// Unexplored land and fog are painted pixel by pixel, so that the quarters meet exactly and
// a fog frame covers precisely the quarters its mask leaves dark.
void PaintFog(Canvas& canvas, int revealed) {
  canvas.Flush();
  for (int y = 0; y < canvas.height(); ++y) {
    std::uint32_t* row = canvas.Row(y);
    for (int x = 0; x < canvas.width(); ++x) {
      const Point p = kTile.ToMap(x + 0.5, y + 0.5);
      // A pixel's width beyond the edges, so that every pixel the diamond touches is painted.
      constexpr double kMargin = 1.0 / 96;
      if (p.x < -kMargin || p.x > 1 + kMargin || p.y < -kMargin || p.y > 1 + kMargin) continue;
      const double u = std::clamp(p.x, 0.0, 1.0);
      const double v = std::clamp(p.y, 0.0, 1.0);
      if ((QuarterOf(u, v) & revealed) != 0) continue;
      // Near a revealed quarter the fog thins out into a checkerboard.
      const double du = std::abs(u - 0.5);
      const double dv = std::abs(v - 0.5);
      const bool besideRevealed = (du < 0.05 && (QuarterOf(1 - u, v) & revealed) != 0) ||
                                  (dv < 0.05 && (QuarterOf(u, 1 - v) & revealed) != 0);
      if (besideRevealed && ((x + y) & 1) != 0) continue;
      const double n = FractalNoise(5, x, y, 18) - 0.5;
      const Rgb c = kUnexplored.Mix(kFog, 0.5 + n).Shade(1 + 0.3 * n);
      row[x] = 0xFF000000u | (static_cast<std::uint32_t>(c.r * 255) << 16) |
               (static_cast<std::uint32_t>(c.g * 255) << 8) | static_cast<std::uint32_t>(c.b * 255);
    }
  }
  canvas.MarkDirty();
}

void PaintOutside(Canvas& canvas) {
  canvas.Fill(kUnexplored.Shade(0.7));
  ApplyNoise(canvas, 15, 0.15, 20, 0.04);
}

// Every ground tile shares one base colour, so any two meet without a seam; they differ in
// the patches and stones inside them, which fade out before the edges.
constexpr Rgb kGroundBase = kOchre.Mix(kRust, 0.3);

// Soft lighter or darker blotches kept well inside the diamond.
void Patches(Canvas& canvas, std::uint32_t seed, int count) {
  DetailRandom random(seed);
  cairo_t* cr = canvas.cr();
  for (int i = 0; i < count; ++i) {
    const Point p = kTile.At(random.Range(0.3, 0.7), random.Range(0.3, 0.7));
    const double r = random.Range(10, 22);
    const bool light = random.Range(0, 1) < 0.5;
    const Rgb tint = light ? kOchreLight : kRustDark;
    const double alpha = random.Range(0.10, 0.22);
    cairo_save(cr);
    cairo_translate(cr, p.x, p.y);
    cairo_scale(cr, 1.5, 1.0);
    cairo_pattern_t* blot = cairo_pattern_create_radial(0, 0, 0, 0, 0, r);
    cairo_pattern_add_color_stop_rgba(blot, 0, tint.r, tint.g, tint.b, alpha);
    cairo_pattern_add_color_stop_rgba(blot, 1, tint.r, tint.g, tint.b, 0);
    cairo_set_source(cr, blot);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, r, 0, 2 * std::numbers::pi);
    cairo_fill(cr);
    cairo_pattern_destroy(blot);
    cairo_restore(cr);
  }
}

void Pebbles(Canvas& canvas, std::uint32_t seed, int count, const Rgb& base) {
  DetailRandom random(seed);
  for (int i = 0; i < count; ++i) {
    const double u = random.Range(0.1, 0.9);
    const double v = random.Range(0.1, 0.9);
    const Point p = kTile.At(u, v);
    const double r = random.Range(0.8, 2.2);
    cairo_new_path(canvas.cr());
    EllipseArc(canvas, p.x, p.y, 1.3, 0.8, r);
    canvas.SetColor(base.Shade(random.Range(0.65, 1.2)));
    cairo_fill(canvas.cr());
  }
}

void Boulder(Canvas& canvas, double u, double v, double size, const Rgb& color) {
  const Point p = kTile.At(u, v);
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  EllipseArc(canvas, p.x + size * 0.5, p.y + size * 0.15, 1.5, 0.6, size);
  canvas.SetColor(kOutline, 0.3);
  cairo_fill(cr);
  cairo_new_path(cr);
  EllipseArc(canvas, p.x, p.y - size * 0.45, 1.25, 0.85, size);
  canvas.SetRadialShade(p.x - size * 0.5, p.y - size, size * 0.2, p.x, p.y, size * 1.5,
                        color.Shade(1.25), color.Shade(0.6));
  cairo_fill(cr);
}

void Crater(Canvas& canvas, double u, double v, double radius, const Rgb& ground) {
  const Point p = kTile.At(u, v);
  const double a = radius * 1.5;
  const double b = radius;
  cairo_t* cr = canvas.cr();
  // The rim catches the light on the far (lower right) side, the bowl is shaded near side.
  cairo_new_path(cr);
  EllipseArc(canvas, p.x, p.y, a, b, 1.18);
  canvas.SetColor(ground.Shade(1.18));
  cairo_fill(cr);
  cairo_new_path(cr);
  EllipseArc(canvas, p.x, p.y, a, b, 1.0);
  const Rgb dark = ground.Shade(0.62);
  const Rgb light = ground.Shade(0.98);
  canvas.SetLinearShade(p.x - a, p.y - b, p.x + a, p.y + b, dark, light);
  cairo_fill(cr);
}

void PaintGround(Canvas& canvas, int n) {
  const int variant = n - 16;
  const Rgb base = kGroundBase;
  GroundPlate(canvas, kTile, base, 100 + n, 0.12, /*lit=*/false);
  Patches(canvas, 400 + n, 1 + variant % 3);
  Pebbles(canvas, 200 + n, variant < 8 ? 10 + variant * 2 : 14, base);
  if (variant == 8) {
    Boulder(canvas, 0.4, 0.45, 9, kRock);
    Boulder(canvas, 0.62, 0.55, 6, kRock.Shade(1.1));
  } else if (variant == 9) {
    Boulder(canvas, 0.3, 0.6, 7, kRock.Shade(0.95));
    Boulder(canvas, 0.55, 0.35, 8, kRock);
    Boulder(canvas, 0.7, 0.7, 5, kRock.Shade(1.15));
  } else if (variant == 10) {
    Crater(canvas, 0.5, 0.5, 20, base);
  } else if (variant == 11) {
    Crater(canvas, 0.35, 0.45, 12, base);
    Crater(canvas, 0.68, 0.62, 8, base);
  }
}

// Mask bits: 1 to (x, y-1) at the upper right, 2 to (x+1, y) at the lower right,
// 4 to (x, y+1) at the lower left, 8 to (x-1, y) at the upper left.
constexpr int kHighwayMasks[11] = {5, 10, 3, 6, 12, 9, 11, 7, 14, 13, 15};

void PaintHighway(Canvas& canvas, int n) {
  const int mask = kHighwayMasks[n - 28];
  GroundPlate(canvas, kTile, kGroundBase, 300 + n, 0.10, /*lit=*/false);
  constexpr double kHalf = 0.17;  // half the road's width, in cell units
  const double lo = 0.5 - kHalf;
  const double hi = 0.5 + kHalf;
  // Arms reach the cell's edges where the neighbouring road continues.
  const Footprint arms[4] = {
      {lo, 0, hi, 0.5}, {0.5, lo, 1, hi}, {lo, 0.5, hi, 1}, {0, lo, 0.5, hi}};
  const Rgb shoulder = kRoad.Mix(kOchre, 0.35);
  for (int side = 0; side < 2; ++side) {
    const double grow = side == 0 ? 0.03 : 0;
    const Rgb color = side == 0 ? shoulder : kRoad;
    FlatArea(canvas, kTile, Footprint::Centred(2 * (kHalf + grow)), color, 0, false);
    for (int bit = 0; bit < 4; ++bit) {
      if ((mask & (1 << bit)) == 0) continue;
      Footprint f = arms[bit];
      if (bit == 0 || bit == 2) {
        f.u0 -= grow;
        f.u1 += grow;
      } else {
        f.v0 -= grow;
        f.v1 += grow;
      }
      FlatArea(canvas, kTile, f, color, 0, false);
    }
  }
  ApplyNoise(canvas, 400 + n, 0.05, 6, 0.05, 0, 0, canvas.width(), canvas.height());
  // Dashed centre lines from the middle towards every joined neighbour.
  const Point centre = kTile.At(0.5, 0.5);
  const Point ends[4] = {kTile.At(0.5, 0), kTile.At(1, 0.5), kTile.At(0.5, 1), kTile.At(0, 0.5)};
  const double dashes[2] = {5, 5};
  cairo_set_dash(canvas.cr(), dashes, 2, 2.5);
  for (int bit = 0; bit < 4; ++bit) {
    if ((mask & (1 << bit)) == 0) continue;
    Line(canvas, centre, ends[bit], kRoadMark, 1.2);
  }
  cairo_set_dash(canvas.cr(), nullptr, 0, 0);
}

}  // namespace

void PaintGroundTile(Canvas& canvas, const FrameContext& context) {
  const int n = context.frame;
  if (n < 15) {
    PaintFog(canvas, n);
  } else if (n == 15) {
    PaintOutside(canvas);
  } else if (n < 28) {
    PaintGround(canvas, n);
  } else {
    PaintHighway(canvas, n);
  }
}

}  // namespace resbuild
