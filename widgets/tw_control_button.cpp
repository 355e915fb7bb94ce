#include "widgets/tw_control_button.h"

#include "gfx/draw.h"
#include "widgets/tw_panel.h"

namespace widgets {

TWControlButton::TWControlButton(TWControl* parentWidget) : TWControl(parentWidget) {
  SetToggleMode(0, 0, 0);
}

void TWControlButton::DrawSkin(const gfx::WBitmap* background, std::int32_t n) {
  const gfx::WBitmap* image = PictureIn(picture);
  if (image == nullptr || host_ == nullptr) return;
  gfx::MemVideo* target = host_->Target();
  gfx::MemVideo* scratch = host_->Scratch();
  if (target == nullptr || scratch == nullptr) return;
  const gfx::FracRect area = parent != nullptr ? parent->rect : gfx::FracRect{};
  gfx::DrawSkinnedPanel(*target, pixelRect, rect, *image, *scratch, background, area, n);
}

void TWControlButton::SetToggleMode(std::uint8_t mode, std::int32_t groupNumber,
                                    std::uint8_t isDown) {
  toggleMode = mode;
  group = groupNumber;
  down = isDown;
  kind = mode == 0 ? KindPushButton : KindToggleButton;
}

void TWControlButton::Click() {
  if (toggleMode == 1) {
    if (group != 0) {
      // Its held look already was its down look, so going down needs no drawing.
      down = 1;
      if (TWPanel* panel = parentPanel()) ReleaseGroup(*panel, group, this);
    } else {
      down = down != 0 ? 0 : 1;
      if (down == 0) Redraw();
    }
  }
  TWControl::Click();
}

void ReleaseGroup(const TWPanel& panel, std::int32_t group, const TWControl* except) {
  for (const auto& slot : panel.children) {
    if (slot == nullptr || slot->kind != KindToggleButton || slot.get() == except) continue;
    auto& button = static_cast<TWControlButton&>(*slot);
    if (button.group != group || button.down != 1) continue;
    button.down = 0;
    if (button.visible != 0) button.Redraw();
  }
}

}  // namespace widgets
