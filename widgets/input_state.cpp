#include "widgets/input_state.h"

namespace widgets {

TWProcedure* activeProcedure = nullptr;
std::int32_t mouseX = 0;
std::int32_t mouseY = 0;
platform::ShiftState shiftState = 0;
bool clickPending = false;
std::int32_t mouseButton = kNoMouseButton;

}  // namespace widgets
