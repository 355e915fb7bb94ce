#include "world/animation_changes.h"

#include <algorithm>

#include "gfx/draw.h"

namespace world {

gfx::IntRect AnimationChanges::Between(const gfx::WBitmap* sheet, std::int32_t from,
                                       std::int32_t to) {
  // Without a sheet nothing is drawn, so nothing changes.
  if (sheet == nullptr || !sheet->present()) return {};
  if (sheet != sheet_ || sheet->bitmap.get() != bitmap_) {
    sheet_ = sheet;
    bitmap_ = sheet->bitmap.get();
    // Frames are laid out one beside the other, so no more than this many lie whole in the
    // sheet; a frame number past them changes the whole square and needs no box.
    const std::int64_t frameArea = std::int64_t{sheet->frameWidth} * sheet->frameHeight;
    const std::int64_t sheetArea = std::int64_t{sheet->bitmap->width()} * sheet->bitmap->height();
    side_ = frameArea > 0 ? static_cast<std::int32_t>(
                                std::min<std::int64_t>(sheetArea / frameArea, kMaxFramesKept))
                          : 0;
    boxes_.assign(static_cast<std::size_t>(side_) * side_, {});
    known_.assign(boxes_.size(), 0);
  }
  if (from < 0 || to < 0 || from >= side_ || to >= side_) {
    return {0, 0, sheet->frameWidth, sheet->frameHeight};
  }
  const std::size_t slot = static_cast<std::size_t>(from) * side_ + to;
  if (known_[slot] == 0) {
    boxes_[slot] = Compare(*sheet, from, to);
    known_[slot] = 1;
  }
  return boxes_[slot];
}

gfx::IntRect AnimationChanges::Compare(const gfx::WBitmap& sheet, std::int32_t from,
                                       std::int32_t to) const {
  const std::int32_t width = sheet.frameWidth;
  const std::int32_t height = sheet.frameHeight;
  const gfx::IntRect whole{0, 0, width, height};
  const gfx::IntRect a = gfx::FrameSourceRect(sheet, from);
  const gfx::IntRect b = gfx::FrameSourceRect(sheet, to);
  const gfx::IntRect bounds = sheet.bitmap->bounds();
  auto lies = [&](const gfx::IntRect& r) {
    return r.Width() == width && r.Height() == height && r.Intersect(bounds) == r;
  };
  // What shows through a frame with holes is not known here.
  if (width <= 0 || height <= 0 || sheet.transparent || !lies(a) || !lies(b)) return whole;
  if (from == to) return {};
  const gfx::MemVideo& pixels = *sheet.bitmap;
  gfx::IntRect changed{width, height, 0, 0};
  for (std::int32_t y = 0; y < height; ++y) {
    const gfx::Color* rowA = pixels.row(a.top + y) + a.left;
    const gfx::Color* rowB = pixels.row(b.top + y) + b.left;
    for (std::int32_t x = 0; x < width; ++x) {
      if (rowA[x] == rowB[x]) continue;
      changed.left = std::min(changed.left, x);
      changed.top = std::min(changed.top, y);
      changed.right = std::max(changed.right, x + 1);
      changed.bottom = std::max(changed.bottom, y + 1);
    }
  }
  return changed.IsEmpty() ? gfx::IntRect{} : changed;
}

}  // namespace world
