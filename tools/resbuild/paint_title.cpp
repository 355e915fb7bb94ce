// The title screen: MMBkgnd, stretched over the whole screen (the planet's landscape with the
// colony and the title in the top quarter; the middle, 0.14 to 0.86 across and 0.30 to 0.75
// down, stays calm for the five buttons), and MMButton, the large plate behind a caption.
#include <cmath>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/ui.h"

namespace resbuild {
namespace {

using namespace colors;

void Sky(Canvas& canvas, double horizon) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
  const Rgb high = Rgb::Bytes(196, 170, 160);
  cairo_pattern_add_color_stop_rgb(sky, 0, high.r, high.g, high.b);
  cairo_pattern_add_color_stop_rgb(sky, 1, kSky.r, kSky.g, kSky.b);
  cairo_rectangle(canvas.cr(), 0, 0, canvas.width(), horizon + 2);
  cairo_set_source(canvas.cr(), sky);
  cairo_fill(canvas.cr());
  cairo_pattern_destroy(sky);
}

// Distant mesas: a ragged ridge line from low-frequency noise.
void Ridge(Canvas& canvas, double base, double height, const Rgb& color, std::uint32_t seed) {
  cairo_t* cr = canvas.cr();
  cairo_new_path(cr);
  cairo_move_to(cr, 0, base);
  for (int x = 0; x <= canvas.width(); x += 4) {
    const double n = FractalNoise(seed, x, 0, 260);
    const double flat = std::round(n * 5) / 5;  // mesas have flat tops
    cairo_line_to(cr, x, base - height * (0.4 * n + 0.6 * flat));
  }
  cairo_line_to(cr, canvas.width(), base);
  cairo_close_path(cr);
  canvas.SetColor(color);
  cairo_fill(cr);
}

void Plain(Canvas& canvas, double horizon) {
  cairo_pattern_t* ground = cairo_pattern_create_linear(0, horizon, 0, canvas.height());
  const Rgb far = kOchreLight.Mix(kSky, 0.3);
  const Rgb near = kRust.Mix(kRustDark, 0.3);
  cairo_pattern_add_color_stop_rgb(ground, 0, far.r, far.g, far.b);
  cairo_pattern_add_color_stop_rgb(ground, 1, near.r, near.g, near.b);
  cairo_rectangle(canvas.cr(), 0, horizon, canvas.width(), canvas.height() - horizon);
  cairo_set_source(canvas.cr(), ground);
  cairo_fill(canvas.cr());
  cairo_pattern_destroy(ground);
}

// A cluster of modules drawn with the map's own shapes, scaled up.
void Colony(Canvas& canvas, double x, double y, double scale, bool mirrored) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, mirrored ? -scale : scale, scale);
  const Iso iso(0, 0);
  Box(canvas, iso, {0.0, -0.4, 0.5, 0.1}, 0, 30, kModuleWhite);
  GlassPanes(canvas, iso, {0.0, -0.4, 0.5, 0.1}, Face::Left, 6, 24, 3, 2);
  Dome(canvas, iso, 0.8, 0.4, 0.3, 0, 45, kModuleWhite);
  Cylinder(canvas, iso, -0.2, 0.6, 0.15, 0, 40, kModuleGrey);
  Band(canvas, iso, {0.0, -0.4, 0.5, 0.1}, 26, 30, kWaterCyan);
  Mast(canvas, iso, 0.25, -0.15, 30, 50, kSteel, 8);
  Box(canvas, iso, {0.6, 0.9, 1.1, 1.3}, 0, 18, kModuleGrey.Shade(1.05));
  PitchedRoof(canvas, iso, {0.6, 0.9, 1.1, 1.3}, 18, 12, kHousingTerracotta, true);
  cairo_restore(cr);
}

}  // namespace

void PaintTitleBackground(Canvas& canvas, const FrameContext&) {
  const double w = canvas.width();
  const double h = canvas.height();
  const double horizon = h * 0.52;
  Sky(canvas, horizon);
  Ridge(canvas, horizon + 2, h * 0.09, kRust.Mix(kSky, 0.55), 31);
  Ridge(canvas, horizon + 2, h * 0.05, kRust.Mix(kSky, 0.35), 32);
  Plain(canvas, horizon);
  ApplyNoise(canvas, 33, 0.06, 90, 0.025, 0, static_cast<int>(horizon), static_cast<int>(w),
             static_cast<int>(h));
  // The colony keeps to the lower corners, outside the buttons' arc.
  Colony(canvas, w * 0.06, h * 0.80, 1.5, false);
  Colony(canvas, w * 0.86, h * 0.82, 1.3, false);
  // The title in the top quarter, blue on a darker blue edge.
  const Font title{"Liberation Sans", h * 0.12, true};
  DrawCentredText(canvas, w / 2 + 4, h * 0.135 + 5, "Redhollow", title, kOutline.Mix(kSky, 0.6));
  cairo_save(canvas.cr());
  DrawCentredText(canvas, w / 2, h * 0.135, "Redhollow", title, kCaptionBack);
  cairo_restore(canvas.cr());
  DrawCentredText(canvas, w / 2 - 2, h * 0.135 - 3, "Redhollow", title, kCaptionBlue);
}

void PaintTitleButton(Canvas& canvas, const FrameContext& context) {
  const PlateState state = context.frame == 0 ? PlateState::Normal : PlateState::Hover;
  Plate(canvas, 2, 16, 252, 128, 40, state);
}

}  // namespace resbuild
