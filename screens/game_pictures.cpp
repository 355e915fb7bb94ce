#include "screens/game_pictures.h"

#include <string>

#include "gfx/archive.h"

namespace screens {

namespace {

struct PictureEntry {
  std::string name;
  gfx::ImageLayout layout;
  std::int32_t frameWidth, frameHeight;
  bool transparent;
  GamePictures::Slot* slot;
};

void Load(const PictureEntry& entry) {
  *entry.slot = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(**entry.slot, gfx::kGameArchive, entry.name, entry.layout, entry.frameWidth,
                 entry.frameHeight, entry.transparent);
}

}  // namespace

void GamePictures::LoadPanelPictures() {
  using gfx::LayoutColumn, gfx::LayoutGrid, gfx::LayoutRow, gfx::LayoutWhole;
  const PictureEntry panelEntries[] = {
      {"PTBIBkgnd", LayoutWhole, 0, 0, false, &toolPanelBackground},
      {"PopInfo", LayoutWhole, 0, 0, false, &counterBox},
      {"CalInfo", LayoutWhole, 0, 0, false, &calendarBox},
      {"TBButtonB", LayoutColumn, 64, 64, true, &toolButtonFaces},
      {"TBButtonI", LayoutGrid, 40, 40, true, &toolButtonIcons},
      {"PConstBkgnd", LayoutWhole, 0, 0, false, &palettePanelBackground},
      {"TBConstB", LayoutColumn, 56, 36, true, &tabFaces},
      {"TBConstI", LayoutGrid, 24, 24, true, &tabIcons},
  };
  for (const PictureEntry& entry : panelEntries) Load(entry);
  for (int k = 0; k < kCategoryPictures; ++k) {
    const bool grid = k >= 2;
    Load({"StType" + std::to_string(k), grid ? LayoutGrid : LayoutWhole, grid ? 96 : 0,
          grid ? 70 : 0, false, &categoryPictures[static_cast<std::size_t>(k)]});
  }
  const PictureEntry laterEntries[] = {
      {"SBDeleteSt", LayoutColumn, 64, 64, true, &deleteBuilding},
      {"EarthCBkgnd", LayoutWhole, 0, 0, false, &earthBackground},
      {"EarthCImage", LayoutRow, 144, 144, false, &earthImage},
  };
  for (const PictureEntry& entry : laterEntries) Load(entry);
}

void GamePictures::LoadMapPictures() {
  map = std::make_unique<world::MapPictureSet>();
  world::LoadMapPictures(*map, gfx::kGameArchive);
}

void GamePictures::Release() {
  *this = {};
}

world::MapPictures GamePictures::MapSlots() const {
  return map ? map->Slots() : world::MapPictures{};
}

}  // namespace screens
