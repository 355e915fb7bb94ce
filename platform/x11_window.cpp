// Kept apart from the rest of the platform because the X11 headers define macros (None,
// Status, Bool) that must not reach other code.
#include "platform/x11_window.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xproto.h>
#endif

namespace platform {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

XErrorHandler previousHandler = nullptr;

// SDL wakes its own wait for events by sending a message to the window over a second
// connection. When the game quits, the window can be destroyed before the server reads that
// message; the error then comes back as SDL closes the display, and Xlib's handler would end
// a game that was quitting anyway with status 1. Nobody is left to miss the message.
int OnXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

}  // namespace
#endif

void IgnoreMessagesToClosedWindows() {
#if defined(SDL_VIDEO_DRIVER_X11)
  // SDL keeps the handler it finds when it opens the display and puts it back when it closes
  // it, so this one stays in force for every display SDL opens.
  static const bool installed = [] {
    previousHandler = XSetErrorHandler(OnXError);
    return true;
  }();
  (void)installed;
#endif
}

bool MarkFullscreenBeforeMapping(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return false;
  Display* display = info.info.x11.display;
  const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, info.info.x11.window, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&fullscreen), 1);
  return true;
#else
  (void)window;
  return false;
#endif
}

}  // namespace platform
