// Stretched copies between surfaces. The unsmoothed stretch picks the nearest source
// pixel and is exact for equal sizes; the smoothed stretch is a filtered scale that the
// game runs over the whole map view every tick, so it has vectorised kernels.
#pragma once

#include "gfx/geometry.h"
#include "gfx/mem_video.h"

namespace gfx {

// Stretches srcRect of src into dstRect of dst. Both rectangles are clipped against their
// surfaces as the mapping between them dictates; empty rectangles copy nothing. With
// smooth set, the destination remembers it (halftoneStretch) and every later stretch into
// it is smoothed too.
void StretchRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                 const IntRect& dstRect, bool smooth);

}  // namespace gfx
