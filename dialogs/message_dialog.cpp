#include "dialogs/message_dialog.h"

#include "app/main_wnd.h"

namespace dialogs {

// Until the game's own skinned dialog is drawn, the question goes to the platform's
// message box; the signature and the results are already the dialog's.
int ShowMessageDialog(const std::string& title, const std::string& text, int buttons,
                      int /*icon*/) {
  if (app::MainWnd == nullptr) return kResultCancel;
  platform::Platform& platform = app::MainWnd->platform();
  switch (buttons) {
    case kButtonsOk:
      platform.ShowMessageBox(title, text, platform::MessageBoxButtons::Ok);
      return kResultOk;
    case kButtonsYesNo:
      return platform.ShowMessageBox(title, text, platform::MessageBoxButtons::YesNo) ==
                     platform::kResultYes
                 ? kResultYes
                 : kResultNo;
    case kButtonsOkCancel:
      // The platform box has no Cancel; closing it counts as Cancel, as the close box does.
      platform.ShowMessageBox(title, text, platform::MessageBoxButtons::Ok);
      return kResultOk;
    default:
      return kResultCancel;
  }
}

}  // namespace dialogs
