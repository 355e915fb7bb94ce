// The SSE2 bilinear kernel (the x86-64 baseline): 16-bit arithmetic on unpacked channels.
#include "gfx/stretch_kernels.h"

#if REDHOLLOW_STRETCH_X86

#include <emmintrin.h>
#include <xmmintrin.h>

#include <cstring>

namespace gfx::stretch_detail {

namespace {

// a + (((b - a) * w + 64) >> 7) per 16-bit channel, which equals the weighted sum
// (a * (128 - w) + b * w + 64) >> 7 because 128 * a is a multiple of 128.
inline __m128i Lerp16(__m128i a, __m128i b, __m128i weight) {
  const __m128i half = _mm_set1_epi16(64);
  const __m128i step = _mm_mullo_epi16(_mm_sub_epi16(b, a), weight);
  return _mm_add_epi16(a, _mm_srai_epi16(_mm_add_epi16(step, half), 7));
}

// `upcoming` is the source row the next destination row reads; fetching it now hides the
// memory latency of large stretches.
void BlendRowsSse2(const Color* upper, const Color* lower, std::uint8_t frac, std::int32_t count,
                   Color* out, const Color* upcoming) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i weight = _mm_set1_epi16(frac);
  std::int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    if ((i & 15) == 0) _mm_prefetch(reinterpret_cast<const char*>(upcoming + i), _MM_HINT_T1);
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
    const __m128i low = Lerp16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), weight);
    const __m128i high = Lerp16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), weight);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
  }
  BlendRowsScalar(upper + i, lower + i, frac, count - i, out + i);
}

// Two destination pixels; each loads its source pixel and the next one (the row buffer's
// padding covers the last pixel, whose weight is then 0).
inline __m128i BlendPair(const Color* line, std::int32_t first, std::int32_t second,
                         const std::uint8_t* weights) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a =
      _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + first)), zero);
  const __m128i b =
      _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + second)), zero);
  const __m128i weight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights));
  return Lerp16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b), weight);
}

void BlendColumnsSse2(const Color* line, const BilinearJob& job, const ColumnSpan& span, Color* out,
                      bool) {
  const std::uint8_t* table = static_cast<const std::uint8_t*>(job.columnTable);
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  std::int32_t x = span.first;
  for (; x + 4 <= span.end; x += 4) {
    const __m128i left = BlendPair(line, job.columnIndex[x], job.columnIndex[x + 1],
                                   table + static_cast<std::size_t>(x) * 8);
    const __m128i right = BlendPair(line, job.columnIndex[x + 2], job.columnIndex[x + 3],
                                    table + static_cast<std::size_t>(x) * 8 + 16);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                     _mm_and_si128(_mm_packus_epi16(left, right), colour));
  }
  BlendColumnsScalar(line, job.columnIndex + x, job.columnFrac + x, span.end - x, out + x);
}

}  // namespace

std::size_t Sse2ColumnTableBytes(std::int32_t width) {
  return static_cast<std::size_t>((width + 1) / 2) * 16;
}

void BuildSse2ColumnTable(const std::uint8_t* frac, std::int32_t width, void* table) {
  std::uint8_t* bytes = static_cast<std::uint8_t*>(table);
  for (std::int32_t x = 0; x < width; ++x) {
    const std::uint16_t weight = frac[x];
    for (int channel = 0; channel < 4; ++channel) {
      std::memcpy(bytes + static_cast<std::size_t>(x) * 8 + channel * 2, &weight, 2);
    }
  }
}

void BilinearSse2(const BilinearJob& job) {
  WalkBilinearRows(job, {BlendRowsSse2, BlendColumnsSse2}, false);
}

}  // namespace gfx::stretch_detail

#endif  // REDHOLLOW_STRETCH_X86
