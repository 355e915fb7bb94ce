#include "dialogs/dialog_pictures.h"

#include "gfx/archive.h"

namespace dialogs {

void DialogPictures::Load() {
  dlgBackground = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgBackground, gfx::kDialogArchive, "DlgBkgnd", gfx::LayoutWhole, 0, 0, false);
  dlgButtons = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgButtons, gfx::kDialogArchive, "DlgButton", gfx::LayoutColumn, 128, 48, true);
  dlgIcons = std::make_unique<gfx::WBitmap>();
  gfx::LoadImage(*dlgIcons, gfx::kDialogArchive, "DlgIcon", gfx::LayoutColumn, 64, 64, true);
}

}  // namespace dialogs
