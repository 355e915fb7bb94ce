// The writing side of the resource archives: archive images, run-length packed pictures and
// bitmap file images, each laid out exactly as gfx/archive.h reads them. Used by the
// resource builder and by the tests of the readers. Input that cannot be written (a name
// too long, a size out of range, a pixel count that disagrees with the size) throws
// std::invalid_argument, since it is a fault in the resource list, not in a file.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "gfx/byte_buffer.h"
#include "gfx/mem_video.h"

namespace tools {

using Palette = std::array<gfx::Color, 256>;

struct ArchiveItem {
  std::string name;  // at most 15 characters
  std::int32_t kind = 0;
  gfx::ByteBuffer data;
};

// The directory of all items, then their data in the same order; reserved fields are 0.
gfx::ByteBuffer BuildArchive(const std::vector<ArchiveItem>& items);
// False when the file could not be written completely.
bool WriteArchiveFile(const std::filesystem::path& path, const std::vector<ArchiveItem>& items);
bool WriteBytesFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Run-length codes palette indices (one byte per pixel, rows top to bottom) row by row:
// repeats of up to 63 become a run, and an index of 192 or more is always a run of one.
gfx::ByteBuffer RunLengthEncode(std::int32_t width, std::int32_t height,
                                std::span<const std::uint8_t> indices);
// A packed picture (entry kind 1) around already coded pixels: the 128-byte header, the
// coded pixels, the marker byte 0x0C and the palette as red, green, blue triples.
gfx::ByteBuffer WrapPackedPicture(std::int32_t width, std::int32_t height,
                                  std::span<const std::uint8_t> codedPixels,
                                  const Palette& palette);
gfx::ByteBuffer EncodePackedPicture(std::int32_t width, std::int32_t height,
                                    std::span<const std::uint8_t> indices, const Palette& palette);

// Bitmap file images from pixels given top row first; stored bottom-up unless topDown.
// Indexed images take 1, 4 or 8 bits per pixel and always carry the full 256-entry palette.
gfx::ByteBuffer EncodeIndexedBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                    std::span<const std::uint8_t> indices, const Palette& palette,
                                    bool topDown = false);
// 24 or 32 bits per pixel, no palette.
gfx::ByteBuffer EncodeRgbBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                std::span<const gfx::Color> pixels, bool topDown = false);

}  // namespace tools
