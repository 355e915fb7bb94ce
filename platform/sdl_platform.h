// The platform on SDL2: one borderless window covering the desktop, drawn through its
// window surface; our own event loop with the 40 ms window timer and nested modal loops.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/input_translator.h"
#include "platform/platform.h"
#include "platform/sdl_audio.h"
#include "platform/window_visibility.h"

namespace platform {

// Whether a comma-separated list of SDL video drivers (SDL_VIDEODRIVER) names `driver`; SDL
// matches the names without regard to case.
bool DriverNamedIn(const char* driverList, std::string_view driver);

class SdlPlatform final : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  bool OpenMainWindow(const std::string& title, WindowEvents& events) override;
  gfx::AppVideo ScreenSize() const override;
  gfx::AppVideo ClientSize() const override;
  void SetWindowMode(const WindowMode& mode) override;
  WindowMode CurrentWindowMode() const override;
  void Present(const gfx::MemVideo& source, const gfx::IntRect& srcRect, std::int32_t x,
               std::int32_t y) override;
  void SetTimerInterval(std::uint32_t ms) override;
  void RunMessageLoop() override;
  void RunModalLoop(WindowEvents& modal, const std::function<bool()>& finished) override;
  void Terminate() override { terminated_ = true; }
  bool terminated() const override { return terminated_; }
  void Minimize() override;
  void InstallCursor(int id, const CursorImage& image) override;
  void SetCursor(int id) override;
  Point PointerPosition() const override;
  OsVersion OperatingSystemVersion() const override;
  std::string CurrentDirectory() const override;
  int ShowMessageBox(const std::string& title, const std::string& text,
                     MessageBoxButtons buttons) override;
  bool OpenUrl(const std::string& url) override;
  AudioDevice& Audio() override;

 private:
  void RunLoop(WindowEvents& input, const std::function<bool()>* finished);
  void Dispatch(const SDL_Event& event, WindowEvents& input);
  void DispatchWindowEvent(const SDL_WindowEvent& event, WindowEvents& input);
  void CloseRequested(WindowEvents& input);
  // The window showed a sign of being on the screen; a window that was away is restored.
  void CameBack();
  void FireTimerIfDue();
  // Tells the main window of a client area whose size changed since it last heard; a change
  // of size alone repaints it.
  void FollowClientSize(bool sizeEvent);
  // The desktop's bounds and whether a remembered place would show the window on it.
  bool PlaceIsOnScreen(Point place) const;
  // Shows the rectangles presented since the last call, all in one update of the window.
  void ShowPresented();
  // An exception that reaches the loop is shown and the loop goes on.
  template <typename Handler>
  void Guarded(Handler&& handler);

  bool videoReady_ = false;
  SDL_Window* window_ = nullptr;
  gfx::AppVideo knownClientSize_;  // the size the main window was last told of
  WindowMode mode_;
  WindowEvents* main_ = nullptr;
  InputTranslator input_;
  WindowVisibility visibility_;
  bool terminated_ = false;
  bool pointerOutside_ = false;
  bool activatedOnce_ = false;
  std::uint32_t timerInterval_ = 0;
  std::uint64_t nextTick_ = 0;
  std::unique_ptr<SdlAudio> audio_;
  std::map<int, SDL_Cursor*> cursors_;
  SDL_Cursor* arrow_ = nullptr;
  std::vector<SDL_Rect> presented_;
};

}  // namespace platform
