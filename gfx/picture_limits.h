// The largest picture the game and its tools decode or write. Larger ones are not pictures of
// this game but damaged headers: every reader checks a header against these limits before it
// allocates anything, so that a header cannot ask for a surface of gigabytes.
#pragma once

#include <cstdint>

namespace gfx {

inline constexpr std::int64_t kMaxPictureSide = 65536;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 28;  // a 1 GB surface

constexpr bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

}  // namespace gfx
