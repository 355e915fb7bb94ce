#include "widgets/tw_menu_button.h"

#include "app/main_wnd.h"
#include "gfx/draw.h"

namespace widgets {

void TWMenuButton::Draw() {
  const gfx::WBitmap* image = PictureIn(picture);
  if (image == nullptr || app::MainWnd == nullptr || !app::MainWnd->backBuffer ||
      !app::MainWnd->scratch || !app::MainWnd->appVideo)
    return;
  const gfx::FracRect area = parent != nullptr ? parent->rect : gfx::FracRect{};
  gfx::DrawSkinnedPanel(*app::MainWnd->backBuffer, rect, *image, *app::MainWnd->scratch, nullptr,
                        area, state() * image->framesPerRow + cellIndex, *app::MainWnd->appVideo);
}

}  // namespace widgets
