// A sample colony drawn from the map sheets of res02.dat as the map view will draw it, so
// the art can be judged together: every structure, a building site of every kind, every
// highway piece joined to its neighbours, every fog state, every ground tile.
#pragma once

#include <filesystem>

#include "gfx/mem_video.h"

namespace resarc {

inline constexpr int kPreviewMapSize = 12;  // cells along each axis

// Throws Error when an entry is missing or does not fit its frames.
gfx::MemVideo MakePreviewMap(const std::filesystem::path& archive);
void WritePreviewMap(const std::filesystem::path& archive, const std::filesystem::path& out);

}  // namespace resarc
