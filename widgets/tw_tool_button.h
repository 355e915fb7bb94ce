// TWToolButton: a skinned face (frames 0 up, 1 down, 2 disabled) with an icon centred on it,
// taken from a grid whose row is the state (0 normal, 1 hovered, 2 disabled) and whose
// column is iconIndex. A held or down button shows its icon one pixel right and down.
#pragma once

#include <cstdint>

#include "widgets/tw_control_button.h"

namespace widgets {

class TWToolButton : public TWControlButton {
 public:
  explicit TWToolButton(TWControl* parent) : TWControlButton(parent) {}

  void Draw() override;

  PictureSlot faceSlot = nullptr;
  std::int32_t iconIndex = 0;
};

// What Draw shows for the button's state.
struct ToolButtonLook {
  std::int32_t faceFrame = 0;
  std::int32_t iconRow = 0;
};
ToolButtonLook ToolButtonLookOf(const TWToolButton& button);

}  // namespace widgets
