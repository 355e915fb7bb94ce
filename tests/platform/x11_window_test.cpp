// X protocol errors against the real window under an X server (ctest runs this program a second
// time inside xvfb-run; without DISPLAY these cases are skipped): an error is logged in one line
// and the game goes on, through SDL's own error handler, which sits on top of ours.
#include "platform/x11_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sdl_platform.h"

// After gtest: the X11 headers define macros such as None that gtest's own names collide with.
#if defined(SDL_VIDEO_DRIVER_X11)
#include <SDL_syswm.h>
#include <X11/Xproto.h>

namespace platform {
namespace {

// The main window's events: it counts the timer's ticks and ends the loop at the second.
struct Ticker final : WindowEvents {
  Platform* platform = nullptr;
  int ticks = 0;
  void OnTimer() override {
    if (++ticks == 2) platform->Terminate();
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

class X11ErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    events_.platform = &platform_;
    ASSERT_TRUE(platform_.OpenMainWindow("Redhollow", events_));
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window, &info));
    ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
    display_ = info.info.x11.display;
    // A window id that surely names no window any more.
    goneWindow_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display_, goneWindow_);
    XSync(display_, False);
  }

  // What the game wrote on stderr while `requests` ran and the server answered them.
  template <typename Requests>
  std::string StderrOf(Requests&& requests) {
    testing::internal::CaptureStderr();
    requests();
    XSync(display_, False);
    return testing::internal::GetCapturedStderr();
  }

  SdlPlatform platform_;
  Ticker events_;
  Display* display_ = nullptr;
  Window goneWindow_ = 0;
};

TEST_F(X11ErrorTest, AProtocolErrorIsLoggedInOneLineAndTheGameGoesOn) {
  EXPECT_EQ(StderrOf([&] { XMapWindow(display_, goneWindow_); }),
            "X error: BadWindow on request 8 (X_MapWindow), ignored\n");
  EXPECT_EQ(StderrOf([&] { XSetInputFocus(display_, goneWindow_, RevertToNone, CurrentTime); }),
            "X error: BadWindow on request 42 (X_SetInputFocus), ignored\n");

  // The window still presents and the loop still ticks.
  const gfx::AppVideo client = platform_.ClientSize();
  const gfx::MemVideo screen(client.width, client.height);
  platform_.Present(screen, screen.bounds(), 0, 0);
  platform_.SetTimerInterval(5);
  platform_.RunMessageLoop();
  EXPECT_EQ(events_.ticks, 2);
}

TEST_F(X11ErrorTest, AMessageToAClosedWindowIsDroppedWithoutAWord) {
  // What SDL's wake-up of its own event wait meets when the window closed first.
  const std::string said = StderrOf([&] {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = goneWindow_;
    message.xclient.format = 32;
    XSendEvent(display_, goneWindow_, False, NoEventMask, &message);
  });
  EXPECT_EQ(said, "");
}

TEST_F(X11ErrorTest, AStreamOfErrorsIsCutShortWithOneLineSayingSo) {
  const std::string said = StderrOf([&] {
    for (int i = 0; i < 2 * kXErrorsReported; ++i) XUnmapWindow(display_, goneWindow_);
  });
  const std::vector<std::string> lines = Lines(said);
  ASSERT_FALSE(lines.empty());
  // Other cases of this program may have used part of the allowance already.
  EXPECT_LE(lines.size(), static_cast<std::size_t>(kXErrorsReported) + 1);
  EXPECT_EQ(lines.back(), "X error: more errors follow and are not reported");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i)
    EXPECT_EQ(lines[i], "X error: BadWindow on request 10 (X_UnmapWindow), ignored");
  EXPECT_EQ(StderrOf([&] { XUnmapWindow(display_, goneWindow_); }), "");
}

}  // namespace
}  // namespace platform
#endif
