#include "gfx/mem_video.h"

namespace gfx {

MemVideo::MemVideo(std::int32_t width, std::int32_t height)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kBlack) {}

}  // namespace gfx
