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

SourceExtent SourceExtentOf(const BilinearJob& job, const ColumnSpan& span) {
  const std::int32_t last = span.end - 1;
  return {job.columnIndex[span.first], job.columnIndex[last] + (job.columnFrac[last] != 0 ? 1 : 0) + 1};
}

void BilinearScalar(const BilinearJob& job) {
  const ColumnSpan whole{0, job.width, 0, job.height};
  const ColumnSpan* spans = job.spans != nullptr ? job.spans : &whole;
  const std::int32_t spanCount = job.spans != nullptr ? job.spanCount : 1;
  std::int32_t bufferedRow = -1;
  std::uint8_t bufferedFrac = 0;
  for (std::int32_t y = 0; y < job.height; ++y) {
    const std::int32_t row = job.rowIndex[y];
    const std::uint8_t frac = job.rowFrac[y];
    const Color* upper = job.source + row * job.sourceStride;
    const Color* line = upper;
    if (frac != 0) {
      // A span whose first row this is has nothing in the buffer yet.
      const bool newRow = row != bufferedRow || frac != bufferedFrac;
      for (std::int32_t s = 0; s < spanCount; ++s) {
        const ColumnSpan& span = spans[s];
        if (y < span.rowFirst || y >= span.rowEnd || (!newRow && y != span.rowFirst)) continue;
        const SourceExtent from = SourceExtentOf(job, span);
        BlendRowsScalar(upper + from.first, upper + job.sourceStride + from.first, frac,
                        from.end - from.first, job.rowBuffer + from.first);
      }
      bufferedRow = row;
      bufferedFrac = frac;
      line = job.rowBuffer;
    }
    Color* out = job.destination + y * job.destinationStride;
    for (std::int32_t s = 0; s < spanCount; ++s) {
      const ColumnSpan& span = spans[s];
      if (y < span.rowFirst || y >= span.rowEnd) continue;
      BlendColumnsScalar(line, job.columnIndex + span.first, job.columnFrac + span.first,
                         span.end - span.first, out + span.first);
    }
  }
}

}  // namespace gfx::stretch_detail
