// Shell: what a screen asks of the program around it beyond drawing (which goes through its
// widgets::WidgetHost). The main window implements it; tests implement it to watch and answer.
#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/file_dialog.h"
#include "dialogs/form_host.h"
#include "dialogs/message_dialog.h"
#include "widgets/tw_control.h"

namespace screens {

class Shell {
 public:
  virtual ~Shell() = default;

  // A named sound of the sound archive, only while sound effects are on.
  virtual void PlaySound(std::string_view entryName) = 0;
  // The game's modal message (button sets, icons and answers of dialogs/message_dialog.h).
  virtual int ShowMessage(std::string_view title, std::string_view text, int buttons, int icon) = 0;
  // Opens the player's manual; nothing happens when it cannot be opened.
  virtual void ShowHelp() = 0;
  virtual void Minimise() = 0;
  // Closes the main window, asking first whether the player really wants to exit.
  virtual void CloseMainWindow() = 0;
  // Ends the program at once, without asking.
  virtual void Terminate() = 0;
  // Asks for the game screen on the next tick (the menu's way out).
  virtual void RequestGameScreen() = 0;
  // The two click sounds buttons point at (1 crisp, 2 soft).
  virtual widgets::SoundSlot ClickSound(int which) const = 0;
  // Where a screen's own dialogs are shown.
  virtual dialogs::FormHost& Forms() = 0;
  // The one file dialog, shared by the menu and the game screen; none before the window's
  // first activation.
  virtual dialogs::TFileDlg* FileDialog() = 0;
  // The Options dialog over the screen; what the player chose there takes effect at once.
  virtual void ShowOptions() = 0;
  // A short line drawn over the window for a few seconds, without stopping anything (a failed
  // autosave, a screenshot written).
  virtual void ShowScreenNotice(std::string_view text) = 0;
  // The player zoomed the map to this scale (in percent), to be kept in the settings.
  virtual void MapScaleChosen(int /*percent*/) {}
};

}  // namespace screens
