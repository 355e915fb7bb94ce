// What a player sees of each dialog at 1024 x 768, against stored pictures: a question with
// its icon, a long notice, the file dialog with a list and a name, and the credits. Each is
// compared as the dialog's own rectangle of the window.
#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/about_dialog.h"
#include "dialogs/file_dialog.h"
#include "dialogs/message_dialog.h"
#include "gfx/draw.h"
#include "sim/colony.h"
#include "tests/dialogs/dialog_fixture.h"
#include "tests/support/golden.h"

namespace dialogs_test {
namespace {

class DialogsGolden : public DialogTest {
 protected:
  // The step that compares the top dialog's rectangle of the window, then closes it.
  Step Compare(const std::string& name) {
    return [name](platform::HeadlessPlatform& p, dialogs::TForm& form) {
      const gfx::IntRect r = form.WindowBounds();
      gfx::MemVideo copy(r.Width(), r.Height());
      gfx::CopyRect(p.window(), r, copy, 0, 0);
      EXPECT_TRUE(testing_support::MatchesGolden(copy, name, kTolerance, kBadPixels));
      p.RequestClose();
    };
  }
};

TEST_F(DialogsGolden, AQuestionAndANotice) {
  script = {Compare("dialog_question")};
  dialogs::ShowMessageDialog(*window, "New Game", "Are you sure you want abandon the current game?",
                             dialogs::kButtonsYesNo, dialogs::kIconQuestion);
  script = {Compare("dialog_notice")};
  dialogs::ShowMessageDialog(*window, "Pell Informs:", sim::kTextVirus, dialogs::kButtonsOk,
                             dialogs::kIconNotice);
}

TEST_F(DialogsGolden, TheFileDialogAndTheCredits) {
  const auto folder = std::filesystem::temp_directory_path() / "redhollow-golden-files";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "SAVES");
  for (const char* name : {"first colony.sav", "second.sav", "year 2040.sav"})
    std::ofstream(folder / "SAVES" / name) << "x";
  window->startDir = folder.string();
  dialogs::TFileDlg& files = *window->fileDialog;
  files.Prepare(dialogs::kFileModeSave, dialogs::kSavesFolder, dialogs::kSavedGameExtension, 0.5f,
                0.5f);
  script = {[&](auto& p, auto&) {
              const gfx::IntRect list = files.fileList().bounds.Offset(files.ClientBounds().left,
                                                                       files.ClientBounds().top);
              p.Click(list.left + 20, list.top + 4);
              p.MoveMouse(5, 5);
            },
            Compare("dialog_file_save")};
  files.ShowModal();
  std::filesystem::remove_all(folder);

  dialogs::TAboutDlg credits(*window);
  script = {Compare("dialog_credits")};
  credits.ShowModal();
}

}  // namespace
}  // namespace dialogs_test
