// Which structure each Animation frame belongs to, and where its moving part lies.
#pragma once

#include "gfx/geometry.h"

namespace resbuild {

// The square of a 144 x 105 structure frame that an animation frame covers.
inline constexpr int kAnimationSquareLeft = 48;
inline constexpr int kAnimationSquareTop = 28;
inline constexpr int kAnimationSquareSize = 48;

struct AnimationSource {
  int structureFrame = -1;  // tiles1 frame; -1 for an unused animation frame
  int phase = 0;            // 1.. within the structure's run
  gfx::IntRect moving;      // the repainted rectangle, in animation frame pixels
};

AnimationSource AnimationSourceOf(int frame);

}  // namespace resbuild
