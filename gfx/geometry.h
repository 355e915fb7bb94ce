// Layout geometry: screen-fraction rectangles, pixel rectangles and the rounding rules
// that turn one into the other. Every fraction-to-pixel conversion of the game goes
// through RoundHalfUp, so the same layout gives the same pixels on every run.
#pragma once

#include <cstdint>

namespace gfx {

// The screen's size in pixels; every fractional layout is scaled by it.
struct AppVideo {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend constexpr bool operator==(const AppVideo&, const AppVideo&) = default;
};

// Pixel rectangle; right and bottom are exclusive.
struct IntRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  static constexpr IntRect FromSize(std::int32_t x, std::int32_t y, std::int32_t width,
                                    std::int32_t height) {
    return {x, y, x + width, y + height};
  }
  constexpr std::int32_t Width() const { return right - left; }
  constexpr std::int32_t Height() const { return bottom - top; }
  constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  constexpr bool Contains(std::int32_t x, std::int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  constexpr IntRect Offset(std::int32_t dx, std::int32_t dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  constexpr IntRect Intersect(const IntRect& o) const {
    IntRect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
              right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
    if (r.IsEmpty()) return {};
    return r;
  }
  // The smallest rectangle holding both; an empty one adds nothing.
  constexpr IntRect Union(const IntRect& o) const {
    if (o.IsEmpty()) return *this;
    if (IsEmpty()) return o;
    return {left < o.left ? left : o.left, top < o.top ? top : o.top,
            right > o.right ? right : o.right, bottom > o.bottom ? bottom : o.bottom};
  }
  friend constexpr bool operator==(const IntRect&, const IntRect&) = default;
};

// A rectangle in fractions (0..1) of the screen's width (left, right) and height (top, bottom).
struct FracRect {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;

  // Layout is written as (left, top, width, height).
  static constexpr FracRect FromSize(float left, float top, float width, float height) {
    return {left, top, left + width, top + height};
  }
  constexpr float Width() const { return right - left; }
  constexpr float Height() const { return bottom - top; }
  constexpr FracRect Moved(float dx, float dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  friend constexpr bool operator==(const FracRect&, const FracRect&) = default;
};

// Halves go up; every other fraction goes down, so -2.3 and -2.7 both give -3.
std::int32_t RoundHalfUp(float x);
std::int32_t ClampInt(std::int32_t v, std::int32_t low, std::int32_t high);
// RoundHalfUp(a * (n / d)) with n / d held as a 32-bit float; 0 when d is 0.
std::int32_t ScaleInt(std::int32_t a, std::int32_t n, std::int32_t d);
// major + minor / 10^(decimal digits of minor): (4, 10) gives 4.1, (6, 0) gives 6.0.
double VersionNumber(std::int32_t major, std::int32_t minor);
constexpr bool IsEven(std::int32_t v) {
  return (v & 1) == 0;
}
// v within the 32-bit integers, for coordinates worked out in 64 bits.
constexpr std::int32_t SaturateToInt32(std::int64_t v) {
  return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(v);
}
// v / 2 rounded down, also below 0, for centring a part larger than its place.
constexpr std::int64_t FloorHalf(std::int64_t v) {
  return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

// A fraction rectangle in pixels of a surface (or screen) of the given size.
IntRect FracToPixels(const FracRect& r, std::int32_t width, std::int32_t height);
inline IntRect FracToPixels(const FracRect& r, const AppVideo& screen) {
  return FracToPixels(r, screen.width, screen.height);
}

// The largest box of the pixel aspect ratio (width / height) centred in rect.
FracRect FitAspect(const FracRect& rect, float ratio, const AppVideo& screen);

}  // namespace gfx
