#include "dialogs/about_dialog.h"

namespace dialogs {

TAboutDlg::TAboutDlg(FormHost& host) : TModalDialog(host) {
  background = host.Pictures().dlgBackground.get();
  SetArea(gfx::FracRect::FromSize(0.39f, 0.39f, 0.22f, 0.22f));
  SetCaption("Credits");
  ok_ = std::make_unique<TSButton>(*this);
  ok_->cursor = platform::kCursorHand;
  ok_->Setup(gfx::FracRect::FromSize(0.071f, 0.18f, 0.078f, 0.03f), &host.Pictures().dlgButtons, 0,
             kModalOk, "&Ok");
  const std::string_view lines[3] = {kCreditsTitle, kCreditsRights, kCreditsContact};
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = std::make_unique<TSLabel>(*this);
    labels_[i]->Setup(
        gfx::FracRect::FromSize(0.02f, 0.02f + 0.04f * static_cast<float>(i), 0.18f, 0.04f),
        nullptr, 0, 0, lines[i]);
    labels_[i]->wordWrap = true;
    labels_[i]->alignment = 2;
  }
}

}  // namespace dialogs
