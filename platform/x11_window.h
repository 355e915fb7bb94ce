// What the platform does on X11 beside SDL: full screen without SDL's wait for the window
// manager, and no exit over an X protocol error.
#pragma once

#include <SDL.h>

namespace platform {

// Marks a window that is not mapped yet as full-screen the way a window manager reads it when
// the window is mapped (the EWMH state _NET_WM_STATE_FULLSCREEN). Returns false when the
// window is not an X11 window; the caller then asks SDL for full screen instead.
bool MarkFullscreenBeforeMapping(SDL_Window* window);

// Whether a window manager that follows the EWMH runs on the window's X display (it names
// itself on the root window). Without one nobody carries out a switch to full screen; the
// window then covers the screen by itself. True for windows that are not X11 windows.
bool WindowManagerRuns(SDL_Window* window);

// Installs, once and before SDL opens the display, an X error handler in place of Xlib's own,
// which ends the program (and the colony with it) over any protocol error. Ours writes one line
// on stderr for each of the first kXErrorsReported errors, one more when it stops, and goes on;
// the error of a message sent to a window that has just closed is dropped without a word. Only
// a connection that is lost for good (Xlib's I/O error handler) still ends the game.
void SurviveXErrors();
inline constexpr int kXErrorsReported = 20;

}  // namespace platform
