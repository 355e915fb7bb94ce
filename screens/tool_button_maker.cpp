#include "screens/tool_button_maker.h"

#include <string>

namespace screens {

widgets::TWToolButton* MakeToolButton(widgets::TWPanel* panel, const gfx::FracRect& rect,
                                      ToolButtonLookSlots look, std::int32_t iconIndex,
                                      std::string_view hint, std::int32_t command,
                                      widgets::SoundSlot clickSound) {
  auto* button = widgets::MakeChild<widgets::TWToolButton>(panel);
  button->Setup(rect, look.icons, "", platform::kCursorHand, command);
  button->faceSlot = look.face;
  button->iconIndex = iconIndex;
  button->hint = std::string(hint);
  button->clickSound = clickSound;
  return button;
}

}  // namespace screens
