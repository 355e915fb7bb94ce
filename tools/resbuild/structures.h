// Where each structure type's pictures lie in the map sheets, shared by the painters of the
// structures, the building sites, the palette and the minimap.
#pragma once

#include <span>

#include "tools/resbuild/palette_colors.h"

namespace resbuild {

struct StructureInfo {
  int type = 0;
  const char* name = "";
  int finishedFrame = -1;  // first tiles1 frame
  int finishedFrames = 1;  // four food levels or variants, or 1
  int siteFrame = -1;      // first tiles2 frame
  int siteStages = 0;      // building stages per variant
  int siteVariants = 1;    // houses have one run of stages per variant
  Rgb accent;              // the family colour
};

// Every type with a picture (P.E.M., the buildable types), by increasing type.
std::span<const StructureInfo> Structures();
const StructureInfo* StructureOfType(int type);
// The structure whose tiles2 frames include frame n.
const StructureInfo* StructureOfSiteFrame(int n);

}  // namespace resbuild

namespace resbuild {

class Canvas;

// Paints tiles1 frame n with its moving parts at the given animation phase (0 is the still
// picture). The animation frames are cut from the same drawing at other phases.
void PaintStructureFrame(Canvas& canvas, int n, int phase);

}  // namespace resbuild
