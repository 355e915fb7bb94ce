// Quantising pictures to the 256-colour palettes of packed pictures. Palette index 0 is pure
// black and is kept for holes (0 pixels); every shown colour maps to one of the indices
// 1..255, none of which is pure black.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/mem_video.h"
#include "tools/archive_writer.h"

namespace resbuild {

struct QuantisedGroup {
  tools::Palette palette{};
  std::vector<std::vector<std::uint8_t>> indices;  // one per picture, row by row
};

// One palette for all the pictures together. A group of at most 255 shown colours keeps
// them exactly; a larger one is reduced with libimagequant (single-threaded) and each
// colour then goes to its nearest palette colour on its own, without dithering, so equal
// source pixels always get equal indices.
QuantisedGroup QuantiseGroup(std::span<const gfx::MemVideo* const> pictures);

// The picture that indices and palette show.
gfx::MemVideo ShowIndices(int width, int height, std::span<const std::uint8_t> indices,
                          const tools::Palette& palette);

}  // namespace resbuild
