// Full screen on X11 without SDL's wait for the window manager.
#pragma once

#include <SDL.h>

namespace platform {

// Marks a window that is not mapped yet as full-screen the way a window manager reads it when
// the window is mapped (the EWMH state _NET_WM_STATE_FULLSCREEN). Returns false when the
// window is not an X11 window; the caller then asks SDL for full screen instead.
bool MarkFullscreenBeforeMapping(SDL_Window* window);

}  // namespace platform
