#include "widgets/tw_menu_button.h"

namespace widgets {

void TWMenuButton::Draw() {
  const gfx::WBitmap* image = PictureIn(picture);
  if (image == nullptr) return;
  DrawSkin(nullptr, state() * image->framesPerRow + cellIndex);
}

}  // namespace widgets
