#include "widgets/tw_tool_button.h"

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "widgets/tw_panel.h"

namespace widgets {

ToolButtonLook ToolButtonLookOf(const TWToolButton& button) {
  if (button.enabled == 0) return {2, 2};
  return {button.down != 0 || button.pressed != 0 ? 1 : 0, button.hover};
}

void TWToolButton::Draw() {
  const gfx::WBitmap* face = PictureIn(faceSlot);
  const gfx::WBitmap* icon = PictureIn(picture);
  if (face == nullptr || icon == nullptr) return;
  if (host_ == nullptr || host_->Target() == nullptr || host_->Scratch() == nullptr) return;
  gfx::MemVideo& scratch = *host_->Scratch();
  const ToolButtonLook look = ToolButtonLookOf(*this);

  const auto [fw, fh] = gfx::FrameSize(*face);
  const gfx::IntRect composed{0, 0, fw, fh};
  if (const TWPanel* panel = parentPanel(); panel != nullptr && panel->background != nullptr) {
    gfx::StretchImage(scratch, composed, *panel->background,
                      gfx::BackgroundCutOut(rect, panel->rect, panel->background), true);
  }
  gfx::DrawFrame(scratch, *face, 0, 0, look.faceFrame);

  const std::int32_t shift = look.faceFrame == 1 ? 1 : 0;
  const auto [iw, ih] = gfx::FrameSize(*icon);
  gfx::DrawFrame(scratch, *icon, shift + static_cast<std::int32_t>(gfx::FloorHalf(fw - iw)),
                 shift + static_cast<std::int32_t>(gfx::FloorHalf(fh - ih)),
                 look.iconRow * icon->framesPerRow + iconIndex);

  gfx::StretchRect(scratch, composed, *host_->Target(), pixelRect, true);
}

}  // namespace widgets
