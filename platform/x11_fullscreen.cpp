// Kept apart from the rest of the platform because the X11 headers define macros (None,
// Status, Bool) that must not reach other code.
#include "platform/x11_fullscreen.h"

#include <SDL_syswm.h>

namespace platform {

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
