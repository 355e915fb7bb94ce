// Kept apart from the rest of the platform because the X11 headers define macros (None,
// Status, Bool) that must not reach other code.
#include "platform/x11_window.h"

#include <SDL_syswm.h>

#include <cstdio>
#include <string>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xproto.h>
#endif

namespace platform {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

int errorsSeen = 0;

// Xlib's name of an error code, without the explanation it adds ("BadWindow").
std::string ErrorName(Display* display, int code) {
  char text[128] = "";
  if (display != nullptr) XGetErrorText(display, code, text, sizeof text);
  const std::string described = text;
  const std::string name = described.substr(0, described.find(' '));
  return name.empty() ? "error " + std::to_string(code) : name;
}

// A core request by number and Xlib's name ("42 (X_SetInputFocus)"); an extension's request by
// its major and minor numbers, since naming it would take a request to the server.
std::string RequestName(Display* display, const XErrorEvent& error) {
  const std::string number = std::to_string(error.request_code);
  if (error.request_code >= 128) return number + "." + std::to_string(error.minor_code);
  char name[64] = "";
  if (display != nullptr)
    XGetErrorDatabaseText(display, "XRequest", number.c_str(), "", name, sizeof name);
  return name[0] != 0 ? number + " (" + name + ")" : number;
}

int OnXError(Display* display, XErrorEvent* error) {
  // SDL wakes its own wait for events by sending a message to the window over a second
  // connection. When the game quits, the window can be destroyed before the server reads that
  // message; the error then comes back as SDL closes the display. Nobody is left to miss it.
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  // Any other error is a request that failed, not a lost game: the window may miss one
  // change, and the player keeps the colony. A stream of them (one every tick) is cut short.
  ++errorsSeen;
  if (errorsSeen <= kXErrorsReported) {
    std::fprintf(stderr, "X error: %s on request %s, ignored\n",
                 ErrorName(display, error->error_code).c_str(),
                 RequestName(display, *error).c_str());
  } else if (errorsSeen == kXErrorsReported + 1) {
    std::fprintf(stderr, "X error: more errors follow and are not reported\n");
  }
  return 0;
}

}  // namespace
#endif

void SurviveXErrors() {
#if defined(SDL_VIDEO_DRIVER_X11)
  // SDL puts its own handler on top when it opens a display; it hands every error on to the
  // one it found (this one) and puts this one back when it closes the display. The same
  // handler serves the connection of SDL's message box.
  static const bool installed = [] {
    XSetErrorHandler(OnXError);
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

bool WindowManagerRuns(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return true;
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &after, &data);
  const bool named = status == Success && type == XA_WINDOW && format == 32 && count == 1;
  if (data != nullptr) XFree(data);
  return named;
#else
  (void)window;
  return true;
#endif
}

}  // namespace platform
