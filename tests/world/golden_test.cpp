// What a player sees: a generated colony drawn with the game's own pictures onto a 1024 x 768
// screen, view and minimap, compared with a stored image.
#include "tests/support/golden.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gfx/png_file.h"
#include "platform/headless_platform.h"
#include "screens/game_layout.h"
#include "tests/world/map_scene.h"
#include "world/map_pictures.h"

namespace world {
namespace {

// The reference build's archives, which the golden image was drawn from.
std::filesystem::path ResourceDir() {
  return REDHOLLOW_GOLDEN_RESOURCE_DIR;
}

using screens::kGameViewArea;
using screens::kMiniMapArea;

// Channels may differ by 2 (rounding in the smoothed stretch), in at most 0.1 % of the pixels;
// a tile in the wrong place changes thousands.
constexpr int kTolerance = 2;
constexpr int kMaxBadPixels = 786;

TEST(MapGolden, GeneratedColonyAt1024By768) {
  const std::string archive = (ResourceDir() / kMapArchive).string();
  ASSERT_TRUE(std::filesystem::exists(archive)) << archive << " is built with the resources";
  MapPictureSet pictures;
  ASSERT_TRUE(LoadMapPictures(pictures, archive));

  platform::HeadlessPlatform platform({1024, 768});
  gfx::MemVideo backBuffer(1024, 768);
  Land land;
  WorldIso3D map(kGameViewArea, land, {1024, 768},
                 {[&] { return &backBuffer; },
                  [&](const gfx::IntRect& r) { platform.Present(backBuffer, r, r.left, r.top); }},
                 pictures.Slots());
  map.miniMapRect = gfx::FracToPixels(kMiniMapArea, 1024, 768);
  testing::BuildScene(map);
  map.DrawMiniMap();
  map.RefreshAll();

  const gfx::MemVideo& window = platform.window();
  ASSERT_EQ(window.width(), 1024);
  gfx::WritePng(window, testing_support::TestOutputPath("world_map.png"));
  EXPECT_TRUE(testing_support::MatchesGolden(window, "world_map", kTolerance, kMaxBadPixels));
}

}  // namespace
}  // namespace world
