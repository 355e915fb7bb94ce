// Input routing of the main window: tooltips (timing, once per visit, placement, look),
// global keys over a shown screen, the restore handler, help, and a small screen with a
// button of each kind brought up by the screen state machine and driven by injected input.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_wnd.h"
#include "gfx/draw.h"
#include "gfx/png_file.h"
#include "platform/headless_platform.h"
#include "tests/support/golden.h"
#include "widgets/input_state.h"
#include "widgets/tw_menu_button.h"
#include "widgets/tw_procedure.h"
#include "widgets/tw_speed_button.h"
#include "widgets/tw_tool_button.h"

namespace app {
namespace {

using widgets::MakeChild;

class RecordingScreen : public widgets::TWProcedure {
 public:
  using TWProcedure::TWProcedure;
  void Command(widgets::TWControl*, std::int32_t code) override {
    commands.push_back(code);
    if (onCommand) onCommand(code);
  }
  void KeyDown(std::uint16_t key, platform::ShiftState) override { keys.push_back(key); }
  void Draw() override {
    if (host()->Target() != nullptr) gfx::FillSurface(*host()->Target(), gfx::Rgb(0, 0, 90));
  }
  std::vector<std::int32_t> commands;
  std::vector<std::uint16_t> keys;
  std::function<void(std::int32_t)> onCommand;
};

// Draws its rectangle in one colour, brighter while hovered.
class Plate final : public widgets::TWControl {
 public:
  explicit Plate(widgets::TWControl* parent) : TWControl(parent) {}
  void Draw() override { gfx::FillRect(*host()->Target(), pixelRect, hover ? 0x00C000 : 0x004000); }
};

class InputRoutingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<TMainWnd>(platform);
    screen = std::make_unique<RecordingScreen>(*window);
  }
  void TearDown() override {
    screen.reset();
    window.reset();
  }
  Plate* AddPlate(int x, int y, int w, int h, const std::string& hint) {
    Plate* plate = MakeChild<Plate>(screen.get());
    const float sw = 200, sh = 100;
    plate->Setup(gfx::FracRect::FromSize(x / sw, y / sh, w / sw, h / sh), nullptr, "", 2, 9);
    plate->hint = hint;
    return plate;
  }
  bool WindowMatchesBackBuffer(const gfx::IntRect& r) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (platform.window().at(x, y) != window->backBuffer->at(x, y)) return false;
    return true;
  }

  platform::HeadlessPlatform platform{{200, 100}};
  std::unique_ptr<TMainWnd> window;
  std::unique_ptr<RecordingScreen> screen;
};

TEST_F(InputRoutingTest, ATooltipAppearsOnTheThirteenthTickOfRestOncePerVisit) {
  AddPlate(10, 40, 40, 20, "Help <F4>");
  AddPlate(100, 40, 40, 20, "Other");
  platform.MoveMouse(190, 90);
  screen->Show();
  platform.MoveMouse(20, 50);
  platform.Tick(12);
  EXPECT_FALSE(window->tooltip.hintShown);
  EXPECT_EQ(window->tooltip.idleTime, 480u);
  platform.Tick();
  ASSERT_TRUE(window->tooltip.hintShown);
  EXPECT_EQ(screen->lastHinted, screen->hovered);
  const gfx::IntRect tip = window->tooltip.hintRect;
  EXPECT_EQ(tip.top, 32);
  EXPECT_EQ(tip.left, 20);
  EXPECT_EQ(tip.Height(), 18);
  ASSERT_TRUE(window->font);
  EXPECT_EQ(tip.Width(), window->font->textWidth("Help <F4>") + 8);
  EXPECT_FALSE(WindowMatchesBackBuffer(tip));  // drawn on the window only

  platform.MoveMouse(21, 50);  // hides it
  EXPECT_FALSE(window->tooltip.hintShown);
  EXPECT_TRUE(WindowMatchesBackBuffer(tip));
  platform.Tick(30);
  EXPECT_FALSE(window->tooltip.hintShown);  // shown once for this visit

  platform.MoveMouse(110, 50);
  platform.Tick(13);
  EXPECT_TRUE(window->tooltip.hintShown);
  platform.MoveMouse(20, 50);
  platform.Tick(13);
  EXPECT_TRUE(window->tooltip.hintShown);  // another tooltip came in between
}

TEST_F(InputRoutingTest, NoTooltipWhileModalOrWithoutAHint) {
  AddPlate(10, 40, 40, 20, "");
  AddPlate(100, 40, 40, 20, "Hint");
  platform.MoveMouse(190, 90);
  screen->Show();
  platform.MoveMouse(20, 50);
  platform.Tick(20);
  EXPECT_FALSE(window->tooltip.hintShown);
  platform.MoveMouse(110, 50);
  screen->modal = 1;
  platform.Tick(20);
  EXPECT_FALSE(window->tooltip.hintShown);
  screen->modal = 0;
  platform.Tick(13);
  EXPECT_TRUE(window->tooltip.hintShown);
  platform.PressKey(platform::vk::kA);  // a key hides it too
  EXPECT_FALSE(window->tooltip.hintShown);
}

TEST_F(InputRoutingTest, TheTooltipHasItsLook) {
  AddPlate(0, 0, 200, 100, "Quit <Esc>");
  screen->Show();
  platform.MoveMouse(50, 60);
  platform.Tick(13);
  ASSERT_TRUE(window->tooltip.hintShown);
  const gfx::IntRect r = window->tooltip.hintRect;
  const gfx::MemVideo& w = platform.window();
  for (int x = r.left; x < r.right; ++x) {
    // The fill covers the top border line up to the right one.
    EXPECT_EQ(w.at(x, r.top), x < r.right - 1 ? kHintFill : gfx::kBlack) << x;
    EXPECT_EQ(w.at(x, r.bottom - 1), gfx::kBlack) << x;
  }
  for (int y = r.top; y < r.bottom - 1; ++y) {
    EXPECT_EQ(w.at(r.left, y), kHintFill) << y;
    EXPECT_EQ(w.at(r.right - 1, y), gfx::kBlack) << y;
  }
  int ink = 0;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    for (int x = r.left + 1; x < r.right - 1; ++x) ink += w.at(x, y) != kHintFill;
  EXPECT_GT(ink, 20);
  gfx::WritePng(w, testing_support::TestOutputPath("tooltip_window.png"));  // to look at
}

TEST_F(InputRoutingTest, TooltipsStayInsideTheWindowAndNeverAboveRowZero) {
  AddPlate(0, 0, 200, 100, "A rather long hint text");
  screen->Show();
  const int width = window->font->textWidth("A rather long hint text") + 8;
  platform.MoveMouse(195, 5);
  platform.Tick(13);
  EXPECT_EQ(window->tooltip.hintRect, gfx::IntRect::FromSize(200 - width, 0, width, 18));
  platform.MoveMouse(5, 99);
  screen->lastHinted = nullptr;
  platform.Tick(13);
  EXPECT_EQ(window->tooltip.hintRect, gfx::IntRect::FromSize(5, 81, width, 18));
}

TEST_F(InputRoutingTest, AfterARestoreTheWidgetUnderThePointerIsHovered) {
  Plate* plate = AddPlate(10, 10, 40, 40, "");
  platform.MoveMouse(190, 90);
  screen->Show();
  window->Minimise();
  platform.MoveMouse(20, 20);
  // While minimised the window saw nothing of this; its widgets still show the old state.
  plate->hover = 0;
  screen->hovered = nullptr;
  window->SetCursor(platform::kCursorDefault);
  platform.Restore();
  EXPECT_FALSE(window->minimised);
  EXPECT_EQ(plate->hover, 1);
  EXPECT_EQ(screen->hovered, plate);
  EXPECT_EQ(platform.currentCursor, platform::kCursorHand);
  EXPECT_EQ(platform.window().at(20, 20), 0x00C000u);
}

TEST_F(InputRoutingTest, HelpOpensTheStartDirectorysHelpFileAsAFileUrl) {
  window->startDir = "/games/red hollow";
  window->ShowHelp();
  ASSERT_EQ(platform.openedUrls.size(), 1u);
  EXPECT_EQ(platform.openedUrls[0], "file:///games/red%20hollow/Pell.html");
  platform.urlOpenerWorks = false;
  window->ShowHelp();  // a missing browser changes nothing
  EXPECT_EQ(platform.openedUrls.size(), 2u);
  EXPECT_EQ(FileUrl("/a/ü#?%"), "file:///a/%C3%BC%23%3F%25");
}

// A small screen with a button of each kind, driven by injected input and the virtual clock.
TEST_F(InputRoutingTest, ASmallScreenWithEveryButtonKindDrivenByInjectedInput) {
  auto picture = [](int w, int h, gfx::ImageLayout layout, int fw, int fh) {
    auto bitmap = std::make_unique<gfx::WBitmap>();
    auto surface = std::make_unique<gfx::MemVideo>(w, h);
    gfx::FillSurface(*surface, 0x808080);
    gfx::SetImage(*bitmap, std::move(surface), layout, fw, fh, true);
    return bitmap;
  };
  auto face = picture(20, 60, gfx::LayoutColumn, 20, 20);
  auto icons = picture(30, 30, gfx::LayoutGrid, 10, 10);
  auto cells = picture(40, 60, gfx::LayoutGrid, 20, 20);

  RecordingScreen* menu = screen.get();
  const auto box = [](int x, int y) {
    return gfx::FracRect::FromSize(x / 200.f, y / 100.f, 0.1f, 0.2f);
  };
  auto* tool = MakeChild<widgets::TWToolButton>(menu);
  tool->Setup(box(0, 0), &icons, "", platform::kCursorHand, 13);
  tool->faceSlot = &face;
  tool->hint = "New Game <F1>";
  auto* speed = MakeChild<widgets::TWSpeedButton>(menu);
  speed->Setup(box(40, 0), &face, "", platform::kCursorHand, 30);
  speed->SetToggleMode(1, 0, 0);
  widgets::TWMenuButton* palette[2] = {};
  for (int i = 0; i < 2; ++i) {
    palette[i] = MakeChild<widgets::TWMenuButton>(menu);
    palette[i]->Setup(box(80 + 40 * i, 0), &cells, "", platform::kCursorHand, 110 + i);
    palette[i]->SetToggleMode(1, 5, i == 0 ? 1 : 0);
    palette[i]->cellIndex = i;
  }

  menu->Show();
  EXPECT_EQ(widgets::activeProcedure, menu);
  EXPECT_EQ(platform.window().at(199, 99), gfx::Rgb(0, 0, 90));  // the whole screen was shown

  platform.Click(130, 10);  // the second palette cell takes over its group
  EXPECT_EQ(palette[1]->down, 1);
  EXPECT_EQ(palette[0]->down, 0);
  platform.Click(50, 10);
  platform.Click(50, 10);
  EXPECT_EQ(speed->down, 0);
  EXPECT_EQ(menu->commands, (std::vector<std::int32_t>{111, 30, 30}));

  platform.MoveMouse(10, 10);
  EXPECT_EQ(platform.currentCursor, platform::kCursorHand);
  platform.Tick(13);
  EXPECT_TRUE(window->tooltip.hintShown);
  platform.Click(10, 10);
  EXPECT_FALSE(window->tooltip.hintShown);
  EXPECT_EQ(menu->commands.back(), 13);
}

}  // namespace
}  // namespace app
