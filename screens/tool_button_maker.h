// The game screen's skinned tool buttons (the toolbar, the category tabs, "Earth Comm") are
// made alike: a face and a grid of icons, a column of it, a hint, a command and a click.
#pragma once

#include <cstdint>
#include <string_view>

#include "widgets/tw_panel.h"
#include "widgets/tw_tool_button.h"

namespace screens {

struct ToolButtonLookSlots {
  widgets::PictureSlot face;
  widgets::PictureSlot icons;
};

// A push button with the hand cursor, child of panel; callers make toggles of it as needed.
widgets::TWToolButton* MakeToolButton(widgets::TWPanel* panel, const gfx::FracRect& rect,
                                      ToolButtonLookSlots look, std::int32_t iconIndex,
                                      std::string_view hint, std::int32_t command,
                                      widgets::SoundSlot clickSound);

}  // namespace screens
