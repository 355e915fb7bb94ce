// The widget layer's program-wide state: the pointer and modifier state that came with the
// last mouse event, the click the window reported and no dispatch has consumed yet, the
// button of the mouse-down being dispatched, and the screen that receives all input.
#pragma once

#include <cstdint>

#include "platform/keys.h"

namespace widgets {

class TWProcedure;

// The screen that receives input, ticks and commands; none before the first screen is shown.
extern TWProcedure* activeProcedure;
// Last pointer position in window client pixels.
extern std::int32_t mouseX;
extern std::int32_t mouseY;
// Modifier and button flags of the last mouse event (platform::kShiftKey ... kDoubleClick).
extern platform::ShiftState shiftState;
// The window reported a click (left button down and up on it) not yet consumed.
extern bool clickPending;
// Button of the mouse-down being dispatched (0 left, 1 right, 2 middle); -1 at other times.
extern std::int32_t mouseButton;

constexpr std::int32_t kNoMouseButton = -1;

}  // namespace widgets
