// The pictures every dialog shares: the background, the button frames and the icons, read
// once at the first activation and kept for the whole run.
#pragma once

#include <memory>

#include "gfx/wbitmap.h"

namespace dialogs {

struct DialogPictures {
  // Reads the three from the dialog archive; a missing one stays an empty picture.
  void Load();

  std::unique_ptr<gfx::WBitmap> dlgBackground;
  std::unique_ptr<gfx::WBitmap> dlgButtons;
  std::unique_ptr<gfx::WBitmap> dlgIcons;
};

}  // namespace dialogs
