// The widget base driven through the main window's event handlers: hit testing with
// inclusive edges, hover, press and click, overlapping widgets, disabled widgets and panels,
// the full panel, showing and hiding, key presses by code, and the idle time of tooltips.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_wnd.h"
#include "platform/headless_platform.h"
#include "tests/support/dialog_answerer.h"
#include "tests/support/fake_widget_host.h"
#include "tests/widgets/widget_test_screen.h"
#include "widgets/input_state.h"
#include "widgets/tw_panel.h"

namespace widgets_test {
namespace {

using platform::MouseButton;
using widgets::MakeChild;

TEST(EvaluatePointer, AllFourEdgesBelongToTheWidget) {
  const gfx::IntRect r{10, 20, 30, 40};
  EXPECT_TRUE(widgets::EvaluatePointer(r, 10, 20, 0, false).hover);
  EXPECT_TRUE(widgets::EvaluatePointer(r, 30, 40, 0, false).hover);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 31, 40, 0, false).hover);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 30, 41, 0, false).hover);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 9, 25, 0, false).hover);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 15, 19, 0, false).hover);
}

TEST(EvaluatePointer, ReleasedOnlyWhenTheLeftButtonComesUpOverAPressedWidget) {
  const gfx::IntRect r{0, 0, 10, 10};
  const auto held = widgets::EvaluatePointer(r, 5, 5, platform::kLeftButton, false);
  EXPECT_TRUE(held.pressed);
  EXPECT_FALSE(held.released);
  EXPECT_TRUE(widgets::EvaluatePointer(r, 5, 5, 0, true).released);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 5, 5, 0, false).released);
  EXPECT_FALSE(widgets::EvaluatePointer(r, 5, 5, platform::kRightButton, false).pressed);
  const auto outside = widgets::EvaluatePointer(r, 50, 5, 0, true);
  EXPECT_FALSE(outside.released || outside.hover || outside.pressed);
}

// A 100 x 100 screen, so a hundredth of it is a pixel.
class WidgetBaseTest : public ScreenFixture<100> {
 protected:
  Probe* AddProbe(widgets::TWPanel* parent, const std::string& name, gfx::FracRect r,
                  std::int32_t command, std::int16_t cursor = platform::kCursorHand) {
    Probe* probe = MakeChild<Probe>(parent, name, &log);
    probe->Setup(r, nullptr, name, cursor, command);
    return probe;
  }
  void Press(int x, int y) { platform.PressButton(MouseButton::Left, x, y); }
  void Release(int x, int y) { platform.ReleaseButton(MouseButton::Left, x, y); }
};

TEST_F(WidgetBaseTest, RectanglesAreRelativeToTheParentAndRoundedHalfUp) {
  auto* panel = MakeChild<widgets::TWPanel>(screen.get());
  panel->SetRect(Box(20, 30, 50, 50));
  Probe* probe = AddProbe(panel, "a", Box(10.5f, 5, 10, 10), 1);
  EXPECT_EQ(panel->pixelRect, (gfx::IntRect{20, 30, 70, 80}));
  EXPECT_EQ(probe->pixelRect, (gfx::IntRect{31, 35, 41, 45}));
  EXPECT_EQ(probe->rect, Box(10.5f, 5, 10, 10));  // kept as given
  EXPECT_EQ(probe->font, screen->font);
  EXPECT_EQ(screen->pixelRect, (gfx::IntRect{0, 0, 100, 100}));
}

TEST_F(WidgetBaseTest, APointerOnTheRightOrBottomEdgeIsInside) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 1);
  screen->Show();
  platform.MoveMouse(30, 30);
  EXPECT_EQ(probe->hover, 1);
  EXPECT_EQ(screen->hovered, probe);
  platform.MoveMouse(31, 30);
  EXPECT_EQ(probe->hover, 0);
  EXPECT_EQ(screen->hovered, nullptr);
}

TEST_F(WidgetBaseTest, OverlappingWidgetsAreBothHoveredAndClickedAndTheLaterOneOwnsTheCursor) {
  Probe* first = AddProbe(screen.get(), "first", Box(10, 10, 30, 30), 1, platform::kCursorHand);
  Probe* second = AddProbe(screen.get(), "second", Box(20, 20, 30, 30), 2, platform::kCursorBuild);
  second->hint = "second";
  screen->Show();
  platform.MoveMouse(25, 25);
  EXPECT_EQ(first->hover, 1);
  EXPECT_EQ(second->hover, 1);
  EXPECT_EQ(screen->hovered, second);
  EXPECT_EQ(platform.currentCursor, platform::kCursorBuild);
  platform.Click(25, 25);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{1, 2}));
  platform.MoveMouse(15, 15);
  EXPECT_EQ(second->hover, 0);
  EXPECT_EQ(platform.currentCursor, platform::kCursorHand);
  platform.MoveMouse(80, 80);
  EXPECT_EQ(platform.currentCursor, platform::kCursorDefault);
}

TEST_F(WidgetBaseTest, OnlyAChangedHoverOrPressRedrawsAndPresentsTheWidget) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 1);
  screen->Show();
  log.clear();
  platform.MoveMouse(15, 15);
  platform.MoveMouse(16, 15);  // still hovered: nothing to draw
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].hover, 1);
  EXPECT_EQ(platform.presentedRects.back(), probe->pixelRect);
  Press(16, 15);
  Release(16, 15);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].pressed, 1);
  EXPECT_EQ(log[2].pressed, 0);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{1}));
}

TEST_F(WidgetBaseTest, PressingElsewhereAndReleasingOverAWidgetClicksIt) {
  AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  Press(60, 60);
  platform.MoveMouse(20, 20);  // the button is still held
  Release(20, 20);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{7}));
}

TEST_F(WidgetBaseTest, LeavingWithTheButtonHeldClicksOnlyIfThePointerComesBack) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  Press(20, 20);
  EXPECT_EQ(probe->pressed, 1);
  platform.MoveMouse(60, 60);
  EXPECT_EQ(probe->pressed, 0);
  Release(60, 60);
  EXPECT_TRUE(screen->commands.empty());

  Press(20, 20);
  platform.MoveMouse(60, 60);
  platform.MoveMouse(21, 21);
  EXPECT_EQ(probe->pressed, 1);
  Release(21, 21);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{7}));
  EXPECT_FALSE(widgets::clickPending);
}

TEST_F(WidgetBaseTest, AButtonUpWithoutTheWindowsClickClicksNothing) {
  AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  window->FormMouseMove(platform::kLeftButton, 20, 20);  // went down outside the window
  window->FormMouseUp(MouseButton::Left, 0, 20, 20);
  EXPECT_TRUE(screen->commands.empty());
}

TEST_F(WidgetBaseTest, RightAndMiddleButtonsNeverPressButTellTheScreenWhichWentDown) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  screen->buttonsSeen.clear();
  for (MouseButton button : {MouseButton::Right, MouseButton::Middle}) {
    platform.PressButton(button, 20, 20);
    EXPECT_EQ(probe->pressed, 0);
    platform.ReleaseButton(button, 20, 20);
  }
  EXPECT_TRUE(screen->commands.empty());
  EXPECT_EQ(screen->buttonsSeen, (std::vector<std::int32_t>{1, -1, 2, -1}));
  EXPECT_EQ(widgets::mouseButton, -1);
}

TEST_F(WidgetBaseTest, ADisabledWidgetKeepsItsStatesAndCannotBeClicked) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  platform.MoveMouse(20, 20);
  probe->enabled = 0;
  platform.MoveMouse(70, 70);
  EXPECT_EQ(probe->hover, 1);
  platform.Click(20, 20);
  EXPECT_EQ(probe->hover, 1);
  EXPECT_EQ(probe->pressed, 0);
  EXPECT_TRUE(screen->commands.empty());
}

TEST_F(WidgetBaseTest, ADisabledPanelHidesItsChildrenFromTheMouse) {
  auto* panel = MakeChild<widgets::TWPanel>(screen.get());
  panel->SetRect(Box(0, 0, 50, 50));
  Probe* inner = AddProbe(panel, "inner", Box(10, 10, 20, 20), 3);
  screen->Show();
  panel->enabled = 0;
  platform.Click(20, 20);
  EXPECT_EQ(inner->hover, 0);
  EXPECT_TRUE(screen->commands.empty());
  panel->Show();
  platform.Click(20, 20);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{3}));
}

TEST_F(WidgetBaseTest, TheThirtyThirdChildIsReportedOnceAndNeitherDrawnNorTested) {
  testing_support::DialogAnswerer answers(platform, *window);
  for (int i = 0; i < widgets::MAX_CONTROLS; ++i)
    AddProbe(screen.get(), "filler", Box(90, 90, 1, 1), 1);
  EXPECT_TRUE(answers.shown.empty());
  Probe* extra = AddProbe(screen.get(), "extra", Box(0, 0, 20, 20), 99);
  ASSERT_EQ(answers.shown.size(), 1u);
  EXPECT_EQ(answers.shown[0].title, "Warning!");
  EXPECT_EQ(answers.shown[0].text, "MAX_CONTROLS reached");
  EXPECT_EQ(screen->count, widgets::MAX_CONTROLS);
  screen->Show();
  for (const Drawn& d : log) EXPECT_NE(d.name, "extra");
  platform.Click(10, 10);
  EXPECT_EQ(extra->hover, 0);
  EXPECT_TRUE(screen->commands.empty());
}

TEST_F(WidgetBaseTest, DrawingFollowsTheOrderOfChildrenAndHiddenPanelsHideTheirSubtree) {
  auto* panel = MakeChild<widgets::TWPanel>(screen.get());
  AddProbe(screen.get(), "before", Box(0, 0, 10, 10), 1);
  AddProbe(panel, "inner", Box(0, 0, 10, 10), 1);
  AddProbe(screen.get(), "after", Box(0, 0, 10, 10), 1)->visible = 0;
  platform.MoveMouse(80, 80);  // away from them, so that only the screen's drawing counts
  screen->Show();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].name, "inner");  // the panel was added first
  EXPECT_EQ(log[1].name, "before");
  log.clear();
  panel->Hide();
  screen->Redraw();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].name, "before");
}

TEST_F(WidgetBaseTest, ARepeatedIdenticalMouseEventStillTestsButKeepsTheIdleTime) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  screen->Show();
  platform.MoveMouse(20, 20);
  window->tooltip.idleTime = 200;
  probe->hover = 0;  // a stale state the next test must correct
  platform.MoveMouse(20, 20);
  EXPECT_EQ(window->tooltip.idleTime, 200u);
  EXPECT_EQ(probe->hover, 1);
  platform.MoveMouse(20, 20, platform::kShiftKey);
  EXPECT_EQ(window->tooltip.idleTime, 0u);
  window->tooltip.idleTime = 200;
  platform.PressKey(platform::vk::kA);
  EXPECT_EQ(window->tooltip.idleTime, 0u);
  EXPECT_EQ(screen->keys, (std::vector<std::uint16_t>{platform::vk::kA}));
}

TEST_F(WidgetBaseTest, ShowingAScreenDeactivatesTheOtherAndHidingAWidgetForgetsItsHover) {
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 7);
  platform.MoveMouse(20, 20);
  screen->Show();  // the pointer is read at once
  EXPECT_EQ(widgets::activeProcedure, screen.get());
  EXPECT_EQ(screen->loads, 1);
  EXPECT_EQ(screen->hovered, probe);
  probe->Hide();
  EXPECT_EQ(screen->hovered, nullptr);
  EXPECT_EQ(probe->enabled, 0);

  auto other = std::make_unique<TestScreen>(*window);
  other->Show();
  EXPECT_EQ(widgets::activeProcedure, other.get());
  EXPECT_EQ(screen->releases, 1);
  EXPECT_EQ(screen->visible, 0);
  EXPECT_EQ(screen->enabled, 0);
  other.reset();  // an active screen that goes away is no longer the active one
  EXPECT_EQ(widgets::activeProcedure, nullptr);
}

TEST_F(WidgetBaseTest, PressByCodePresentsThePressedLookPlaysTheClickAndSendsTheCommand) {
  window->sounds.clickSound1 =
      std::make_unique<gfx::ByteBuffer>(gfx::ByteBuffer{'R', 'I', 'F', 'F'});
  Probe* probe = AddProbe(screen.get(), "a", Box(10, 10, 20, 20), 13);
  probe->clickSound = &window->sounds.clickSound1;
  screen->Show();
  log.clear();
  widgets::PressByCode(*probe, true);
  ASSERT_GE(log.size(), 1u);
  EXPECT_EQ(log[0].pressed, 1);
  EXPECT_EQ(probe->pressed, 0);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{13}));
  EXPECT_EQ(platform.audio.played.size(), 1u);
  widgets::PressByCode(*probe, false);
  EXPECT_EQ(platform.audio.played.size(), 1u);
  window->sounds.soundEffectsOn = 0;
  widgets::PressByCode(*probe, true);
  platform.Click(20, 20);
  EXPECT_EQ(platform.audio.played.size(), 1u);
  EXPECT_EQ(screen->commands.size(), 4u);
  window->sounds.soundEffectsOn = 1;
  platform.Click(20, 20);
  EXPECT_EQ(platform.audio.played.size(), 2u);
}

}  // namespace
}  // namespace widgets_test

namespace widgets_test {
namespace {

// A tree of widgets needs only its root's host: no main window, and rectangles in the root's
// own pixels, moved by every container between a widget and the root.
TEST(WidgetHost, WidgetsDrawPresentAndSoundThroughTheirRootsHostOnly) {
  testing_support::FakeWidgetHost host({200, 100});
  TestScreen screen(host);
  auto* outer = MakeChild<widgets::TWPanel>(&screen);
  outer->SetRect(gfx::FracRect::FromSize(0.5f, 0.5f, 0.5f, 0.5f));
  auto* inner = MakeChild<widgets::TWPanel>(outer);
  inner->SetRect(gfx::FracRect::FromSize(0.1f, 0.1f, 0.2f, 0.2f));
  std::vector<Drawn> log;
  auto* probe = MakeChild<Probe>(inner, "p", &log);
  const auto click = std::make_unique<gfx::ByteBuffer>(gfx::ByteBuffer{'R', 'I', 'F', 'F'});
  probe->clickSound = &click;
  probe->Setup(gfx::FracRect::FromSize(0.05f, 0.1f, 0.05f, 0.1f), nullptr, "", 2, 5);
  EXPECT_EQ(probe->pixelRect, (gfx::IntRect{130, 70, 140, 80}));
  EXPECT_EQ(probe->host(), &host);
  EXPECT_EQ(probe->rootProcedure(), &screen);

  screen.Show();
  EXPECT_EQ(host.presented.back(), (gfx::IntRect{0, 0, 200, 100}));
  widgets::PressByCode(*probe, true);
  EXPECT_EQ(host.presented.back(), probe->pixelRect);
  EXPECT_EQ(host.clicks.size(), 1u);
  EXPECT_EQ(screen.commands, (std::vector<std::int32_t>{5}));

  for (int i = 0; i < widgets::MAX_CONTROLS; ++i) MakeChild<Probe>(inner, "filler", nullptr);
  EXPECT_EQ(host.warnings, (std::vector<std::string>{"Warning!: MAX_CONTROLS reached"}));
}

}  // namespace
}  // namespace widgets_test
