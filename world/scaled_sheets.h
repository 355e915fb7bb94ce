// The map's pictures at a scale other than the design's own, smoothed once and kept.
//
// Each frame is scaled on its own, never across the gaps between frames. A colour-keyed sheet
// (ground, structures, sites) keeps its transparency crisp: a scaled pixel's colour is the mean
// of the opaque source pixels only (area-weighted where the picture shrinks, bilinear where it
// grows), and it is opaque where any of its source area is (shrinking) or where its centre is
// (growing). Frames keep their place around the cell's anchor exactly, so neighbouring
// diamonds meet without gaps, as at the design's scale. The animation sheet has no key: its
// frames are scaled into the rounded animation square of the scale.
//
// The animation sheet is scaled whole when the pictures are first followed (it is small and
// its frames' changes are compared); the tile sheets a frame at a time, each into a picture of
// its own, when the frame is first drawn, so a zoom costs (in time and memory) only the frames
// in view. The minimap is never scaled.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/wbitmap.h"
#include "world/map_scale.h"
#include "world/world_iso3d.h"

namespace world {

class ScaledSheets {
 public:
  explicit ScaledSheets(const MapScale& scale);
  ScaledSheets(const ScaledSheets&) = delete;
  ScaledSheets& operator=(const ScaledSheets&) = delete;

  const MapScale& scale() const { return scale_; }

  // The pictures to draw with at this scale for these originals. Originals that are other
  // pictures, or hold other pixels, than the last time are scaled afresh.
  MapPictures Follow(const MapPictures& originals);
  // Before frame n of a picture Follow gave is drawn: scales it unless that was done, and
  // gives the picture to draw it from, with the frame's number in it (a keyed sheet's frames
  // are pictures of their own: frame 0 of it); null for a frame of a keyed sheet that the
  // original lacks, which draws nothing. Any other picture is given back as it is.
  const gfx::WBitmap* Prepare(const gfx::WBitmap* picture, std::int32_t& frame);
  // Drops every scaled picture (the originals are going).
  void Clear();

  // Frames scaled so far, over all sheets (for tests and benchmarks).
  std::size_t FramesScaled() const;

 private:
  struct Sheet {
    const gfx::WBitmap* original = nullptr;
    const gfx::MemVideo* originalPixels = nullptr;
    // The scaled sheet: the animation's pixels; for a keyed sheet only its frames' size and
    // layout, its frames being the pictures below.
    gfx::WBitmap scaled;
    std::vector<std::unique_ptr<gfx::WBitmap>> framePictures;
    std::vector<std::uint8_t> ready;
    // The original frame's top-left corner relative to the anchor, in the design's pixels, and
    // the scaled frame's, for colour-keyed sheets; the animation is mapped onto its square.
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::int32_t scaledOriginX = 0;
    std::int32_t scaledOriginY = 0;
  };
  enum SheetSlot : std::size_t { kGround, kStructures, kSites, kAnimation, kSheetCount };

  void Make(Sheet& sheet, const gfx::WBitmap* original, std::int32_t originX, std::int32_t originY);
  void ScaleFrame(Sheet& sheet, std::int32_t frame);

  MapScale scale_;
  MapGeometry geometry_;
  std::array<Sheet, kSheetCount> sheets_;
};

}  // namespace world
