// tiles1: the selection markers (0 behind the cell, 1 in front) and every finished structure.
// Each structure paints its own ground plate, then builds up from the back to the front.
// Structures with a running animation take a phase; their moving part must stay inside the
// square at columns 48-96, rows 28-76 (see paint_animation.cpp).
#include <cmath>
#include <numbers>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"

namespace resbuild {
namespace {

using namespace colors;

constexpr Iso kIso = Iso::Structure();
constexpr double kPi = std::numbers::pi;

void Base(Canvas& c, std::uint32_t seed, double padSide, const Rgb& pad = kModuleGrey) {
  GroundPlate(c, kIso, kOchre.Mix(kRust, 0.2), seed, 0.10);
  if (padSide > 0) FlatArea(c, kIso, Footprint::Centred(padSide), pad.Shade(0.92));
}

// A module: a box with a family band and a row of windows on both faces.
void Module(Canvas& c, const Footprint& f, double z0, double height, const Rgb& wall,
            const Rgb& accent, int windows) {
  CastShadow(c, kIso, f, z0 + height);
  Box(c, kIso, f, z0, height, wall);
  Band(c, kIso, f, z0 + height - 4, z0 + height - 1.5, accent);
  if (windows > 0) {
    GlassPanes(c, kIso, f, Face::Left, z0 + 3, z0 + height - 5, windows, 1);
    GlassPanes(c, kIso, f, Face::Right, z0 + 3, z0 + height - 5, windows, 1);
  }
}

void SelectionMarker(Canvas& c, bool front) {
  cairo_t* cr = c.cr();
  const Rgb glow = Rgb::Bytes(120, 255, 120);
  if (!front) {
    // Just outside the diamond, so that only its rim shows around the cell.
    const Point p[4] = {{72, 9 - 4}, {144 + 4, 57}, {72, 105 + 3}, {0 - 4, 57}};
    PolygonPath(c, p, 4);
    c.SetColor(glow, 0.9);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    return;
  }
  // Corner brackets over the three front corners.
  const Point corners[3][3] = {{{10, 50}, {0, 57}, {10, 64}},
                               {{60, 97}, {72, 105}, {84, 97}},
                               {{134, 50}, {144, 57}, {134, 64}}};
  for (const auto& corner : corners) {
    cairo_new_path(cr);
    cairo_move_to(cr, corner[0].x, corner[0].y);
    cairo_line_to(cr, corner[1].x, corner[1].y);
    cairo_line_to(cr, corner[2].x, corner[2].y);
    c.SetColor(glow);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
  }
}

void LandingModule(Canvas& c) {
  Base(c, 2, 0.7, kModuleGrey.Shade(0.85));
  const Point centre = kIso.At(0.5, 0.5);
  // Four legs under the capsule.
  for (int i = 0; i < 4; ++i) {
    const double du = (i & 1) ? 0.2 : -0.2;
    const double dv = (i & 2) ? 0.2 : -0.2;
    Line(c, kIso.At(0.5 + du, 0.5 + dv), kIso.At(0.5 + du * 0.5, 0.5 + dv * 0.5, 12), kSteel, 2);
  }
  CastShadow(c, kIso, Footprint::Centred(0.4), 30);
  Cylinder(c, kIso, 0.5, 0.5, 0.2, 8, 10, kModuleWhite);
  Dome(c, kIso, 0.5, 0.5, 0.2, 18, 22, kModuleWhite);
  // A blue band and a porthole ring around the capsule.
  cairo_new_path(c.cr());
  EllipseArc(c, centre.x, centre.y - 13, 28.8, 19.2, 1, 0.1, kPi - 0.1);
  c.SetColor(kCommBlue);
  cairo_set_line_width(c.cr(), 3);
  cairo_stroke(c.cr());
  for (int i = 0; i < 3; ++i)
    Circle(c, centre.x - 14 + 14 * i, centre.y - 26 + (i == 1 ? 3 : 0), 2.6, kGlassTeal);
  Mast(c, kIso, 0.5, 0.5, 38, 14, kSteel, 3);
}

void WaterCondenser(Canvas& c, int phase) {
  Base(c, 3, 0.7);
  Module(c, {0.18, 0.2, 0.46, 0.8}, 0, 14, kModuleWhite, kWaterCyan, 2);
  Cylinder(c, kIso, 0.6, 0.6, 0.15, 0, 22, kModuleWhite.Mix(kWaterCyan, 0.15));
  // The fan in the tower's mouth, turning with the phase.
  const Point top = kIso.At(0.6, 0.6, 22);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  EllipseArc(c, top.x, top.y, 1.0, 2.0 / 3.0, 12.5);
  c.SetColor(kSteel.Shade(0.5));
  cairo_fill(cr);
  for (int blade = 0; blade < 3; ++blade) {
    const double a = phase * (2 * kPi / 9) + blade * 2 * kPi / 3;
    cairo_new_path(cr);
    cairo_move_to(cr, top.x, top.y);
    cairo_line_to(cr, top.x + 11 * std::cos(a), top.y + 7.3 * std::sin(a));
    cairo_line_to(cr, top.x + 11 * std::cos(a + 0.6), top.y + 7.3 * std::sin(a + 0.6));
    cairo_close_path(cr);
    c.SetColor(kModuleGrey);
    cairo_fill(cr);
  }
  Circle(c, top.x, top.y, 2, kWaterCyan);
  // A pipe from the tower to the tank.
  Line(c, kIso.At(0.46, 0.55, 6), kIso.At(0.5, 0.58, 6), kWaterCyan, 2);
}

void WaterWell(Canvas& c, int phase) {
  Base(c, 4, 0.7);
  Cylinder(c, kIso, 0.32, 0.3, 0.12, 0, 24, kWaterCyan.Mix(kModuleWhite, 0.5));
  Module(c, {0.55, 0.2, 0.8, 0.45}, 0, 10, kModuleGrey, kWaterCyan, 1);
  // A nodding pump: a post with a rocking beam, its head over the well.
  const Point pivot = kIso.At(0.55, 0.6, 26);
  Box(c, kIso, {0.52, 0.57, 0.58, 0.63}, 0, 26, kSteel);
  const double tilt = std::sin(phase * 2 * kPi / 3) * 0.35;
  const Point head{pivot.x - 20 * std::cos(tilt), pivot.y - 20 * std::sin(tilt) * -1 + 2};
  const Point tail{pivot.x + 16 * std::cos(tilt), pivot.y - 16 * std::sin(tilt)};
  Line(c, head, tail, kWaterCyan.Shade(0.8), 4);
  Circle(c, tail.x, tail.y, 4, kSteel.Shade(0.7));
  Line(c, head, {head.x, kIso.At(0.5, 0.75).y - 4}, kSteel.Shade(0.6), 1.2);
  Circle(c, pivot.x, pivot.y, 2, kModuleWhite);
  FlatArea(c, kIso, {0.38, 0.7, 0.52, 0.84}, kWaterCyan.Shade(0.8));
}

void Batteries(Canvas& c) {
  Base(c, 5, 0.8);
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 3; ++col) {
      const Footprint f{0.16 + col * 0.24, 0.18 + row * 0.34, 0.34 + col * 0.24, 0.44 + row * 0.34};
      CastShadow(c, kIso, f, 16);
      Box(c, kIso, f, 0, 16, kModuleGrey);
      Band(c, kIso, f, 11, 14, kPowerYellow);
      Box(c, kIso, f.Inset(0.06), 16, 2, kSteel);
    }
  }
}

void WindPower(Canvas& c, int phase) {
  Base(c, 6, 0.35);
  Module(c, {0.2, 0.25, 0.45, 0.5}, 0, 10, kModuleGrey, kPowerYellow, 1);
  // The tower stands at the front of the cell so that its rotor turns in the middle.
  const Point foot = kIso.At(0.8, 0.8);
  const Point hub{72, 52};
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, foot.x - 3, foot.y);
  cairo_line_to(cr, hub.x - 1.5, hub.y);
  cairo_line_to(cr, hub.x + 1.5, hub.y);
  cairo_line_to(cr, foot.x + 3, foot.y);
  cairo_close_path(cr);
  c.SetColor(kModuleWhite.Shade(0.95));
  cairo_fill(cr);
  for (int blade = 0; blade < 3; ++blade) {
    const double a = phase * (2 * kPi / 12) + blade * 2 * kPi / 3 - kPi / 2;
    const Point tip{hub.x + 19 * std::cos(a), hub.y + 19 * std::sin(a)};
    const Point side{hub.x + 5 * std::cos(a + 0.5), hub.y + 5 * std::sin(a + 0.5)};
    cairo_new_path(cr);
    cairo_move_to(cr, hub.x, hub.y);
    cairo_line_to(cr, side.x, side.y);
    cairo_line_to(cr, tip.x, tip.y);
    cairo_close_path(cr);
    c.SetColor(kModuleWhite);
    cairo_fill_preserve(cr);
    c.SetColor(kSteel, 0.8);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  }
  Circle(c, hub.x, hub.y, 3, kPowerYellow);
}

void SolarPower(Canvas& c) {
  Base(c, 7, 0.86);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 2; ++col) {
      const double u0 = 0.12 + col * 0.4;
      const double v0 = 0.12 + row * 0.26;
      // Panels tilt up towards the light in the upper left.
      const Point p[4] = {kIso.At(u0, v0, 8), kIso.At(u0 + 0.34, v0, 8),
                          kIso.At(u0 + 0.34, v0 + 0.2, 2), kIso.At(u0, v0 + 0.2, 2)};
      Line(c, kIso.At(u0 + 0.17, v0 + 0.1), kIso.At(u0 + 0.17, v0 + 0.1, 5), kSteel, 1.5);
      PolygonPath(c, p, 4);
      c.SetColor(Rgb::Bytes(30, 60, 110));
      cairo_fill_preserve(c.cr());
      c.SetColor(kPowerYellow.Shade(0.9));
      cairo_set_line_width(c.cr(), 0.8);
      cairo_stroke(c.cr());
      Line(c, {(p[0].x + p[1].x) / 2, (p[0].y + p[1].y) / 2},
           {(p[3].x + p[2].x) / 2, (p[3].y + p[2].y) / 2}, kCommSilver.Shade(0.7), 0.6);
      Line(c, {(p[0].x + p[3].x) / 2, (p[0].y + p[3].y) / 2},
           {(p[1].x + p[2].x) / 2, (p[1].y + p[2].y) / 2}, Rgb::Bytes(90, 150, 200), 0.8);
    }
  }
}

constexpr double kGrowth[4] = {0.0, 0.35, 0.7, 1.0};

void Crops(Canvas& c, int level) {
  Base(c, 8, 0);
  Field(c, kIso, Footprint::Centred(0.86), kRustDark.Mix(kOchre, 0.3), kFoodGreen, 6,
        kGrowth[level], 80 + level);
  Line(c, kIso.At(0.07, 0.07), kIso.At(0.93, 0.07), kWaterCyan.Shade(0.8), 1.5);
}

void FishFarm(Canvas& c, int level) {
  Base(c, 12, 0.9);
  const Rgb water = Rgb::Bytes(40, 120, 150).Mix(kFoodGreen, 0.25 * kGrowth[level]);
  Water(c, kIso, {0.1, 0.1, 0.55, 0.9}, water, 120 + level);
  Water(c, kIso, {0.6, 0.4, 0.9, 0.9}, water, 130 + level);
  DetailRandom random(140 + level);
  for (int i = 0; i < 2 + level * 4; ++i) {
    const Point p = kIso.At(random.Range(0.15, 0.5), random.Range(0.15, 0.85));
    Circle(c, p.x, p.y, 1.2, Rgb::Bytes(240, 170, 90));
  }
  Module(c, {0.62, 0.1, 0.88, 0.32}, 0, 12, kModuleWhite, kFoodGreen, 1);
}

void Farm(Canvas& c, int level) {
  Base(c, 16, 0);
  Field(c, kIso, {0.08, 0.5, 0.92, 0.92}, kRustDark.Mix(kOchre, 0.3), kFoodGreen, 3, kGrowth[level],
        160 + level);
  // A greenhouse: glass walls under a glass roof, plants showing through.
  const Footprint house{0.12, 0.1, 0.8, 0.42};
  CastShadow(c, kIso, house, 18);
  Box(c, kIso, house, 0, 10, kGlassTeal.Mix(kModuleWhite, 0.35));
  GlassPanes(c, kIso, house, Face::Left, 1, 9, 5, 1,
             kFoodGreen.Mix(kGlassTeal, 0.5 - 0.4 * kGrowth[level]));
  GlassPanes(c, kIso, house, Face::Right, 1, 9, 2, 1, kFoodGreen.Mix(kGlassTeal, 0.5));
  PitchedRoof(c, kIso, house, 10, 9, kGlassTeal.Mix(kModuleWhite, 0.55), true);
}

void LittleHouse(Canvas& c, int variant) {
  Base(c, 20 + variant, 0);
  const double du = (variant & 1) ? 0.08 : -0.04;
  const double dv = (variant & 2) ? 0.06 : -0.05;
  const Footprint f = Footprint::Centred(0.42).Moved(du, dv);
  FlatArea(c, kIso, f.Inset(-0.08), kFoodGreen.Mix(kOchre, 0.55), 0, false);
  CastShadow(c, kIso, f, 26);
  Box(c, kIso, f, 0, 14, WallOf(variant));
  Door(c, kIso, f, Face::Left, 0.3, 0.18, 9, kHousingTerracotta.Shade(0.7));
  GlassPanes(c, kIso, f, Face::Left, 4, 12, 2, 1);
  GlassPanes(c, kIso, f, Face::Right, 4, 12, 2, 1);
  PitchedRoof(c, kIso, f.Inset(-0.03), 14, 12, kHousingTerracotta, variant % 2 == 0);
}

void CountryHouse(Canvas& c, int variant) {
  Base(c, 24 + variant, 0);
  FlatArea(c, kIso, Footprint::Centred(0.86), kFoodGreen.Mix(kOchre, 0.5), 0, false);
  ApplyNoise(c, 240 + variant, 0.08, 5, 0.05, 0, 9, 144, 105);
  const bool flip = variant % 2 == 1;
  const Footprint main = flip ? Footprint{0.12, 0.2, 0.5, 0.75} : Footprint{0.2, 0.12, 0.75, 0.5};
  const Footprint wing = flip ? Footprint{0.5, 0.45, 0.78, 0.75} : Footprint{0.45, 0.5, 0.75, 0.78};
  CastShadow(c, kIso, main, 28);
  Box(c, kIso, main, 0, 14, WallOf(variant + 1));
  GlassPanes(c, kIso, main, Face::Left, 4, 12, 3, 1);
  GlassPanes(c, kIso, main, Face::Right, 4, 12, 2, 1);
  PitchedRoof(c, kIso, main.Inset(-0.02), 14, 12, kHousingTerracotta.Shade(0.95), !flip);
  Box(c, kIso, wing, 0, 11, WallOf(variant));
  Door(c, kIso, wing, Face::Left, 0.5, 0.25, 8, kHousingTerracotta.Shade(0.6));
  PitchedRoof(c, kIso, wing.Inset(-0.02), 11, 9, kHousingTerracotta.Shade(1.05), flip);
}

void Flats(Canvas& c, int variant) {
  Base(c, 28 + variant, 0.75);
  const double height = 30 + 2 * variant;
  const Footprint f =
      Footprint::Centred(0.54).Moved(variant == 2 ? 0.05 : 0, variant == 3 ? 0.05 : 0);
  CastShadow(c, kIso, f, height);
  Box(c, kIso, f, 0, height, WallOf(variant));
  GlassPanes(c, kIso, f, Face::Left, 3, height - 3, 4, 3);
  GlassPanes(c, kIso, f, Face::Right, 3, height - 3, 3, 3);
  Band(c, kIso, f, height - 3, height, kHousingTerracotta);
  Box(c, kIso, f.Inset(0.12).Moved(-0.04, -0.04), height, 4, kModuleGrey);
}

void Skyscraper(Canvas& c, int variant) {
  Base(c, 32 + variant, 0.6);
  const double height = 36 + (variant % 2) * 3;
  const Footprint f = Footprint::Centred(0.32).Moved(0.04, 0.04);
  CastShadow(c, kIso, f, height + 20);
  Box(c, kIso, f.Inset(-0.06), 0, 6, kModuleGrey);
  Box(c, kIso, f, 6, height - 6, WallOf(variant).Mix(kGlassTeal, 0.1));
  GlassPanes(c, kIso, f, Face::Left, 7, height - 3, 3, 7, kGlassTeal.Shade(1.1));
  GlassPanes(c, kIso, f, Face::Right, 7, height - 3, 3, 7, kGlassTeal.Shade(1.1));
  Band(c, kIso, f, height - 3, height, kHousingTerracotta);
  if (variant >= 2) {
    Mast(c, kIso, 0.54, 0.54, height, 8, kSteel, 2);
  } else {
    Box(c, kIso, f.Inset(0.06), height, 3, kHousingTerracotta.Shade(0.9));
  }
}

void Pub(Canvas& c, int phase) {
  Base(c, 36, 0.75);
  const Footprint f{0.18, 0.2, 0.7, 0.62};
  Module(c, f, 0, 18, kModuleWhite.Mix(kSand, 0.3), kHappyMagenta, 3);
  Door(c, kIso, f, Face::Left, 0.5, 0.16, 11, kRustDark);
  PitchedRoof(c, kIso, f.Inset(-0.02), 18, 8, kHappyMagenta.Shade(0.8), true);
  // A round sign on a post in front, its ring of bulbs chasing.
  const Point post = kIso.At(0.82, 0.72);
  const Point sign{post.x - 6, post.y - 30};
  Line(c, post, {sign.x, sign.y + 9}, kSteel, 1.6);
  Circle(c, sign.x, sign.y, 9, kHappyMagenta.Shade(0.9));
  Circle(c, sign.x, sign.y, 6, kSand);
  for (int i = 0; i < 8; ++i) {
    const double a = i * kPi / 4;
    const bool lit = (i + phase) % 2 == 0;
    Circle(c, sign.x + 8 * std::cos(a), sign.y + 8 * std::sin(a), 1.3,
           lit ? kPowerYellow.Shade(1.2) : kHappyMagenta.Shade(0.5));
  }
}

void Disco(Canvas& c, int phase) {
  Base(c, 37, 0.8);
  FlatArea(c, kIso, Footprint::Centred(0.66), Rgb::Bytes(60, 40, 70));
  CastShadow(c, kIso, Footprint::Centred(0.55), 30);
  Dome(c, kIso, 0.5, 0.5, 0.27, 0, 34, kHappyMagenta.Mix(kModuleWhite, 0.2));
  // Coloured lights wandering over the dome.
  const Rgb lights[3] = {kPowerYellow, kWaterCyan, kModuleWhite};
  for (int i = 0; i < 6; ++i) {
    const double a = (i + phase * 0.5) * kPi / 3;
    const double x = 72 + 18 * std::cos(a);
    const double y = 40 + 6 * std::sin(a) + (i % 2) * 6;
    Circle(c, x, y, 2.4, lights[(i + phase) % 3]);
  }
  Door(c, kIso, Footprint::Centred(0.54), Face::Left, 0.5, 0.2, 8, Rgb::Bytes(60, 20, 60));
}

void Heart(Canvas& c, double x, double y, double size, const Rgb& color) {
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, x, y + size * 0.9);
  cairo_curve_to(cr, x - size * 1.4, y, x - size * 0.8, y - size * 1.0, x, y - size * 0.35);
  cairo_curve_to(cr, x + size * 0.8, y - size * 1.0, x + size * 1.4, y, x, y + size * 0.9);
  c.SetColor(color);
  cairo_fill(cr);
}

void LoveCenter(Canvas& c, int phase) {
  Base(c, 38, 0.75);
  const Footprint f = Footprint::Centred(0.5).Moved(0, 0.04);
  Module(c, f, 0, 20, kModuleWhite, kHappyMagenta, 3);
  Dome(c, kIso, 0.5, 0.54, 0.16, 20, 10, kHappyMagenta.Mix(kModuleWhite, 0.5));
  const double pulse = 1 + 0.15 * std::sin(phase * 2 * kPi / 3);
  Heart(c, 72, 38, 8 * pulse, Rgb::Bytes(240, 70, 130));
}

void Casino(Canvas& c, int phase) {
  Base(c, 39, 0.8);
  const Footprint f = Footprint::Centred(0.6);
  Module(c, f, 0, 22, kModuleWhite.Mix(kPowerYellow, 0.1), kHappyMagenta, 4);
  Box(c, kIso, f.Inset(0.1), 22, 6, kHappyMagenta);
  // A marquee of chasing bulbs along the front edges.
  for (int i = 0; i < 16; ++i) {
    const double t = (i + 0.5) / 16;
    const Point p = i < 8 ? kIso.At(f.u0 + (f.u1 - f.u0) * t * 2, f.v1, 19)
                          : kIso.At(f.u1, f.v1 - (f.v1 - f.v0) * (t * 2 - 1), 19);
    const bool lit = (i + phase) % 4 == 0;
    Circle(c, p.x, p.y, 1.4, lit ? kPowerYellow.Shade(1.3) : Rgb::Bytes(150, 60, 120));
  }
  const Point sign = kIso.At(0.5, 0.5, 34);
  Circle(c, sign.x, sign.y + 2, 5, kPowerYellow);
  Circle(c, sign.x, sign.y + 2, 3, kHappyMagenta.Shade(0.8));
}

void JobCenter(Canvas& c, int variant) {
  Base(c, 40 + variant, 0.75);
  const Footprint f = Footprint::Centred(0.55).Moved((variant & 1) * 0.04, (variant & 2) * 0.02);
  const double height = 22 + variant * 2;
  Module(c, f, 0, height, WallOf(variant), kCommBlue, 3);
  GlassPanes(c, kIso, f, Face::Left, 3, height - 6, 3, 2);
  Door(c, kIso, f, Face::Left, 0.5, 0.2, 9, kGlassTeal.Shade(0.7));
  const Point sign = kIso.At(f.u0 + 0.1, f.v1, height + 6);
  Circle(c, sign.x, sign.y, 4, kHappyMagenta);
  Line(c, sign, {sign.x, sign.y + 6}, kSteel, 1);
}

void Gym(Canvas& c, int phase) {
  Base(c, 44, 0.75);
  const Footprint f = Footprint::Centred(0.56);
  Module(c, f, 0, 18, kModuleWhite, kSeriousBlue, 4);
  // A dumbbell sign on the roof that is lifted and lowered.
  const double lift = (phase % 3) * 3.0;
  const Point centre{72, 44 - lift};
  Line(c, {centre.x - 12, centre.y}, {centre.x + 12, centre.y}, kSteel.Shade(0.8), 2.2);
  for (int side = -1; side <= 1; side += 2) {
    cairo_new_path(c.cr());
    cairo_rectangle(c.cr(), centre.x + side * 12 - 3, centre.y - 6, 6, 12);
    c.SetColor(kSeriousBlue);
    cairo_fill(c.cr());
  }
  Line(c, {centre.x, centre.y}, {centre.x, 52}, kSteel, 1.2);
}

void Hospital(Canvas& c) {
  Base(c, 45, 0.8);
  const Footprint f = Footprint::Centred(0.6);
  Module(c, f, 0, 22, kModuleWhite, kSeriousRed, 4);
  GlassPanes(c, kIso, f, Face::Left, 3, 17, 4, 2);
  // A red cross on the roof.
  const Footprint bar1{0.44, 0.3, 0.56, 0.7};
  const Footprint bar2{0.3, 0.44, 0.7, 0.56};
  FlatArea(c, kIso, bar1, kSeriousRed, 22, false);
  FlatArea(c, kIso, bar2, kSeriousRed, 22, false);
}

void Church(Canvas& c) {
  Base(c, 46, 0.7);
  const Footprint nave{0.3, 0.2, 0.8, 0.58};
  CastShadow(c, kIso, nave, 22);
  Box(c, kIso, nave, 0, 14, kModuleWhite);
  GlassPanes(c, kIso, nave, Face::Left, 4, 12, 3, 1, kSeriousBlue.Mix(kGlassTeal, 0.4));
  PitchedRoof(c, kIso, nave.Inset(-0.02), 14, 12, kSeriousBlue.Shade(0.9), true);
  const Footprint tower{0.18, 0.58, 0.36, 0.76};
  CastShadow(c, kIso, tower, 50);
  Box(c, kIso, tower, 0, 30, kModuleWhite.Shade(0.97));
  GlassPanes(c, kIso, tower, Face::Left, 20, 27, 1, 1);
  const Point a = kIso.At(tower.u0, tower.v1, 30);
  const Point b = kIso.At(tower.u1, tower.v1, 30);
  const Point d = kIso.At(tower.u1, tower.v0, 30);
  const Point tip = kIso.At(0.27, 0.67, 52);
  const Point left[3] = {a, b, tip};
  PolygonPath(c, left, 3);
  c.SetColor(kSeriousBlue);
  cairo_fill(c.cr());
  const Point right[3] = {b, d, tip};
  PolygonPath(c, right, 3);
  c.SetColor(kSeriousBlue.Shade(0.7));
  cairo_fill(c.cr());
}

void Library(Canvas& c) {
  Base(c, 47, 0.8);
  const Footprint f{0.2, 0.2, 0.72, 0.7};
  CastShadow(c, kIso, f, 24);
  Box(c, kIso, f, 0, 18, kModuleWhite.Mix(kSand, 0.25));
  // A portico of columns along the front face.
  for (int i = 0; i < 5; ++i) {
    const double u = f.u0 + (f.u1 - f.u0) * (i + 0.5) / 5;
    Line(c, kIso.At(u, f.v1 + 0.06), kIso.At(u, f.v1 + 0.06, 16), kModuleWhite, 2.4);
  }
  FlatArea(c, kIso, {f.u0, f.v1, f.u1, f.v1 + 0.1}, kModuleGrey, 0, false);
  PitchedRoof(c, kIso, {f.u0, f.v0, f.u1, f.v1 + 0.1}, 18, 8, kSeriousBlue, true);
}

void BirthControl(Canvas& c, int phase) {
  Base(c, 48, 0.75);
  const Footprint f = Footprint::Centred(0.5);
  Module(c, f, 0, 20, kModuleWhite, kSeriousRed, 3);
  // A round sign on the roof turning on its post.
  const Point centre{72, 40};
  Line(c, {centre.x, centre.y}, {centre.x, 50}, kSteel, 1.4);
  const double squash = std::abs(std::cos(phase * kPi / 4));
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  EllipseArc(c, centre.x, centre.y, 0.15 + 0.85 * squash, 1.0, 8);
  c.SetColor(phase % 2 == 0 ? kSeriousRed : kSeriousRed.Shade(0.8));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, centre.x - 5 * (0.15 + 0.85 * squash), centre.y - 1.2,
                  10 * (0.15 + 0.85 * squash), 2.4);
  c.SetColor(kModuleWhite);
  cairo_fill(cr);
}

void PellNet(Canvas& c, int phase) {
  Base(c, 49, 0.6);
  Module(c, {0.2, 0.2, 0.45, 0.5}, 0, 12, kModuleGrey, kCommBlue, 1);
  Mast(c, kIso, 0.6, 0.6, 0, 56, kCommSilver, 7);
  // Rings of signal spreading from the mast's dish.
  Dish(c, kIso, 0.6, 0.6, 22, 5, kCommSilver);
  const Point emitter = kIso.At(0.6, 0.6, 22);
  for (int ring = 0; ring < 2; ++ring) {
    const double r = 5 + ((phase + ring * 3) % 6) * 2.4;
    cairo_new_path(c.cr());
    cairo_arc(c.cr(), emitter.x, emitter.y, r, -kPi * 0.9, -kPi * 0.4);
    c.SetColor(kCommBlue.Shade(1.3), 0.9);
    cairo_set_line_width(c.cr(), 1.5);
    cairo_stroke(c.cr());
  }
}

void Telescope(Canvas& c) {
  Base(c, 50, 0.7);
  Cylinder(c, kIso, 0.5, 0.5, 0.22, 0, 16, kModuleWhite);
  Dome(c, kIso, 0.5, 0.5, 0.22, 16, 24, kCommSilver);
  // The slit and the tube looking out of it to the upper left.
  Line(c, {72, 33}, {72, 55}, kCommBlue.Shade(0.5), 4);
  Line(c, {72, 42}, {58, 26}, kSteel, 4);
  Circle(c, 58, 26, 2.5, kGlassTeal);
}

void CommCenter(Canvas& c) {
  Base(c, 51, 0.8);
  const Footprint f{0.45, 0.35, 0.85, 0.8};
  Module(c, f, 0, 18, kModuleWhite, kCommBlue, 3);
  Dish(c, kIso, 0.3, 0.32, 26, 18, kCommSilver);
  Mast(c, kIso, 0.7, 0.5, 18, 24, kCommSilver, 3);
}

}  // namespace

void PaintStructureFrame(Canvas& canvas, int n, int phase) {
  switch (n) {
    case 0:
      return SelectionMarker(canvas, false);
    case 1:
      return SelectionMarker(canvas, true);
    case 2:
      return LandingModule(canvas);
    case 3:
      return WaterCondenser(canvas, phase);
    case 4:
      return WaterWell(canvas, phase);
    case 5:
      return Batteries(canvas);
    case 6:
      return WindPower(canvas, phase);
    case 7:
      return SolarPower(canvas);
    case 36:
      return Pub(canvas, phase);
    case 37:
      return Disco(canvas, phase);
    case 38:
      return LoveCenter(canvas, phase);
    case 39:
      return Casino(canvas, phase);
    case 44:
      return Gym(canvas, phase);
    case 45:
      return Hospital(canvas);
    case 46:
      return Church(canvas);
    case 47:
      return Library(canvas);
    case 48:
      return BirthControl(canvas, phase);
    case 49:
      return PellNet(canvas, phase);
    case 50:
      return Telescope(canvas);
    case 51:
      return CommCenter(canvas);
    default:
      break;
  }
  if (n >= 8 && n < 12) return Crops(canvas, n - 8);
  if (n >= 12 && n < 16) return FishFarm(canvas, n - 12);
  if (n >= 16 && n < 20) return Farm(canvas, n - 16);
  if (n >= 20 && n < 24) return LittleHouse(canvas, n - 20);
  if (n >= 24 && n < 28) return CountryHouse(canvas, n - 24);
  if (n >= 28 && n < 32) return Flats(canvas, n - 28);
  if (n >= 32 && n < 36) return Skyscraper(canvas, n - 32);
  if (n >= 40 && n < 44) return JobCenter(canvas, n - 40);
}

void PaintStructure(Canvas& canvas, const FrameContext& context) {
  PaintStructureFrame(canvas, context.frame, 0);
}

}  // namespace resbuild
