// Copying rows of 32-bit pixels between two pieces of memory, as a present does from the back
// buffer into the window's surface. A copy too large to stay in the caches writes past them:
// ordinary stores would first read every line of the destination only to overwrite it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gfx {

// Copies `rows` rows of `width` pixels; row r is read at src + r * srcPitch and written at
// dst + r * dstPitch (pitches in bytes). Source and destination must not overlap.
void CopyPixelRows(std::uint8_t* dst, std::size_t dstPitch, const std::uint8_t* src,
                   std::size_t srcPitch, std::int32_t width, std::int32_t rows);

// Bytes from which a copy bypasses the caches: about what the caches near one core hold.
inline constexpr std::size_t kCopyPastCachesBytes = std::size_t{1} << 20;

}  // namespace gfx
