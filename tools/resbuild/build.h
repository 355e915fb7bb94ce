// Building the three archives from the entry table: paint every picture frame by frame,
// compose the sheets, quantise the packed ones, make the sounds, and write the files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/mem_video.h"
#include "tools/archive_writer.h"
#include "tools/resbuild/entries.h"

namespace resbuild {

// The pictures painted so far, by entry, as sheets of source pixels (holes are 0).
class PictureStore {
 public:
  void Add(const Entry& entry, gfx::MemVideo sheet);
  // Frame n of an entry, or an empty surface when there is none.
  gfx::MemVideo Frame(std::string_view name, int n) const;

 private:
  struct Stored {
    const Entry* entry;
    gfx::MemVideo sheet;
  };
  std::vector<Stored> pictures_;
};

// Paints a picture entry frame by frame into its sheet, with gaps and holes as 0.
gfx::MemVideo ComposePicture(const Entry& entry, const PictureStore& built);

struct BuiltEntry {
  const Entry* entry = nullptr;
  gfx::MemVideo source{0, 0};  // pictures: the painted pixels
  gfx::MemVideo shown{0, 0};   // pictures: what the archive shows (the quantised pixels)
  tools::ArchiveItem item;
};

struct BuiltResources {
  std::vector<BuiltEntry> entries;  // in table order

  // The items of one archive file, in table order.
  std::vector<tools::ArchiveItem> ItemsOf(std::string_view archive) const;
};

BuiltResources BuildResources();
// Writes res00.dat, res01.dat and res02.dat into the folder; false with a reason on failure.
bool WriteArchives(const BuiltResources& resources, const std::filesystem::path& folder,
                   std::string* error);

}  // namespace resbuild
