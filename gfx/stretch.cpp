#include "gfx/stretch.h"

#include <cstdint>

namespace gfx {

// Placeholder: nearest-neighbour for both modes until the filtered kernels land.
void StretchRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                 const IntRect& dstRect, bool smooth) {
  if (smooth) dst.halftoneStretch = true;
  if (srcRect.IsEmpty() || dstRect.IsEmpty()) return;
  const std::int64_t sw = srcRect.Width(), sh = srcRect.Height();
  const std::int64_t dw = dstRect.Width(), dh = dstRect.Height();
  const IntRect clip = dstRect.Intersect(dst.bounds());
  for (std::int32_t y = clip.top; y < clip.bottom; ++y) {
    const std::int64_t sy = srcRect.top + ((2 * (y - dstRect.top) + 1) * sh) / (2 * dh);
    if (sy < 0 || sy >= src.height()) continue;
    for (std::int32_t x = clip.left; x < clip.right; ++x) {
      const std::int64_t sx = srcRect.left + ((2 * (x - dstRect.left) + 1) * sw) / (2 * dw);
      if (sx < 0 || sx >= src.width()) continue;
      dst.set(x, y, src.at(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)));
    }
  }
}

}  // namespace gfx
