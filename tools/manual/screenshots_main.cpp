// redhollow-screenshots OUTDIR [WIDTHxHEIGHT]
// Writes what a player sees, for the README: OUTDIR/screen-menu.png (the title screen),
// OUTDIR/dialog-options.png (the Options dialog over it), OUTDIR/screen-colony.png (a colony of
// about twenty structures, built through the game's own commands and grown for a while),
// OUTDIR/dialog-history.png (that colony's history, opened with H) and
// OUTDIR/screen-zoom-out.png (the same colony at 50 %), drawn by the game on the headless
// platform from the current folder's archives.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/manual/headless_game.h"

namespace {

bool ParseSize(const std::string& text, gfx::AppVideo& size) {
  int w = 0, h = 0;
  if (std::sscanf(text.c_str(), "%dx%d", &w, &h) != 2 || w < 320 || h < 240 || w > 7680 || h > 4320)
    return false;
  size = {w, h};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  gfx::AppVideo size{1024, 768};
  if (argc < 2 || argc > 3 || (argc == 3 && !ParseSize(argv[2], size))) {
    std::fprintf(stderr, "usage: redhollow-screenshots OUTDIR [WIDTHxHEIGHT]\n");
    return 2;
  }
  const std::filesystem::path out = std::filesystem::absolute(argv[1]);
  manual::HeadlessGame game(size);
  if (!manual::WritePicture(game.Window(), out / "screen-menu.png")) return 1;
  if (!manual::WritePicture(game.CaptureDialog([&] { game.window().ShowOptions(); }),
                            out / "dialog-options.png"))
    return 1;
  game.StartSampleColony();
  if (!manual::WritePicture(game.Window(), out / "screen-colony.png")) return 1;
  if (!manual::WritePicture(game.CaptureDialog([&] { game.game().ShowHistory(); }),
                            out / "dialog-history.png"))
    return 1;
  if (!manual::WritePicture(game.ZoomedOut(2), out / "screen-zoom-out.png")) return 1;
  // The colony is meant to stand without a shortage or a refusal; a notice means it did not.
  for (const std::string& text : game.messages())
    std::fprintf(stderr, "redhollow-screenshots: the game said \"%s\"\n", text.c_str());
  return game.messages().empty() ? 0 : 3;
}
