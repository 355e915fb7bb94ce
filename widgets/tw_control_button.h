// TWControlButton: a push button, a free toggle, or one toggle of a group of which exactly
// one is down (toggles of the same non-zero group in the same panel). It draws nothing
// itself; TWToolButton, TWSpeedButton and TWMenuButton differ only in how they draw.
#pragma once

#include <cstdint>

#include "widgets/tw_control.h"

namespace widgets {

class TWPanel;

class TWControlButton : public TWControl {
 public:
  explicit TWControlButton(TWControl* parent);

  void Click() override;

  // mode 0 push button, 1 toggle; group 0 = a free toggle.
  void SetToggleMode(std::uint8_t mode, std::int32_t groupNumber, std::uint8_t isDown);

  std::uint8_t toggleMode = 0;
  std::uint8_t down = 0;
  std::int32_t group = 0;

 protected:
  // Frame n of the button's picture as a skinned panel over the background's cut-out (none:
  // no cut-out), in the parent's area; nothing without the picture or the window.
  void DrawSkin(const gfx::WBitmap* background, std::int32_t n);
};

// Lets every other down toggle of the group among the panel's children go up.
void ReleaseGroup(const TWPanel& panel, std::int32_t group, const TWControl* except);

}  // namespace widgets
