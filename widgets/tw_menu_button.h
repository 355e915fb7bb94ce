// TWMenuButton: one cell of a picture grid whose row is the state (0 normal, 1 hovered or
// down, 2 disabled) and whose column is cellIndex; the structure palette is made of them.
#pragma once

#include <cstdint>

#include "widgets/tw_control_button.h"

namespace widgets {

class TWMenuButton : public TWControlButton {
 public:
  explicit TWMenuButton(TWControl* parent) : TWControlButton(parent) {}

  void Draw() override;
  std::int32_t state() const {
    if (enabled == 0) return 2;
    return down != 0 || pressed != 0 ? 1 : hover;
  }

  std::int32_t cellIndex = 0;
};

}  // namespace widgets
