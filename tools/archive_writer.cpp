#include "tools/archive_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "gfx/picture_limits.h"

namespace tools {
namespace {

constexpr std::size_t kEntrySize = 40;
constexpr std::size_t kMaxNameLength = 15;
// A packed picture's header stores each side less one in 16 bits.
constexpr std::int32_t kMaxPackedSide = 0x10000;

// Nothing is written that the game would refuse to read.
void CheckPixelCount(std::int32_t width, std::int32_t height, std::size_t given) {
  if (!gfx::PictureSizeAllowed(width, height)) {
    throw std::invalid_argument("picture size out of range");
  }
  if (given != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    throw std::invalid_argument("pixel count does not match the picture size");
  }
}

// The 14-byte file header and the 40-byte info header of a bitmap file image.
gfx::ByteBuffer BitmapHeaders(std::int32_t width, std::int32_t height, int bitsPerPixel,
                              bool topDown, std::uint64_t rowsOffset, std::uint64_t imageSize) {
  const std::uint64_t fileSize = rowsOffset + imageSize;
  if (fileSize > 0xFFFFFFFFu) throw std::invalid_argument("bitmap too large");
  gfx::ByteBuffer out(static_cast<std::size_t>(fileSize), 0);
  out[0] = 'B';
  out[1] = 'M';
  gfx::StoreLe32(&out[2], static_cast<std::uint32_t>(fileSize));
  gfx::StoreLe32(&out[10], static_cast<std::uint32_t>(rowsOffset));
  gfx::StoreLe32(&out[14], 40);
  gfx::StoreLe32(&out[18], static_cast<std::uint32_t>(width));
  gfx::StoreLe32(&out[22], static_cast<std::uint32_t>(topDown ? -height : height));
  gfx::StoreLe16(&out[26], 1);
  gfx::StoreLe16(&out[28], static_cast<std::uint16_t>(bitsPerPixel));
  gfx::StoreLe32(&out[34], static_cast<std::uint32_t>(imageSize));
  return out;
}

std::uint64_t BitmapStride(std::int32_t width, int bitsPerPixel) {
  return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

}  // namespace

gfx::ByteBuffer BuildArchive(const std::vector<ArchiveItem>& items) {
  std::uint64_t dataOffset = 4 + kEntrySize * items.size();
  std::uint64_t total = dataOffset;
  for (const ArchiveItem& item : items) {
    if (item.name.size() > kMaxNameLength || item.name.find('\0') != std::string::npos) {
      throw std::invalid_argument("entry name longer than 15 characters: " + item.name);
    }
    if (item.data.size() > 0x7FFFFFFFu) throw std::invalid_argument("entry too large");
    total += item.data.size();
  }
  if (items.size() > 0x7FFFFFFFu) throw std::invalid_argument("too many entries");

  gfx::ByteBuffer out(static_cast<std::size_t>(total), 0);
  gfx::StoreLe32(out.data(), static_cast<std::uint32_t>(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const ArchiveItem& item = items[i];
    std::uint8_t* entry = out.data() + 4 + kEntrySize * i;
    std::copy(item.name.begin(), item.name.end(), entry);
    gfx::StoreLe32(entry + 16, static_cast<std::uint32_t>(item.kind));
    gfx::StoreLe64(entry + 24, dataOffset);
    gfx::StoreLe32(entry + 32, static_cast<std::uint32_t>(item.data.size()));
    std::copy(item.data.begin(), item.data.end(),
              out.begin() + static_cast<std::ptrdiff_t>(dataOffset));
    dataOffset += item.data.size();
  }
  return out;
}

bool WriteBytesFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

bool WriteArchiveFile(const std::filesystem::path& path, const std::vector<ArchiveItem>& items) {
  return WriteBytesFile(path, BuildArchive(items));
}

gfx::ByteBuffer RunLengthEncode(std::int32_t width, std::int32_t height,
                                std::span<const std::uint8_t> indices) {
  CheckPixelCount(width, height, indices.size());
  gfx::ByteBuffer coded;
  coded.reserve(indices.size());
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * width;
    std::int32_t x = 0;
    while (x < width) {
      const std::uint8_t index = row[x];
      std::int32_t repeat = 1;
      while (x + repeat < width && repeat < 63 && row[x + repeat] == index) ++repeat;
      if (repeat == 1 && index < 0xC0) {
        coded.push_back(index);
      } else {
        coded.push_back(static_cast<std::uint8_t>(0xC0 | repeat));
        coded.push_back(index);
      }
      x += repeat;
    }
  }
  return coded;
}

gfx::ByteBuffer WrapPackedPicture(std::int32_t width, std::int32_t height,
                                  std::span<const std::uint8_t> codedPixels,
                                  const Palette& palette) {
  if (width < 1 || height < 1 || width > kMaxPackedSide || height > kMaxPackedSide) {
    throw std::invalid_argument("picture size out of range");
  }
  gfx::ByteBuffer out(128 + codedPixels.size() + 1 + 3 * palette.size(), 0);
  out[0] = 10;  // manufacturer
  out[1] = 5;   // version
  out[2] = 1;   // run-length encoding
  out[3] = 8;   // bits per pixel in the one plane
  gfx::StoreLe16(&out[8], static_cast<std::uint16_t>(width - 1));
  gfx::StoreLe16(&out[10], static_cast<std::uint16_t>(height - 1));
  out[65] = 1;  // planes
  // Bytes per line: each row is exactly width coded pixels. It does not fit the field for
  // the widest pictures, which the reader never looks at anyway.
  gfx::StoreLe16(&out[66], static_cast<std::uint16_t>(std::min(width, 0xFFFF)));
  gfx::StoreLe16(&out[68], 1);  // colour palette
  auto pos = std::copy(codedPixels.begin(), codedPixels.end(), out.begin() + 128);
  *pos++ = 0x0C;
  for (gfx::Color c : palette) {
    *pos++ = gfx::RedOf(c);
    *pos++ = gfx::GreenOf(c);
    *pos++ = gfx::BlueOf(c);
  }
  return out;
}

gfx::ByteBuffer EncodePackedPicture(std::int32_t width, std::int32_t height,
                                    std::span<const std::uint8_t> indices, const Palette& palette) {
  return WrapPackedPicture(width, height, RunLengthEncode(width, height, indices), palette);
}

gfx::ByteBuffer EncodeIndexedBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                    std::span<const std::uint8_t> indices, const Palette& palette,
                                    bool topDown) {
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8) {
    throw std::invalid_argument("indexed bitmaps have 1, 4 or 8 bits per pixel");
  }
  CheckPixelCount(width, height, indices.size());
  const std::uint64_t stride = BitmapStride(width, bitsPerPixel);
  const std::uint64_t rowsOffset = 54 + 256 * 4;
  gfx::ByteBuffer out =
      BitmapHeaders(width, height, bitsPerPixel, topDown, rowsOffset, stride * height);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    std::uint8_t* quad = &out[54 + 4 * i];
    quad[0] = gfx::BlueOf(palette[i]);
    quad[1] = gfx::GreenOf(palette[i]);
    quad[2] = gfx::RedOf(palette[i]);
  }
  const int pixelsPerByte = 8 / bitsPerPixel;
  const std::uint8_t valueMask = static_cast<std::uint8_t>((1 << bitsPerPixel) - 1);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t storedRow = topDown ? y : height - 1 - y;
    std::uint8_t* dst = &out[rowsOffset + stride * storedRow];
    const std::uint8_t* src = indices.data() + static_cast<std::size_t>(y) * width;
    for (std::int32_t x = 0; x < width; ++x) {
      const int shift = (pixelsPerByte - 1 - x % pixelsPerByte) * bitsPerPixel;
      dst[x / pixelsPerByte] |= static_cast<std::uint8_t>((src[x] & valueMask) << shift);
    }
  }
  return out;
}

gfx::ByteBuffer EncodeRgbBitmap(std::int32_t width, std::int32_t height, int bitsPerPixel,
                                std::span<const gfx::Color> pixels, bool topDown) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32) {
    throw std::invalid_argument("colour bitmaps have 24 or 32 bits per pixel");
  }
  CheckPixelCount(width, height, pixels.size());
  const std::uint64_t stride = BitmapStride(width, bitsPerPixel);
  const std::uint64_t rowsOffset = 54;
  gfx::ByteBuffer out =
      BitmapHeaders(width, height, bitsPerPixel, topDown, rowsOffset, stride * height);
  const int bytesPerPixel = bitsPerPixel / 8;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t storedRow = topDown ? y : height - 1 - y;
    std::uint8_t* dst = &out[rowsOffset + stride * storedRow];
    const gfx::Color* src = pixels.data() + static_cast<std::size_t>(y) * width;
    for (std::int32_t x = 0; x < width; ++x) {
      dst[bytesPerPixel * x] = gfx::BlueOf(src[x]);
      dst[bytesPerPixel * x + 1] = gfx::GreenOf(src[x]);
      dst[bytesPerPixel * x + 2] = gfx::RedOf(src[x]);
    }
  }
  return out;
}

}  // namespace tools
