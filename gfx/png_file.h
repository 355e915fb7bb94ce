// PNG files of surfaces: screenshots of what a player would see, and golden images in tests.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "gfx/mem_video.h"

namespace gfx {

// False when the file could not be written completely.
bool WritePng(const MemVideo& surface, const std::string& path);
// With an alpha channel: the pixels of the hole colour are transparent, every other opaque.
bool WritePng(const MemVideo& surface, const std::string& path, std::optional<Color> hole);
// The picture of a PNG file (alpha dropped), or nullptr when it cannot be read.
std::unique_ptr<MemVideo> ReadPng(const std::string& path);

}  // namespace gfx
