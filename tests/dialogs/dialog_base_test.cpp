// The dialog base and its scaled controls, played through the main window's modal loop: a
// fresh surface at each showing, hot keys (and none in the name field, none from a held key),
// pressing and dragging, codes that end the dialog or go to its Command, Esc and the close box,
// a release whose press began elsewhere, and the focus moving with Tab.
#include <gtest/gtest.h>

#include "dialogs/edit_controls.h"
#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"
#include "tests/dialogs/dialog_fixture.h"

namespace dialogs_test {
namespace {

using platform::MouseButton;

class ProbeDialog final : public dialogs::TModalDialog {
 public:
  explicit ProbeDialog(dialogs::FormHost& host) : TModalDialog(host) {
    background = host.Pictures().dlgBackground.get();
    SetArea(gfx::FracRect::FromSize(0.3f, 0.3f, 0.4f, 0.3f));
    SetCaption("Probe");
    apply = Button(0.02f, "&Apply", 10);
    alpha = Button(0.12f, "&alpha", 11);
    close = Button(0.22f, "Close", dialogs::kModalCancel);
    edit = std::make_unique<dialogs::TEdit>(*this);
    edit->bounds =
        gfx::FracToPixels(gfx::FracRect::FromSize(0.02f, 0.05f, 0.2f, 0.03f), host.ScreenSize());
    edit->font = font();
  }
  std::string_view BaseClassName() const override { return "TModalDialog"; }
  void DrawContents() override {
    ++showings;
    surfaces.push_back(surface.get());
  }
  void Command(std::int32_t code) override { commands.push_back(code); }

  std::unique_ptr<dialogs::TSButton> Button(float left, std::string_view caption,
                                            std::int32_t code) {
    auto button = std::make_unique<dialogs::TSButton>(*this);
    button->cursor = platform::kCursorHand;
    button->Setup(gfx::FracRect::FromSize(left, 0.2f, 0.08f, 0.04f), &host().Pictures().dlgButtons,
                  0, code, caption);
    return button;
  }

  std::unique_ptr<dialogs::TSButton> apply, alpha, close;
  std::unique_ptr<dialogs::TEdit> edit;
  int showings = 0;
  std::vector<const gfx::MemVideo*> surfaces;
  std::vector<std::int32_t> commands;
};

class DialogBase : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dialog = std::make_unique<ProbeDialog>(*window);
  }
  void TearDown() override {
    dialog.reset();
    DialogTest::TearDown();
  }
  platform::Point At(const dialogs::FormControl& control) {
    return CentreOf(*dialog, control.bounds);
  }

  std::unique_ptr<ProbeDialog> dialog;
};

TEST_F(DialogBase, EachShowingDrawsAfreshOnANewSurfaceThatTheControlsFindThroughTheirSlot) {
  script = {[&](auto& p, auto&) {
              EXPECT_EQ(dialog->apply->Target(), dialog->surface.get());
              p.PressKey('C');  // "Close" has no hot key: nothing happens
            },
            [&](auto&, auto&) { EXPECT_EQ(dialog->ModalResult, 0); },
            [&](auto& p, auto&) { p.Click(At(*dialog->close).x, At(*dialog->close).y); }};
  EXPECT_EQ(dialog->ShowModal(), dialogs::kModalCancel);
  EXPECT_EQ(dialog->surface, nullptr);  // closing let go of it
  EXPECT_EQ(dialog->apply->Target(), nullptr);

  script = {[&](auto&, auto&) { EXPECT_EQ(dialog->apply->Target(), dialog->surface.get()); }};
  EXPECT_EQ(dialog->ShowModal(), dialogs::kModalCancel);  // the script ends with the close box
  EXPECT_EQ(dialog->showings, 2);
  EXPECT_NE(dialog->surfaces[1], nullptr);
  EXPECT_EQ(window->topForm(), nullptr);
}

TEST_F(DialogBase, AHotKeyPressesEveryButtonWithItButNotInTheNameFieldNorWhenHeld) {
  EXPECT_EQ(dialog->apply->hotKey, 'A');
  EXPECT_EQ(dialog->alpha->hotKey, 'A');  // a small letter gives its key
  EXPECT_EQ(dialog->close->hotKey, 0);
  script = {[&](auto& p, auto&) { p.PressKey('A', platform::kAltKey); },
            [&](auto& p, auto&) {
              EXPECT_EQ(dialog->commands, (std::vector<std::int32_t>{10, 11}));
              p.PressKey('A', platform::kAutoRepeat);  // held: the keyboard repeats it
            },
            [&](auto& p, auto&) {
              EXPECT_EQ(dialog->commands.size(), 2u);
              p.Click(At(*dialog->edit).x, At(*dialog->edit).y);
              p.PressKey('A');
              p.TypeText("a&b");
            },
            [&](auto& p, auto&) {
              EXPECT_EQ(dialog->commands.size(), 2u);
              EXPECT_EQ(dialog->edit->Text(), "a&b");
              p.RequestClose();
            }};
  dialog->ShowModal();
}

TEST_F(DialogBase, ACaptionWithoutAmpersandOrEndingInOneHasNoHotKey) {
  dialogs::TSButton button(*dialog);
  button.Setup({0, 0, 0.1f, 0.1f}, nullptr, 0, 10, "End&");
  EXPECT_EQ(button.hotKey, 0);
  button.hotKey = 'X';
  button.caption = "Plain";
  button.ReadHotKey();
  EXPECT_EQ(button.hotKey, 'X');  // without "&" it keeps what it had
  button.caption = "&9 lives";
  button.ReadHotKey();
  EXPECT_EQ(button.hotKey, '9');
}

TEST_F(DialogBase, PressingAndDraggingOffAndBackShowsTheFramesAndClicksOnlyOverTheButton) {
  std::vector<std::int32_t> frames;
  const auto frame = [&] { frames.push_back(dialog->apply->Frame()); };
  script = {[&](auto& p, auto&) {
              const platform::Point b = At(*dialog->apply);
              p.MoveMouse(b.x, b.y);
              frame();
              p.PressButton(MouseButton::Left, b.x, b.y);
              frame();
              p.MoveMouse(b.x + 300, b.y, platform::kLeftButton);
              frame();
              p.MoveMouse(b.x + 1, b.y, platform::kLeftButton);
              frame();
              p.ReleaseButton(MouseButton::Left, b.x + 1, b.y);
            },
            [&](auto& p, auto&) {
              EXPECT_EQ(dialog->commands, (std::vector<std::int32_t>{10}));
              // Pressed on the button and released off it: no click.
              const platform::Point b = At(*dialog->apply);
              p.PressButton(MouseButton::Left, b.x, b.y);
              p.MoveMouse(b.x + 300, b.y, platform::kLeftButton);
              p.ReleaseButton(MouseButton::Left, b.x + 300, b.y);
              EXPECT_EQ(dialog->commands.size(), 1u);
              // A release whose press began before the dialog (or elsewhere): no click.
              p.MoveMouse(b.x, b.y);
              p.ReleaseButton(MouseButton::Left, b.x, b.y);
              EXPECT_EQ(dialog->commands.size(), 1u);
              p.Click(At(*dialog->close).x, At(*dialog->close).y);
            }};
  EXPECT_EQ(dialog->ShowModal(), dialogs::kModalCancel);
  EXPECT_FALSE(scriptRanOut);
  EXPECT_EQ(frames, (std::vector<std::int32_t>{1, 2, 0, 2}));
}

TEST_F(DialogBase, EscapeDoesNothingAndTheCloseBoxEndsWithTwo) {
  script = {[&](auto& p, auto&) { p.PressKey(platform::vk::kEscape); },
            [&](auto& p, auto& form) {
              EXPECT_EQ(dialog->ModalResult, 0);
              // The close box sits at the right end of the caption bar.
              const gfx::IntRect window = form.WindowBounds();
              p.Click(window.right - 12, window.top + form.ClientOrigin().y / 2 + 1);
            }};
  EXPECT_EQ(dialog->ShowModal(), dialogs::kModalCancel);
  EXPECT_FALSE(scriptRanOut);
  EXPECT_TRUE(dialog->commands.empty());
}

TEST_F(DialogBase, TheFirstTabStopHasTheFocusAndEnterClicksItOnceNotWhileHeld) {
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(dialog->ActiveControl(), dialog->apply.get());
    p.PressKey(platform::vk::kReturn, platform::kAutoRepeat);
    EXPECT_TRUE(dialog->commands.empty());
    p.PressKey(platform::vk::kReturn);
    EXPECT_EQ(dialog->commands, (std::vector<std::int32_t>{10}));
    p.PressKey(platform::vk::kTab);
    EXPECT_EQ(dialog->ActiveControl(), dialog->alpha.get());
    p.PressKey(platform::vk::kTab, platform::kShiftKey);
    EXPECT_EQ(dialog->ActiveControl(), dialog->apply.get());
    p.PressKey(platform::vk::kTab);
    p.PressKey(platform::vk::kTab);
    p.PressKey(platform::vk::kSpace);  // "Close" has the focus now
  }};
  EXPECT_EQ(dialog->ShowModal(), dialogs::kModalCancel);
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(DialogBase, TheNameFieldEditsAroundItsCaret) {
  script = {[&](auto& p, auto&) {
    p.Click(At(*dialog->edit).x, At(*dialog->edit).y);
    p.TypeText("colny");
    p.PressKey(platform::vk::kLeft);
    p.PressKey(platform::vk::kLeft);
    p.TypeText("o");
    EXPECT_EQ(dialog->edit->Text(), "colony");
    p.PressKey(platform::vk::kHome);
    p.PressKey(platform::vk::kDelete);
    p.TypeText("C\x01");  // a control character is left out
    p.PressKey(platform::vk::kEnd);
    p.PressKey(platform::vk::kBack);
    p.TypeText("ies \xC3\xA9");
    EXPECT_EQ(dialog->edit->Text(), "Colonies \xC3\xA9");
    EXPECT_EQ(dialog->edit->CaretPosition(), 10u);
    p.RequestClose();
  }};
  dialog->ShowModal();
}

}  // namespace
}  // namespace dialogs_test
