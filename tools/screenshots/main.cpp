// redhollow-screenshots OUTDIR [WIDTHxHEIGHT]
// Runs the game on the headless platform from the current folder's archives and writes what a
// player sees: OUTDIR/screen-menu.png (the title screen) and OUTDIR/screen-colony.png (a
// colony of about twenty structures, built through the game's own commands and grown for a
// while). The map comes from a fixed seed, so the pictures change only when the game does.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_wnd.h"
#include "gfx/png_file.h"
#include "platform/headless_platform.h"
#include "screens/game_proc.h"
#include "world/random.h"

namespace {

struct Placement {
  sim::StructureType type;
  std::int32_t dx, dy;  // from the landing module
};

// A colony laid out around its landing module: water and power first, then food, homes,
// the happy and serious structures, a highway and the link to Earth.
constexpr Placement kColony[] = {
    {sim::kWaterCondenser, -2, 0}, {sim::kWindPower, -2, -2}, {sim::kWaterWell, 0, -2},
    {sim::kSolarPower, -3, -1},    {sim::kCrops, 2, -2},      {sim::kCrops, 3, -2},
    {sim::kFarm, 3, -1},           {sim::kLittleHouse, 2, 2}, {sim::kLittleHouse, 3, 2},
    {sim::kCountryHouse, 2, 3},    {sim::kFlats, 0, 3},       {sim::kPub, -2, 3},
    {sim::kDisco, -3, 2},          {sim::kHospital, -3, 0},   {sim::kGym, -1, 3},
    {sim::kLoveCenter, 4, 0},      {sim::kPellNet, 0, 2},     {sim::kBatteries, -1, -2},
    {sim::kHighway, 1, 0},         {sim::kHighway, 1, 1},     {sim::kHighway, 1, 2},
    {sim::kHighway, 1, -1},        {sim::kCommCenter, 4, 2},  {sim::kCasino, -1, 4},
};

bool ParseSize(const std::string& text, gfx::AppVideo& size) {
  int w = 0, h = 0;
  if (std::sscanf(text.c_str(), "%dx%d", &w, &h) != 2 || w < 320 || h < 240 || w > 7680 ||
      h > 4320)
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
  std::filesystem::create_directories(out);

  platform::HeadlessPlatform platform(size);
  app::TMainWnd window(platform);
  platform.Activate();
  platform.MoveMouse(size.width / 2, size.height / 2);
  platform.Tick(2);
  if (!gfx::WritePng(platform.window(), (out / "screen-menu.png").string())) return 1;

  world::ProgramRandom().Seed(11);
  window.gameScreen->NewGame();
  window.RequestScreen(app::ScreenGame);
  platform.Tick();
  screens::GameProc& game = *window.gameScreen;
  sim::Colony& colony = game.colony();
  // A colony some years on: enough people to build all of it, and the supplies to keep them.
  sim::AddPeople(colony.State(), 220);
  colony.State().water += 300;
  colony.State().food += 300;
  colony.State().power += 160;
  colony.State().freeHousing += 240;
  const world::CellPos pem{game.land().centerX, game.land().centerY};
  world::CellPos landing = pem;
  for (std::int32_t y = pem.y - 1; y <= pem.y + 1; ++y)
    for (std::int32_t x = pem.x - 1; x <= pem.x + 1; ++x)
      if (const world::MapCell* cell = game.land().CellAt(x, y);
          cell != nullptr && cell->type == sim::kLandingModule)
        landing = {x, y};
  for (const Placement& p : kColony) {
    const std::int32_t x = landing.x + p.dx, y = landing.y + p.dy;
    world::MapCell* cell = game.land().CellAt(x, y);
    if (cell != nullptr) cell->revealMask = world::kRevealAll;
    colony.PlaceStructure(p.type, x, y);
  }
  // Time runs until all but the longest builds stand; the player looks at the Status page.
  colony.Command(sim::kCommandAccelerate);
  platform.Tick(70);
  colony.Command(sim::kCommandPause);
  game.RestoreView();
  platform.MoveMouse(size.width / 2, size.height * 7 / 8);
  game.Redraw();
  if (!gfx::WritePng(platform.window(), (out / "screen-colony.png").string())) return 1;
  // The colony is meant to stand without a shortage or a refusal; a notice means it did not.
  for (const auto& box : platform.messageBoxes)
    std::fprintf(stderr, "redhollow-screenshots: the game said \"%s\"\n", box.text.c_str());
  return platform.messageBoxes.empty() ? 0 : 3;
}
