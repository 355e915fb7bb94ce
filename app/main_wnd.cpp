#include "app/main_wnd.h"

#include <algorithm>
#include <ctime>
#include <iostream>
#include <utility>

#include "app/screenshot.h"
#include "dialogs/form.h"
#include "dialogs/message_dialog.h"
#include "dialogs/options_dialog.h"
#include "gfx/draw.h"
#include "platform/cursors.h"
#include "widgets/input_state.h"

namespace app {

// The dialogs count their animations in the shell's ticks.
static_assert(dialogs::kFormTickInterval == kFrameInterval);
// Autosave counts minutes of play in the shell's ticks.
static_assert(screens::kTicksPerMinute * kFrameInterval == 60'000);

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

TMainWnd::TMainWnd(platform::Platform& platform, SettingsStore settingsStore)
    : font(gfx::Font::Create(widgets::kWindowFontFace, gfx::kFontWeightNormal,
                             widgets::kWindowFontPixels)),
      sounds(platform.Audio()),
      tooltip(platform, font.get(), [this](const gfx::IntRect& r) { PresentRect(r); }),
      notice(platform, font.get(), [this](const gfx::IntRect& r) { PresentRect(r); }),
      settingsStore_(std::move(settingsStore)),
      platform_(platform) {
  if (!platform_.OpenMainWindow("Redhollow", *this)) throw NoDisplayError();
  MainWnd = this;
  // The screen state and hint timing start as the class declares them; the sound switch as
  // the player left it.
  sounds.soundEffectsOn = settings().soundEffects ? 1 : 0;
  platform_.Audio().SetVolume(settings().effectsVolume);
  const platform::OsVersion os = platform_.OperatingSystemVersion();
  osVersion = gfx::VersionNumber(os.major, os.minor);
  // The restore notification reaches ApplicationRestored through the window's events.
  widgets::mouseButton = widgets::kNoMouseButton;
  widgets::shiftState = 0;
  widgets::RefreshPointer(this);
  startDir = platform_.CurrentDirectory();
  platform_.InstallCursor(platform::kCursorHand, platform::DrawHandCursor());
  platform_.InstallCursor(platform::kCursorBuild, platform::DrawBuildCursor());
  widgets::activeProcedure = nullptr;
  FormCreate();
}

gfx::AppVideo TMainWnd::LayoutSize() const {
  return platform_.CurrentWindowMode().fullScreen ? platform_.ScreenSize() : platform_.ClientSize();
}

void TMainWnd::FormCreate() {
  const gfx::AppVideo screen = LayoutSize();
  appVideo = std::make_unique<gfx::AppVideo>(screen);
  backBuffer = std::make_unique<gfx::MemVideo>(screen.width, screen.height);
  scratch = std::make_unique<gfx::MemVideo>(kScratchWidth, kScratchHeight);
  timerInterval = kFrameInterval;
  platform_.SetTimerInterval(timerInterval);
}

TMainWnd::~TMainWnd() {
  // Where the player left the window is where it opens next time, and at the scale it had.
  KeepMapScale();
  RememberWindow();
  // Help windows are the desktop browser's own; there is nothing to close. The screens go
  // before the sounds and pictures their widgets point at.
  sounds.mediaPlayer.reset();
  menuScreen.reset();
  gameScreen.reset();
  widgets::activeProcedure = nullptr;
  sounds.clickSound1.reset();
  sounds.clickSound2.reset();
  // The dialog points at the shared pictures, so it goes first.
  fileDialog.reset();
  dialogPictures = {};
  backBuffer.reset();
  scratch.reset();
  appVideo.reset();
  if (MainWnd == this) MainWnd = nullptr;
}

void TMainWnd::FormActivate() {
  if (activated) return;
  dialogPictures.Load();
  sounds.LoadClickSounds();
  fileDialog = std::make_unique<dialogs::TFileDlg>(*this);
  currentScreen = ScreenStarting;
  activated = true;
}

void TMainWnd::TimerTimer() {
  if (minimised) return;
  heartbeat.Tick(Heartbeat::Clock::now());
  if (windowSettleTicks_ > 0 && --windowSettleTicks_ == 0) RememberWindow();
  if (mapScaleSettleTicks_ > 0 && --mapScaleSettleTicks_ == 0) KeepMapScale();
  notice.Tick(timerInterval);
  ReportScreenshots();
  // Settings that cannot be kept are said once, over whatever shows, and play goes on.
  if (std::optional<std::string> problem = settingsStore_.TakeProblem()) notice.Show(*problem);
  if (widgets::activeProcedure != nullptr && !tooltip.hintShown)
    tooltip.HintTimer(*widgets::activeProcedure, timerInterval);
  // A screen switch waits until no dialog is open over the screen it would replace.
  if (requestedScreen != 0 && static_cast<std::uint32_t>(requestedScreen) != currentScreen &&
      forms_.empty())
    SwitchScreens();
  if (!forms_.empty()) forms_.back()->TimerTick();
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
  // The game screen is never left for the menu: new games and loading are its own.
  if (requestedScreen == ScreenMenu && currentScreen == ScreenGame) {
    requestedScreen = 0;
    return;
  }
  switch (requestedScreen) {
    case ScreenMenu:
      if (!gameScreen) {
        gameScreen = std::make_unique<screens::GameProc>(*this, *this);
        gameScreen->SetAutosaveInterval(settings().autosaveMinutes);
        gameScreen->SetMapScale(settings().mapScale);
      }
      if (!menuScreen)
        menuScreen = std::make_unique<screens::MainMenuProc>(*this, *this, *gameScreen);
      menuScreen->Show();
      break;
    case ScreenGame:
      menuScreen.reset();
      // The menu is gone, so there is nothing to deactivate.
      widgets::activeProcedure = nullptr;
      if (gameScreen) {
        gameScreen->Show();
        gameScreen->RestoreView();
      }
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
  PresentFormsOver(area, 0);
  notice.DrawOver(area);
}

void TMainWnd::PresentFormsOver(const gfx::IntRect& windowRect, std::size_t from) {
  for (std::size_t i = from; i < forms_.size(); ++i) {
    const gfx::IntRect window = forms_[i]->WindowBounds();
    const gfx::IntRect part = windowRect.Intersect(window);
    if (part.IsEmpty()) continue;
    platform_.Present(forms_[i]->Image(), part.Offset(-window.left, -window.top), part.left,
                      part.top);
  }
}

void TMainWnd::PresentForm(const dialogs::TForm& form, const gfx::IntRect& rect) {
  const auto it = std::find(forms_.begin(), forms_.end(), &form);
  if (it == forms_.end()) return;
  const gfx::IntRect window = form.WindowBounds();
  const gfx::IntRect part = rect.Intersect(form.Image().bounds());
  if (part.IsEmpty()) return;
  platform_.Present(form.Image(), part, window.left + part.left, window.top + part.top);
  PresentFormsOver(part.Offset(window.left, window.top),
                   static_cast<std::size_t>(it - forms_.begin()) + 1);
  notice.DrawOver(part.Offset(window.left, window.top));
}

namespace {

// The input of a dialog, with the shell's own keys taken out first: a switch to full screen
// must not also be the Enter that answers the dialog.
class ModalInput final : public platform::WindowEvents {
 public:
  ModalInput(TMainWnd& shell, dialogs::TForm& form) : shell_(shell), form_(form) {}
  void OnMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) override {
    form_.OnMouseMove(shift, x, y);
  }
  void OnMouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                   std::int32_t y) override {
    form_.OnMouseDown(button, shift, x, y);
  }
  void OnMouseUp(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                 std::int32_t y) override {
    form_.OnMouseUp(button, shift, x, y);
  }
  void OnClick() override { form_.OnClick(); }
  void OnMouseWheel(std::int32_t steps, platform::ShiftState shift, std::int32_t x,
                    std::int32_t y) override {
    form_.OnMouseWheel(steps, shift, x, y);
  }
  void OnKeyDown(std::uint16_t key, platform::ShiftState shift) override {
    if (!shell_.ShellKey(key, shift)) form_.OnKeyDown(key, shift);
  }
  void OnTextInput(std::string_view utf8) override { form_.OnTextInput(utf8); }
  bool OnCloseQuery() override { return form_.OnCloseQuery(); }

 private:
  TMainWnd& shell_;
  dialogs::TForm& form_;
};

}  // namespace

void TMainWnd::RunModal(dialogs::TForm& form, const std::function<bool()>& finished) {
  // The screen below is frozen while any dialog is open: no ticks, no tooltips.
  HideTooltip();
  forms_.push_back(&form);
  if (widgets::activeProcedure != nullptr) widgets::activeProcedure->modal = 1;
  SetCursor(platform::kCursorDefault);
  form.ShowWhole();
  ModalInput input(*this, form);
  platform_.RunModalLoop(input, finished);
  forms_.erase(std::find(forms_.begin(), forms_.end(), &form));
  if (widgets::activeProcedure != nullptr && forms_.empty()) widgets::activeProcedure->modal = 0;
  // What the dialog covered comes back: the screen, and any dialog still open beneath it.
  PresentRect(form.WindowBounds().Intersect(backBuffer ? backBuffer->bounds() : gfx::IntRect{}));
}

void TMainWnd::FormGone(dialogs::TForm& form) {
  allForms_.erase(std::remove(allForms_.begin(), allForms_.end(), &form), allForms_.end());
}

void TMainWnd::FormResize() {
  const gfx::AppVideo client = platform_.ClientSize();
  const gfx::AppVideo layout = LayoutSize();
  const bool newLayout = !appVideo || !(*appVideo == layout);
  HideTooltip();
  // A window being dragged to a new size is remembered once it has kept it for a second.
  if (!platform_.CurrentWindowMode().fullScreen) windowSettleTicks_ = 1000 / kFrameInterval;
  backBuffer = std::make_unique<gfx::MemVideo>(client.width, client.height);
  appVideo = std::make_unique<gfx::AppVideo>(layout);
  if (newLayout) {
    // Every screen and dialog takes its pixels anew from its fractions, as it would have
    // had the game started at this size; open dialogs keep what they hold.
    if (gameScreen) gameScreen->Relayout();
    if (menuScreen) menuScreen->Relayout();
    const std::vector<dialogs::TForm*> forms = allForms_;
    for (dialogs::TForm* form : forms) form->Relayout();
  }
  // The new back buffer is drawn whole; the dialogs show over it.
  if (widgets::activeProcedure != nullptr) {
    widgets::activeProcedure->Redraw();
    widgets::RefreshPointer(this);
    if (widgets::activeProcedure->modal == 0)
      widgets::ProcedureMouseUpdate(*widgets::activeProcedure);
  }
}

bool TMainWnd::SwitchWindow(bool fullScreen) {
  platform::WindowMode mode = platform_.CurrentWindowMode();
  if (mode.fullScreen == fullScreen) return false;
  mode.fullScreen = fullScreen;
  platform_.SetWindowMode(mode);
  // A window the size of the screen keeps the client's size, yet the layout may differ.
  if (!appVideo || !(*appVideo == LayoutSize())) FormResize();
  PresentRect();
  return true;
}

void TMainWnd::SetFullScreen(bool on) {
  if (SwitchWindow(on)) RememberWindow();
}

void TMainWnd::ToggleFullScreen() {
  SetFullScreen(!FullScreen());
}

bool TMainWnd::ShellKey(std::uint16_t key, platform::ShiftState shift) {
  const bool alt = (shift & platform::kAltKey) != 0;
  // A held key acts once.
  const bool repeated = (shift & platform::kAutoRepeat) != 0;
  if (key == platform::vk::kF11 || (key == platform::vk::kReturn && alt)) {
    if (!repeated) ToggleFullScreen();
    return true;
  }
  if (key == platform::vk::kF12) {
    if (!repeated) TakeScreenshot();
    return true;
  }
  return false;
}

void TMainWnd::FormPaint(const gfx::IntRect& clip) {
  PresentRect(clip);
}

bool TMainWnd::FormCloseQuery() {
  if (widgets::activeProcedure != nullptr &&
      ShowMessage("Exit", "Are you really sure you want to exit?", dialogs::kButtonsYesNo,
                  dialogs::kIconQuestion) != dialogs::kResultYes)
    return false;
  // The program ends: a changed colony is autosaved, and written before the answer returns.
  if (gameScreen) gameScreen->SaveBeforeQuit();
  return true;
}

void TMainWnd::CloseMainWindow() {
  if (FormCloseQuery()) platform_.Terminate();
}

int TMainWnd::ShowMessage(std::string_view title, std::string_view text, int buttons, int icon) {
  return dialogs::ShowMessageDialog(*this, title, text, buttons, icon);
}

void TMainWnd::Warn(std::string_view title, std::string_view text) {
  ShowMessage(title, text, dialogs::kButtonsOk, -1);
}

void TMainWnd::FormKeyDown(std::uint16_t key, platform::ShiftState shift) {
  if (ShellKey(key, shift)) return;
  if (key == platform::vk::kF8 || (key == platform::vk::kS && (shift & platform::kAltKey) != 0)) {
    const bool on = sounds.Toggle();
    Settings changed = settings();
    changed.soundEffects = on;
    ChangeSettings(changed);
    ShowMessage("Options", on ? "Sound Effects ON" : "Sound Effects OFF", dialogs::kButtonsOk,
                dialogs::kIconNotice);
    return;
  }
  if (key == platform::vk::kF9) {
    ShowOptions();
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

void TMainWnd::FormMouseWheel(std::int32_t steps, platform::ShiftState /*shift*/, std::int32_t x,
                              std::int32_t y) {
  if (widgets::activeProcedure == nullptr || steps == 0) return;
  InputActivity();
  widgets::activeProcedure->MouseWheel(steps, x, y);
}

void TMainWnd::MapScaleChosen(int percent) {
  // Turning the wheel zooms step by step; the scale is written once it rests for a second (or
  // at exit), not at every step.
  pendingMapScale_ = percent;
  mapScaleSettleTicks_ = 1000 / kFrameInterval;
}

void TMainWnd::KeepMapScale() {
  mapScaleSettleTicks_ = 0;
  if (!pendingMapScale_) return;
  Settings changed = settings();
  changed.mapScale = *std::exchange(pendingMapScale_, std::nullopt);
  ChangeSettings(changed);
}

void TMainWnd::ApplicationRestored() {
  minimised = false;
  if (widgets::activeProcedure == nullptr) return;
  widgets::RefreshPointer(this);
  widgets::ProcedureMouseUpdate(*widgets::activeProcedure);
}

void TMainWnd::SetCursor(std::int16_t cursorNumber) {
  if (cursor == cursorNumber) return;
  cursor = cursorNumber;
  platform_.SetCursor(cursorNumber);
}

void TMainWnd::ShowHelp() {
  // Whether a browser opened is of no concern: without help the game goes on as it was.
  platform_.OpenUrl(FileUrl(startDir + "/" + kHelpFileName));
}

void TMainWnd::ShowOptions() {
  // Never over another dialog, and not before the title screen is there.
  if (!forms_.empty() || (currentScreen != ScreenMenu && currentScreen != ScreenGame)) return;
  dialogs::TOptionsDlg dialog(*this);
  const Settings& now = settings();
  const std::optional<dialogs::OptionsChoice> choice =
      dialog.Choose({now.soundEffects, now.effectsVolume, FullScreen(), now.autosaveMinutes});
  if (!choice) return;
  Settings changed = now;
  changed.soundEffects = choice->soundEffects;
  changed.effectsVolume = choice->effectsVolume;
  const bool newInterval = changed.autosaveMinutes != choice->autosaveMinutes;
  changed.autosaveMinutes = choice->autosaveMinutes;
  // The window first, so that its state goes into the one write of the settings.
  SwitchWindow(choice->fullScreen);
  ChangeSettings(WithWindow(changed));
  platform_.Audio().SetVolume(settings().effectsVolume);
  if (newInterval && gameScreen) gameScreen->SetAutosaveInterval(settings().autosaveMinutes);
}

Settings TMainWnd::WithWindow(Settings settings) const {
  const platform::WindowMode mode = platform_.CurrentWindowMode();
  settings.fullScreen = mode.fullScreen;
  settings.windowWidth = mode.windowSize.width;
  settings.windowHeight = mode.windowSize.height;
  if (mode.windowPlace) {
    settings.windowX = mode.windowPlace->x;
    settings.windowY = mode.windowPlace->y;
  }
  return settings;
}

void TMainWnd::RememberWindow() {
  ChangeSettings(WithWindow(settings()));
}

void TMainWnd::ChangeSettings(const Settings& changed) {
  settingsStore_.Change(changed);
  sounds.soundEffectsOn = settings().soundEffects ? 1 : 0;
}

std::unique_ptr<gfx::MemVideo> TMainWnd::ComposeWindow() const {
  if (!backBuffer) return nullptr;
  auto picture = std::make_unique<gfx::MemVideo>(backBuffer->width(), backBuffer->height());
  gfx::CopyRect(*backBuffer, backBuffer->bounds(), *picture, 0, 0);
  for (const dialogs::TForm* form : forms_) {
    const gfx::IntRect window = form->WindowBounds();
    gfx::CopyRect(form->Image(), form->Image().bounds(), *picture, window.left, window.top);
  }
  return picture;
}

void TMainWnd::TakeScreenshot() {
  std::shared_ptr<const gfx::MemVideo> picture = ComposeWindow();
  if (!picture) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  screenshotWriter.Post([picture = std::move(picture), places = PicturePlaces::FromEnvironment(),
                         stem = ScreenshotStem(local)] {
    return WriteScreenshot(*picture, ScreenshotFolder(places), stem);
  });
}

void TMainWnd::ReportScreenshots() {
  for (const platform::WriteOutcome& outcome : screenshotWriter.TakeFinished()) {
    if (!outcome.ok()) std::cerr << "Redhollow: " << outcome.problem << '\n';
    notice.Show(outcome.ok() ? "Screenshot saved: " + outcome.written : outcome.problem);
  }
}

void TMainWnd::Minimise() {
  minimised = true;
  platform_.Minimize();
}

}  // namespace app
