// What drawing one animation frame over another changes on the map surface: the box of the
// pixels in which the two frames differ. Running structures mostly move a small part of their
// square, so the tick redraws, stretches and presents just that box.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/wbitmap.h"

namespace world {

class AnimationChanges {
 public:
  // Relative to the frames' top-left corner: empty when the two frames are the same
  // picture (or there is no sheet), the whole frame when either of them does not lie whole
  // in the sheet (or is negative, for "not known") and for every pair of a sheet with holes,
  // as what shows through them is unknown.
  gfx::IntRect Between(const gfx::WBitmap* sheet, std::int32_t from, std::int32_t to);

 private:
  gfx::IntRect Compare(const gfx::WBitmap& sheet, std::int32_t from, std::int32_t to) const;

  // The boxes already compared, for the sheet they were compared in.
  const gfx::WBitmap* sheet_ = nullptr;
  const gfx::MemVideo* bitmap_ = nullptr;
  // boxes_ holds side_ x side_ pairs: the frames that can lie whole in the sheet, at most
  // kMaxFramesKept of them (a sheet of tiny frames would otherwise ask for a huge table).
  static constexpr std::int32_t kMaxFramesKept = 256;
  std::int32_t side_ = 0;
  std::vector<gfx::IntRect> boxes_;
  std::vector<std::uint8_t> known_;
};

}  // namespace world
