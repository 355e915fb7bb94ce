// The category pictures. StType2..7 hold one 96 x 70 cell per item of a building category:
// row 0 normal, row 1 pointer over it or selected, row 2 disabled (also "under
// construction" on the Information page). Each cell shows the structure itself, shrunk from
// its map tile. StType1 holds the Status page's icons and gauge strips at fixed places;
// StType0 the Information page's legend background.
#include <cmath>

#include "tools/resbuild/build.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"
#include "tools/resbuild/ui.h"

namespace resbuild {
namespace {

using namespace colors;

// Draws a finished picture scaled into a box, smoothly; its holes stay transparent.
void DrawShrunk(Canvas& canvas, const gfx::MemVideo& picture, double x, double y, double w,
                double h, double fade = 0) {
  if (picture.empty()) return;
  Canvas source(picture.width(), picture.height());
  source.PutPicture(picture, 0, 0);
  cairo_t* cr = canvas.cr();
  cairo_save(cr);
  const double scale = std::min(w / picture.width(), h / picture.height());
  cairo_translate(cr, x + (w - picture.width() * scale) / 2,
                  y + (h - picture.height() * scale) / 2);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, source.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  if (fade > 0) {
    // Washes the picture out towards the panel's grey, where it was drawn.
    cairo_set_source_rgba(cr, 0.45, 0.43, 0.42, fade);
    cairo_mask_surface(cr, source.surface(), 0, 0);
  }
  cairo_restore(cr);
}

void CellBackground(Canvas& canvas, int row) {
  const Rgb base = row == 1 ? Rgb::Bytes(70, 66, 80) : Rgb::Bytes(44, 42, 50);
  canvas.Fill(base);
  canvas.SetRadialShade(48, 30, 5, 48, 35, 60, base.Shade(1.5), base);
  cairo_paint(canvas.cr());
  RoundedRectPath(canvas, 1.5, 1.5, 93, 67, 6);
  canvas.SetColor(row == 1 ? kBrassLight : kBrass.Shade(0.6));
  cairo_set_line_width(canvas.cr(), row == 1 ? 2.5 : 1.2);
  cairo_stroke(canvas.cr());
}

void PaintCategoryCell(Canvas& canvas, const FrameContext& context, int category) {
  CellBackground(canvas, context.row);
  const int type = 5 * category + context.column - 5;
  const StructureInfo* info = StructureOfType(type);
  if (type == 30) {
    // The Highway has no structure frame; its tile stands for it.
    DrawShrunk(canvas, context.Frame("tiles0", 38), 4, 8, 88, 58, context.row == 2 ? 0.55 : 0);
    return;
  }
  if (info == nullptr) return;  // a spare type: an empty cell
  const int frame = info->finishedFrame + (info->finishedFrames > 1 ? 2 : 0);
  if (context.row == 2 && info->siteFrame >= 0) {
    DrawShrunk(canvas, context.Frame("tiles2", info->siteFrame + info->siteStages - 1), 4, 2, 88,
               66, 0.35);
  } else {
    DrawShrunk(canvas, context.Frame("tiles1", frame), 4, 2, 88, 66);
  }
}

void Strip(Canvas& canvas, double y, double x0, double x1, const Rgb& from, const Rgb& to) {
  cairo_pattern_t* shade = cairo_pattern_create_linear(x0, 0, x1, 0);
  cairo_pattern_add_color_stop_rgb(shade, 0, from.r, from.g, from.b);
  cairo_pattern_add_color_stop_rgb(shade, 1, to.r, to.g, to.b);
  cairo_rectangle(canvas.cr(), x0, y, x1 - x0, 8);
  cairo_set_source(canvas.cr(), shade);
  cairo_fill(canvas.cr());
  cairo_pattern_destroy(shade);
  // A highlight along the top row of the strip gives it some relief.
  cairo_rectangle(canvas.cr(), x0, y, x1 - x0, 1);
  canvas.SetColor(kModuleWhite, 0.35);
  cairo_fill(canvas.cr());
}

}  // namespace

void PaintStType0(Canvas& canvas, const FrameContext&) {
  canvas.Fill(Rgb::Bytes(44, 42, 50));
  for (int y = 0; y < canvas.height(); y += 14) {
    cairo_rectangle(canvas.cr(), 0, y, canvas.width(), 13);
    canvas.SetColor(y % 28 == 0 ? Rgb::Bytes(52, 50, 60) : Rgb::Bytes(46, 44, 54));
    cairo_fill(canvas.cr());
  }
}

void PaintStType1(Canvas& canvas, const FrameContext& context) {
  canvas.Fill(Rgb::Bytes(32, 32, 32));
  const Icon left[4] = {Icon::Drop, Icon::Leaf, Icon::Bolt, Icon::House};
  const Rgb leftColours[4] = {kWaterCyan, kFoodGreen, kPowerYellow, kHousingTerracotta};
  const Icon right[4] = {Icon::Heart, Icon::Smile, Icon::Family, Icon::Antenna};
  const Rgb rightColours[4] = {kSeriousRed, kHappyMagenta, Rgb::Bytes(255, 150, 200), kCommSilver};
  for (int i = 0; i < 4; ++i) {
    DrawIcon(canvas, left[i], 12, 12 + 24 * i, 20, leftColours[i]);
    DrawIcon(canvas, right[i], 52, 12 + 24 * i, 20, rightColours[i]);
  }
  DrawIcon(canvas, Icon::Person, 136, 16, 28, kModuleWhite);
  DrawIcon(canvas, Icon::Growth, 136, 48, 28, kFoodGreen);
  // The level bar reads "more" to the right: from red through yellow to green.
  cairo_pattern_t* level = cairo_pattern_create_linear(0, 0, 160, 0);
  cairo_pattern_add_color_stop_rgb(level, 0, 0.75, 0.15, 0.1);
  cairo_pattern_add_color_stop_rgb(level, 0.5, 0.95, 0.8, 0.15);
  cairo_pattern_add_color_stop_rgb(level, 1, 0.2, 0.8, 0.25);
  cairo_rectangle(canvas.cr(), 0, 96, 160, 8);
  cairo_set_source(canvas.cr(), level);
  cairo_fill(canvas.cr());
  cairo_pattern_destroy(level);
  cairo_rectangle(canvas.cr(), 0, 96, 160, 1);
  canvas.SetColor(kModuleWhite, 0.35);
  cairo_fill(canvas.cr());
  // Balance strips: negative to the left of column 100, positive to the right.
  Strip(canvas, 106, 0, 100, kSeriousRed, kSeriousRed.Mix(kPowerYellow, 0.6));
  Strip(canvas, 106, 100, 200, kFoodGreen.Mix(kPowerYellow, 0.5), kFoodGreen);
  Strip(canvas, 116, 0, 100, kHappyMagenta.Shade(0.8), kHappyMagenta.Mix(kModuleWhite, 0.5));
  Strip(canvas, 116, 100, 200, kCaptionBlue.Mix(kModuleWhite, 0.5), kCaptionBlue);
  DrawShrunk(canvas, context.Frame("tiles1", 2), 0, 126, 96, 70);
}

void PaintStType2(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 2);
}
void PaintStType3(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 3);
}
void PaintStType4(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 4);
}
void PaintStType5(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 5);
}
void PaintStType6(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 6);
}
void PaintStType7(Canvas& canvas, const FrameContext& context) {
  PaintCategoryCell(canvas, context, 7);
}

}  // namespace resbuild
