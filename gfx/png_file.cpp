#include "gfx/png_file.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace gfx {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Pictures larger than this are refused when reading, so a damaged header cannot ask for
// gigabytes.
constexpr png_uint_32 kMaxSide = 16384;

}  // namespace

bool WritePng(const MemVideo& surface, const std::string& path) {
  return WritePng(surface, path, std::nullopt);
}

bool WritePng(const MemVideo& surface, const std::string& path, std::optional<Color> hole) {
  if (surface.empty()) return false;
  const int channels = hole ? 4 : 3;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(static_cast<std::size_t>(surface.width()) *
                            static_cast<std::size_t>(channels));
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(surface.width()),
               static_cast<png_uint_32>(surface.height()), 8,
               hole ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::int32_t y = 0; y < surface.height(); ++y) {
    const Color* pixels = surface.row(y);
    for (std::int32_t x = 0; x < surface.width(); ++x) {
      png_byte* out = &row[static_cast<std::size_t>(x) * static_cast<std::size_t>(channels)];
      out[0] = RedOf(pixels[x]);
      out[1] = GreenOf(pixels[x]);
      out[2] = BlueOf(pixels[x]);
      if (hole) out[3] = pixels[x] == *hole ? 0 : 255;
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0 && std::ferror(file.get()) == 0;
}

std::unique_ptr<MemVideo> ReadPng(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return nullptr;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return nullptr;
  png_infop info = png_create_info_struct(png);
  std::unique_ptr<MemVideo> surface;
  std::vector<png_byte> row;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  png_init_io(png, file.get());
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  // Whatever the file holds becomes 8-bit RGB.
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 3) {
    png_destroy_read_struct(&png, &info, nullptr);
    return nullptr;
  }
  auto result = std::make_unique<MemVideo>(static_cast<std::int32_t>(width),
                                           static_cast<std::int32_t>(height));
  std::vector<png_byte> image(static_cast<std::size_t>(width) * 3 * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = image.data() + static_cast<std::size_t>(y) * width * 3;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  for (png_uint_32 y = 0; y < height; ++y)
    for (png_uint_32 x = 0; x < width; ++x) {
      const png_byte* p = rows[y] + x * 3;
      result->set(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                  Rgb(p[0], p[1], p[2]));
    }
  return result;
}

}  // namespace gfx
