// UTF-8 decoding, and text laid out, wrapped and drawn in a real font (the game's Arial,
// found through fontconfig as the game finds it), as the panels and dialogs draw the names a
// player typed or a saved game held. The first byte picks the text-format flags, the second
// the rectangle's width; the rest is the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "gfx/font.h"
#include "gfx/text.h"

namespace {

constexpr std::uint32_t kFlags[] = {gfx::DT_CENTER, gfx::DT_RIGHT,     gfx::DT_VCENTER,
                                    gfx::DT_BOTTOM, gfx::DT_WORDBREAK, gfx::DT_SINGLELINE,
                                    gfx::DT_NOCLIP, gfx::DT_NOPREFIX};
constexpr gfx::Color kPaper = 0x123456;
constexpr gfx::AppVideo kSurfaceSize{96, 64};

const gfx::Font& ArialFont() {
  static const std::unique_ptr<gfx::Font> font =
      gfx::Font::Create("Arial", gfx::kFontWeightNormal, 13);
  if (font == nullptr) std::abort();  // without the font nothing below would be tried
  return *font;
}

// Every byte becomes at most one character, every character is a code point UTF-8 can
// carry, and the characters written as UTF-8 decode to themselves.
void CheckDecoding(std::string_view text, const std::u32string& decoded) {
  if (decoded.size() > text.size()) std::abort();
  for (const char32_t c : decoded) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) std::abort();
  }
  if (gfx::DecodeUtf8(gfx::EncodeUtf8(decoded)) != decoded) std::abort();
}

const gfx::MemVideo& Paper() {
  static const gfx::MemVideo paper = [] {
    gfx::MemVideo surface(kSurfaceSize.width, kSurfaceSize.height);
    std::fill(surface.pixels(), surface.pixels() + kSurfaceSize.width * kSurfaceSize.height,
              kPaper);
    return surface;
  }();
  return paper;
}

// One of two surfaces kept from run to run, covered with paper again.
gfx::MemVideo& CleanSurface(int which) {
  static gfx::MemVideo surfaces[2] = {Paper(), Paper()};
  gfx::MemVideo& surface = surfaces[which];
  std::copy(Paper().pixels(), Paper().pixels() + kSurfaceSize.width * kSurfaceSize.height,
            surface.pixels());
  return surface;
}

// Compared a span of a row at a time, which keeps the check cheap beside the drawing.
bool PaperOutside(const gfx::MemVideo& surface, const gfx::IntRect& rect) {
  const gfx::IntRect inside = rect.Intersect(surface.bounds());
  const gfx::Color* paper = Paper().row(0);
  const int width = surface.width();
  for (int y = 0; y < surface.height(); ++y) {
    const gfx::Color* row = surface.row(y);
    if (y < inside.top || y >= inside.bottom) {
      if (!std::equal(row, row + width, paper)) return false;
    } else if (!std::equal(row, row + inside.left, paper) ||
               !std::equal(row + inside.right, row + width, paper)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::uint32_t format = 0;
  for (int bit = 0; bit < 8; ++bit) {
    if ((data[0] >> bit) & 1) format |= kFlags[bit];
  }
  const int width = data[1] % 80;
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::u32string decoded = gfx::DecodeUtf8(text);
  CheckDecoding(text, decoded);

  const gfx::Font& font = ArialFont();
  const gfx::IntRect rect{8, 6, 8 + width, 50};
  gfx::MemVideo& surface = CleanSurface(0);
  const int height = gfx::DrawTextInRect(surface, rect, text, format, gfx::kWhite, &font);
  const gfx::IntRect box = gfx::CalcTextRect(rect, text, format, &font);
  if (height < 0 || height % font.lineHeight() != 0 || box.Height() != height) std::abort();
  if ((format & gfx::DT_SINGLELINE) && !text.empty() && height != font.lineHeight()) {
    std::abort();
  }
  // Wrapped lines fit the rectangle whenever it is wide enough for each character alone.
  if ((format & gfx::DT_WORDBREAK) && !(format & gfx::DT_SINGLELINE)) {
    int widest = 0;
    for (const char32_t c : decoded) widest = std::max(widest, font.advance(c));
    if (widest <= width && box.Width() > width) std::abort();
  }
  if (!(format & gfx::DT_NOCLIP) && !PaperOutside(surface, rect)) std::abort();

  gfx::MemVideo& measured = CleanSurface(1);
  if (gfx::DrawTextInRect(measured, rect, text, format | gfx::DT_CALCRECT, gfx::kWhite, &font) !=
          height ||
      !PaperOutside(measured, {})) {
    std::abort();
  }
  gfx::DrawTextAt(surface, text, &font, data[0] % 3, 0.5f, 0.25f, kSurfaceSize);
  return 0;
}
