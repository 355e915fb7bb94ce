// TMainWnd: the one main window, the shell of the program. It owns the back buffer everything
// is drawn into, the scratch surface and the screens, and drives the screen state machine
// from its 40 ms frame timer. The tooltip, the sound switch with the click sounds, and the
// dialogs' shared pictures are parts of their own that it holds. To its screens it is the
// widget host and the shell (screens/shell.h).
//
// Screen states:
//   ScreenWaiting  --first activation-->  ScreenStarting
//   ScreenStarting --next tick--> request ScreenMenu --following tick--> ScreenMenu
//   ScreenMenu     --"New Game" / "Load Game"--> request ScreenGame --next tick--> ScreenGame
// ScreenGame lasts until the program ends; minimising suspends all timer work in any state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/heartbeat.h"
#include "app/screen_notice.h"
#include "app/settings.h"
#include "app/sound_effects.h"
#include "app/tooltip.h"
#include "dialogs/dialog_pictures.h"
#include "dialogs/file_dialog.h"
#include "dialogs/form.h"
#include "dialogs/form_host.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/background_writer.h"
#include "platform/platform.h"
#include "screens/game_proc.h"
#include "screens/main_menu_proc.h"
#include "screens/shell.h"
#include "widgets/tw_procedure.h"
#include "widgets/widget_host.h"

namespace app {

enum ScreenState : std::int32_t {
  ScreenWaiting = 0,
  ScreenStarting = 1,
  ScreenMenu = 4,
  ScreenGame = 5,
};

// The platform could not open the window (no display); the reason is already on stderr.
class NoDisplayError : public std::runtime_error {
 public:
  NoDisplayError() : std::runtime_error("cannot open a display") {}
};

constexpr std::uint32_t kFrameInterval = 40;  // ms
constexpr std::int32_t kScratchWidth = 256;
constexpr std::int32_t kScratchHeight = 160;
inline constexpr const char* kHelpFileName = "Pell.html";

// A file path as a file:// URL; bytes that may not stand in a URL path are percent-encoded.
std::string FileUrl(const std::string& path);

class TMainWnd final : public platform::WindowEvents,
                       public widgets::WidgetHost,
                       public dialogs::FormHost,
                       public screens::Shell {
 public:
  // Opens the window, then runs the constructor's steps and FormCreate. Throws
  // NoDisplayError when the platform has no display. The settings are the player's own file
  // (XDG_CONFIG_HOME) unless a store is given.
  explicit TMainWnd(platform::Platform& platform,
                    SettingsStore settingsStore = SettingsStore::LoadUser());
  ~TMainWnd() override;  // FormDestroy
  TMainWnd(const TMainWnd&) = delete;
  TMainWnd& operator=(const TMainWnd&) = delete;

  platform::Platform& platform() { return platform_; }

  // Copies a rectangle of the back buffer to the same place on the window, beneath the open
  // dialogs; without a rectangle the whole back buffer. Nothing happens while there is no
  // back buffer.
  void PresentRect(std::optional<gfx::IntRect> rect = std::nullopt);
  // The switch happens on the next timer tick.
  void RequestScreen(ScreenState screen) { requestedScreen = screen; }
  // Opens the help file of the start directory in the desktop's browser.
  void ShowHelp() override;
  // Writes what the window shows (the back buffer with the open dialogs over it) as a PNG
  // into the player's pictures folder, off the tick; a notice on the window says where, or why
  // not (app/screenshot.h).
  void TakeScreenshot();
  // The back buffer with the open dialogs over it, as the window shows them.
  std::unique_ptr<gfx::MemVideo> ComposeWindow() const;

  // The settings of this run. A change is applied to the sound switch and written to the
  // settings file (when it changes anything); the window and autosave read the fields.
  const Settings& settings() const { return settingsStore_.settings(); }
  void ChangeSettings(const Settings& changed);
  // The sentence saying the settings could not be written, once a run, for showing on screen.
  std::optional<std::string> TakeSettingsProblem() { return settingsStore_.TakeProblem(); }

  // Window events.
  void OnActivate() override { FormActivate(); }
  void OnTimer() override { TimerTimer(); }
  void OnResize() override { FormResize(); }
  void OnPaint(const gfx::IntRect& clip) override { FormPaint(clip); }
  bool OnCloseQuery() override { return FormCloseQuery(); }
  void OnKeyDown(std::uint16_t key, platform::ShiftState shift) override {
    FormKeyDown(key, shift);
  }
  void OnRestored() override { ApplicationRestored(); }
  void OnMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) override {
    FormMouseMove(shift, x, y);
  }
  void OnMouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                   std::int32_t y) override {
    FormMouseDown(button, shift, x, y);
  }
  void OnMouseUp(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                 std::int32_t y) override {
    FormMouseUp(button, shift, x, y);
  }
  void OnClick() override { FormClick(); }
  void OnMouseWheel(std::int32_t steps, platform::ShiftState shift, std::int32_t x,
                    std::int32_t y) override {
    FormMouseWheel(steps, shift, x, y);
  }

  void FormActivate();
  void TimerTimer();
  void FormResize();
  void FormPaint(const gfx::IntRect& clip);
  bool FormCloseQuery();
  void FormKeyDown(std::uint16_t key, platform::ShiftState shift);
  void FormMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y);
  void FormMouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                     std::int32_t y);
  void FormMouseUp(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                   std::int32_t y);
  // The platform raises it before the button-up of a left click inside the window.
  void FormClick();
  void FormMouseWheel(std::int32_t steps, platform::ShiftState shift, std::int32_t x,
                      std::int32_t y);
  // The application came back from being minimised.
  void ApplicationRestored();

  // Full screen or a window: F11 and Alt+Enter switch, on every screen and under dialogs.
  void ToggleFullScreen();
  void SetFullScreen(bool on);
  bool FullScreen() const { return platform_.CurrentWindowMode().fullScreen; }
  // The keys the shell takes before any screen or dialog sees them; true when taken.
  bool ShellKey(std::uint16_t key, platform::ShiftState shift);

  // dialogs::FormHost: the stack of open dialogs, the newest on top.
  const dialogs::DialogPictures& Pictures() const override { return dialogPictures; }
  std::string StartDirectory() const override { return startDir; }
  void RunModal(dialogs::TForm& form, const std::function<bool()>& finished) override;
  void PresentForm(const dialogs::TForm& form, const gfx::IntRect& rect) override;
  void FormMade(dialogs::TForm& form) override { allForms_.push_back(&form); }
  void FormGone(dialogs::TForm& form) override;
  // The dialog on top, or null.
  dialogs::TForm* topForm() const { return forms_.empty() ? nullptr : forms_.back(); }

  // widgets::WidgetHost, for the screens: they draw into the back buffer.
  gfx::MemVideo* Target() override { return backBuffer.get(); }
  gfx::MemVideo* Scratch() override { return scratch.get(); }
  gfx::AppVideo ScreenSize() const override { return appVideo ? *appVideo : gfx::AppVideo{}; }
  void Present(const gfx::IntRect& rect) override { PresentRect(rect); }
  platform::Point PointerPosition() const override { return platform_.PointerPosition(); }
  // The platform is told only of changes.
  void SetCursor(std::int16_t cursorNumber) override;
  void PlayClick(const gfx::ByteBuffer& waveFile) override { sounds.PlayBuffer(waveFile); }
  void InputActivity() override { tooltip.InputActivity(); }
  void HideTooltip() override {
    if (tooltip.hintShown) tooltip.HideHint();
  }
  void Warn(std::string_view title, std::string_view text) override;
  const gfx::Font* DefaultFont() const override { return font.get(); }

  // screens::Shell
  void PlaySound(std::string_view entryName) override { sounds.Play(entryName); }
  int ShowMessage(std::string_view title, std::string_view text, int buttons, int icon) override;
  void Minimise() override;
  void CloseMainWindow() override;
  void Terminate() override { platform_.Terminate(); }
  void RequestGameScreen() override { RequestScreen(ScreenGame); }
  widgets::SoundSlot ClickSound(int which) const override {
    return which == 2 ? &sounds.clickSound2 : &sounds.clickSound1;
  }
  dialogs::FormHost& Forms() override { return *this; }
  dialogs::TFileDlg* FileDialog() override { return fileDialog.get(); }
  // Only over the title screen or the game screen, never over another dialog.
  void ShowOptions() override;
  void MapScaleChosen(int percent) override;
  void ShowScreenNotice(std::string_view text) override { notice.Show(std::string(text)); }

  // Fields of the window, in the order the game's design gives them.
  std::uint32_t timerInterval = 0;
  bool activated = false;
  bool minimised = false;
  std::uint32_t currentScreen = ScreenWaiting;
  std::int32_t requestedScreen = 0;
  double osVersion = 0;
  std::string startDir;
  std::unique_ptr<gfx::MemVideo> backBuffer;
  std::unique_ptr<gfx::MemVideo> scratch;

  // Program-wide objects the shell owns.
  std::unique_ptr<gfx::AppVideo> appVideo;
  // The game screen is made first: the menu's "New Game" and "Load Game" reach it.
  std::unique_ptr<screens::GameProc> gameScreen;
  std::unique_ptr<screens::MainMenuProc> menuScreen;
  std::int16_t cursor = platform::kCursorDefault;
  std::unique_ptr<gfx::Font> font;  // the window's own font; null when none could be found
  SoundEffects sounds;
  dialogs::DialogPictures dialogPictures;
  std::unique_ptr<dialogs::TFileDlg> fileDialog;  // made at the first activation
  Tooltip tooltip;
  // Off unless the environment asks for it (see app/heartbeat.h).
  Heartbeat heartbeat = Heartbeat::FromEnvironment();
  ScreenNotice notice;
  // Screenshots are encoded and written here; it ends with the window, after the last one.
  platform::BackgroundWriter screenshotWriter;

 private:
  void SwitchScreens();
  void FormCreate();
  // What the screens lay themselves out in: the whole screen in full screen (as the game
  // always did), the client area in a window.
  gfx::AppVideo LayoutSize() const;
  // Shows the parts of the open dialogs, from the index `from` up, that lie in a window rectangle.
  void PresentFormsOver(const gfx::IntRect& windowRect, std::size_t from);
  // Full screen or a window, laid out and shown; false when it already was.
  bool SwitchWindow(bool fullScreen);
  // The settings with full screen, or the window's size and place, as they are now.
  Settings WithWindow(Settings settings) const;
  // Keeps full screen or the window's size and place in the settings.
  void RememberWindow();
  // Tells of the screenshots written since the last tick.
  void ReportScreenshots();

  std::vector<dialogs::TForm*> forms_;     // open dialogs, not owned
  std::vector<dialogs::TForm*> allForms_;  // every dialog that exists, open or not; not owned
  SettingsStore settingsStore_;
  // Ticks until a window the player is resizing is taken as settled and remembered.
  std::uint32_t windowSettleTicks_ = 0;
  // Writes a map scale the player chose into the settings.
  void KeepMapScale();
  std::optional<int> pendingMapScale_;
  std::uint32_t mapScaleSettleTicks_ = 0;

  platform::Platform& platform_;
};

// The program-wide main window; set while a TMainWnd exists.
extern TMainWnd* MainWnd;

}  // namespace app
