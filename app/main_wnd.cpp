#include "app/main_wnd.h"

#include <algorithm>

#include "dialogs/message_dialog.h"
#include "gfx/archive.h"
#include "gfx/draw.h"
#include "gfx/text.h"
#include "platform/cursors.h"
#include "widgets/input_state.h"

namespace app {

TMainWnd* MainWnd = nullptr;

std::string FileUrl(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                       (byte >= '0' && byte <= '9') || byte == '/' || byte == '-' || byte == '.' ||
                       byte == '_' || byte == '~';
    if (plain) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 15];
    }
  }
  return url;
}

TMainWnd::TMainWnd(platform::Platform& platform) : platform_(platform) {
  if (!platform_.OpenMainWindow("Redhollow", *this)) throw NoDisplayError();
  MainWnd = this;
  // The screen state, hint timing and sound switch start as the class declares them.
  const platform::OsVersion os = platform_.OperatingSystemVersion();
  osVersion = gfx::VersionNumber(os.major, os.minor);
  // The restore notification reaches ApplicationRestored through the window's events.
  widgets::mouseButton = widgets::kNoMouseButton;
  widgets::shiftState = 0;
  widgets::RefreshPointer();
  font = gfx::Font::Create(kWindowFontFace, gfx::kFontWeightNormal, kWindowFontPixels);
  startDir = platform_.CurrentDirectory();
  platform_.InstallCursor(platform::kCursorHand, platform::DrawHandCursor());
  platform_.InstallCursor(platform::kCursorBuild, platform::DrawBuildCursor());
  mediaPlayer = std::make_unique<gfx::MediaPlayer>(platform_.Audio());
  widgets::activeProcedure = nullptr;
  FormCreate();
}

void TMainWnd::FormCreate() {
  const gfx::AppVideo screen = platform_.ScreenSize();
  appVideo = std::make_unique<gfx::AppVideo>(screen);
  backBuffer = std::make_unique<gfx::MemVideo>(screen.width, screen.height);
  scratch = std::make_unique<gfx::MemVideo>(kScratchWidth, kScratchHeight);
  timerInterval = kFrameInterval;
  platform_.SetTimerInterval(timerInterval);
}

TMainWnd::~TMainWnd() {
  // Help windows are the desktop browser's own; there is nothing to close.
  appVideo.reset();
  mediaPlayer.reset();
  menuScreen.reset();
  gameScreen.reset();
  widgets::activeProcedure = nullptr;
  dlgBackground.reset();
  dlgButtons.reset();
  dlgIcons.reset();
  clickSound1.reset();
  clickSound2.reset();
  backBuffer.reset();
  scratch.reset();
  if (MainWnd == this) MainWnd = nullptr;
}

void TMainWnd::FormActivate() {
  if (activated) return;
  dlgBackground = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgBackground, kDialogArchive, "DlgBkgnd", gfx::LayoutWhole, 0, 0, false);
  dlgButtons = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgButtons, kDialogArchive, "DlgButton", gfx::LayoutColumn, 128, 48, true);
  dlgIcons = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgIcons, kDialogArchive, "DlgIcon", gfx::LayoutColumn, 64, 64, true);
  clickSound1 = std::make_unique<gfx::ByteBuffer>();
  gfx::ReadArchiveEntry(*clickSound1, kSoundArchive, "click1");
  clickSound2 = std::make_unique<gfx::ByteBuffer>();
  gfx::ReadArchiveEntry(*clickSound2, kSoundArchive, "click2");
  currentScreen = ScreenStarting;
  activated = true;
}

void TMainWnd::TimerTimer() {
  if (minimised) return;
  if (widgets::activeProcedure != nullptr && !hintShown) HintTimer();
  if (requestedScreen != 0 && static_cast<std::uint32_t>(requestedScreen) != currentScreen)
    SwitchScreens();
  switch (currentScreen) {
    case ScreenWaiting:
      break;
    case ScreenStarting:
      requestedScreen = ScreenMenu;
      break;
    default:
      if (widgets::activeProcedure != nullptr && widgets::activeProcedure->modal == 0)
        widgets::activeProcedure->Tick();
      break;
  }
}

void TMainWnd::SwitchScreens() {
  switch (requestedScreen) {
    case ScreenMenu:
      if (createMenuScreen) menuScreen = createMenuScreen();
      if (createGameScreen) gameScreen = createGameScreen();
      if (menuScreen) menuScreen->Show();
      break;
    case ScreenGame:
      menuScreen.reset();
      // The menu is gone, so there is nothing to deactivate.
      widgets::activeProcedure = nullptr;
      if (gameScreen) gameScreen->Show();
      break;
    default:
      break;
  }
  currentScreen = static_cast<std::uint32_t>(requestedScreen);
  requestedScreen = 0;
}

void TMainWnd::PresentRect(std::optional<gfx::IntRect> rect) {
  if (!backBuffer) return;
  const gfx::IntRect area = rect.value_or(backBuffer->bounds());
  platform_.Present(*backBuffer, area, area.left, area.top);
}

void TMainWnd::FormResize() {
  const gfx::AppVideo client = platform_.ClientSize();
  backBuffer = std::make_unique<gfx::MemVideo>(client.width, client.height);
  appVideo = std::make_unique<gfx::AppVideo>(platform_.ScreenSize());
}

void TMainWnd::FormPaint(const gfx::IntRect& clip) {
  PresentRect(clip);
}

bool TMainWnd::FormCloseQuery() {
  if (widgets::activeProcedure == nullptr) return true;
  return dialogs::ShowMessageDialog("Exit", "Are you really sure you want to exit?",
                                    dialogs::kButtonsYesNo, 0) == dialogs::kResultYes;
}

void TMainWnd::FormKeyDown(std::uint16_t key, platform::ShiftState shift) {
  if (key == platform::vk::kF8 || (key == platform::vk::kS && (shift & platform::kAltKey) != 0)) {
    soundEffectsOn = soundEffectsOn == 1 ? 0 : 1;
    dialogs::ShowMessageDialog("Options",
                               soundEffectsOn == 1 ? "Sound Effects ON" : "Sound Effects OFF",
                               dialogs::kButtonsOk, 1);
    return;
  }
  if (widgets::activeProcedure != nullptr) {
    widgets::KeyEvent(*widgets::activeProcedure, key, shift);
    return;
  }
  if (key == platform::vk::kEscape) platform_.Terminate();
}

void TMainWnd::FormMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) {
  if (widgets::activeProcedure != nullptr)
    widgets::MouseEvent(*widgets::activeProcedure, shift, x, y);
}

void TMainWnd::FormMouseDown(platform::MouseButton button, platform::ShiftState shift,
                             std::int32_t x, std::int32_t y) {
  widgets::mouseButton = static_cast<std::int32_t>(button);
  FormMouseMove(shift, x, y);
}

void TMainWnd::FormMouseUp(platform::MouseButton /*button*/, platform::ShiftState shift,
                           std::int32_t x, std::int32_t y) {
  FormMouseMove(shift, x, y);
}

void TMainWnd::FormClick() {
  widgets::clickPending = true;
}

void TMainWnd::ApplicationRestored() {
  minimised = false;
  if (widgets::activeProcedure == nullptr) return;
  widgets::RefreshPointer();
  widgets::ProcedureMouseUpdate(*widgets::activeProcedure);
}

void TMainWnd::SetCursor(std::int16_t cursorNumber) {
  if (cursor == cursorNumber) return;
  cursor = cursorNumber;
  platform_.SetCursor(cursorNumber);
}

void TMainWnd::HintTimer() {
  const widgets::TWProcedure* procedure = widgets::activeProcedure;
  if (procedure == nullptr || procedure->modal != 0 || procedure->hovered == nullptr ||
      procedure->hovered->hint.empty() || procedure->hovered == procedure->lastHinted)
    return;
  idleTime += timerInterval;
  if (idleTime > hintDelay) ShowHint();
}

void TMainWnd::ShowHint() {
  widgets::TWProcedure* procedure = widgets::activeProcedure;
  if (procedure == nullptr || procedure->hovered == nullptr) return;
  const std::string text = procedure->hovered->hint;
  widgets::RefreshPointer();

  const gfx::AppVideo client = platform_.ClientSize();
  const std::int32_t width = (font ? font->textWidth(text) : 0) + kHintPadding;
  std::int32_t left = widgets::mouseX;
  std::int32_t top = std::max(widgets::mouseY - kHintHeight, 0);
  if (left + width > client.width) left = client.width - width;
  if (top + kHintHeight > client.height) top = client.height - kHintHeight;
  // A window narrower or lower than the tooltip still shows its start, never above row 0.
  left = std::max(left, 0);
  top = std::max(top, 0);
  hintRect = gfx::IntRect::FromSize(left, top, width, kHintHeight);

  // The tooltip goes straight onto the window; the back buffer keeps what lies beneath.
  gfx::MemVideo tip(width, kHintHeight);
  gfx::FrameRect(tip, tip.bounds(), gfx::kBlack);
  gfx::FillRect(tip, {0, 0, width - 1, kHintHeight - 1}, kHintFill);
  gfx::DrawTextInRect(tip, tip.bounds(), text,
                      gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                      gfx::kBlack, font.get());
  platform_.Present(tip, tip.bounds(), left, top);

  hintShown = true;
  procedure->lastHinted = procedure->hovered;
}

void TMainWnd::HideHint() {
  PresentRect(hintRect);
  hintShown = false;
}

void TMainWnd::ShowHelp() {
  // Whether a browser opened is of no concern: without help the game goes on as it was.
  platform_.OpenUrl(FileUrl(startDir + "/" + kHelpFileName));
}

void TMainWnd::PlaySoundEffect(const std::string& entryName) {
  if (soundEffectsOn != 1 || !mediaPlayer) return;
  mediaPlayer->PlaySoundEntry(kSoundArchive, entryName);
}

void TMainWnd::Minimise() {
  minimised = true;
  platform_.Minimize();
}

}  // namespace app
