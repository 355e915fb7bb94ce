#include "tools/resbuild/quantize.h"

#include <dlfcn.h>
#include <libimagequant.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "tools/resbuild/canvas.h"

namespace resbuild {
namespace {

constexpr int kShownColours = 255;

// libimagequant may run its search on several threads, and sums of floating-point errors
// taken in a racy order would change the palette from run to run. The OpenMP runtime it
// brings along is told to use one thread; without that runtime it is single-threaded anyway.
void UseOneThread() {
  static const bool done = [] {
    using SetThreads = void (*)(int);
    if (void* symbol = dlsym(RTLD_DEFAULT, "omp_set_num_threads")) {
      reinterpret_cast<SetThreads>(symbol)(1);
    }
    return true;
  }();
  (void)done;
}

int Distance(gfx::Color a, gfx::Color b) {
  const int dr = gfx::RedOf(a) - gfx::RedOf(b);
  const int dg = gfx::GreenOf(a) - gfx::GreenOf(b);
  const int db = gfx::BlueOf(a) - gfx::BlueOf(b);
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

std::vector<gfx::Color> ReducedPalette(const std::map<gfx::Color, unsigned>& histogram) {
  UseOneThread();
  std::vector<liq_histogram_entry> entries;
  entries.reserve(histogram.size());
  for (const auto& [color, count] : histogram) {
    liq_histogram_entry e{};
    e.color = {gfx::RedOf(color), gfx::GreenOf(color), gfx::BlueOf(color), 255};
    e.count = count;
    entries.push_back(e);
  }
  liq_attr* attr = liq_attr_create();
  liq_set_max_colors(attr, kShownColours);
  liq_set_speed(attr, 4);
  liq_histogram* hist = liq_histogram_create(attr);
  liq_result* result = nullptr;
  std::vector<gfx::Color> palette;
  if (liq_histogram_add_colors(hist, attr, entries.data(), static_cast<int>(entries.size()), 0) ==
          LIQ_OK &&
      liq_histogram_quantize(hist, attr, &result) == LIQ_OK) {
    const liq_palette* p = liq_get_palette(result);
    for (unsigned i = 0; i < p->count && palette.size() < kShownColours; ++i) {
      gfx::Color c = gfx::Rgb(p->entries[i].r, p->entries[i].g, p->entries[i].b);
      if (c == gfx::kBlack) c = kNearBlack;
      palette.push_back(c);
    }
    liq_result_destroy(result);
  }
  liq_histogram_destroy(hist);
  liq_attr_destroy(attr);
  if (palette.empty()) throw std::runtime_error("libimagequant could not make a palette");
  return palette;
}

}  // namespace

QuantisedGroup QuantiseGroup(std::span<const gfx::MemVideo* const> pictures) {
  std::map<gfx::Color, unsigned> histogram;
  for (const gfx::MemVideo* picture : pictures) {
    const std::size_t count = static_cast<std::size_t>(picture->width()) * picture->height();
    for (std::size_t i = 0; i < count; ++i) {
      const gfx::Color c = picture->pixels()[i];
      if (c != gfx::kBlack) ++histogram[c];
    }
  }

  std::vector<gfx::Color> shown;
  if (histogram.size() <= kShownColours) {
    for (const auto& entry : histogram) shown.push_back(entry.first);
  } else {
    shown = ReducedPalette(histogram);
  }

  QuantisedGroup group;
  group.palette.fill(gfx::kBlack);
  for (std::size_t i = 0; i < shown.size(); ++i) group.palette[i + 1] = shown[i];

  std::unordered_map<gfx::Color, std::uint8_t> nearest;
  nearest.reserve(histogram.size());
  for (const auto& entry : histogram) {
    int best = 1;
    int bestDistance = Distance(entry.first, group.palette[1]);
    for (int i = 2; i <= static_cast<int>(shown.size()) && bestDistance > 0; ++i) {
      const int d = Distance(entry.first, group.palette[i]);
      if (d < bestDistance) {
        best = i;
        bestDistance = d;
      }
    }
    nearest.emplace(entry.first, static_cast<std::uint8_t>(best));
  }

  for (const gfx::MemVideo* picture : pictures) {
    const std::size_t count = static_cast<std::size_t>(picture->width()) * picture->height();
    std::vector<std::uint8_t> indices(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
      const gfx::Color c = picture->pixels()[i];
      if (c != gfx::kBlack) indices[i] = nearest.at(c);
    }
    group.indices.push_back(std::move(indices));
  }
  return group;
}

gfx::MemVideo ShowIndices(int width, int height, std::span<const std::uint8_t> indices,
                          const tools::Palette& palette) {
  gfx::MemVideo out(width, height);
  const std::size_t count = std::min(indices.size(), static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < count; ++i) out.pixels()[i] = palette[indices[i]];
  return out;
}

}  // namespace resbuild
