// Turns raw pointer and key input into the window events the game expects: the shift set
// carries the held buttons, a double click is flagged, and a left click is raised before
// the button-up that ends it. Both backends feed it, so its rules are tested once.
#pragma once

#include "platform/keys.h"
#include "platform/platform.h"

namespace platform {

class InputTranslator {
 public:
  // keyModifiers holds only the shift, alt and ctrl flags.
  void Motion(WindowEvents& to, std::int32_t x, std::int32_t y, ShiftState keyModifiers);
  void ButtonDown(WindowEvents& to, MouseButton button, std::int32_t x, std::int32_t y,
                  ShiftState keyModifiers, bool doubleClick);
  // insideClient: the button came up over the window's client area.
  void ButtonUp(WindowEvents& to, MouseButton button, std::int32_t x, std::int32_t y,
                ShiftState keyModifiers, bool insideClient);
  // The focus went while buttons were held, so their release may never be seen: each comes
  // up now, outside the window (at -1, -1), so nothing stays pressed and nothing is clicked.
  void ReleaseAll(WindowEvents& to);

  ShiftState heldButtons() const { return held_; }
  Point pointer() const { return pointer_; }

 private:
  ShiftState held_ = 0;
  bool leftWentDownInside_ = false;
  Point pointer_;
};

// Alt+F4 asks the window to close, as the window manager's close does.
constexpr bool IsCloseChord(std::uint16_t key, ShiftState modifiers) {
  return key == vk::kF4 && (modifiers & kAltKey) != 0;
}

}  // namespace platform
