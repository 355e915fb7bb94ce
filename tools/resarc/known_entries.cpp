#include "tools/resarc/known_entries.h"

#include "tools/resarc/error.h"

namespace resarc {

const resbuild::Entry* KnownEntry(const std::string& name) {
  const resbuild::Entry* entry = resbuild::FindEntry(name);
  if (entry == nullptr || entry->storage == resbuild::Storage::Wave) return nullptr;
  return entry;
}

void CheckPictureFitsFrames(const std::string& name, const gfx::MemVideo& picture,
                            const std::string& where) {
  const resbuild::Entry* entry = KnownEntry(name);
  if (entry == nullptr) return;
  const resbuild::PictureSize size = resbuild::SheetSize(*entry);
  if (picture.width() == size.width && picture.height() == size.height) return;
  std::string frames = entry->layout == gfx::LayoutWhole
                           ? std::string("the game expects")
                           : std::to_string(entry->frameCount) + " frames of " +
                                 std::to_string(entry->frameWidth) + " x " +
                                 std::to_string(entry->frameHeight) + " need";
  throw Error(where + ": " + name + " is " + std::to_string(picture.width()) + " x " +
              std::to_string(picture.height()) + ", but " + frames + " " +
              std::to_string(size.width) + " x " + std::to_string(size.height));
}

}  // namespace resarc
