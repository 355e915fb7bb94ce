#include "widgets/tw_tool_button.h"

#include "app/main_wnd.h"
#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "widgets/tw_panel.h"

namespace widgets {

namespace {

// Halves rounded down, also for an icon larger than its face.
std::int32_t HalfDown(std::int32_t v) {
  return v >= 0 ? v / 2 : -((-v + 1) / 2);
}

}  // namespace

ToolButtonLook ToolButtonLookOf(const TWToolButton& button) {
  if (button.enabled == 0) return {2, 2};
  return {button.down != 0 || button.pressed != 0 ? 1 : 0, button.hover};
}

void TWToolButton::Draw() {
  const gfx::WBitmap* face = PictureIn(faceSlot);
  const gfx::WBitmap* icon = PictureIn(picture);
  if (face == nullptr || icon == nullptr) return;
  if (app::MainWnd == nullptr || !app::MainWnd->backBuffer || !app::MainWnd->scratch) return;
  gfx::MemVideo& scratch = *app::MainWnd->scratch;
  const ToolButtonLook look = ToolButtonLookOf(*this);

  const std::int32_t fw = face->layout == gfx::LayoutWhole ? face->width : face->frameWidth;
  const std::int32_t fh = face->layout == gfx::LayoutWhole ? face->height : face->frameHeight;
  const gfx::IntRect composed{0, 0, fw, fh};
  if (const TWPanel* panel = parentPanel(); panel != nullptr && panel->background != nullptr) {
    gfx::StretchImage(scratch, composed, *panel->background,
                      gfx::BackgroundCutOut(rect, panel->rect, panel->background), true);
  }
  gfx::DrawFrame(scratch, *face, 0, 0, look.faceFrame);

  const std::int32_t shift = look.faceFrame == 1 ? 1 : 0;
  const std::int32_t iw = icon->layout == gfx::LayoutWhole ? icon->width : icon->frameWidth;
  const std::int32_t ih = icon->layout == gfx::LayoutWhole ? icon->height : icon->frameHeight;
  gfx::DrawFrame(scratch, *icon, shift + HalfDown(fw - iw), shift + HalfDown(fh - ih),
                 look.iconRow * icon->framesPerRow + iconIndex);

  gfx::StretchRect(scratch, composed, *app::MainWnd->backBuffer, pixelRect, true);
}

}  // namespace widgets
