// The platform without a display, for tests and command-line tools: a virtual clock that
// the caller advances, injected input, a window image that presentations copy into, and
// recordings of what the game asked of the desktop (cursors, message boxes, URLs, sounds).
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/input_translator.h"
#include "platform/platform.h"
#include "platform/window_visibility.h"

namespace platform {

class RecordingAudio final : public AudioDevice {
 public:
  bool PlayWave(std::span<const std::uint8_t> waveFile) override;
  void Stop() override {
    ++stops;
    playing.clear();
  }
  bool available() const override { return true; }

  // A copy of every wave file started, in order, and of the one playing now.
  std::vector<std::vector<std::uint8_t>> played;
  // The volume (percent) each of them started at.
  std::vector<int> playedVolumes;
  std::vector<std::uint8_t> playing;
  int stops = 0;
};

class HeadlessPlatform final : public Platform {
 public:
  explicit HeadlessPlatform(gfx::AppVideo screen = {1024, 768});

  // Platform
  bool OpenMainWindow(const std::string& title, WindowEvents& events) override;
  gfx::AppVideo ScreenSize() const override { return screen_; }
  gfx::AppVideo ClientSize() const override { return client_; }
  // A window of the requested size (fitted to the screen) at the requested place, or the
  // whole screen; the window system does at once what it is asked.
  void SetWindowMode(const WindowMode& mode) override;
  WindowMode CurrentWindowMode() const override { return mode_; }
  void Present(const gfx::MemVideo& source, const gfx::IntRect& srcRect, std::int32_t x,
               std::int32_t y) override;
  void SetTimerInterval(std::uint32_t ms) override;
  void RunMessageLoop() override;
  void RunModalLoop(WindowEvents& modal, const std::function<bool()>& finished) override;
  void Terminate() override { terminated_ = true; }
  bool terminated() const override { return terminated_; }
  // Asks the window system, which does only what the test makes it do (see windowState).
  void Minimize() override;
  void InstallCursor(int id, const CursorImage& image) override { cursors[id] = image; }
  void SetCursor(int id) override { currentCursor = id; }
  Point PointerPosition() const override { return input_.pointer(); }
  OsVersion OperatingSystemVersion() const override { return osVersion; }
  std::string CurrentDirectory() const override;
  int ShowMessageBox(const std::string& title, const std::string& text,
                     MessageBoxButtons buttons) override;
  bool OpenUrl(const std::string& url) override;
  AudioDevice& Audio() override { return audio; }

  // Virtual time. Advancing fires the timer at most once per call when its deadline passed,
  // as a real window timer would after a stall; Tick(n) runs n whole intervals.
  std::uint64_t now() const { return now_; }
  void AdvanceTime(std::uint32_t ms);
  void Tick(int count = 1);

  // Input, delivered at once to whichever window has the input (the main window, or the
  // innermost modal one); queued while a modal loop is being set up by the test.
  void MoveMouse(std::int32_t x, std::int32_t y, ShiftState keys = 0);
  void PressButton(MouseButton button, std::int32_t x, std::int32_t y, ShiftState keys = 0,
                   bool doubleClick = false);
  void ReleaseButton(MouseButton button, std::int32_t x, std::int32_t y, ShiftState keys = 0);
  void Click(std::int32_t x, std::int32_t y);
  // Moves the pointer to (x, y) and turns the wheel by steps (positive away from the user).
  void TurnWheel(std::int32_t steps, std::int32_t x, std::int32_t y, ShiftState keys = 0);
  void PressKey(std::uint16_t key, ShiftState modifiers = 0);
  void TypeText(std::string_view utf8);
  void RequestClose();  // the window manager's close, or Alt+F4
  // The window system's events: the window shown or given the focus; restored; resized;
  // exposed; the focus taken away; minimised by the window system.
  void Activate();
  void Restore();
  // The player dragged the window's border (as a window; in full screen the window system
  // changed the screen's mode).
  void Resize(gfx::AppVideo client);
  void Expose();
  void LoseFocus();
  void MinimiseByWindowSystem();

  // What the window's flags say, read at each tick; a test may change them without an event.
  struct WindowState {
    bool minimised = false;
    bool hidden = false;
    bool focused = true;
  };
  WindowState windowState;

  // While a modal loop waits, this is called once per timer interval of virtual time; it
  // plays the user (injects input). A modal loop gives up after modalTimeoutMs of virtual
  // time, so a test can never hang.
  std::function<void(HeadlessPlatform&)> onModalIdle;
  std::uint32_t modalTimeoutMs = 60'000;
  int modalDepth() const { return static_cast<int>(inputStack_.size()) - 1; }

  // What presentations put on the window.
  const gfx::MemVideo& window() const { return *window_; }

  // Recordings and answers.
  struct MessageBoxCall {
    std::string title;
    std::string text;
    MessageBoxButtons buttons;
  };
  std::vector<MessageBoxCall> messageBoxes;
  // Popped per box (kResultNone: the system showed none); Ok or No when empty.
  std::deque<int> messageBoxAnswers;
  std::vector<std::string> openedUrls;
  bool urlOpenerWorks = true;
  std::map<int, CursorImage> cursors;
  int currentCursor = kCursorDefault;
  int minimizeCount = 0;
  OsVersion osVersion{6, 1};
  std::vector<gfx::IntRect> presentedRects;
  RecordingAudio audio;

 private:
  WindowEvents* inputTarget() const { return inputStack_.empty() ? nullptr : inputStack_.back(); }
  template <typename Handler>
  void Guarded(Handler&& handler);
  // A window that showed a sign of being on the screen; one that was away is restored.
  void CameBack();

  gfx::AppVideo screen_;
  gfx::AppVideo client_;
  WindowMode mode_;
  std::unique_ptr<gfx::MemVideo> window_;
  WindowEvents* main_ = nullptr;
  std::vector<WindowEvents*> inputStack_;
  InputTranslator input_;
  WindowVisibility visibility_;
  bool terminated_ = false;
  std::uint64_t now_ = 0;
  std::uint32_t timerInterval_ = 0;
  std::uint64_t nextTick_ = 0;
};

}  // namespace platform
