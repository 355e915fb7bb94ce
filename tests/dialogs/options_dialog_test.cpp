// The Options dialog: its look at 1024 x 768, each row changed by mouse and by keyboard, what
// Ok, Enter, Cancel, the close box and Esc return, and its layout at other screen sizes.
#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include <ostream>

#include "gfx/draw.h"
#include "tests/dialogs/dialog_fixture.h"
#include "tests/support/golden.h"

namespace dialogs {

// Beside the struct, where the checks' comparisons and messages find them.
bool operator==(const OptionsChoice& a, const OptionsChoice& b) {
  return a.soundEffects == b.soundEffects && a.effectsVolume == b.effectsVolume &&
         a.fullScreen == b.fullScreen && a.autosaveMinutes == b.autosaveMinutes;
}
void PrintTo(const OptionsChoice& c, std::ostream* out) {
  *out << "{sound " << c.soundEffects << ", volume " << c.effectsVolume << ", full screen "
       << c.fullScreen << ", autosave " << c.autosaveMinutes << "}";
}

}  // namespace dialogs

namespace dialogs_test {
namespace {

using dialogs::OptionsChoice;

constexpr OptionsChoice kStart{true, 70, true, 5};

class OptionsDialog : public DialogTest {
 protected:
  void TearDown() override {
    dialog_.reset();
    DialogTest::TearDown();
  }
  dialogs::TOptionsDlg& dialog() {
    if (!dialog_) dialog_ = std::make_unique<dialogs::TOptionsDlg>(*window);
    return *dialog_;
  }
  // A click on a control of the open dialog, as the player makes it.
  static void ClickOn(platform::HeadlessPlatform& p, const dialogs::FormControl& control) {
    const platform::Point at = CentreOf(control.form(), control.bounds);
    p.Click(at.x, at.y);
  }

 private:
  std::unique_ptr<dialogs::TOptionsDlg> dialog_;
};

TEST(OptionsSteps, VolumeStepsLandOnTensAndAutosaveGoesRoundItsChoices) {
  EXPECT_EQ(dialogs::LouderVolume(70), 80);
  EXPECT_EQ(dialogs::LouderVolume(73), 80);
  EXPECT_EQ(dialogs::LouderVolume(100), 100);
  EXPECT_EQ(dialogs::LouderVolume(-40), 10);
  EXPECT_EQ(dialogs::QuieterVolume(70), 60);
  EXPECT_EQ(dialogs::QuieterVolume(73), 70);
  EXPECT_EQ(dialogs::QuieterVolume(0), 0);
  EXPECT_EQ(dialogs::QuieterVolume(250), 90);
  std::vector<int> forward, backward;
  int next = 0, previous = 0;
  for (int i = 0; i < 5; ++i) {
    forward.push_back(next = dialogs::NextAutosave(next));
    backward.push_back(previous = dialogs::PreviousAutosave(previous));
  }
  EXPECT_EQ(forward, (std::vector<int>{2, 5, 10, 0, 2}));
  EXPECT_EQ(backward, (std::vector<int>{10, 5, 2, 0, 10}));
  // An interval that is none of the choices (from elsewhere) steps to its neighbours.
  EXPECT_EQ(dialogs::NextAutosave(3), 5);
  EXPECT_EQ(dialogs::PreviousAutosave(3), 2);
  EXPECT_EQ(dialogs::NextAutosave(60), 0);
  EXPECT_EQ(dialogs::AutosaveCaption(0), "Off");
  EXPECT_EQ(dialogs::AutosaveCaption(10), "Every 10 minutes");
  EXPECT_EQ(dialogs::VolumeCaption(40), "40 %");
}

TEST_F(OptionsDialog, LooksAsStoredAt1024x768) {
  script = {[&](auto& p, dialogs::TForm& form) {
    p.MoveMouse(5, 5);
    const gfx::IntRect r = form.WindowBounds();
    gfx::MemVideo copy(r.Width(), r.Height());
    gfx::CopyRect(p.window(), r, copy, 0, 0);
    EXPECT_TRUE(testing_support::MatchesGolden(copy, "dialog_options", 4, 30));
    p.RequestClose();
  }};
  EXPECT_EQ(dialog().Choose(kStart), std::nullopt);
  EXPECT_EQ(dialog().caption(), "Options");
}

TEST_F(OptionsDialog, EveryRowChangesByMouseAndOkReturnsTheChoice) {
  dialogs::TOptionsDlg& d = dialog();
  script = {[&](auto& p, auto&) {
              EXPECT_EQ(d.soundButton().caption, "On");
              EXPECT_EQ(d.volumeLabel().caption, "70 %");
              EXPECT_EQ(d.displayButton().caption, "Full screen");
              EXPECT_EQ(d.autosaveButton().caption, "Every 5 minutes");
              ClickOn(p, d.soundButton());
              ClickOn(p, d.louderButton());
              ClickOn(p, d.louderButton());
              ClickOn(p, d.quieterButton());
              ClickOn(p, d.displayButton());
              ClickOn(p, d.autosaveButton());
            },
            [&](auto& p, auto&) {
              EXPECT_EQ(d.soundButton().caption, "Off");
              EXPECT_EQ(d.volumeLabel().caption, "80 %");
              EXPECT_EQ(d.displayButton().caption, "Window");
              EXPECT_EQ(d.autosaveButton().caption, "Every 10 minutes");
              ClickOn(p, d.autosaveButton());  // round to off
              ClickOn(p, d.okButton());
            }};
  const std::optional<OptionsChoice> chosen = d.Choose(kStart);
  EXPECT_FALSE(scriptRanOut);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, (OptionsChoice{false, 80, false, 0}));
}

TEST_F(OptionsDialog, TheVolumeStopsAtItsEnds) {
  dialogs::TOptionsDlg& d = dialog();
  script = {[&](auto& p, auto&) {
              for (int i = 0; i < 3; ++i) ClickOn(p, d.louderButton());
              EXPECT_EQ(d.choice().effectsVolume, 100);
              for (int i = 0; i < 12; ++i) ClickOn(p, d.quieterButton());
              EXPECT_EQ(d.volumeLabel().caption, "0 %");
            },
            [&](auto& p, auto&) { ClickOn(p, d.okButton()); }};
  EXPECT_EQ(d.Choose({true, 90, true, 5})->effectsVolume, 0);
}

TEST_F(OptionsDialog, HotKeysTabArrowsAndEnterWorkFromTheKeyboard) {
  dialogs::TOptionsDlg& d = dialog();
  script = {[&](auto& p, auto&) {
              // The first row has the focus; Tab goes down the rows, then to Ok and Cancel.
              EXPECT_EQ(d.ActiveControl(), &d.soundButton());
              std::vector<const dialogs::FormControl*> order;
              for (int i = 0; i < 7; ++i) {
                p.PressKey(platform::vk::kTab);
                order.push_back(d.ActiveControl());
              }
              EXPECT_EQ(order, (std::vector<const dialogs::FormControl*>{
                                   &d.quieterButton(), &d.louderButton(), &d.displayButton(),
                                   &d.autosaveButton(), &d.okButton(), &d.cancelButton(),
                                   &d.soundButton()}));
              p.PressKey('S');  // the underlined letters of the rows
              p.PressKey('D');
              p.PressKey('A');
              p.PressKey('L');
              p.PressKey('A', platform::kAutoRepeat);  // a held key changes nothing more
              EXPECT_EQ(d.choice(), (OptionsChoice{false, 80, false, 10}));
              p.PressKey('Q');
              p.PressKey('Q');
              p.PressKey(platform::vk::kSpace);  // presses the focused row: sound on again
              EXPECT_EQ(d.choice(), (OptionsChoice{true, 60, false, 10}));
            },
            [&](auto& p, auto&) {
              // The arrows step the focused row's value.
              d.FocusControl(&d.autosaveButton());
              p.PressKey(platform::vk::kLeft);
              p.PressKey(platform::vk::kLeft);
              d.FocusControl(&d.louderButton());
              p.PressKey(platform::vk::kRight);
              EXPECT_EQ(d.choice(), (OptionsChoice{true, 70, false, 2}));
              p.PressKey(platform::vk::kReturn);  // Ok, though the focus is on a row
            }};
  EXPECT_EQ(d.Choose(kStart), (OptionsChoice{true, 70, false, 2}));
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(OptionsDialog, CancelTheCloseBoxAndEnterOnCancelReturnNothingAndEscapeStays) {
  dialogs::TOptionsDlg& d = dialog();
  script = {[&](auto& p, auto&) {
    ClickOn(p, d.soundButton());
    p.PressKey('C');
  }};
  EXPECT_EQ(d.Choose(kStart), std::nullopt);
  EXPECT_FALSE(scriptRanOut);

  script = {[&](auto& p, auto&) {
              EXPECT_EQ(d.soundButton().caption, "On");  // the last showing's change is gone
              ClickOn(p, d.displayButton());
              p.PressKey(platform::vk::kEscape);
            },
            [&](auto& p, dialogs::TForm& form) {
              EXPECT_EQ(d.ModalResult, 0);  // Esc does nothing in the game's dialogs
              const gfx::IntRect window = form.WindowBounds();
              p.Click(window.right - 12, window.top + form.ClientOrigin().y / 2 + 1);
            }};
  EXPECT_EQ(d.Choose(kStart), std::nullopt);
  EXPECT_FALSE(scriptRanOut);

  script = {[&](auto& p, auto&) {
    ClickOn(p, d.autosaveButton());
    d.FocusControl(&d.cancelButton());
    p.PressKey(platform::vk::kReturn);
  }};
  EXPECT_EQ(d.Choose(kStart), std::nullopt);
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(OptionsDialog, AChoiceOutOfRangeIsShownWithinIt) {
  dialogs::TOptionsDlg& d = dialog();
  script = {[&](auto& p, auto&) { ClickOn(p, d.okButton()); }};
  EXPECT_EQ(d.Choose({true, 180, false, -4}), (OptionsChoice{true, 100, false, 0}));
  EXPECT_EQ(d.autosaveButton().caption, "Off");
}

// The layout at other screens: every control inside the dialog, none over another, every
// caption a control can show within it, and the dialog in the middle of the screen.
class OptionsLayout : public DialogTest, public ::testing::WithParamInterface<gfx::AppVideo> {
 protected:
  OptionsLayout() : DialogTest(GetParam()) {}
};

TEST_P(OptionsLayout, ControlsFitTheirTextAndEachOther) {
  const gfx::AppVideo screen = GetParam();
  dialogs::TOptionsDlg d(*window);
  const gfx::IntRect client = d.ClientBounds();
  EXPECT_NEAR((client.left + client.right) / 2.0, screen.width / 2.0, 1.0);
  EXPECT_NEAR((client.top + client.bottom) / 2.0, screen.height / 2.0, 1.0);
  const gfx::IntRect inside{0, 0, client.Width(), client.Height()};
  const std::vector<dialogs::FormControl*>& controls = d.Controls();
  ASSERT_EQ(controls.size(), 12u);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->bounds.Intersect(inside), controls[i]->bounds) << i;
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_TRUE(controls[i]->bounds.Intersect(controls[j]->bounds).IsEmpty()) << i << " " << j;
  }
  const gfx::Font* font = d.font();
  if (font == nullptr) GTEST_SKIP() << "no font";
  const auto fits = [&](const dialogs::FormControl& control, std::string_view text) {
    EXPECT_LE(font->textWidth(text) + 4, control.bounds.Width()) << text;
    EXPECT_LE(font->lineHeight(), control.bounds.Height() + 2) << text;
  };
  for (const auto& label : d.rowLabels()) fits(*label, label->caption);
  for (const char* text : {"On", "Off"}) fits(d.soundButton(), text);
  for (const char* text : {"Quieter", "Louder"}) fits(d.quieterButton(), text);
  fits(d.volumeLabel(), "100 %");
  for (const char* text : {"Full screen", "Window"}) fits(d.displayButton(), text);
  for (const int minutes : dialogs::kAutosaveChoices)
    fits(d.autosaveButton(), dialogs::AutosaveCaption(minutes));
  fits(d.cancelButton(), "Cancel");
}

INSTANTIATE_TEST_SUITE_P(Screens, OptionsLayout,
                         ::testing::Values(gfx::AppVideo{1024, 768}, gfx::AppVideo{800, 600},
                                           gfx::AppVideo{1920, 1080}, gfx::AppVideo{1280, 1024},
                                           gfx::AppVideo{3840, 2160}));

}  // namespace
}  // namespace dialogs_test
