// MemVideo: an off-screen 32-bit XRGB drawing surface. The back buffer, the scratch
// surface, the map surfaces and every decoded picture are MemVideos, so a copy between
// any two of them is a plain row copy.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "gfx/geometry.h"

namespace gfx {

// 0x00RRGGBB; the top byte is always 0 so that pure black is exactly 0.
using Color = std::uint32_t;

constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (Color{r} << 16) | (Color{g} << 8) | Color{b};
}
constexpr std::uint8_t RedOf(Color c) {
  return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t GreenOf(Color c) {
  return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t BlueOf(Color c) {
  return static_cast<std::uint8_t>(c);
}

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

// Pixel storage. Screen-sized surfaces are drawn and stretched every tick at scattered rows,
// so large ones ask the system for huge pages, which keeps their rows' address translations
// in the processor's tables.
//
// The storage comes zeroed, which is black, so a new surface is not filled a second time:
// the pages of a large one are only made (and counted in the game's memory) when something
// is drawn there, and a screen built before it is shown costs next to nothing.
template <typename T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <typename U>
  PixelAllocator(const PixelAllocator<U>&) {}
  T* allocate(std::size_t n);
  void deallocate(T* p, std::size_t n);
  // Elements made without a value keep the zeroed storage; copies copy as usual.
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    if constexpr (sizeof...(Args) == 0) {
      ::new (static_cast<void*>(p)) U;
    } else {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  }
  friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

// Zeroed storage of at least `bytes`; FreePixels takes the same size back.
void* AllocatePixels(std::size_t bytes);
void FreePixels(void* pointer, std::size_t bytes);

template <typename T>
T* PixelAllocator<T>::allocate(std::size_t n) {
  if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
  return static_cast<T*>(AllocatePixels(n * sizeof(T)));
}

template <typename T>
void PixelAllocator<T>::deallocate(T* p, std::size_t n) {
  FreePixels(p, n * sizeof(T));
}

class MemVideo {
 public:
  // A surface of width x height (negative sizes count as 0), filled with black.
  MemVideo(std::int32_t width, std::int32_t height);

  std::int32_t width() const { return width_; }
  std::int32_t height() const { return height_; }
  IntRect bounds() const { return {0, 0, width_, height_}; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  // Rows are contiguous: row y starts at pixels() + y * width().
  Color* pixels() { return pixels_.data(); }
  const Color* pixels() const { return pixels_.data(); }
  Color* row(std::int32_t y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const Color* row(std::int32_t y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  Color at(std::int32_t x, std::int32_t y) const { return row(y)[x]; }
  void set(std::int32_t x, std::int32_t y, Color c) { row(y)[x] = c; }

  // Drawing state kept as the game's drawing code expects of a surface: the text colour
  // is black again after every operation, the background colour stays white, and once a
  // smoothed stretch has targeted the surface, its stretches stay smoothed.
  Color textColor = kBlack;
  Color backgroundColor = kWhite;
  bool halftoneStretch = false;

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<Color, PixelAllocator<Color>> pixels_;
};

}  // namespace gfx
