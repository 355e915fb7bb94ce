/*
 * Isometric drawing along the map's own axes.
 *
 * A cell's diamond, in a 144 x 96 tile (a 144 x 105 structure frame has it 9 rows lower):
 *
 *                    (72, 0)  u = 0, v = 0: the top corner
 *                     /\
 *       y axis (v)   /  \   x axis (u)
 *     to the lower  /    \  to the lower right
 *     left         /      \
 *       (0, 48)   <        >  (144, 48)
 *                  \      /
 *                   \    /
 *                    \  /
 *                     \/
 *                    (72, 96)  u = 1, v = 1
 *
 * One cell unit along u is (+72, +48) pixels, along v (-72, +48): the axes slope 2 : 3, not
 * the 1 : 2 of classic pixel art. Heights (z) are in pixels, straight up. Light comes from
 * the upper left: faces looking to the lower right (+u) are the darkest, faces looking to the
 * lower left (+v) are in between, tops are the brightest.
 */
#pragma once

#include <cstdint>
#include <numbers>

#include "tools/resbuild/canvas.h"
#include "tools/resbuild/palette_colors.h"

namespace resbuild {

struct Point {
  double x = 0;
  double y = 0;
};

inline constexpr double kCellHalfWidth = 72;
inline constexpr double kCellHalfHeight = 48;

class Iso {
 public:
  constexpr Iso(double topCornerX, double topCornerY) : ox_(topCornerX), oy_(topCornerY) {}
  // A 144 x 96 map tile.
  static constexpr Iso Tile() { return {72, 0}; }
  // A 144 x 105 structure or building-site frame.
  static constexpr Iso Structure() { return {72, 9}; }

  // The frame position of map point (u, v) at height z.
  constexpr Point At(double u, double v, double z = 0) const {
    return {ox_ + kCellHalfWidth * (u - v), oy_ + kCellHalfHeight * (u + v) - z};
  }
  constexpr Point Centre(double z = 0) const { return At(0.5, 0.5, z); }
  // The map point (u, v) on the ground under frame position (x, y).
  constexpr Point ToMap(double x, double y) const {
    return {(x - ox_) / (2 * kCellHalfWidth) + (y - oy_) / (2 * kCellHalfHeight),
            (y - oy_) / (2 * kCellHalfHeight) - (x - ox_) / (2 * kCellHalfWidth)};
  }
  // Whether the centre of pixel (x, y) lies inside the cell's diamond.
  constexpr bool PixelInDiamond(int x, int y) const {
    const Point p = ToMap(x + 0.5, y + 0.5);
    return p.x >= 0 && p.x <= 1 && p.y >= 0 && p.y <= 1;
  }

 private:
  double ox_;
  double oy_;
};

// A rectangle of the map plane, in cell units (0..1 is the cell itself).
struct Footprint {
  double u0 = 0;
  double v0 = 0;
  double u1 = 1;
  double v1 = 1;

  // A square of the given side centred on the cell's centre (side 0.5 is half a cell).
  static constexpr Footprint Centred(double side) {
    return {0.5 - side / 2, 0.5 - side / 2, 0.5 + side / 2, 0.5 + side / 2};
  }
  constexpr Footprint Moved(double du, double dv) const {
    return {u0 + du, v0 + dv, u1 + du, v1 + dv};
  }
  constexpr Footprint Inset(double d) const { return {u0 + d, v0 + d, u1 - d, v1 - d}; }
};

// Puts the footprint's outline at height z on the current path.
void FootprintPath(Canvas& canvas, const Iso& iso, const Footprint& f, double z = 0);
void PolygonPath(Canvas& canvas, const Point* points, int count);

// The whole diamond of the cell, painted a little beyond its edges so that every pixel whose
// centre lies inside the diamond is covered, with a soft light from the upper left and a
// noise texture. Every tile and structure frame starts with one.
void GroundPlate(Canvas& canvas, const Iso& iso, const Rgb& base, std::uint32_t seed,
                 double noise = 0.10, bool lit = true);
// A flat area on the ground (a concrete pad, a path), optionally with an edge line.
void FlatArea(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& color, double z = 0,
              bool edge = true);
// A soft shadow on the ground, cast to the lower right by something of this footprint and
// height.
void CastShadow(Canvas& canvas, const Iso& iso, const Footprint& f, double height);

// A box standing on footprint f from height z0 up to z0 + height, three faces shaded.
void Box(Canvas& canvas, const Iso& iso, const Footprint& f, double z0, double height,
         const Rgb& color);

enum class Face { Left, Right };  // Left looks to the lower left (+v), Right to the lower right

// Rows x columns of glass panes on a visible face of a box (its footprint and height range).
void GlassPanes(Canvas& canvas, const Iso& iso, const Footprint& box, Face face, double z0,
                double z1, int columns, int rows, const Rgb& glass = colors::kGlassTeal);
// A door on a visible face, centred at `along` (0..1 across the face).
void Door(Canvas& canvas, const Iso& iso, const Footprint& box, Face face, double along,
          double width, double height, const Rgb& color);
// A band of colour (a family stripe) around the two visible faces, between z0 and z1.
void Band(Canvas& canvas, const Iso& iso, const Footprint& box, double z0, double z1,
          const Rgb& color);

// An upright cylinder (a tank, a tower) of radius r in cell units around (cu, cv).
void Cylinder(Canvas& canvas, const Iso& iso, double cu, double cv, double radius, double z0,
              double height, const Rgb& color);
// A dome of radius r in cell units and the given height, standing at z0.
void Dome(Canvas& canvas, const Iso& iso, double cu, double cv, double radius, double z0,
          double height, const Rgb& color);
// A gable roof over footprint f from height zBase, its ridge `rise` pixels higher, running
// along u (ridgeAlongU) or along v.
void PitchedRoof(Canvas& canvas, const Iso& iso, const Footprint& f, double zBase, double rise,
                 const Rgb& color, bool ridgeAlongU);
// A lattice mast from z0 up by height with a warning light on top.
void Mast(Canvas& canvas, const Iso& iso, double cu, double cv, double z0, double height,
          const Rgb& color, double baseWidth = 6);
// A dish of radius r pixels on a short stand at height z, facing the sky to the upper left.
void Dish(Canvas& canvas, const Iso& iso, double cu, double cv, double z, double radius,
          const Rgb& color);
// A field in rows along u: soil with `rows` furrows of crop; growth 0..1 (withered .. lush)
// sets how full and how green the rows are.
void Field(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& soil, const Rgb& crop,
           int rows, double growth, std::uint32_t seed);
// A basin of water with a rim and ripples.
void Water(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& water, std::uint32_t seed,
           double phase = 0);
// A straight line between two map points (pipes, cables, struts).
void Line(Canvas& canvas, const Point& a, const Point& b, const Rgb& color, double width);
// Adds to the path an arc of the ellipse around (cx, cy) that a circle of radius r scaled by
// (sx, sy) makes, from angle a0 to a1 (a whole ellipse by default).
void EllipseArc(Canvas& canvas, double cx, double cy, double sx, double sy, double r, double a0 = 0,
                double a1 = 2 * std::numbers::pi);
// A filled disc in canvas pixels (lamps, hubs, bolts).
void Circle(Canvas& canvas, double x, double y, double r, const Rgb& color, double alpha = 1);
// The wall colour of a house variant, the same on its site and when finished.
Rgb WallOf(int variant);

}  // namespace resbuild
