// TOptionsDlg: the player's options in one dialog: sound effects on or off, their volume, full
// screen or a window, and how often the game saves itself. Each setting is a row of a label and
// buttons that show its value; a click (or the label's underlined letter) changes it. "&Ok" or
// Enter takes the choice; "&Cancel" and the close box leave everything as it was.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"

namespace dialogs {

struct OptionsChoice {
  bool soundEffects = true;
  int effectsVolume = 100;
  bool fullScreen = true;
  int autosaveMinutes = 5;
};

// The volume moves in steps of this many percent, from 0 to 100.
constexpr int kVolumeStep = 10;
// The autosave intervals offered, in minutes of running play; 0 is off.
inline constexpr std::array<int, 4> kAutosaveChoices = {0, 2, 5, 10};

// The next (or previous) step of the volume, landing on the steps from any value.
int LouderVolume(int percent);
int QuieterVolume(int percent);
// The next (or previous) autosave interval after any number of minutes, around the end.
int NextAutosave(int minutes);
int PreviousAutosave(int minutes);
// How a value shows on its button or label.
std::string VolumeCaption(int percent);
std::string AutosaveCaption(int minutes);

class TOptionsDlg final : public TModalDialog {
 public:
  explicit TOptionsDlg(FormHost& host);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  // Shows the dialog with `current`; the edited choice when the player took it with Ok or
  // Enter, nothing when they cancelled or closed it.
  std::optional<OptionsChoice> Choose(const OptionsChoice& current);
  // The choice as the dialog shows it now.
  const OptionsChoice& choice() const { return choice_; }

  void Command(std::int32_t code) override;

  TSButton& soundButton() const { return *sound_; }
  TSButton& quieterButton() const { return *quieter_; }
  TSButton& louderButton() const { return *louder_; }
  TSLabel& volumeLabel() const { return *volume_; }
  TSButton& displayButton() const { return *display_; }
  TSButton& autosaveButton() const { return *autosave_; }
  TSButton& okButton() const { return *ok_; }
  TSButton& cancelButton() const { return *cancel_; }
  const std::array<std::unique_ptr<TSLabel>, 4>& rowLabels() const { return labels_; }

 protected:
  void FormKeyDown(std::uint16_t key, platform::ShiftState shift) override;

 private:
  // Writes the choice into the buttons' captions and the volume's label, and shows them.
  void ShowChoice();

  OptionsChoice choice_;
  std::array<std::unique_ptr<TSLabel>, 4> labels_;
  std::unique_ptr<TSButton> sound_;
  std::unique_ptr<TSButton> quieter_;
  std::unique_ptr<TSLabel> volume_;
  std::unique_ptr<TSButton> louder_;
  std::unique_ptr<TSButton> display_;
  std::unique_ptr<TSButton> autosave_;
  std::unique_ptr<TSButton> ok_;
  std::unique_ptr<TSButton> cancel_;
};

}  // namespace dialogs
