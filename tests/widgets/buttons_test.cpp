// The button kinds: push buttons, free toggles and groups, and the look of the tool, speed
// and menu buttons in every state, checked pixel by pixel with small synthetic pictures.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/main_wnd.h"
#include "gfx/draw.h"
#include "platform/headless_platform.h"
#include "tests/widgets/widget_test_screen.h"
#include "widgets/tw_menu_button.h"
#include "widgets/tw_panel.h"
#include "widgets/tw_speed_button.h"
#include "widgets/tw_tool_button.h"

namespace widgets_test {
namespace {

using widgets::MakeChild;

class ButtonsTest : public ScreenFixture<80> {
 protected:
  Probe* AddToggle(widgets::TWPanel* parent, const std::string& name, float x, std::int32_t group,
                   std::uint8_t down, std::int32_t command) {
    Probe* probe = MakeChild<Probe>(parent, name, &log);
    probe->Setup(Box(x, 0, 8, 8), nullptr, name, 0, command);
    probe->SetToggleMode(1, group, down);
    return probe;
  }
  // The centre of a button, for clicking it.
  void ClickOn(const widgets::TWControl& w) {
    platform.Click((w.pixelRect.left + w.pixelRect.right) / 2,
                   (w.pixelRect.top + w.pixelRect.bottom) / 2);
  }
};

TEST_F(ButtonsTest, ClickingAGroupMemberPutsItDownAndReleasesTheOthers) {
  Probe* a = AddToggle(screen.get(), "a", 0, 1, 1, 100);
  Probe* b = AddToggle(screen.get(), "b", 20, 1, 0, 101);
  Probe* free = AddToggle(screen.get(), "free", 40, 0, 1, 102);
  platform.MoveMouse(70, 70);
  screen->Show();
  log.clear();
  platform.MoveMouse(24, 4);
  platform.PressButton(platform::MouseButton::Left, 24, 4);
  log.clear();
  platform.ReleaseButton(platform::MouseButton::Left, 24, 4);
  EXPECT_EQ(b->down, 1);
  EXPECT_EQ(a->down, 0);
  EXPECT_EQ(free->down, 1);  // not of the group
  // Only the member that went up is drawn: the held look already was the down look.
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].name, "a");
  EXPECT_EQ(log[0].down, 0);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{101}));
}

TEST_F(ButtonsTest, AMemberAlreadyDownStaysDownReleasesNothingAndStillSendsItsCommand) {
  Probe* a = AddToggle(screen.get(), "a", 0, 1, 1, 100);
  Probe* b = AddToggle(screen.get(), "b", 20, 1, 0, 101);
  platform.MoveMouse(70, 70);
  screen->Show();
  platform.MoveMouse(4, 4);
  log.clear();
  ClickOn(*a);
  EXPECT_EQ(a->down, 1);
  EXPECT_EQ(b->down, 0);
  for (const Drawn& d : log) EXPECT_NE(d.name, "b");
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{100}));
}

TEST_F(ButtonsTest, AFreeToggleClickedTwiceIsUpAndRedrawnAndSentBothTimes) {
  Probe* t = AddToggle(screen.get(), "t", 0, 0, 0, 55);
  platform.MoveMouse(70, 70);
  screen->Show();
  ClickOn(*t);
  EXPECT_EQ(t->down, 1);
  log.clear();
  ClickOn(*t);
  EXPECT_EQ(t->down, 0);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().down, 0);
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{55, 55}));
}

TEST_F(ButtonsTest, GroupsInDifferentPanelsDoNotInterfere) {
  auto* left = MakeChild<widgets::TWPanel>(screen.get());
  left->SetRect(Box(0, 0, 40, 40));
  auto* right = MakeChild<widgets::TWPanel>(screen.get());
  right->SetRect(Box(40, 0, 40, 40));
  AddToggle(left, "l", 0, 3, 1, 1);
  Probe* r1 = AddToggle(right, "r1", 0, 3, 1, 2);
  Probe* r2 = AddToggle(right, "r2", 20, 3, 0, 3);
  Probe* l = static_cast<Probe*>(left->child(0));
  platform.MoveMouse(70, 70);
  screen->Show();
  ClickOn(*r2);
  EXPECT_EQ(r2->down, 1);
  EXPECT_EQ(r1->down, 0);
  EXPECT_EQ(l->down, 1);
}

TEST_F(ButtonsTest, PressByCodeMovesAGroupToTheButtonAsAClickWould) {
  Probe* a = AddToggle(screen.get(), "a", 0, 2, 1, 100);
  Probe* b = AddToggle(screen.get(), "b", 20, 2, 0, 101);
  platform.MoveMouse(70, 70);
  screen->Show();
  widgets::PressByCode(*b, false);
  EXPECT_EQ(b->down, 1);
  EXPECT_EQ(a->down, 0);
  EXPECT_EQ(b->hover, 0);  // the pointer is elsewhere
  EXPECT_EQ(screen->commands, (std::vector<std::int32_t>{101}));
}

// Pixel tests: an 80 x 80 screen, a panel over its top-left 40 x 40 pixels with a background
// in which every pixel has its own colour, and 8 x 8 buttons drawn at their pictures' size.
gfx::Color BackgroundAt(int x, int y) {
  return gfx::Rgb(static_cast<std::uint8_t>(10 + x * 5), static_cast<std::uint8_t>(10 + y * 5), 77);
}
constexpr gfx::Color kFace[3] = {0x303030, 0x606060, 0x909090};
gfx::Color IconColor(int row, int column) {
  return gfx::Rgb(static_cast<std::uint8_t>(200 + row * 20),
                  static_cast<std::uint8_t>(column * 100), static_cast<std::uint8_t>(50));
}

std::unique_ptr<gfx::WBitmap> MakePicture(int width, int height,
                                          const std::function<gfx::Color(int, int)>& colour,
                                          gfx::ImageLayout layout, int fw, int fh,
                                          bool transparent) {
  auto surface = std::make_unique<gfx::MemVideo>(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) surface->set(x, y, colour(x, y));
  auto picture = std::make_unique<gfx::WBitmap>();
  gfx::SetImage(*picture, std::move(surface), layout, fw, fh, transparent);
  return picture;
}

class ButtonLooksTest : public ButtonsTest {
 protected:
  void SetUp() override {
    ButtonsTest::SetUp();
    background = MakePicture(40, 40, BackgroundAt, gfx::LayoutWhole, 0, 0, false);
    // Face frames in a column, each with a transparent top-left pixel.
    face = MakePicture(
        8, 24, [](int x, int y) { return x == 0 && y % 8 == 0 ? gfx::kBlack : kFace[y / 8]; },
        gfx::LayoutColumn, 8, 8, true);
    // Icons: 4 x 4 frames, 2 columns by 3 rows.
    icons = MakePicture(
        8, 12, [](int x, int y) { return IconColor(y / 4, x / 4); }, gfx::LayoutGrid, 4, 4, true);
    panel = MakeChild<widgets::TWPanel>(screen.get());
    panel->SetRect(Box(0, 0, 40, 40));
    panel->background = background.get();
    platform.MoveMouse(79, 79);
    screen->Show();
  }

  // Every pixel of the button's rectangle in the back buffer against the expected look.
  void ExpectPixels(const widgets::TWControl& button,
                    const std::function<gfx::Color(int, int)>& expected) {
    ASSERT_EQ(button.pixelRect.Width(), 8);
    ASSERT_EQ(button.pixelRect.Height(), 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(window->backBuffer->at(button.pixelRect.left + x, button.pixelRect.top + y),
                  expected(x, y))
            << "at (" << x << ", " << y << ")";
  }

  std::unique_ptr<gfx::WBitmap> background, face, icons;
  widgets::TWPanel* panel = nullptr;
};

TEST_F(ButtonLooksTest, ToolButtonInEveryState) {
  auto* button = MakeChild<widgets::TWToolButton>(panel);
  button->Setup(Box(8, 16, 8, 8), &icons, "", 0, 1);
  button->faceSlot = &face;
  button->iconIndex = 1;
  struct Case {
    const char* name;
    std::uint8_t hover, pressed, down, enabled;
    int faceFrame, iconRow;
  };
  const Case cases[] = {{"normal", 0, 0, 0, 1, 0, 0},
                        {"hovered", 1, 0, 0, 1, 0, 1},
                        {"pressed", 1, 1, 0, 1, 1, 1},
                        {"down", 0, 0, 1, 1, 1, 0},
                        {"disabled", 1, 1, 1, 0, 2, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button->hover = c.hover;
    button->pressed = c.pressed;
    button->down = c.down;
    button->enabled = c.enabled;
    const widgets::ToolButtonLook look = widgets::ToolButtonLookOf(*button);
    EXPECT_EQ(look.faceFrame, c.faceFrame);
    EXPECT_EQ(look.iconRow, c.iconRow);
    button->Draw();
    const int s = c.faceFrame == 1 ? 1 : 0;
    ExpectPixels(*button, [&](int x, int y) {
      if (x >= 2 + s && x < 6 + s && y >= 2 + s && y < 6 + s) return IconColor(c.iconRow, 1);
      if (x == 0 && y == 0) return BackgroundAt(8 + x, 16 + y);  // through the face's hole
      return kFace[c.faceFrame];
    });
  }
}

TEST_F(ButtonLooksTest, ToolButtonWithoutItsPicturesDrawsNothing) {
  auto* button = MakeChild<widgets::TWToolButton>(panel);
  button->Setup(Box(8, 16, 8, 8), &icons, "", 0, 1);
  std::unique_ptr<gfx::WBitmap> unloaded;
  button->faceSlot = &unloaded;
  gfx::FillSurface(*window->backBuffer, 0x123456);
  button->Draw();
  ExpectPixels(*button, [](int, int) { return gfx::Color{0x123456}; });
}

TEST_F(ButtonLooksTest, SpeedButtonInEveryStateOverTheParentsBackground) {
  auto* button = MakeChild<widgets::TWSpeedButton>(panel);
  button->Setup(Box(16, 8, 8, 8), &face, "", 0, 1);
  struct Case {
    std::uint8_t hover, pressed, down;
    int frame;
  };
  for (const Case& c : {Case{0, 0, 0, 0}, Case{1, 0, 0, 1}, Case{1, 1, 0, 2}, Case{0, 0, 1, 2}}) {
    SCOPED_TRACE(c.frame);
    button->hover = c.hover;
    button->pressed = c.pressed;
    button->down = c.down;
    EXPECT_EQ(button->frame(), c.frame);
    button->Draw();
    ExpectPixels(*button, [&](int x, int y) {
      return x == 0 && y == 0 ? BackgroundAt(16, 8) : kFace[c.frame];
    });
  }
}

TEST_F(ButtonLooksTest, MenuButtonCellsByStateAndIndex) {
  // Cells of 8 x 8 in a grid of 2 columns and 3 rows, column 1 with a transparent pixel.
  auto cells = MakePicture(
      16, 24,
      [](int x, int y) { return x == 8 && y % 8 == 0 ? gfx::kBlack : IconColor(y / 8, x / 8); },
      gfx::LayoutGrid, 8, 8, true);
  auto* button = MakeChild<widgets::TWMenuButton>(panel);
  button->Setup(Box(24, 24, 8, 8), &cells, "", 0, 1);
  button->cellIndex = 1;
  struct Case {
    std::uint8_t hover, pressed, down, enabled;
    int state;
  };
  for (const Case& c : {Case{0, 0, 0, 1, 0}, Case{1, 0, 0, 1, 1}, Case{0, 1, 0, 1, 1},
                        Case{0, 0, 1, 1, 1}, Case{1, 0, 1, 0, 2}}) {
    SCOPED_TRACE(c.state);
    button->hover = c.hover;
    button->pressed = c.pressed;
    button->down = c.down;
    button->enabled = c.enabled;
    EXPECT_EQ(button->state(), c.state);
    window->scratch->set(0, 0, 0xABCDEF);  // no background: the scratch shows through
    button->Draw();
    ExpectPixels(*button, [&](int x, int y) {
      return x == 0 && y == 0 ? gfx::Color{0xABCDEF} : IconColor(c.state, 1);
    });
  }
}

}  // namespace
}  // namespace widgets_test
