// The table of every archive entry the game reads: where it lives, how its frames are laid
// out, how it is stored and which function paints (or sounds) it. Painters are plain
// functions, one family per source file (see README.md), so that several people can each
// own their files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gfx/byte_buffer.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "tools/resbuild/canvas.h"

namespace resbuild {

enum class Storage {
  Packed,  // an 8-bit run-length packed picture, quantised to 255 colours plus the hole
  Bitmap,  // a 24-bit bitmap file, for large backgrounds that must stretch smoothly
  Wave,    // a 16-bit PCM wave file
};

// Entry kinds other than the packed picture are returned as stored; these two only tell
// the entries apart to a person reading an archive.
inline constexpr std::int32_t kEntryKindBitmap = 2;
inline constexpr std::int32_t kEntryKindWave = 3;

class PictureStore;

// What a painter is told about the frame it paints.
struct FrameContext {
  int frame = 0;   // frame number within the entry (0 for a whole picture)
  int column = 0;  // for grid layouts, the frame's column and row in the sheet
  int row = 0;
  const PictureStore* built = nullptr;

  // Frame n of an entry painted before this one, as its archive will show it before
  // quantising (holes are 0). An empty surface when there is no such frame.
  gfx::MemVideo Frame(std::string_view entry, int n) const;
};

// Paints one frame on a canvas of the frame's size (a whole picture: of the picture's size).
// Opaque pictures start filled with the interface's sand colour, transparent ones empty.
using Painter = void (*)(Canvas& canvas, const FrameContext& context);
// Makes a complete wave file.
using SoundMaker = gfx::ByteBuffer (*)();

struct Entry {
  const char* archive = "";  // "res00.dat", "res01.dat" or "res02.dat"
  const char* name = "";
  Storage storage = Storage::Packed;
  gfx::ImageLayout layout = gfx::LayoutWhole;
  int frameWidth = 0;  // LayoutWhole: the picture's size
  int frameHeight = 0;
  int frameCount = 1;
  int columns = 0;  // LayoutGrid: frames per row
  bool transparent = false;
  Painter painter = nullptr;
  SoundMaker sound = nullptr;
  // Packed entries of the same group are quantised to one shared palette, so that equal
  // source colours stay equal in all of them (the animation frames and the structures).
  const char* paletteGroup = nullptr;
  double minSeconds = 0;  // waves: the allowed length
  double maxSeconds = 0;
};

struct PictureSize {
  int width = 0;
  int height = 0;
};

// Every entry, in the order they are painted: an entry may read the frames of entries above
// it (the animation reads the structures, the minimap the tiles).
std::span<const Entry> Entries();
const Entry* FindEntry(std::string_view name);
// The size of the whole picture of an entry.
PictureSize SheetSize(const Entry& entry);
// The top-left corner of frame n in the entry's picture.
gfx::FramePoint FrameOrigin(const Entry& entry, int n);
// The archive file names, in the order they are written.
std::span<const char* const> ArchiveNames();

}  // namespace resbuild
