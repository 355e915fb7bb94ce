#include "platform/input_translator.h"

namespace platform {

void InputTranslator::Motion(WindowEvents& to, std::int32_t x, std::int32_t y,
                             ShiftState keyModifiers) {
  pointer_ = {x, y};
  to.OnMouseMove(static_cast<ShiftState>(keyModifiers | held_), x, y);
}

void InputTranslator::ButtonDown(WindowEvents& to, MouseButton button, std::int32_t x,
                                 std::int32_t y, ShiftState keyModifiers, bool doubleClick) {
  pointer_ = {x, y};
  held_ |= ButtonFlag(button);
  if (button == MouseButton::Left) leftWentDownInside_ = true;
  ShiftState shift = static_cast<ShiftState>(keyModifiers | held_);
  if (doubleClick) shift |= kDoubleClick;
  to.OnMouseDown(button, shift, x, y);
}

void InputTranslator::ButtonUp(WindowEvents& to, MouseButton button, std::int32_t x, std::int32_t y,
                               ShiftState keyModifiers, bool insideClient) {
  pointer_ = {x, y};
  held_ &= static_cast<ShiftState>(~ButtonFlag(button));
  if (button == MouseButton::Left) {
    const bool click = leftWentDownInside_ && insideClient;
    leftWentDownInside_ = false;
    if (click) to.OnClick();
  }
  to.OnMouseUp(button, static_cast<ShiftState>(keyModifiers | held_), x, y);
}

void InputTranslator::ReleaseAll(WindowEvents& to) {
  leftWentDownInside_ = false;
  for (const MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    if ((held_ & ButtonFlag(button)) == 0) continue;
    held_ &= static_cast<ShiftState>(~ButtonFlag(button));
    to.OnMouseUp(button, held_, -1, -1);
  }
}

}  // namespace platform
