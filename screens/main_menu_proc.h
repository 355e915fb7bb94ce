// The title screen: the landscape of Pell with five large text buttons in an arc. "New Game"
// starts a colony on the game screen and leaves the menu for good, as does a game loaded with
// "Load Game"; "Help" opens the manual, "Credits" the credits, "Options" the options; "Quit"
// ends at once, Esc asks first.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "dialogs/about_dialog.h"
#include "gfx/font.h"
#include "gfx/wbitmap.h"
#include "screens/shell.h"
#include "widgets/tw_control.h"
#include "widgets/tw_procedure.h"

namespace screens {

class GameProc;

// A caption over frame 0 or 1 (hovered) of the menu's button picture, drawn three times: a
// shadow, a second shadow three pixels further, and the face between them.
class TWMMButton final : public widgets::TWControl {
 public:
  explicit TWMMButton(widgets::TWControl* parent) : TWControl(parent) {}
  void Draw() override;

  widgets::PictureSlot pictureSlot = nullptr;
};

// The caption colours of a menu button: normal and hovered.
inline constexpr gfx::Color kMenuFace = gfx::Rgb(64, 140, 255);
inline constexpr gfx::Color kMenuShadow = gfx::Rgb(0, 64, 160);
inline constexpr gfx::Color kMenuFaceHovered = gfx::Rgb(141, 187, 255);
inline constexpr gfx::Color kMenuShadowHovered = gfx::Rgb(0, 96, 240);

enum MenuCommand : std::int32_t {
  kMenuNewGame = 13,
  kMenuLoadGame = 14,
  kMenuHelp = 18,
  kMenuCredits = 19,
  kMenuQuit = 21,
  kMenuOptions = 22,
};

struct MenuButtonRow {
  std::string_view caption;
  gfx::FracRect rect;  // (left, top, width, height) of the screen
  std::int32_t command;
};
inline constexpr std::array<MenuButtonRow, 5> kMenuButtons = {{
    {"New Game", gfx::FracRect::FromSize(0.14f, 0.40f, 0.16f, 0.15f), kMenuNewGame},
    {"Load Game", gfx::FracRect::FromSize(0.32f, 0.30f, 0.16f, 0.15f), kMenuLoadGame},
    {"Help", gfx::FracRect::FromSize(0.52f, 0.30f, 0.16f, 0.15f), kMenuHelp},
    {"Credits", gfx::FracRect::FromSize(0.70f, 0.40f, 0.16f, 0.15f), kMenuCredits},
    {"Quit", gfx::FracRect::FromSize(0.42f, 0.60f, 0.16f, 0.15f), kMenuQuit},
}};
// "Options" joins the five in their look, in the middle of their arc above "Quit": the room
// left there takes it whole, so none of the five moves or is drawn over.
inline constexpr std::string_view kOptionsHint = "Options <F9>";
inline constexpr MenuButtonRow kOptionsButton = {
    "Options", gfx::FracRect::FromSize(0.42f, 0.45f, 0.16f, 0.15f), kMenuOptions};

class MainMenuProc final : public widgets::TWProcedure {
 public:
  MainMenuProc(widgets::WidgetHost& host, Shell& shell, GameProc& game);
  ~MainMenuProc() override;

  void Draw() override;
  void KeyDown(std::uint16_t key, platform::ShiftState shift) override;
  void Command(widgets::TWControl* widget, std::int32_t code) override;
  void LoadResources() override;
  void ReleaseResources() override;
  void Relayout() override;

  std::unique_ptr<gfx::WBitmap> buttonPicture;
  std::array<TWMMButton*, 5> buttons{};
  TWMMButton* optionsButton = nullptr;
  std::unique_ptr<dialogs::TAboutDlg> creditsDialog;

 private:
  Shell& shell_;
  GameProc& game_;
  std::unique_ptr<gfx::WBitmap> backgroundPicture_;
  std::unique_ptr<gfx::Font> menuFont_;
};

}  // namespace screens
