// tiles2: building sites. A site shows its own structure being built: the finished picture is
// cut down to the height the stage has reached, so footprint, walls, windows and family
// colours are the structure's own. Over the cut lie the open floor, rebar and, when only the
// roof is missing, its bare trusses; scaffolds stand against the taller walls, a crane over
// the tallest, and crates, panels and a small fence fill the plot. Fields are ploughed ground
// marked out with stakes.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"

namespace resbuild {
namespace {

using namespace colors;

constexpr Iso kIso = Iso::Structure();
constexpr double kPi = std::numbers::pi;
constexpr double kSqrt2 = std::numbers::sqrt2;

constexpr Rgb kConcrete = Rgb::Bytes(176, 172, 164);
constexpr Rgb kRebar = Rgb::Bytes(120, 66, 44);
constexpr Rgb kTimber = Rgb::Bytes(176, 128, 74);
constexpr Rgb kBarrier = Rgb::Bytes(236, 116, 36);
constexpr Rgb kSoil = Rgb::Bytes(112, 58, 34);

// One mass of a structure: a box (walls, then a gable or a flat top), an upright cylinder, a
// dome, or a thin upright (a tower, a mast, a post).
enum class Shape { Box, Cylinder, Dome, Thin };
enum class Roof { None, GableU, GableV };

struct Part {
  Shape shape = Shape::Box;
  Footprint f;       // a Box's footprint; for the others the square around centre and radius
  double z0 = 0;     // where it stands
  double wall = 0;   // walls (a Box), body height (the others)
  double extra = 0;  // what rises above the walls once they are done: a roof, a mast
  Roof roof = Roof::None;
  Rgb color = kModuleWhite;
  double halfWidth = 0;  // a thin upright's, in pixels
  Rgb trim = kSteel;     // a lattice mast's colour, or none for a solid tower
  bool lattice = false;

  double Top() const { return z0 + wall + extra; }
  double Cu() const { return (f.u0 + f.u1) / 2; }
  double Cv() const { return (f.v0 + f.v1) / 2; }
  double Radius() const { return (f.u1 - f.u0) / 2; }
};

Part BoxPart(const Footprint& f, double wall, double extra = 0, Roof roof = Roof::None,
             const Rgb& color = kModuleWhite, double z0 = 0) {
  return {Shape::Box, f, z0, wall, extra, roof, color};
}
Part RoundPart(Shape shape, double cu, double cv, double r, double z0, double height,
               const Rgb& color = kModuleWhite) {
  return {shape, {cu - r, cv - r, cu + r, cv + r}, z0, height, 0, Roof::None, color};
}
// A thin upright, drawn by the site itself: a lattice mast, or a solid tapering tower.
Part ThinPart(double cu, double cv, double halfWidth, double z0, double height,
              bool lattice = false, const Rgb& color = kSteel) {
  return {Shape::Thin, {cu, cv, cu, cv}, z0,    height, 0, Roof::None,
          color,       halfWidth,        color, lattice};
}

// The masses of each structure, back to front, matching the finished pictures.
std::vector<Part> PartsOf(int type, int variant) {
  switch (type) {
    case 5:
      return {BoxPart({0.18, 0.2, 0.46, 0.8}, 14),
              RoundPart(Shape::Cylinder, 0.6, 0.6, 0.15, 0, 22)};
    case 6:
      return {RoundPart(Shape::Cylinder, 0.32, 0.3, 0.12, 0, 24, kWaterCyan.Mix(kModuleWhite, 0.5)),
              BoxPart({0.55, 0.2, 0.8, 0.45}, 10, 0, Roof::None, kModuleGrey),
              BoxPart({0.52, 0.57, 0.58, 0.63}, 26, 0, Roof::None, kSteel)};
    case 7: {
      std::vector<Part> parts;
      for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
          parts.push_back(
              BoxPart({0.16 + col * 0.24, 0.18 + row * 0.34, 0.34 + col * 0.24, 0.44 + row * 0.34},
                      16, 2, Roof::None, kModuleGrey));
        }
      }
      return parts;
    }
    case 8:
      return {BoxPart({0.2, 0.25, 0.45, 0.5}, 10, 0, Roof::None, kModuleGrey),
              ThinPart(0.8, 0.8, 3, 0, kIso.At(0.8, 0.8).y - 52, false, kModuleWhite.Shade(0.95))};
    case 11:
      return {BoxPart({0.62, 0.1, 0.88, 0.32}, 12)};
    case 12:
      return {
          BoxPart({0.12, 0.1, 0.8, 0.42}, 10, 9, Roof::GableU, kGlassTeal.Mix(kModuleWhite, 0.35))};
    case 15: {
      const double du = (variant & 1) ? 0.08 : -0.04;
      const double dv = (variant & 2) ? 0.06 : -0.05;
      return {BoxPart(Footprint::Centred(0.42).Moved(du, dv), 14, 12,
                      variant % 2 == 0 ? Roof::GableU : Roof::GableV, WallOf(variant))};
    }
    case 16: {
      const bool flip = variant % 2 == 1;
      const Footprint main =
          flip ? Footprint{0.12, 0.2, 0.5, 0.75} : Footprint{0.2, 0.12, 0.75, 0.5};
      const Footprint wing =
          flip ? Footprint{0.5, 0.45, 0.78, 0.75} : Footprint{0.45, 0.5, 0.75, 0.78};
      return {BoxPart(main, 14, 12, flip ? Roof::GableV : Roof::GableU, WallOf(variant + 1)),
              BoxPart(wing, 11, 9, flip ? Roof::GableU : Roof::GableV, WallOf(variant))};
    }
    case 17: {
      const Footprint f =
          Footprint::Centred(0.54).Moved(variant == 2 ? 0.05 : 0, variant == 3 ? 0.05 : 0);
      return {BoxPart(f, 30 + 2 * variant, 4, Roof::None, WallOf(variant))};
    }
    case 18: {
      const double height = 36 + (variant % 2) * 3;
      const Footprint f = Footprint::Centred(0.32).Moved(0.04, 0.04);
      return {BoxPart(f.Inset(-0.06), 6, 0, Roof::None, kModuleGrey),
              BoxPart(f, height - 6, variant >= 2 ? 8 : 3, Roof::None,
                      WallOf(variant).Mix(kGlassTeal, 0.1), 6)};
    }
    case 20:
      return {BoxPart({0.18, 0.2, 0.7, 0.62}, 18, 8, Roof::GableU, kModuleWhite.Mix(kSand, 0.3))};
    case 21:
      return {RoundPart(Shape::Dome, 0.5, 0.5, 0.27, 0, 34, kHappyMagenta.Mix(kModuleWhite, 0.2))};
    case 22:
      return {
          BoxPart(Footprint::Centred(0.5).Moved(0, 0.04), 20),
          RoundPart(Shape::Dome, 0.5, 0.54, 0.16, 20, 10, kHappyMagenta.Mix(kModuleWhite, 0.5))};
    case 23:
      return {
          BoxPart(Footprint::Centred(0.6), 22, 6, Roof::None, kModuleWhite.Mix(kPowerYellow, 0.1))};
    case 24:
      return {BoxPart(Footprint::Centred(0.55), 22)};
    case 25:
      return {BoxPart(Footprint::Centred(0.56), 18)};
    case 26:
      return {BoxPart(Footprint::Centred(0.6), 22, 1)};
    case 27:
      return {BoxPart({0.3, 0.2, 0.8, 0.58}, 14, 12, Roof::GableU),
              BoxPart({0.18, 0.58, 0.36, 0.76}, 30, 22, Roof::None, kModuleWhite.Shade(0.97))};
    case 28:
      return {BoxPart({0.2, 0.2, 0.72, 0.8}, 18, 8, Roof::GableU, kModuleWhite.Mix(kSand, 0.25))};
    case 29:
      return {BoxPart(Footprint::Centred(0.5), 20)};
    case 31:
      return {BoxPart({0.2, 0.2, 0.45, 0.5}, 12, 0, Roof::None, kModuleGrey),
              ThinPart(0.6, 0.6, 7, 0, 56, true, kCommSilver)};
    case 32:
      return {RoundPart(Shape::Cylinder, 0.5, 0.5, 0.22, 0, 16),
              RoundPart(Shape::Dome, 0.5, 0.5, 0.22, 16, 24, kCommSilver)};
    case 33:
      return {ThinPart(0.3, 0.32, 1, 0, 26), BoxPart({0.45, 0.35, 0.85, 0.8}, 18),
              ThinPart(0.7, 0.5, 3, 18, 24, true, kCommSilver)};
    default:
      return {};
  }
}

// How far each stage has got, as a share of the structure's full height: a site of three
// stages starts as a bare foundation, one of two with the first courses of wall.
double StageFraction(int stage, int stages) {
  if (stages <= 1) return 0.5;
  if (stages == 2) return stage == 0 ? 0.2 : 0.62;
  constexpr double kThree[3] = {0.0, 0.45, 0.88};
  return kThree[std::clamp(stage, 0, 2)];
}

// The height a part is cut at: roofs and masts come only once the walls are done, and then
// all at once, so a part is either whole or shows walls no higher than their full height.
double CutOf(const Part& p, double level) {
  if (level >= p.Top()) return p.Top();
  return std::clamp(level, p.z0, p.z0 + p.wall);
}

// The screen outline of a part from its foot up to height `top` (its silhouette when top is
// its full height), put on the canvas's current path.
void PartPath(Canvas& c, const Part& p, double top) {
  const Footprint& f = p.f;
  switch (p.shape) {
    case Shape::Box: {
      const Point hex[6] = {kIso.At(f.u0, f.v0, top),  kIso.At(f.u1, f.v0, top),
                            kIso.At(f.u1, f.v0, p.z0), kIso.At(f.u1, f.v1, p.z0),
                            kIso.At(f.u0, f.v1, p.z0), kIso.At(f.u0, f.v1, top)};
      PolygonPath(c, hex, 6);
      return;
    }
    case Shape::Cylinder:
    case Shape::Dome: {
      const Point base = kIso.At(p.Cu(), p.Cv(), p.z0);
      const double a = kCellHalfWidth * kSqrt2 * p.Radius();
      const double b = kCellHalfHeight * kSqrt2 * p.Radius();
      const double cutY = base.y - (top - p.z0);
      cairo_t* cr = c.cr();
      cairo_new_path(cr);
      constexpr int kSteps = 48;
      for (int i = 0; i <= kSteps; ++i) {
        const double t = kPi * i / kSteps;
        const double x = base.x + a * std::cos(t);
        const double y = base.y + b * std::sin(t);
        i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
      }
      for (int i = 0; i <= kSteps; ++i) {
        const double t = kPi + kPi * i / kSteps;
        const double x = base.x + a * std::cos(t);
        // A dome's outline, cut flat at the height reached; a cylinder's top rim.
        const double y = p.shape == Shape::Dome ? std::max(cutY, base.y + p.wall * std::sin(t))
                                                : cutY + b * std::sin(t);
        cairo_line_to(cr, x, y);
      }
      cairo_close_path(cr);
      return;
    }
    case Shape::Thin: {
      const Point base = kIso.At(p.Cu(), p.Cv(), p.z0);
      const double w = p.halfWidth;
      cairo_new_path(c.cr());
      cairo_rectangle(c.cr(), base.x - w, base.y - (top - p.z0), 2 * w, top - p.z0 + 3);
      return;
    }
  }
}

// Short bars of rebar standing out of a wall top or a slab along a footprint's edges.
void RebarAlong(Canvas& c, const Footprint& f, double z, double spacing, double length) {
  const double edges[4][4] = {{f.u0, f.v0, f.u1, f.v0},
                              {f.u1, f.v0, f.u1, f.v1},
                              {f.u0, f.v1, f.u1, f.v1},
                              {f.u0, f.v0, f.u0, f.v1}};
  for (const auto& e : edges) {
    const double length_uv = std::hypot(e[2] - e[0], e[3] - e[1]);
    const int bars = std::max(2, static_cast<int>(length_uv / spacing));
    for (int i = 0; i <= bars; ++i) {
      const double t = static_cast<double>(i) / bars;
      const Point foot = kIso.At(e[0] + (e[2] - e[0]) * t, e[1] + (e[3] - e[1]) * t, z);
      Line(c, foot, {foot.x, foot.y - length}, kRebar, 0.9);
    }
  }
}

// A poured slab with a grid of rebar waiting for the walls, edged in the family colour.
void Foundation(Canvas& c, const Part& p, const Rgb& accent, bool bare) {
  if (p.shape == Shape::Thin) {
    const Point foot = kIso.At(p.Cu(), p.Cv(), p.z0);
    const double w = p.halfWidth;
    cairo_new_path(c.cr());
    EllipseArc(c, foot.x, foot.y, 1.0, 2.0 / 3.0, w + 2);
    c.SetColor(kConcrete);
    cairo_fill(c.cr());
    return;
  }
  if (p.z0 > 0) return;
  const Footprint slab = p.shape == Shape::Box ? p.f.Inset(-0.03) : p.f.Inset(-0.02);
  CastShadow(c, kIso, slab, 3);
  Box(c, kIso, slab, 0, 2.5, kConcrete);
  Band(c, kIso, slab, 0, 1.2, accent.Mix(kConcrete, 0.2));
  if (!bare) return;
  const double step = 0.09;
  for (double u = slab.u0 + step / 2; u < slab.u1; u += step) {
    for (double v = slab.v0 + step / 2; v < slab.v1; v += step) {
      const Point foot = kIso.At(u, v, 2.5);
      Line(c, foot, {foot.x, foot.y - 4}, kRebar, 0.8);
    }
  }
  for (double u = slab.u0 + step / 2; u < slab.u1; u += step)
    Line(c, kIso.At(u, slab.v0, 2.5), kIso.At(u, slab.v1, 2.5), kRebar.Shade(0.9), 0.5);
}

// A simplified mass under the finished picture, so that a front part cut low shows the parts
// behind it as walls rather than as holes.
void Underlay(Canvas& c, const Part& p, double cut) {
  if (cut <= p.z0 + 0.5) return;
  switch (p.shape) {
    case Shape::Box:
      Box(c, kIso, p.f, p.z0, cut - p.z0, p.color);
      return;
    case Shape::Cylinder:
      Cylinder(c, kIso, p.Cu(), p.Cv(), p.Radius(), p.z0, cut - p.z0, p.color);
      return;
    case Shape::Dome:
      cairo_save(c.cr());
      PartPath(c, p, cut);
      cairo_clip(c.cr());
      Dome(c, kIso, p.Cu(), p.Cv(), p.Radius(), p.z0, p.wall, p.color);
      cairo_restore(c.cr());
      return;
    case Shape::Thin: {
      const Point foot = kIso.At(p.Cu(), p.Cv(), p.z0);
      const double rise = cut - p.z0;
      if (p.lattice) {
        // The mast narrows towards its top as the finished one does.
        const double width = 2 * p.halfWidth * (1 - 0.5 * rise / p.wall);
        Mast(c, kIso, p.Cu(), p.Cv(), p.z0, rise, p.color, width);
        return;
      }
      const double top = p.halfWidth * (1 - 0.5 * rise / p.wall);
      const Point tower[4] = {{foot.x - p.halfWidth, foot.y},
                              {foot.x - top, foot.y - rise},
                              {foot.x + top, foot.y - rise},
                              {foot.x + p.halfWidth, foot.y}};
      PolygonPath(c, tower, 4);
      c.SetColor(p.color);
      cairo_fill(c.cr());
      return;
    }
  }
}

// The open top of walls cut short: the wall heads, and inside them the far walls' inner
// faces above a floor lying deeper down.
void OpenTop(Canvas& c, const Part& p, double cut) {
  cairo_t* cr = c.cr();
  const double depth = std::min(cut - p.z0, 9.0);
  if (p.shape == Shape::Box) {
    const double thickness = std::min(0.035, (p.f.u1 - p.f.u0) * 0.12);
    const Footprint inner = p.f.Inset(thickness);
    FlatArea(c, kIso, p.f, kConcrete.Mix(p.color, 0.5).Shade(1.08), cut, false);
    cairo_save(cr);
    FootprintPath(c, kIso, inner, cut);
    cairo_clip(cr);
    FootprintPath(c, kIso, inner, cut);
    c.SetColor(p.color.Shade(0.42));
    cairo_fill(cr);
    // The far wall facing the light is brighter than the one beside it.
    const Point face[4] = {kIso.At(inner.u0, inner.v0, cut), kIso.At(inner.u1, inner.v0, cut),
                           kIso.At(inner.u1, inner.v0, cut - depth),
                           kIso.At(inner.u0, inner.v0, cut - depth)};
    PolygonPath(c, face, 4);
    c.SetColor(p.color.Shade(0.62));
    cairo_fill(cr);
    FlatArea(c, kIso, inner, kConcrete.Mix(kRust, 0.15).Shade(0.6), cut - depth, false);
    // Joists across the floor still to be decked.
    for (int i = 1; i < 4; ++i) {
      const double u = inner.u0 + (inner.u1 - inner.u0) * i / 4;
      Line(c, kIso.At(u, inner.v0, cut - depth + 0.5), kIso.At(u, inner.v1, cut - depth + 0.5),
           kTimber.Shade(0.7), 1.0);
    }
    cairo_restore(cr);
    if (cut < p.z0 + p.wall) RebarAlong(c, p.f.Inset(thickness / 2), cut, 0.1, 4);
    return;
  }
  if (p.shape == Shape::Cylinder || p.shape == Shape::Dome) {
    const Point base = kIso.At(p.Cu(), p.Cv(), p.z0);
    const double rise = cut - p.z0;
    double scale = 1.0;
    if (p.shape == Shape::Dome) {
      const double t = std::clamp(rise / p.wall, 0.0, 1.0);
      scale = std::sqrt(1 - t * t);
    }
    const double a = kCellHalfWidth * kSqrt2 * p.Radius() * scale;
    const double b = kCellHalfHeight * kSqrt2 * p.Radius() * scale;
    const double y = base.y - rise;
    for (int ring = 0; ring < 2; ++ring) {
      const double k = ring == 0 ? 1.0 : 0.84;
      cairo_new_path(cr);
      EllipseArc(c, base.x, y, a * k, b * k, 1);
      c.SetColor(ring == 0 ? kConcrete.Mix(p.color, 0.4) : p.color.Shade(0.55));
      cairo_fill(cr);
    }
    if (p.shape == Shape::Dome) {
      // The ribs of the shell still to be clad, from the finished ring to the crown.
      const double a0 = kCellHalfWidth * kSqrt2 * p.Radius();
      const double b0 = kCellHalfHeight * kSqrt2 * p.Radius();
      const double t0 = std::asin(std::clamp(rise / p.wall, 0.0, 1.0));
      for (int rib = 0; rib < 8; ++rib) {
        const double phi = rib * kPi / 4 + kPi / 8;
        cairo_new_path(cr);
        for (int i = 0; i <= 16; ++i) {
          const double t = t0 + (kPi / 2 - t0) * i / 16;
          const double x = base.x + a0 * std::cos(t) * std::cos(phi);
          const double yy = base.y + b0 * std::cos(t) * std::sin(phi) - p.wall * std::sin(t);
          i == 0 ? cairo_move_to(cr, x, yy) : cairo_line_to(cr, x, yy);
        }
        c.SetColor(std::sin(phi) > 0 ? kSteel : kSteel.Shade(0.7));
        cairo_set_line_width(cr, std::sin(phi) > 0 ? 1.1 : 0.7);
        cairo_stroke(cr);
      }
    }
  }
}

// The bare trusses of a gable roof that is still to be covered.
void Trusses(Canvas& c, const Part& p) {
  const Footprint& f = p.f;
  const double zw = p.z0 + p.wall;
  const double zr = zw + p.extra;
  if (p.roof == Roof::GableU) {
    const double m = (f.v0 + f.v1) / 2;
    for (int i = 0; i <= 4; ++i) {
      const double u = f.u0 + (f.u1 - f.u0) * i / 4;
      const Point ridge = kIso.At(u, m, zr);
      Line(c, kIso.At(u, f.v0, zw), ridge, kTimber, 1.1);
      Line(c, ridge, kIso.At(u, f.v1, zw), kTimber.Shade(0.85), 1.1);
    }
    Line(c, kIso.At(f.u0, m, zr), kIso.At(f.u1, m, zr), kTimber.Shade(0.9), 1.3);
  } else if (p.roof == Roof::GableV) {
    const double m = (f.u0 + f.u1) / 2;
    for (int i = 0; i <= 4; ++i) {
      const double v = f.v0 + (f.v1 - f.v0) * i / 4;
      const Point ridge = kIso.At(m, v, zr);
      Line(c, kIso.At(f.u0, v, zw), ridge, kTimber, 1.1);
      Line(c, ridge, kIso.At(f.u1, v, zw), kTimber.Shade(0.8), 1.1);
    }
    Line(c, kIso.At(m, f.v0, zr), kIso.At(m, f.v1, zr), kTimber.Shade(0.9), 1.3);
  }
}

// Poles, ledgers, planks and a brace against the two faces in view.
void Scaffold(Canvas& c, const Footprint& wall, double height) {
  const Footprint f = wall.Inset(-0.05);
  const double levelStep = 7;
  auto face = [&](double u0, double v0, double u1, double v1) {
    const double length = std::hypot(u1 - u0, v1 - v0);
    const int bays = std::max(1, static_cast<int>(std::round(length / 0.16)));
    for (int i = 0; i <= bays; ++i) {
      const double t = static_cast<double>(i) / bays;
      const double u = u0 + (u1 - u0) * t;
      const double v = v0 + (v1 - v0) * t;
      Line(c, kIso.At(u, v), kIso.At(u, v, height), kScaffold, 1.1);
    }
    for (double z = levelStep; z <= height + 0.1; z += levelStep) {
      Line(c, kIso.At(u0, v0, z), kIso.At(u1, v1, z), kTimber, 1.5);
      Line(c, kIso.At(u0, v0, z + 2.5), kIso.At(u1, v1, z + 2.5), kScaffold.Shade(0.85), 0.7);
    }
    const double t1 = 1.0 / bays;
    Line(c, kIso.At(u0, v0), kIso.At(u0 + (u1 - u0) * t1, v0 + (v1 - v0) * t1, height),
         kScaffold.Shade(0.8), 0.7);
  };
  face(f.u0, f.v1, f.u1, f.v1);
  face(f.u1, f.v1, f.u1, f.v0);
}

// A tower crane standing off the right-hand corner, its jib over the works and a load in the
// family colour on the hook.
void Crane(Canvas& c, double hookHeight, const Rgb& accent) {
  const Point foot = kIso.At(0.9, 0.24);
  const double mastTop = 5;
  cairo_t* cr = c.cr();
  Box(c, kIso, {0.85, 0.19, 0.95, 0.29}, 0, 3, kConcrete);
  // The mast: two chords with a zigzag of braces.
  const double half = 2.2;
  Line(c, {foot.x - half, foot.y - 3}, {foot.x - half, mastTop}, kScaffold, 1.1);
  Line(c, {foot.x + half, foot.y - 3}, {foot.x + half, mastTop}, kScaffold.Shade(0.75), 1.1);
  for (double y = foot.y - 3; y > mastTop + 4; y -= 4)
    Line(c, {foot.x - half, y}, {foot.x + half, y - 4}, kScaffold.Shade(0.85), 0.6);
  // The jib to the left, the counter-jib with its weight to the right.
  const double jibY = mastTop + 3;
  const double tipX = 44;
  Line(c, {tipX, jibY}, {foot.x + 16, jibY}, kScaffold, 1.6);
  Line(c, {tipX + 4, jibY + 2.5}, {foot.x, jibY + 2.5}, kScaffold.Shade(0.8), 0.7);
  for (double x = tipX + 6; x < foot.x - 2; x += 6)
    Line(c, {x, jibY}, {x + 3, jibY + 2.5}, kScaffold.Shade(0.8), 0.6);
  Line(c, {foot.x, mastTop - 4}, {tipX + 6, jibY}, kSteel, 0.5);
  Line(c, {foot.x, mastTop - 4}, {foot.x + 14, jibY}, kSteel, 0.5);
  cairo_new_path(cr);
  cairo_rectangle(cr, foot.x + 9, jibY + 1, 7, 5);
  c.SetColor(kConcrete.Shade(0.8));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, foot.x - 4.5, jibY + 2, 5, 4);
  c.SetColor(kPowerYellow.Shade(0.9));
  cairo_fill(cr);
  // The hook over the middle of the cell and a bundle of panels hanging from it.
  const double hookX = 72 - 6;
  const double loadY = std::clamp(kIso.Centre().y - hookHeight - 12, jibY + 10, 60.0);
  Line(c, {hookX, jibY + 1}, {hookX, loadY - 4}, kSteel.Shade(0.7), 0.6);
  Line(c, {hookX, loadY - 4}, {hookX - 5, loadY}, kSteel.Shade(0.7), 0.5);
  Line(c, {hookX, loadY - 4}, {hookX + 5, loadY}, kSteel.Shade(0.7), 0.5);
  cairo_new_path(cr);
  cairo_rectangle(cr, hookX - 7, loadY, 14, 3.5);
  c.SetColor(accent);
  cairo_fill(cr);
}

// A crate of timber boards on the ground.
void Crate(Canvas& c, const Footprint& f, double height) {
  CastShadow(c, kIso, f, height);
  Box(c, kIso, f, 0, height, kTimber);
  Line(c, kIso.At(f.u0, f.v1, height * 0.5), kIso.At(f.u1, f.v1, height * 0.5), kTimber.Shade(0.6),
       0.6);
}

// Wall panels in the family colour, stacked on a pallet.
void PanelStack(Canvas& c, const Footprint& f, const Rgb& accent) {
  CastShadow(c, kIso, f, 5);
  Box(c, kIso, f, 0, 1.5, kTimber.Shade(0.8));
  for (int i = 0; i < 3; ++i)
    Box(c, kIso, f.Inset(0.01), 1.5 + i * 1.3, 1.3, i % 2 ? kModuleWhite : accent);
}

bool Overlaps(const Footprint& a, const Footprint& b) {
  return a.u0 < b.u1 && b.u0 < a.u1 && a.v0 < b.v1 && b.v0 < a.v1;
}

// Crates and panels wherever the plot is free, front corners first.
void Stores(Canvas& c, const std::vector<Part>& parts, const Rgb& accent, bool withCrane) {
  const Footprint spots[] = {{0.78, 0.74, 0.9, 0.86},
                             {0.08, 0.74, 0.2, 0.88},
                             {0.74, 0.08, 0.88, 0.2},
                             {0.62, 0.82, 0.74, 0.92},
                             {0.08, 0.56, 0.18, 0.68}};
  int placed = 0;
  for (const Footprint& spot : spots) {
    if (placed == 2) break;
    bool free = !(withCrane && Overlaps(spot, {0.82, 0.16, 0.98, 0.32}));
    for (const Part& p : parts) {
      Footprint around = p.f.Inset(-0.05);
      if (p.shape == Shape::Thin) around = Footprint{p.Cu(), p.Cv(), p.Cu(), p.Cv()}.Inset(-0.1);
      if (Overlaps(spot, around)) free = false;
    }
    if (!free) continue;
    if (placed == 0) {
      PanelStack(c, spot, accent);
    } else {
      Crate(c, {spot.u0, spot.v0, spot.u0 + 0.08, spot.v0 + 0.08}, 5);
      Crate(c, {spot.u0 + 0.05, spot.v0 + 0.07, spot.u0 + 0.12, spot.v0 + 0.14}, 4);
    }
    ++placed;
  }
}

// A low barrier along two sides of the plot; the front one leaves a gateway open.
void Fence(Canvas& c, bool front) {
  const double at = front ? 0.965 : 0.035;
  auto run = [&](double a0, double a1, bool alongU) {
    auto point = [&](double a, double z) { return alongU ? kIso.At(a, at, z) : kIso.At(at, a, z); };
    const int posts = std::max(1, static_cast<int>(std::round((a1 - a0) / 0.11)));
    for (int i = 0; i <= posts; ++i) {
      const double a = a0 + (a1 - a0) * i / posts;
      Line(c, point(a, 0), point(a, 5), kModuleWhite.Shade(0.9), 1.0);
    }
    for (int i = 0; i < posts; ++i) {
      const double a = a0 + (a1 - a0) * i / posts;
      const double b = a0 + (a1 - a0) * (i + 1) / posts;
      Line(c, point(a, 4), point(b, 4), i % 2 ? kModuleWhite : kBarrier, 1.3);
    }
  };
  if (front) {
    run(0.05, 0.62, true);
    run(0.05, 0.62, false);
  } else {
    run(0.05, 0.95, true);
    run(0.05, 0.95, false);
  }
}

// The board at the gate, in the family colour, saying what is going up here.
void SiteSign(Canvas& c, const Rgb& accent) {
  const Point foot = kIso.At(0.97, 0.7);
  Line(c, {foot.x - 4, foot.y}, {foot.x - 4, foot.y - 9}, kSteel, 1.0);
  Line(c, {foot.x + 4, foot.y + 1}, {foot.x + 4, foot.y - 8}, kSteel, 1.0);
  const Point board[4] = {{foot.x - 7, foot.y - 16},
                          {foot.x + 7, foot.y - 14},
                          {foot.x + 7, foot.y - 6},
                          {foot.x - 7, foot.y - 8}};
  PolygonPath(c, board, 4);
  c.SetColor(accent);
  cairo_fill_preserve(c.cr());
  c.SetColor(accent.Shade(0.5));
  cairo_set_line_width(c.cr(), 0.8);
  cairo_stroke(c.cr());
  Line(c, {foot.x - 4.5, foot.y - 12.2}, {foot.x + 4.5, foot.y - 11}, kModuleWhite, 1.4);
}

// Survey stakes with a string between them, marking out a plot.
void Stakes(Canvas& c, const Footprint& f, const Rgb& flag) {
  const double corners[4][2] = {{f.u0, f.v0}, {f.u1, f.v0}, {f.u1, f.v1}, {f.u0, f.v1}};
  for (int i = 0; i < 4; ++i) {
    const auto& a = corners[i];
    const auto& b = corners[(i + 1) % 4];
    Line(c, kIso.At(a[0], a[1], 4), kIso.At(b[0], b[1], 4), kModuleWhite.Shade(0.95), 0.5);
  }
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 2; ++k) {
      const auto& a = corners[i];
      const auto& b = corners[(i + 1) % 4];
      const double t = k * 0.5;
      const Point foot = kIso.At(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t);
      Line(c, foot, {foot.x, foot.y - 6}, kTimber, 1.2);
      if (k == 0) {
        const Point p[3] = {{foot.x, foot.y - 6}, {foot.x + 4, foot.y - 5}, {foot.x, foot.y - 4}};
        PolygonPath(c, p, 3);
        c.SetColor(flag);
        cairo_fill(c.cr());
      }
    }
  }
}

// Freshly ploughed ground: ridges and furrows along u, a few seedlings in the first rows.
void Ploughed(Canvas& c, const Footprint& f, int rows, double sown, std::uint32_t seed) {
  FlatArea(c, kIso, f, kSoil.Mix(kOchre, 0.25), 0, false);
  DetailRandom random(seed);
  for (int r = 0; r < rows; ++r) {
    const double v = f.v0 + (f.v1 - f.v0) * (r + 0.5) / rows;
    const double half = (f.v1 - f.v0) / rows * 0.22;
    FootprintPath(c, kIso, {f.u0 + 0.01, v - half, f.u1 - 0.01, v + half});
    c.SetColor(kSoil.Shade(0.78));
    cairo_fill(c.cr());
    Line(c, kIso.At(f.u0 + 0.01, v - half * 1.6), kIso.At(f.u1 - 0.01, v - half * 1.6),
         kSoil.Mix(kOchreLight, 0.45), 0.8);
    if ((r + 0.5) / rows > sown) continue;
    for (double u = f.u0 + 0.04; u < f.u1 - 0.03; u += 0.06) {
      const Point p = kIso.At(u + random.Range(-0.01, 0.01), v);
      Circle(c, p.x, p.y - 1, 1.0 + random.Range(0, 0.4), kFoodGreen.Shade(random.Range(0.9, 1.1)));
    }
  }
}

void CropsSite(Canvas& c) {
  const Footprint field = Footprint::Centred(0.86);
  Ploughed(c, field, 6, 0.3, 910);
  Stakes(c, field.Inset(0.02), kFoodGreen);
  // The irrigation pipe half laid along the back, the rest of it waiting in lengths.
  Line(c, kIso.At(0.07, 0.07), kIso.At(0.5, 0.07), kWaterCyan.Shade(0.8), 1.5);
  for (int i = 0; i < 3; ++i) {
    const double v = 0.6 + i * 0.035;
    Line(c, kIso.At(0.88, v, 1.5 + i * 1.2), kIso.At(0.97, v, 1.5 + i * 1.2),
         kWaterCyan.Shade(0.75 + 0.1 * i), 1.6);
  }
  Crate(c, {0.86, 0.84, 0.94, 0.92}, 4);
}

void FishFarmSite(Canvas& c, int stage) {
  const Footprint basins[2] = {{0.1, 0.1, 0.55, 0.9}, {0.6, 0.4, 0.9, 0.9}};
  for (int i = 0; i < 2; ++i) {
    const Footprint& b = basins[i];
    if (stage == 1 && i == 0) {
      Water(c, kIso, b, Rgb::Bytes(40, 120, 150).Mix(kSoil, 0.35), 950);
      continue;
    }
    // A pit dug out: its far banks lit, its floor in shadow.
    FlatArea(c, kIso, b, stage == 1 ? kModuleGrey : kSoil.Shade(1.15), 0, stage == 1);
    FlatArea(c, kIso, b.Inset(0.035), kSoil.Shade(stage == 1 ? 0.9 : 0.7), 0, false);
  }
  if (stage == 0) {
    // Spoil heaps from the digging.
    Dome(c, kIso, 0.74, 0.22, 0.05, 0, 5, kSoil.Mix(kOchre, 0.4));
    Dome(c, kIso, 0.85, 0.3, 0.04, 0, 4, kSoil.Mix(kOchre, 0.3));
  }
  Stakes(c, basins[1].Inset(-0.01), kFoodGreen);
}

// Which stored pixels the finished structure may show through the cut part: the part's
// own outline up to the cut, less the outlines of the parts in front of it.
std::unique_ptr<Canvas> PartMask(const Canvas& canvas, const std::vector<Part>& parts,
                                 std::size_t index, double cut) {
  auto mask = std::make_unique<Canvas>(canvas.width(), canvas.height());
  PartPath(*mask, parts[index], cut);
  mask->SetColor(kModuleWhite);
  cairo_fill(mask->cr());
  cairo_set_operator(mask->cr(), CAIRO_OPERATOR_CLEAR);
  for (std::size_t j = index + 1; j < parts.size(); ++j) {
    PartPath(*mask, parts[j], parts[j].Top());
    cairo_fill(mask->cr());
  }
  return mask;
}

void BuildingWorks(Canvas& canvas, const StructureInfo& info, int stage, int variant) {
  const std::vector<Part> parts = PartsOf(info.type, variant);
  double top = 0;
  for (const Part& p : parts) top = std::max(top, p.Top());
  const double level = StageFraction(stage, info.siteStages) * top;
  const bool crane = info.siteStages >= 3 || top >= 40;

  // The finished structure of the same variant, to be shown only as far as it stands.
  Canvas finished(canvas.width(), canvas.height());
  PaintStructureFrame(finished, info.finishedFrame + std::min(variant, info.finishedFrames - 1), 0);

  if (info.type == 11) FishFarmSite(canvas, stage);
  if (info.type == 12) {
    Ploughed(canvas, {0.08, 0.5, 0.92, 0.92}, 3, stage == 0 ? 0 : 0.4, 960 + stage);
    Stakes(canvas, {0.1, 0.52, 0.9, 0.9}, kFoodGreen);
  }
  for (const Part& p : parts) Foundation(canvas, p, info.accent, level <= p.z0 + 0.5);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Part& p = parts[i];
    const double cut = CutOf(p, level);
    if (cut <= p.z0 + 0.5) continue;
    CastShadow(canvas, kIso, p.f, cut * 0.8);
    Underlay(canvas, p, cut);
    // The Comm. Center's big dish goes onto its stand as soon as the stand is up.
    if (info.type == 33 && i == 0 && cut >= p.Top())
      Dish(canvas, kIso, 0.3, 0.32, 26, 17, kCommSilver);
    if (p.shape == Shape::Thin) continue;
    const std::unique_ptr<Canvas> mask = PartMask(canvas, parts, i, cut);
    cairo_set_source_surface(canvas.cr(), finished.surface(), 0, 0);
    cairo_mask_surface(canvas.cr(), mask->surface(), 0, 0);
    if (cut < p.Top()) {
      OpenTop(canvas, p, cut);
      if (p.roof != Roof::None && cut >= p.z0 + p.wall) Trusses(canvas, p);
      if (p.shape == Shape::Box && p.Top() >= 20 && cut - p.z0 >= 4)
        Scaffold(canvas, p.f, std::min(cut + 5, p.z0 + p.wall + 2));
    }
  }
  if (crane) Crane(canvas, level, info.accent);
  Stores(canvas, parts, info.accent, crane);
}

// Solar panels go up row by row on stands planted first.
void SolarSite(Canvas& canvas, const StructureInfo& info, int stage) {
  Canvas finished(canvas.width(), canvas.height());
  PaintStructureFrame(finished, info.finishedFrame, 0);
  const int mounted = stage == 0 ? 1 : 4;
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 2; ++col) {
      const double u0 = 0.12 + col * 0.4;
      const double v0 = 0.12 + row * 0.26;
      if (row * 2 + col < mounted) {
        cairo_save(canvas.cr());
        const Part panel = BoxPart({u0 - 0.01, v0 - 0.01, u0 + 0.35, v0 + 0.21}, 9);
        PartPath(canvas, panel, 9);
        cairo_clip(canvas.cr());
        cairo_set_source_surface(canvas.cr(), finished.surface(), 0, 0);
        cairo_paint(canvas.cr());
        cairo_restore(canvas.cr());
      } else {
        Line(canvas, kIso.At(u0 + 0.17, v0 + 0.1), kIso.At(u0 + 0.17, v0 + 0.1, 5), kSteel, 1.5);
        Line(canvas, kIso.At(u0 + 0.04, v0 + 0.1, 5), kIso.At(u0 + 0.3, v0 + 0.1, 5), kSteel, 0.9);
      }
    }
  }
  // The panels still to go up, crated on the ground.
  PanelStack(canvas, {0.82, 0.86, 0.96, 0.96}, Rgb::Bytes(30, 60, 110));
  if (stage == 0) Stakes(canvas, Footprint::Centred(0.84), info.accent);
}

}  // namespace

void PaintSite(Canvas& canvas, const FrameContext& context) {
  const StructureInfo* info = StructureOfSiteFrame(context.frame);
  GroundPlate(canvas, kIso, kOchre.Mix(kRust, 0.35), 500 + context.frame, 0.14);
  if (info == nullptr) return;
  const int index = context.frame - info->siteFrame;
  const int stage = index % info->siteStages;
  const int variant = index / info->siteStages;
  // Churned earth and tyre tracks over the plot.
  FlatArea(canvas, kIso, Footprint::Centred(0.9), kOchre.Mix(kRust, 0.5).Shade(0.92), 0, false);
  ApplyNoise(canvas, 700 + context.frame, 0.12, 6, 0.08, 0, 9, 144, 105);
  Line(canvas, kIso.At(0.95, 0.45), kIso.At(0.55, 0.95), kRustDark.Mix(kOchre, 0.3), 2.2);
  Fence(canvas, false);
  if (info->type == 10) {
    CropsSite(canvas);
  } else if (info->type == 9) {
    SolarSite(canvas, *info, stage);
  } else {
    BuildingWorks(canvas, *info, stage, variant);
  }
  Fence(canvas, true);
  SiteSign(canvas, info->accent);
}

}  // namespace resbuild
