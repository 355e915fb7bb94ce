// TMainWnd: the one main window. It owns the back buffer everything is drawn into, the
// scratch surface, the shared dialog pictures and click sounds, the media player and the
// screens, and drives the screen state machine from its 40 ms frame timer.
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

#include "gfx/archive.h"
#include "gfx/byte_buffer.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/media_player.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "platform/platform.h"
#include "widgets/tw_procedure.h"

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

// The tooltip's look.
constexpr std::int32_t kHintHeight = 18;
constexpr std::int32_t kHintPadding = 8;  // added to the text's width
constexpr gfx::Color kHintFill = gfx::Rgb(222, 192, 160);
// The window's own font, which the tooltip uses.
inline constexpr const char* kWindowFontFace = "MS Sans Serif";
constexpr int kWindowFontPixels = 11;
inline constexpr const char* kHelpFileName = "Pell.html";

// A file path as a file:// URL; bytes that may not stand in a URL path are percent-encoded.
std::string FileUrl(const std::string& path);

class TMainWnd final : public platform::WindowEvents {
 public:
  // Opens the window, then runs the constructor's steps and FormCreate. Throws
  // NoDisplayError when the platform has no display.
  explicit TMainWnd(platform::Platform& platform);
  ~TMainWnd() override;  // FormDestroy
  TMainWnd(const TMainWnd&) = delete;
  TMainWnd& operator=(const TMainWnd&) = delete;

  platform::Platform& platform() { return platform_; }

  // Copies a rectangle of the back buffer to the same place on the window; without a
  // rectangle the whole back buffer. Nothing happens while there is no back buffer.
  void PresentRect(std::optional<gfx::IntRect> rect = std::nullopt);
  // The switch happens on the next timer tick.
  void RequestScreen(ScreenState screen) { requestedScreen = screen; }
  void Minimise();
  // The window's cursor (0 arrow, 2 hand, 3 build); the platform is told only of changes.
  void SetCursor(std::int16_t cursorNumber);

  // Tooltips: HintTimer runs on every tick while a screen is active and no tooltip is shown;
  // ShowHint draws the hovered widget's hint straight onto the window, and HideHint puts
  // back what the back buffer holds there.
  void HintTimer();
  void ShowHint();
  void HideHint();
  // Opens the help file of the start directory in the desktop's browser.
  void ShowHelp();
  // A sound effect of the sound archive, only while sound effects are on.
  void PlaySoundEffect(const std::string& entryName);

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
  // The application came back from being minimised.
  void ApplicationRestored();

  // Fields of the window, in the order the game's design gives them.
  std::uint32_t timerInterval = 0;
  bool activated = false;
  bool minimised = false;
  std::uint32_t currentScreen = ScreenWaiting;
  std::int32_t requestedScreen = 0;
  double osVersion = 0;
  std::uint32_t hintDelay = 500;
  std::uint32_t idleTime = 0;
  bool hintShown = false;
  gfx::IntRect hintRect;
  std::string startDir;
  std::unique_ptr<gfx::MemVideo> backBuffer;
  std::unique_ptr<gfx::MemVideo> scratch;

  // Program-wide objects the shell owns.
  std::unique_ptr<gfx::AppVideo> appVideo;
  std::unique_ptr<gfx::MediaPlayer> mediaPlayer;
  std::unique_ptr<widgets::TWProcedure> menuScreen;
  std::unique_ptr<widgets::TWProcedure> gameScreen;
  std::unique_ptr<gfx::WBitmap> dlgBackground;
  std::unique_ptr<gfx::WBitmap> dlgButtons;
  std::unique_ptr<gfx::WBitmap> dlgIcons;
  std::unique_ptr<gfx::ByteBuffer> clickSound1;
  std::unique_ptr<gfx::ByteBuffer> clickSound2;
  int soundEffectsOn = 1;
  std::int16_t cursor = platform::kCursorDefault;
  std::unique_ptr<gfx::Font> font;  // the window's own font; null when none could be found

  // How the first request of the main menu builds the two screens; unset factories build
  // nothing, and the window stays black until a screen exists.
  std::function<std::unique_ptr<widgets::TWProcedure>()> createMenuScreen;
  std::function<std::unique_ptr<widgets::TWProcedure>()> createGameScreen;

 private:
  void SwitchScreens();
  void FormCreate();

  platform::Platform& platform_;
};

// The program-wide main window; set while a TMainWnd exists.
extern TMainWnd* MainWnd;

using gfx::kDialogArchive;
using gfx::kSoundArchive;

}  // namespace app
