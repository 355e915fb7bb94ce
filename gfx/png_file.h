// PNG files of surfaces: screenshots of what a player would see, and golden images in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "gfx/byte_buffer.h"
#include "gfx/mem_video.h"

namespace gfx {

// False when the file could not be written completely.
bool WritePng(const MemVideo& surface, const std::string& path);
// With an alpha channel: the pixels of the hole colour are transparent, every other opaque.
bool WritePng(const MemVideo& surface, const std::string& path, std::optional<Color> hole);
// The file WritePng writes, in memory; empty for an empty surface.
ByteBuffer EncodePng(const MemVideo& surface, std::optional<Color> hole = std::nullopt);

// The picture of a PNG file (alpha dropped), or nullptr when it cannot be read. A picture is
// refused before anything is allocated for it when it is larger than any the game shows, or
// when its compressed data could not possibly fill it.
std::unique_ptr<MemVideo> ReadPng(const std::string& path);
// The same from a PNG file held in memory.
std::unique_ptr<MemVideo> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace gfx
