// Internal to the stretch: the bilinear kernels and what they are handed. Every kernel
// computes, per channel, the same integer formula
//   row blend:    v   = (a * (128 - f) + b * f + 64) >> 7      (rows r and r + 1)
//   column blend: out = (v0 * (128 - g) + v1 * g + 64) >> 7    (columns i and i + 1)
// with f and g in 1/128 of a pixel, and writes 0 into the top byte.
//
// The AVX2 kernel is compiled with other instruction-set flags, so this header holds only
// plain declarations: an inline function or a standard template instantiated in that
// translation unit could be picked by the linker for everybody else.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/mem_video.h"

#if defined(__x86_64__) || defined(_M_X64)
#define REDHOLLOW_STRETCH_X86 1
#else
#define REDHOLLOW_STRETCH_X86 0
#endif

namespace gfx::stretch_detail {

// Row buffers end with this many spare pixels so that vector loads near the end of a row
// stay inside the allocation.
constexpr std::int32_t kRowPadding = 8;

// Destination columns [first, end) of rows [rowFirst, rowEnd), relative to a job's column
// and row arrays.
struct ColumnSpan {
  std::int32_t first = 0;
  std::int32_t end = 0;
  std::int32_t rowFirst = 0;
  std::int32_t rowEnd = 0;
};

// One smoothed stretch, already clipped and mapped. Source indices are relative to
// `source`; a tap with weight 0 names its second pixel nowhere, so it is never read.
struct BilinearJob {
  const Color* source = nullptr;
  std::ptrdiff_t sourceStride = 0;  // in pixels
  std::int32_t sourceWidth = 0;     // every column index + 1 (when weighted) is below it

  const std::int32_t* columnIndex = nullptr;  // per destination column
  const std::uint8_t* columnFrac = nullptr;   // 0..127; 0 means column i alone
  std::int32_t width = 0;

  const std::int32_t* rowIndex = nullptr;  // per destination row
  const std::uint8_t* rowFrac = nullptr;
  std::int32_t height = 0;

  Color* destination = nullptr;
  std::ptrdiff_t destinationStride = 0;

  // sourceWidth + kRowPadding pixels owned by the caller, padding initialised.
  Color* rowBuffer = nullptr;
  // Kernel-specific column table built by the matching Build...ColumnTable, or null.
  const void* columnTable = nullptr;

  // When set, only these spans are produced, and only the source columns they read are
  // blended into the row buffer, which keeps the places of the whole row (spans that overlap
  // blend their common columns twice, to the same values). Null: every column of every row.
  const ColumnSpan* spans = nullptr;
  std::int32_t spanCount = 0;
};

// The source columns a span reads: [first, end) relative to `source`.
struct SourceExtent {
  std::int32_t first = 0;
  std::int32_t end = 0;
};
SourceExtent SourceExtentOf(const BilinearJob& job, const ColumnSpan& span);

// The row walk every kernel shares: for each destination row, the source rows it reads are
// blended into the row buffer (once per source row and weight, and only where the spans read),
// then each span of the row is blended from it. The kernel brings the two blends; `stream` is
// handed to its column blend.
struct KernelSteps {
  void (*blendRows)(const Color* upper, const Color* lower, std::uint8_t frac, std::int32_t count,
                    Color* out, const Color* upcoming);
  void (*blendColumns)(const Color* line, const BilinearJob& job, const ColumnSpan& span,
                       Color* out, bool stream);
};
void WalkBilinearRows(const BilinearJob& job, const KernelSteps& steps, bool stream);

// Portable pieces; the vector kernels use them for row tails.
void BlendRowsScalar(const Color* upper, const Color* lower, std::uint8_t frac, std::int32_t count,
                     Color* out);
void BlendColumnsScalar(const Color* line, const std::int32_t* index, const std::uint8_t* frac,
                        std::int32_t count, Color* out);
void BilinearScalar(const BilinearJob& job);

#if REDHOLLOW_STRETCH_X86
// SSE2: the table holds, per pair of destination columns, the two weights spread over
// their channels (16 bytes per pair).
std::size_t Sse2ColumnTableBytes(std::int32_t width);
void BuildSse2ColumnTable(const std::uint8_t* frac, std::int32_t width, void* table);
void BilinearSse2(const BilinearJob& job);

// AVX2: per group of four destination columns, the first source pixel of an eight-pixel
// window, the taps' places in it and their weights (16 bytes per group). Returns false when
// some group's taps do not fit one window; the caller then uses another kernel.
std::size_t Avx2ColumnTableBytes(std::int32_t width);
bool BuildAvx2ColumnTable(const std::int32_t* index, const std::uint8_t* frac, std::int32_t width,
                          void* table);
void BilinearAvx2(const BilinearJob& job);
#endif

}  // namespace gfx::stretch_detail
