// The game's two cursors, drawn by the program itself: a white pointing hand with a black
// outline (hot spot at the fingertip, 5, 0) and a bright green map-cell diamond with a dark
// lower edge (hot spot at its centre, 15, 15).
#pragma once

#include "platform/platform.h"

namespace platform {

CursorImage DrawHandCursor();
CursorImage DrawBuildCursor();

}  // namespace platform
