// The stretched copy: clipping, the source-to-destination mapping of each axis, the
// unsmoothed copy, the box pre-reduction for strong shrinks, and the choice of kernel.
//
// Sections: integer helpers; axis plans (which source pixels and weights each destination
// row or column takes, cached between calls); box pre-reduction; the copy paths; the
// public entry points.
#include "gfx/stretch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "gfx/stretch_kernels.h"

namespace gfx {

namespace {

using stretch_detail::BilinearJob;
using stretch_detail::ColumnSpan;
using stretch_detail::kRowPadding;

// Rectangle coordinates are arbitrary 32-bit values, so the mapping's products need more
// than 64 bits in the worst case.
using Int128 = __int128;

Int128 FloorDiv(Int128 n, Int128 d) {
  Int128 q = n / d;
  if (n % d != 0 && n < 0) --q;
  return q;
}

Int128 CeilDiv(Int128 n, Int128 d) {
  return -FloorDiv(-n, d);
}

std::int64_t ClampWide(Int128 v, std::int64_t low, std::int64_t high) {
  if (v < low) return low;
  if (v > high) return high;
  return static_cast<std::int64_t>(v);
}

// floor((a + x * step) / divisor) for x = x0, x0 + 1, ..., stepped without division.
class RationalWalker {
 public:
  RationalWalker(Int128 a, std::int64_t step, std::int64_t divisor, std::int64_t x0)
      : stepQuotient_(step / divisor), stepRemainder_(step % divisor), divisor_(divisor) {
    const Int128 n = a + Int128{x0} * step;
    const Int128 q = FloorDiv(n, divisor);
    value_ = static_cast<std::int64_t>(q);
    remainder_ = static_cast<std::int64_t>(n - q * divisor);
  }
  std::int64_t value() const { return value_; }
  void Next() {
    value_ += stepQuotient_;
    remainder_ += stepRemainder_;
    if (remainder_ >= divisor_) {
      remainder_ -= divisor_;
      ++value_;
    }
  }

 private:
  std::int64_t value_ = 0;
  std::int64_t remainder_ = 0;
  std::int64_t stepQuotient_;
  std::int64_t stepRemainder_;
  std::int64_t divisor_;
};

// One axis of a stretch after clipping. Source positions are relative to the start of the
// part of srcRect that lies on the source surface ("valid"); destination positions are
// relative to the start of dstRect.
struct AxisSetup {
  std::int64_t sourceLength = 0;  // of srcRect
  std::int64_t destLength = 0;    // of dstRect
  std::int64_t validOffset = 0;   // valid start minus srcRect start
  std::int64_t validLength = 0;
  std::int64_t first = 0;  // destination positions produced: [first, end)
  std::int64_t end = 0;
  bool smoothed = false;
  friend bool operator==(const AxisSetup&, const AxisSetup&) = default;
};

// Clips one axis. Produces only the destination positions inside [targetLow, targetHigh)
// whose nearest source pixel lies on the surface; false when none is left.
bool SetupAxis(std::int32_t srcLow, std::int32_t srcHigh, std::int32_t surfaceLength,
               std::int32_t dstLow, std::int32_t dstHigh, std::int32_t targetLow,
               std::int32_t targetHigh, bool smoothed, AxisSetup& axis) {
  axis.sourceLength = std::int64_t{srcHigh} - srcLow;
  axis.destLength = std::int64_t{dstHigh} - dstLow;
  const std::int64_t validLow = std::max<std::int64_t>(srcLow, 0);
  const std::int64_t validHigh = std::min<std::int64_t>(srcHigh, surfaceLength);
  if (axis.sourceLength <= 0 || axis.destLength <= 0 || validHigh <= validLow) return false;
  axis.validOffset = validLow - srcLow;
  axis.validLength = validHigh - validLow;
  axis.smoothed = smoothed;

  // Destination x samples source floor((2x + 1) * sw / (2 * dw)) of srcRect.
  const Int128 sw = axis.sourceLength, dw = axis.destLength;
  const Int128 firstOnSource = CeilDiv(2 * dw * axis.validOffset - sw, 2 * sw);
  const Int128 endOnSource =
      FloorDiv(2 * dw * (axis.validOffset + axis.validLength) - 1 - sw, 2 * sw) + 1;
  const std::int64_t targetFirst = std::int64_t{targetLow} - dstLow;
  const std::int64_t targetEnd = std::int64_t{targetHigh} - dstLow;
  axis.first = std::max(ClampWide(firstOnSource, 0, axis.destLength), targetFirst);
  axis.end = std::min(ClampWide(endOnSource, 0, axis.destLength), targetEnd);
  return axis.first < axis.end;
}

// Where each produced destination position reads: source index (relative to `base`) and
// the weight of the next source pixel in 1/128. Smoothed plans index the pre-reduced
// source, whose pixels average 2^shift source pixels of this axis.
struct AxisPlan {
  AxisSetup setup;
  bool used = false;
  int shift = 0;
  std::int64_t base = 0;  // first source (or reduced) index read
  std::int32_t span = 0;  // number of source (or reduced) pixels read from base on
  std::vector<std::int32_t> index;
  std::vector<std::uint8_t> frac;
  // Column tables of the vector kernels, built on first use.
  bool sse2Built = false;
  std::vector<std::uint64_t> sse2Table;
  bool avx2Built = false;
  bool avx2Usable = false;
  std::vector<std::uint64_t> avx2Table;
};

// The smallest shift that brings the remaining reduction to at least one half.
int ReductionShift(std::int64_t sourceLength, std::int64_t destLength) {
  int shift = 0;
  while (shift < 62 && (Int128{destLength} << (shift + 1)) < sourceLength) ++shift;
  return shift;
}

void BuildNearestPlan(AxisPlan& plan) {
  const AxisSetup& a = plan.setup;
  const std::size_t count = static_cast<std::size_t>(a.end - a.first);
  plan.shift = 0;
  plan.index.resize(count);
  plan.frac.assign(count, 0);
  RationalWalker walker(Int128{a.sourceLength} - Int128{2} * a.destLength * a.validOffset,
                        2 * a.sourceLength, 2 * a.destLength, a.first);
  std::vector<std::int64_t> positions(count);
  for (std::size_t i = 0; i < count; ++i, walker.Next()) {
    positions[i] = std::clamp<std::int64_t>(walker.value(), 0, a.validLength - 1);
  }
  plan.base = positions.front();
  plan.span = static_cast<std::int32_t>(positions.back() - plan.base + 1);
  for (std::size_t i = 0; i < count; ++i) {
    plan.index[i] = static_cast<std::int32_t>(positions[i] - plan.base);
  }
}

void BuildBilinearPlan(AxisPlan& plan) {
  const AxisSetup& a = plan.setup;
  const std::size_t count = static_cast<std::size_t>(a.end - a.first);
  plan.shift = ReductionShift(a.sourceLength, a.destLength);
  const std::int64_t reducedLength =
      (a.validLength + (std::int64_t{1} << plan.shift) - 1) >> plan.shift;
  // In 1/128 of a reduced pixel: p = 128 * ((2x + 1) * sw - 2 * dw * offset) / divisor - 64,
  // rounded to nearest, with divisor = 2 * dw * 2^shift.
  const std::int64_t divisor = a.destLength << (plan.shift + 1);
  const Int128 start =
      Int128{128} * a.sourceLength - Int128{256} * a.destLength * a.validOffset + divisor / 2;
  RationalWalker walker(start, 256 * a.sourceLength, divisor, a.first);
  std::vector<std::int64_t> positions(count);
  plan.frac.resize(count);
  std::int64_t last = 0;
  for (std::size_t i = 0; i < count; ++i, walker.Next()) {
    const std::int64_t p = walker.value() - 64;
    std::int64_t pixel = p >> 7;
    std::uint8_t weight = static_cast<std::uint8_t>(p & 127);
    // The edges are clamped: outside the source the nearest edge pixel is used alone.
    if (p < 0) {
      pixel = 0;
      weight = 0;
    } else if (pixel >= reducedLength - 1) {
      pixel = reducedLength - 1;
      weight = 0;
    }
    positions[i] = pixel;
    plan.frac[i] = weight;
    last = std::max(last, pixel + (weight != 0 ? 1 : 0));
  }
  plan.base = positions.front();
  plan.span = static_cast<std::int32_t>(last - plan.base + 1);
  plan.index.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    plan.index[i] = static_cast<std::int32_t>(positions[i] - plan.base);
  }
}

// Box averages of (1 << shiftX) x (1 << shiftY) pixels of the valid source region, for
// reduced columns [column0, column0 + columns) and rows [row0, row0 + rows). Boxes at the
// far edges average only the pixels that exist.
void ReduceBoxes(const Color* origin, std::ptrdiff_t stride, std::int64_t validWidth,
                 std::int64_t validHeight, int shiftX, int shiftY, std::int64_t column0,
                 std::int32_t columns, std::int64_t row0, std::int32_t rows, Color* out,
                 std::vector<std::uint64_t>& sums) {
  for (std::int32_t r = 0; r < rows; ++r) {
    const std::int64_t yBegin = (row0 + r) << shiftY;
    const std::int64_t yEnd = std::min(validHeight, (row0 + r + 1) << shiftY);
    sums.assign(static_cast<std::size_t>(columns) * 3, 0);
    for (std::int64_t y = yBegin; y < yEnd; ++y) {
      const Color* line = origin + y * stride;
      for (std::int32_t c = 0; c < columns; ++c) {
        const std::int64_t xBegin = (column0 + c) << shiftX;
        const std::int64_t xEnd = std::min(validWidth, (column0 + c + 1) << shiftX);
        std::uint64_t blue = 0, green = 0, red = 0;
        for (std::int64_t x = xBegin; x < xEnd; ++x) {
          const Color p = line[x];
          blue += p & 0xFF;
          green += (p >> 8) & 0xFF;
          red += (p >> 16) & 0xFF;
        }
        sums[3 * c] += blue;
        sums[3 * c + 1] += green;
        sums[3 * c + 2] += red;
      }
    }
    Color* outLine = out + static_cast<std::ptrdiff_t>(r) * columns;
    for (std::int32_t c = 0; c < columns; ++c) {
      const std::int64_t xBegin = (column0 + c) << shiftX;
      const std::int64_t xEnd = std::min(validWidth, (column0 + c + 1) << shiftX);
      const std::uint64_t count = static_cast<std::uint64_t>((xEnd - xBegin) * (yEnd - yBegin));
      auto average = [&](std::uint64_t sum) {
        return static_cast<Color>((sum + count / 2) / count);
      };
      outLine[c] =
          average(sums[3 * c]) | (average(sums[3 * c + 1]) << 8) | (average(sums[3 * c + 2]) << 16);
    }
  }
}

// Both axes of a stretch producing only the destination pixels inside target.
bool SetupAxes(const MemVideo& src, const IntRect& srcRect, const IntRect& dstRect,
               const IntRect& target, bool smoothed, AxisSetup& xs, AxisSetup& ys) {
  return SetupAxis(srcRect.left, srcRect.right, src.width(), dstRect.left, dstRect.right,
                   target.left, target.right, smoothed, xs) &&
         SetupAxis(srcRect.top, srcRect.bottom, src.height(), dstRect.top, dstRect.bottom,
                   target.top, target.bottom, smoothed, ys);
}

// Per-thread scratch and the plans of the last few geometries (the map view repeats
// the same stretch every tick, interleaved with partial ones).
struct Workspace {
  std::array<AxisPlan, 4> plans;
  std::size_t nextPlan = 0;
  std::vector<Color> snapshot;
  std::vector<Color> reduced;
  std::vector<std::uint64_t> sums;
  std::vector<Color> rowBuffer;
  std::vector<stretch_detail::ColumnSpan> spans;
};

Workspace& ThreadWorkspace() {
  thread_local Workspace workspace;
  return workspace;
}

AxisPlan& PlanFor(Workspace& ws, const AxisSetup& setup, AxisPlan* keep) {
  for (AxisPlan& plan : ws.plans) {
    if (plan.used && plan.setup == setup) return plan;
  }
  AxisPlan* slot = &ws.plans[ws.nextPlan];
  ws.nextPlan = (ws.nextPlan + 1) % ws.plans.size();
  if (slot == keep) {  // never evict the other axis of this same call
    slot = &ws.plans[ws.nextPlan];
    ws.nextPlan = (ws.nextPlan + 1) % ws.plans.size();
  }
  *slot = AxisPlan{};
  slot->setup = setup;
  slot->used = true;
  if (setup.smoothed) {
    BuildBilinearPlan(*slot);
  } else {
    BuildNearestPlan(*slot);
  }
  return *slot;
}

// Where the valid source region starts in memory.
struct SourcePlane {
  const Color* origin;
  std::ptrdiff_t stride;
};

void CopyEqualSize(const SourcePlane& source, const AxisSetup& xs, const AxisSetup& ys,
                   Color* destination, std::ptrdiff_t destinationStride) {
  // With equal sizes destination position x reads source x of srcRect.
  const std::size_t bytes = static_cast<std::size_t>(xs.end - xs.first) * sizeof(Color);
  for (std::int64_t y = ys.first; y < ys.end; ++y) {
    const Color* from =
        source.origin + (y - ys.validOffset) * source.stride + (xs.first - xs.validOffset);
    std::memmove(destination + (y - ys.first) * destinationStride, from, bytes);
  }
}

void CopyNearest(const SourcePlane& source, const AxisPlan& columns, const AxisPlan& rows,
                 Color* destination, std::ptrdiff_t destinationStride) {
  const std::int32_t width = static_cast<std::int32_t>(columns.index.size());
  const Color* origin = source.origin + rows.base * source.stride + columns.base;
  for (std::size_t y = 0; y < rows.index.size(); ++y) {
    const Color* line = origin + rows.index[y] * source.stride;
    Color* out = destination + static_cast<std::ptrdiff_t>(y) * destinationStride;
    for (std::int32_t x = 0; x < width; ++x) out[x] = line[columns.index[x]];
  }
}

bool CpuHasAvx2() {
#if REDHOLLOW_STRETCH_X86
  static const bool hasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return hasAvx2;
#else
  return false;
#endif
}

void RunBilinear(StretchKernel kernel, AxisPlan& columns, BilinearJob& job) {
#if REDHOLLOW_STRETCH_X86
  if (kernel == StretchKernel::kAvx2 && CpuHasAvx2()) {
    if (!columns.avx2Built) {
      columns.avx2Table.resize((stretch_detail::Avx2ColumnTableBytes(job.width) + 7) /
                               sizeof(std::uint64_t));
      columns.avx2Usable = stretch_detail::BuildAvx2ColumnTable(
          job.columnIndex, job.columnFrac, job.width, columns.avx2Table.data());
      columns.avx2Built = true;
    }
    if (columns.avx2Usable) {
      job.columnTable = columns.avx2Table.data();
      stretch_detail::BilinearAvx2(job);
      return;
    }
    kernel = StretchKernel::kSse2;
  }
  if (kernel == StretchKernel::kSse2) {
    if (!columns.sse2Built) {
      columns.sse2Table.resize((stretch_detail::Sse2ColumnTableBytes(job.width) + 7) /
                               sizeof(std::uint64_t));
      stretch_detail::BuildSse2ColumnTable(job.columnFrac, job.width, columns.sse2Table.data());
      columns.sse2Built = true;
    }
    job.columnTable = columns.sse2Table.data();
    stretch_detail::BilinearSse2(job);
    return;
  }
#else
  (void)columns;
  (void)kernel;
#endif
  stretch_detail::BilinearScalar(job);
}

// The job of a planned smoothed stretch: every planned column and row, reading from `source`
// (the first pixel the plans read) into `destination` (the first pixel they produce), with the
// workspace's row buffer.
BilinearJob PlannedJob(Workspace& ws, const AxisPlan& columns, const AxisPlan& rows,
                       const Color* source, std::ptrdiff_t sourceStride, Color* destination,
                       std::ptrdiff_t destinationStride) {
  BilinearJob job;
  job.source = source;
  job.sourceStride = sourceStride;
  job.sourceWidth = columns.span;
  job.columnIndex = columns.index.data();
  job.columnFrac = columns.frac.data();
  job.width = static_cast<std::int32_t>(columns.index.size());
  job.rowIndex = rows.index.data();
  job.rowFrac = rows.frac.data();
  job.height = static_cast<std::int32_t>(rows.index.size());
  job.destination = destination;
  job.destinationStride = destinationStride;
  ws.rowBuffer.resize(static_cast<std::size_t>(columns.span) + kRowPadding);
  std::fill(ws.rowBuffer.end() - kRowPadding, ws.rowBuffer.end(), Color{0});
  job.rowBuffer = ws.rowBuffer.data();
  return job;
}

void Stretch(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
             const IntRect& dstRect, bool smooth, const IntRect* clip) {
  // The surface remembers the smoothed mode, as a drawing context keeps its stretch mode.
  const bool smoothed = smooth || dst.halftoneStretch;
  if (smooth) dst.halftoneStretch = true;
  if (src.empty() || dst.empty()) return;
  IntRect target = dst.bounds();
  if (clip != nullptr) target = target.Intersect(*clip);
  if (target.IsEmpty()) return;

  AxisSetup xs, ys;
  if (!SetupAxes(src, srcRect, dstRect, target, smoothed, xs, ys)) return;

  Workspace& ws = ThreadWorkspace();
  const std::int64_t validLeft = std::int64_t{srcRect.left} + xs.validOffset;
  const std::int64_t validTop = std::int64_t{srcRect.top} + ys.validOffset;
  SourcePlane source{src.pixels() + validTop * src.width() + validLeft, src.width()};
  if (&src == &dst) {
    // Reading and writing one surface: work from a copy so that no pixel is read after
    // the stretch has overwritten it.
    ws.snapshot.resize(static_cast<std::size_t>(xs.validLength * ys.validLength));
    for (std::int64_t y = 0; y < ys.validLength; ++y) {
      std::memcpy(ws.snapshot.data() + y * xs.validLength, source.origin + y * source.stride,
                  static_cast<std::size_t>(xs.validLength) * sizeof(Color));
    }
    source = {ws.snapshot.data(), static_cast<std::ptrdiff_t>(xs.validLength)};
  }

  const std::ptrdiff_t destinationStride = dst.width();
  Color* destination = dst.pixels() + (std::int64_t{dstRect.top} + ys.first) * dst.width() +
                       (std::int64_t{dstRect.left} + xs.first);

  if (xs.sourceLength == xs.destLength && ys.sourceLength == ys.destLength) {
    CopyEqualSize(source, xs, ys, destination, destinationStride);
    return;
  }

  AxisPlan& columns = PlanFor(ws, xs, nullptr);
  AxisPlan& rows = PlanFor(ws, ys, &columns);
  if (!smoothed) {
    CopyNearest(source, columns, rows, destination, destinationStride);
    return;
  }

  const Color* first = source.origin + rows.base * source.stride + columns.base;
  std::ptrdiff_t stride = source.stride;
  if (columns.shift > 0 || rows.shift > 0) {
    ws.reduced.resize(static_cast<std::size_t>(columns.span) * rows.span);
    ReduceBoxes(source.origin, source.stride, xs.validLength, ys.validLength, columns.shift,
                rows.shift, columns.base, columns.span, rows.base, rows.span, ws.reduced.data(),
                ws.sums);
    first = ws.reduced.data();
    stride = columns.span;
  }
  BilinearJob job = PlannedJob(ws, columns, rows, first, stride, destination, destinationStride);
  RunBilinear(kernel, columns, job);
}

// Both axes of the stretch into the whole destination, as an unclipped StretchRect sets
// them up (and so shares its cached plans).
bool SetupWholeStretch(const MemVideo& src, const IntRect& srcRect, const MemVideo& dst,
                       const IntRect& dstRect, bool smoothed, AxisSetup& xs, AxisSetup& ys) {
  return SetupAxes(src, srcRect, dstRect, dst.bounds(), smoothed, xs, ys);
}

// The first place in [low, high) where reached(place) holds, high if none; reached must hold
// from some place on and at every place after it.
template <typename Reached>
std::size_t FirstPlace(std::size_t low, std::size_t high, Reached reached) {
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (reached(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// The destination positions of one axis (relative to dstRect) that read a source pixel of
// [low, high) (relative to srcRect): taps index and index + 1 (when weighted) of each planned
// position, in pixels of the pre-reduced source. Both taps grow with the position, so the
// positions form one run found by binary search.
void AffectedPositions(const AxisPlan& plan, std::int64_t low, std::int64_t high,
                       std::int64_t& first, std::int64_t& end) {
  const AxisSetup& a = plan.setup;
  first = end = 0;
  low = std::max<std::int64_t>(low - a.validOffset, 0);
  high = std::min<std::int64_t>(high - a.validOffset, a.validLength);
  if (low >= high) return;
  const std::int64_t reducedLow = low >> plan.shift;
  const std::int64_t reducedLast = (high - 1) >> plan.shift;
  const std::size_t from = FirstPlace(0, plan.index.size(), [&](std::size_t k) {
    return plan.base + plan.index[k] + (plan.frac[k] != 0 ? 1 : 0) >= reducedLow;
  });
  const std::size_t to = FirstPlace(from, plan.index.size(), [&](std::size_t k) {
    return plan.base + plan.index[k] > reducedLast;
  });
  if (from >= to) return;
  first = a.first + static_cast<std::int64_t>(from);
  end = a.first + static_cast<std::int64_t>(to);
}

}  // namespace

IntRect StretchedArea(const MemVideo& src, const IntRect& srcRect, const MemVideo& dst,
                      const IntRect& dstRect, bool smooth, const IntRect& srcChange) {
  const bool smoothed = smooth || dst.halftoneStretch;
  const IntRect change = srcChange.Intersect(src.bounds());
  if (change.IsEmpty() || dst.empty()) return {};
  AxisSetup xs, ys;
  if (!SetupWholeStretch(src, srcRect, dst, dstRect, smoothed, xs, ys)) return {};
  const std::int64_t low[2] = {std::int64_t{change.left} - srcRect.left,
                               std::int64_t{change.top} - srcRect.top};
  const std::int64_t high[2] = {std::int64_t{change.right} - srcRect.left,
                                std::int64_t{change.bottom} - srcRect.top};
  std::int64_t first[2], end[2];
  if (xs.sourceLength == xs.destLength && ys.sourceLength == ys.destLength) {
    // A copy: position p reads source p.
    const AxisSetup* setups[2] = {&xs, &ys};
    for (int axis = 0; axis < 2; ++axis) {
      first[axis] = std::max(low[axis], setups[axis]->first);
      end[axis] = std::min(high[axis], setups[axis]->end);
    }
  } else {
    Workspace& ws = ThreadWorkspace();
    AxisPlan& columns = PlanFor(ws, xs, nullptr);
    AxisPlan& rows = PlanFor(ws, ys, &columns);
    AffectedPositions(columns, low[0], high[0], first[0], end[0]);
    AffectedPositions(rows, low[1], high[1], first[1], end[1]);
  }
  if (first[0] >= end[0] || first[1] >= end[1]) return {};
  return {static_cast<std::int32_t>(dstRect.left + first[0]),
          static_cast<std::int32_t>(dstRect.top + first[1]),
          static_cast<std::int32_t>(dstRect.left + end[0]),
          static_cast<std::int32_t>(dstRect.top + end[1])};
}

namespace {

// The parts' rows and columns are cut from the plans of the whole stretch, which the full
// stretch of the same geometry has cached, so parts cost no plans of their own.
void StretchParts(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                  const IntRect& dstRect, bool smooth, std::span<const IntRect> parts) {
  const bool smoothed = smooth || dst.halftoneStretch;
  if (smooth) dst.halftoneStretch = true;
  if (src.empty() || dst.empty() || parts.empty()) return;
  auto oneByOne = [&] {
    for (const IntRect& part : parts) Stretch(kernel, src, srcRect, dst, dstRect, smooth, &part);
  };
  // Copies, nearest-pixel stretches, strong reductions and stretches within one surface are
  // rare here; they take the parts one by one.
  if (!smoothed || &src == &dst) return oneByOne();
  AxisSetup xs, ys;
  if (!SetupWholeStretch(src, srcRect, dst, dstRect, true, xs, ys)) return;
  if (xs.sourceLength == xs.destLength && ys.sourceLength == ys.destLength) return oneByOne();
  Workspace& ws = ThreadWorkspace();
  AxisPlan& columns = PlanFor(ws, xs, nullptr);
  AxisPlan& rows = PlanFor(ws, ys, &columns);
  if (columns.shift > 0 || rows.shift > 0) return oneByOne();

  // Spans relative to the plans, then to the first row any of them produces.
  ws.spans.clear();
  std::int64_t bandFirst = ys.end, bandEnd = ys.first;
  for (const IntRect& part : parts) {
    const std::int64_t first = std::max(std::int64_t{part.left} - dstRect.left, xs.first);
    const std::int64_t end = std::min(std::int64_t{part.right} - dstRect.left, xs.end);
    const std::int64_t rowFirst = std::max(std::int64_t{part.top} - dstRect.top, ys.first);
    const std::int64_t rowEnd = std::min(std::int64_t{part.bottom} - dstRect.top, ys.end);
    if (first >= end || rowFirst >= rowEnd) continue;
    ws.spans.push_back({static_cast<std::int32_t>(first - xs.first),
                        static_cast<std::int32_t>(end - xs.first),
                        static_cast<std::int32_t>(rowFirst), static_cast<std::int32_t>(rowEnd)});
    bandFirst = std::min(bandFirst, rowFirst);
    bandEnd = std::max(bandEnd, rowEnd);
  }
  if (ws.spans.empty()) return;
  for (ColumnSpan& span : ws.spans) {
    span.rowFirst -= static_cast<std::int32_t>(bandFirst);
    span.rowEnd -= static_cast<std::int32_t>(bandFirst);
  }

  const std::int64_t validLeft = std::int64_t{srcRect.left} + xs.validOffset;
  const std::int64_t validTop = std::int64_t{srcRect.top} + ys.validOffset;
  const std::size_t rowOffset = static_cast<std::size_t>(bandFirst - ys.first);
  BilinearJob job = PlannedJob(
      ws, columns, rows,
      src.pixels() + (validTop + rows.base) * src.width() + validLeft + columns.base, src.width(),
      dst.pixels() + (std::int64_t{dstRect.top} + ys.first) * dst.width() +
          (std::int64_t{dstRect.left} + xs.first),
      dst.width());
  // Only the band of rows the parts take.
  job.rowIndex += rowOffset;
  job.rowFrac += rowOffset;
  job.height = static_cast<std::int32_t>(bandEnd - bandFirst);
  job.destination += static_cast<std::ptrdiff_t>(rowOffset) * job.destinationStride;
  job.spans = ws.spans.data();
  job.spanCount = static_cast<std::int32_t>(ws.spans.size());
  RunBilinear(kernel, columns, job);
}

}  // namespace

bool IsStretchKernelSupported(StretchKernel kernel) {
  switch (kernel) {
    case StretchKernel::kScalar:
      return true;
    case StretchKernel::kSse2:
      return REDHOLLOW_STRETCH_X86 != 0;
    case StretchKernel::kAvx2:
      return CpuHasAvx2();
  }
  return false;
}

StretchKernel BestStretchKernel() {
  if (IsStretchKernelSupported(StretchKernel::kAvx2)) return StretchKernel::kAvx2;
  if (IsStretchKernelSupported(StretchKernel::kSse2)) return StretchKernel::kSse2;
  return StretchKernel::kScalar;
}

void StretchRect(const MemVideo& src, const IntRect& srcRect, MemVideo& dst, const IntRect& dstRect,
                 bool smooth) {
  Stretch(BestStretchKernel(), src, srcRect, dst, dstRect, smooth, nullptr);
}

void StretchRectPart(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                     const IntRect& dstRect, bool smooth, const IntRect& dstClip) {
  Stretch(BestStretchKernel(), src, srcRect, dst, dstRect, smooth, &dstClip);
}

void StretchRectWithKernel(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect,
                           MemVideo& dst, const IntRect& dstRect, bool smooth,
                           const IntRect& dstClip) {
  if (!IsStretchKernelSupported(kernel)) kernel = StretchKernel::kScalar;
  Stretch(kernel, src, srcRect, dst, dstRect, smooth, &dstClip);
}

void StretchRectParts(const MemVideo& src, const IntRect& srcRect, MemVideo& dst,
                      const IntRect& dstRect, bool smooth, std::span<const IntRect> parts) {
  StretchParts(BestStretchKernel(), src, srcRect, dst, dstRect, smooth, parts);
}

void StretchRectPartsWithKernel(StretchKernel kernel, const MemVideo& src, const IntRect& srcRect,
                                MemVideo& dst, const IntRect& dstRect, bool smooth,
                                std::span<const IntRect> parts) {
  if (!IsStretchKernelSupported(kernel)) kernel = StretchKernel::kScalar;
  StretchParts(kernel, src, srcRect, dst, dstRect, smooth, parts);
}

}  // namespace gfx
