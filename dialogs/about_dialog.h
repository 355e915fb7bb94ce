// TAboutDlg: the credits, three centred lines and "&Ok" on the dialog background.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"

namespace dialogs {

inline constexpr std::string_view kCreditsTitle = "Redhollow (Version 2.0)";
inline constexpr std::string_view kCreditsRights = "\u00A9 2026 The Redhollow team";
inline constexpr std::string_view kCreditsContact =
    "Source, news and bug reports: the project's source home";

class TAboutDlg final : public TModalDialog {
 public:
  explicit TAboutDlg(FormHost& host);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  TSButton& okButton() const { return *ok_; }
  const std::array<std::unique_ptr<TSLabel>, 3>& labels() const { return labels_; }

 private:
  std::unique_ptr<TSButton> ok_;
  std::array<std::unique_ptr<TSLabel>, 3> labels_;
};

}  // namespace dialogs
