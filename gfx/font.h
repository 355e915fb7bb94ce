// Fonts: a face found through fontconfig by family and weight, rendered by FreeType at a
// pixel em height and, when asked, stretched horizontally to a given average character
// width. Glyph coverage bitmaps are cached per font, because panels redraw the same few
// strings on every change; the fontconfig lookup happens once, when the font is made.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"

namespace gfx {

constexpr int kFontWeightNormal = 400;
constexpr int kFontWeightBold = 700;

// One rendered glyph: 8-bit coverage rows (0 = none, 255 = full) placed relative to the
// pen position on the baseline, and the integral pen advance.
struct Glyph {
  std::int32_t left = 0;  // from the pen to the first column
  std::int32_t top = 0;   // from the baseline up to the first row
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t advance = 0;
  std::vector<std::uint8_t> coverage;  // width * height, row by row
};

// The family the game's face names stand for on this system; any other name is passed
// through unchanged for fontconfig to match. Case-insensitive.
std::string_view MapFaceName(std::string_view face);

// UTF-8 to code points. A byte that does not start a well-formed sequence is taken as a
// Latin-1 character, so text from any source is drawable.
std::u32string DecodeUtf8(std::string_view text);
// Code points to UTF-8; DecodeUtf8 gives them back.
std::string EncodeUtf8(std::u32string_view text);

class Font {
 public:
  // A font of face (a family name) and weight (400 normal, 700 bold) whose em is
  // pixelHeight pixels high. averageWidth 0 keeps the face's own proportions; otherwise
  // the glyphs are scaled horizontally so that the average character width is that many
  // pixels. Returns nullptr when no font file can be found or loaded.
  static std::unique_ptr<Font> Create(std::string_view face, int weight, int pixelHeight,
                                      int averageWidth = 0);

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The colour DrawTextAt uses. Owners recolour a shared font between draws.
  Color color() const { return color_; }
  void setColor(Color color) { color_ = color; }

  int pixelHeight() const { return pixelHeight_; }
  // The average character width as drawn (the asked one, or the natural one when 0).
  int averageWidth() const { return averageWidth_; }
  int weight() const { return weight_; }
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  int lineHeight() const { return ascent_ + descent_; }
  // Rows below the baseline row where a mnemonic underline starts, and its thickness.
  int underlineOffset() const { return underlineOffset_; }
  int underlineThickness() const { return underlineThickness_; }

  const std::string& familyName() const { return familyName_; }
  const std::string& filePath() const { return filePath_; }
  // True when the face has no bold file and bold is drawn by thickening regular glyphs.
  bool syntheticBold() const { return syntheticBold_; }

  // The glyph for a code point, rendered on first use. Control characters are empty
  // glyphs of no width; characters the face lacks use its missing-glyph shape.
  const Glyph& glyph(char32_t codePoint) const;
  int advance(char32_t codePoint) const { return glyph(codePoint).advance; }

  // Width in pixels of one line of UTF-8 text as written (no mnemonic processing).
  int textWidth(std::string_view text) const;
  int textWidth(std::u32string_view text) const;

 private:
  struct Impl;
  explicit Font(std::unique_ptr<Impl> impl);
  Glyph Render(char32_t codePoint) const;

  std::unique_ptr<Impl> impl_;
  Color color_ = kBlack;
  int pixelHeight_ = 0;
  int averageWidth_ = 0;
  int weight_ = kFontWeightNormal;
  int ascent_ = 0;
  int descent_ = 0;
  int underlineOffset_ = 1;
  int underlineThickness_ = 1;
  std::string familyName_;
  std::string filePath_;
  bool syntheticBold_ = false;

  // Latin-1 is looked up directly; everything else through the map.
  mutable std::array<std::optional<Glyph>, 256> latinGlyphs_;
  mutable std::unordered_map<char32_t, Glyph> otherGlyphs_;
};

// A font sized in thousandths of the screen: em height RoundHalfUp(screen height *
// heightPerMille / 1000) and average width RoundHalfUp(screen width * widthPerMille / 1000).
std::unique_ptr<Font> MakeScaledFont(const AppVideo& screen, std::string_view face, int weight,
                                     float heightPerMille, float widthPerMille);

}  // namespace gfx
