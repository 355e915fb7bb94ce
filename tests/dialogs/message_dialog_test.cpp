// The message dialog: its sizes from the text, its answers by hot key and by Enter, every
// notice of the game fitting at several screen sizes, and a long text never cut off.
#include "dialogs/message_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gfx/text.h"
#include "sim/colony.h"
#include "tests/dialogs/dialog_fixture.h"

namespace dialogs_test {
namespace {

std::unique_ptr<gfx::Font> DialogFont(gfx::AppVideo screen) {
  return gfx::MakeScaledFont(screen, dialogs::kDialogFontFace, dialogs::kDialogFontWeight,
                             dialogs::kDialogFontHeight, dialogs::kDialogFontWidth);
}

TEST(MessageLayout, AShortTextTakesOneLineInADialogOfTheUsualSize) {
  const gfx::AppVideo screen{1024, 768};
  const auto font = DialogFont(screen);
  if (!font) GTEST_SKIP() << "no font";
  const auto plain = dialogs::LayOutMessage("Sound Effects ON", false, font.get(), screen);
  EXPECT_FLOAT_EQ(plain.width, 0.23f);
  EXPECT_NEAR(plain.height, 0.136f, 1e-6);
  EXPECT_FLOAT_EQ(plain.labelHeight, 0.018f);
  const auto withIcon = dialogs::LayOutMessage("Sound Effects ON", true, font.get(), screen);
  EXPECT_FLOAT_EQ(withIcon.width, 0.265f);
  EXPECT_FLOAT_EQ(withIcon.leftMargin, 0.0f);
  EXPECT_NEAR(withIcon.height, 0.136f, 1e-6);
}

TEST(MessageLayout, AWideTextTakesTwoLinesInALabelHalfItsWidth) {
  const gfx::AppVideo screen{1024, 768};
  const auto font = DialogFont(screen);
  if (!font) GTEST_SKIP() << "no font";
  // Words of one length, so that half the text's width holds half its words.
  std::string text;
  while (static_cast<float>(font->textWidth(text + "Pell ")) / 1024.0f < 0.5f) text += "Pell ";
  text += "Pell";
  const float w = static_cast<float>(font->textWidth(text)) / 1024.0f;
  const auto l = dialogs::LayOutMessage(text, false, font.get(), screen);
  EXPECT_NEAR(l.labelWidth, w * 0.5f + 0.02f, 0.011f);  // at most one widening step more
  EXPECT_FLOAT_EQ(l.labelHeight, 0.036f);
  EXPECT_NEAR(l.width, l.labelWidth + 0.05f, 1e-6);
  EXPECT_NEAR(l.height, 0.136f, 1e-6);
}

// Every text of the game's notices and questions, at the sizes players use: the label takes
// every line the wrapped text needs, and the dialog stays on the screen.
TEST(MessageLayout, EveryNoticeOfTheGameFitsItsLabel) {
  const std::string_view texts[] = {
      sim::kTextNoPeople,
      sim::kTextNoWater,
      sim::kTextNoPower,
      sim::kTextWaterDisease,
      sim::kTextFoodPoisoning,
      sim::kTextVirus,
      sim::kTextPowerShortage,
      sim::kTextPeopleShortage,
      sim::kTextContactOn,
      sim::kTextContactLost,
      sim::kTextGameOver,
      "Are you really sure you want to exit?",
      "Sound Effects OFF",
      "Are you sure you want abandon the current game?",
      "File already exist. Do you want to replace it?",
      "The file /home/player/.local/share/redhollow/SAVES/a colony with a rather long name.sav "
      "does exist or cannot be read. Please check the file name and access privileges.",
      "MAX_CONTROLS reached"};
  for (const gfx::AppVideo screen : {gfx::AppVideo{1024, 768}, {1366, 768}, {3840, 2160}}) {
    const auto font = DialogFont(screen);
    if (!font) GTEST_SKIP() << "no font";
    for (const std::string_view text : texts) {
      const auto l = dialogs::LayOutMessage(text, true, font.get(), screen);
      const gfx::IntRect label =
          gfx::FracToPixels(gfx::FracRect::FromSize(0, 0, l.labelWidth, l.labelHeight), screen);
      const gfx::IntRect needed = gfx::CalcTextRect(
          label, text, gfx::DT_WORDBREAK | gfx::DT_CENTER | gfx::DT_NOPREFIX, font.get());
      const std::int32_t lines = needed.Height() / font->lineHeight();
      const std::int32_t room =
          std::max(static_cast<std::int32_t>(std::lround(l.labelHeight / 0.018f)), 1);
      EXPECT_LE(lines, room) << text << " at " << screen.width;
      EXPECT_LE(needed.Width(), label.Width()) << text;
      EXPECT_LE(l.width, 0.95f) << text;
      EXPECT_LE(l.height, 0.9f) << text;
    }
  }
}

TEST(MessageLayout, ATextTooLongForTwoLinesWidensItsLabelThenTakesMoreLines) {
  const gfx::AppVideo screen{1024, 768};
  const auto font = DialogFont(screen);
  if (!font) GTEST_SKIP() << "no font";
  std::string text;
  for (int i = 0; i < 200; ++i) text += "colony ";
  text += "Pneumonoultramicroscopicsilicovolcanoconiosis-and-more-of-the-same-word";
  const auto l = dialogs::LayOutMessage(text, false, font.get(), screen);
  EXPECT_GT(l.labelHeight, 0.036f);
  EXPECT_GT(l.height, 0.136f);
  const gfx::IntRect label =
      gfx::FracToPixels(gfx::FracRect::FromSize(0, 0, l.labelWidth, l.labelHeight), screen);
  const gfx::IntRect needed = gfx::CalcTextRect(
      label, text, gfx::DT_WORDBREAK | gfx::DT_CENTER | gfx::DT_NOPREFIX, font.get());
  EXPECT_LE(needed.Height(), label.Height());
  EXPECT_LE(needed.Width(), label.Width());  // the long word is broken, not cut
}

class MessageDialog : public DialogTest {};

TEST_F(MessageDialog, HotKeysAndEnterAnswer) {
  struct Case {
    int buttons;
    Step answer;
    int result;
  };
  const Case cases[] = {
      {dialogs::kButtonsOk, [](auto& p, auto&) { p.PressKey('O'); }, dialogs::kResultOk},
      {dialogs::kButtonsYesNo, [](auto& p, auto&) { p.PressKey('Y'); }, dialogs::kResultYes},
      {dialogs::kButtonsYesNo, [](auto& p, auto&) { p.PressKey('N', platform::kAltKey); },
       dialogs::kResultNo},
      {dialogs::kButtonsYesNo, [](auto& p, auto&) { p.PressKey(platform::vk::kReturn); },
       dialogs::kResultYes},
      {dialogs::kButtonsOkCancel, [](auto& p, auto&) { p.PressKey('C'); }, dialogs::kResultCancel},
      {dialogs::kButtonsOk, [](auto& p, auto&) { p.PressKey(platform::vk::kSpace); },
       dialogs::kResultOk},
  };
  for (const Case& c : cases) {
    script = {c.answer};
    EXPECT_EQ(dialogs::ShowMessageDialog(*window, "Pell Informs:", "A question", c.buttons, 0),
              c.result);
    EXPECT_FALSE(scriptRanOut);
  }
}

TEST_F(MessageDialog, AHeldEnterDoesNotAnswerAndTheDialogShowsItsTextAsGiven) {
  dialogs::TMessageDialog dialog(*window, "Warning", "Fish & Chips", dialogs::kButtonsYesNo,
                                 dialogs::kIconQuestion);
  EXPECT_EQ(dialog.label()->caption, "Fish && Chips");
  EXPECT_EQ(dialog.caption(), "Warning");
  ASSERT_NE(dialog.icon(), nullptr);
  EXPECT_EQ(dialog.icon()->pixelRect.Width(), dialog.icon()->pixelRect.Height());
  script = {[](auto& p, auto&) { p.PressKey(platform::vk::kReturn, platform::kAutoRepeat); },
            [&](auto& p, auto&) {
              EXPECT_EQ(dialog.ModalResult, 0);
              p.PressKey('N');
            }};
  EXPECT_EQ(dialog.ShowModal(), dialogs::kResultNo);
}

// The focus goes (another window, a key of the desktop) while a button is held, and its release
// is never seen: the held button lets go, the pointer reaches the other buttons again, and the
// release that comes late clicks nothing.
TEST_F(MessageDialog, FocusLostWhileAButtonIsHeldLeavesNothingPressed) {
  dialogs::TMessageDialog dialog(*window, "Exit", "Really?", dialogs::kButtonsYesNo,
                                 dialogs::kIconQuestion);
  dialogs::TSButton* yes = dialog.firstButton();
  dialogs::TSButton* no = dialog.secondButton();
  script = {[&](auto& p, auto& form) {
              const platform::Point at = CentreOf(form, yes->bounds);
              p.MoveMouse(at.x, at.y);
              p.PressButton(platform::MouseButton::Left, at.x, at.y);
              EXPECT_TRUE(yes->down);
              p.LoseFocus();
            },
            [&](auto& p, auto& form) {
              EXPECT_FALSE(yes->down);
              p.Activate();
              // The pointer's way to the other button: the first move lets go of the one it
              // left, the next reaches the new one.
              const platform::Point at = CentreOf(form, no->bounds);
              p.MoveMouse(at.x - 1, at.y);
              p.MoveMouse(at.x, at.y);
              EXPECT_TRUE(no->hot);
              EXPECT_FALSE(yes->hot);
              p.ReleaseButton(platform::MouseButton::Left, at.x, at.y);
              EXPECT_EQ(dialog.ModalResult, 0);
              p.PressKey('N');
            }};
  EXPECT_EQ(dialog.ShowModal(), dialogs::kResultNo);
}

}  // namespace
}  // namespace dialogs_test
