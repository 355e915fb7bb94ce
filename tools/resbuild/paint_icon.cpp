// The game's icon for the desktop: the landing module under Pell's pale sky on rust ground,
// in a rounded brass-edged tile, painted at every size the desktop asks for.
#include <cairo.h>

#include <numbers>
#include <system_error>

#include "tools/resbuild/canvas.h"
#include "tools/resbuild/icon.h"
#include "tools/resbuild/palette_colors.h"
#include "tools/resbuild/ui.h"

namespace resbuild {

namespace {

using namespace colors;

// Painted on a 256-unit square, scaled to the icon's size.
void PaintIcon(Canvas& canvas) {
  cairo_t* cr = canvas.cr();
  cairo_scale(cr, canvas.width() / 256.0, canvas.height() / 256.0);
  // The tile: sky above a horizon, rust ground below.
  RoundedRectPath(canvas, 8, 8, 240, 240, 40);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  canvas.SetLinearShade(0, 8, 0, 150, kSky.Shade(1.05), kSky.Shade(0.86));
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 150, 256, 106);
  canvas.SetLinearShade(0, 150, 0, 248, kRust.Shade(1.15), kRustDark);
  cairo_fill(cr);
  // A mesa on the horizon.
  cairo_move_to(cr, 8, 150);
  cairo_line_to(cr, 8, 118);
  cairo_line_to(cr, 58, 116);
  cairo_line_to(cr, 70, 132);
  cairo_line_to(cr, 120, 134);
  cairo_line_to(cr, 130, 150);
  cairo_close_path(cr);
  canvas.SetColor(kRust.Shade(0.95), 0.8);
  cairo_fill(cr);
  cairo_restore(cr);
  // The landing module: a white dome on legs over its shadow, with teal windows and a mast.
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, 128, 196);
  cairo_scale(cr, 1.0, 0.28);
  cairo_arc(cr, 0, 0, 78, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
  canvas.SetColor(kOutline, 0.35);
  cairo_fill(cr);
  for (const double x : {78.0, 178.0}) {
    cairo_rectangle(cr, x - 5, 160, 10, 34);
    canvas.SetColor(kModuleWhite.Shade(0.7));
    cairo_fill(cr);
  }
  cairo_new_path(cr);
  cairo_arc(cr, 128, 168, 66, std::numbers::pi, 2 * std::numbers::pi);
  cairo_close_path(cr);
  canvas.SetRadialShade(104, 120, 6, 128, 150, 80, kModuleWhite.Shade(1.08),
                        kModuleWhite.Shade(0.72));
  cairo_fill(cr);
  cairo_rectangle(cr, 58, 164, 140, 16);
  canvas.SetColor(kModuleWhite.Shade(0.8));
  cairo_fill(cr);
  for (const double x : {96.0, 128.0, 160.0}) {
    cairo_new_path(cr);
    cairo_arc(cr, x, 142, 9, 0, 2 * std::numbers::pi);
    canvas.SetColor(kGlassTeal);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 125, 62, 6, 42);
  canvas.SetColor(kModuleWhite.Shade(0.6));
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, 128, 60, 7, 0, 2 * std::numbers::pi);
  canvas.SetColor(Rgb::Bytes(210, 60, 40));
  cairo_fill(cr);
  // The brass edge.
  RoundedRectPath(canvas, 8, 8, 240, 240, 40);
  canvas.SetColor(kBrass);
  cairo_set_line_width(cr, 10);
  cairo_stroke(cr);
}

}  // namespace

bool WriteIcons(const std::filesystem::path& folder, std::string* error) {
  for (const int size : kIconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path dir = folder / "hicolor" / name / "apps";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    Canvas canvas(size, size);
    PaintIcon(canvas);
    canvas.Flush();
    const std::filesystem::path file = dir / "redhollow.png";
    if (cairo_surface_write_to_png(canvas.surface(), file.c_str()) != CAIRO_STATUS_SUCCESS) {
      if (error != nullptr) *error = file.string() + ": cannot write";
      return false;
    }
  }
  return true;
}

}  // namespace resbuild
