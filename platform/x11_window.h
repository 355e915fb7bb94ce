// What the platform does on X11 beside SDL: full screen without SDL's wait for the window
// manager, and no exit over a message to a window that has just closed.
#pragma once

#include <SDL.h>

namespace platform {

// Marks a window that is not mapped yet as full-screen the way a window manager reads it when
// the window is mapped (the EWMH state _NET_WM_STATE_FULLSCREEN). Returns false when the
// window is not an X11 window; the caller then asks SDL for full screen instead.
bool MarkFullscreenBeforeMapping(SDL_Window* window);

// Installs, once and before SDL opens the display, an X error handler that drops the error of
// a message sent to a window that no longer exists and passes every other error on to the
// handler that was there before (Xlib's own ends the program).
void IgnoreMessagesToClosedWindows();

}  // namespace platform
