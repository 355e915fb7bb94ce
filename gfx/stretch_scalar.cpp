// The portable bilinear kernel: the reference the vector kernels must match bit for bit.
#include <cstdint>
#include <cstring>

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
  return {job.columnIndex[span.first],
          job.columnIndex[last] + (job.columnFrac[last] != 0 ? 1 : 0) + 1};
}

void WalkBilinearRows(const BilinearJob& job, const KernelSteps& steps, bool stream) {
  const ColumnSpan whole{0, job.width, 0, job.height};
  const ColumnSpan* spans = job.spans != nullptr ? job.spans : &whole;
  const std::int32_t spanCount = job.spans != nullptr ? job.spanCount : 1;
  std::int32_t bufferedRow = -1;
  int bufferedFrac = -1;
  for (std::int32_t y = 0; y < job.height; ++y) {
    const std::int32_t row = job.rowIndex[y];
    const std::uint8_t frac = job.rowFrac[y];
    // A span whose first row this is has nothing in the buffer yet.
    const bool newRow = row != bufferedRow || frac != bufferedFrac;
    const Color* upper = job.source + row * job.sourceStride;
    const std::int32_t following = y + 1 < job.height ? y + 1 : y;
    const Color* upcoming =
        job.source + (job.rowIndex[following] + (job.rowFrac[following] != 0)) * job.sourceStride;
    for (std::int32_t s = 0; s < spanCount; ++s) {
      const ColumnSpan& span = spans[s];
      if (y < span.rowFirst || y >= span.rowEnd || (!newRow && y != span.rowFirst)) continue;
      const SourceExtent from = SourceExtentOf(job, span);
      const std::int32_t count = from.end - from.first;
      // The vector column blends read whole windows, which only the padded buffer has.
      if (frac == 0) {
        std::memcpy(job.rowBuffer + from.first, upper + from.first,
                    static_cast<std::size_t>(count) * sizeof(Color));
      } else {
        steps.blendRows(upper + from.first, upper + job.sourceStride + from.first, frac, count,
                        job.rowBuffer + from.first, upcoming + from.first);
      }
    }
    bufferedRow = row;
    bufferedFrac = frac;
    Color* out = job.destination + y * job.destinationStride;
    for (std::int32_t s = 0; s < spanCount; ++s) {
      if (y >= spans[s].rowFirst && y < spans[s].rowEnd) {
        steps.blendColumns(job.rowBuffer, job, spans[s], out, stream);
      }
    }
  }
}

namespace {

void BlendRowsScalarStep(const Color* upper, const Color* lower, std::uint8_t frac,
                         std::int32_t count, Color* out, const Color*) {
  BlendRowsScalar(upper, lower, frac, count, out);
}

void BlendColumnsScalarStep(const Color* line, const BilinearJob& job, const ColumnSpan& span,
                            Color* out, bool) {
  BlendColumnsScalar(line, job.columnIndex + span.first, job.columnFrac + span.first,
                     span.end - span.first, out + span.first);
}

}  // namespace

void BilinearScalar(const BilinearJob& job) {
  WalkBilinearRows(job, {BlendRowsScalarStep, BlendColumnsScalarStep}, false);
}

}  // namespace gfx::stretch_detail
