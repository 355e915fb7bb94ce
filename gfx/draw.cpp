#include "gfx/draw.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "gfx/stretch.h"

namespace gfx {

namespace {

// Rectangles are clipped in 64 bits so that positions near the 32-bit limits (a frame far
// beyond its picture, a damaged layout) cannot overflow on the way.
struct Rect64 {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
};

Rect64 Widen(const IntRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

bool ClipCopy(std::int64_t srcWidth, std::int64_t srcHeight, Rect64 src, std::int64_t dstWidth,
              std::int64_t dstHeight, std::int64_t x, std::int64_t y, CopySpan& span) {
  // Trimming the source moves the destination corner along with it.
  if (src.left < 0) x -= src.left, src.left = 0;
  if (src.top < 0) y -= src.top, src.top = 0;
  src.right = std::min(src.right, srcWidth);
  src.bottom = std::min(src.bottom, srcHeight);
  if (x < 0) src.left -= x, x = 0;
  if (y < 0) src.top -= y, y = 0;
  src.right = std::min(src.right, src.left + (dstWidth - x));
  src.bottom = std::min(src.bottom, src.top + (dstHeight - y));
  if (src.right <= src.left || src.bottom <= src.top) return false;
  span = {static_cast<std::int32_t>(src.left),
          static_cast<std::int32_t>(src.top),
          static_cast<std::int32_t>(x),
          static_cast<std::int32_t>(y),
          static_cast<std::int32_t>(src.right - src.left),
          static_cast<std::int32_t>(src.bottom - src.top)};
  return true;
}

void CopyRect64(const MemVideo& src, const Rect64& srcRect, MemVideo& dst, std::int64_t x,
                std::int64_t y) {
  CopySpan span;
  if (!ClipCopy(src.width(), src.height(), srcRect, dst.width(), dst.height(), x, y, span)) return;
  for (std::int32_t row = 0; row < span.height; ++row) {
    std::memcpy(dst.row(span.dstY + row) + span.dstX, src.row(span.srcY + row) + span.srcX,
                static_cast<std::size_t>(span.width) * sizeof(Color));
  }
}

void TransparentCopy64(const MemVideo& src, const ImageMask& mask, const Rect64& srcRect,
                       MemVideo& dst, std::int64_t x, std::int64_t y) {
  // A mask of another size than its picture is only trusted where both exist.
  const std::int64_t width = std::min<std::int64_t>(src.width(), mask.width);
  const std::int64_t height = std::min<std::int64_t>(src.height(), mask.height);
  if (mask.keyed.size() < static_cast<std::size_t>(std::max<std::int32_t>(mask.width, 0)) *
                              static_cast<std::size_t>(std::max<std::int32_t>(mask.height, 0))) {
    return;
  }
  CopySpan span;
  if (!ClipCopy(width, height, srcRect, dst.width(), dst.height(), x, y, span)) return;
  for (std::int32_t row = 0; row < span.height; ++row) {
    const Color* from = src.row(span.srcY + row) + span.srcX;
    const std::uint8_t* keyed = mask.keyed.data() +
                                static_cast<std::size_t>(span.srcY + row) * mask.width +
                                static_cast<std::size_t>(span.srcX);
    Color* to = dst.row(span.dstY + row) + span.dstX;
    // Every pixel is written, kept or taken, so that the loop runs without branches.
    for (std::int32_t col = 0; col < span.width; ++col) {
      to[col] = keyed[col] ? to[col] : from[col];
    }
  }
}

void DrawImage64(MemVideo& dst, const WBitmap& image, std::int64_t x, std::int64_t y,
                 const Rect64& srcRect) {
  if (!image.present()) return;
  if (image.transparent && image.mask) {
    TransparentCopy64(*image.bitmap, *image.mask, srcRect, dst, x, y);
  } else {
    CopyRect64(*image.bitmap, srcRect, dst, x, y);
  }
}

std::optional<Rect64> FrameSource64(const WBitmap& image, std::int32_t n) {
  if (image.layout == LayoutWhole) return Rect64{0, 0, image.width, image.height};
  const std::optional<FramePoint> at = FramePosition(image, n);
  if (!at) return std::nullopt;
  return Rect64{at->x, at->y, std::int64_t{at->x} + image.frameWidth,
                std::int64_t{at->y} + image.frameHeight};
}

// A rectangle whose width or height does not fit in 32 bits can only come from a damaged
// layout; the stretch kernels are not asked to map it.
bool SpansFit(const IntRect& r) {
  return std::int64_t{r.right} - r.left <= INT32_MAX && std::int64_t{r.bottom} - r.top <= INT32_MAX;
}

void Stretch(const MemVideo& src, const IntRect& srcRect, MemVideo& dst, const IntRect& dstRect,
             bool smooth) {
  if (!SpansFit(srcRect) || !SpansFit(dstRect)) {
    if (smooth) dst.halftoneStretch = true;
    return;
  }
  StretchRect(src, srcRect, dst, dstRect, smooth);
}

// r (relative to the area) in pixels of the screen, moved by the area's top-left corner.
IntRect PanelPixels(const FracRect& r, const FracRect& area, const AppVideo& screen) {
  const IntRect local = FracToPixels(r, screen);
  const std::int64_t dx = RoundHalfUp(static_cast<float>(screen.width) * area.left);
  const std::int64_t dy = RoundHalfUp(static_cast<float>(screen.height) * area.top);
  return {SaturateToInt32(local.left + dx), SaturateToInt32(local.top + dy),
          SaturateToInt32(local.right + dx), SaturateToInt32(local.bottom + dy)};
}

}  // namespace

std::optional<CopySpan> ClipCopySpan(std::int32_t srcWidth, std::int32_t srcHeight,
                                     const IntRect& srcRect, std::int32_t dstWidth,
                                     std::int32_t dstHeight, std::int32_t x, std::int32_t y) {
  CopySpan span;
  if (!ClipCopy(srcWidth, srcHeight, Widen(srcRect), dstWidth, dstHeight, x, y, span)) {
    return std::nullopt;
  }
  return span;
}

void FillSurface(MemVideo& dst, Color color) {
  FillRect(dst, dst.bounds(), color);
}

void FillRect(MemVideo& dst, const IntRect& rect, Color color) {
  const IntRect clip = rect.Intersect(dst.bounds());
  if (clip.IsEmpty()) return;
  const Color pixel = color & 0xFFFFFF;
  for (std::int32_t y = clip.top; y < clip.bottom; ++y) {
    std::fill(dst.row(y) + clip.left, dst.row(y) + clip.right, pixel);
  }
}

void FrameRect(MemVideo& dst, const IntRect& rect, Color color) {
  if (rect.IsEmpty()) return;
  FillRect(dst, {rect.left, rect.top, rect.right, rect.top + 1}, color);
  FillRect(dst, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
  FillRect(dst, {rect.left, rect.top + 1, rect.left + 1, rect.bottom - 1}, color);
  FillRect(dst, {rect.right - 1, rect.top + 1, rect.right, rect.bottom - 1}, color);
}

void CopyRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst, std::int32_t x,
              std::int32_t y) {
  CopyRect64(src, Widen(srcRect), dst, x, y);
}

void ShiftPixels(MemVideo& surface, std::int32_t shiftX, std::int32_t shiftY) {
  const std::int32_t width = surface.width();
  const std::int32_t height = surface.height();
  const std::int32_t rows = height - std::abs(shiftY);
  if (rows <= 0 || std::abs(shiftX) >= width) return;
  if (shiftX == 0) {
    // Whole rows lie one after the other: one move.
    Color* base = surface.pixels();
    const std::size_t rowPixels = static_cast<std::size_t>(width);
    std::memmove(base + static_cast<std::size_t>(std::max(shiftY, 0)) * rowPixels,
                 base + static_cast<std::size_t>(std::max(-shiftY, 0)) * rowPixels,
                 static_cast<std::size_t>(rows) * rowPixels * sizeof(Color));
    return;
  }
  const std::int32_t from = std::max(-shiftX, 0);
  const std::int32_t to = std::max(shiftX, 0);
  const std::size_t bytes = static_cast<std::size_t>(width - std::abs(shiftX)) * sizeof(Color);
  // Rows move away from the side they are read from, so none is read after it was written.
  if (shiftY > 0) {
    for (std::int32_t y = height - 1; y >= shiftY; --y) {
      std::memmove(surface.row(y) + to, surface.row(y - shiftY) + from, bytes);
    }
  } else {
    for (std::int32_t y = 0; y < rows; ++y) {
      std::memmove(surface.row(y) + to, surface.row(y - shiftY) + from, bytes);
    }
  }
}

void TransparentCopy(const MemVideo& src, const ImageMask& mask, const IntRect& srcRect,
                     MemVideo& dst, std::int32_t x, std::int32_t y) {
  TransparentCopy64(src, mask, Widen(srcRect), dst, x, y);
}

void DrawImage(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y) {
  DrawImage64(dst, image, x, y, Rect64{0, 0, image.width, image.height});
}

void DrawImage(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y,
               const IntRect& srcRect) {
  DrawImage64(dst, image, x, y, Widen(srcRect));
}

void DrawFrame(MemVideo& dst, const WBitmap& image, std::int32_t x, std::int32_t y,
               std::int32_t n) {
  const std::optional<Rect64> source = FrameSource64(image, n);
  if (source) DrawImage64(dst, image, x, y, *source);
}

IntRect FrameSourceRect(const WBitmap& image, std::int32_t n) {
  const std::optional<Rect64> source = FrameSource64(image, n);
  if (!source) return {};
  return {SaturateToInt32(source->left), SaturateToInt32(source->top),
          SaturateToInt32(source->right), SaturateToInt32(source->bottom)};
}

void StretchImage(MemVideo& dst, const IntRect& dstRect, const WBitmap& image,
                  const IntRect& srcRect, bool smooth) {
  if (!image.present()) return;
  Stretch(*image.bitmap, srcRect, dst, dstRect, smooth);
}

IntRect BackgroundCutOut(const FracRect& r, const FracRect& area, const WBitmap* background) {
  if (background == nullptr || !background->present()) return {};
  const float areaWidth = area.right - area.left;
  const float areaHeight = area.bottom - area.top;
  // An area without extent covers nothing; dividing by it would give no rectangle at all.
  if (!(areaWidth > 0.0f) || !(areaHeight > 0.0f)) return {};
  const float width = static_cast<float>(background->width);
  const float height = static_cast<float>(background->height);
  return {RoundHalfUp(width * r.left / areaWidth), RoundHalfUp(height * r.top / areaHeight),
          RoundHalfUp(width * r.right / areaWidth), RoundHalfUp(height * r.bottom / areaHeight)};
}

void DrawBackgroundCutOut(MemVideo& dst, const FracRect& r, const FracRect& area,
                          const WBitmap* background, const AppVideo& screen) {
  if (background == nullptr || !background->present()) return;
  Stretch(*background->bitmap, BackgroundCutOut(r, area, background), dst,
          PanelPixels(r, area, screen), true);
}

void DrawSkinnedPanel(MemVideo& dst, const FracRect& r, const WBitmap& frameImage,
                      MemVideo& scratch, const WBitmap* background, const FracRect& area,
                      std::int32_t n, const AppVideo& screen) {
  DrawSkinnedPanel(dst, PanelPixels(r, area, screen), r, frameImage, scratch, background, area, n);
}

void DrawSkinnedPanel(MemVideo& dst, const IntRect& dstRect, const FracRect& r,
                      const WBitmap& frameImage, MemVideo& scratch, const WBitmap* background,
                      const FracRect& area, std::int32_t n) {
  // Without its picture a panel would show only what the scratch surface held last.
  if (!frameImage.present()) return;
  const PixelSize frameSize = FrameSize(frameImage);
  const IntRect frame{0, 0, frameSize.width, frameSize.height};
  if (background != nullptr && background->present()) {
    Stretch(*background->bitmap, BackgroundCutOut(r, area, background), scratch, frame, true);
  }
  DrawFrame(scratch, frameImage, 0, 0, n);
  Stretch(scratch, frame, dst, dstRect, true);
}

}  // namespace gfx
