#include "gfx/geometry.h"

#include <climits>
#include <cmath>

namespace gfx {

std::int32_t RoundHalfUp(float x) {
  // Out-of-range input (a damaged layout, NaN) saturates instead of being undefined.
  if (!(x > -2147483520.0f)) return INT32_MIN;
  if (!(x < 2147483520.0f)) return INT32_MAX;
  const float whole = std::trunc(x);
  const float fraction = x - whole;  // carries the sign of x
  if (fraction >= 0.5f) return static_cast<std::int32_t>(whole) + 1;
  if (fraction < 0.0f) return static_cast<std::int32_t>(whole) - 1;
  return static_cast<std::int32_t>(whole);
}

std::int32_t ClampInt(std::int32_t v, std::int32_t low, std::int32_t high) {
  if (v < low) v = low;
  if (v > high) v = high;
  return v;
}

std::int32_t ScaleInt(std::int32_t a, std::int32_t n, std::int32_t d) {
  if (d == 0) return 0;
  const float f = static_cast<float>(n) / static_cast<float>(d);
  return RoundHalfUp(static_cast<float>(a) * f);
}

double VersionNumber(std::int32_t major, std::int32_t minor) {
  // In double, so that 5.1 compares equal to the literal 5.1.
  double divisor = 1.0;
  for (std::int32_t rest = minor; rest > 0; rest /= 10) divisor *= 10.0;
  return static_cast<double>(major) + static_cast<double>(minor) / divisor;
}

IntRect FracToPixels(const FracRect& r, std::int32_t width, std::int32_t height) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  return {RoundHalfUp(w * r.left), RoundHalfUp(h * r.top), RoundHalfUp(w * r.right),
          RoundHalfUp(h * r.bottom)};
}

FracRect FitAspect(const FracRect& rect, float ratio, const AppVideo& screen) {
  const float sw = static_cast<float>(screen.width);
  const float sh = static_cast<float>(screen.height);
  FracRect fitted = rect;
  const float width = rect.right - rect.left;
  const float height = rect.bottom - rect.top;
  const float neededHeight = ((width * sw) / ratio) / sh;
  if (height >= neededHeight) {
    fitted.top = rect.top + (height - neededHeight) * 0.5f;
    fitted.bottom = fitted.top + neededHeight;
    return fitted;
  }
  const float neededWidth = (height * sh * ratio) / sw;
  if (width >= neededWidth) {
    fitted.left = rect.left + (width - neededWidth) * 0.5f;
    fitted.right = fitted.left + neededWidth;
  }
  return fitted;
}

}  // namespace gfx
