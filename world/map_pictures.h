// The five pictures of the map, loaded from the game archive with their frame layouts.
#pragma once

#include <string>

#include "gfx/archive.h"
#include "gfx/wbitmap.h"
#include "world/world_iso3d.h"

namespace world {

inline constexpr const char* kMapArchive = gfx::kGameArchive;

// Owns the pictures; the map is given their slots.
struct MapPictureSet {
  gfx::WBitmap tiles0;
  gfx::WBitmap tiles1;
  gfx::WBitmap tiles2;
  gfx::WBitmap animation;
  gfx::WBitmap miniMap;

  MapPictures Slots() const { return {&tiles0, &tiles1, &tiles2, &animation, &miniMap}; }
};

// Loads all five from the archive; a missing one stays empty and draws nothing. Returns
// whether every picture was found.
bool LoadMapPictures(MapPictureSet& pictures, const std::string& archivePath);

}  // namespace world
