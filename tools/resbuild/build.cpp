#include "tools/resbuild/build.h"

#include <map>
#include <string>

#include "gfx/archive.h"
#include "gfx/draw.h"
#include "tools/resbuild/canvas.h"
#include "tools/resbuild/quantize.h"

namespace resbuild {

void PictureStore::Add(const Entry& entry, gfx::MemVideo sheet) {
  pictures_.push_back({&entry, std::move(sheet)});
}

gfx::MemVideo PictureStore::Frame(std::string_view name, int n) const {
  const Entry* wanted = FindEntry(name);
  for (const Stored& stored : pictures_) {
    if (wanted == nullptr || stored.entry != wanted) continue;
    const Entry& entry = *stored.entry;
    if (n < 0 || n >= entry.frameCount) break;
    const gfx::FramePoint origin = FrameOrigin(entry, n);
    gfx::MemVideo frame(entry.frameWidth, entry.frameHeight);
    gfx::CopyRect(stored.sheet,
                  gfx::IntRect::FromSize(origin.x, origin.y, entry.frameWidth, entry.frameHeight),
                  frame, 0, 0);
    return frame;
  }
  return gfx::MemVideo(0, 0);
}

gfx::MemVideo FrameContext::Frame(std::string_view entry, int n) const {
  return built != nullptr ? built->Frame(entry, n) : gfx::MemVideo(0, 0);
}

gfx::MemVideo ComposePicture(const Entry& entry, const PictureStore& built) {
  const PictureSize size = SheetSize(entry);
  gfx::MemVideo sheet(size.width, size.height);
  for (int n = 0; n < entry.frameCount; ++n) {
    Canvas canvas(entry.frameWidth, entry.frameHeight);
    if (!entry.transparent) canvas.Fill(colors::kSand);
    FrameContext context;
    context.frame = n;
    if (entry.layout == gfx::LayoutGrid && entry.columns > 0) {
      context.column = n % entry.columns;
      context.row = n / entry.columns;
    }
    context.built = &built;
    cairo_save(canvas.cr());
    entry.painter(canvas, context);
    cairo_restore(canvas.cr());
    const gfx::MemVideo frame = FlattenCanvas(canvas, entry.transparent);
    const gfx::FramePoint origin = FrameOrigin(entry, n);
    gfx::CopyRect(frame, frame.bounds(), sheet, origin.x, origin.y);
  }
  return sheet;
}

std::vector<tools::ArchiveItem> BuiltResources::ItemsOf(std::string_view archive) const {
  std::vector<tools::ArchiveItem> items;
  for (const BuiltEntry& built : entries) {
    if (archive == built.entry->archive) items.push_back(built.item);
  }
  return items;
}

BuiltResources BuildResources() {
  BuiltResources resources;
  PictureStore store;
  for (const Entry& entry : Entries()) {
    BuiltEntry built;
    built.entry = &entry;
    built.item.name = entry.name;
    if (entry.storage == Storage::Wave) {
      built.item.kind = kEntryKindWave;
      built.item.data = entry.sound();
    } else {
      built.source = ComposePicture(entry, store);
      store.Add(entry, built.source);
    }
    resources.entries.push_back(std::move(built));
  }

  // Packed pictures are quantised by palette group once everything is painted; an entry
  // without a group is a group of its own.
  std::map<std::string, std::vector<BuiltEntry*>> groups;
  for (BuiltEntry& built : resources.entries) {
    const Entry& entry = *built.entry;
    if (entry.storage == Storage::Bitmap) {
      built.item.kind = kEntryKindBitmap;
      built.item.data = tools::EncodeRgbBitmap(
          built.source.width(), built.source.height(), 24,
          std::span<const gfx::Color>(
              built.source.pixels(),
              static_cast<std::size_t>(built.source.width()) * built.source.height()));
      built.shown = built.source;
    } else if (entry.storage == Storage::Packed) {
      groups[entry.paletteGroup != nullptr ? entry.paletteGroup : entry.name].push_back(&built);
    }
  }
  for (auto& [name, members] : groups) {
    std::vector<const gfx::MemVideo*> pictures;
    for (const BuiltEntry* member : members) pictures.push_back(&member->source);
    const QuantisedGroup group = QuantiseGroup(pictures);
    for (std::size_t i = 0; i < members.size(); ++i) {
      BuiltEntry& built = *members[i];
      const int width = built.source.width();
      const int height = built.source.height();
      built.item.kind = gfx::kEntryKindPackedPicture;
      built.item.data = tools::EncodePackedPicture(width, height, group.indices[i], group.palette);
      built.shown = ShowIndices(width, height, group.indices[i], group.palette);
    }
  }
  return resources;
}

bool WriteArchives(const BuiltResources& resources, const std::filesystem::path& folder,
                   std::string* error) {
  for (const char* archive : ArchiveNames()) {
    const std::filesystem::path path = folder / archive;
    if (!tools::WriteArchiveFile(path, resources.ItemsOf(archive))) {
      if (error != nullptr) *error = "could not write " + path.string();
      return false;
    }
  }
  return true;
}

}  // namespace resbuild
