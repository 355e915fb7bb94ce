// TFileDlg: the game's own dialog for naming a saved game: a name field, the list of the
// games already in the folder, and "&Load" or "&Save" beside "&Cancel". It knows one folder
// and one extension per use; the caller reads `path` after the dialog ended with 1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogs/edit_controls.h"
#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"

namespace dialogs {

constexpr std::int32_t kFileModeLoad = 0;
constexpr std::int32_t kFileModeSave = 1;
// The folder of the saved games below the start directory, and their extension.
inline constexpr std::string_view kSavesFolder = "/SAVES/";
inline constexpr std::string_view kSavedGameExtension = "sav";
// The longest name the dialog takes, in bytes.
constexpr std::size_t kLongestSaveName = 200;

// Why a typed name cannot name a file in the folder, or an empty text when it can.
std::string RefusedSaveName(std::string_view name);

// The game's own saves in the folder: autosave-1 .. autosave-3, which it replaces in turn. The
// player may load them but not save under their names, so no named save is ever replaced by
// an autosave.
constexpr int kAutosaveSlots = 3;
std::string AutosaveName(int slot);
bool IsAutosaveName(std::string_view name);

// The saved games in a folder, named by their own bytes without their extension: the
// autosaves first, the newest first, then the others in the order of those bytes. The
// extension must match exactly, as the path the dialog makes of a name will; hidden files are
// left out. A folder that is missing or cannot be read lists nothing.
std::vector<std::string> ListSavedGames(const std::filesystem::path& folder,
                                        std::string_view extension);

// What the name field stands for. A name picked from the list is a file's own bytes, which
// need not be UTF-8: the field shows them as well as it can, and as long as the field shows
// exactly that, the name is the file's. Anything typed or changed is the field's text, UTF-8.
class SaveNameChoice {
 public:
  void Pick(std::string fileName, std::string shown) {
    picked_ = std::move(fileName);
    shown_ = std::move(shown);
  }
  void Forget() { Pick({}, {}); }
  bool IsPicked(std::string_view fieldText) const {
    return !picked_.empty() && fieldText == shown_;
  }
  // The name the field's text stands for.
  std::string NameFor(std::string_view fieldText) const {
    return IsPicked(fieldText) ? picked_ : std::string(fieldText);
  }

 private:
  std::string picked_;
  std::string shown_;
};

class TFileDlg final : public TModalDialog {
 public:
  explicit TFileDlg(FormHost& host);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  // Centres the dialog at (centreX, centreY) of the screen and sets what it is for.
  void Prepare(std::int32_t fileMode, std::string_view saveFolder, std::string_view fileExtension,
               float centreX, float centreY);
  // Shows the dialog in the middle of the screen for a saved game of the game's folder, after
  // clearing away what interrupted saves left there; the chosen file's path, or none when the
  // player cancelled.
  std::optional<std::string> ChooseSavedGame(std::int32_t fileMode);
  // An empty name, the action named by the mode, and the folder's saved games listed.
  void PrepareContents() override;
  void DrawContents() override;
  // The action button's code runs Accept.
  void Command(std::int32_t code) override;
  // Takes the typed name: ends the dialog with 1, or asks, or says what is wrong.
  void Accept();

  std::int32_t mode = kFileModeLoad;
  std::string path;
  std::string folder;
  std::string extension;

  TSButton& actionButton() const { return *action_; }
  TSButton& cancelButton() const { return *cancel_; }
  TListBox& fileList() const { return *list_; }
  TEdit& nameEdit() const { return *name_; }

 private:
  void LayOut() override;
  // The name field and the list, which are placed in pixels, with the dialog's font.
  void PlaceFields();

  std::unique_ptr<TSButton> action_;
  std::unique_ptr<TSButton> cancel_;
  std::unique_ptr<TListBox> list_;
  std::unique_ptr<TEdit> name_;
  SaveNameChoice choice_;
};

}  // namespace dialogs
