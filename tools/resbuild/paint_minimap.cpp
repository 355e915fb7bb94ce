// MiniMap: one 2 x 1 colour per kind of cell, the average colour of the tile that the map
// draws for it, so that the minimap reads like the map shrunk. None is pure black.
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"

namespace resbuild {
namespace {

struct Source {
  const char* entry;
  int frame;
};

constexpr int kCommonGround = 16;
constexpr int kHighway = 28;

Source SourceOf(int n) {
  if (n == 0) return {"tiles0", 0};
  if (n >= 8 && n <= 19) return {"tiles0", n - 8 + kCommonGround};
  if (n == 20) return {"tiles1", 2};
  if (n == 21) return {"tiles0", kHighway};
  if (n >= 24 && n <= 52) {
    const int type = n - 19;
    if (type == 30) return {"tiles0", kHighway};
    if (const StructureInfo* info = StructureOfType(type)) {
      // Fields and houses show their middle look.
      return {"tiles1", info->finishedFrame + (info->finishedFrames > 1 ? 2 : 0)};
    }
  }
  return {"tiles0", kCommonGround};  // unused frames and spare types: plain ground
}

Rgb AverageOf(const gfx::MemVideo& frame) {
  double r = 0, g = 0, b = 0;
  int count = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const gfx::Color c = frame.at(x, y);
      if (c == gfx::kBlack) continue;
      r += gfx::RedOf(c);
      g += gfx::GreenOf(c);
      b += gfx::BlueOf(c);
      ++count;
    }
  }
  if (count == 0) return colors::kOchre;
  return Rgb::Bytes(static_cast<int>(r / count + 0.5), static_cast<int>(g / count + 0.5),
                    static_cast<int>(b / count + 0.5));
}

}  // namespace

void PaintMiniMap(Canvas& canvas, const FrameContext& context) {
  const Source source = SourceOf(context.frame);
  Rgb color = AverageOf(context.Frame(source.entry, source.frame));
  if (context.frame == 1) {
    // Partly explored: halfway between the dark and the common ground.
    color = color.Mix(AverageOf(context.Frame("tiles0", 0)), 0.5);
  }
  canvas.Fill(color);
}

}  // namespace resbuild
