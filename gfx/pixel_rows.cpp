#include "gfx/pixel_rows.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gfx {

namespace {

#if defined(__SSE2__)
// One row with stores that go straight to memory; the head up to the destination's 16-byte
// boundary and the tail are copied as usual.
void StreamRow(std::uint8_t* dst, const std::uint8_t* src, std::size_t bytes) {
  const std::size_t head =
      std::min(bytes, (16 - (reinterpret_cast<std::uintptr_t>(dst) & 15)) & 15);
  std::memcpy(dst, src, head);
  dst += head;
  src += head;
  bytes -= head;
  for (; bytes >= 32; bytes -= 32, dst += 32, src += 32) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    _mm_stream_si128(reinterpret_cast<__m128i*>(dst), low);
    _mm_stream_si128(reinterpret_cast<__m128i*>(dst + 16), high);
  }
  std::memcpy(dst, src, bytes);
}
#endif

}  // namespace

void CopyPixelRows(std::uint8_t* dst, std::size_t dstPitch, const std::uint8_t* src,
                   std::size_t srcPitch, std::int32_t width, std::int32_t rows) {
  if (width <= 0 || rows <= 0) return;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
#if defined(__SSE2__)
  // Short rows would leave partly written lines to the write buffers; those stay cached.
  if (rowBytes >= 256 && rowBytes * static_cast<std::size_t>(rows) >= kCopyPastCachesBytes) {
    for (std::int32_t row = 0; row < rows; ++row) {
      StreamRow(dst + static_cast<std::size_t>(row) * dstPitch,
                src + static_cast<std::size_t>(row) * srcPitch, rowBytes);
    }
    // The streamed stores are ordered before whatever reads the window next.
    _mm_sfence();
    return;
  }
#endif
  for (std::int32_t row = 0; row < rows; ++row) {
    std::memcpy(dst + static_cast<std::size_t>(row) * dstPitch,
                src + static_cast<std::size_t>(row) * srcPitch, rowBytes);
  }
}

}  // namespace gfx
