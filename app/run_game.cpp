#include "app/run_game.h"

#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <utility>

#include "app/main_wnd.h"
#include "gfx/archive.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/text.h"
#include "widgets/tw_procedure.h"

namespace app {

std::string ArchiveProblems(const std::string& folder) {
  std::string problems;
  bool missing = false;
  bool damaged = false;
  for (const char* name : {gfx::kSoundArchive, gfx::kDialogArchive, gfx::kGameArchive}) {
    const std::string path =
        folder.empty() ? name : (std::filesystem::path(folder) / name).string();
    const std::optional<std::string> fault = gfx::ArchiveFault(path);
    if (!fault) continue;
    problems += "The archive " + path + " " + *fault + ".\n";
    (*fault == gfx::kArchiveMissing ? missing : damaged) = true;
  }
  // Without its archives the game would open on a black screen and stay there.
  if (missing) {
    problems +=
        "Start the game in the folder that holds its archives (an installed game with its "
        "launcher, redhollow), or install it again.\n";
  }
  if (damaged) problems += "Install the game again, or pack a changed archive again.\n";
  if (!problems.empty()) problems.pop_back();
  return problems;
}

namespace {

// Waits for the player to have read the notice: a key, a click or the window's close.
class NoticeReader final : public platform::WindowEvents {
 public:
  void OnKeyDown(std::uint16_t, platform::ShiftState) override { read = true; }
  void OnClick() override { read = true; }
  bool OnCloseQuery() override {
    read = true;
    return false;
  }
  bool read = false;
};

// The game's window says what the system's box could not: the title and the text in white on
// black, in a plain font of its own, since the dialogs' pictures and their dark text need the
// archives. Shown until the player has read it.
void ShowOnWindow(TMainWnd& window, const std::string& title, const std::string& text) {
  constexpr int kTextPixels = 18;
  const std::unique_ptr<gfx::Font> font =
      gfx::Font::Create(widgets::kWindowFontFace, gfx::kFontWeightNormal, kTextPixels);
  if (!font || !window.backBuffer) return;  // nothing to write with: stderr has the text
  gfx::MemVideo& screen = *window.backBuffer;
  gfx::FillRect(screen, screen.bounds(), gfx::kBlack);
  const std::int32_t margin = screen.width() / 10;
  const gfx::IntRect area{margin, screen.height() / 4, screen.width() - margin, screen.height()};
  const std::string notice = title + "\n\n" + text + "\n\nPress Enter to close.";
  gfx::DrawTextInRect(screen, area, notice, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX, gfx::kWhite,
                      font.get());
  window.PresentRect();
  // No screen may start under the notice.
  window.platform().SetTimerInterval(0);
  NoticeReader reader;
  window.platform().RunModalLoop(reader, [&] { return reader.read; });
}

// How the window opens: full screen, or the remembered window.
platform::WindowMode WindowModeOf(const Settings& settings) {
  platform::WindowMode mode;
  mode.fullScreen = settings.fullScreen;
  mode.windowSize = {settings.windowWidth, settings.windowHeight};
  if (settings.windowX && settings.windowY)
    mode.windowPlace = platform::Point{*settings.windowX, *settings.windowY};
  return mode;
}

}  // namespace

int RunGame(platform::Platform& platform, const StartOptions& options) {
  try {
    // The command line holds for this run; it is written only with a later change of settings.
    SettingsStore settings = SettingsStore::LoadUser();
    settings.SetForThisRun(ApplyStartOptions(settings.settings(), options));
    platform.SetWindowMode(WindowModeOf(settings.settings()));
    TMainWnd window(platform, std::move(settings));
    if (const std::string problems = ArchiveProblems(window.startDir); !problems.empty()) {
      // The system's box is a window of its own. Where it cannot be shown (it needs a dialog
      // program or fonts of the X server that not every system has), the game's window says it.
      if (platform.ShowMessageBox(kCannotStartTitle, problems, platform::MessageBoxButtons::Ok) ==
          platform::kResultNone)
        ShowOnWindow(window, kCannotStartTitle, problems);
      return 1;
    }
    platform.RunMessageLoop();
    return 0;
  } catch (const NoDisplayError&) {
    return 1;  // already said on stderr; there is no window to show it in
  } catch (const std::exception& error) {
    platform.ShowMessageBox("Redhollow", error.what(), platform::MessageBoxButtons::Ok);
  } catch (...) {
    platform.ShowMessageBox("Redhollow", "An unexpected error occurred.",
                            platform::MessageBoxButtons::Ok);
  }
  return 1;
}

}  // namespace app
