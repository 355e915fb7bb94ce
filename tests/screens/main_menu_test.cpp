// The title screen: its buttons' hover, press and click, the ways out, and the switch to the
// game screen that the shell makes on the next tick.
#include <gtest/gtest.h>

#include "tests/screens/game_screen_fixture.h"

namespace screens_test {
namespace {

using platform::MouseButton;

class MainMenu : public GameScreenTest {
 protected:
  screens::MainMenuProc& menu() { return *window->menuScreen; }
  screens::TWMMButton& button(std::size_t i) { return *menu().buttons[i]; }
};

TEST_F(MainMenu, TheMenuIsShownOnTheSecondTickWithItsFiveButtons) {
  ASSERT_TRUE(window->menuScreen);
  EXPECT_EQ(widgets::activeProcedure, window->menuScreen.get());
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenMenu));
  EXPECT_EQ(button(0).caption, "New Game");
  EXPECT_EQ(button(4).caption, "Quit");
  EXPECT_EQ(button(1).pixelRect, Pixels(gfx::FracRect::FromSize(0.32f, 0.30f, 0.16f, 0.15f)));
  EXPECT_EQ(button(3).command, 19);
  EXPECT_NE(platform->window().at(5, 5), gfx::kBlack);  // the landscape is on the window
}

TEST_F(MainMenu, HoveringRedrawsOnlyThatButtonInItsHoveredLook) {
  const gfx::MemVideo before = platform->window();
  platform->presentedRects.clear();
  const platform::Point centre = Centre(button(2));
  platform->MoveMouse(centre.x, centre.y);
  EXPECT_EQ(button(2).hover, 1);
  ASSERT_EQ(platform->presentedRects.size(), 1u);
  EXPECT_EQ(platform->presentedRects[0], button(2).pixelRect);
  EXPECT_EQ(platform->currentCursor, platform::kCursorHand);
  bool hoveredFace = false;
  const gfx::IntRect r = button(2).pixelRect;
  for (std::int32_t y = r.top; y < r.bottom; ++y)
    for (std::int32_t x = r.left; x < r.right; ++x)
      hoveredFace |= platform->window().at(x, y) == screens::kMenuFaceHovered;
  EXPECT_TRUE(hoveredFace);
  platform->MoveMouse(5, 5);
  EXPECT_EQ(button(2).hover, 0);
  for (std::int32_t y = r.top; y < r.bottom; ++y)
    for (std::int32_t x = r.left; x < r.right; ++x)
      ASSERT_EQ(platform->window().at(x, y), before.at(x, y));  // back to its first look
}

TEST_F(MainMenu, HoldingShiftsTheCaptionAndReleasingElsewhereRunsNothing) {
  const platform::Point centre = Centre(button(0));
  platform->MoveMouse(centre.x, centre.y);
  const gfx::MemVideo hovered = platform->window();
  platform->PressButton(MouseButton::Left, centre.x, centre.y);
  EXPECT_EQ(button(0).pressed, 1);
  // The held caption is the hovered one moved a pixel right and down.
  const gfx::IntRect r = button(0).pixelRect;
  int same = 0, shifted = 0;
  for (std::int32_t y = r.top + 2; y < r.bottom - 2; ++y)
    for (std::int32_t x = r.left + 2; x < r.right - 2; ++x) {
      if (hovered.at(x, y) != screens::kMenuFaceHovered) continue;
      same += platform->window().at(x, y) == screens::kMenuFaceHovered;
      shifted += platform->window().at(x + 1, y + 1) == screens::kMenuFaceHovered;
    }
  EXPECT_GT(shifted, same);
  platform->MoveMouse(5, 5, platform::kLeftButton);
  platform->ReleaseButton(MouseButton::Left, 5, 5);
  platform->Tick(2);
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenMenu));
  EXPECT_EQ(window->requestedScreen, 0);
}

TEST_F(MainMenu, EscapeAsksAndQuitDoesNot) {
  messages->answers = {platform::kResultNo};
  platform->PressKey(platform::vk::kEscape);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->shown[0].title, "Exit");
  EXPECT_FALSE(platform->terminated());
  Click(button(4));
  EXPECT_EQ(messages->shown.size(), 1u);
  EXPECT_TRUE(platform->terminated());
}

TEST_F(MainMenu, HelpOpensTheManualCreditsTheCreditsAndACancelledLoadStaysOnTheMenu) {
  Click(button(2));
  ASSERT_EQ(platform->openedUrls.size(), 1u);
  EXPECT_NE(platform->openedUrls[0].find("/Pell.html"), std::string::npos);

  std::vector<std::string> shown;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    shown.push_back(form.caption());
    p.PressKey(form.caption() == "Credits" ? 'O' : 'C');
  };
  Click(button(1));
  Click(button(3));
  EXPECT_EQ(shown, (std::vector<std::string>{"Load Game", "Credits"}));
  platform->Tick(2);
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenMenu));
}

TEST_F(MainMenu, TheCreditsNameTheGameAndCentreTheirOkButton) {
  const dialogs::TAboutDlg& credits = *menu().creditsDialog;
  EXPECT_EQ(credits.labels()[0]->caption, "Redhollow (Version 2.0)");
  EXPECT_EQ(credits.okButton().hotKey, 'O');
  const gfx::IntRect client = credits.ClientBounds();
  const gfx::IntRect ok = credits.okButton().pixelRect;
  EXPECT_NEAR((ok.left + ok.right) / 2.0, client.Width() / 2.0, 1.0);
  EXPECT_EQ(client, Pixels(gfx::FracRect::FromSize(0.39f, 0.39f, 0.22f, 0.22f)));
}

TEST_F(MainMenu, NewGameSwitchesToTheGameScreenOnTheNextTickAndTheMenuIsGone) {
  window->sounds.soundEffectsOn = 0;  // a silent click
  Click(button(0));
  EXPECT_TRUE(platform->audio.played.empty());
  EXPECT_EQ(window->requestedScreen, app::ScreenGame);
  EXPECT_EQ(game().colony().State().population, 10);
  platform->Tick();
  EXPECT_EQ(window->menuScreen, nullptr);
  EXPECT_EQ(widgets::activeProcedure, window->gameScreen.get());
  EXPECT_EQ(window->currentScreen, static_cast<std::uint32_t>(app::ScreenGame));
  EXPECT_EQ(game().palettePanel->tabs[0]->down, 1);
}

}  // namespace
}  // namespace screens_test
