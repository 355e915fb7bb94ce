#include "tools/resbuild/entries.h"

#include <array>

#include "gfx/archive.h"
#include "tools/resbuild/painters.h"

namespace resbuild {
namespace {

constexpr const char* kSounds = gfx::kSoundArchive;
constexpr const char* kDialogs = gfx::kDialogArchive;
constexpr const char* kGame = gfx::kGameArchive;

// The structures and their animations share a palette, so that an animation frame shows
// exactly the colours of the structure around its moving part.
constexpr const char* kStructurePalette = "structures";

constexpr Entry Sound(const char* name, SoundMaker maker, double minSeconds, double maxSeconds) {
  Entry e;
  e.archive = kSounds;
  e.name = name;
  e.storage = Storage::Wave;
  e.sound = maker;
  e.minSeconds = minSeconds;
  e.maxSeconds = maxSeconds;
  return e;
}

constexpr Entry Whole(const char* archive, const char* name, Storage storage, int width, int height,
                      Painter painter) {
  Entry e;
  e.archive = archive;
  e.name = name;
  e.storage = storage;
  e.frameWidth = width;
  e.frameHeight = height;
  e.painter = painter;
  return e;
}

constexpr Entry Framed(const char* archive, const char* name, gfx::ImageLayout layout,
                       int frameWidth, int frameHeight, int frameCount, int columns,
                       bool transparent, Painter painter, const char* paletteGroup = nullptr) {
  Entry e;
  e.archive = archive;
  e.name = name;
  e.storage = Storage::Packed;
  e.layout = layout;
  e.frameWidth = frameWidth;
  e.frameHeight = frameHeight;
  e.frameCount = frameCount;
  e.columns = columns;
  e.transparent = transparent;
  e.painter = painter;
  e.paletteGroup = paletteGroup;
  return e;
}

const std::array kEntries = {
    // res00.dat: sounds.
    Sound("click1", MakeClick1, 0.005, 0.06),
    Sound("click2", MakeClick2, 0.005, 0.06),
    Sound("build", MakeBuild, 0.35, 0.7),
    Sound("demolish", MakeDemolish, 0.6, 1.0),
    Sound("Warning", MakeWarning, 0.35, 0.7),
    Sound("Alarm", MakeAlarm, 0.8, 1.2),
    Sound("GameOver", MakeGameOver, 1.6, 2.5),

    // res01.dat: dialogs and the title screen.
    Whole(kDialogs, "DlgBkgnd", Storage::Bitmap, 640, 480, PaintDialogBackground),
    Framed(kDialogs, "DlgButton", gfx::LayoutColumn, 128, 48, 3, 0, true, PaintDialogButton),
    Framed(kDialogs, "DlgIcon", gfx::LayoutColumn, 64, 64, 3, 0, true, PaintDialogIcon),
    Whole(kDialogs, "MMBkgnd", Storage::Bitmap, 1600, 1000, PaintTitleBackground),
    Framed(kDialogs, "MMButton", gfx::LayoutColumn, 256, 160, 2, 0, true, PaintTitleButton),

    // res02.dat: the map first, since the palette pictures and the minimap are made from it.
    Framed(kGame, "tiles0", gfx::LayoutGrid8, 144, 96, 39, 0, true, PaintGroundTile),
    Framed(kGame, "tiles1", gfx::LayoutGrid8, 144, 105, 52, 0, true, PaintStructure,
           kStructurePalette),
    Framed(kGame, "tiles2", gfx::LayoutGrid8, 144, 105, 76, 0, true, PaintSite),
    Framed(kGame, "Animation", gfx::LayoutGrid8, 48, 48, 48, 0, false, PaintAnimation,
           kStructurePalette),
    Framed(kGame, "MiniMap", gfx::LayoutGrid, 2, 1, 54, 54, true, PaintMiniMap),
    Whole(kGame, "PTBIBkgnd", Storage::Bitmap, 800, 120, PaintToolPanelBackground),
    Whole(kGame, "PopInfo", Storage::Packed, 320, 52, PaintCounterBox),
    Whole(kGame, "CalInfo", Storage::Packed, 96, 96, PaintCalendarBox),
    Framed(kGame, "TBButtonB", gfx::LayoutColumn, 64, 64, 3, 0, true, PaintToolButtonFace),
    Framed(kGame, "TBButtonI", gfx::LayoutGrid, 40, 40, 27, 9, true, PaintToolButtonIcon),
    Whole(kGame, "PConstBkgnd", Storage::Bitmap, 800, 120, PaintPalettePanelBackground),
    Framed(kGame, "TBConstB", gfx::LayoutColumn, 56, 36, 3, 0, true, PaintCategoryTabFace),
    Framed(kGame, "TBConstI", gfx::LayoutGrid, 24, 24, 27, 9, true, PaintCategoryTabIcon),
    Whole(kGame, "StType0", Storage::Packed, 480, 210, PaintStType0),
    Whole(kGame, "StType1", Storage::Packed, 200, 196, PaintStType1),
    Framed(kGame, "StType2", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType2),
    Framed(kGame, "StType3", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType3),
    Framed(kGame, "StType4", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType4),
    Framed(kGame, "StType5", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType5),
    Framed(kGame, "StType6", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType6),
    Framed(kGame, "StType7", gfx::LayoutGrid, 96, 70, 15, 5, false, PaintStType7),
    Framed(kGame, "SBDeleteSt", gfx::LayoutColumn, 64, 64, 3, 0, true, PaintDeleteButton),
    Whole(kGame, "EarthCBkgnd", Storage::Bitmap, 600, 560, PaintEarthReportBackground),
    [] {
      Entry e =
          Framed(kGame, "EarthCImage", gfx::LayoutRow, 144, 144, 4, 0, false, PaintEarthImage);
      e.storage = Storage::Bitmap;
      return e;
    }(),
};

constexpr std::array<const char*, 3> kArchiveNames = {kSounds, kDialogs, kGame};

}  // namespace

std::span<const Entry> Entries() {
  return kEntries;
}

const Entry* FindEntry(std::string_view name) {
  for (const Entry& entry : kEntries) {
    if (gfx::SameEntryName(entry.name, name)) return &entry;
  }
  return nullptr;
}

std::span<const char* const> ArchiveNames() {
  return kArchiveNames;
}

PictureSize SheetSize(const Entry& entry) {
  const int n = entry.frameCount;
  const int fw = entry.frameWidth;
  const int fh = entry.frameHeight;
  switch (entry.layout) {
    case gfx::LayoutWhole:
      return {fw, fh};
    case gfx::LayoutGrid8: {
      const int columns = n < 8 ? n : 8;
      const int rows = (n + 7) / 8;
      return {columns * (fw + 1) - 1, rows * (fh + 1) - 1};
    }
    case gfx::LayoutRow:
      return {n * fw, fh};
    case gfx::LayoutColumn:
      return {fw, n * fh};
    case gfx::LayoutGrid: {
      const int rows = (n + entry.columns - 1) / entry.columns;
      return {entry.columns * fw, rows * fh};
    }
  }
  return {fw, fh};
}

gfx::FramePoint FrameOrigin(const Entry& entry, int n) {
  return gfx::FramePosition(entry.layout, n, entry.frameWidth, entry.frameHeight, entry.columns)
      .value_or(gfx::FramePoint{});
}

}  // namespace resbuild
