// The portable bilinear kernel: the reference the vector kernels must match bit for bit.
#include <cstdint>

#include "gfx/stretch_kernels.h"

namespace gfx::stretch_detail {

namespace {

inline std::uint32_t Blend(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
  const std::uint32_t inverse = 128 - weight;
  const std::uint32_t blue = ((a & 0xFF) * inverse + (b & 0xFF) * weight + 64) >> 7;
  const std::uint32_t green = (((a >> 8) & 0xFF) * inverse + ((b >> 8) & 0xFF) * weight + 64) >> 7;
  const std::uint32_t red = (((a >> 16) & 0xFF) * inverse + ((b >> 16) & 0xFF) * weight + 64) >> 7;
  return blue | (green << 8) | (red << 16);
}

}  // namespace

void BlendRowsScalar(const Color* upper, const Color* lower, std::uint8_t frac, std::int32_t count,
                     Color* out) {
  for (std::int32_t i = 0; i < count; ++i) out[i] = Blend(upper[i], lower[i], frac);
}

void BlendColumnsScalar(const Color* line, const std::int32_t* index, const std::uint8_t* frac,
                        std::int32_t count, Color* out) {
  for (std::int32_t x = 0; x < count; ++x) {
    const Color left = line[index[x]];
    // A weight of 0 leaves the pixel alone; its neighbour may lie past the row.
    out[x] = frac[x] == 0 ? (left & 0x00FFFFFF) : Blend(left, line[index[x] + 1], frac[x]);
  }
}

void BilinearScalar(const BilinearJob& job) {
  std::int32_t bufferedRow = -1;
  std::uint8_t bufferedFrac = 0;
  for (std::int32_t y = 0; y < job.height; ++y) {
    const std::int32_t row = job.rowIndex[y];
    const std::uint8_t frac = job.rowFrac[y];
    const Color* upper = job.source + row * job.sourceStride;
    const Color* line = upper;
    if (frac != 0) {
      if (row != bufferedRow || frac != bufferedFrac) {
        BlendRowsScalar(upper, upper + job.sourceStride, frac, job.sourceWidth, job.rowBuffer);
        bufferedRow = row;
        bufferedFrac = frac;
      }
      line = job.rowBuffer;
    }
    BlendColumnsScalar(line, job.columnIndex, job.columnFrac, job.width,
                       job.destination + y * job.destinationStride);
  }
}

}  // namespace gfx::stretch_detail
