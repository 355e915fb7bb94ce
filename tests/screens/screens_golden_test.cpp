// What a player sees, against stored pictures: the title screen, a new game, every page of
// the info area and the Information page of a few structures, at 1024 x 768. The pages are
// compared as the top strip only, where they differ.
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "tests/screens/game_screen_fixture.h"
#include "tests/support/golden.h"

namespace screens_test {
namespace {

// Antialiased text and smoothed stretches may land a step apart between compilers.
constexpr int kTolerance = 4;
constexpr int kBadPixels = 40;

class ScreensGolden : public GameScreenTest {
 protected:
  gfx::MemVideo TopStrip() {
    const gfx::IntRect strip = Pixels(gfx::FracRect{0.0f, 0.0f, 1.0f, 0.12f});
    gfx::MemVideo copy(strip.Width(), strip.Height());
    gfx::CopyRect(platform->window(), strip, copy, 0, 0);
    return copy;
  }
  // A structure of the type next to the landing module, finished or with days left.
  world::CellPos Put(sim::StructureType type, std::int32_t daysLeft, std::int32_t dx) {
    world::Land& land = game().land();
    const world::CellPos at{land.centerX + dx, land.centerY + 2};
    world::MapCell& cell = *land.CellAt(at.x, at.y);
    const sim::StructureLook& look = sim::LookOf(type);
    cell.type = static_cast<std::uint8_t>(type);
    cell.constructionLeft = static_cast<std::uint8_t>(daysLeft);
    cell.revealMask = world::kRevealAll;
    cell.sheet = daysLeft > 0 ? world::kSheetSite : world::kSheetStructure;
    cell.frame =
        static_cast<std::uint8_t>(daysLeft > 0 ? look.constructionFrame : look.finishedFrame);
    return at;
  }
};

// "Options" stands in the room the arc of the five buttons leaves; apart from its rectangle the
// title screen is the stored one, and the button has a picture of its own.
TEST_F(ScreensGolden, TheTitleScreen) {
  const gfx::IntRect options = Pixels(screens::kOptionsButton.rect);
  gfx::MemVideo button(options.Width(), options.Height());
  gfx::CopyRect(platform->window(), options, button, 0, 0);
  EXPECT_TRUE(
      testing_support::MatchesGolden(button, "menu_options_button", kTolerance, kBadPixels));
  // The rest: the window with the landscape put back where the button stands.
  const gfx::WBitmap& landscape = *window->menuScreen->background;
  gfx::MemVideo bare(platform->window().width(), platform->window().height());
  gfx::StretchImage(bare, bare.bounds(), landscape, {0, 0, landscape.width, landscape.height},
                    true);
  gfx::MemVideo withoutOptions = platform->window();
  gfx::CopyRect(bare, options, withoutOptions, options.left, options.top);
  EXPECT_TRUE(
      testing_support::MatchesGolden(withoutOptions, "screen_menu", kTolerance, kBadPixels));
}

TEST_F(ScreensGolden, ANewGameAndEveryPageOfTheInfoArea) {
  StartNewGame();
  EXPECT_TRUE(testing_support::MatchesGolden(platform->window(), "screen_new_game", kTolerance,
                                             kBadPixels));
  for (int category = 2; category < 8; ++category) {
    Click(*game().palettePanel->tabs[static_cast<std::size_t>(category)]);
    platform->MoveMouse(512, 600);
    EXPECT_TRUE(testing_support::MatchesGolden(
        TopStrip(), "strip_palette_" + std::to_string(category), kTolerance, kBadPixels));
  }
  Click(*game().palettePanel->tabs[1]);
  platform->MoveMouse(512, 600);
  EXPECT_TRUE(
      testing_support::MatchesGolden(TopStrip(), "strip_none_selected", kTolerance, kBadPixels));
}

TEST_F(ScreensGolden, TheStatusPageOfAColonyInNeed) {
  StartNewGame();
  sim::ColonyState& s = game().colony().State();
  s.water = -5;
  s.food = 15;
  s.power = 140;
  s.freeHousing = 1000;
  s.disease = 10;
  s.communications = 350;
  s.earthContact = sim::kContactOn;
  s.population = 0;
  s.unemployed = 0;
  s.growthRate = 0.0f;
  game().Redraw();
  EXPECT_TRUE(
      testing_support::MatchesGolden(TopStrip(), "strip_status_in_need", kTolerance, kBadPixels));
}

TEST_F(ScreensGolden, TheInformationPageOfSomeStructures) {
  StartNewGame();
  struct Case {
    sim::StructureType type;
    std::int32_t daysLeft;
    const char* name;
  };
  const Case cases[] = {{sim::kLandingModule, 0, "landing_module"},
                        {sim::kFlats, 12, "flats_site"},
                        {sim::kWindPower, 0, "wind_power"},
                        {sim::kCasino, 0, "casino"}};
  std::int32_t dx = -2;
  for (const Case& c : cases) {
    const world::CellPos at =
        c.type == sim::kLandingModule ? LandingModule() : Put(c.type, c.daysLeft, dx++);
    game().land().ClearSelection();
    ClickAt(CellPoint(at.x, at.y));
    platform->MoveMouse(512, 600);
    EXPECT_TRUE(testing_support::MatchesGolden(
        TopStrip(), std::string("strip_information_") + c.name, kTolerance, kBadPixels));
  }
}

}  // namespace
}  // namespace screens_test
