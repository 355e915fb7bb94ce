#include "tools/resbuild/iso.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "tools/resbuild/noise.h"

namespace resbuild {
namespace {

constexpr double kSqrt2 = std::numbers::sqrt2;

void FillPolygon(Canvas& canvas, std::initializer_list<Point> points, const Rgb& color) {
  const std::vector<Point> list(points);
  PolygonPath(canvas, list.data(), static_cast<int>(list.size()));
  canvas.SetColor(color);
  cairo_fill(canvas.cr());
}

void StrokeEdges(Canvas& canvas, const Rgb& color, double width = 0.8) {
  canvas.SetColor(color, 0.7);
  cairo_set_line_width(canvas.cr(), width);
  cairo_set_line_join(canvas.cr(), CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(canvas.cr());
}

// The path of an ellipse with axis-aligned semi-axes, from angle a0 to a1 (radians, y down).
void EllipseArc(cairo_t* cr, double cx, double cy, double a, double b, double a0, double a1,
                bool start) {
  constexpr int kSteps = 48;
  for (int i = 0; i <= kSteps; ++i) {
    const double t = a0 + (a1 - a0) * i / kSteps;
    const double x = cx + a * std::cos(t);
    const double y = cy + b * std::sin(t);
    if (i == 0 && start) {
      cairo_move_to(cr, x, y);
    } else {
      cairo_line_to(cr, x, y);
    }
  }
}

void FaceQuad(Canvas& canvas, const Iso& iso, const Footprint& box, Face face, double a0, double a1,
              double z0, double z1) {
  Point p[4];
  if (face == Face::Left) {
    const double ua = box.u0 + (box.u1 - box.u0) * a0;
    const double ub = box.u0 + (box.u1 - box.u0) * a1;
    p[0] = iso.At(ua, box.v1, z0);
    p[1] = iso.At(ub, box.v1, z0);
    p[2] = iso.At(ub, box.v1, z1);
    p[3] = iso.At(ua, box.v1, z1);
  } else {
    const double va = box.v1 - (box.v1 - box.v0) * a0;
    const double vb = box.v1 - (box.v1 - box.v0) * a1;
    p[0] = iso.At(box.u1, va, z0);
    p[1] = iso.At(box.u1, vb, z0);
    p[2] = iso.At(box.u1, vb, z1);
    p[3] = iso.At(box.u1, va, z1);
  }
  PolygonPath(canvas, p, 4);
}

}  // namespace

void PolygonPath(Canvas& canvas, const Point* points, int count) {
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  for (int i = 0; i < count; ++i) {
    if (i == 0) {
      cairo_move_to(cr, points[i].x, points[i].y);
    } else {
      cairo_line_to(cr, points[i].x, points[i].y);
    }
  }
  cairo_close_path(cr);
}

void FootprintPath(Canvas& canvas, const Iso& iso, const Footprint& f, double z) {
  const Point p[4] = {iso.At(f.u0, f.v0, z), iso.At(f.u1, f.v0, z), iso.At(f.u1, f.v1, z),
                      iso.At(f.u0, f.v1, z)};
  PolygonPath(canvas, p, 4);
}

void GroundPlate(Canvas& canvas, const Iso& iso, const Rgb& base, std::uint32_t seed, double noise,
                 bool lit) {
  // One pixel beyond each edge (measured square to the edge): every pixel whose centre is in
  // the diamond is then more than half covered and survives the transparency threshold.
  const Point top = iso.At(0, 0);
  const Point right = iso.At(1, 0);
  const Point bottom = iso.At(1, 1);
  const Point left = iso.At(0, 1);
  const Point p[4] = {{top.x, top.y - 1.21},
                      {right.x + 1.81, right.y},
                      {bottom.x, bottom.y + 1.21},
                      {left.x - 1.81, left.y}};
  PolygonPath(canvas, p, 4);
  // A plate standing alone is lit across from the upper left; open ground stays flat so that
  // neighbouring tiles meet without a seam.
  const Rgb bright = lit ? base.Shade(1.06) : base;
  const Rgb dim = lit ? base.Shade(0.92) : base;
  canvas.SetLinearShade(left.x, top.y, right.x, bottom.y, bright, dim);
  cairo_fill(canvas.cr());
  if (noise > 0) {
    ApplyNoise(canvas, seed, noise, 14, noise * 0.5, static_cast<int>(left.x) - 2,
               static_cast<int>(top.y) - 2, static_cast<int>(right.x) + 3,
               static_cast<int>(bottom.y) + 3);
  }
}

void FlatArea(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& color, double z,
              bool edge) {
  FootprintPath(canvas, iso, f, z);
  canvas.SetColor(color);
  if (edge) {
    cairo_fill_preserve(canvas.cr());
    StrokeEdges(canvas, color.Shade(0.6));
  } else {
    cairo_fill(canvas.cr());
  }
}

void CastShadow(Canvas& canvas, const Iso& iso, const Footprint& f, double height) {
  const double reach = height / 110.0;
  const Point p[6] = {iso.At(f.u0, f.v0),         iso.At(f.u1, f.v0),
                      iso.At(f.u1 + reach, f.v0), iso.At(f.u1 + reach, f.v1),
                      iso.At(f.u0 + reach, f.v1), iso.At(f.u0, f.v1)};
  PolygonPath(canvas, p, 6);
  canvas.SetColor(colors::kOutline, 0.25);
  cairo_fill(canvas.cr());
}

void Box(Canvas& canvas, const Iso& iso, const Footprint& f, double z0, double height,
         const Rgb& color) {
  const double zt = z0 + height;
  const Rgb edge = color.Shade(0.45);
  FillPolygon(canvas,
              {iso.At(f.u0, f.v1, z0), iso.At(f.u1, f.v1, z0), iso.At(f.u1, f.v1, zt),
               iso.At(f.u0, f.v1, zt)},
              color.Shade(0.86));
  FillPolygon(canvas,
              {iso.At(f.u1, f.v0, z0), iso.At(f.u1, f.v1, z0), iso.At(f.u1, f.v1, zt),
               iso.At(f.u1, f.v0, zt)},
              color.Shade(0.66));
  FillPolygon(canvas,
              {iso.At(f.u0, f.v0, zt), iso.At(f.u1, f.v0, zt), iso.At(f.u1, f.v1, zt),
               iso.At(f.u0, f.v1, zt)},
              color.Shade(1.06));
  // The visible edges: the top's outline and the three upright corners in view.
  FootprintPath(canvas, iso, f, zt);
  StrokeEdges(canvas, edge);
  const Point corners[3][2] = {{iso.At(f.u0, f.v1, z0), iso.At(f.u0, f.v1, zt)},
                               {iso.At(f.u1, f.v1, z0), iso.At(f.u1, f.v1, zt)},
                               {iso.At(f.u1, f.v0, z0), iso.At(f.u1, f.v0, zt)}};
  for (const auto& c : corners) {
    cairo_move_to(canvas.cr(), c[0].x, c[0].y);
    cairo_line_to(canvas.cr(), c[1].x, c[1].y);
  }
  cairo_move_to(canvas.cr(), corners[0][0].x, corners[0][0].y);
  cairo_line_to(canvas.cr(), corners[1][0].x, corners[1][0].y);
  cairo_line_to(canvas.cr(), corners[2][0].x, corners[2][0].y);
  StrokeEdges(canvas, edge);
}

void GlassPanes(Canvas& canvas, const Iso& iso, const Footprint& box, Face face, double z0,
                double z1, int columns, int rows, const Rgb& glass) {
  const Rgb tint = face == Face::Left ? glass : glass.Shade(0.78);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const double a0 = (c + 0.18) / columns;
      const double a1 = (c + 0.82) / columns;
      const double zb = z0 + (z1 - z0) * (r + 0.2) / rows;
      const double zt = z0 + (z1 - z0) * (r + 0.8) / rows;
      FaceQuad(canvas, iso, box, face, a0, a1, zb, zt);
      canvas.SetColor(tint);
      cairo_fill_preserve(canvas.cr());
      StrokeEdges(canvas, glass.Shade(0.5), 0.6);
      // A glint in the upper part of each pane.
      FaceQuad(canvas, iso, box, face, a0 + 0.15 / columns, a0 + 0.35 / columns,
               zb + (zt - zb) * 0.55, zt - (zt - zb) * 0.1);
      canvas.SetColor(glass.Mix(colors::kModuleWhite, 0.6), 0.7);
      cairo_fill(canvas.cr());
    }
  }
}

void Door(Canvas& canvas, const Iso& iso, const Footprint& box, Face face, double along,
          double width, double height, const Rgb& color) {
  FaceQuad(canvas, iso, box, face, along - width / 2, along + width / 2, 0, height);
  canvas.SetColor(face == Face::Left ? color : color.Shade(0.8));
  cairo_fill_preserve(canvas.cr());
  StrokeEdges(canvas, color.Shade(0.5), 0.6);
}

void Band(Canvas& canvas, const Iso& iso, const Footprint& box, double z0, double z1,
          const Rgb& color) {
  FaceQuad(canvas, iso, box, Face::Left, 0, 1, z0, z1);
  canvas.SetColor(color.Shade(0.9));
  cairo_fill(canvas.cr());
  FaceQuad(canvas, iso, box, Face::Right, 0, 1, z0, z1);
  canvas.SetColor(color.Shade(0.7));
  cairo_fill(canvas.cr());
}

void Cylinder(Canvas& canvas, const Iso& iso, double cu, double cv, double radius, double z0,
              double height, const Rgb& color) {
  const Point c = iso.At(cu, cv, z0);
  const double a = kCellHalfWidth * kSqrt2 * radius;
  const double b = kCellHalfHeight * kSqrt2 * radius;
  const double yTop = c.y - height;
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  EllipseArc(cr, c.x, c.y, a, b, 0, std::numbers::pi, true);
  cairo_line_to(cr, c.x - a, yTop);
  cairo_line_to(cr, c.x + a, yTop);
  cairo_close_path(cr);
  cairo_pattern_t* body = cairo_pattern_create_linear(c.x - a, 0, c.x + a, 0);
  const Rgb stops[3] = {color.Shade(0.95), color.Shade(1.1), color.Shade(0.6)};
  cairo_pattern_add_color_stop_rgb(body, 0, stops[0].r, stops[0].g, stops[0].b);
  cairo_pattern_add_color_stop_rgb(body, 0.3, stops[1].r, stops[1].g, stops[1].b);
  cairo_pattern_add_color_stop_rgb(body, 1, stops[2].r, stops[2].g, stops[2].b);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  StrokeEdges(canvas, color.Shade(0.45));
  cairo_new_path(cr);
  EllipseArc(cr, c.x, yTop, a, b, 0, 2 * std::numbers::pi, true);
  cairo_close_path(cr);
  canvas.SetColor(color.Shade(1.12));
  cairo_fill_preserve(cr);
  StrokeEdges(canvas, color.Shade(0.5));
}

void Dome(Canvas& canvas, const Iso& iso, double cu, double cv, double radius, double z0,
          double height, const Rgb& color) {
  const Point c = iso.At(cu, cv, z0);
  const double a = kCellHalfWidth * kSqrt2 * radius;
  const double b = kCellHalfHeight * kSqrt2 * radius;
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  EllipseArc(cr, c.x, c.y, a, b, 0, std::numbers::pi, true);
  EllipseArc(cr, c.x, c.y, a, height, std::numbers::pi, 2 * std::numbers::pi, false);
  cairo_close_path(cr);
  canvas.SetRadialShade(c.x - 0.35 * a, c.y - 0.6 * height, 0.05 * a, c.x, c.y - 0.3 * height,
                        1.2 * a, color.Shade(1.2), color.Shade(0.62));
  cairo_fill_preserve(cr);
  StrokeEdges(canvas, color.Shade(0.45));
}

void PitchedRoof(Canvas& canvas, const Iso& iso, const Footprint& f, double zBase, double rise,
                 const Rgb& color, bool ridgeAlongU) {
  const double zr = zBase + rise;
  const Rgb edge = color.Shade(0.45);
  if (ridgeAlongU) {
    const double m = (f.v0 + f.v1) / 2;
    const Point r0 = iso.At(f.u0, m, zr);
    const Point r1 = iso.At(f.u1, m, zr);
    FillPolygon(canvas, {iso.At(f.u0, f.v0, zBase), iso.At(f.u1, f.v0, zBase), r1, r0},
                color.Shade(1.05));
    FillPolygon(canvas, {iso.At(f.u1, f.v0, zBase), iso.At(f.u1, f.v1, zBase), r1},
                color.Shade(0.6));
    const Point front[4] = {iso.At(f.u0, f.v1, zBase), iso.At(f.u1, f.v1, zBase), r1, r0};
    PolygonPath(canvas, front, 4);
    canvas.SetColor(color.Shade(0.88));
    cairo_fill_preserve(canvas.cr());
    StrokeEdges(canvas, edge);
  } else {
    const double m = (f.u0 + f.u1) / 2;
    const Point r0 = iso.At(m, f.v0, zr);
    const Point r1 = iso.At(m, f.v1, zr);
    FillPolygon(canvas, {iso.At(f.u0, f.v0, zBase), iso.At(f.u0, f.v1, zBase), r1, r0},
                color.Shade(1.1));
    FillPolygon(canvas, {iso.At(f.u0, f.v1, zBase), iso.At(f.u1, f.v1, zBase), r1},
                color.Shade(0.8));
    const Point front[4] = {iso.At(f.u1, f.v0, zBase), iso.At(f.u1, f.v1, zBase), r1, r0};
    PolygonPath(canvas, front, 4);
    canvas.SetColor(color.Shade(0.68));
    cairo_fill_preserve(canvas.cr());
    StrokeEdges(canvas, edge);
  }
}

void Mast(Canvas& canvas, const Iso& iso, double cu, double cv, double z0, double height,
          const Rgb& color, double baseWidth) {
  const Point base = iso.At(cu, cv, z0);
  const Point top{base.x, base.y - height};
  const Point leftFoot{base.x - baseWidth / 2, base.y};
  const Point rightFoot{base.x + baseWidth / 2, base.y};
  Line(canvas, leftFoot, top, color, 1.2);
  Line(canvas, rightFoot, top, color.Shade(0.7), 1.2);
  const int braces = static_cast<int>(height / 7);
  for (int i = 0; i < braces; ++i) {
    const double t0 = static_cast<double>(i) / braces;
    const double t1 = static_cast<double>(i + 1) / braces;
    const Point a{leftFoot.x + (top.x - leftFoot.x) * t0, leftFoot.y + (top.y - leftFoot.y) * t0};
    const Point b{rightFoot.x + (top.x - rightFoot.x) * t1,
                  rightFoot.y + (top.y - rightFoot.y) * t1};
    Line(canvas, a, b, color.Shade(0.85), 0.7);
  }
  cairo_new_path(canvas.cr());
  cairo_arc(canvas.cr(), top.x, top.y, 1.6, 0, 2 * std::numbers::pi);
  canvas.SetColor(Rgb::Bytes(230, 50, 40));
  cairo_fill(canvas.cr());
}

void Dish(Canvas& canvas, const Iso& iso, double cu, double cv, double z, double radius,
          const Rgb& color) {
  const Point foot = iso.At(cu, cv, 0);
  const Point centre = iso.At(cu, cv, z);
  Line(canvas, foot, centre, colors::kSteel, 2.0);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_translate(cr, centre.x, centre.y);
  cairo_rotate(cr, -0.6);
  cairo_new_path(cr);
  EllipseArc(cr, 0, 0, radius, radius * 0.42, 0, 2 * std::numbers::pi, true);
  cairo_close_path(cr);
  const Rgb lit = color.Shade(1.15);
  const Rgb dark = color.Shade(0.7);
  canvas.SetLinearShade(-radius, -radius * 0.4, radius, radius, lit, dark);
  cairo_fill_preserve(cr);
  StrokeEdges(canvas, color.Shade(0.45));
  cairo_restore(cr);
  // The feed arm points along the dish's axis, up and to the left.
  const Point feed{centre.x - radius * 0.3, centre.y - radius * 0.55};
  Line(canvas, centre, feed, colors::kSteel, 1.0);
  cairo_new_path(cr);
  cairo_arc(cr, feed.x, feed.y, 1.5, 0, 2 * std::numbers::pi);
  canvas.SetColor(colors::kSteel.Shade(0.7));
  cairo_fill(cr);
}

void Field(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& soil, const Rgb& crop,
           int rows, double growth, std::uint32_t seed) {
  FlatArea(canvas, iso, f, soil, 0, false);
  const Rgb withered = Rgb::Bytes(140, 110, 60);
  const Rgb plant = withered.Mix(crop, growth);
  DetailRandom random(seed);
  for (int r = 0; r < rows; ++r) {
    const double v = f.v0 + (f.v1 - f.v0) * (r + 0.5) / rows;
    const double halfWidth = (f.v1 - f.v0) / rows * (0.18 + 0.2 * growth);
    FootprintPath(canvas, iso, {f.u0 + 0.02, v - halfWidth, f.u1 - 0.02, v + halfWidth});
    canvas.SetColor(soil.Shade(0.8));
    cairo_fill(canvas.cr());
    const int plants = 6 + static_cast<int>(6 * growth);
    for (int i = 0; i < plants; ++i) {
      const double u = f.u0 + (f.u1 - f.u0) * (i + 0.5 + random.Range(-0.2, 0.2)) / plants;
      if (random.Unit() > 0.35 + 0.65 * growth + 0.2) continue;  // gaps in poor rows
      const Point p = iso.At(u, v);
      const double size = 1.5 + 2.8 * growth + random.Range(0, 0.8);
      cairo_new_path(canvas.cr());
      EllipseArc(canvas, p.x, p.y - size * 0.6, 1.0, 0.8, size);
      canvas.SetColor(plant.Shade(random.Range(0.85, 1.1)));
      cairo_fill(canvas.cr());
    }
  }
}

void Water(Canvas& canvas, const Iso& iso, const Footprint& f, const Rgb& water, std::uint32_t seed,
           double phase) {
  FlatArea(canvas, iso, f, colors::kModuleGrey, 0, true);
  const Footprint inner = f.Inset(0.035);
  FootprintPath(canvas, iso, inner, 0);
  const Point a = iso.At(inner.u0, inner.v0);
  const Point b = iso.At(inner.u1, inner.v1);
  const Rgb deep = water.Shade(0.7);
  canvas.SetLinearShade(a.x, a.y, b.x, b.y, water, deep);
  cairo_fill(canvas.cr());
  DetailRandom random(seed);
  for (int i = 0; i < 7; ++i) {
    const double u = inner.u0 + (inner.u1 - inner.u0) * random.Range(0.15, 0.75);
    const double v = inner.v0 + (inner.v1 - inner.v0) * random.Range(0.15, 0.85);
    const double len = (inner.u1 - inner.u0) * 0.15;
    const double shift = std::fmod(phase * 0.05 + random.Unit() * 0.1, 0.1);
    Line(canvas, iso.At(u + shift, v), iso.At(u + shift + len, v),
         water.Mix(colors::kModuleWhite, 0.6), 1.0);
  }
}

void Line(Canvas& canvas, const Point& a, const Point& b, const Rgb& color, double width) {
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  canvas.SetColor(color);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

void EllipseArc(Canvas& canvas, double cx, double cy, double sx, double sy, double r, double a0,
                double a1) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, sx, sy);
  cairo_arc(cr, 0, 0, r, a0, a1);
  cairo_restore(cr);
}

void Circle(Canvas& canvas, double x, double y, double r, const Rgb& color, double alpha) {
  cairo_new_path(canvas.cr());
  cairo_arc(canvas.cr(), x, y, r, 0, 2 * std::numbers::pi);
  canvas.SetColor(color, alpha);
  cairo_fill(canvas.cr());
}

Rgb WallOf(int variant) {
  using namespace colors;
  constexpr Rgb kWalls[4] = {kModuleWhite, Rgb::Bytes(232, 222, 200), kModuleGrey.Shade(1.08),
                             Rgb::Bytes(226, 232, 236)};
  return kWalls[variant % 4];
}

}  // namespace resbuild
