// The AVX2 bilinear kernel. Rows: pmaddubsw on the interleaved bytes of two source rows.
// Columns: four destination pixels at a time gather their taps from one eight-pixel window
// (vpermd), pair them per channel (vpshufb) and weigh them (pmaddubsw). A shrink by at most
// two keeps the taps of four neighbouring pixels within eight source pixels.
//
// Built with -mavx2: nothing here may be an inline function or template shared with other
// files (see stretch_kernels.h).
#include "gfx/stretch_kernels.h"

#if REDHOLLOW_STRETCH_X86 && defined(__AVX2__)

#include <immintrin.h>
#include <string.h>

namespace gfx::stretch_detail {

namespace {

// Per group of four destination pixels: window start, then per pixel j the places of its
// two taps in the window (3 bits each, at bits 6j and 6j + 3), then per pixel the byte pair
// (128 - g, g) as one 16-bit word.
constexpr int kGroupBytes = 16;

// Destinations of at least this size are written with streaming stores.
constexpr std::size_t kStreamBytes = 16u << 20;

__m256i RoundingFactor() {
  return _mm256_set1_epi16(256);
}

// (m + 64) >> 7 for the non-negative sums of pmaddubsw.
inline __m256i Round7(__m256i sums) {
  return _mm256_mulhrs_epi16(sums, RoundingFactor());
}

// `upcoming` is the source row the next destination row will read; fetching it while this
// row is blended hides the memory latency that otherwise dominates large stretches.
void BlendRowsAvx2(const Color* upper, const Color* lower, std::uint8_t frac, std::int32_t count,
                   Color* out, const Color* upcoming) {
  const __m256i weights =
      _mm256_set1_epi16(static_cast<short>((128 - frac) | (static_cast<int>(frac) << 8)));
  auto blendEight = [&](std::int32_t at) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper + at));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower + at));
    const __m256i low = Round7(_mm256_maddubs_epi16(_mm256_unpacklo_epi8(a, b), weights));
    const __m256i high = Round7(_mm256_maddubs_epi16(_mm256_unpackhi_epi8(a, b), weights));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at), _mm256_packus_epi16(low, high));
  };
  std::int32_t i = 0;
  for (; i + 16 <= count; i += 16) {
    _mm_prefetch(reinterpret_cast<const char*>(upcoming + i), _MM_HINT_T1);
    blendEight(i);
    blendEight(i + 8);
  }
  if (i + 8 <= count) {
    blendEight(i);
    i += 8;
  }
  // The last few pixels are blended again with the eight before them: the same values.
  if (i < count && count >= 8) {
    blendEight(count - 8);
  } else if (i < count) {
    BlendRowsScalar(upper + i, lower + i, frac, count - i, out + i);
  }
}

// Four destination pixels as 16-bit channels: pixels 0, 1 in the low lane, 2, 3 in the high.
inline __m256i BlendGroup(const Color* line, const std::uint8_t* group) {
  const __m256i shifts = _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21);
  const __m256i pairBytes =
      _mm256_setr_epi8(0, 4, 1, 5, 2, 6, -128, -128, 8, 12, 9, 13, 10, 14, -128, -128,  //
                       0, 4, 1, 5, 2, 6, -128, -128, 8, 12, 9, 13, 10, 14, -128, -128);
  const __m256i spreadWeights = _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 2, 3, 2, 3, 2, 3, 2, 3,  //
                                                 4, 5, 4, 5, 4, 5, 4, 5, 6, 7, 6, 7, 6, 7, 6, 7);
  std::int32_t base;
  std::uint32_t taps;
  long long weights;
  memcpy(&base, group, 4);
  memcpy(&taps, group + 4, 4);
  memcpy(&weights, group + 8, 8);
  const __m256i window = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(line + base));
  const __m256i places = _mm256_srlv_epi32(_mm256_set1_epi32(static_cast<int>(taps)), shifts);
  const __m256i pixels =
      _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(window, places), pairBytes);
  const __m256i w = _mm256_shuffle_epi8(_mm256_set1_epi64x(weights), spreadWeights);
  return Round7(_mm256_maddubs_epi16(pixels, w));
}

// Two groups of four, eight destination pixels in order.
inline __m256i BlendEight(const Color* line, const std::uint8_t* group) {
  // packus interleaves lanes: pixels 0 1 4 5 | 2 3 6 7; the permute restores the order.
  const __m256i packed =
      _mm256_packus_epi16(BlendGroup(line, group), BlendGroup(line, group + kGroupBytes));
  return _mm256_permute4x64_epi64(packed, 0xD8);
}

// Lanes first..end-1 of a group of four, written alone (vpmaskmovd).
inline void StorePartOfFour(Color* groupOut, const Color* line, const std::uint8_t* group,
                            std::int32_t first, std::int32_t end) {
  const __m256i four = BlendGroup(line, group);
  const __m128i packed =
      _mm256_castsi256_si128(_mm256_permute4x64_epi64(_mm256_packus_epi16(four, four), 0xD8));
  const __m128i lane = _mm_setr_epi32(0, 1, 2, 3);
  const __m128i mask =
      _mm_and_si128(_mm_cmpgt_epi32(_mm_set1_epi32(end), lane),
                    _mm_cmpgt_epi32(_mm_add_epi32(lane, _mm_set1_epi32(1)), _mm_set1_epi32(first)));
  _mm_maskstore_epi32(reinterpret_cast<int*>(groupOut), mask, packed);
}

// The table's groups start at column 0, so a span that starts or ends inside a group writes
// just its lanes of it. Lanes outside the span may read row-buffer pixels the span did not
// blend; they are computed but never stored. Large destinations are written around the
// caches (they would only evict the source), which needs 32-byte aligned stores; a row that
// starts 16 bytes off then takes one group on its own.
void BlendColumnsAvx2(const Color* line, const BilinearJob& job, const ColumnSpan& span, Color* out,
                      bool stream) {
  const std::uint8_t* table = static_cast<const std::uint8_t*>(job.columnTable);
  const std::int32_t fullGroups = job.width / 4;
  std::int32_t x = span.first;
  if ((x & 3) != 0 && x / 4 < fullGroups) {
    const std::int32_t groupStart = x & ~3;
    const std::int32_t groupEnd = groupStart + 4 < span.end ? groupStart + 4 : span.end;
    StorePartOfFour(out + groupStart, line, table + static_cast<std::size_t>(x / 4) * kGroupBytes,
                    x - groupStart, groupEnd - groupStart);
    x = groupEnd;
  }
  const std::uint8_t* group = table + static_cast<std::size_t>(x / 4) * kGroupBytes;
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(out + x);
  if (stream && (x & 3) == 0 && (address & 15) == 0 && span.end - x >= 12) {
    if ((address & 31) != 0) {
      StorePartOfFour(out + x, line, group, 0, 4);
      x += 4;
      group += kGroupBytes;
    }
    for (; x + 8 <= span.end; x += 8, group += 2 * kGroupBytes) {
      _mm256_stream_si256(reinterpret_cast<__m256i*>(out + x), BlendEight(line, group));
    }
  }
  if ((x & 3) == 0) {
    for (; x + 8 <= span.end; x += 8, group += 2 * kGroupBytes) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), BlendEight(line, group));
    }
    if (x < span.end && x / 4 < fullGroups) {
      const std::int32_t count = span.end - x < 4 ? span.end - x : 4;
      StorePartOfFour(out + x, line, group, 0, count);
      x += count;
    }
  }
  // Columns past the last whole group have no table entry.
  if (x < span.end) {
    BlendColumnsScalar(line, job.columnIndex + x, job.columnFrac + x, span.end - x, out + x);
  }
}

}  // namespace

std::size_t Avx2ColumnTableBytes(std::int32_t width) {
  return static_cast<std::size_t>(width / 4) * kGroupBytes;
}

bool BuildAvx2ColumnTable(const std::int32_t* index, const std::uint8_t* frac, std::int32_t width,
                          void* table) {
  std::uint8_t* out = static_cast<std::uint8_t*>(table);
  for (std::int32_t g = 0; g < width / 4; ++g) {
    const std::int32_t base = index[4 * g];
    std::uint32_t taps = 0;
    std::uint64_t weights = 0;
    for (int j = 0; j < 4; ++j) {
      const std::int32_t first = index[4 * g + j] - base;
      const std::uint32_t weight = frac[4 * g + j];
      // A lone pixel is weighed as two equal halves of itself.
      const std::int32_t second = weight != 0 ? first + 1 : first;
      if (first < 0 || second > 7) return false;
      taps |= (static_cast<std::uint32_t>(first) << (6 * j)) |
              (static_cast<std::uint32_t>(second) << (6 * j + 3));
      const std::uint64_t pair = weight != 0 ? ((128 - weight) | (weight << 8)) : 0x4040;
      weights |= pair << (16 * j);
    }
    std::uint8_t* group = out + static_cast<std::size_t>(g) * kGroupBytes;
    memcpy(group, &base, 4);
    memcpy(group + 4, &taps, 4);
    memcpy(group + 8, &weights, 8);
  }
  return true;
}

void BilinearAvx2(const BilinearJob& job) {
  const bool stream =
      job.spans == nullptr && std::size_t(job.width) * std::size_t(job.height) * 4 >= kStreamBytes;
  WalkBilinearRows(job, {BlendRowsAvx2, BlendColumnsAvx2}, stream);
  if (stream) _mm_sfence();
}

}  // namespace gfx::stretch_detail

#endif
