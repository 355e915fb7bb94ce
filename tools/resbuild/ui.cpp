#include "tools/resbuild/ui.h"

#include <cmath>
#include <numbers>

#include "tools/resbuild/iso.h"

namespace resbuild {
namespace {

using namespace colors;
constexpr double kPi = std::numbers::pi;

Rgb Grey(const Rgb& c) {
  const double l = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
  return Rgb{l, l, l}.Mix(kSandDark, 0.3);
}

void FillAndOutline(Canvas& canvas, const Rgb& color, double size) {
  cairo_t* cr = canvas.cr();
  canvas.SetColor(color.Shade(0.4));
  cairo_set_line_width(cr, std::max(1.0, size / 16));
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  canvas.SetColor(color);
  cairo_fill(cr);
}

void StrokeIcon(Canvas& canvas, const Rgb& color, double width) {
  cairo_t* cr = canvas.cr();
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  canvas.SetColor(color.Shade(0.4));
  cairo_set_line_width(cr, width + 2);
  cairo_stroke_preserve(cr);
  canvas.SetColor(color);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void Triangle(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_close_path(cr);
}

}  // namespace

Rgb StateColour(const Rgb& color, PlateState state) {
  switch (state) {
    case PlateState::Hover:
      return color.Shade(1.2).Mix(kModuleWhite, 0.15);
    case PlateState::Disabled:
      return Grey(color);
    default:
      return color;
  }
}

void RoundedRectPath(Canvas& canvas, double x, double y, double w, double h, double radius) {
  cairo_t* cr = canvas.cr();
  const double r = std::min(radius, std::min(w, h) / 2);
  cairo_new_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void Plate(Canvas& canvas, double x, double y, double w, double h, double radius, PlateState state,
           const Rgb& face) {
  cairo_t* cr = canvas.cr();
  const bool down = state == PlateState::Down;
  const Rgb rim = state == PlateState::Disabled ? Grey(kBrass) : kBrass;
  const Rgb body = StateColour(face, state);
  RoundedRectPath(canvas, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  const Rgb lit = (down ? rim.Shade(0.7) : rim.Shade(1.3));
  const Rgb dark = (down ? rim.Shade(1.2) : rim.Shade(0.6));
  canvas.SetLinearShade(x, y, x + w, y + h, lit, dark);
  cairo_fill_preserve(cr);
  canvas.SetColor(kOutline, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const double inset = std::max(2.0, std::min(w, h) / 14);
  RoundedRectPath(canvas, x + inset, y + inset, w - 2 * inset, h - 2 * inset,
                  std::max(0.0, radius - inset / 2));
  const Rgb top = down ? body.Shade(0.82) : body.Shade(1.1);
  const Rgb bottom = down ? body.Shade(0.98) : body.Shade(0.86);
  canvas.SetLinearShade(x, y, x, y + h, top, bottom);
  cairo_fill(cr);
}

void Well(Canvas& canvas, double x, double y, double w, double h, double radius) {
  cairo_t* cr = canvas.cr();
  RoundedRectPath(canvas, x, y, w, h, radius);
  const Rgb top = Rgb::Bytes(22, 20, 26);
  const Rgb bottom = Rgb::Bytes(48, 44, 52);
  canvas.SetLinearShade(x, y, x, y + h, top, bottom);
  cairo_fill_preserve(cr);
  canvas.SetColor(kBrassLight, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void DrawIcon(Canvas& canvas, Icon icon, double x, double y, double size, const Rgb& color) {
  cairo_t* cr = canvas.cr();
  const double s = size / 2;  // half size
  const double line = std::max(1.5, size / 9);
  cairo_save(cr);
  cairo_new_path(cr);
  switch (icon) {
    case Icon::Drop:
      cairo_move_to(cr, x, y - s * 0.9);
      cairo_curve_to(cr, x + s * 0.2, y - s * 0.4, x + s * 0.7, y, x + s * 0.6, y + s * 0.3);
      cairo_arc(cr, x, y + s * 0.3, s * 0.6, 0, kPi);
      cairo_curve_to(cr, x - s * 0.7, y, x - s * 0.2, y - s * 0.4, x, y - s * 0.9);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Leaf:
      cairo_move_to(cr, x - s * 0.7, y + s * 0.7);
      cairo_curve_to(cr, x - s * 0.8, y - s * 0.4, x, y - s * 0.9, x + s * 0.8, y - s * 0.8);
      cairo_curve_to(cr, x + s * 0.8, y, x + s * 0.3, y + s * 0.8, x - s * 0.7, y + s * 0.7);
      FillAndOutline(canvas, color, size);
      cairo_move_to(cr, x - s * 0.6, y + s * 0.6);
      cairo_line_to(cr, x + s * 0.4, y - s * 0.4);
      canvas.SetColor(color.Shade(0.6));
      cairo_set_line_width(cr, line * 0.5);
      cairo_stroke(cr);
      break;
    case Icon::Bolt:
      cairo_move_to(cr, x + s * 0.2, y - s * 0.95);
      cairo_line_to(cr, x - s * 0.55, y + s * 0.1);
      cairo_line_to(cr, x - s * 0.05, y + s * 0.1);
      cairo_line_to(cr, x - s * 0.25, y + s * 0.95);
      cairo_line_to(cr, x + s * 0.55, y - s * 0.15);
      cairo_line_to(cr, x + s * 0.05, y - s * 0.15);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::House:
      cairo_move_to(cr, x - s * 0.85, y - s * 0.05);
      cairo_line_to(cr, x, y - s * 0.85);
      cairo_line_to(cr, x + s * 0.85, y - s * 0.05);
      cairo_line_to(cr, x + s * 0.6, y - s * 0.05);
      cairo_line_to(cr, x + s * 0.6, y + s * 0.8);
      cairo_line_to(cr, x - s * 0.6, y + s * 0.8);
      cairo_line_to(cr, x - s * 0.6, y - s * 0.05);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      cairo_rectangle(cr, x - s * 0.18, y + s * 0.25, s * 0.36, s * 0.55);
      canvas.SetColor(color.Shade(0.5));
      cairo_fill(cr);
      break;
    case Icon::Heart:
      cairo_move_to(cr, x, y + s * 0.85);
      cairo_curve_to(cr, x - s * 1.3, y - s * 0.1, x - s * 0.6, y - s * 1.0, x, y - s * 0.4);
      cairo_curve_to(cr, x + s * 0.6, y - s * 1.0, x + s * 1.3, y - s * 0.1, x, y + s * 0.85);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Smile:
      cairo_arc(cr, x, y, s * 0.85, 0, 2 * kPi);
      FillAndOutline(canvas, color, size);
      cairo_arc(cr, x - s * 0.3, y - s * 0.25, s * 0.11, 0, 2 * kPi);
      cairo_arc(cr, x + s * 0.3, y - s * 0.25, s * 0.11, 0, 2 * kPi);
      canvas.SetColor(color.Shade(0.35));
      cairo_fill(cr);
      cairo_arc(cr, x, y + s * 0.05, s * 0.45, 0.2 * kPi, 0.8 * kPi);
      canvas.SetColor(color.Shade(0.35));
      cairo_set_line_width(cr, line * 0.6);
      cairo_stroke(cr);
      break;
    case Icon::Family:
      cairo_arc(cr, x - s * 0.35, y - s * 0.45, s * 0.25, 0, 2 * kPi);
      cairo_new_sub_path(cr);
      cairo_arc(cr, x + s * 0.4, y - s * 0.2, s * 0.18, 0, 2 * kPi);
      FillAndOutline(canvas, color, size);
      cairo_move_to(cr, x - s * 0.75, y + s * 0.85);
      cairo_curve_to(cr, x - s * 0.75, y - s * 0.2, x + s * 0.05, y - s * 0.2, x + s * 0.05,
                     y + s * 0.85);
      cairo_close_path(cr);
      cairo_move_to(cr, x + s * 0.15, y + s * 0.85);
      cairo_curve_to(cr, x + s * 0.15, y + s * 0.05, x + s * 0.7, y + s * 0.05, x + s * 0.7,
                     y + s * 0.85);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Antenna:
      cairo_move_to(cr, x, y - s * 0.2);
      cairo_line_to(cr, x - s * 0.5, y + s * 0.85);
      cairo_move_to(cr, x, y - s * 0.2);
      cairo_line_to(cr, x + s * 0.5, y + s * 0.85);
      StrokeIcon(canvas, color, line);
      for (int i = 1; i <= 2; ++i) {
        cairo_new_path(cr);
        cairo_arc(cr, x, y - s * 0.2, s * 0.35 * i, -0.8 * kPi, -0.2 * kPi);
        StrokeIcon(canvas, color, line * 0.8);
      }
      break;
    case Icon::Person:
      cairo_arc(cr, x, y - s * 0.5, s * 0.32, 0, 2 * kPi);
      FillAndOutline(canvas, color, size);
      cairo_move_to(cr, x - s * 0.7, y + s * 0.9);
      cairo_curve_to(cr, x - s * 0.7, y - s * 0.15, x + s * 0.7, y - s * 0.15, x + s * 0.7,
                     y + s * 0.9);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Growth:
      cairo_move_to(cr, x - s * 0.8, y + s * 0.6);
      cairo_line_to(cr, x - s * 0.2, y);
      cairo_line_to(cr, x + s * 0.1, y + s * 0.3);
      cairo_line_to(cr, x + s * 0.7, y - s * 0.4);
      StrokeIcon(canvas, color, line);
      cairo_new_path(cr);
      Triangle(cr, x + s * 0.85, y - s * 0.65, x + s * 0.35, y - s * 0.5, x + s * 0.75,
               y - s * 0.1);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Globe:
      cairo_arc(cr, x, y, s * 0.85, 0, 2 * kPi);
      FillAndOutline(canvas, color, size);
      EllipseArc(canvas, x, y, 0.4, 1, s * 0.85);
      cairo_move_to(cr, x - s * 0.85, y);
      cairo_line_to(cr, x + s * 0.85, y);
      canvas.SetColor(color.Shade(0.5));
      cairo_set_line_width(cr, line * 0.5);
      cairo_stroke(cr);
      break;
    case Icon::NewGame:
      for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = (i % 2 == 0) ? s * 0.9 : s * 0.4;
        if (i == 0) {
          cairo_move_to(cr, x + r * std::cos(a), y + r * std::sin(a));
        } else {
          cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
        }
      }
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Folder:
      cairo_move_to(cr, x - s * 0.85, y - s * 0.55);
      cairo_line_to(cr, x - s * 0.25, y - s * 0.55);
      cairo_line_to(cr, x - s * 0.1, y - s * 0.35);
      cairo_line_to(cr, x + s * 0.85, y - s * 0.35);
      cairo_line_to(cr, x + s * 0.85, y + s * 0.7);
      cairo_line_to(cr, x - s * 0.85, y + s * 0.7);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Disk:
      cairo_rectangle(cr, x - s * 0.8, y - s * 0.8, s * 1.6, s * 1.6);
      FillAndOutline(canvas, color, size);
      cairo_rectangle(cr, x - s * 0.45, y - s * 0.8, s * 0.9, s * 0.6);
      canvas.SetColor(kModuleWhite);
      cairo_fill(cr);
      cairo_rectangle(cr, x - s * 0.5, y + s * 0.15, s * 1.0, s * 0.55);
      canvas.SetColor(color.Shade(0.55));
      cairo_fill(cr);
      break;
    case Icon::Question:
    case Icon::Info: {
      cairo_arc(cr, x, y, s * 0.9, 0, 2 * kPi);
      FillAndOutline(canvas, color, size);
      const char* text = icon == Icon::Question ? "?" : "i";
      DrawCentredText(canvas, x, y, text, {"DejaVu Sans", size * 0.75, true}, kModuleWhite);
      break;
    }
    case Icon::Pause:
      cairo_rectangle(cr, x - s * 0.6, y - s * 0.7, s * 0.4, s * 1.4);
      cairo_rectangle(cr, x + s * 0.2, y - s * 0.7, s * 0.4, s * 1.4);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Play:
      Triangle(cr, x - s * 0.5, y - s * 0.75, x + s * 0.7, y, x - s * 0.5, y + s * 0.75);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::FastForward:
      Triangle(cr, x - s * 0.85, y - s * 0.65, x, y, x - s * 0.85, y + s * 0.65);
      Triangle(cr, x - s * 0.05, y - s * 0.65, x + s * 0.85, y, x - s * 0.05, y + s * 0.65);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Minimise:
      cairo_rectangle(cr, x - s * 0.7, y + s * 0.35, s * 1.4, s * 0.35);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Quit:
      cairo_arc(cr, x, y + s * 0.1, s * 0.65, -0.3 * kPi, 1.3 * kPi);
      StrokeIcon(canvas, color, line);
      cairo_new_path(cr);
      cairo_move_to(cr, x, y - s * 0.85);
      cairo_line_to(cr, x, y);
      StrokeIcon(canvas, color, line);
      break;
    case Icon::Gauge:
      cairo_arc(cr, x, y + s * 0.35, s * 0.85, kPi, 2 * kPi);
      cairo_close_path(cr);
      FillAndOutline(canvas, color, size);
      cairo_move_to(cr, x, y + s * 0.35);
      cairo_line_to(cr, x + s * 0.45, y - s * 0.3);
      canvas.SetColor(kSeriousRed);
      cairo_set_line_width(cr, line * 0.7);
      cairo_stroke(cr);
      break;
    case Icon::Cross:
      cairo_rectangle(cr, x - s * 0.25, y - s * 0.8, s * 0.5, s * 1.6);
      cairo_rectangle(cr, x - s * 0.8, y - s * 0.25, s * 1.6, s * 0.5);
      canvas.SetColor(color);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      FillAndOutline(canvas, color, size);
      break;
    case Icon::Demolish:
      cairo_move_to(cr, x - s * 0.6, y - s * 0.6);
      cairo_line_to(cr, x + s * 0.6, y + s * 0.6);
      cairo_move_to(cr, x + s * 0.6, y - s * 0.6);
      cairo_line_to(cr, x - s * 0.6, y + s * 0.6);
      StrokeIcon(canvas, color, line * 1.4);
      break;
  }
  cairo_restore(cr);
}

}  // namespace resbuild
