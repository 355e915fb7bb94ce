#include "screens/main_menu_proc.h"

#include <string>

#include "gfx/archive.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/game_proc.h"

namespace screens {

namespace {

// The menu's caption font, in thousandths of the screen.
constexpr std::string_view kMenuFontFace = "Comic sans ms";
constexpr int kMenuFontWeight = 700;
constexpr float kMenuFontHeight = 72.0f;
constexpr float kMenuFontWidth = 10.0f;
// How far the caption stands above the middle of its plate, in screen heights.
constexpr float kCaptionLift = 0.008f;

constexpr std::uint32_t kCaptionFormat = gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE;

}  // namespace

void TWMMButton::Draw() {
  const gfx::WBitmap* plate = widgets::PictureIn(pictureSlot);
  if (plate == nullptr || parent == nullptr || host() == nullptr) return;
  gfx::MemVideo* target = host()->Target();
  gfx::MemVideo* scratch = host()->Scratch();
  if (target == nullptr || scratch == nullptr) return;
  const widgets::TWPanel* panel = parentPanel();
  gfx::DrawSkinnedPanel(*target, pixelRect, rect, *plate, *scratch,
                        panel != nullptr ? panel->background : nullptr, parent->rect, hover);

  const gfx::AppVideo screen = host()->ScreenSize();
  gfx::IntRect text =
      pixelRect.Offset(0, -gfx::RoundHalfUp(static_cast<float>(screen.height) * kCaptionLift));
  if (pressed == 1) text = text.Offset(1, 1);
  const gfx::Color face = hover == 1 ? kMenuFaceHovered : kMenuFace;
  const gfx::Color shadow = hover == 1 ? kMenuShadowHovered : kMenuShadow;
  gfx::DrawTextInRect(*target, text, caption, kCaptionFormat, shadow, font);
  text = text.Offset(3, 3);
  gfx::DrawTextInRect(*target, text, caption, kCaptionFormat, shadow, font);
  text = text.Offset(-2, -2);
  gfx::DrawTextInRect(*target, text, caption, kCaptionFormat, face, font);
}

MainMenuProc::MainMenuProc(widgets::WidgetHost& host, Shell& shell, GameProc& game)
    : TWProcedure(host), shell_(shell), game_(game) {
  menuFont_ = gfx::MakeScaledFont(host.ScreenSize(), kMenuFontFace, kMenuFontWeight,
                                  kMenuFontHeight, kMenuFontWidth);
  if (menuFont_) font = menuFont_.get();
  const auto makeButton = [&](const MenuButtonRow& row) {
    auto* button = widgets::MakeChild<TWMMButton>(this);
    button->pictureSlot = &buttonPicture;
    button->clickSound = shell.ClickSound(1);
    button->Setup(row.rect, nullptr, std::string(row.caption), platform::kCursorHand, row.command);
    return button;
  };
  for (std::size_t i = 0; i < kMenuButtons.size(); ++i) buttons[i] = makeButton(kMenuButtons[i]);
  optionsButton = makeButton(kOptionsButton);
  // The design's five speak for themselves; the new one names its key, as the toolbar does.
  optionsButton->hint = std::string(kOptionsHint);
  creditsDialog = std::make_unique<dialogs::TAboutDlg>(shell.Forms());
}

void MainMenuProc::Relayout() {
  // The buttons point at the screen's font: they are pointed at the new one before the old
  // one goes, and a font that cannot be made at the new size leaves the old one in place.
  const gfx::Font* was = font;
  std::unique_ptr<gfx::Font> oldFont = std::move(menuFont_);
  menuFont_ = gfx::MakeScaledFont(host()->ScreenSize(), kMenuFontFace, kMenuFontWeight,
                                  kMenuFontHeight, kMenuFontWidth);
  if (!menuFont_) menuFont_ = std::move(oldFont);
  TWProcedure::Relayout();
  if (menuFont_) widgets::ReplaceFont(*this, was, menuFont_.get());
}

MainMenuProc::~MainMenuProc() {
  creditsDialog.reset();
  MainMenuProc::ReleaseResources();
}

void MainMenuProc::Draw() {
  gfx::MemVideo* target = host()->Target();
  if (background == nullptr || target == nullptr) return;
  gfx::StretchImage(*target, pixelRect, *background, {0, 0, background->width, background->height},
                    true);
}

void MainMenuProc::KeyDown(std::uint16_t key, platform::ShiftState /*shift*/) {
  if (key == platform::vk::kEscape) shell_.CloseMainWindow();
}

void MainMenuProc::Command(widgets::TWControl* /*widget*/, std::int32_t code) {
  switch (code) {
    case kMenuNewGame:
      game_.NewGame();
      shell_.RequestGameScreen();
      break;
    case kMenuLoadGame:
      // A file that cannot be loaded is reported by the game screen; the menu stays.
      if (const auto path = game_.ChooseSavedGame(dialogs::kFileModeLoad);
          path && game_.LoadGame(*path)) {
        shell_.RequestGameScreen();
      }
      break;
    case kMenuHelp:
      shell_.ShowHelp();
      break;
    case kMenuCredits:
      creditsDialog->ShowModal();
      break;
    case kMenuQuit:
      shell_.Terminate();
      break;
    case kMenuOptions:
      shell_.ShowOptions();
      break;
    default:
      break;
  }
}

void MainMenuProc::LoadResources() {
  backgroundPicture_ = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*backgroundPicture_, gfx::kDialogArchive, "MMBkgnd", gfx::LayoutWhole, 0, 0,
                 false);
  background = widgets::PictureIn(&backgroundPicture_);
  buttonPicture = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*buttonPicture, gfx::kDialogArchive, "MMButton", gfx::LayoutColumn, 256, 160,
                 true);
}

void MainMenuProc::ReleaseResources() {
  background = nullptr;
  backgroundPicture_.reset();
  buttonPicture.reset();
}

}  // namespace screens
