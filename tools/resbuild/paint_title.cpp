// The title screen: MMBkgnd, stretched over the whole screen, and MMButton, the large plate
// behind each of its captions. The picture is Pell at a calm hour: a pale sky with a second
// moon, layers of rust and ochre mesas fading into the dust, and the colony in the
// foreground at the edges and along the bottom. The middle (0.14 to 0.86 across, 0.30 to
// 0.75 down) carries the five buttons, so nothing there draws the eye: only low, hazy
// ridges and the open plain.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/ui.h"

namespace resbuild {
namespace {

using namespace colors;

constexpr double kPi = std::numbers::pi;

void AddStop(cairo_pattern_t* pattern, double at, const Rgb& color, double alpha = 1) {
  cairo_pattern_add_color_stop_rgba(pattern, at, color.r, color.g, color.b, alpha);
}

void FillRect(Canvas& canvas, double x, double y, double w, double h, cairo_pattern_t* pattern) {
  cairo_new_path(canvas.cr());
  cairo_rectangle(canvas.cr(), x, y, w, h);
  cairo_set_source(canvas.cr(), pattern);
  cairo_fill(canvas.cr());
  cairo_pattern_destroy(pattern);
}

void Sky(Canvas& canvas, double horizon) {
  const double w = canvas.width();
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
  AddStop(sky, 0, Rgb::Bytes(176, 160, 168));
  AddStop(sky, 0.45, Rgb::Bytes(214, 190, 178));
  AddStop(sky, 1, Rgb::Bytes(242, 218, 190));
  FillRect(canvas, 0, 0, w, horizon + 4, sky);
  // The low sun's glow behind the haze, off to the right.
  cairo_pattern_t* glow =
      cairo_pattern_create_radial(w * 0.68, horizon, 10, w * 0.68, horizon, w * 0.55);
  AddStop(glow, 0, Rgb::Bytes(255, 240, 214), 0.55);
  AddStop(glow, 1, Rgb::Bytes(255, 240, 214), 0);
  FillRect(canvas, 0, 0, w, horizon + 4, glow);
  // Thin high streaks of dust.
  DetailRandom random(41);
  for (int i = 0; i < 7; ++i) {
    const double y = horizon * random.Range(0.12, 0.7);
    const double x = w * random.Range(-0.1, 0.9);
    const double length = w * random.Range(0.25, 0.5);
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), x + length / 2, y);
    cairo_scale(canvas.cr(), length / 2, random.Range(3, 7));
    cairo_pattern_t* streak = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    AddStop(streak, 0, Rgb::Bytes(250, 236, 222), 0.22);
    AddStop(streak, 1, Rgb::Bytes(250, 236, 222), 0);
    cairo_new_path(canvas.cr());
    cairo_arc(canvas.cr(), 0, 0, 1, 0, 2 * kPi);
    cairo_set_source(canvas.cr(), streak);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(streak);
    cairo_restore(canvas.cr());
  }
}

// The second moon: a pale disc lit from the upper left, thin against the sky, with a few
// faint maria.
void Moon(Canvas& canvas, double x, double y, double radius, double alpha) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  cairo_clip(cr);
  cairo_pattern_t* lit = cairo_pattern_create_radial(x - radius * 0.45, y - radius * 0.45,
                                                     radius * 0.1, x, y, radius * 1.3);
  AddStop(lit, 0, Rgb::Bytes(250, 246, 240), alpha);
  AddStop(lit, 0.7, Rgb::Bytes(226, 220, 226), alpha * 0.85);
  AddStop(lit, 1, Rgb::Bytes(190, 176, 190), alpha * 0.4);
  cairo_rectangle(cr, x - radius, y - radius, 2 * radius, 2 * radius);
  cairo_set_source(cr, lit);
  cairo_fill(cr);
  cairo_pattern_destroy(lit);
  DetailRandom random(43);
  for (int i = 0; i < 6; ++i) {
    const double mx = x + radius * random.Range(-0.6, 0.5);
    const double my = y + radius * random.Range(-0.5, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, mx, my, radius * random.Range(0.08, 0.22), 0, 2 * kPi);
    canvas.SetColor(Rgb::Bytes(176, 164, 184), alpha * 0.35);
    cairo_fill(cr);
  }
  // The night side, turned away from the light.
  cairo_new_path(cr);
  cairo_arc(cr, x + radius * 0.55, y + radius * 0.5, radius * 1.05, 0, 2 * kPi);
  canvas.SetColor(Rgb::Bytes(196, 176, 184), alpha * 0.55);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A range of mesas: flat tops, steep lit and shaded flanks, bands of strata and a little
// grit, painted pixel by pixel from its skyline down to `base`.
struct Mesa {
  double centre;  // pixels
  double top;     // half width of the flat top
  double flank;   // width of each slope
  double height;  // above the range's base
};

struct Range {
  double base;
  double haze;  // 0 sharp .. 1 lost in the dust
  Rgb rock;
  std::uint32_t seed;
  std::vector<Mesa> mesas;
  bool rolling = true;  // low hills between the mesas, or open plain
};

double Skyline(const Range& range, double x) {
  double height = 0;
  for (const Mesa& m : range.mesas) {
    const double d = std::abs(x - m.centre);
    double h = 0;
    if (d <= m.top) {
      h = m.height;
    } else if (d < m.top + m.flank) {
      // A cliff near the top, easing into a talus slope.
      const double t = (d - m.top) / m.flank;
      h = m.height * (1 - std::pow(t, 0.55));
    }
    height = std::max(height, h);
  }
  if (!range.rolling && height <= 0) return range.base + 100;
  const double rough = (FractalNoise(range.seed, x, 0, 40) - 0.5) * 6;
  const double roll = FractalNoise(range.seed + 1, x, 0, 300) * 14;
  return range.base - std::max(0.0, height + roll + rough);
}

void PaintRange(Canvas& canvas, const Range& range, const Rgb& sky) {
  canvas.Flush();
  const int width = canvas.width();
  std::vector<double> skyline(width + 2);
  for (int x = -1; x <= width; ++x) skyline[x + 1] = Skyline(range, x + 0.5);
  const int bottom = std::min(canvas.height(), static_cast<int>(range.base) + 40);
  for (int x = 0; x < width; ++x) {
    const double top = skyline[x + 1];
    const double slope = (skyline[x + 2] - skyline[x]) / 2;  // > 0: the ground falls to the right
    // Flanks facing the upper left catch the light, those facing right lie in shade.
    const double facing = std::clamp(-slope * 0.9, -0.35, 0.3);
    for (int y = std::max(0, static_cast<int>(top)); y < bottom; ++y) {
      // The foot fades into whatever lies in front, so no range ends in a hard line.
      const double coverage =
          std::clamp(y + 1 - top, 0.0, 1.0) * std::clamp((bottom - y) / 30.0, 0.0, 1.0);
      const double depth = y - top;
      const double strata = std::sin((y + 6 * FractalNoise(range.seed + 2, x, y, 60)) * 0.33);
      const double grit = FractalNoise(range.seed + 3, x, y, 9) - 0.5;
      double light = 1 + 0.06 * strata + 0.16 * grit + facing * std::exp(-depth / 90);
      if (depth < 4) light += 0.14 * (1 - depth / 4);  // the sunlit rim of the top
      light -= 0.12 * std::clamp((y - range.base + 60) / 80, 0.0, 1.0);  // shaded foot
      const double haze = std::clamp(range.haze + 0.25 * (y - range.base) / 60, 0.0, 0.9);
      const Rgb color = range.rock.Shade(light).Mix(sky, haze);
      std::uint32_t& pixel = canvas.Row(y)[x];
      const double old[3] = {((pixel >> 16) & 0xFF) / 255.0, ((pixel >> 8) & 0xFF) / 255.0,
                             (pixel & 0xFF) / 255.0};
      const double mixed[3] = {old[0] + (color.r - old[0]) * coverage,
                               old[1] + (color.g - old[1]) * coverage,
                               old[2] + (color.b - old[2]) * coverage};
      auto byte = [](double v) {
        return static_cast<std::uint32_t>(std::clamp(v, 0.0, 1.0) * 255 + 0.5);
      };
      pixel = 0xFF000000u | byte(mixed[0]) << 16 | byte(mixed[1]) << 8 | byte(mixed[2]);
    }
  }
  canvas.MarkDirty();
}

std::vector<Range> Ranges(double w, double horizon) {
  std::vector<Range> ranges;
  // Far away and low across the middle, lost in the haze.
  ranges.push_back({horizon + 4,
                    0.62,
                    kRust.Mix(kOchre, 0.3),
                    51,
                    {{w * 0.08, 90, 60, 62},
                     {w * 0.3, 140, 80, 38},
                     {w * 0.52, 60, 50, 46},
                     {w * 0.7, 180, 90, 34},
                     {w * 0.95, 110, 70, 70}}});
  ranges.push_back({horizon + 14,
                    0.42,
                    kRust.Mix(kOchre, 0.45),
                    52,
                    {{w * 0.0, 120, 90, 118},
                     {w * 0.22, 70, 70, 40},
                     {w * 0.6, 90, 60, 30},
                     {w * 1.0, 150, 80, 108}}});
  // The big mesas stand at the edges, outside the buttons' arc.
  ranges.push_back({horizon + 30,
                    0.2,
                    kRust.Mix(kRustDark, 0.15),
                    53,
                    {{w * 0.01, 110, 60, 210},
                     {w * 0.1, 30, 45, 120},
                     {w * 0.99, 120, 60, 190},
                     {w * 0.905, 20, 45, 96}},
                    false});
  return ranges;
}

void Plain(Canvas& canvas, double horizon) {
  const double w = canvas.width();
  const double h = canvas.height();
  cairo_pattern_t* ground = cairo_pattern_create_linear(0, horizon, 0, h);
  AddStop(ground, 0, kOchreLight.Mix(kSky, 0.35));
  AddStop(ground, 0.35, kOchre.Mix(kRust, 0.25));
  AddStop(ground, 1, kRust.Mix(kRustDark, 0.45));
  // The plain rises out of the haze over the foot of the far ranges.
  cairo_push_group(canvas.cr());
  FillRect(canvas, 0, horizon, w, h - horizon, ground);
  cairo_pop_group_to_source(canvas.cr());
  cairo_pattern_t* rise = cairo_pattern_create_linear(0, horizon + 4, 0, horizon + 44);
  AddStop(rise, 0, kOutline, 0);
  AddStop(rise, 1, kOutline, 1);
  cairo_mask(canvas.cr(), rise);
  cairo_pattern_destroy(rise);
  // Long low drifts of lighter sand, wider towards the viewer.
  DetailRandom random(61);
  for (int i = 0; i < 26; ++i) {
    const double t = random.Unit();
    const double y = horizon + 30 + (h - horizon) * t * t;
    const double x = w * random.Range(-0.1, 1.0);
    const double length = w * (0.08 + 0.25 * t) * random.Range(0.6, 1.3);
    const double thick = 2 + 14 * t;
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), x, y);
    cairo_scale(canvas.cr(), length / 2, thick);
    cairo_pattern_t* drift = cairo_pattern_create_radial(0, -0.3, 0, 0, 0, 1);
    const bool light = i % 3 != 0;
    const Rgb tone = light ? kOchreLight.Shade(1.05) : kRustDark;
    AddStop(drift, 0, tone, light ? 0.18 : 0.12);
    AddStop(drift, 1, tone, 0);
    cairo_new_path(canvas.cr());
    cairo_arc(canvas.cr(), 0, 0, 1, 0, 2 * kPi);
    cairo_set_source(canvas.cr(), drift);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(drift);
    cairo_restore(canvas.cr());
  }
}

// Scattered stones with their shadows, growing towards the viewer, kept out of the middle.
void Stones(Canvas& canvas, double horizon) {
  const double w = canvas.width();
  const double h = canvas.height();
  DetailRandom random(71);
  for (int i = 0; i < 140; ++i) {
    const double t = random.Unit();
    const double y = horizon + 40 + (h - horizon - 40) * std::sqrt(t);
    const double x = w * random.Unit();
    const double size = 1.5 + 9 * t * random.Range(0.5, 1.0);
    if (x > w * 0.12 && x < w * 0.88 && y < h * 0.78) continue;
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    EllipseArc(canvas, x + size * 0.6, y + size * 0.15, size * 1.4, size * 0.4, 1);
    canvas.SetColor(kOutline, 0.22);
    cairo_fill(cr);
    cairo_new_path(cr);
    EllipseArc(canvas, x, y, size, size * 0.6, 1, kPi, 2 * kPi);
    cairo_close_path(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(x - size, y - size, x + size, y);
    AddStop(shade, 0, kRock.Shade(1.35));
    AddStop(shade, 1, kRock.Shade(0.7));
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
  }
}

void Haze(Canvas& canvas, double horizon) {
  cairo_pattern_t* haze = cairo_pattern_create_linear(0, horizon - 160, 0, horizon + 200);
  const Rgb dust = Rgb::Bytes(240, 212, 180);
  AddStop(haze, 0, dust, 0);
  AddStop(haze, 0.45, dust, 0.42);
  AddStop(haze, 0.62, dust, 0.3);
  AddStop(haze, 1, dust, 0);
  FillRect(canvas, 0, horizon - 160, canvas.width(), 360, haze);
}

// The colony, drawn with the map's own shapes at several times their map size, so that it
// shares the tiles' 2 : 3 axes and their light from the upper left.
class Scene {
 public:
  Scene(Canvas& canvas, double x, double y, double scale)
      : canvas_(canvas), x_(x), y_(y), scale_(scale) {}

  // Runs `draw` with the canvas scaled about this scene's origin.
  template <typename Draw>
  void Paint(Draw draw) {
    cairo_save(canvas_.cr());
    cairo_translate(canvas_.cr(), x_, y_);
    cairo_scale(canvas_.cr(), scale_, scale_);
    draw(canvas_, kIso);
    cairo_restore(canvas_.cr());
  }

 private:
  static constexpr Iso kIso{0, 0};
  Canvas& canvas_;
  double x_;
  double y_;
  double scale_;
};

void Road(Canvas& c, const Iso& iso, const Footprint& f, bool alongU) {
  FlatArea(c, iso, f.Inset(-0.03), kRoad.Mix(kOchre, 0.35), 0, false);
  FlatArea(c, iso, f, kRoad, 0, true);
  for (int i = 0; i < 14; ++i) {
    const double a = i / 14.0;
    const double b = a + 0.035;
    if (alongU) {
      const double v = (f.v0 + f.v1) / 2;
      const double u0 = f.u0 + (f.u1 - f.u0) * a;
      const double u1 = f.u0 + (f.u1 - f.u0) * b;
      Line(c, iso.At(u0, v), iso.At(u1, v), kRoadMark, 1.2);
    } else {
      const double u = (f.u0 + f.u1) / 2;
      const double v0 = f.v0 + (f.v1 - f.v0) * a;
      const double v1 = f.v0 + (f.v1 - f.v0) * b;
      Line(c, iso.At(u, v0), iso.At(u, v1), kRoadMark, 1.2);
    }
  }
}

void Module(Canvas& c, const Iso& iso, const Footprint& f, double height, const Rgb& accent,
            int windows) {
  CastShadow(c, iso, f, height);
  Box(c, iso, f, 0, height, kModuleWhite);
  Band(c, iso, f, height - 4, height - 1.5, accent);
  GlassPanes(c, iso, f, Face::Left, 3, height - 6, windows, 1);
  GlassPanes(c, iso, f, Face::Right, 3, height - 6, std::max(1, windows / 2), 1);
}

void LandingModule(Canvas& c, const Iso& iso, double cu, double cv) {
  for (int i = 0; i < 4; ++i) {
    const double du = (i & 1) ? 0.2 : -0.2;
    const double dv = (i & 2) ? 0.2 : -0.2;
    Line(c, iso.At(cu + du, cv + dv), iso.At(cu + du * 0.5, cv + dv * 0.5, 12), kSteel, 1.6);
  }
  CastShadow(c, iso, {cu - 0.2, cv - 0.2, cu + 0.2, cv + 0.2}, 30);
  Cylinder(c, iso, cu, cv, 0.2, 8, 10, kModuleWhite);
  Dome(c, iso, cu, cv, 0.2, 18, 22, kModuleWhite);
  const Point centre = iso.At(cu, cv);
  cairo_t* cr = c.cr();
  cairo_new_path(cr);
  EllipseArc(c, centre.x, centre.y - 13, 28.8, 19.2, 1, 0.1, kPi - 0.1);
  c.SetColor(kCommBlue);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) {
    cairo_new_path(cr);
    cairo_arc(cr, centre.x - 14 + 14 * i, centre.y - 26 + (i == 1 ? 3 : 0), 2.4, 0, 2 * kPi);
    c.SetColor(kGlassTeal);
    cairo_fill(cr);
  }
  Mast(c, iso, cu, cv, 38, 12, kSteel, 3);
}

void SolarRow(Canvas& c, const Iso& iso, double u0, double v0, int panels) {
  for (int i = 0; i < panels; ++i) {
    const double u = u0 + i * 0.3;
    const Point p[4] = {iso.At(u, v0, 8), iso.At(u + 0.26, v0, 8), iso.At(u + 0.26, v0 + 0.18, 2),
                        iso.At(u, v0 + 0.18, 2)};
    Line(c, iso.At(u + 0.13, v0 + 0.09), iso.At(u + 0.13, v0 + 0.09, 5), kSteel, 1.2);
    PolygonPath(c, p, 4);
    c.SetColor(Rgb::Bytes(30, 60, 110));
    cairo_fill_preserve(c.cr());
    c.SetColor(kPowerYellow.Shade(0.9));
    cairo_set_line_width(c.cr(), 0.6);
    cairo_stroke(c.cr());
    Line(c, {(p[0].x + p[3].x) / 2, (p[0].y + p[3].y) / 2},
         {(p[1].x + p[2].x) / 2, (p[1].y + p[2].y) / 2}, Rgb::Bytes(90, 150, 200), 0.6);
  }
}

void LeftColony(Canvas& canvas, double w, double h) {
  // The road leaves the settlement towards the lower right, under the buttons.
  Scene(canvas, w * 0.06, h * 0.7, 2.4).Paint([](Canvas& c, const Iso& iso) {
    Road(c, iso, {0.6, 0.74, 4.6, 0.98}, true);
    FlatArea(c, iso, {-0.55, -0.15, 0.55, 0.7}, kModuleGrey.Shade(0.85), 0, false);
    Module(c, iso, {-0.2, -0.1, 0.28, 0.2}, 20, kWaterCyan, 3);
    Cylinder(c, iso, 0.45, 0.05, 0.12, 0, 34, kModuleWhite.Mix(kWaterCyan, 0.2));
    Mast(c, iso, 0.02, 0.05, 20, 40, kSteel, 6);
    CastShadow(c, iso, {-0.35, 0.15, 0.15, 0.65}, 40);
    Dome(c, iso, -0.1, 0.4, 0.28, 0, 42, kModuleWhite);
    Box(c, iso, {0.12, 0.32, 0.3, 0.48}, 0, 9, kModuleGrey);
    Door(c, iso, {0.12, 0.32, 0.3, 0.48}, Face::Left, 0.5, 0.5, 7, kGlassTeal.Shade(0.7));
    LandingModule(c, iso, 0.65, 0.45);
  });
}

void RightColony(Canvas& canvas, double w, double h) {
  Scene(canvas, w * 0.944, h * 0.72, 2.4).Paint([](Canvas& c, const Iso& iso) {
    Road(c, iso, {-0.05, 0.55, 0.2, 4.6}, false);
    FlatArea(c, iso, {-0.4, -0.35, 0.45, 0.45}, kModuleGrey.Shade(0.85), 0, false);
    Dish(c, iso, -0.05, -0.25, 30, 22, kCommSilver);
    Module(c, iso, {-0.35, 0.0, 0.05, 0.35}, 30, kHousingTerracotta, 3);
    Box(c, iso, {-0.28, 0.07, -0.02, 0.28}, 30, 4, kModuleGrey);
    Dome(c, iso, 0.22, 0.12, 0.2, 0, 30, kModuleWhite.Mix(kHappyMagenta, 0.12));
    SolarRow(c, iso, 0.3, 0.75, 2);
    Module(c, iso, {0.28, 0.4, 0.55, 0.62}, 14, kFoodGreen, 2);
  });
}

// Bits of the colony along the bottom: a rover on the road and a pipeline.
void BottomDetails(Canvas& canvas, double w, double h) {
  Scene(canvas, w * 0.5, h * 0.83, 1.7).Paint([](Canvas& c, const Iso& iso) {
    const Footprint body{-0.12, -0.07, 0.12, 0.07};
    CastShadow(c, iso, body, 12);
    for (int i = 0; i < 4; ++i) {
      const Point wheel = iso.At((i & 1) ? 0.09 : -0.09, (i & 2) ? 0.07 : -0.07, 2.5);
      cairo_new_path(c.cr());
      cairo_arc(c.cr(), wheel.x, wheel.y, 3, 0, 2 * kPi);
      c.SetColor(kSteel.Shade(0.45));
      cairo_fill(c.cr());
    }
    Box(c, iso, body, 3, 6, kModuleWhite);
    Box(c, iso, {-0.12, -0.07, 0.0, 0.07}, 9, 4, kModuleWhite.Shade(0.95));
    GlassPanes(c, iso, {-0.12, -0.07, 0.0, 0.07}, Face::Left, 9, 13, 1, 1);
    Band(c, iso, body, 4, 5.5, kCommBlue);
  });
}

// The title in the game's display face: a soft shadow, a deep blue outline and a lit face.
void TitleText(Canvas& canvas, double centreX, double centreY, double size) {
  cairo_t* cr = canvas.cr();
  cairo_select_font_face(cr, "Comic Neue", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  const char* text = "Redhollow";
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text, &extents);
  const double left = centreX - extents.x_bearing - extents.width / 2;
  const double baseline = centreY - extents.y_bearing - extents.height / 2;
  auto path = [&](double dx, double dy) {
    cairo_new_path(cr);
    cairo_move_to(cr, left + dx, baseline + dy);
    cairo_text_path(cr, text);
  };
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  // A soft shadow: wide faint strokes under narrower, darker ones.
  for (int i = 6; i >= 1; --i) {
    path(size * 0.04, size * 0.06);
    canvas.SetColor(Rgb::Bytes(60, 30, 30), 0.07);
    cairo_set_line_width(cr, size * 0.035 * i);
    cairo_stroke(cr);
  }
  path(0, 0);
  canvas.SetColor(kCaptionBack.Shade(0.7));
  cairo_set_line_width(cr, size * 0.12);
  cairo_stroke_preserve(cr);
  canvas.SetColor(kCaptionBack);
  cairo_set_line_width(cr, size * 0.085);
  cairo_stroke_preserve(cr);
  const double top = baseline + extents.y_bearing;
  const double bottom = top + extents.height;
  cairo_pattern_t* face = cairo_pattern_create_linear(0, top, 0, bottom);
  AddStop(face, 0, kCaptionBlue.Mix(kModuleWhite, 0.45));
  AddStop(face, 0.45, kCaptionBlue);
  AddStop(face, 1, kCaptionBlue.Shade(0.78));
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  // A thin light edge along the upper left of each letter.
  cairo_save(cr);
  path(0, 0);
  cairo_clip(cr);
  path(size * 0.018, size * 0.022);
  canvas.SetColor(kModuleWhite, 0.35);
  cairo_set_line_width(cr, size * 0.03);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void PaintTitleBackground(Canvas& canvas, const FrameContext&) {
  const double w = canvas.width();
  const double h = canvas.height();
  const double horizon = h * 0.5;
  Sky(canvas, horizon);
  Moon(canvas, w * 0.87, h * 0.13, h * 0.055, 0.75);
  Moon(canvas, w * 0.1, h * 0.07, h * 0.012, 0.55);
  const Rgb haze = Rgb::Bytes(238, 212, 186);
  const std::vector<Range> ranges = Ranges(w, horizon);
  PaintRange(canvas, ranges[0], haze);
  PaintRange(canvas, ranges[1], haze);
  Plain(canvas, horizon);
  PaintRange(canvas, ranges[2], haze);
  Haze(canvas, horizon);
  ApplyNoise(canvas, 33, 0.035, 120, 0.02, 0, static_cast<int>(horizon), static_cast<int>(w),
             static_cast<int>(h));
  Stones(canvas, horizon);
  LeftColony(canvas, w, h);
  RightColony(canvas, w, h);
  BottomDetails(canvas, w, h);
  TitleText(canvas, w / 2, h * 0.14, h * 0.15);
}

void PaintTitleButton(Canvas& canvas, const FrameContext& context) {
  const PlateState state = context.frame == 0 ? PlateState::Normal : PlateState::Hover;
  const double x = 4;
  const double y = 14;
  const double w = canvas.width() - 8;
  const double h = canvas.height() - 28;
  cairo_t* cr = canvas.cr();
  // A soft drop shadow under the plate.
  for (int i = 3; i >= 1; --i) {
    RoundedRectPath(canvas, x + 3 - i, y + 5 - i, w + 2 * i - 2, h + 2 * i - 2, 34 + i);
    canvas.SetColor(kOutline, 0.12);
    cairo_fill(cr);
  }
  Plate(canvas, x, y, w, h, 34, state);
  // A gentle grain on the sand face, and an engraved line inside the brass rim.
  ApplyNoise(canvas, 81 + context.frame, 0.03, 18, 0.015);
  const double inset = 15;
  RoundedRectPath(canvas, x + inset, y + inset, w - 2 * inset, h - 2 * inset, 22);
  canvas.SetColor(kBrass.Shade(0.7), 0.8);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  RoundedRectPath(canvas, x + inset + 1.5, y + inset + 1.5, w - 2 * inset, h - 2 * inset, 22);
  canvas.SetColor(kBrassLight.Shade(1.1), 0.7);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
  // A gloss over the upper half of the face.
  RoundedRectPath(canvas, x + inset + 4, y + inset + 3, w - 2 * inset - 8, (h - 2 * inset) * 0.42,
                  18);
  cairo_pattern_t* gloss = cairo_pattern_create_linear(0, y + inset, 0, y + h / 2);
  AddStop(gloss, 0, kModuleWhite, state == PlateState::Hover ? 0.45 : 0.3);
  AddStop(gloss, 1, kModuleWhite, 0);
  cairo_set_source(cr, gloss);
  cairo_fill(cr);
  cairo_pattern_destroy(gloss);
  // Rivets in the rim's corners.
  const double rx[2] = {x + 17, x + w - 17};
  const double ry[2] = {y + 17, y + h - 17};
  for (double px : rx) {
    for (double py : ry) {
      cairo_new_path(cr);
      cairo_arc(cr, px + 0.8, py + 0.8, 3.2, 0, 2 * kPi);
      canvas.SetColor(kOutline, 0.45);
      cairo_fill(cr);
      cairo_new_path(cr);
      cairo_arc(cr, px, py, 3, 0, 2 * kPi);
      cairo_pattern_t* dome = cairo_pattern_create_radial(px - 1, py - 1, 0.3, px, py, 3);
      AddStop(dome, 0, kBrassLight.Shade(1.2));
      AddStop(dome, 1, kBrass.Shade(0.7));
      cairo_set_source(cr, dome);
      cairo_fill(cr);
      cairo_pattern_destroy(dome);
    }
  }
  if (state == PlateState::Hover) {
    // A warm glow around the rim shows where the pointer is.
    RoundedRectPath(canvas, x + 1, y + 1, w - 2, h - 2, 33);
    canvas.SetColor(kPowerYellow.Mix(kModuleWhite, 0.4), 0.8);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
  }
}

}  // namespace resbuild
