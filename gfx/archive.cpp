#include "gfx/archive.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace gfx {
namespace {

constexpr std::int64_t kDirectoryStart = 4;
constexpr std::int64_t kEntrySize = 40;
constexpr std::size_t kEntryNameSize = 16;

constexpr std::int64_t kPackedHeaderSize = 128;
constexpr std::int64_t kPackedPaletteSize = 1 + 256 * 3;  // marker byte, then red, green, blue
constexpr std::int64_t kMaxPixelsPerRunPair = 63;

constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::int64_t kInfoHeaderSize = 40;
constexpr std::int64_t kPaletteOffset = kFileHeaderSize + kInfoHeaderSize;  // 54
constexpr std::int64_t kIndexedRowsOffset = kPaletteOffset + 256 * 4;       // 1078

// Larger pictures than these are not pictures of this game but damaged headers; the limits
// keep a damaged header from asking for a surface of gigabytes.
constexpr std::int64_t kMaxBitmapDimension = 65536;
constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 28;

std::int32_t LoadLeInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(LoadLe32(p));
}
std::int64_t LoadLeInt64(const std::uint8_t* p) {
  return static_cast<std::int64_t>(std::uint64_t{LoadLe32(p)} |
                                   (std::uint64_t{LoadLe32(p + 4)} << 32));
}

// Random access to the bytes of an archive, so that the file and an image in memory share
// one lookup.
class ArchiveSource {
 public:
  virtual ~ArchiveSource() = default;
  virtual std::int64_t Size() const = 0;
  // Fills dst with count bytes from offset; false when they are not all there.
  virtual bool ReadAt(std::int64_t offset, std::uint8_t* dst, std::int64_t count) = 0;
};

class MemorySource final : public ArchiveSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  bool ReadAt(std::int64_t offset, std::uint8_t* dst, std::int64_t count) override {
    if (offset < 0 || count < 0 || offset > Size() || count > Size() - offset) return false;
    if (count > 0) std::memcpy(dst, bytes_.data() + offset, static_cast<std::size_t>(count));
    return true;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

class FileSource final : public ArchiveSource {
 public:
  explicit FileSource(const std::string& path) : file_(path, std::ios::binary) {
    if (!file_) return;
    file_.seekg(0, std::ios::end);
    const std::streamoff end = file_.tellg();
    if (!file_ || end < 0) return;
    size_ = static_cast<std::int64_t>(end);
  }
  bool IsOpen() const { return size_ >= 0; }
  std::int64_t Size() const override { return size_ < 0 ? 0 : size_; }
  bool ReadAt(std::int64_t offset, std::uint8_t* dst, std::int64_t count) override {
    if (!IsOpen() || offset < 0 || count < 0 || offset > size_ || count > size_ - offset) {
      return false;
    }
    // The directory is read front to back; seeking only when the reads jump keeps the
    // stream's buffer instead of refilling it for every entry.
    if (offset != position_) {
      file_.clear();
      file_.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
      if (!file_) return false;
    }
    file_.read(reinterpret_cast<char*>(dst), static_cast<std::streamsize>(count));
    const bool complete = file_.gcount() == static_cast<std::streamsize>(count);
    position_ = complete ? offset + count : -1;
    return complete;
  }

 private:
  std::ifstream file_;
  std::int64_t size_ = -1;
  std::int64_t position_ = -1;  // where the next read starts, -1 when unknown
};

std::uint8_t AsciiUpper(std::uint8_t c) {
  return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - ('a' - 'A')) : c;
}

// The stored name ends at its first zero byte, or after all 16 bytes when it has none.
bool NameMatches(const std::uint8_t* stored, const std::string& wanted) {
  const std::size_t storedLength = std::find(stored, stored + kEntryNameSize, 0) - stored;
  return SameEntryName({reinterpret_cast<const char*>(stored), storedLength}, wanted);
}

// Walks the directory entry by entry and reads the first entry of that name. A damaged
// directory ends the walk; a matching entry whose data does not lie inside the archive is
// reported as missing, so the caller's buffer is only replaced by complete data.
int ReadEntry(ByteBuffer& buffer, ArchiveSource& source, const std::string& entryName) {
  std::uint8_t countBytes[4];
  if (!source.ReadAt(0, countBytes, 4)) return 1;
  const std::int64_t count = LoadLeInt32(countBytes);

  std::uint8_t entry[kEntrySize];
  for (std::int64_t i = 0; i < count; ++i) {
    if (!source.ReadAt(kDirectoryStart + i * kEntrySize, entry, kEntrySize)) return 1;
    if (!NameMatches(entry, entryName)) continue;

    const std::int32_t kind = LoadLeInt32(entry + 16);
    const std::int64_t offset = LoadLeInt64(entry + 24);
    const std::int64_t size = LoadLeInt32(entry + 32);
    if (offset < 0 || size < 0 || offset > source.Size() || size > source.Size() - offset) {
      return 1;
    }
    ByteBuffer data(static_cast<std::size_t>(size));
    if (!source.ReadAt(offset, data.data(), size)) return 1;
    if (kind == kEntryKindPackedPicture) ConvertPackedPicture(data);
    buffer = std::move(data);
    return 0;
  }
  return 1;
}

// The whole directory and every entry's data range checked, as ArchiveFault describes.
std::optional<std::string> DirectoryFault(ArchiveSource& source) {
  std::uint8_t countBytes[4];
  if (!source.ReadAt(0, countBytes, 4)) return "is damaged: it is too short to hold a directory";
  const std::int64_t count = LoadLeInt32(countBytes);
  if (count <= 0) return "is damaged: its directory lists no entries";
  if (count > (source.Size() - kDirectoryStart) / kEntrySize) {
    return "is damaged: its directory of " + std::to_string(count) +
           " entries reaches past the end of the file";
  }
  std::uint8_t entry[kEntrySize];
  for (std::int64_t i = 0; i < count; ++i) {
    if (!source.ReadAt(kDirectoryStart + i * kEntrySize, entry, kEntrySize))
      return "cannot be read";
    const std::int64_t offset = LoadLeInt64(entry + 24);
    const std::int64_t size = LoadLeInt32(entry + 32);
    if (offset < 0 || size < 0 || offset > source.Size() || size > source.Size() - offset) {
      // The name goes into a message box, so only printable ASCII of it is shown.
      std::string shownName(entry, std::find(entry, entry + kEntryNameSize, 0));
      for (char& c : shownName)
        if (c < ' ' || c > '~') c = '?';
      return "is damaged: the data of its entry \"" + shownName +
             "\" lies past the end of the file";
    }
  }
  return std::nullopt;
}

// Colour of palette quad i (blue, green, red, 0) of an indexed bitmap file image.
Color PaletteColor(const std::uint8_t* palette, std::uint32_t index) {
  const std::uint8_t* quad = palette + 4 * static_cast<std::size_t>(index);
  return Rgb(quad[2], quad[1], quad[0]);
}

}  // namespace

int ReadArchiveEntry(ByteBuffer& buffer, const std::string& archiveFile,
                     const std::string& entryName) {
  // A missing or unreadable archive reads as one that lacks the entry.
  FileSource source(archiveFile);
  const int result = source.IsOpen() ? ReadEntry(buffer, source, entryName) : 1;
  if (result != 0) {
    std::cerr << "Resource <" + entryName + "> not found, FILE: " + archiveFile << '\n';
  }
  return result;
}

std::optional<std::string> ArchiveFault(const std::string& archiveFile) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(archiveFile, error);
  if (status.type() == std::filesystem::file_type::not_found) return kArchiveMissing;
  if (error || !std::filesystem::is_regular_file(status)) return "is not a file that can be read";
  FileSource source(archiveFile);
  if (!source.IsOpen()) return "cannot be read";
  return DirectoryFault(source);
}

std::optional<std::string> ArchiveImageFault(std::span<const std::uint8_t> archiveImage) {
  MemorySource source(archiveImage);
  return DirectoryFault(source);
}

bool SameEntryName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiUpper(static_cast<std::uint8_t>(x)) ==
                  AsciiUpper(static_cast<std::uint8_t>(y));
         });
}

int ReadArchiveEntryFromImage(ByteBuffer& buffer, std::span<const std::uint8_t> archiveImage,
                              const std::string& entryName) {
  MemorySource source(archiveImage);
  return ReadEntry(buffer, source, entryName);
}

// A packed picture whose pixels cannot all be decoded (the header claims more than the data
// could hold, or the data ends early) becomes an empty buffer, which CreateDeviceBitmap turns
// into no picture at all.
void ConvertPackedPicture(ByteBuffer& buffer) {
  const std::int64_t inputSize = static_cast<std::int64_t>(buffer.size());
  if (inputSize < kPackedHeaderSize + kPackedPaletteSize) {
    buffer.clear();
    return;
  }
  const std::int64_t width = std::int64_t{LoadLe16(buffer.data() + 8)} + 1;
  const std::int64_t height = std::int64_t{LoadLe16(buffer.data() + 10)} + 1;
  const std::int64_t pixelCount = width * height;
  const std::int64_t stride = (width + 3) / 4 * 4;

  // Checked before allocating: a run pair gives at most 63 pixels, a lone byte one.
  const std::int64_t codedBytes = inputSize - kPackedHeaderSize - kPackedPaletteSize;
  if (pixelCount > codedBytes / 2 * kMaxPixelsPerRunPair + codedBytes % 2) {
    buffer.clear();
    return;
  }

  const std::int64_t imageSize = stride * height;
  ByteBuffer output(static_cast<std::size_t>(kIndexedRowsOffset + imageSize), 0);
  std::uint8_t* out = output.data();
  out[0] = 'B';
  out[1] = 'M';
  StoreLe32(out + 10, static_cast<std::uint32_t>(kIndexedRowsOffset));
  StoreLe32(out + 14, static_cast<std::uint32_t>(kInfoHeaderSize));
  StoreLe32(out + 18, static_cast<std::uint32_t>(width));
  StoreLe32(out + 22, static_cast<std::uint32_t>(height));
  StoreLe16(out + 26, 1);
  StoreLe16(out + 28, 8);
  // The image size field is 32 bits wide; 0 is allowed for uncompressed rows.
  StoreLe32(out + 34, imageSize <= 0xFFFFFFFF ? static_cast<std::uint32_t>(imageSize) : 0);

  // Rows are coded top to bottom and stored bottom-up, so decoding starts in the last row.
  const std::uint8_t* in = buffer.data();
  std::int64_t readPos = kPackedHeaderSize;
  std::int64_t produced = 0;
  std::int64_t row = height - 1;
  std::int64_t column = 0;
  std::uint8_t* rowStart = out + kIndexedRowsOffset + stride * row;
  auto emit = [&](std::uint8_t index, std::int64_t repeat) {
    repeat = std::min(repeat, pixelCount - produced);
    produced += repeat;
    while (repeat > 0) {
      const std::int64_t span = std::min(repeat, width - column);
      std::memset(rowStart + column, index, static_cast<std::size_t>(span));
      column += span;
      repeat -= span;
      if (column == width && row > 0) {
        --row;
        column = 0;
        rowStart -= stride;
      }
    }
  };
  while (produced < pixelCount && readPos < inputSize) {
    const std::uint8_t code = in[readPos++];
    if (code < 0xC0) {
      emit(code, 1);
      continue;
    }
    if (readPos >= inputSize) break;
    emit(in[readPos++], code & 0x3F);
  }

  // The marker byte before the palette is skipped unchecked.
  const std::int64_t paletteStart = readPos + 1;
  if (produced < pixelCount || paletteStart + 256 * 3 > inputSize) {
    buffer.clear();
    return;
  }
  for (int i = 0; i < 256; ++i) {
    const std::uint8_t* rgb = in + paletteStart + 3 * i;
    std::uint8_t* quad = out + kPaletteOffset + 4 * i;
    quad[0] = rgb[2];
    quad[1] = rgb[1];
    quad[2] = rgb[0];
    quad[3] = 0;
  }
  buffer = std::move(output);
}

// Indexed images (8 bits or fewer) always carry a full 256-entry palette at 54 and their
// rows at 1078; deeper images have their rows at 54. Whatever the header's own offset field
// says, these are where the rows are.
std::unique_ptr<MemVideo> CreateDeviceBitmap(const ByteBuffer& buffer) {
  const std::int64_t size = static_cast<std::int64_t>(buffer.size());
  if (size < kPaletteOffset) return nullptr;
  const std::uint8_t* in = buffer.data();
  if (in[0] != 'B' || in[1] != 'M') return nullptr;

  const std::uint8_t* info = in + kFileHeaderSize;
  const std::int64_t headerSize = LoadLe32(info);
  const std::int64_t width = LoadLeInt32(info + 4);
  const std::int64_t storedHeight = LoadLeInt32(info + 8);
  const int planes = LoadLe16(info + 12);
  const int bitsPerPixel = LoadLe16(info + 14);
  const std::uint32_t compression = LoadLe32(info + 16);
  if (headerSize != kInfoHeaderSize || planes != 1 || compression != 0) return nullptr;
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24 &&
      bitsPerPixel != 32) {
    return nullptr;
  }
  const bool topDown = storedHeight < 0;
  const std::int64_t height = topDown ? -storedHeight : storedHeight;
  if (width <= 0 || height <= 0 || width > kMaxBitmapDimension || height > kMaxBitmapDimension ||
      width * height > kMaxBitmapPixels) {
    return nullptr;
  }

  const std::int64_t rowsOffset = bitsPerPixel <= 8 ? kIndexedRowsOffset : kPaletteOffset;
  const std::int64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  if (rowsOffset + stride * height > size) return nullptr;

  auto surface = std::make_unique<MemVideo>(static_cast<std::int32_t>(width),
                                            static_cast<std::int32_t>(height));
  const std::uint8_t* palette = in + kPaletteOffset;
  for (std::int64_t y = 0; y < height; ++y) {
    const std::int64_t storedRow = topDown ? y : height - 1 - y;
    const std::uint8_t* src = in + rowsOffset + stride * storedRow;
    Color* dst = surface->row(static_cast<std::int32_t>(y));
    switch (bitsPerPixel) {
      case 1:
        for (std::int64_t x = 0; x < width; ++x) {
          dst[x] = PaletteColor(palette, (src[x >> 3] >> (7 - (x & 7))) & 1);
        }
        break;
      case 4:
        for (std::int64_t x = 0; x < width; ++x) {
          dst[x] = PaletteColor(palette, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
        }
        break;
      case 8:
        for (std::int64_t x = 0; x < width; ++x) dst[x] = PaletteColor(palette, src[x]);
        break;
      default: {
        const std::int64_t bytesPerPixel = bitsPerPixel / 8;
        for (std::int64_t x = 0; x < width; ++x) {
          const std::uint8_t* bgr = src + bytesPerPixel * x;
          dst[x] = Rgb(bgr[2], bgr[1], bgr[0]);
        }
        break;
      }
    }
  }
  return surface;
}

}  // namespace gfx
