#include "widgets/tw_speed_button.h"

#include "app/main_wnd.h"
#include "gfx/draw.h"
#include "widgets/tw_panel.h"

namespace widgets {

void TWSpeedButton::Draw() {
  const gfx::WBitmap* image = PictureIn(picture);
  if (image == nullptr || app::MainWnd == nullptr || !app::MainWnd->backBuffer ||
      !app::MainWnd->scratch || !app::MainWnd->appVideo)
    return;
  const TWPanel* panel = parentPanel();
  const gfx::FracRect area = parent != nullptr ? parent->rect : gfx::FracRect{};
  gfx::DrawSkinnedPanel(*app::MainWnd->backBuffer, rect, *image, *app::MainWnd->scratch,
                        panel != nullptr ? panel->background : nullptr, area, frame(),
                        *app::MainWnd->appVideo);
}

}  // namespace widgets
