// The game screen driven as a player drives it, through the main window's events on the
// headless platform: the controls it is made with, the palette pages and panels following
// the colony, the pointer over the map, the keys, and a new game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "gfx/draw.h"
#include "tests/screens/game_screen_fixture.h"

namespace screens_test {
namespace {

using platform::MouseButton;

class GameScreen : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    StartNewGame();
  }

  // An explored empty cell a few steps from the landing module.
  world::CellPos FreeCellNearLanding(std::int32_t steps = 2) {
    const world::CellPos pem = LandingModule();
    const world::Land& land = game().land();
    for (std::int32_t dy = -steps; dy <= steps; ++dy)
      for (std::int32_t dx = -steps; dx <= steps; ++dx) {
        const world::MapCell* cell = land.CellAt(pem.x + dx, pem.y + dy);
        if ((dx != 0 || dy != 0) && cell != nullptr && cell->type == 0 &&
            cell->revealMask == world::kRevealAll)
          return {pem.x + dx, pem.y + dy};
      }
    ADD_FAILURE() << "no free cell";
    return {};
  }
  void ClickCell(world::CellPos cell) { ClickAt(CellPoint(cell.x, cell.y)); }
  void ChooseItem(int category, int item) {
    Click(*palette().tabs[static_cast<std::size_t>(category)]);
    Click(*palette().items[static_cast<std::size_t>(item)]);
  }
  // Whether a window rectangle shows exactly what a full redraw of the screen shows there.
  ::testing::AssertionResult WindowIsUpToDate() {
    const gfx::MemVideo before = platform->window();
    game().Redraw();
    const gfx::MemVideo& after = platform->window();
    for (std::int32_t y = 0; y < after.height(); ++y)
      for (std::int32_t x = 0; x < after.width(); ++x)
        if (before.at(x, y) != after.at(x, y))
          return ::testing::AssertionFailure() << "the window was stale at " << x << ", " << y;
    return ::testing::AssertionSuccess();
  }
  // Text drawn in white over a picture: pixels almost white.
  bool AreaHasWhiteText(const gfx::IntRect& r) {
    for (std::int32_t y = r.top; y < r.bottom; ++y)
      for (std::int32_t x = r.left; x < r.right; ++x) {
        const gfx::Color c = platform->window().at(x, y);
        if (gfx::RedOf(c) > 230 && gfx::GreenOf(c) > 230 && gfx::BlueOf(c) > 230) return true;
      }
    return false;
  }
  bool AreaHasColour(const gfx::IntRect& r, gfx::Color colour) {
    for (std::int32_t y = r.top; y < r.bottom; ++y)
      for (std::int32_t x = r.left; x < r.right; ++x)
        if (platform->window().at(x, y) == colour) return true;
    return false;
  }
};

TEST_F(GameScreenTest, AtCreationOnlyStatusAndTimePausedArePressed) {
  screens::GameProc& screen = game();  // made with the menu, not yet shown
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(screen.palettePanel->tabs[i]->down, i == 0 ? 1 : 0);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(screen.toolPanel->buttons[i]->down, i == 4 ? 1 : 0) << i;
    EXPECT_EQ(screen.toolPanel->buttons[i]->toggleMode, i >= 4 && i <= 6 ? 1 : 0) << i;
  }
  EXPECT_EQ(screen.palettePanel->earthCommButton->enabled, 0);
  EXPECT_EQ(screen.palettePanel->earthCommButton->visible, 1);
  EXPECT_EQ(screen.palettePanel->deleteButton->visible, 0);
  EXPECT_EQ(screen.palettePanel->items[0]->down, 1);
}

TEST_F(GameScreenTest, TheControlsStandWhereTheLayoutPutsThem) {
  screens::GameProc& screen = game();
  EXPECT_EQ(screen.toolPanel->buttons[0]->pixelRect, (gfx::IntRect{614, 46, 655, 86}));
  EXPECT_EQ(screen.toolPanel->buttons[0]->hint, "New Game <F1>");
  EXPECT_EQ(screen.toolPanel->buttons[8]->command, 21);
  // "Delete building" lies on the fifth item's place.
  const gfx::IntRect item = screen.palettePanel->items[4]->pixelRect;
  const gfx::IntRect del = screen.palettePanel->deleteButton->pixelRect;
  EXPECT_EQ(item.left, 329);
  EXPECT_EQ(item.right, 400);
  EXPECT_TRUE(del.left >= item.left && del.right <= item.right && del.top >= item.top &&
              del.bottom <= item.bottom);
  EXPECT_EQ(screen.palettePanel->tabs[7]->hint, "Communications");
  EXPECT_EQ(screen.palettePanel->tabs[7]->command, 110);
  EXPECT_EQ(screen.palettePanel->earthCommButton->pixelRect.left,
            screen.palettePanel->tabs[7]->pixelRect.right + 6);
  EXPECT_EQ(screen.toolPanel->CounterBox, (gfx::IntRect{696, 3, 908, 41}));
  EXPECT_EQ(screen.toolPanel->DateBox, (gfx::IntRect{517, 3, 599, 88}));
}

TEST_F(GameScreen, TimeNormalReleasesTimePausedButNotTheCategoryTab) {
  Click(*palette().tabs[3]);
  Click(*toolbar().buttons[5]);
  EXPECT_EQ(state().speed, sim::kNormal);
  EXPECT_EQ(toolbar().buttons[4]->down, 0);
  EXPECT_EQ(toolbar().buttons[5]->down, 1);
  EXPECT_EQ(palette().tabs[3]->down, 1);
  EXPECT_EQ(state().category, 3);
}

TEST_F(GameScreen, APaletteItemWantingPeopleIsDisabledUntilABirthBringsThem) {
  state().unemployed = 5;
  ChooseItem(4, 0);                                         // Housing: Little House (2 builders)
  screens::PaletteItemButton& flats = *palette().items[2];  // 10 builders
  EXPECT_EQ(flats.enabled, 0);
  EXPECT_EQ(palette().items[0]->enabled, 1);
  EXPECT_EQ(flats.hint, "Flats");
  EXPECT_TRUE(AreaHasWhiteText(flats.pixelRect));  // "Insufficient" / "people"

  state().growthAccumulator = 6.5f;  // six colonists arrive on the next day
  Click(*toolbar().buttons[6]);
  platform->Tick();
  EXPECT_GE(state().unemployed, 10);
  EXPECT_EQ(flats.enabled, 1);
  EXPECT_FALSE(AreaHasWhiteText(flats.pixelRect));
}

TEST_F(GameScreen, WithTooFewPeopleTheCursorIsTheArrowAndAPressBuildsNothing) {
  ChooseItem(4, 2);  // Flats
  state().unemployed = 5;
  const world::CellPos free = FreeCellNearLanding();
  const platform::Point p = CellPoint(free.x, free.y);
  platform->MoveMouse(p.x, p.y);
  EXPECT_EQ(platform->currentCursor, platform::kCursorDefault);
  platform->Click(p.x, p.y);
  EXPECT_EQ(game().land().CellAt(free.x, free.y)->type, 0);
  EXPECT_TRUE(messages->shown.empty());

  state().unemployed = 20;
  platform->MoveMouse(p.x + 1, p.y);
  EXPECT_EQ(platform->currentCursor, platform::kCursorBuild);
  platform->Click(p.x + 1, p.y);
  EXPECT_EQ(game().land().CellAt(free.x, free.y)->type, sim::kFlats);
  EXPECT_EQ(state().unemployed, 10);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, ARefusedBuildingIsAnnouncedAndChangesNothing) {
  state().unemployed = 30;
  ChooseItem(3, 1);  // Fish Farm: water −30 against the landing module's 10
  const world::CellPos free = FreeCellNearLanding();
  ClickCell(free);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "Pell Informs:");
  EXPECT_EQ(messages->shown[0].text,
            "Insufficient water. You must build another well or condenser!");
  EXPECT_EQ(game().land().CellAt(free.x, free.y)->type, 0);
  EXPECT_EQ(state().unemployed, 30);
}

TEST_F(GameScreen, SelectingTheLandingModuleShowsItsInformationWithoutDeleteBuilding) {
  const world::CellPos pem = LandingModule();
  const std::size_t soundsBefore = platform->audio.played.size();
  ClickCell(pem);
  EXPECT_EQ(game().land().selectedX, pem.x);
  EXPECT_EQ(state().category, 1);
  EXPECT_EQ(palette().tabs[1]->down, 1);
  EXPECT_EQ(palette().tabs[0]->down, 0);
  EXPECT_EQ(palette().deleteButton->visible, 0);
  EXPECT_EQ(platform->audio.played.size(), soundsBefore + 1);  // the click of a selection
  const sim::ColonyState before = state();
  game().Command(nullptr, sim::kCommandDelete);
  EXPECT_EQ(state(), before);
  EXPECT_EQ(game().land().CellAt(pem.x, pem.y)->type, sim::kLandingModule);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, AFlatsUnderConstructionShowsItsSiteDaysLeftAndChart) {
  ChooseItem(4, 2);
  const world::CellPos site = FreeCellNearLanding();
  ClickCell(site);
  game().land().CellAt(site.x, site.y)->constructionLeft = 12;
  ClickCell(site);
  EXPECT_EQ(state().category, 1);
  EXPECT_EQ(palette().deleteButton->visible, 1);
  const gfx::IntRect area = palette().infoAreaPixels;
  EXPECT_TRUE(AreaHasColour(area, gfx::Rgb(0x40, 0xFF, 0xFF)));   // water −8
  EXPECT_TRUE(AreaHasColour(area, gfx::Rgb(0xFF, 0x80, 0x00)));   // free housing 20
  EXPECT_TRUE(AreaHasColour(area, gfx::Rgb(0xFF, 0xE0, 0xA0)));   // 40 days to build
  EXPECT_FALSE(AreaHasColour(area, gfx::Rgb(0x80, 0xC0, 0x00)));  // no food
  EXPECT_TRUE(WindowIsUpToDate());

  // Deleting it gives the builders back and goes to the Status page.
  const std::int32_t unemployed = state().unemployed;
  Click(*palette().deleteButton);
  EXPECT_EQ(game().land().CellAt(site.x, site.y)->type, 0);
  EXPECT_EQ(state().unemployed, unemployed + 10);
  EXPECT_EQ(state().category, 0);
  EXPECT_EQ(palette().tabs[0]->down, 1);
  EXPECT_EQ(palette().deleteButton->visible, 0);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, ARightPressClearsASelectionAndDoesNothingWithoutOne) {
  ChooseItem(2, 0);
  const std::size_t sounds = platform->audio.played.size();
  const platform::Point p = CellPoint(LandingModule().x + 3, LandingModule().y + 3);
  platform->PressButton(MouseButton::Right, p.x, p.y);
  platform->ReleaseButton(MouseButton::Right, p.x, p.y);
  EXPECT_EQ(state().category, 2);
  EXPECT_EQ(platform->audio.played.size(), sounds);

  ClickCell(LandingModule());
  platform->PressButton(MouseButton::Right, p.x, p.y);
  platform->ReleaseButton(MouseButton::Right, p.x, p.y);
  EXPECT_FALSE(game().land().HasSelection());
  EXPECT_EQ(state().category, 0);
  EXPECT_EQ(palette().tabs[0]->down, 1);
}

// The page shows Highway, PellNet, Telescope and Comm. Center (its fifth slot is a spare);
// once a Comm. Center stands, its slot is a gap and the Highway is chosen.
TEST_F(GameScreen, PlacingACommCenterLeavesAGapInItsSlotWithHighwayPressed) {
  ChooseItem(7, 3);
  int shown = 0;
  for (auto* item : palette().items) shown += item->visible;
  EXPECT_EQ(shown, 4);
  ClickCell(FreeCellNearLanding());
  EXPECT_EQ(state().earthContact, sim::kContactBuilding);
  EXPECT_EQ(state().category, 7);
  shown = 0;
  for (auto* item : palette().items) shown += item->visible;
  EXPECT_EQ(shown, 3);
  EXPECT_EQ(palette().items[3]->visible, 0);
  EXPECT_EQ(palette().items[0]->down, 1);
  EXPECT_EQ(colony().SelectedType(), sim::kHighway);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, F5WhilePausedChangesOnlyTheButtonsLook) {
  const sim::ColonyState before = state();
  platform->presentedRects.clear();
  platform->PressKey(platform::vk::kF5);
  EXPECT_EQ(state(), before);
  EXPECT_EQ(toolbar().buttons[4]->down, 1);
  for (const gfx::IntRect& r : platform->presentedRects)
    EXPECT_EQ(r, toolbar().buttons[4]->pixelRect);
  EXPECT_FALSE(platform->presentedRects.empty());
}

TEST_F(GameScreen, FunctionKeysPressTheirButtonsAndTimeRunsAtItsSpeed) {
  // The switch to the game screen reset the dividers and was the first tick since.
  platform->PressKey(platform::vk::kF6);
  EXPECT_EQ(toolbar().buttons[5]->down, 1);
  EXPECT_EQ(toolbar().buttons[4]->down, 0);
  platform->Tick(11);
  EXPECT_EQ(state().day, 1);
  platform->Tick();  // the 13th
  EXPECT_EQ(state().day, 2);
  platform->PressKey(platform::vk::kF7);
  platform->Tick(3);
  EXPECT_EQ(state().day, 5);
  EXPECT_TRUE(WindowIsUpToDate());
  platform->PressKey(platform::vk::kF4);
  EXPECT_EQ(platform->openedUrls.size(), 1u);
  platform->PressKey(platform::vk::kF10);
  EXPECT_EQ(platform->minimizeCount, 1);
  platform->Restore();
}

TEST_F(GameScreen, NewGameOnF1AndYesShowsTheWholeNewColonyAtOnce) {
  platform->PressKey(platform::vk::kF7);
  platform->Tick(30);
  ChooseItem(4, 0);
  ClickCell(FreeCellNearLanding());
  platform->PressKey(platform::vk::kF5);
  ASSERT_NE(state().day, 1);

  messages->answers = {platform::kResultNo};
  platform->PressKey(platform::vk::kF1);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "New Game");
  EXPECT_EQ(messages->shown[0].text, "Are you sure you want abandon the current game?");
  EXPECT_NE(state().day, 1);

  messages->answers = {platform::kResultYes};
  platform->PressKey(platform::vk::kF1);
  EXPECT_EQ(state().day, 1);
  EXPECT_EQ(state().population, 10);
  EXPECT_EQ(state().category, 0);
  EXPECT_EQ(palette().tabs[0]->down, 1);
  EXPECT_EQ(toolbar().buttons[4]->down, 1);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, ArrowKeysAndTheScreenEdgesScrollTheMap) {
  const std::int32_t cx = game().land().centerX, cy = game().land().centerY;
  platform->PressKey(platform::vk::kRight);
  EXPECT_EQ(game().land().centerX, cx + 1);
  EXPECT_EQ(game().land().centerY, cy - 1);
  platform->MoveMouse(0, 400);  // the left edge, while time is paused
  platform->Tick();
  EXPECT_EQ(game().land().centerX, cx);
  EXPECT_EQ(game().land().centerY, cy);
  platform->MoveMouse(500, 400);
  platform->Tick();
  EXPECT_EQ(game().land().centerX, cx);
  EXPECT_TRUE(WindowIsUpToDate());
}

// Placing, a finished construction and selecting draw and present only around their cell;
// through them, accelerated days and scrolling, the window stays that of a full redraw.
TEST_F(GameScreen, ChangedCellsArePresentedAloneAndTheWindowStaysUpToDate) {
  const gfx::IntRect view = game().worldMap().viewRect;
  auto presentedTheView = [&] {
    return std::count(platform->presentedRects.begin(), platform->presentedRects.end(), view) > 0;
  };
  ChooseItem(4, 0);  // Little House
  const world::CellPos site = FreeCellNearLanding();
  platform->presentedRects.clear();
  ClickCell(site);
  const world::MapCell& cell = *game().land().CellAt(site.x, site.y);
  ASSERT_NE(cell.type, 0);
  EXPECT_FALSE(presentedTheView());
  EXPECT_TRUE(WindowIsUpToDate());

  game().land().CellAt(site.x, site.y)->constructionLeft = 1;
  Click(*toolbar().buttons[6]);  // accelerated: a day every tick
  platform->presentedRects.clear();
  platform->Tick();
  EXPECT_EQ(cell.constructionLeft, 0);
  EXPECT_FALSE(presentedTheView());
  EXPECT_TRUE(WindowIsUpToDate());

  platform->presentedRects.clear();
  ClickCell(site);
  EXPECT_EQ(game().land().selectedX, site.x);
  EXPECT_FALSE(presentedTheView());
  EXPECT_TRUE(WindowIsUpToDate());

  for (const std::uint16_t key : {platform::vk::kRight, platform::vk::kDown, platform::vk::kLeft}) {
    platform->PressKey(key);
    EXPECT_TRUE(WindowIsUpToDate());
    platform->Tick(3);
    EXPECT_TRUE(WindowIsUpToDate());
  }
}

TEST_F(GameScreen, AMinimapClickCentresTheViewThere) {
  const gfx::IntRect mini = game().worldMap().miniMapRect;
  platform->MoveMouse(mini.left + 5, mini.top + 5);
  EXPECT_EQ(platform->currentCursor, platform::kCursorHand);
  platform->Click(mini.left + mini.Width() / 2, mini.top + mini.Height() / 2);
  const world::ViewPos centre =
      game().worldMap().CellToView({game().land().centerX, game().land().centerY});
  EXPECT_NEAR(centre.u, 64, 2);
  EXPECT_NEAR(centre.v, 64, 2);
  EXPECT_TRUE(WindowIsUpToDate());
}

TEST_F(GameScreen, EscapeAsksBeforeTheGameEnds) {
  messages->answers = {platform::kResultNo};
  platform->PressKey(platform::vk::kEscape);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].text, "Are you really sure you want to exit?");
  EXPECT_FALSE(platform->terminated());
  messages->answers = {platform::kResultYes};
  platform->PressKey(platform::vk::kEscape);
  EXPECT_TRUE(platform->terminated());
}

// The wheel over the map zooms about the ground under the pointer: up zooms in, down out, one
// scale a step, held at the smallest and the largest; back about the same point comes back to
// the same view. Over the panels it does nothing.
TEST_F(GameScreen, TheWheelOverTheMapZoomsAboutThePointerAndBackToTheSameView) {
  const world::CellPos landing = LandingModule();
  const platform::Point at = CellPoint(landing.x + 2, landing.y - 1);
  const world::CellPos start{game().land().centerX, game().land().centerY};
  const world::CellPos under = game().worldMap().CellAtPoint(at.x, at.y);
  auto near = [](world::CellPos a, world::CellPos b) {
    return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1;
  };
  platform->TurnWheel(1, at.x, at.y);
  EXPECT_EQ(game().MapScalePercent(), 141);
  EXPECT_TRUE(near(game().worldMap().CellAtPoint(at.x, at.y), under));
  EXPECT_TRUE(WindowIsUpToDate());
  for (const int percent : {100, 71, 50, 50}) {
    platform->TurnWheel(-1, at.x, at.y);
    EXPECT_EQ(game().MapScalePercent(), percent);
    EXPECT_TRUE(near(game().worldMap().CellAtPoint(at.x, at.y), under)) << percent;
  }
  EXPECT_TRUE(WindowIsUpToDate());
  const gfx::IntRect panel = palette().pixelRect;
  platform->TurnWheel(1, panel.left + 5, panel.top + 5);
  EXPECT_EQ(game().MapScalePercent(), 50);
  for (const int percent : {71, 100}) {
    platform->TurnWheel(1, at.x, at.y);
    EXPECT_EQ(game().MapScalePercent(), percent);
  }
  EXPECT_EQ((world::CellPos{game().land().centerX, game().land().centerY}), start);
  EXPECT_TRUE(WindowIsUpToDate());

  // Pushed against a corner of the map at 50 %, zooming in and out again there comes back too.
  platform->TurnWheel(-2, at.x, at.y);
  for (int i = 0; i < 60; ++i) platform->PressKey(platform::vk::kUp);
  const world::CellPos corner{game().land().centerX, game().land().centerY};
  const gfx::IntRect view = game().worldMap().viewRect;
  platform->TurnWheel(2, view.left + 3, view.top + 3);
  platform->TurnWheel(-2, view.left + 3, view.top + 3);
  EXPECT_EQ((world::CellPos{game().land().centerX, game().land().centerY}), corner);
  EXPECT_TRUE(WindowIsUpToDate());
}

// + and - (the main keys and the keypad's) zoom about the view's centre; the scale is kept in
// the settings once it rests, and a new game starts at the design's own scale.
TEST_F(GameScreen, PlusAndMinusZoomAndANewGameStartsAtTheDesignsScale) {
  using namespace platform::vk;
  const std::pair<std::uint16_t, int> presses[] = {{kOemMinus, 71}, {kSubtract, 50}, {kAdd, 71},
                                                   {kOemPlus, 100}, {kOemPlus, 141}, {kAdd, 200},
                                                   {kAdd, 200},     {kSubtract, 141}};
  for (const auto& [key, percent] : presses) {
    platform->PressKey(key);
    EXPECT_EQ(game().MapScalePercent(), percent) << key;
  }
  EXPECT_TRUE(WindowIsUpToDate());
  EXPECT_EQ(window->settings().mapScale, 100);  // not at every step
  platform->Tick(30);
  EXPECT_EQ(window->settings().mapScale, 141);

  messages->answers = {platform::kResultYes};
  platform->PressKey(kF1);
  EXPECT_EQ(game().MapScalePercent(), 100);
  EXPECT_TRUE(WindowIsUpToDate());
  platform->Tick(30);
  EXPECT_EQ(window->settings().mapScale, 100);
}

// At 50 % the cell under the pointer is the one a click builds on, scrolling and the animation
// ticks keep the window that of a full redraw, and selecting works.
TEST_F(GameScreen, AtHalfScaleAClickBuildsOnTheCellUnderThePointer) {
  const gfx::IntRect view = game().worldMap().viewRect;
  const std::int32_t columns = game().worldMap().viewColumns;
  for (int i = 0; i < 3; ++i)
    platform->TurnWheel(-1, view.left + view.Width() / 2, view.top + view.Height() / 2);
  ASSERT_EQ(game().MapScalePercent(), 50);
  EXPECT_GE(game().worldMap().viewColumns, 2 * columns - 1);  // twice the ground across
  ChooseItem(4, 0);                                           // Little House
  const world::CellPos site = FreeCellNearLanding();
  const platform::Point at = CellPoint(site.x, site.y);
  EXPECT_EQ(game().worldMap().CellAtPoint(at.x, at.y), site);
  ClickAt(at);
  EXPECT_NE(game().land().CellAt(site.x, site.y)->type, 0);
  EXPECT_TRUE(WindowIsUpToDate());
  Click(*toolbar().buttons[6]);  // accelerated
  for (const std::uint16_t key : {platform::vk::kRight, platform::vk::kDown, platform::vk::kLeft}) {
    platform->PressKey(key);
    platform->Tick(3);
    EXPECT_TRUE(WindowIsUpToDate());
  }
  const world::CellPos landing = LandingModule();
  ClickCell(landing);
  EXPECT_EQ(game().land().selectedX, landing.x);
  EXPECT_EQ(game().land().selectedY, landing.y);
}

}  // namespace
}  // namespace screens_test
