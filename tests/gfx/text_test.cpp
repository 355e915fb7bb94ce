#include "gfx/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gfx/font.h"

namespace gfx {
namespace {

MemVideo WhiteSurface(int width, int height) {
  MemVideo surface(width, height);
  std::fill(surface.pixels(), surface.pixels() + width * height, kWhite);
  return surface;
}

// The bounding box of every pixel that is no longer white.
IntRect InkBox(const MemVideo& s) {
  IntRect box{s.width(), s.height(), 0, 0};
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (s.at(x, y) == kWhite) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
  }
  return box.IsEmpty() ? IntRect{} : box;
}

long InkAmount(const MemVideo& s) {
  long sum = 0;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) sum += 255 - GreenOf(s.at(x, y));
  }
  return sum;
}

bool SamePixels(const MemVideo& a, const MemVideo& b) {
  return std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

std::unique_ptr<Font> Arial(int weight = kFontWeightNormal, int height = 13, int width = 0) {
  auto font = Font::Create("Arial", weight, height, width);
  EXPECT_NE(font, nullptr);
  return font;
}

TEST(MakeScaledFont, SizesFontsInThousandthsOfTheScreen) {
  const AppVideo screen{1024, 768};
  auto dialog = MakeScaledFont(screen, "Arial", 400, 17, 5);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->pixelHeight(), 13);  // 13.056
  EXPECT_EQ(dialog->averageWidth(), 5);  // 5.12
  auto title = MakeScaledFont(screen, "Comic sans ms", 700, 72, 10);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->pixelHeight(), 55);                                           // 55.296
  EXPECT_EQ(title->averageWidth(), 10);                                          // 10.24
  EXPECT_EQ(MakeScaledFont(screen, "Arial", 400, 24, 4.5f)->averageWidth(), 5);  // 4.608
  EXPECT_EQ(MakeScaledFont({1000, 1000}, "Arial", 400, 12.5f, 0)->pixelHeight(), 13);
  // No width keeps the face's own proportions.
  EXPECT_EQ(MakeScaledFont(screen, "Arial", 400, 17, 0)->averageWidth(),
            Font::Create("Arial", 400, 13, 0)->averageWidth());
}

TEST(Font, GameFaceNamesFindTheInstalledStandIns) {
  const struct {
    const char* asked;
    const char* family;
  } rows[] = {{"Arial", "Liberation Sans"},     {"ARIAL", "Liberation Sans"},
              {"MS Sans Serif", "DejaVu Sans"}, {"verdana", "DejaVu Sans"},
              {"Comic sans ms", "Comic Neue"},  {"COMIC SANS MS", "Comic Neue"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.asked);
    EXPECT_EQ(MapFaceName(row.asked), row.family);
    auto regular = Font::Create(row.asked, 400, 13);
    auto bold = Font::Create(row.asked, 700, 13);
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(regular->familyName(), row.family);
    EXPECT_EQ(bold->familyName(), row.family);
    // Each of these faces comes with a bold file of its own.
    EXPECT_NE(bold->filePath(), regular->filePath());
    EXPECT_FALSE(bold->syntheticBold());
  }
  EXPECT_EQ(MapFaceName("Some Face"), "Some Face");
  EXPECT_NE(Font::Create("No Such Face Anywhere", 400, 13), nullptr);
}

TEST(Font, MeasuresTextAndDecodesUtf8) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->lineHeight(), font->ascent() + font->descent());
  EXPECT_GE(font->lineHeight(), 13);
  EXPECT_EQ(font->textWidth(""), 0);
  EXPECT_EQ(font->textWidth("ab"), font->advance(U'a') + font->advance(U'b'));
  EXPECT_EQ(font->textWidth("\xC3\xA9"), font->textWidth("\xE9"));  // UTF-8 and Latin-1 e-acute

  EXPECT_EQ(DecodeUtf8("a\xE2\x82\xAC"), U"a\u20AC");
  // Overlong, surrogate, truncated and stray bytes are each one Latin-1 character.
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\u00C0\u00AF");
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");
  EXPECT_EQ(DecodeUtf8("\xE2\x82"), U"\u00E2\u0082");
  EXPECT_EQ(DecodeUtf8("\x80z"), U"\u0080z");
  // One to four bytes a character, back again.
  const std::u32string every = U"a\u00E9\u6C34\U0001F30D";
  EXPECT_EQ(EncodeUtf8(every), "a\xC3\xA9\xE6\xB0\xB4\xF0\x9F\x8C\x8D");
  EXPECT_EQ(DecodeUtf8(EncodeUtf8(every)), every);
}

TEST(DrawTextInRect, WithoutAFontDrawsNothing) {
  MemVideo surface = WhiteSurface(20, 10);
  const MemVideo before = surface;
  EXPECT_EQ(DrawTextInRect(surface, surface.bounds(), "Text", DT_LEFT, kBlack, nullptr), 0);
  EXPECT_TRUE(SamePixels(surface, before));
  DrawTextAt(surface, "Text", nullptr, kTextAlignLeft, 0, 0, {20, 10});
  EXPECT_TRUE(SamePixels(surface, before));
}

TEST(DrawTextInRect, BlendsTheColourByCoverage) {
  auto font = Arial(kFontWeightNormal, 30);
  ASSERT_NE(font, nullptr);
  MemVideo surface = WhiteSurface(40, 40);
  const Color red = Rgb(255, 0, 0);
  surface.textColor = Rgb(1, 2, 3);
  DrawTextInRect(surface, surface.bounds(), "Il", DT_LEFT, red, font.get());
  EXPECT_EQ(surface.textColor, kBlack);
  bool solid = false;
  bool partial = false;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) {
      const Color c = surface.at(x, y);
      // Red over white keeps the red channel and lowers green and blue together.
      EXPECT_EQ(RedOf(c), 255);
      EXPECT_EQ(GreenOf(c), BlueOf(c));
      solid = solid || c == red;
      partial = partial || (c != red && c != kWhite);
    }
  }
  EXPECT_TRUE(solid);
  EXPECT_TRUE(partial);
}

TEST(DrawTextInRect, InkStaysInsideTheRectangleAndTheSurface) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const IntRect rect{5, 5, 30, 22};
  const std::uint32_t formats[] = {DT_LEFT,
                                   DT_CENTER,
                                   DT_RIGHT,
                                   DT_WORDBREAK,
                                   DT_WORDBREAK | DT_CENTER,
                                   DT_SINGLELINE | DT_VCENTER,
                                   DT_SINGLELINE | DT_BOTTOM | DT_RIGHT};
  for (std::uint32_t format : formats) {
    SCOPED_TRACE(format);
    MemVideo surface = WhiteSurface(40, 30);
    DrawTextInRect(surface, rect, "Wide &text that overflows", format, kBlack, font.get());
    const IntRect ink = InkBox(surface);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_EQ(ink.Intersect(rect), ink);
  }
  MemVideo surface = WhiteSurface(40, 30);
  DrawTextInRect(surface, {0, 0, 10, 30}, "Overflows", DT_NOCLIP, kBlack, font.get());
  EXPECT_GT(InkBox(surface).right, 10);
}

TEST(DrawTextInRect, AlignsEachLineHorizontally) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const IntRect rect{10, 0, 90, 20};
  auto ink = [&](std::uint32_t format) {
    MemVideo surface = WhiteSurface(100, 20);
    DrawTextInRect(surface, rect, "HH", format, kBlack, font.get());
    return InkBox(surface);
  };
  EXPECT_NEAR(ink(DT_LEFT).left, 11, 1);
  EXPECT_NEAR(ink(DT_RIGHT).right, 89, 1);
  EXPECT_NEAR((ink(DT_CENTER).left + ink(DT_CENTER).right) / 2.0, 50.0, 2.0);
}

TEST(DrawTextInRect, PlacesASingleLineVertically) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const IntRect rect{0, 0, 40, 50};
  const int spare = rect.Height() - font->lineHeight();
  auto inkTop = [&](std::uint32_t format) {
    MemVideo surface = WhiteSurface(40, 50);
    EXPECT_EQ(DrawTextInRect(surface, rect, "Hg", format, kBlack, font.get()), font->lineHeight());
    return InkBox(surface).top;
  };
  const int top = inkTop(DT_SINGLELINE);
  EXPECT_EQ(inkTop(DT_SINGLELINE | DT_VCENTER), top + spare / 2);
  EXPECT_EQ(inkTop(DT_SINGLELINE | DT_BOTTOM), top + spare);
  // Multi-line text always starts at the top.
  EXPECT_EQ(inkTop(DT_VCENTER), top);
}

TEST(DrawTextInRect, WrapsWordsAndBreaksLines) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const int line = font->lineHeight();
  const IntRect narrow{0, 0, 40, 200};
  const char* text = "one two three four five";
  MemVideo surface = WhiteSurface(60, 200);
  const int wrapped = DrawTextInRect(surface, narrow, text, DT_WORDBREAK, kBlack, font.get());
  EXPECT_GE(wrapped, 3 * line);
  EXPECT_LE(InkBox(surface).right, 40);
  EXPECT_EQ(DrawTextInRect(surface, narrow, text, DT_LEFT, kBlack, font.get()), line);

  // Measuring gives the same height and draws nothing.
  MemVideo untouched = WhiteSurface(60, 200);
  EXPECT_EQ(DrawTextInRect(untouched, narrow, text, DT_WORDBREAK | DT_CALCRECT, kBlack, font.get()),
            wrapped);
  EXPECT_TRUE(InkBox(untouched).IsEmpty());
  const IntRect measured = CalcTextRect(narrow, text, DT_WORDBREAK, font.get());
  EXPECT_EQ(measured.Height(), wrapped);
  EXPECT_LE(measured.Width(), 40);

  // A line breaks exactly where the next word no longer fits; the space goes.
  const int both = font->textWidth("aa bb");
  EXPECT_EQ(CalcTextRect({0, 0, both, 99}, "aa bb", DT_WORDBREAK, font.get()).Height(), line);
  const IntRect split = CalcTextRect({0, 0, both - 1, 99}, "aa bb", DT_WORDBREAK, font.get());
  EXPECT_EQ(split.Height(), 2 * line);
  EXPECT_EQ(split.Width(), font->textWidth("aa"));

  // A word longer than the line is cut where it must be, and stays inside.
  MemVideo cut = WhiteSurface(60, 200);
  EXPECT_GE(
      DrawTextInRect(cut, {0, 0, 30, 200}, "Extraordinarily", DT_WORDBREAK, kBlack, font.get()),
      2 * line);
  EXPECT_LE(InkBox(cut).right, 30);

  EXPECT_EQ(DrawTextInRect(surface, narrow, "a\nb", DT_LEFT | DT_CALCRECT, 0, font.get()),
            2 * line);
  EXPECT_EQ(DrawTextInRect(surface, narrow, "a\r\nb\n\nc", DT_CALCRECT, 0, font.get()), 4 * line);
  EXPECT_EQ(DrawTextInRect(surface, narrow, "a\n", DT_CALCRECT, 0, font.get()), line);
  EXPECT_EQ(DrawTextInRect(surface, narrow, "a\nb", DT_SINGLELINE | DT_CALCRECT, 0, font.get()),
            line);
  EXPECT_EQ(DrawTextInRect(surface, narrow, "", DT_WORDBREAK, 0, font.get()), 0);
}

// Spaces that open a paragraph are a place to break like any other: a word they would push
// past the edge starts the line without them, rather than after a line of blanks (wider than
// the rectangle, as CalcTextRect said) or cut in two although it fits.
TEST(DrawTextInRect, LeadingSpacesGiveWayToTheFirstWord) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const int word = font->textWidth("word");
  const IntRect rect{0, 0, word + 1, 99};
  const auto draw = [&](const std::string& text) {
    MemVideo surface = WhiteSurface(60, 99);
    DrawTextInRect(surface, rect, text, DT_WORDBREAK, kBlack, font.get());
    return surface;
  };
  for (const std::string& text : {std::string("    word"), std::string(40, ' ') + "word"}) {
    SCOPED_TRACE(text);
    const IntRect measured = CalcTextRect(rect, text, DT_WORDBREAK, font.get());
    EXPECT_EQ(measured.Height(), font->lineHeight());
    EXPECT_EQ(measured.Width(), word);
    EXPECT_TRUE(SamePixels(draw(text), draw("word")));
  }
  // Where they fit, they stay.
  EXPECT_EQ(CalcTextRect({0, 0, 200, 99}, "    word", DT_WORDBREAK, font.get()).Width(),
            font->textWidth("    word"));
}

TEST(DrawTextInRect, AmpersandUnderlinesTheNextCharacter) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const IntRect rect{0, 0, 60, 20};
  auto draw = [&](const char* text, std::uint32_t format) {
    MemVideo surface = WhiteSurface(60, 20);
    DrawTextInRect(surface, rect, text, format, kBlack, font.get());
    return surface;
  };
  const MemVideo plain = draw("File", DT_LEFT);
  const MemVideo marked = draw("&File", DT_LEFT);
  const int underlineRow = font->ascent() + font->underlineOffset();
  int added = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (marked.at(x, y) == plain.at(x, y)) continue;
      EXPECT_EQ(y, underlineRow) << x;
      EXPECT_LT(x, font->advance(U'F'));
      ++added;
    }
  }
  EXPECT_GE(added, font->advance(U'F') - 1);
  EXPECT_EQ(CalcTextRect(rect, "&File", DT_LEFT, font.get()).Width(), font->textWidth("File"));

  // "&&" is one plain ampersand: exactly the text drawn as written.
  EXPECT_TRUE(SamePixels(draw("&&File", DT_LEFT), draw("&File", DT_NOPREFIX)));
  EXPECT_EQ(CalcTextRect(rect, "&File", DT_NOPREFIX, font.get()).Width(), font->textWidth("&File"));
}

TEST(Font, BoldInkIsHeavierThanRegular) {
  auto regular = Arial(kFontWeightNormal, 20);
  auto bold = Arial(kFontWeightBold, 20);
  ASSERT_NE(regular, nullptr);
  ASSERT_NE(bold, nullptr);
  auto ink = [](const Font& font) {
    MemVideo surface = WhiteSurface(120, 30);
    DrawTextInRect(surface, surface.bounds(), "Colony", DT_LEFT, kBlack, &font);
    return InkAmount(surface);
  };
  EXPECT_GT(ink(*bold), ink(*regular) * 5 / 4);

  // A face without a bold file is thickened instead.
  auto lonely = Font::Create("Droid Sans Fallback", 700, 20);
  if (!lonely || lonely->familyName() != "Droid Sans Fallback") {
    GTEST_SKIP() << "no face without a bold file on this machine";
  }
  EXPECT_TRUE(lonely->syntheticBold());
  EXPECT_GT(ink(*lonely), ink(*Font::Create("Droid Sans Fallback", 400, 20)) * 9 / 8);
}

TEST(Font, AverageWidthStretchesGlyphsHorizontally) {
  auto natural = Arial();
  auto narrow = Arial(kFontWeightNormal, 13, 4);
  auto wide = Arial(kFontWeightNormal, 13, 12);
  ASSERT_TRUE(natural && narrow && wide);
  const char* text = "Population";
  EXPECT_LT(narrow->textWidth(text), natural->textWidth(text));
  EXPECT_GT(wide->textWidth(text), natural->textWidth(text));
  EXPECT_NEAR(static_cast<double>(wide->textWidth(text)) / narrow->textWidth(text), 3.0, 0.4);
  EXPECT_EQ(wide->lineHeight(), natural->lineHeight());
}

TEST(DrawTextAt, PlacesOneLineByScreenFractions) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  const AppVideo screen{1024, 768};
  const Color blue = Rgb(0, 0, 255);
  font->setColor(blue);
  auto draw = [&](int alignment, float x) {
    MemVideo surface = WhiteSurface(1024, 40);
    DrawTextAt(surface, "HHH", font.get(), alignment, x, 0.01f, screen);  // top 7.68 -> 8
    EXPECT_EQ(surface.textColor, kBlack);
    return surface;
  };
  const MemVideo centred = draw(kTextAlignCenter, 0.5f);
  const IntRect ink = InkBox(centred);
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 512.0, 2.0);
  EXPECT_GE(ink.top, 8);
  EXPECT_LT(ink.top, 8 + font->ascent());
  // In the font's own colour: blue over white keeps the blue channel.
  for (int x = ink.left; x < ink.right; ++x) EXPECT_EQ(BlueOf(centred.at(x, 8 + 6)), 255);

  const IntRect left = InkBox(draw(kTextAlignLeft, 0.25f));
  EXPECT_GE(left.left, 256);
  EXPECT_LE(left.left, 258);
  const IntRect right = InkBox(draw(kTextAlignRight, 0.75f));
  EXPECT_LE(right.right, 768);
  EXPECT_GE(right.right, 766);
  // Not clipped to anything but the surface: text may run off any edge.
  for (float x : {-0.1f, 0.0f, 0.999f, 1.5f}) {
    for (int alignment : {kTextAlignLeft, kTextAlignRight, kTextAlignCenter}) {
      MemVideo small = WhiteSurface(30, 10);
      DrawTextAt(small, "Wide text", font.get(), alignment, x, 0.005f, screen);
    }
  }
}

TEST(DrawTextInRect, SurvivesArbitraryBytesAndRectangles) {
  auto font = Arial();
  ASSERT_NE(font, nullptr);
  std::uint32_t seed = 12345;
  auto next = [&] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 16;
  };
  MemVideo surface = WhiteSurface(24, 16);
  for (int round = 0; round < 300; ++round) {
    std::string text(next() % 40, '\0');
    for (char& c : text) c = static_cast<char>(next());
    const int left = static_cast<int>(next() % 60) - 30;
    const int top = static_cast<int>(next() % 40) - 20;
    const IntRect rect{left, top, left + static_cast<int>(next() % 50) - 10,
                       top + static_cast<int>(next() % 40) - 5};
    const std::uint32_t format = next() & 0xD3F;
    const int height = DrawTextInRect(surface, rect, text, format, kBlack, font.get());
    EXPECT_EQ(height % font->lineHeight(), 0);
  }
}

}  // namespace
}  // namespace gfx
