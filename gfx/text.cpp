#include "gfx/text.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace gfx {

namespace {

struct LaidChar {
  char32_t codePoint;
  std::int32_t advance;
  bool underlined;
};

struct Line {
  std::size_t begin;
  std::size_t end;
  std::int64_t width;
};

struct TextLayout {
  std::vector<LaidChar> chars;
  std::vector<Line> lines;
  std::int64_t widest = 0;
};

bool IsSpace(char32_t c) {
  return c == U' ' || c == U'\t';
}

// Appends one paragraph (text without line breaks) to the layout's characters, with
// mnemonic prefixes taken out unless they are to be drawn as written.
void AppendParagraph(std::u32string_view text, bool prefixes, const Font& font,
                     std::vector<LaidChar>& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    bool underlined = false;
    if (prefixes && c == U'&') {
      if (i + 1 >= text.size()) break;  // a lone "&" at the end stands for nothing
      c = text[++i];
      underlined = c != U'&';
    }
    out.push_back({c, font.advance(c), underlined});
  }
}

void AddLine(TextLayout& layout, std::size_t begin, std::size_t end, std::int64_t width) {
  layout.lines.push_back({begin, end, width});
  layout.widest = std::max(layout.widest, width);
}

// Greedy wrapping: a line ends before the last run of spaces that still fits, and the
// spaces themselves are dropped at the break. The spaces that open a paragraph are such a run
// with nothing before it: when the first word does not fit after them, they are dropped and
// make no line of their own. A word wider than the whole line is cut wherever it overflows,
// always keeping at least one character per line.
void WrapParagraph(TextLayout& layout, std::size_t begin, std::size_t end, std::int64_t maxWidth) {
  const auto& chars = layout.chars;
  const std::size_t firstLine = layout.lines.size();
  std::size_t lineStart = begin;
  std::int64_t lineWidth = 0;
  std::int64_t wordWidth = 0;  // width since the last run of spaces
  std::size_t breakAt = 0;     // where the line would end at the last space run
  std::int64_t widthAtBreak = 0;
  std::size_t resumeAt = 0;  // first character after that space run
  bool haveBreak = false;
  std::size_t i = begin;
  while (i < end) {
    const LaidChar& c = chars[i];
    if (IsSpace(c.codePoint)) {
      if (i == lineStart || !IsSpace(chars[i - 1].codePoint)) {
        breakAt = i;
        widthAtBreak = lineWidth;
        haveBreak = true;
      }
      lineWidth += c.advance;
      wordWidth = 0;
      ++i;
      resumeAt = i;
      continue;
    }
    if (lineWidth + c.advance > maxWidth && i > lineStart) {
      if (haveBreak) {
        if (breakAt > lineStart) AddLine(layout, lineStart, breakAt, widthAtBreak);
        lineStart = resumeAt;
        lineWidth = wordWidth;
      } else {
        AddLine(layout, lineStart, i, lineWidth);
        lineStart = i;
        lineWidth = 0;
        wordWidth = 0;
      }
      haveBreak = false;
      continue;  // the same character again, now on the new line
    }
    lineWidth += c.advance;
    wordWidth += c.advance;
    ++i;
  }
  // Trailing spaces neither count towards alignment nor make a line of their own.
  std::size_t lineEnd = end;
  while (lineEnd > lineStart && IsSpace(chars[lineEnd - 1].codePoint)) {
    lineWidth -= chars[--lineEnd].advance;
  }
  if (lineEnd > lineStart || layout.lines.size() == firstLine) {
    AddLine(layout, lineStart, lineEnd, lineWidth);
  }
}

TextLayout LayOut(std::string_view utf8, std::uint32_t format, const Font& font,
                  std::int64_t maxWidth) {
  const std::u32string text = DecodeUtf8(utf8);
  const bool singleLine = (format & DT_SINGLELINE) != 0;
  const bool prefixes = (format & DT_NOPREFIX) == 0;
  const bool wrap = !singleLine && (format & DT_WORDBREAK) != 0;
  TextLayout layout;
  layout.chars.reserve(text.size());

  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = start;
    if (!singleLine) {
      while (stop < text.size() && text[stop] != U'\n' && text[stop] != U'\r') ++stop;
    } else {
      stop = text.size();
    }
    const std::size_t begin = layout.chars.size();
    AppendParagraph(std::u32string_view(text).substr(start, stop - start), prefixes, font,
                    layout.chars);
    const std::size_t end = layout.chars.size();
    if (wrap) {
      WrapParagraph(layout, begin, end, maxWidth);
    } else {
      std::int64_t width = 0;
      for (std::size_t i = begin; i < end; ++i) width += layout.chars[i].advance;
      AddLine(layout, begin, end, width);
    }
    // "\r\n" is one break; a break at the very end of the text starts no further line.
    if (stop < text.size() && text[stop] == U'\r' && stop + 1 < text.size() &&
        text[stop + 1] == U'\n') {
      ++stop;
    }
    start = stop + 1;
  }
  return layout;
}

std::uint8_t Mix(std::uint32_t ink, std::uint32_t under, std::uint32_t alpha) {
  return static_cast<std::uint8_t>((ink * alpha + under * (255 - alpha) + 127) / 255);
}

void BlitGlyph(MemVideo& dst, const IntRect& clip, const Glyph& glyph, std::int64_t x,
               std::int64_t y, Color color) {
  const std::int64_t left = std::max<std::int64_t>(x, clip.left);
  const std::int64_t top = std::max<std::int64_t>(y, clip.top);
  const std::int64_t right = std::min<std::int64_t>(x + glyph.width, clip.right);
  const std::int64_t bottom = std::min<std::int64_t>(y + glyph.height, clip.bottom);
  if (left >= right || top >= bottom) return;
  const std::uint32_t r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  for (std::int64_t py = top; py < bottom; ++py) {
    const std::uint8_t* coverage =
        glyph.coverage.data() + static_cast<std::size_t>(py - y) * glyph.width;
    Color* row = dst.row(static_cast<std::int32_t>(py));
    for (std::int64_t px = left; px < right; ++px) {
      const std::uint32_t alpha = coverage[px - x];
      if (alpha == 0) continue;
      if (alpha == 255) {
        row[px] = color;
        continue;
      }
      const Color under = row[px];
      row[px] = Rgb(Mix(r, RedOf(under), alpha), Mix(g, GreenOf(under), alpha),
                    Mix(b, BlueOf(under), alpha));
    }
  }
}

void FillClipped(MemVideo& dst, const IntRect& clip, std::int64_t x, std::int64_t y,
                 std::int64_t width, std::int64_t height, Color color) {
  const std::int64_t left = std::max<std::int64_t>(x, clip.left);
  const std::int64_t top = std::max<std::int64_t>(y, clip.top);
  const std::int64_t right = std::min<std::int64_t>(x + width, clip.right);
  const std::int64_t bottom = std::min<std::int64_t>(y + height, clip.bottom);
  if (left >= right) return;
  for (std::int64_t py = top; py < bottom; ++py) {
    Color* row = dst.row(static_cast<std::int32_t>(py));
    std::fill(row + left, row + right, color);
  }
}

void DrawLine(MemVideo& dst, const IntRect& clip, const TextLayout& layout, const Line& line,
              const Font& font, std::int64_t x, std::int64_t top, Color color) {
  const std::int64_t baseline = top + font.ascent();
  for (std::size_t i = line.begin; i < line.end; ++i) {
    const LaidChar& c = layout.chars[i];
    if (x >= clip.right) break;
    const Glyph& glyph = font.glyph(c.codePoint);
    BlitGlyph(dst, clip, glyph, x + glyph.left, baseline - glyph.top, color);
    if (c.underlined) {
      FillClipped(dst, clip, x, baseline + font.underlineOffset(), c.advance,
                  font.underlineThickness(), color);
    }
    x += c.advance;
  }
}

}  // namespace

int DrawTextInRect(MemVideo& dst, const IntRect& rect, std::string_view text, std::uint32_t format,
                   Color color, const Font* font) {
  if (!font) return 0;
  const TextLayout layout = LayOut(text, format, *font, rect.Width());
  const std::int64_t lineHeight = font->lineHeight();
  const std::int64_t height = lineHeight * static_cast<std::int64_t>(layout.lines.size());
  if (format & DT_CALCRECT) return SaturateToInt32(height);

  dst.textColor = color;
  const IntRect clip = (format & DT_NOCLIP) ? dst.bounds() : rect.Intersect(dst.bounds());
  std::int64_t top = rect.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) {
      top = rect.top + FloorHalf(static_cast<std::int64_t>(rect.Height()) - lineHeight);
    } else if (format & DT_BOTTOM) {
      top = static_cast<std::int64_t>(rect.bottom) - lineHeight;
    }
  }
  if (!clip.IsEmpty()) {
    for (const Line& line : layout.lines) {
      // Ink may reach a little beyond its line box, so lines are skipped only when far off.
      if (top - lineHeight >= clip.bottom) break;
      if (top + 2 * lineHeight > clip.top) {
        std::int64_t x = rect.left;
        if (format & DT_CENTER) {
          x += FloorHalf(static_cast<std::int64_t>(rect.Width()) - line.width);
        } else if (format & DT_RIGHT) {
          x = static_cast<std::int64_t>(rect.right) - line.width;
        }
        DrawLine(dst, clip, layout, line, *font, x, top, color);
      }
      top += lineHeight;
    }
  }
  dst.textColor = kBlack;
  return SaturateToInt32(height);
}

IntRect CalcTextRect(const IntRect& rect, std::string_view text, std::uint32_t format,
                     const Font* font) {
  if (!font) return {rect.left, rect.top, rect.left, rect.top};
  const TextLayout layout = LayOut(text, format, *font, rect.Width());
  const std::int64_t height = static_cast<std::int64_t>(font->lineHeight()) *
                              static_cast<std::int64_t>(layout.lines.size());
  return {rect.left, rect.top, SaturateToInt32(rect.left + layout.widest),
          SaturateToInt32(rect.top + height)};
}

void DrawTextAt(MemVideo& dst, std::string_view text, const Font* font, int alignment,
                float xFraction, float yFraction, const AppVideo& screen) {
  if (!font) return;
  const std::int64_t x = RoundHalfUp(xFraction * static_cast<float>(screen.width));
  const std::int64_t y = RoundHalfUp(yFraction * static_cast<float>(screen.height));
  const TextLayout layout = LayOut(text, DT_SINGLELINE | DT_NOPREFIX, *font, 0);
  if (!layout.lines.empty()) {
    const Line& line = layout.lines.front();
    std::int64_t left = x;
    if (alignment == kTextAlignRight) {
      left = x - line.width;
    } else if (alignment == kTextAlignCenter) {
      left = x - FloorHalf(line.width);
    }
    dst.textColor = font->color();
    DrawLine(dst, dst.bounds(), layout, line, *font, left, y, font->color());
  }
  dst.textColor = kBlack;
}

}  // namespace gfx
