#include "dialogs/options_dialog.h"

#include <algorithm>

namespace dialogs {

namespace {

// The layout, in fractions of the screen: the dialog's size, then places inside it. Each row is
// a label on the left and its value on the right.
constexpr float kWidth = 0.30f;
constexpr float kHeight = 0.26f;
constexpr float kLabelLeft = 0.02f;
constexpr float kLabelWidth = 0.11f;
constexpr float kValueLeft = 0.135f;
constexpr float kValueWidth = 0.145f;
constexpr float kRowHeight = 0.03f;
constexpr std::array<float, 4> kRowTops = {0.025f, 0.07f, 0.115f, 0.16f};
// The volume's row: "Quieter", the value, "Louder", together as wide as a value button.
constexpr float kStepButtonWidth = 0.052f;
constexpr float kVolumeWidth = kValueWidth - 2 * kStepButtonWidth;
// "Ok" and "Cancel", centred at the foot as in the other dialogs.
constexpr float kButtonWidth = 0.078f;
constexpr float kButtonHeight = 0.03f;
constexpr float kButtonTop = kHeight - 0.045f;
constexpr float kButtonGap = 0.008f;

constexpr std::array<std::string_view, 4> kRowCaptions = {
    "&Sound effects:", "Effects volume:", "&Display:", "&Autosave:"};
// The letters the rows' labels underline; they press the row's value button.
constexpr std::uint16_t kSoundKey = 'S';
constexpr std::uint16_t kDisplayKey = 'D';
constexpr std::uint16_t kAutosaveKey = 'A';

enum OptionsCommand : std::int32_t {
  kToggleSound = 20,
  kQuieter = 21,
  kLouder = 22,
  kToggleDisplay = 23,
  kNextAutosave = 24,
};

}  // namespace

int LouderVolume(int percent) {
  percent = std::clamp(percent, 0, 100);
  return std::min(100, (percent / kVolumeStep + 1) * kVolumeStep);
}

int QuieterVolume(int percent) {
  percent = std::clamp(percent, 0, 100);
  return std::max(0, ((percent + kVolumeStep - 1) / kVolumeStep - 1) * kVolumeStep);
}

int NextAutosave(int minutes) {
  for (const int choice : kAutosaveChoices)
    if (choice > minutes) return choice;
  return kAutosaveChoices.front();
}

int PreviousAutosave(int minutes) {
  for (auto it = kAutosaveChoices.rbegin(); it != kAutosaveChoices.rend(); ++it)
    if (*it < minutes) return *it;
  return kAutosaveChoices.back();
}

std::string VolumeCaption(int percent) {
  return std::to_string(percent) + " %";
}

std::string AutosaveCaption(int minutes) {
  if (minutes <= 0) return "Off";
  if (minutes == 1) return "Every minute";
  return "Every " + std::to_string(minutes) + " minutes";
}

TOptionsDlg::TOptionsDlg(FormHost& host) : TModalDialog(host) {
  background = host.Pictures().dlgBackground.get();
  SetArea(
      gfx::FracRect::FromSize((1.0f - kWidth) * 0.5f, (1.0f - kHeight) * 0.5f, kWidth, kHeight));
  SetCaption("Options");
  const PictureSlot strip = &host.Pictures().dlgButtons;
  // Made in the order Tab visits them: the rows from the top, then Ok and Cancel.
  const auto makeButton = [&](const gfx::FracRect& r, std::int32_t code, std::string_view text,
                              std::uint16_t key) {
    auto button = std::make_unique<TSButton>(*this);
    button->cursor = platform::kCursorHand;
    button->Setup(r, strip, 0, code, text);
    if (key != 0) button->hotKey = key;
    return button;
  };
  const auto valueRect = [](std::size_t row, float left, float width) {
    return gfx::FracRect::FromSize(left, kRowTops[row], width, kRowHeight);
  };
  for (std::size_t row = 0; row < labels_.size(); ++row) {
    labels_[row] = std::make_unique<TSLabel>(*this);
    labels_[row]->Setup(valueRect(row, kLabelLeft, kLabelWidth), nullptr, 0, 0, kRowCaptions[row]);
  }
  sound_ = makeButton(valueRect(0, kValueLeft, kValueWidth), kToggleSound, "", kSoundKey);
  quieter_ = makeButton(valueRect(1, kValueLeft, kStepButtonWidth), kQuieter, "&Quieter", 0);
  volume_ = std::make_unique<TSLabel>(*this);
  volume_->Setup(valueRect(1, kValueLeft + kStepButtonWidth, kVolumeWidth), nullptr, 0, 0, "");
  volume_->alignment = 2;
  louder_ = makeButton(valueRect(1, kValueLeft + kStepButtonWidth + kVolumeWidth, kStepButtonWidth),
                       kLouder, "&Louder", 0);
  display_ = makeButton(valueRect(2, kValueLeft, kValueWidth), kToggleDisplay, "", kDisplayKey);
  autosave_ = makeButton(valueRect(3, kValueLeft, kValueWidth), kNextAutosave, "", kAutosaveKey);
  const float okLeft = kWidth * 0.5f - kButtonWidth - kButtonGap;
  ok_ = makeButton(gfx::FracRect::FromSize(okLeft, kButtonTop, kButtonWidth, kButtonHeight),
                   kModalOk, "&Ok", 0);
  cancel_ = makeButton(
      gfx::FracRect::FromSize(kWidth * 0.5f + kButtonGap, kButtonTop, kButtonWidth, kButtonHeight),
      kModalCancel, "&Cancel", 0);
}

std::optional<OptionsChoice> TOptionsDlg::Choose(const OptionsChoice& current) {
  choice_ = current;
  choice_.effectsVolume = std::clamp(choice_.effectsVolume, 0, 100);
  choice_.autosaveMinutes = std::max(choice_.autosaveMinutes, 0);
  ShowChoice();
  if (ShowModal() != kModalOk) return std::nullopt;
  return choice_;
}

void TOptionsDlg::ShowChoice() {
  const auto show = [](ScaledControl& control, std::string text) {
    if (control.caption == text) return;
    control.caption = std::move(text);
    control.Repaint();
  };
  show(*sound_, choice_.soundEffects ? "On" : "Off");
  show(*volume_, VolumeCaption(choice_.effectsVolume));
  show(*display_, choice_.fullScreen ? "Full screen" : "Window");
  show(*autosave_, AutosaveCaption(choice_.autosaveMinutes));
}

void TOptionsDlg::Command(std::int32_t code) {
  switch (code) {
    case kToggleSound:
      choice_.soundEffects = !choice_.soundEffects;
      break;
    case kQuieter:
      choice_.effectsVolume = QuieterVolume(choice_.effectsVolume);
      break;
    case kLouder:
      choice_.effectsVolume = LouderVolume(choice_.effectsVolume);
      break;
    case kToggleDisplay:
      choice_.fullScreen = !choice_.fullScreen;
      break;
    case kNextAutosave:
      choice_.autosaveMinutes = NextAutosave(choice_.autosaveMinutes);
      break;
    default:
      return;
  }
  ShowChoice();
}

void TOptionsDlg::FormKeyDown(std::uint16_t key, platform::ShiftState shift) {
  const bool repeated = (shift & platform::kAutoRepeat) != 0;
  const FormControl* focus = ActiveControl();
  // Enter takes the choice wherever the focus is, but on Cancel, which it presses.
  if (key == platform::vk::kReturn && !repeated) {
    if (focus != cancel_.get()) ModalResult = kModalOk;
    return;
  }
  // The arrows step the value of the row that has the focus.
  const bool left = key == platform::vk::kLeft;
  if (left || key == platform::vk::kRight) {
    if (focus == quieter_.get() || focus == louder_.get()) {
      choice_.effectsVolume =
          left ? QuieterVolume(choice_.effectsVolume) : LouderVolume(choice_.effectsVolume);
    } else if (focus == autosave_.get()) {
      choice_.autosaveMinutes =
          left ? PreviousAutosave(choice_.autosaveMinutes) : NextAutosave(choice_.autosaveMinutes);
    }
    ShowChoice();
    return;
  }
  TModalDialog::FormKeyDown(key, shift);
}

}  // namespace dialogs
