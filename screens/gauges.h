// The four small gauges of the game screen's panels: a level bar, a balance bar growing from
// its middle, a chart column up or down from a baseline, and a number coloured by its range.
// Rectangles and places are in fractions of the screen, as the panels' layout gives them;
// the bars are pieces of the gauge strips in "StType1". None of them presents anything.
#pragma once

#include <cstdint>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"

namespace screens {

// Rows of the gauge strips in "StType1".
inline constexpr std::int32_t kLevelStripTop = 96;
inline constexpr std::int32_t kStripHeight = 8;
inline constexpr std::int32_t kLevelSteps = 160;
inline constexpr std::int32_t kBalanceSteps = 100;
// Balance styles: rows 96 + 10 × style of "StType1".
inline constexpr std::int32_t kBalanceStyleRed = 1;
inline constexpr std::int32_t kBalanceStyleBlue = 2;

// The colours of a counter by its value (limited to 0..999 first): red below 10, yellow
// below 20, green up to 129, yellow up to 149, red from 150.
gfx::Color RatioColor(std::int32_t value);

// What the gauges draw with: the target, the screen the fractions are of, and "StType1".
struct GaugeCanvas {
  gfx::MemVideo& target;
  gfx::AppVideo screen;
  const gfx::WBitmap* gauges;  // null: the bars draw nothing
};

// Nothing below 1; up to 160 steps of the level strip filling value / 160 of rect from the left.
void DrawLevelBar(const GaugeCanvas& canvas, std::int32_t value, const gfx::FracRect& rect);
// Nothing at 0; -100..100 steps from the middle of rect, to the right for positive values.
void DrawBalanceBar(const GaugeCanvas& canvas, std::int32_t value, std::int32_t style,
                    const gfx::FracRect& rect);
// Nothing at 0; a column of solid colour rising from baseline (a height in screen fractions
// inside rect) by value / high of the room above it, or falling by value / low of the room
// below it. low <= 0 <= high.
void DrawColumnBar(gfx::MemVideo& target, const gfx::AppVideo& screen, std::int32_t value,
                   std::int32_t low, std::int32_t high, gfx::Color color, float baseline,
                   const gfx::FracRect& rect);
// value limited to 0..999, in font coloured by RatioColor, left-aligned with its top-left at
// (x, y); the font is white again afterwards.
void DrawRatioFigure(gfx::MemVideo& target, const gfx::AppVideo& screen, gfx::Font* font,
                     std::int32_t value, float x, float y);

}  // namespace screens
