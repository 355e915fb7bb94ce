// redhollow-manual OUTDIR
// Writes the player's manual, OUTDIR/Pell.html, with the pictures the game draws on the
// headless platform (the title screen, a colony, pages of the info area, dialogs) in
// OUTDIR/manual/, from the current folder's archives. The structure pictures and icons there
// come from the archives through `resarc frames`, which the build runs first.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "dialogs/file_dialog.h"
#include "screens/game_layout.h"
#include "sim/colony.h"
#include "tools/manual/headless_game.h"
#include "tools/manual/manual_html.h"

namespace fs = std::filesystem;

namespace {

constexpr gfx::AppVideo kScreen{1024, 768};

bool Shoot(const manual::HeadlessGame& game, const gfx::IntRect& part, const fs::path& path) {
  return manual::WritePicture(game.Crop(part), path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: redhollow-manual OUTDIR\n");
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  const fs::path pictures = out / "manual";
  const gfx::IntRect leftHalf = gfx::FracToPixels(screens::kPalettePanelRect, kScreen);
  const gfx::IntRect rightHalf = gfx::FracToPixels(screens::kToolPanelRect, kScreen);

  manual::HeadlessGame game(kScreen);
  bool written = manual::WritePicture(game.Window(), pictures / "screen-menu.png");
  written &= manual::WritePicture(game.CaptureDialog([&] { game.window().ShowOptions(); }),
                                  pictures / "dialog-options.png");
  game.StartSampleColony();
  written &= manual::WritePicture(game.Window(), pictures / "screen-colony.png");
  written &= manual::WritePicture(game.ZoomedOut(2), pictures / "screen-zoom-out.png");
  game.ShowCategory(0);
  written &= Shoot(game, leftHalf, pictures / "strip-status.png");
  written &= Shoot(game, rightHalf, pictures / "strip-counters.png");
  game.ShowCategory(4);
  written &= Shoot(game, leftHalf, pictures / "strip-palette.png");
  game.SelectLandingModule();
  written &= Shoot(game, leftHalf, pictures / "strip-information.png");

  // The save dialog over a folder of saved games of its own.
  // A folder of this run's own: the release and the sanitizer build may write their manuals
  // at the same time.
  std::string folder = (fs::temp_directory_path() / "redhollow-manual-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    std::fprintf(stderr, "redhollow-manual: cannot make a folder in %s\n",
                 fs::temp_directory_path().c_str());
    return 1;
  }
  const fs::path saves = folder;
  fs::create_directories(saves / "SAVES");
  for (const char* name : {"first colony.sav", "before the virus.sav", "year 2004.sav"})
    std::ofstream(saves / "SAVES" / name) << "x";
  game.window().startDir = saves.string();
  written &= manual::WritePicture(
      game.CaptureDialog([&] { game.game().Command(nullptr, screens::kCommandSaveGame); }),
      pictures / "dialog-save.png");
  fs::remove_all(saves);

  // Once the Communication Center stands, Earth's report.
  game.RunDays(20);
  written &= manual::WritePicture(
      game.CaptureDialog([&] { game.game().Command(nullptr, sim::kCommandEarthComm); }),
      pictures / "dialog-earth.png");

  std::ofstream page(out / "Pell.html");
  manual::WriteManual(page, {"manual/"});
  page.close();
  if (!page || !written) {
    std::fprintf(stderr, "redhollow-manual: cannot write into %s\n", out.c_str());
    return 1;
  }
  return 0;
}
