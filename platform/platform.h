// The platform layer: the one interface through which the game reaches the window, the
// event loop, the timer, cursors, sound, message boxes and the desktop. Two backends
// implement it: SdlPlatform for the real window and HeadlessPlatform for tests and tools.
//
// Index: input flags and key codes (keys.h), the events a window receives
// (WindowEvents), the audio device, then Platform itself.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/keys.h"

namespace platform {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// Where the pointer is said to be while it is outside the window.
inline constexpr Point kPointerOutside{-1, -1};

struct OsVersion {
  std::int32_t major = 0;
  std::int32_t minor = 0;
};

// A 32 x 32 cursor picture in 0xAARRGGBB with its hot spot.
struct CursorImage {
  static constexpr int kSize = 32;
  std::array<std::uint32_t, kSize * kSize> argb{};
  std::int32_t hotX = 0;
  std::int32_t hotY = 0;
};

// Cursor numbers of the game's cursor table; 0 is the system arrow.
constexpr int kCursorDefault = 0;
constexpr int kCursorHand = 2;
constexpr int kCursorBuild = 3;

// What a window (the main window, or a modal dialog while its loop runs) is told.
// Handlers run on the one thread, between timer ticks.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnActivate() {}
  virtual void OnMouseMove(ShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
  virtual void OnMouseDown(MouseButton, ShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
  virtual void OnMouseUp(MouseButton, ShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
  // A left button that went down in the window and came up inside it; raised before the
  // button-up event.
  virtual void OnClick() {}
  // Wheel steps: positive away from the user.
  virtual void OnMouseWheel(std::int32_t /*steps*/, ShiftState, std::int32_t /*x*/,
                            std::int32_t /*y*/) {}
  virtual void OnKeyDown(std::uint16_t /*key*/, ShiftState) {}
  virtual void OnTextInput(std::string_view /*utf8*/) {}
  virtual void OnPaint(const gfx::IntRect& /*clip*/) {}
  virtual void OnResize() {}
  // The window is on the screen again after it was minimised or hidden (window_visibility.h),
  // or the window system restored it.
  virtual void OnRestored() {}
  // Window close or Alt+F4; returning false keeps the window open.
  virtual bool OnCloseQuery() { return true; }
  virtual void OnTimer() {}
};

// Plays one wave file at a time; a new sound cuts off the one playing.
class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Converts the wave file at once, so the caller's bytes may change afterwards.
  // Returns false when nothing plays (no device, or not a wave file the device can take).
  virtual bool PlayWave(std::span<const std::uint8_t> waveFile) = 0;
  virtual void Stop() = 0;
  virtual bool available() const = 0;

  // How loud the sounds started from now on play, in percent of the wave files' own samples
  // (clamped to 0..100). At 100 the samples reach the device exactly as they are; at 0 a
  // sound still cuts off the one playing but plays nothing itself.
  void SetVolume(int percent) { volume_ = percent < 0 ? 0 : (percent > 100 ? 100 : percent); }
  int volume() const { return volume_; }

 private:
  int volume_ = 100;
};

// The smallest window the game lays itself out in.
inline constexpr gfx::AppVideo kSmallestWindow{800, 600};

// How the main window shows: over the whole screen, or as a window of the desktop that the
// player may move and resize (never below kSmallestWindow, never beyond the screen).
struct WindowMode {
  bool fullScreen = true;
  gfx::AppVideo windowSize{1280, 720};  // the client area's size as a window
  std::optional<Point> windowPlace;     // the window's top-left corner on the desktop, when known
};

// A window size the screen can hold: at most the screen (a remembered window from a larger
// screen shrinks to fit), yet never below kSmallestWindow.
inline gfx::AppVideo FitWindowSize(gfx::AppVideo wanted, gfx::AppVideo screen) {
  const auto fit = [](std::int32_t want, std::int32_t room, std::int32_t least) {
    if (room > 0 && want > room) want = room;
    return want < least ? least : want;
  };
  return {fit(wanted.width, screen.width, kSmallestWindow.width),
          fit(wanted.height, screen.height, kSmallestWindow.height)};
}

enum class MessageBoxButtons { Ok, YesNo };
// The platform's message box answers with the same codes as the game's own dialogs.
constexpr int kResultOk = 1;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;
// No box could be shown (its text went to stderr all the same).
constexpr int kResultNone = 0;

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens the borderless window covering the desktop; events go to `events` from then on.
  // Returns false (with a message on stderr) when there is no display.
  virtual bool OpenMainWindow(const std::string& title, WindowEvents& events) = 0;
  virtual gfx::AppVideo ScreenSize() const = 0;
  virtual gfx::AppVideo ClientSize() const = 0;
  // Before OpenMainWindow: how the window opens. Afterwards: switches between full screen and
  // a window, or sets the window's size and place; when the client area's size changed, the
  // main window has heard OnResize and OnPaint before this returns.
  virtual void SetWindowMode(const WindowMode& mode) = 0;
  // The mode with the window's size and place as they are now (as a window: the last ones it
  // had as a window).
  virtual WindowMode CurrentWindowMode() const = 0;

  // Copies srcRect of the surface to (x, y) of the window and shows just that rectangle, at
  // the latest when the handler that presented it returns (all the rectangles of one handler
  // are shown together). The part outside the surface or the window is left out.
  virtual void Present(const gfx::MemVideo& source, const gfx::IntRect& srcRect, std::int32_t x,
                       std::int32_t y) = 0;

  // The window timer: fires every interval ms (0 stops it). A late tick fires once and
  // the next one is due an interval later, so a backlog never fires.
  virtual void SetTimerInterval(std::uint32_t ms) = 0;

  // Runs until Terminate or an accepted close query.
  virtual void RunMessageLoop() = 0;
  // A nested loop for a modal window: input goes to `modal`, timer ticks still go to the
  // main window, until `finished` returns true or the program terminates.
  virtual void RunModalLoop(WindowEvents& modal, const std::function<bool()>& finished) = 0;
  // Ends the loops without asking the close query.
  virtual void Terminate() = 0;
  virtual bool terminated() const = 0;

  virtual void Minimize() = 0;
  virtual void InstallCursor(int id, const CursorImage& image) = 0;
  // Unknown ids show the system arrow.
  virtual void SetCursor(int id) = 0;
  virtual Point PointerPosition() const = 0;

  virtual OsVersion OperatingSystemVersion() const = 0;
  virtual std::string CurrentDirectory() const = 0;

  // A blocking system message box; answers kResultOk, kResultYes or kResultNo, or kResultNone
  // when the system could not show one.
  virtual int ShowMessageBox(const std::string& title, const std::string& text,
                             MessageBoxButtons buttons) = 0;
  // Opens a URL (the help file) in the desktop's browser; false when that failed.
  virtual bool OpenUrl(const std::string& url) = 0;
  virtual AudioDevice& Audio() = 0;
};

}  // namespace platform
