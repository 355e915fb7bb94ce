#include "widgets/tw_speed_button.h"

#include "widgets/tw_panel.h"

namespace widgets {

void TWSpeedButton::Draw() {
  const TWPanel* panel = parentPanel();
  DrawSkin(panel != nullptr ? panel->background : nullptr, frame());
}

}  // namespace widgets
