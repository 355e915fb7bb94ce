// The game screen's pictures: one slot each, in the order the screen loads them, which widgets
// and the map point at. The screen loads them when it is shown and releases them when it goes;
// a slot holds an empty picture for an entry the archive lacks, which draws nothing.
#pragma once

#include <array>
#include <memory>

#include "gfx/wbitmap.h"
#include "world/map_pictures.h"
#include "world/world_iso3d.h"

namespace screens {

inline constexpr int kCategoryPictures = 8;

struct GamePictures {
  using Slot = std::unique_ptr<gfx::WBitmap>;

  // Loads every picture of the panels and the Earth report, in the table's order.
  void LoadPanelPictures();
  // Loads the map's five pictures.
  void LoadMapPictures();
  void Release();
  // The map's pictures as the map points at them (null where a slot is empty).
  world::MapPictures MapSlots() const;

  Slot toolPanelBackground;     // PTBIBkgnd
  Slot counterBox;              // PopInfo
  Slot calendarBox;             // CalInfo
  Slot toolButtonFaces;         // TBButtonB
  Slot toolButtonIcons;         // TBButtonI
  Slot palettePanelBackground;  // PConstBkgnd
  Slot tabFaces;                // TBConstB
  Slot tabIcons;                // TBConstI
  // StType0 .. StType7: the item buttons of category k point at entry k; StType1 also holds
  // the Status page's icons and gauge strips.
  std::array<Slot, kCategoryPictures> categoryPictures;
  Slot deleteBuilding;   // SBDeleteSt
  Slot earthBackground;  // EarthCBkgnd
  Slot earthImage;       // EarthCImage
  // tiles0, tiles1, tiles2, Animation and MiniMap.
  std::unique_ptr<world::MapPictureSet> map;
};

}  // namespace screens
