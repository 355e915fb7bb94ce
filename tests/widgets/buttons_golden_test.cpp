// Each button kind in each of its states, drawn with the pictures of the game's archives
// (built into the build folder) over the tool panel's background, against golden images.
// The buttons are drawn at their pictures' own size, so the smoothed stretches copy exactly;
// the tolerance of 2 per channel only absorbs rounding, and any changed art shows up.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/fake_widget_host.h"
#include "tests/support/golden.h"
#include "widgets/tw_menu_button.h"
#include "widgets/tw_panel.h"
#include "widgets/tw_procedure.h"
#include "widgets/tw_speed_button.h"
#include "widgets/tw_tool_button.h"

namespace widgets_test {
namespace {

constexpr int kTolerance = 2;

// The reference build's archives, which the golden images were drawn from.
std::string GameArchive() {
  return (std::filesystem::path(REDHOLLOW_GOLDEN_RESOURCE_DIR) / "res02.dat").string();
}

class BackgroundPanel final : public widgets::TWPanel {
 public:
  explicit BackgroundPanel(widgets::TWControl* parent) : TWPanel(parent) {}
  void Draw() override { DrawBackground(); }
};

struct State {
  std::uint8_t hover, pressed, down, enabled;
};
constexpr State kNormal{0, 0, 0, 1}, kHovered{1, 0, 0, 1}, kPressed{1, 1, 0, 1}, kDown{0, 0, 1, 1},
    kDisabled{0, 0, 0, 0};

class ButtonGoldenTest : public ::testing::Test {
 protected:
  // A screen of `count` buttons of w x h side by side with 8 pixels around each.
  void Open(int count, int w, int h) {
    width_ = count * (w + 8) + 8;
    height_ = h + 16;
    host = std::make_unique<testing_support::FakeWidgetHost>(gfx::AppVideo{width_, height_});
    screen = std::make_unique<widgets::TWProcedure>(*host);
    panel = widgets::MakeChild<BackgroundPanel>(screen.get());
    panel->SetRect({0, 0, 1, 1});
    ASSERT_TRUE(std::filesystem::exists(GameArchive()))
        << GameArchive() << " is missing: the default build paints it";
    Load(background, "PTBIBkgnd", gfx::LayoutWhole, 0, 0, false);
    panel->background = background.get();
  }
  void Load(std::unique_ptr<gfx::WBitmap>& slot, const char* entry, gfx::ImageLayout layout, int fw,
            int fh, bool transparent) {
    slot = std::make_unique<gfx::WBitmap>();
    ASSERT_TRUE(gfx::LoadImage(*slot, GameArchive(), entry, layout, fw, fh, transparent)) << entry;
  }
  template <typename Button>
  Button* Place(int i, int w, int h, widgets::PictureSlot picture, const State& s) {
    auto* button = widgets::MakeChild<Button>(panel);
    button->Setup(
        gfx::FracRect::FromSize(static_cast<float>(8 + i * (w + 8)) / width_, 8.0f / height_,
                                static_cast<float>(w) / width_, static_cast<float>(h) / height_),
        picture, "", platform::kCursorHand, 1);
    button->hover = s.hover;
    button->pressed = s.pressed;
    button->down = s.down;
    button->enabled = s.enabled;
    return button;
  }

  int width_ = 0, height_ = 0;
  std::unique_ptr<testing_support::FakeWidgetHost> host;
  std::unique_ptr<widgets::TWProcedure> screen;
  BackgroundPanel* panel = nullptr;
  std::unique_ptr<gfx::WBitmap> background, face, icons, picture;
};

TEST_F(ButtonGoldenTest, ToolButtons) {
  Open(5, 64, 64);
  Load(face, "TBButtonB", gfx::LayoutColumn, 64, 64, true);
  Load(icons, "TBButtonI", gfx::LayoutGrid, 40, 40, true);
  int i = 0;
  for (const State& s : {kNormal, kHovered, kPressed, kDown, kDisabled}) {
    auto* button = Place<widgets::TWToolButton>(i, 64, 64, &icons, s);
    button->faceSlot = &face;
    button->iconIndex = i;  // new game, load, save, help, pause
    ++i;
  }
  panel->Redraw();
  EXPECT_TRUE(testing_support::MatchesGolden(*host->target, "tool_button_states", kTolerance));
}

TEST_F(ButtonGoldenTest, SpeedButtons) {
  Open(4, 64, 64);
  Load(picture, "SBDeleteSt", gfx::LayoutColumn, 64, 64, true);
  int i = 0;
  for (const State& s : {kNormal, kHovered, kPressed, kDown})
    Place<widgets::TWSpeedButton>(i++, 64, 64, &picture, s);
  panel->Redraw();
  EXPECT_TRUE(testing_support::MatchesGolden(*host->target, "speed_button_states", kTolerance));
}

TEST_F(ButtonGoldenTest, MenuButtons) {
  Open(4, 96, 70);
  Load(picture, "StType4", gfx::LayoutGrid, 96, 70, false);
  int i = 0;
  for (const State& s : {kNormal, kHovered, kDown, kDisabled}) {
    Place<widgets::TWMenuButton>(i, 96, 70, &picture, s)->cellIndex = i;
    ++i;
  }
  panel->Redraw();
  EXPECT_TRUE(testing_support::MatchesGolden(*host->target, "menu_button_states", kTolerance));
}

}  // namespace
}  // namespace widgets_test
