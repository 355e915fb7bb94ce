// The drawing operations of the game on MemVideo surfaces: fills, frames and lines, plain and
// transparent copies, pictures and their frames, stretched pictures, background cut-outs
// and skinned panels. Every operation clips against both surfaces: whatever rectangle or
// position it is given, nothing outside either surface is read or written. None of them
// changes a surface's text or background colour.
#pragma once

#include <cstdint>
#include <optional>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"

namespace gfx {

// Fills and frames.
void FillSurface(MemVideo& dst, Color color);
void FillRect(MemVideo& dst, const IntRect& rect, Color color);
// A one-pixel frame along the inside edge of rect.
void FrameRect(MemVideo& dst, const IntRect& rect, Color color);
// A one-pixel line from (x0, y0) to (x1, y1), both ends drawn: one pixel on every column (or,
// for a steep line, every row) between them, the other coordinate rounded half up. Clipping
// keeps exactly the pixels of the whole line that lie on the surface, wherever the ends are.
void DrawLine(MemVideo& dst, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              Color color);

// The part of a copy of srcRect of a srcWidth x srcHeight surface to (x, y) of a dstWidth x
// dstHeight one that lies inside both: width x height pixels from (srcX, srcY) to (dstX, dstY);
// none when nothing does. Every copy clips this way.
struct CopySpan {
  std::int32_t srcX = 0;
  std::int32_t srcY = 0;
  std::int32_t dstX = 0;
  std::int32_t dstY = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
std::optional<CopySpan> ClipCopySpan(std::int32_t srcWidth, std::int32_t srcHeight,
                                     const IntRect& srcRect, std::int32_t dstWidth,
                                     std::int32_t dstHeight, std::int32_t x, std::int32_t y);

// Plain copy of srcRect of src with its top-left corner at (x, y) of dst.
void CopyRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst, std::int32_t x,
              std::int32_t y);
// Moves every pixel of the surface by (shiftX, shiftY) within it, as a scroll does; what
// moves out is lost, and what is uncovered keeps its old pixels.
void ShiftPixels(MemVideo& surface, std::int32_t shiftX, std::int32_t shiftY);
// Masked copy: where the mask is 1 the destination is kept, where it is 0 the source pixel
// is taken. The mask covers src pixel for pixel.
void TransparentCopy(const MemVideo& src, const ImageMask& mask, const IntRect& srcRect,
                     MemVideo& dst, std::int32_t x, std::int32_t y);

// Pictures. An image without a bitmap draws nothing; a transparent image leaves the
// destination where the picture is black.
void DrawImage(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y);
void DrawImage(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y,
               const IntRect& srcRect);
// Frame n of the image's layout; a LayoutWhole image is drawn whole. The part of a frame
// that lies outside the picture draws nothing.
void DrawFrame(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y, std::int32_t n);
// The source rectangle of frame n in the picture (the whole picture for LayoutWhole); empty
// when the layout has no place for it.
IntRect FrameSourceRect(const WBitmap& image, std::int32_t n);
// Stretched copy of srcRect of the image into dstRect; never transparent.
void StretchImage(MemVideo& dst, const IntRect& dstRect, const WBitmap& image,
                  const IntRect& srcRect, bool smooth);

// The rectangle of a background picture that covering `area` shows under r, where r is in
// screen fractions relative to the area's top-left corner. (0, 0, 0, 0) without a picture.
IntRect BackgroundCutOut(const FracRect& r, const FracRect& area, const WBitmap* background);
// Stretches that cut-out, smoothed, to where r lies on the screen.
void DrawBackgroundCutOut(MemVideo& dst, const FracRect& r, const FracRect& area,
                          const WBitmap* background, const AppVideo& screen);

// A button or framed widget: frame n of frameImage over the background cut-out under r,
// composed at the frame's size in scratch and stretched, smoothed, to r on dst. Without a
// background picture, scratch shows through the frame's transparent pixels as it was.
// r is relative to the area's top-left corner, both in screen fractions.
void DrawSkinnedPanel(MemVideo& dst, const FracRect& r, const WBitmap& frameImage,
                      MemVideo& scratch, const WBitmap* background, const FracRect& area,
                      std::int32_t n, const AppVideo& screen);
// The same, stretched to dstRect, the pixels where r lies on dst (a widget's own rectangle,
// which need not be r's place on the screen).
void DrawSkinnedPanel(MemVideo& dst, const IntRect& dstRect, const FracRect& r,
                      const WBitmap& frameImage, MemVideo& scratch, const WBitmap* background,
                      const FracRect& area, std::int32_t n);

}  // namespace gfx
