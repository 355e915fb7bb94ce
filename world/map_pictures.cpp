#include "world/map_pictures.h"

#include "gfx/wbitmap.h"

namespace world {

bool LoadMapPictures(MapPictureSet& pictures, const std::string& archivePath) {
  bool all = true;
  all &= gfx::LoadImage(pictures.tiles0, archivePath, "tiles0", gfx::LayoutGrid8, kTileWidth,
                        kTileHeight, true);
  all &= gfx::LoadImage(pictures.tiles1, archivePath, "tiles1", gfx::LayoutGrid8, kTileWidth,
                        kTileHeight + kStructureLift, true);
  all &= gfx::LoadImage(pictures.tiles2, archivePath, "tiles2", gfx::LayoutGrid8, kTileWidth,
                        kTileHeight + kStructureLift, true);
  all &=
      gfx::LoadImage(pictures.animation, archivePath, "Animation", gfx::LayoutGrid8, 48, 48, false);
  all &= gfx::LoadImage(pictures.miniMap, archivePath, "MiniMap", gfx::LayoutGrid, 2, 1, true);
  return all;
}

}  // namespace world
