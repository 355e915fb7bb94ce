// The Options dialog as the game opens it: from the title screen's button and with F9 on the
// title and game screens, never over another dialog, and what the player's choice changes.
#include <gtest/gtest.h>

#include "dialogs/options_dialog.h"
#include "tests/screens/game_screen_fixture.h"

namespace screens_test {
namespace {

class Options : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    // Plays the Options dialog: records it, then runs `play` on it.
    messages->otherDialog = [this](platform::HeadlessPlatform& p, dialogs::TForm& form) {
      shown.push_back(form.caption());
      auto* options = dynamic_cast<dialogs::TOptionsDlg*>(&form);
      if (options != nullptr && play) {
        play(p, *options);
      } else {
        p.RequestClose();
      }
    };
  }
  static void ClickOn(platform::HeadlessPlatform& p, const dialogs::FormControl& control) {
    const gfx::IntRect client = control.form().ClientBounds();
    p.Click(client.left + (control.bounds.left + control.bounds.right) / 2,
            client.top + (control.bounds.top + control.bounds.bottom) / 2);
  }

  std::vector<std::string> shown;
  std::function<void(platform::HeadlessPlatform&, dialogs::TOptionsDlg&)> play;
};

TEST_F(Options, TheTitleButtonOpensThemAndOkAppliesSoundAndVolumeAtOnce) {
  screens::TWMMButton& button = *window->menuScreen->optionsButton;
  EXPECT_EQ(button.caption, "Options");
  EXPECT_EQ(button.pixelRect, Pixels(screens::kOptionsButton.rect));
  // Its room in the arc: it touches none of the five.
  for (const screens::TWMMButton* other : window->menuScreen->buttons)
    EXPECT_TRUE(other->pixelRect.Intersect(button.pixelRect).IsEmpty()) << other->caption;
  // Resting on it, the pointer brings up the tooltip with its key.
  const platform::Point centre = Centre(button);
  platform->MoveMouse(centre.x, centre.y);
  platform->Tick(25);
  EXPECT_TRUE(window->tooltip.hintShown);
  EXPECT_EQ(window->menuScreen->hovered, &button);
  EXPECT_EQ(button.hint, "Options <F9>");

  play = [](platform::HeadlessPlatform& p, dialogs::TOptionsDlg& d) {
    EXPECT_EQ(d.choice().effectsVolume, 100);
    for (int i = 0; i < 5; ++i) ClickOn(p, d.quieterButton());
    ClickOn(p, d.displayButton());
    ClickOn(p, d.autosaveButton());
    ClickOn(p, d.okButton());
  };
  Click(button);
  EXPECT_EQ(shown, (std::vector<std::string>{"Options"}));
  EXPECT_EQ(window->settings().effectsVolume, 50);
  EXPECT_EQ(platform->audio.volume(), 50);
  EXPECT_FALSE(window->FullScreen());
  EXPECT_EQ(window->settings().autosaveMinutes, 10);
  EXPECT_EQ(window->sounds.soundEffectsOn, 1);
  // The next click sound starts at the new volume.
  platform->audio.playedVolumes.clear();
  Click(*window->menuScreen->buttons[2]);  // Help
  ASSERT_FALSE(platform->audio.playedVolumes.empty());
  EXPECT_EQ(platform->audio.playedVolumes.back(), 50);

  play = [](platform::HeadlessPlatform& p, dialogs::TOptionsDlg& d) {
    EXPECT_EQ(d.choice().effectsVolume, 50);  // the dialog opens with what is set
    EXPECT_FALSE(d.choice().fullScreen);
    ClickOn(p, d.soundButton());
    p.PressKey(platform::vk::kReturn);
  };
  platform->PressKey(platform::vk::kF9);
  EXPECT_EQ(window->sounds.soundEffectsOn, 0);
  platform->audio.played.clear();
  Click(*window->menuScreen->buttons[2]);
  EXPECT_TRUE(platform->audio.played.empty());  // sound effects off: the click is silent
}

TEST_F(Options, CancelAndTheCloseBoxChangeNothing) {
  play = [](platform::HeadlessPlatform& p, dialogs::TOptionsDlg& d) {
    ClickOn(p, d.soundButton());
    ClickOn(p, d.quieterButton());
    ClickOn(p, d.displayButton());
    ClickOn(p, d.autosaveButton());
    ClickOn(p, d.cancelButton());
  };
  platform->PressKey(platform::vk::kF9);
  play = nullptr;  // the close box
  platform->PressKey(platform::vk::kF9);
  EXPECT_EQ(shown, (std::vector<std::string>{"Options", "Options"}));
  EXPECT_EQ(window->sounds.soundEffectsOn, 1);
  EXPECT_EQ(window->settings().effectsVolume, 100);
  EXPECT_EQ(platform->audio.volume(), 100);
  EXPECT_TRUE(window->FullScreen());
  EXPECT_EQ(window->settings().autosaveMinutes, 5);
}

TEST_F(Options, F9OpensThemOverTheGameWhoseTimeWaits) {
  StartNewGame();
  platform->PressKey(platform::vk::kF7);  // accelerated: a day every tick
  const sim::ColonyState before = state();
  play = [&](platform::HeadlessPlatform& p, dialogs::TOptionsDlg& d) {
    EXPECT_EQ(widgets::activeProcedure->modal, 1);
    p.Tick(5);
    EXPECT_EQ(state().day, before.day);
    EXPECT_EQ(state().month, before.month);
    ClickOn(p, d.okButton());
  };
  platform->PressKey(platform::vk::kF9);
  EXPECT_EQ(shown, (std::vector<std::string>{"Options"}));
  EXPECT_EQ(window->topForm(), nullptr);
  EXPECT_EQ(widgets::activeProcedure->modal, 0);
}

TEST_F(Options, F9DoesNotOpenThemOverAnotherDialog) {
  int credits = 0;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    shown.push_back(form.caption());
    if (++credits == 1) {
      p.PressKey(platform::vk::kF9);  // goes to the open dialog, which has no such key
      EXPECT_EQ(window->topForm(), &form);
      return;
    }
    p.PressKey('O');
  };
  Click(*window->menuScreen->buttons[3]);  // Credits
  EXPECT_EQ(shown, (std::vector<std::string>{"Credits", "Credits"}));
  // Not before the title screen either: the window has nothing to show them over.
  window->currentScreen = app::ScreenStarting;
  window->ShowOptions();
  EXPECT_EQ(shown.size(), 2u);
}

}  // namespace
}  // namespace screens_test
