#include "screens/gauges.h"

#include <algorithm>
#include <string>

#include "gfx/draw.h"
#include "gfx/text.h"

namespace screens {

namespace {

constexpr gfx::Color kRed = gfx::Rgb(0xFF, 0x00, 0x00);
constexpr gfx::Color kYellow = gfx::Rgb(0xFF, 0xFF, 0x00);
constexpr gfx::Color kGreen = gfx::Rgb(0x00, 0xFF, 0x00);

}  // namespace

gfx::Color RatioColor(std::int32_t value) {
  value = std::clamp(value, 0, 999);
  if (value < 10) return kRed;
  if (value < 20) return kYellow;
  if (value < 130) return kGreen;
  if (value < 150) return kYellow;
  return kRed;
}

void DrawLevelBar(const GaugeCanvas& canvas, std::int32_t value, const gfx::FracRect& rect) {
  if (value < 1 || canvas.gauges == nullptr) return;
  value = std::min(value, kLevelSteps);
  gfx::FracRect bar = rect;
  bar.right = rect.left + static_cast<float>(value) * (rect.right - rect.left) * 0.00625f;
  const gfx::IntRect pixels = gfx::FracToPixels(bar, canvas.screen).Offset(1, 0);
  gfx::StretchImage(canvas.target, pixels, *canvas.gauges,
                    {0, kLevelStripTop, value, kLevelStripTop + kStripHeight}, true);
}

void DrawBalanceBar(const GaugeCanvas& canvas, std::int32_t value, std::int32_t style,
                    const gfx::FracRect& rect) {
  if (value == 0 || canvas.gauges == nullptr) return;
  value = std::clamp(value, -kBalanceSteps, kBalanceSteps);
  const float centre = rect.left + (rect.right - rect.left) * 0.5f;
  const float d = static_cast<float>(value) * (rect.right - rect.left) * 0.005f;
  gfx::FracRect bar = rect;
  gfx::IntRect source{0, kLevelStripTop + 10 * style, 0,
                      kLevelStripTop + 10 * style + kStripHeight};
  gfx::IntRect pixels;
  if (d > 0) {
    bar.left = centre;
    bar.right = centre + d;
    pixels = gfx::FracToPixels(bar, canvas.screen).Offset(1, 0);
    source.left = kBalanceSteps;
    source.right = kBalanceSteps + value;
  } else {
    bar.left = centre + d;
    bar.right = centre;
    pixels = gfx::FracToPixels(bar, canvas.screen);
    source.left = kBalanceSteps + value;
    source.right = kBalanceSteps;
  }
  gfx::StretchImage(canvas.target, pixels, *canvas.gauges, source, true);
}

void DrawColumnBar(gfx::MemVideo& target, const gfx::AppVideo& screen, std::int32_t value,
                   std::int32_t low, std::int32_t high, gfx::Color color, float baseline,
                   const gfx::FracRect& rect) {
  if (value == 0) return;
  value = std::clamp(value, std::min(low, 0), std::max(high, 0));
  if (value == 0) return;
  gfx::FracRect column = rect;
  gfx::IntRect pixels;
  if (value > 0) {
    const float h =
        high != 0 ? static_cast<float>(value) * (baseline - rect.top) / static_cast<float>(high)
                  : 0.0f;
    column.top = baseline - h;
    column.bottom = baseline;
    pixels = gfx::FracToPixels(column, screen);
  } else {
    const float h =
        low != 0 ? static_cast<float>(value) * (rect.bottom - baseline) / static_cast<float>(low)
                 : 0.0f;
    column.top = baseline;
    column.bottom = baseline + h;
    pixels = gfx::FracToPixels(column, screen).Offset(0, 1);
  }
  gfx::FillRect(target, pixels, color);
}

void DrawRatioFigure(gfx::MemVideo& target, const gfx::AppVideo& screen, gfx::Font* font,
                     std::int32_t value, float x, float y) {
  if (font == nullptr) return;
  value = std::clamp(value, 0, 999);
  font->setColor(RatioColor(value));
  gfx::DrawTextAt(target, std::to_string(value), font, gfx::kTextAlignLeft, x, y, screen);
  font->setColor(gfx::kWhite);
}

}  // namespace screens
