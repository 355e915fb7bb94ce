#include "tools/resbuild/canvas.h"

#include <algorithm>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RESBUILD_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define RESBUILD_LEAK_CHECKED 1
#endif

#ifdef RESBUILD_LEAK_CHECKED
// cairo's text goes through fontconfig, which loses a small block while parsing its own
// configuration, once per process. Weak, so that the game library's identical suppression
// wins where both are linked.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
#endif

namespace resbuild {

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      cr_(cairo_create(surface_)) {
  // Fixed font options keep text identical from run to run whatever the desktop settings.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

std::uint32_t* Canvas::Row(int y) {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_) +
                                          static_cast<std::ptrdiff_t>(y) *
                                              cairo_image_surface_get_stride(surface_));
}

const std::uint32_t* Canvas::Row(int y) const {
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_) +
                                                static_cast<std::ptrdiff_t>(y) *
                                                    cairo_image_surface_get_stride(surface_));
}

void Canvas::Flush() {
  cairo_surface_flush(surface_);
}
void Canvas::MarkDirty() {
  cairo_surface_mark_dirty(surface_);
}

void Canvas::SetColor(const Rgb& color, double alpha) {
  cairo_set_source_rgba(cr_, color.r, color.g, color.b, alpha);
}

void Canvas::SetRadialShade(double x0, double y0, double r0, double x1, double y1, double r1,
                            const Rgb& inner, const Rgb& outer) {
  cairo_pattern_t* shade = cairo_pattern_create_radial(x0, y0, r0, x1, y1, r1);
  cairo_pattern_add_color_stop_rgb(shade, 0, inner.r, inner.g, inner.b);
  cairo_pattern_add_color_stop_rgb(shade, 1, outer.r, outer.g, outer.b);
  cairo_set_source(cr_, shade);  // the context keeps its own reference
  cairo_pattern_destroy(shade);
}

void Canvas::SetLinearShade(double x0, double y0, double x1, double y1, const Rgb& from,
                            const Rgb& to) {
  cairo_pattern_t* shade = cairo_pattern_create_linear(x0, y0, x1, y1);
  cairo_pattern_add_color_stop_rgb(shade, 0, from.r, from.g, from.b);
  cairo_pattern_add_color_stop_rgb(shade, 1, to.r, to.g, to.b);
  cairo_set_source(cr_, shade);  // the context keeps its own reference
  cairo_pattern_destroy(shade);
}

void Canvas::Fill(const Rgb& color) {
  cairo_save(cr_);
  cairo_reset_clip(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  SetColor(color);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void Canvas::PutPicture(const gfx::MemVideo& picture, int x, int y) {
  Flush();
  for (int sy = 0; sy < picture.height(); ++sy) {
    const int ty = y + sy;
    if (ty < 0 || ty >= height_) continue;
    std::uint32_t* row = Row(ty);
    for (int sx = 0; sx < picture.width(); ++sx) {
      const int tx = x + sx;
      if (tx < 0 || tx >= width_) continue;
      const gfx::Color c = picture.at(sx, sy);
      row[tx] = c == gfx::kBlack ? 0u : (0xFF000000u | c);
    }
  }
  MarkDirty();
}

gfx::MemVideo FlattenCanvas(const Canvas& canvas, bool transparent) {
  const_cast<Canvas&>(canvas).Flush();
  gfx::MemVideo out(canvas.width(), canvas.height());
  for (int y = 0; y < canvas.height(); ++y) {
    const std::uint32_t* row = canvas.Row(y);
    for (int x = 0; x < canvas.width(); ++x) {
      const std::uint32_t p = row[x];
      const std::uint32_t alpha = p >> 24;
      std::uint32_t r = (p >> 16) & 0xFF;
      std::uint32_t g = (p >> 8) & 0xFF;
      std::uint32_t b = p & 0xFF;
      if (transparent) {
        if (alpha < 128) continue;  // stays a hole
        if (alpha < 255) {
          r = std::min<std::uint32_t>(255, (r * 255 + alpha / 2) / alpha);
          g = std::min<std::uint32_t>(255, (g * 255 + alpha / 2) / alpha);
          b = std::min<std::uint32_t>(255, (b * 255 + alpha / 2) / alpha);
        }
      }
      gfx::Color c = gfx::Rgb(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                              static_cast<std::uint8_t>(b));
      if (c == gfx::kBlack) c = kNearBlack;
      out.set(x, y, c);
    }
  }
  return out;
}

namespace {

void SelectFont(cairo_t* cr, const Font& font) {
  cairo_select_font_face(cr, font.family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.size);
}

}  // namespace

void DrawCentredText(Canvas& canvas, double x, double y, const std::string& text, const Font& font,
                     const Rgb& color, bool outline) {
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  SelectFont(cr, font);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  const double left = x - extents.x_bearing - extents.width / 2;
  const double baseline = y - extents.y_bearing - extents.height / 2;
  cairo_move_to(cr, left, baseline);
  cairo_text_path(cr, text.c_str());
  if (outline) {
    canvas.SetColor(colors::kOutline);
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
  }
  canvas.SetColor(color);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace resbuild
