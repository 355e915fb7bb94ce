// resbuild OUTDIR: paints, quantises and sounds every entry of the game's three resource
// archives and writes res00.dat, res01.dat and res02.dat into OUTDIR, and the game's icon for
// the desktop into OUTDIR/icons/hicolor/.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/resbuild/build.h"
#include "tools/resbuild/icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: resbuild OUTDIR\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const resbuild::BuiltResources resources = resbuild::BuildResources();
    std::string error;
    if (!resbuild::WriteArchives(resources, folder, &error) ||
        !resbuild::WriteIcons(folder / "icons", &error)) {
      std::fprintf(stderr, "resbuild: %s\n", error.c_str());
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "resbuild: %s\n", e.what());
    return 1;
  }
  return 0;
}
