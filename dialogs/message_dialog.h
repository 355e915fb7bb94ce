// ShowMessageDialog: the one message box of the game. Button sets: 0 Ok, 1 Ok/Cancel,
// 4 Yes/No. Results: 1 Ok, 2 Cancel or the close box, 6 Yes, 7 No.
#pragma once

#include <string>

namespace dialogs {

constexpr int kButtonsOk = 0;
constexpr int kButtonsOkCancel = 1;
constexpr int kButtonsYesNo = 4;

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

// Frames of the dialog icons: the question of a Yes/No choice, a notice.
constexpr int kIconQuestion = 0;
constexpr int kIconNotice = 1;

// icon: a frame of the dialog icons, negative for none.
int ShowMessageDialog(const std::string& title, const std::string& text, int buttons, int icon);

}  // namespace dialogs
