// The game screen's panels: the two halves of the top strip (PTBIBkgnd, PConstBkgnd), the
// counter box (PopInfo), the calendar box (CalInfo) and the Earth report (EarthCBkgnd,
// EarthCImage). The wells of the counter box and the bands of the calendar lie where the game
// writes its figures (screens/info_box_art.h).
#include <cmath>
#include <numbers>

#include "screens/info_box_art.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/ui.h"

namespace resbuild {
namespace {

using namespace colors;

void Rivet(Canvas& canvas, double x, double y) {
  cairo_new_path(canvas.cr());
  cairo_arc(canvas.cr(), x, y, 3, 0, 2 * std::numbers::pi);
  canvas.SetRadialShade(x - 1, y - 1, 0.5, x, y, 3.5, kBrassLight.Shade(1.2), kBrass.Shade(0.6));
  cairo_fill(canvas.cr());
}

// A sand-coloured metal panel with a brass bevel and rivets; stretches well both ways.
void StripPanel(Canvas& canvas, std::uint32_t seed) {
  const double w = canvas.width();
  const double h = canvas.height();
  const Rgb top = kSand.Shade(1.08);
  const Rgb bottom = kSand.Shade(0.82);
  canvas.SetLinearShade(0, 0, 0, h, top, bottom);
  cairo_paint(canvas.cr());
  ApplyNoise(canvas, seed, 0.04, 40, 0.03);
  cairo_rectangle(canvas.cr(), 2, 2, w - 4, h - 4);
  canvas.SetColor(kBrass);
  cairo_set_line_width(canvas.cr(), 4);
  cairo_stroke(canvas.cr());
  cairo_rectangle(canvas.cr(), 0.5, 0.5, w - 1, h - 1);
  canvas.SetColor(kBrass.Shade(0.55));
  cairo_set_line_width(canvas.cr(), 1);
  cairo_stroke(canvas.cr());
  for (double x : {10.0, w - 10}) {
    for (double y : {10.0, h - 10}) Rivet(canvas, x, y);
  }
}

void EarthDisk(Canvas& canvas, double cx, double cy, double r, double turn, std::uint32_t seed) {
  canvas.Flush();
  for (int y = 0; y < canvas.height(); ++y) {
    std::uint32_t* row = canvas.Row(y);
    for (int x = 0; x < canvas.width(); ++x) {
      const double dx = (x + 0.5 - cx) / r;
      const double dy = (y + 0.5 - cy) / r;
      const double d2 = dx * dx + dy * dy;
      if (d2 > 1) continue;
      const double dz = std::sqrt(1 - d2);
      // Longitude turns with the frame; the map is noise wrapped on the sphere.
      const double lon = std::atan2(dx, dz) + turn;
      const double lat = std::asin(dy);
      const double land = FractalNoise(seed, lon * 40, lat * 40, 22);
      const double cloud = FractalNoise(seed + 9, lon * 40 + 7, lat * 40, 14);
      Rgb c = land > 0.55 ? Rgb::Bytes(70, 140, 60).Mix(Rgb::Bytes(170, 140, 90), (land - 0.55) * 3)
                          : Rgb::Bytes(20, 60, 150).Mix(Rgb::Bytes(40, 110, 190), land);
      if (cloud > 0.6) c = c.Mix(kModuleWhite, std::min(1.0, (cloud - 0.6) * 4));
      const double light = std::clamp(0.25 + 0.85 * (-0.5 * dx - 0.4 * dy + 0.75 * dz), 0.15, 1.1);
      c = c.Shade(light);
      row[x] = 0xFF000000u | (static_cast<std::uint32_t>(c.r * 255) << 16) |
               (static_cast<std::uint32_t>(c.g * 255) << 8) | static_cast<std::uint32_t>(c.b * 255);
    }
  }
  canvas.MarkDirty();
}

}  // namespace

void PaintToolPanelBackground(Canvas& canvas, const FrameContext&) {
  StripPanel(canvas, 71);
}
void PaintPalettePanelBackground(Canvas& canvas, const FrameContext&) {
  StripPanel(canvas, 72);
}

void PaintCounterBox(Canvas& canvas, const FrameContext&) {
  canvas.Fill(kSand.Shade(0.9));
  ApplyNoise(canvas, 73, 0.04, 20, 0.02);
  const Icon icons[4] = {Icon::Drop, Icon::Leaf, Icon::Bolt, Icon::House};
  const Rgb colours[4] = {kWaterCyan, kFoodGreen, kPowerYellow, kHousingTerracotta};
  for (std::size_t i = 0; i < 4; ++i) {
    const screens::art::ArtPoint icon = screens::art::kCounterIcons[i];
    const screens::art::ArtRect well = screens::art::kCounterWells[i];
    DrawIcon(canvas, icons[i], icon.x, icon.y, 18, colours[i]);
    Well(canvas, well.left, well.top, well.right - well.left, well.bottom - well.top, 4);
  }
  const screens::art::ArtRect population = screens::art::kPopulationWell;
  DrawIcon(canvas, Icon::Person, screens::art::kPersonIcon.x, screens::art::kPersonIcon.y, 18,
           kModuleWhite);
  Well(canvas, population.left, population.top, population.right - population.left,
       population.bottom - population.top, 4);
  cairo_rectangle(canvas.cr(), 0.5, 0.5, canvas.width() - 1, canvas.height() - 1);
  canvas.SetColor(kBrass.Shade(0.7));
  cairo_set_line_width(canvas.cr(), 1);
  cairo_stroke(canvas.cr());
}

void PaintCalendarBox(Canvas& canvas, const FrameContext&) {
  canvas.Fill(kSand.Shade(0.85));
  // A page with a red band for the year, then the month, then room for the day.
  RoundedRectPath(canvas, 6, 8, 84, 84, 5);
  canvas.SetColor(kOutline, 0.3);
  cairo_fill(canvas.cr());
  const screens::art::ArtRect page = screens::art::kCalendarPage;
  const screens::art::ArtRect year = screens::art::kCalendarYear;
  RoundedRectPath(canvas, page.left, page.top, page.right - page.left, page.bottom - page.top, 5);
  canvas.SetColor(kModuleWhite.Shade(1.02));
  cairo_fill(canvas.cr());
  cairo_rectangle(canvas.cr(), year.left, year.top, year.right - year.left, year.bottom - year.top);
  canvas.SetColor(kSeriousRed);
  cairo_fill(canvas.cr());
  // The line between the month and the day.
  cairo_rectangle(canvas.cr(), page.left + 4, screens::art::kCalendarMonth.bottom,
                  page.right - page.left - 8, 1);
  canvas.SetColor(kModuleGrey);
  cairo_fill(canvas.cr());
  for (double x : {22.0, 70.0}) {
    cairo_new_path(canvas.cr());
    cairo_arc(canvas.cr(), x, 8, 3.5, 0, 2 * std::numbers::pi);
    canvas.SetColor(kBrass);
    cairo_fill(canvas.cr());
  }
}

// A pale console screen: the report's texts are written on it in black.
void PaintEarthReportBackground(Canvas& canvas, const FrameContext&) {
  const double w = canvas.width();
  const double h = canvas.height();
  canvas.SetRadialShade(w / 2, h / 2, 20, w / 2, h / 2, w * 0.75, Rgb::Bytes(214, 226, 240),
                        Rgb::Bytes(168, 188, 214));
  cairo_paint(canvas.cr());
  for (double x = 20; x < w; x += 40) {
    cairo_rectangle(canvas.cr(), x, 0, 1, h);
  }
  for (double y = 20; y < h; y += 40) {
    cairo_rectangle(canvas.cr(), 0, y, w, 1);
  }
  canvas.SetColor(kCaptionBack, 0.08);
  cairo_fill(canvas.cr());
  ApplyNoise(canvas, 74, 0.03, 30, 0.02);
  cairo_rectangle(canvas.cr(), 4, 4, w - 8, h - 8);
  canvas.SetColor(kBrass);
  cairo_set_line_width(canvas.cr(), 8);
  cairo_stroke(canvas.cr());
}

void PaintEarthImage(Canvas& canvas, const FrameContext& context) {
  canvas.Fill(Rgb::Bytes(4, 6, 14));
  DetailRandom stars(900);
  for (int i = 0; i < 40; ++i) {
    cairo_rectangle(canvas.cr(), std::floor(stars.Range(0, 144)), std::floor(stars.Range(0, 144)),
                    1, 1);
    canvas.SetColor(kModuleWhite, stars.Range(0.3, 0.9));
    cairo_fill(canvas.cr());
  }
  EarthDisk(canvas, 72, 72, 56, context.frame * 0.12, 77);
  // The link's scan lines and a little signal noise, different in every frame.
  for (int y = 0; y < 144; y += 3) {
    cairo_rectangle(canvas.cr(), 0, y, 144, 1);
  }
  canvas.SetColor(kCaptionBack, 0.18);
  cairo_fill(canvas.cr());
  ApplyNoise(canvas, 80 + context.frame, 0.03, 8, 0.08);
}

}  // namespace resbuild
