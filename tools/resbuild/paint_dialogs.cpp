// The dialogs' pictures: the background stretched over every dialog (DlgBkgnd), the button
// plate (DlgButton: normal, pointer over it, held down; the caption is drawn on top) and the
// message icons (DlgIcon: question, notice or error, spare).
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/ui.h"

namespace resbuild {

using namespace colors;

void PaintDialogBackground(Canvas& canvas, const FrameContext&) {
  const double w = canvas.width();
  const double h = canvas.height();
  // A calm sand texture, a little lighter in the middle; no border, since it is stretched to
  // many shapes.
  canvas.SetRadialShade(w / 2, h * 0.45, 10, w / 2, h / 2, w * 0.7, kSand.Shade(1.06),
                        kSand.Shade(0.86));
  cairo_paint(canvas.cr());
  ApplyNoise(canvas, 61, 0.05, 60, 0.025);
}

void PaintDialogButton(Canvas& canvas, const FrameContext& context) {
  constexpr PlateState kStates[3] = {PlateState::Normal, PlateState::Hover, PlateState::Down};
  Plate(canvas, 1, 1, 126, 46, 12, kStates[context.frame % 3]);
}

void PaintDialogIcon(Canvas& canvas, const FrameContext& context) {
  switch (context.frame) {
    case 0:
      DrawIcon(canvas, Icon::Question, 32, 32, 56, kCaptionBlue);
      break;
    case 1: {
      // A warning triangle with an exclamation mark.
      cairo_t* cr = canvas.cr();
      cairo_new_path(cr);
      cairo_move_to(cr, 32, 5);
      cairo_line_to(cr, 60, 57);
      cairo_line_to(cr, 4, 57);
      cairo_close_path(cr);
      canvas.SetColor(kPowerYellow);
      cairo_fill_preserve(cr);
      canvas.SetColor(kOutline);
      cairo_set_line_width(cr, 2.5);
      cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
      cairo_stroke(cr);
      DrawCentredText(canvas, 32, 38, "!", {"DejaVu Sans", 34, true}, kOutline);
      break;
    }
    default:
      DrawIcon(canvas, Icon::Info, 32, 32, 56, kFoodGreen.Shade(0.9));
      break;
  }
}

}  // namespace resbuild
