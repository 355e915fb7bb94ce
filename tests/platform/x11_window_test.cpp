// The X error handler that keeps a quitting game from ending with status 1: it drops only the
// error of a message sent to a window that is gone and hands every other error on.
#include "platform/x11_window.h"

#include <SDL.h>
#include <gtest/gtest.h>

// After gtest: the X11 headers define macros such as None that gtest's own names collide with.
#if defined(SDL_VIDEO_DRIVER_X11)
#include <SDL_syswm.h>
#include <X11/Xproto.h>

namespace platform {
namespace {

int passedOn = 0;

int RecordingHandler(Display*, XErrorEvent*) {
  ++passedOn;
  return 0;
}

TEST(X11ErrorHandler, DropsOnlyMessagesToClosedWindowsAndPassesTheRestOn) {
  XSetErrorHandler(RecordingHandler);
  IgnoreMessagesToClosedWindows();
  IgnoreMessagesToClosedWindows();  // a second window's set-up must not chain it to itself
  const XErrorHandler installed = XSetErrorHandler(nullptr);
  ASSERT_NE(installed, nullptr);
  ASSERT_NE(installed, RecordingHandler);

  XErrorEvent error{};
  error.type = 0;
  error.error_code = BadWindow;
  error.request_code = X_SendEvent;
  EXPECT_EQ(installed(nullptr, &error), 0);
  EXPECT_EQ(passedOn, 0);

  error.request_code = X_ChangeProperty;  // a bad window elsewhere is a real fault
  installed(nullptr, &error);
  error.error_code = BadMatch;
  error.request_code = X_SendEvent;
  installed(nullptr, &error);
  EXPECT_EQ(passedOn, 2);
}

}  // namespace
}  // namespace platform
#endif
