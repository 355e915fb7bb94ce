// Made-up map pictures for pixel tests: every frame of every sheet is painted in its own
// colour, so a pixel of the map surface tells which frame of which sheet was drawn there.
#pragma once

#include <memory>

#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "world/world_iso3d.h"

namespace world::testing {

enum Sheet : std::uint8_t { Tiles0 = 1, Tiles1 = 2, Tiles2 = 3, Anim = 4, Mini = 5 };

constexpr gfx::Color FrameColor(Sheet sheet, std::int32_t frame) {
  return gfx::Rgb(static_cast<std::uint8_t>(sheet * 40), static_cast<std::uint8_t>(frame + 1), 99);
}

// Which part of a frame is painted; the rest stays black, which the map treats as a hole.
// Tiles paint their diamond, as the real ones do, so that the cells of a map tile exactly;
// structures add a block above their diamond's middle.
enum class Paint { Whole, Diamond, TopHalfDiamond, Structure, LeftStrip };

// Pixel centres strictly inside the 144 x 96 diamond whose box starts at row `top`.
constexpr bool InDiamond(std::int32_t x, std::int32_t y, std::int32_t top) {
  const float dx = (static_cast<float>(x) + 0.5f - 72.0f) / 72.0f;
  const float dy = (static_cast<float>(y - top) + 0.5f - 48.0f) / 48.0f;
  return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) < 1.0f;
}

constexpr bool Painted(Paint paint, std::int32_t x, std::int32_t y) {
  switch (paint) {
    case Paint::Whole:
      return true;
    case Paint::Diamond:
      return InDiamond(x, y, 0);
    case Paint::TopHalfDiamond:
      return y < 48 && InDiamond(x, y, 0);
    case Paint::Structure:
      return InDiamond(x, y, 9) || (x >= 48 && x < 96 && y < 58);
    case Paint::LeftStrip:
      return x < 10;
  }
  return false;
}

struct TestPictures {
  TestPictures() {
    MakeGrid8(tiles0, Tiles0, 39, 144, 96, [](std::int32_t frame) {
      // Fog overlays only fog the top half, so what they lie over shows below it.
      return frame >= 1 && frame <= 14 ? Paint::TopHalfDiamond : Paint::Diamond;
    });
    MakeGrid8(tiles1, Tiles1, 52, 144, 105, [](std::int32_t frame) {
      // The marker in front is a strip at the left, so the cell shows beside it.
      if (frame == 0) return Paint::Whole;
      return frame == 1 ? Paint::LeftStrip : Paint::Structure;
    });
    MakeGrid8(tiles2, Tiles2, 76, 144, 105, [](std::int32_t) { return Paint::Structure; });
    MakeGrid8(animation, Anim, 48, 48, 48, [](std::int32_t) { return Paint::Whole; });
    auto mini = std::make_unique<gfx::MemVideo>(108, 1);
    for (std::int32_t frame = 0; frame < 54; ++frame) {
      mini->set(2 * frame, 0, FrameColor(Mini, frame));
      mini->set(2 * frame + 1, 0, FrameColor(Mini, frame));
    }
    gfx::SetImage(miniMap, std::move(mini), gfx::LayoutGrid, 2, 1, true);
  }

  MapPictures Slots() const { return {&tiles0, &tiles1, &tiles2, &animation, &miniMap}; }

  template <typename PaintOf>
  static void MakeGrid8(gfx::WBitmap& image, Sheet sheet, std::int32_t frames, std::int32_t fw,
                        std::int32_t fh, PaintOf paintOf) {
    const std::int32_t frameRows = (frames + 7) / 8;
    auto surface = std::make_unique<gfx::MemVideo>(8 * (fw + 1) - 1, frameRows * (fh + 1) - 1);
    for (std::int32_t frame = 0; frame < frames; ++frame) {
      const std::int32_t left = (frame % 8) * (fw + 1);
      const std::int32_t top = (frame / 8) * (fh + 1);
      const Paint paint = paintOf(frame);
      for (std::int32_t y = 0; y < fh; ++y) {
        for (std::int32_t x = 0; x < fw; ++x) {
          if (Painted(paint, x, y)) surface->set(left + x, top + y, FrameColor(sheet, frame));
        }
      }
    }
    gfx::SetImage(image, std::move(surface), gfx::LayoutGrid8, fw, fh, sheet != Anim);
  }

  gfx::WBitmap tiles0, tiles1, tiles2, animation, miniMap;
};

// Animation frames that share most of their square, as real ones do: a common backdrop with
// a block that moves from frame to frame, and frames 40 and 41 alike.
inline void MakeMovingAnimation(gfx::WBitmap& image) {
  auto surface = std::make_unique<gfx::MemVideo>(8 * 49 - 1, 6 * 49 - 1);
  for (std::int32_t frame = 0; frame < 48; ++frame) {
    const std::int32_t left = (frame % 8) * 49, top = (frame / 8) * 49;
    const std::int32_t phase = frame == 41 ? 40 : frame;
    const gfx::IntRect block = gfx::IntRect::FromSize(phase * 7 % 38, phase * 5 % 38, 10, 10);
    for (std::int32_t y = 0; y < 48; ++y) {
      for (std::int32_t x = 0; x < 48; ++x) {
        surface->set(left + x, top + y,
                     block.Contains(x, y) ? FrameColor(Anim, phase) : gfx::Rgb(30, x * 5, y * 5));
      }
    }
  }
  gfx::SetImage(image, std::move(surface), gfx::LayoutGrid8, 48, 48, false);
}

}  // namespace world::testing
