// The smoothed stretch at the three sizes the map view produces, beside pixman's bilinear
// scaling of the same buffers and the memory floor (one pass that reads and writes as
// many bytes as the destination holds).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstring>
#include <random>

#include "gfx/mem_video.h"
#include "gfx/stretch.h"

namespace {

struct Geometry {
  std::int32_t sourceWidth, sourceHeight, destWidth, destHeight;
};

constexpr Geometry kMapSizes[] = {
    {1152, 760, 1024, 676},
    {2016, 998, 1920, 950},
    {3888, 1925, 3840, 1901},
};

const Geometry& GeometryOf(const benchmark::State& state) {
  return kMapSizes[static_cast<std::size_t>(state.range(0))];
}

void FillSource(gfx::MemVideo& surface) {
  std::mt19937 random(7);
  for (std::int32_t y = 0; y < surface.height(); ++y) {
    for (std::int32_t x = 0; x < surface.width(); ++x) {
      surface.set(x, y, random() & 0x00FFFFFF);
    }
  }
}

void Label(benchmark::State& state) {
  const Geometry& g = GeometryOf(state);
  state.SetLabel(std::to_string(g.sourceWidth) + "x" + std::to_string(g.sourceHeight) + "->" +
                 std::to_string(g.destWidth) + "x" + std::to_string(g.destHeight));
  state.SetItemsProcessed(state.iterations() * g.destWidth * g.destHeight);
}

void BM_Smoothed(benchmark::State& state, gfx::StretchKernel kernel) {
  if (!gfx::IsStretchKernelSupported(kernel)) {
    state.SkipWithError("kernel not supported by this processor");
    return;
  }
  const Geometry& g = GeometryOf(state);
  gfx::MemVideo source(g.sourceWidth, g.sourceHeight);
  gfx::MemVideo dest(g.destWidth, g.destHeight);
  FillSource(source);
  for (auto _ : state) {
    gfx::StretchRectWithKernel(kernel, source, source.bounds(), dest, dest.bounds(), true,
                               dest.bounds());
    benchmark::DoNotOptimize(dest.pixels());
    benchmark::ClobberMemory();
  }
  Label(state);
}

// One 64 x 64 destination cell of the map view re-stretched on its own.
void BM_SmoothedCell(benchmark::State& state) {
  const Geometry& g = GeometryOf(state);
  gfx::MemVideo source(g.sourceWidth, g.sourceHeight);
  gfx::MemVideo dest(g.destWidth, g.destHeight);
  FillSource(source);
  const gfx::IntRect cell = gfx::IntRect::FromSize(g.destWidth / 2, g.destHeight / 2, 64, 64);
  for (auto _ : state) {
    gfx::StretchRectPart(source, source.bounds(), dest, dest.bounds(), true, cell);
    benchmark::DoNotOptimize(dest.pixels());
    benchmark::ClobberMemory();
  }
}

void BM_PixmanBilinear(benchmark::State& state) {
  const Geometry& g = GeometryOf(state);
  gfx::MemVideo source(g.sourceWidth, g.sourceHeight);
  gfx::MemVideo dest(g.destWidth, g.destHeight);
  FillSource(source);
  pixman_image_t* from = pixman_image_create_bits(PIXMAN_x8r8g8b8, g.sourceWidth, g.sourceHeight,
                                                  source.pixels(), g.sourceWidth * 4);
  pixman_image_t* to = pixman_image_create_bits(PIXMAN_x8r8g8b8, g.destWidth, g.destHeight,
                                                dest.pixels(), g.destWidth * 4);
  pixman_transform_t scale;
  pixman_transform_init_scale(
      &scale, pixman_double_to_fixed(static_cast<double>(g.sourceWidth) / g.destWidth),
      pixman_double_to_fixed(static_cast<double>(g.sourceHeight) / g.destHeight));
  pixman_image_set_transform(from, &scale);
  pixman_image_set_filter(from, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  // Edge pixels repeat outwards, as the game's stretch clamps its taps.
  pixman_image_set_repeat(from, PIXMAN_REPEAT_PAD);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, from, nullptr, to, 0, 0, 0, 0, 0, 0, g.destWidth,
                             g.destHeight);
    benchmark::DoNotOptimize(dest.pixels());
    benchmark::ClobberMemory();
  }
  pixman_image_unref(from);
  pixman_image_unref(to);
  Label(state);
}

void BM_MemoryFloor(benchmark::State& state) {
  const Geometry& g = GeometryOf(state);
  gfx::MemVideo source(g.sourceWidth, g.sourceHeight);
  gfx::MemVideo dest(g.destWidth, g.destHeight);
  FillSource(source);
  const std::size_t bytes = static_cast<std::size_t>(g.destWidth) * g.destHeight * 4;
  for (auto _ : state) {
    std::memcpy(dest.pixels(), source.pixels(), bytes);
    benchmark::DoNotOptimize(dest.pixels());
    benchmark::ClobberMemory();
  }
  Label(state);
}

BENCHMARK_CAPTURE(BM_Smoothed, best, gfx::BestStretchKernel())
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Smoothed, sse2, gfx::StretchKernel::kSse2)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Smoothed, scalar, gfx::StretchKernel::kScalar)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanBilinear)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryFloor)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmoothedCell)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
