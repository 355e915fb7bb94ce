// Animation: the moving parts of running structures, 48 x 48 frames that the map draws over
// the square at columns 48-96, rows 28-76 of the structure's tiles1 frame. Each frame is that
// square of the finished structure, repainted at one phase inside the moving part's
// rectangle only; outside it, every pixel is the structure's own.
#include <array>

#include "tools/resbuild/animation.h"
#include "tools/resbuild/build.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"

namespace resbuild {
namespace {

struct Run {
  int firstFrame;
  int frames;
  int structureFrame;   // in tiles1
  gfx::IntRect moving;  // in the animation frame
};

// The moving parts' rectangles are given in structure frame pixels, then moved into the
// square.
constexpr gfx::IntRect InSquare(int left, int top, int right, int bottom) {
  return {left - kAnimationSquareLeft, top - kAnimationSquareTop, right - kAnimationSquareLeft,
          bottom - kAnimationSquareTop};
}

const std::array kRuns = {
    Run{4, 3, 3, InSquare(56, 34, 90, 56)},    // Water Condenser: the fan
    Run{7, 3, 4, InSquare(48, 28, 96, 70)},    // Water Well: the pump's beam
    Run{10, 4, 6, InSquare(50, 30, 94, 74)},   // Wind Power: the rotor
    Run{14, 4, 36, InSquare(62, 42, 84, 64)},  // Pub: the sign's bulbs
    Run{18, 6, 37, InSquare(50, 28, 94, 56)},  // Disco: the lights
    Run{24, 3, 38, InSquare(56, 28, 88, 50)},  // Love Center: the heart
    Run{27, 8, 39, InSquare(48, 48, 96, 72)},  // Casino: the marquee
    Run{35, 3, 44, InSquare(56, 30, 88, 54)},  // Gym: the dumbbell
    Run{38, 4, 48, InSquare(62, 30, 82, 50)},  // Birth Control: the turning sign
    Run{42, 6, 49, InSquare(52, 28, 84, 50)},  // PellNet: the signal
};

}  // namespace

AnimationSource AnimationSourceOf(int frame) {
  for (const Run& run : kRuns) {
    if (frame >= run.firstFrame && frame < run.firstFrame + run.frames) {
      return {run.structureFrame, frame - run.firstFrame + 1, run.moving};
    }
  }
  return {};
}

void PaintAnimation(Canvas& canvas, const FrameContext& context) {
  const AnimationSource source = AnimationSourceOf(context.frame);
  if (source.structureFrame < 0) {
    // Unused frames are never drawn; plain ground keeps them harmless.
    canvas.Fill(colors::kOchre);
    return;
  }
  const gfx::MemVideo still = context.Frame("tiles1", source.structureFrame);
  Canvas moving(still.width(), still.height());
  PaintStructureFrame(moving, source.structureFrame, source.phase);
  const gfx::MemVideo phase = FlattenCanvas(moving, true);
  gfx::MemVideo square(kAnimationSquareSize, kAnimationSquareSize);
  for (int y = 0; y < kAnimationSquareSize; ++y) {
    for (int x = 0; x < kAnimationSquareSize; ++x) {
      const gfx::MemVideo& from = source.moving.Contains(x, y) ? phase : still;
      if (from.empty()) continue;
      square.set(x, y, from.at(x + kAnimationSquareLeft, y + kAnimationSquareTop));
    }
  }
  canvas.PutPicture(square, 0, 0);
}

}  // namespace resbuild
