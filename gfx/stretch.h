// Stretched copies between surfaces. The unsmoothed stretch picks the nearest source
// pixel and is exact for equal sizes; the smoothed stretch is a filtered scale that the
// game runs over the whole map view every tick, so it has vectorised kernels.
//
// Mapping: destination pixel x (relative to dstRect) samples the source at
// (x + 0.5) * srcWidth / dstWidth - 0.5, pixel centre to pixel centre, the same for rows.
// Clipping either rectangle against its surface never moves that mapping: a destination
// pixel whose sample centre lies outside the source surface is left untouched, and the
// smoothed filter clamps its taps to the part of srcRect that exists.
//
// Smoothed: bilinear with 7-bit fixed-point weights, rows blended first and rounded to
// 8 bits, then columns. Where an axis shrinks below one half, the source is first reduced
// by box averages of 2^k pixels on that axis (as repeated halving would, rounded once) until
// the remaining factor is at least one half, so strong reductions do not alias.
#pragma once

#include <span>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"

namespace gfx {

// Stretches srcRect of src into dstRect of dst. Both rectangles are clipped against their
// surfaces as the mapping between them dictates; empty rectangles copy nothing. With
// smooth set, the destination remembers it (halftoneStretch) and every later stretch into
// it is smoothed too.
void StretchRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst, const IntRect& dstRect,
                 bool smooth);

// The same stretch, but only the destination pixels inside dstClip are produced; they are
// identical to those of the full stretch, so a caller can re-stretch just what changed. Each
// clip plans its own mapping; many small parts of one stretch go through StretchRectParts,
// which reuses the whole stretch's.
void StretchRectPart(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                     const IntRect& dstRect, bool smooth, const IntRect& dstClip);

// The smallest destination rectangle holding every pixel that the stretch computes from a
// pixel of srcChange (in source coordinates): after srcChange is redrawn, stretching just
// this rectangle gives the pixels of a full stretch. smooth as for StretchRect (the
// destination's remembered mode counts too).
IntRect StretchedArea(const MemVideo& src, const IntRect& srcRect, const MemVideo& dst,
                      const IntRect& dstRect, bool smooth, const IntRect& srcChange);

// The pixels StretchRectPart gives for each of the destination rectangles, produced in one
// pass, row by row over the rows they share, with the mapping of the whole stretch: many
// small parts in one band of rows cost little more than their pixels. Parts that overlap
// are produced twice, to the same values.
void StretchRectParts(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                      const IntRect& dstRect, bool smooth, std::span<const IntRect> parts);

// The smoothed stretch has one portable kernel and vectorised ones that give the same
// pixels bit for bit. The best one the processor supports is chosen once at run time.
enum class StretchKernel { kScalar, kSse2, kAvx2 };

bool IsStretchKernelSupported(StretchKernel kernel);
StretchKernel BestStretchKernel();

// StretchRectPart with an explicit kernel (for tests and benchmarks); a kernel the
// processor lacks falls back to the scalar one.
void StretchRectWithKernel(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect,
                           MemVideo& dst, const IntRect& dstRect, bool smooth,
                           const IntRect& dstClip);
void StretchRectPartsWithKernel(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect,
                                MemVideo& dst, const IntRect& dstRect, bool smooth,
                                std::span<const IntRect> parts);

}  // namespace gfx
