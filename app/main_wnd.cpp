#include "app/main_wnd.h"

#include "dialogs/message_dialog.h"
#include "gfx/archive.h"
#include "gfx/draw.h"
#include "platform/cursors.h"

namespace app {

TMainWnd* MainWnd = nullptr;

TMainWnd::TMainWnd(platform::Platform& platform) : platform_(platform) {
  if (!platform_.OpenMainWindow("Redhollow", *this)) throw NoDisplayError();
  MainWnd = this;
  currentScreen = ScreenWaiting;
  activated = false;
  const platform::OsVersion os = platform_.OperatingSystemVersion();
  osVersion = gfx::VersionNumber(os.major, os.minor);
  hintShown = false;
  idleTime = 0;
  hintDelay = 500;
  startDir = platform_.CurrentDirectory();
  platform_.InstallCursor(platform::kCursorHand, platform::DrawHandCursor());
  platform_.InstallCursor(platform::kCursorBuild, platform::DrawBuildCursor());
  mediaPlayer = std::make_unique<gfx::MediaPlayer>(platform_.Audio());
  activeProcedure = nullptr;
  soundEffectsOn = 1;
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
  activeProcedure = nullptr;
  menuScreen.reset();
  gameScreen.reset();
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
  // The tooltip timer joins here with the widget layer.
  if (requestedScreen != 0 && static_cast<std::uint32_t>(requestedScreen) != currentScreen)
    SwitchScreens();
  switch (currentScreen) {
    case ScreenWaiting:
      break;
    case ScreenStarting:
      requestedScreen = ScreenMenu;
      break;
    default:
      if (activeProcedure != nullptr && !activeProcedure->modal()) activeProcedure->Tick();
      break;
  }
}

void TMainWnd::SwitchScreens() {
  switch (requestedScreen) {
    case ScreenMenu:
      // The main menu and the game screen are created here once they exist; until then
      // the window stays black.
      break;
    case ScreenGame:
      menuScreen.reset();
      activeProcedure = gameScreen.get();
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
  if (activeProcedure == nullptr) return true;
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
  if (activeProcedure != nullptr) {
    activeProcedure->KeyDown(key, shift);
    return;
  }
  if (key == platform::vk::kEscape) platform_.Terminate();
}

void TMainWnd::Minimise() {
  minimised = true;
  platform_.Minimize();
}

}  // namespace app
