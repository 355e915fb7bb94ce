// PNG files of surfaces: screenshots of what a player would see, and golden images in tests.
#pragma once

#include <memory>
#include <string>

#include "gfx/mem_video.h"

namespace gfx {

// False when the file could not be written completely.
bool WritePng(const MemVideo& surface, const std::string& path);
// The picture of a PNG file (alpha dropped), or nullptr when it cannot be read.
std::unique_ptr<MemVideo> ReadPng(const std::string& path);

}  // namespace gfx
