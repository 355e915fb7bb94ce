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

namespace {

// Step k of a line along its major axis: the minor axis has moved by round(k * minor / steps),
// halves up; 128 bits, because ends anywhere in 32 bits make products beyond 64.
std::int64_t MinorOffset(std::int64_t k, std::int64_t minor, std::int64_t steps) {
  const __int128 twice = static_cast<__int128>(2) * k * minor + steps;
  const __int128 divisor = static_cast<__int128>(2) * steps;
  __int128 q = twice / divisor;
  if (twice % divisor != 0 && twice < 0) --q;  // division rounds toward zero; floor is meant
  return static_cast<std::int64_t>(q);
}

// The steps k in [0, steps] whose minor coordinate start + MinorOffset(k) lies in [low, high]:
// the offset never decreases for minor >= 0 and never increases for minor < 0, so the steps
// that fit form one run, found by two searches.
bool MinorRun(std::int64_t start, std::int64_t minor, std::int64_t steps, std::int64_t low,
              std::int64_t high, std::int64_t& first, std::int64_t& last) {
  const auto at = [&](std::int64_t k) { return start + MinorOffset(k, minor, steps); };
  const bool rising = minor >= 0;
  // The first step at or past the near edge, then the last one not past the far edge.
  const auto firstWhere = [&](const auto& holds) {
    std::int64_t lo = 0, hi = steps + 1;
    while (lo < hi) {
      const std::int64_t mid = lo + (hi - lo) / 2;
      if (holds(at(mid))) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  };
  if (rising) {
    first = firstWhere([&](std::int64_t v) { return v >= low; });
    last = firstWhere([&](std::int64_t v) { return v > high; }) - 1;
  } else {
    first = firstWhere([&](std::int64_t v) { return v <= high; });
    last = firstWhere([&](std::int64_t v) { return v < low; }) - 1;
  }
  return first <= last;
}

}  // namespace

void DrawLine(MemVideo& dst, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              Color color) {
  if (dst.width() <= 0 || dst.height() <= 0) return;
  const std::int64_t dx = std::int64_t{x1} - x0;
  const std::int64_t dy = std::int64_t{y1} - y0;
  const bool steep = std::abs(dy) > std::abs(dx);
  const std::int64_t steps = steep ? std::abs(dy) : std::abs(dx);
  const std::int64_t majorStart = steep ? y0 : x0;
  const std::int64_t majorSign = (steep ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t minorStart = steep ? x0 : y0;
  const std::int64_t minor = steep ? dx : dy;
  const std::int64_t majorLimit = (steep ? dst.height() : dst.width()) - 1;
  const std::int64_t minorLimit = (steep ? dst.width() : dst.height()) - 1;
  if (steps == 0) {
    if (dst.bounds().Contains(x0, y0)) dst.set(x0, y0, color & 0xFFFFFF);
    return;
  }
  // The steps whose major coordinate is on the surface...
  std::int64_t first = majorSign > 0 ? -majorStart : majorStart - majorLimit;
  std::int64_t last = majorSign > 0 ? majorLimit - majorStart : majorStart;
  first = std::max<std::int64_t>(first, 0);
  last = std::min(last, steps);
  if (first > last) return;
  // ...and whose minor coordinate is too.
  std::int64_t minorFirst = 0, minorLast = 0;
  if (!MinorRun(minorStart, minor, steps, 0, minorLimit, minorFirst, minorLast)) return;
  first = std::max(first, minorFirst);
  last = std::min(last, minorLast);
  const Color pixel = color & 0xFFFFFF;
  for (std::int64_t k = first; k <= last; ++k) {
    const auto major = static_cast<std::int32_t>(majorStart + majorSign * k);
    const auto other = static_cast<std::int32_t>(minorStart + MinorOffset(k, minor, steps));
    if (steep) {
      dst.set(other, major, pixel);
    } else {
      dst.set(major, other, pixel);
    }
  }
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
