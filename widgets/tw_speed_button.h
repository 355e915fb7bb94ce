// TWSpeedButton: three frames of one picture (0 normal, 1 hovered, 2 down) over the parent's
// background. It has no disabled look.
#pragma once

#include <cstdint>

#include "widgets/tw_control_button.h"

namespace widgets {

class TWSpeedButton : public TWControlButton {
 public:
  explicit TWSpeedButton(TWControl* parent) : TWControlButton(parent) {}

  void Draw() override;
  std::int32_t frame() const { return down != 0 || pressed != 0 ? 2 : hover; }
};

}  // namespace widgets
