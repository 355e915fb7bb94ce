#include "tools/resarc/sheet.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "gfx/archive.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/png_file.h"
#include "gfx/stretch.h"
#include "gfx/text.h"
#include "tools/resarc/error.h"
#include "tools/resarc/known_entries.h"

namespace resarc {
namespace {

constexpr int kMargin = 12;
constexpr int kCaptionHeight = 26;
constexpr int kNumberHeight = 16;
constexpr int kCellGap = 10;
constexpr int kSectionGap = 14;
constexpr int kWaveHeight = 72;
constexpr int kSmallestShownSide = 24;  // tiny frames (the minimap colours) are enlarged
constexpr int kCheckerSquare = 6;

constexpr gfx::Color kSheetBackground = gfx::Rgb(44, 44, 52);
constexpr gfx::Color kCheckerDark = gfx::Rgb(86, 86, 98);
constexpr gfx::Color kCheckerLight = gfx::Rgb(112, 112, 126);
constexpr gfx::Color kCaptionBand = gfx::Rgb(0, 64, 160);
constexpr gfx::Color kCaptionText = gfx::Rgb(236, 242, 255);
constexpr gfx::Color kCaptionDetail = gfx::Rgb(64, 140, 255);
constexpr gfx::Color kFrameOutline = gfx::Rgb(222, 192, 160);
constexpr gfx::Color kNumberText = gfx::Rgb(210, 210, 218);
constexpr gfx::Color kWaveBackground = gfx::Rgb(24, 28, 36);
constexpr gfx::Color kWaveAxis = gfx::Rgb(70, 80, 96);
constexpr gfx::Color kWaveTrace = gfx::Rgb(96, 220, 230);

constexpr std::uint32_t kLineFormat = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX;

const char* LayoutName(gfx::ImageLayout layout) {
  switch (layout) {
    case gfx::LayoutWhole:
      return "whole";
    case gfx::LayoutGrid8:
      return "grid8";
    case gfx::LayoutRow:
      return "row";
    case gfx::LayoutColumn:
      return "column";
    case gfx::LayoutGrid:
      return "grid";
  }
  return "?";
}

std::string Size(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

struct Fonts {
  std::unique_ptr<gfx::Font> caption =
      gfx::Font::Create("Liberation Sans", gfx::kFontWeightBold, 15);
  std::unique_ptr<gfx::Font> detail =
      gfx::Font::Create("Liberation Sans", gfx::kFontWeightNormal, 13);
  std::unique_ptr<gfx::Font> number = gfx::Font::Create("DejaVu Sans", gfx::kFontWeightNormal, 11);
};

int TextWidth(const gfx::Font* font, const std::string& text) {
  return font != nullptr ? font->textWidth(text) : 0;
}

// One frame as it is placed on the sheet: its source rectangle in the picture, and the
// box it is shown in (enlarged or reduced by the entry's scale).
struct PlacedFrame {
  int number = 0;
  gfx::IntRect source;
  gfx::IntRect shown;
};

struct PictureSection {
  const IndexedEntry* entry = nullptr;
  std::unique_ptr<gfx::MemVideo> picture;
  bool holes = false;     // pure black is not drawn
  bool numbered = false;  // a whole picture is one frame and needs no number
  std::string caption;
  std::string detail;
  int top = 0;
  std::vector<PlacedFrame> frames;
  int height = 0;
};

struct SoundSection {
  const IndexedEntry* entry = nullptr;
  WaveInfo wave;
  std::string caption;
  std::string detail;
  int top = 0;
  int height = 0;
};

// Places the frames of a picture in rows across the sheet, below its caption.
void LayOutFrames(PictureSection& section, const resbuild::Entry* known, int sheetWidth,
                  const Fonts& fonts) {
  const gfx::MemVideo& picture = *section.picture;
  int count = 1;
  int frameWidth = picture.width();
  int frameHeight = picture.height();
  if (known != nullptr && known->layout != gfx::LayoutWhole) {
    count = known->frameCount;
    frameWidth = known->frameWidth;
    frameHeight = known->frameHeight;
  }
  const int room = sheetWidth - 2 * kMargin - 2;
  int enlarge = 1;
  int reduce = 1;
  if (std::max(frameWidth, frameHeight) < kSmallestShownSide) {
    enlarge = kSmallestShownSide / std::max(frameWidth, frameHeight);
  }
  while (frameWidth / reduce > room) ++reduce;
  const int shownWidth = frameWidth * enlarge / reduce;
  const int shownHeight = frameHeight * enlarge / reduce;
  if (enlarge > 1) section.detail += ", shown " + std::to_string(enlarge) + " times enlarged";
  if (reduce > 1) section.detail += ", shown at 1/" + std::to_string(reduce);

  const int widestNumber = TextWidth(fonts.number.get(), std::to_string(count - 1));
  const int cellWidth = std::max(shownWidth + 2, widestNumber + 4) + kCellGap;
  const int cellHeight = shownHeight + 2 + kNumberHeight + 4;
  int x = kMargin;
  int y = section.top + kCaptionHeight + 8;
  for (int n = 0; n < count; ++n) {
    if (x > kMargin && x + cellWidth - kCellGap > sheetWidth - kMargin) {
      x = kMargin;
      y += cellHeight;
    }
    PlacedFrame frame;
    frame.number = n;
    const gfx::FramePoint origin =
        known != nullptr ? resbuild::FrameOrigin(*known, n) : gfx::FramePoint{};
    frame.source = gfx::IntRect::FromSize(origin.x, origin.y, frameWidth, frameHeight);
    frame.shown = gfx::IntRect::FromSize(x + 1, y + 1, shownWidth, shownHeight);
    section.frames.push_back(frame);
    x += cellWidth;
  }
  section.height = y + cellHeight - section.top;
}

void DrawCaption(gfx::MemVideo& sheet, int top, const std::string& caption,
                 const std::string& detail, const Fonts& fonts) {
  gfx::FillRect(sheet, {0, top, sheet.width(), top + kCaptionHeight}, kCaptionBand);
  const gfx::IntRect band{kMargin, top, sheet.width() - kMargin, top + kCaptionHeight};
  gfx::DrawTextInRect(sheet, band, caption, kLineFormat, kCaptionText, fonts.caption.get());
  const int captionWidth = TextWidth(fonts.caption.get(), caption);
  const gfx::IntRect rest{band.left + captionWidth + 12, band.top, band.right, band.bottom};
  gfx::DrawTextInRect(sheet, rest, detail, kLineFormat, kCaptionDetail, fonts.detail.get());
}

void DrawFrame(gfx::MemVideo& sheet, const gfx::MemVideo& picture, const PlacedFrame& frame,
               bool holes) {
  const gfx::IntRect& shown = frame.shown;
  gfx::FrameRect(sheet, {shown.left - 1, shown.top - 1, shown.right + 1, shown.bottom + 1},
                 kFrameOutline);
  gfx::MemVideo scaled(shown.Width(), shown.Height());
  const bool reduced = shown.Width() < frame.source.Width();
  gfx::StretchRect(picture, frame.source, scaled, scaled.bounds(), reduced);
  for (int y = 0; y < scaled.height(); ++y) {
    for (int x = 0; x < scaled.width(); ++x) {
      gfx::Color c = scaled.at(x, y);
      if (holes && c == gfx::kBlack) {
        const bool dark = ((x / kCheckerSquare) + (y / kCheckerSquare)) % 2 == 0;
        c = dark ? kCheckerDark : kCheckerLight;
      }
      const int sx = shown.left + x;
      const int sy = shown.top + y;
      if (sx >= 0 && sy >= 0 && sx < sheet.width() && sy < sheet.height()) sheet.set(sx, sy, c);
    }
  }
}

void DrawNumber(gfx::MemVideo& sheet, const PlacedFrame& frame, const Fonts& fonts) {
  const int width = std::max(frame.shown.Width(), 40);
  const int centre = (frame.shown.left + frame.shown.right) / 2;
  const gfx::IntRect box{centre - width / 2, frame.shown.bottom + 2, centre + width / 2 + 1,
                         frame.shown.bottom + 2 + kNumberHeight};
  gfx::DrawTextInRect(sheet, box, std::to_string(frame.number), kLineFormat | gfx::DT_CENTER,
                      kNumberText, fonts.number.get());
}

int SampleAt(const WaveInfo& wave, std::int64_t frame) {
  const std::size_t bytes = static_cast<std::size_t>(wave.channels * (wave.bitsPerSample / 8));
  const std::uint8_t* p = wave.pcm.data() + static_cast<std::size_t>(frame) * bytes;
  if (wave.bitsPerSample == 8) return (p[0] - 128) * 256;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

// The first channel's envelope, one column per slice of time, all sounds on one time scale.
void DrawWave(gfx::MemVideo& sheet, const SoundSection& section, std::int64_t longestMs) {
  const int top = section.top + kCaptionHeight + 6;
  const gfx::IntRect box{kMargin, top, sheet.width() - kMargin, top + kWaveHeight};
  gfx::FillRect(sheet, box, kWaveBackground);
  const int middle = (box.top + box.bottom) / 2;
  gfx::FillRect(sheet, {box.left, middle, box.right, middle + 1}, kWaveAxis);
  const WaveInfo& wave = section.wave;
  if (wave.frames == 0 || longestMs <= 0) return;
  const double framesPerColumn =
      static_cast<double>(longestMs) * wave.sampleRate / 1000.0 / box.Width();
  const int half = kWaveHeight / 2 - 2;
  for (int column = 0; column < box.Width(); ++column) {
    const auto first = static_cast<std::int64_t>(column * framesPerColumn);
    const auto last =
        std::min(wave.frames, static_cast<std::int64_t>((column + 1) * framesPerColumn) + 1);
    if (first >= wave.frames) break;
    int low = 0;
    int high = 0;
    for (std::int64_t f = first; f < last; ++f) {
      const int s = SampleAt(wave, f);
      low = std::min(low, s);
      high = std::max(high, s);
    }
    const int y0 = middle - high * half / 32768;
    const int y1 = middle - low * half / 32768;
    gfx::FillRect(sheet, {box.left + column, y0, box.left + column + 1, y1 + 1}, kWaveTrace);
  }
}

}  // namespace

gfx::MemVideo MakeContactSheet(const std::vector<IndexedEntry>& entries,
                               const SheetOptions& options, const std::string& label) {
  for (const std::string& wanted : options.only) {
    const bool found = std::any_of(entries.begin(), entries.end(), [&](const IndexedEntry& e) {
      return gfx::SameEntryName(e.name, wanted);
    });
    if (!found) throw Error(label + ": has no entry named " + wanted);
  }
  const int width = std::max(options.width, 320);
  const Fonts fonts;

  std::vector<PictureSection> pictures;
  std::vector<SoundSection> sounds;
  int y = kMargin;
  for (const IndexedEntry& entry : entries) {
    if (!options.only.empty() &&
        std::none_of(options.only.begin(), options.only.end(), [&](const std::string& wanted) {
          return gfx::SameEntryName(entry.name, wanted);
        })) {
      continue;
    }
    std::unique_ptr<gfx::MemVideo> picture;
    if (entry.kind != resbuild::kEntryKindWave) picture = DecodePicture(entry);
    if (picture != nullptr) {
      CheckPictureFitsFrames(entry.name, *picture, label);
      const resbuild::Entry* known = KnownEntry(entry.name);
      PictureSection section;
      section.entry = &entry;
      section.picture = std::move(picture);
      section.holes = known != nullptr && known->transparent;
      section.numbered = known != nullptr && known->layout != gfx::LayoutWhole;
      section.caption = entry.name;
      const gfx::MemVideo& shown = *section.picture;
      if (known != nullptr && known->layout != gfx::LayoutWhole) {
        section.detail = std::to_string(known->frameCount) + " frames of " +
                         Size(known->frameWidth, known->frameHeight) + ", " +
                         LayoutName(known->layout) + " " + Size(shown.width(), shown.height());
      } else {
        section.detail = Size(shown.width(), shown.height());
      }
      section.detail += entry.kind == gfx::kEntryKindPackedPicture ? ", 8-bit" : ", 24-bit";
      if (section.holes) section.detail += ", transparent";
      section.top = y;
      LayOutFrames(section, known, width, fonts);
      y += section.height + kSectionGap;
      pictures.push_back(std::move(section));
    } else if (const auto wave = ParseWave(entry.data)) {
      SoundSection section;
      section.entry = &entry;
      section.wave = *wave;
      section.caption = entry.name;
      section.detail = std::to_string(wave->Milliseconds()) + " ms, " +
                       std::to_string(wave->sampleRate) + " Hz, " +
                       std::to_string(wave->bitsPerSample) + "-bit, " +
                       (wave->channels == 1 ? std::string("mono")
                                            : std::to_string(wave->channels) + " channels");
      section.top = y;
      section.height = kCaptionHeight + 6 + kWaveHeight + 4;
      y += section.height + kSectionGap;
      sounds.push_back(std::move(section));
    }
  }
  if (pictures.empty() && sounds.empty()) throw Error(label + ": no pictures or sounds to show");

  gfx::MemVideo sheet(width, y - kSectionGap + kMargin);
  gfx::FillSurface(sheet, kSheetBackground);
  for (const PictureSection& section : pictures) {
    DrawCaption(sheet, section.top, section.caption, section.detail, fonts);
    for (const PlacedFrame& frame : section.frames) {
      DrawFrame(sheet, *section.picture, frame, section.holes);
      if (section.numbered) DrawNumber(sheet, frame, fonts);
    }
  }
  std::int64_t longestMs = 0;
  for (const SoundSection& section : sounds) {
    longestMs = std::max(longestMs, section.wave.Milliseconds());
  }
  for (const SoundSection& section : sounds) {
    DrawCaption(sheet, section.top, section.caption, section.detail, fonts);
    DrawWave(sheet, section, longestMs);
  }
  return sheet;
}

void WriteContactSheet(const std::filesystem::path& archive, const std::filesystem::path& out,
                       const SheetOptions& options) {
  const gfx::MemVideo sheet =
      MakeContactSheet(ReadArchiveIndex(archive), options, archive.string());
  if (!gfx::WritePng(sheet, out.string())) throw Error(out.string() + ": cannot write");
}

}  // namespace resarc
