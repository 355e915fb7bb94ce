#include "gfx/png_file.h"

#include <png.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "gfx/picture_limits.h"

namespace gfx {
namespace {

// Rows are read straight into the surface: an XRGB pixel is blue, green, red, 0 in memory.
static_assert(std::endian::native == std::endian::little);

// Deflate gives at most 1032 bytes for each byte it reads (a 258-byte copy coded in two bits),
// so a file can hold no more pixel data than this many times its own size.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// libpng reports an error by a longjmp to the setjmp of the function that called into it,
// skipping every frame in between without running destructors. So only the plain functions
// below call into libpng, and their frames (like the callbacks' frames and libpng's own) hold
// nothing with a destructor; whatever needs cleaning up belongs to their callers.

// Errors stop the call and warnings pass, both without a word: the callers report a failure
// in their own words, which libpng's lines would only repeat.
void StopOnError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

struct MemoryInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (count > input->size - input->position) png_error(png, "the file ends early");
  std::memcpy(out, input->data + input->position, count);
  input->position += count;
}

void AppendToBuffer(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<ByteBuffer*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    out->insert(out->end(), data, data + count);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  if (!appended) png_error(png, "out of memory");
}

void FlushNothing(png_structp) {}

struct PngLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::uint64_t storedBitsPerPixel = 0;  // as the file codes them
  png_size_t rowBytes = 0;               // as they are read, after the transformations
};

// Reads the header and sets the transformations that turn whatever the file holds into rows
// of XRGB pixels. False when libpng stops on damage.
bool ReadLayout(png_structp png, png_infop info, PngLayout& layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  layout.width = png_get_image_width(png, info);
  layout.height = png_get_image_height(png, info);
  layout.storedBitsPerPixel =
      std::uint64_t{png_get_channels(png, info)} * png_get_bit_depth(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout.rowBytes = png_get_rowbytes(png, info);
  return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

bool WriteRows(png_structp png, png_infop info, const MemVideo& surface, const Color* hole,
               png_bytep row) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width()),
               static_cast<png_uint_32>(surface.height()), 8,
               hole != nullptr ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < surface.height(); ++y) {
    const Color* pixels = surface.row(y);
    png_bytep out = row;
    for (std::int32_t x = 0; x < surface.width(); ++x) {
      *out++ = RedOf(pixels[x]);
      *out++ = GreenOf(pixels[x]);
      *out++ = BlueOf(pixels[x]);
      if (hole != nullptr) *out++ = pixels[x] == *hole ? 0 : 255;
    }
    png_write_row(png, row);
  }
  png_write_end(png, nullptr);
  return true;
}

void DestroyReadStruct(png_structpp png, png_infopp info) {
  png_destroy_read_struct(png, info, nullptr);
}

// The libpng structures of one read or one write, destroyed with it.
template <auto kCreate, auto kDestroy>
class PngStructs {
 public:
  PngStructs()
      : png_(kCreate(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, IgnoreWarning)),
        info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
  ~PngStructs() { kDestroy(&png_, &info_); }
  PngStructs(const PngStructs&) = delete;
  PngStructs& operator=(const PngStructs&) = delete;
  bool made() const { return info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};
using PngReadStructs = PngStructs<png_create_read_struct, DestroyReadStruct>;
using PngWriteStructs = PngStructs<png_create_write_struct, png_destroy_write_struct>;

}  // namespace

ByteBuffer EncodePng(const MemVideo& surface, std::optional<Color> hole) {
  ByteBuffer out;
  if (surface.empty()) return out;
  PngWriteStructs writer;
  if (!writer.made()) return out;
  png_set_write_fn(writer.png(), &out, AppendToBuffer, FlushNothing);
  std::vector<png_byte> row(static_cast<std::size_t>(surface.width()) * (hole ? 4 : 3));
  if (!WriteRows(writer.png(), writer.info(), surface, hole ? &*hole : nullptr, row.data())) {
    out.clear();
  }
  return out;
}

bool WritePng(const MemVideo& surface, const std::string& path) {
  return WritePng(surface, path, std::nullopt);
}

bool WritePng(const MemVideo& surface, const std::string& path, std::optional<Color> hole) {
  const ByteBuffer bytes = EncodePng(surface, hole);
  if (bytes.empty()) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  return static_cast<bool>(file);
}

std::unique_ptr<MemVideo> DecodePng(std::span<const std::uint8_t> bytes) {
  PngReadStructs reader;
  if (!reader.made()) return nullptr;
  MemoryInput input{bytes.data(), bytes.size(), 0};
  png_set_read_fn(reader.png(), &input, ReadFromMemory);
  PngLayout layout;
  if (!ReadLayout(reader.png(), reader.info(), layout)) return nullptr;
  if (!PictureSizeAllowed(layout.width, layout.height) ||
      layout.rowBytes != png_size_t{layout.width} * sizeof(Color)) {
    return nullptr;
  }
  const std::uint64_t storedBytes =
      std::uint64_t{layout.width} * layout.height * layout.storedBitsPerPixel / 8;
  if (storedBytes > bytes.size() * kMaxInflateRatio) return nullptr;

  auto surface = std::make_unique<MemVideo>(static_cast<std::int32_t>(layout.width),
                                            static_cast<std::int32_t>(layout.height));
  std::vector<png_bytep> rows(layout.height);
  for (png_uint_32 y = 0; y < layout.height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(surface->row(static_cast<std::int32_t>(y)));
  }
  if (!ReadRows(reader.png(), rows.data())) return nullptr;
  return surface;
}

std::unique_ptr<MemVideo> ReadPng(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  const ByteBuffer bytes{std::istreambuf_iterator<char>(file), {}};
  if (file.bad()) return nullptr;
  return DecodePng(bytes);
}

}  // namespace gfx
