// Drawing text into surfaces: text laid out in a rectangle with the platform's text-format
// flags (alignment, word wrap, "&" mnemonics), and one line at a fractional screen position.
// Glyphs are blended by their coverage onto what the surface already holds.
#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"

namespace gfx {

// Text-format flags, with the platform's values. DT_VCENTER and DT_BOTTOM apply to
// DT_SINGLELINE text only; other text always starts at the rectangle's top.
inline constexpr std::uint32_t DT_LEFT = 0x0;
inline constexpr std::uint32_t DT_CENTER = 0x1;
inline constexpr std::uint32_t DT_RIGHT = 0x2;
inline constexpr std::uint32_t DT_VCENTER = 0x4;
inline constexpr std::uint32_t DT_BOTTOM = 0x8;
inline constexpr std::uint32_t DT_WORDBREAK = 0x10;
inline constexpr std::uint32_t DT_SINGLELINE = 0x20;
inline constexpr std::uint32_t DT_NOCLIP = 0x100;
inline constexpr std::uint32_t DT_CALCRECT = 0x400;
inline constexpr std::uint32_t DT_NOPREFIX = 0x800;

// Alignments of DrawTextAt.
inline constexpr int kTextAlignLeft = 0;
inline constexpr int kTextAlignRight = 1;
inline constexpr int kTextAlignCenter = 2;

// Draws UTF-8 text into rect of dst in the given colour, clipped to rect (unless
// DT_NOCLIP) and always to the surface. Without DT_SINGLELINE, line breaks in the text
// start new lines, and DT_WORDBREAK also wraps lines at spaces (breaking a word that is
// wider than the rectangle). Unless DT_NOPREFIX, "&x" underlines x and "&&" is "&".
// DT_CALCRECT measures without drawing. Returns the height of the text (lines times the
// line height); 0 and nothing drawn without a font. dst.textColor is black afterwards.
int DrawTextInRect(MemVideo& dst, const IntRect& rect, std::string_view text, std::uint32_t format,
                   Color color, const Font* font);

// The rectangle the text would occupy, from rect's top-left corner: as wide as its widest
// line and as high as DrawTextInRect's result. Wrapping uses rect's width.
IntRect CalcTextRect(const IntRect& rect, std::string_view text, std::uint32_t format,
                     const Font* font);

// Draws one line of text with its top at y = RoundHalfUp(yFraction * screen height):
// starting at x = RoundHalfUp(xFraction * screen width) (kTextAlignLeft), ending there
// (kTextAlignRight) or centred on it (kTextAlignCenter). In the font's own colour, clipped
// only to the surface.
void DrawTextAt(MemVideo& dst, std::string_view text, const Font* font, int alignment,
                float xFraction, float yFraction, const AppVideo& screen);

}  // namespace gfx
