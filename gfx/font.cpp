#include "gfx/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define REDHOLLOW_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define REDHOLLOW_LEAK_CHECKED 1
#endif

#ifdef REDHOLLOW_LEAK_CHECKED
// Libraries beneath the game lose small blocks once per process: fontconfig while parsing its
// own configuration files, and the desktop bus library that SDL opens with a real window. The
// leak checker of sanitizer builds would otherwise fail every program that makes a font, and
// the game itself at its end. (Here because every program of the game makes fonts.)
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
#endif

namespace gfx {

namespace {

// Limits that keep a damaged layout value from asking FreeType for absurd bitmaps.
constexpr int kMaxPixelHeight = 1024;
constexpr int kMaxAverageWidth = 1024;
constexpr std::size_t kMaxCachedOtherGlyphs = 4096;

// The FreeType library is initialised once and lives while any font does.
struct FreeTypeLibrary {
  FT_Library handle = nullptr;
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~FreeTypeLibrary() {
    if (handle) FT_Done_FreeType(handle);
  }
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
};

std::shared_ptr<FreeTypeLibrary> SharedLibrary() {
  static std::shared_ptr<FreeTypeLibrary> library;
  if (!library) {
    auto created = std::make_shared<FreeTypeLibrary>();
    if (!created->handle) return nullptr;
    library = std::move(created);
  }
  return library;
}

bool FontconfigReady() {
  static const bool ready = FcInit() == FcTrue;
  return ready;
}

std::string LowerAscii(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

struct FaceFile {
  std::string path;
  int index = 0;
  std::string family;
  bool embolden = false;
};

std::optional<FaceFile> MatchFaceFile(std::string_view face, int weight) {
  if (!FontconfigReady()) return std::nullopt;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  const std::string mapped(MapFaceName(face));
  const std::string asked(face);
  // The mapped family comes first; the name as asked follows so that, should that font be
  // missing, fontconfig's own aliases for the name still get their chance.
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(mapped.c_str()));
  if (!asked.empty() && LowerAscii(asked) != LowerAscii(mapped)) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(asked.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);

  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;

  std::optional<FaceFile> found;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    FaceFile f;
    f.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) f.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family) {
      f.family = reinterpret_cast<const char*>(family);
    }
    int matchedWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &matchedWeight);
    FcBool embolden = FcFalse;
    FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
    f.embolden = embolden == FcTrue || (weight >= 600 && matchedWeight < FC_WEIGHT_DEMIBOLD);
    found = std::move(f);
  }
  FcPatternDestroy(match);
  return found;
}

// Fonts are made whenever a screen or dialog opens; the file for a face and weight
// does not change while the game runs, so each is looked up once.
std::optional<FaceFile> FindFaceFile(std::string_view face, int weight) {
  static std::unordered_map<std::string, std::optional<FaceFile>> cache;
  std::string key = LowerAscii(face) + '\n' + std::to_string(weight);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  auto found = MatchFaceFile(face, weight);
  cache.emplace(std::move(key), found);
  return found;
}

int Clamp(int v, int low, int high) {
  return std::min(std::max(v, low), high);
}

int RoundToInt(double v) {
  return static_cast<int>(std::floor(v + 0.5));
}

}  // namespace

std::string_view MapFaceName(std::string_view face) {
  const std::string lower = LowerAscii(face);
  if (lower == "arial") return "Liberation Sans";
  if (lower == "ms sans serif" || lower == "verdana") return "DejaVu Sans";
  if (lower == "comic sans ms") return "Comic Neue";
  return face;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // Sequence length, payload bits of the lead byte, and the smallest code point that
    // needs this length (anything below is an overlong form).
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2;
      cp = lead & 0x1F;
      minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      cp = lead & 0x0F;
      minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      cp = lead & 0x07;
      minimum = 0x10000;
    }
    bool valid = length > 0 && i + length <= size;
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = bytes[i + k];
      if ((next & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (next & 0x3F);
    }
    valid = valid && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (valid) {
      out.push_back(cp);
      i += length;
    } else {
      out.push_back(lead);  // Latin-1
      ++i;
    }
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (const char32_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

struct Font::Impl {
  std::shared_ptr<FreeTypeLibrary> library;
  FT_Face face = nullptr;
  bool embolden = false;

  ~Impl() {
    if (face) FT_Done_Face(face);
  }
};

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Font::~Font() = default;

std::unique_ptr<Font> Font::Create(std::string_view face, int weight, int pixelHeight,
                                   int averageWidth) {
  weight = weight <= 0 ? kFontWeightNormal : Clamp(weight, 1, 1000);
  pixelHeight = Clamp(pixelHeight, 1, kMaxPixelHeight);
  averageWidth = Clamp(averageWidth < 0 ? -averageWidth : averageWidth, 0, kMaxAverageWidth);

  const auto file = FindFaceFile(face, weight);
  if (!file) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->library = SharedLibrary();
  if (!impl->library) return nullptr;
  if (FT_New_Face(impl->library->handle, file->path.c_str(), file->index, &impl->face) != 0) {
    impl->face = nullptr;
    return nullptr;
  }
  FT_Face ftFace = impl->face;
  if (!FT_IS_SCALABLE(ftFace) || ftFace->units_per_EM == 0) return nullptr;
  if (FT_Set_Char_Size(ftFace, 0, static_cast<FT_F26Dot6>(pixelHeight) * 64, 72, 72) != 0) {
    return nullptr;
  }
  impl->embolden = file->embolden;

  const double units = ftFace->units_per_EM;
  const double scale = pixelHeight / units;
  // Line metrics from the Windows ascent and descent when the face has them, so that a
  // metric-compatible face spaces its lines like the one it stands in for.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ftFace, FT_SFNT_OS2));
  const bool hasOs2 = os2 && os2->version != 0xFFFF;
  double ascentUnits = ftFace->ascender;
  double descentUnits = -ftFace->descender;
  if (hasOs2 && os2->usWinAscent + os2->usWinDescent > 0) {
    ascentUnits = os2->usWinAscent;
    descentUnits = os2->usWinDescent;
  }

  double averageUnits = hasOs2 ? os2->xAvgCharWidth : 0;
  if (averageUnits <= 0) {
    int measured = 0;
    long total = 0;
    for (char32_t c = 'a'; c <= 'z'; ++c) {
      FT_Fixed advance = 0;
      const FT_UInt index = FT_Get_Char_Index(ftFace, c);
      if (index != 0 && FT_Get_Advance(ftFace, index, FT_LOAD_NO_SCALE, &advance) == 0) {
        total += advance;
        ++measured;
      }
    }
    averageUnits = measured > 0 ? static_cast<double>(total) / measured : units / 2;
  }
  const double naturalAverage = std::max(averageUnits * scale, 1.0 / 64);

  std::unique_ptr<Font> font(new Font(std::move(impl)));
  font->pixelHeight_ = pixelHeight;
  font->weight_ = weight;
  font->familyName_ = file->family;
  font->filePath_ = file->path;
  font->syntheticBold_ = file->embolden;
  font->ascent_ = std::max(1, RoundToInt(ascentUnits * scale));
  font->descent_ = std::max(0, RoundToInt(descentUnits * scale));
  if (averageWidth > 0) {
    // The em keeps its height; hinting happens at that size and the outline is then
    // stretched, so stems stay on whole rows whatever the width.
    const double stretch = std::clamp(averageWidth / naturalAverage, 1.0 / 16, 16.0);
    FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(stretch * 65536.0)), 0, 0, 0x10000};
    FT_Set_Transform(ftFace, &matrix, nullptr);
    font->averageWidth_ = averageWidth;
  } else {
    font->averageWidth_ = std::max(1, RoundToInt(naturalAverage));
  }

  const int thickness = std::max(1, RoundToInt(ftFace->underline_thickness * scale));
  const double underlineTop = -ftFace->underline_position * scale - thickness / 2.0;
  int offset = std::max(1, RoundToInt(underlineTop));
  offset = std::min(offset, std::max(1, font->descent_ - thickness));
  font->underlineThickness_ = thickness;
  font->underlineOffset_ = offset;
  return font;
}

Glyph Font::Render(char32_t codePoint) const {
  Glyph glyph;
  // Tabs are spaces; other control characters take no room and draw nothing.
  if (codePoint == U'\t') codePoint = U' ';
  if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) return glyph;

  FT_Face face = impl_->face;
  const FT_UInt index = FT_Get_Char_Index(face, codePoint);
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
  FT_GlyphSlot slot = face->glyph;
  if (impl_->embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(slot);
  glyph.advance = std::max<int>(0, static_cast<int>((slot->advance.x + 32) >> 6));
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
    return glyph;
  }
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer) return glyph;
  if (bitmap.width > 8192 || bitmap.rows > 8192) return glyph;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
    return glyph;
  }
  glyph.width = static_cast<std::int32_t>(bitmap.width);
  glyph.height = static_cast<std::int32_t>(bitmap.rows);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
  const int pitch = bitmap.pitch;
  // A negative pitch means the rows are stored bottom-up, starting at the buffer's end.
  const unsigned char* firstRow =
      pitch >= 0 ? bitmap.buffer
                 : bitmap.buffer + static_cast<std::ptrdiff_t>(-pitch) * (glyph.height - 1);
  for (int y = 0; y < glyph.height; ++y) {
    const unsigned char* src = firstRow + static_cast<std::ptrdiff_t>(pitch) * y;
    std::uint8_t* dst = glyph.coverage.data() + static_cast<std::size_t>(y) * glyph.width;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
      const unsigned levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
      for (int x = 0; x < glyph.width; ++x) {
        dst[x] = levels == 255 ? src[x] : static_cast<std::uint8_t>(src[x] * 255u / levels);
      }
    } else {
      for (int x = 0; x < glyph.width; ++x) {
        dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      }
    }
  }
  return glyph;
}

const Glyph& Font::glyph(char32_t codePoint) const {
  if (codePoint < latinGlyphs_.size()) {
    auto& slot = latinGlyphs_[codePoint];
    if (!slot) slot = Render(codePoint);
    return *slot;
  }
  auto it = otherGlyphs_.find(codePoint);
  if (it != otherGlyphs_.end()) return it->second;
  // Text of every script at once is unusual; forgetting them all keeps memory bounded.
  if (otherGlyphs_.size() >= kMaxCachedOtherGlyphs) otherGlyphs_.clear();
  return otherGlyphs_.emplace(codePoint, Render(codePoint)).first->second;
}

int Font::textWidth(std::u32string_view text) const {
  long long width = 0;
  for (char32_t c : text) width += advance(c);
  return static_cast<int>(std::min<long long>(width, INT32_MAX));
}

int Font::textWidth(std::string_view text) const {
  return textWidth(DecodeUtf8(text));
}

std::unique_ptr<Font> MakeScaledFont(const AppVideo& screen, std::string_view face, int weight,
                                     float heightPerMille, float widthPerMille) {
  const std::int32_t height =
      RoundHalfUp(static_cast<float>(screen.height) * heightPerMille * 0.001f);
  const std::int32_t width = RoundHalfUp(static_cast<float>(screen.width) * widthPerMille * 0.001f);
  return Font::Create(face, weight, height, width);
}

}  // namespace gfx
