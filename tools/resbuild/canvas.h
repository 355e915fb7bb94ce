// Canvas: the surface a painter draws on, a cairo ARGB32 image of one frame's size (or of a
// whole picture), and its conversion into the pixels that go into an archive.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "gfx/mem_video.h"
#include "tools/resbuild/palette_colors.h"

namespace resbuild {

// The colour that replaces pure black wherever something is drawn.
inline constexpr gfx::Color kNearBlack = gfx::Rgb(8, 8, 12);

class Canvas {
 public:
  // A fully transparent surface; sizes below 1 are raised to 1.
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() { return cr_; }
  cairo_surface_t* surface() { return surface_; }

  // Premultiplied 0xAARRGGBB pixels; call Flush before reading or writing them directly and
  // MarkDirty after writing, so that cairo sees the change.
  std::uint32_t* Row(int y);
  const std::uint32_t* Row(int y) const;
  void Flush();
  void MarkDirty();

  void SetColor(const Rgb& color, double alpha = 1.0);
  // A radial gradient from `inner` on the circle (x0, y0, r0) to `outer` on (x1, y1, r1) as
  // the source of the next fill or paint.
  void SetRadialShade(double x0, double y0, double r0, double x1, double y1, double r1,
                      const Rgb& inner, const Rgb& outer);
  // A linear blend from `from` at (x0, y0) to `to` at (x1, y1) as the source.
  void SetLinearShade(double x0, double y0, double x1, double y1, const Rgb& from, const Rgb& to);
  // Paints every pixel, replacing what was there.
  void Fill(const Rgb& color);
  // Copies a finished picture's pixels exactly at (x, y); its holes (0) become transparent.
  void PutPicture(const gfx::MemVideo& picture, int x, int y);

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// The pixels of a canvas as an archive stores them. A transparent picture keeps pure black
// (0) for holes only: pixels at least half covered are shown at their own, un-premultiplied
// colour, so anti-aliased edges never fade into black; the rest become holes. An opaque
// picture shows every pixel as drawn over black. Either way a shown pixel that would be pure
// black becomes kNearBlack.
gfx::MemVideo FlattenCanvas(const Canvas& canvas, bool transparent);

struct Font {
  std::string family = "Liberation Sans";  // also "Comic Neue", "DejaVu Sans"
  double size = 12;                        // pixels
  bool bold = false;
};

// Text centred on (x, y) both ways, with a one-pixel dark outline for legibility when
// outline is set.
void DrawCentredText(Canvas& canvas, double x, double y, const std::string& text, const Font& font,
                     const Rgb& color, bool outline = false);

}  // namespace resbuild
