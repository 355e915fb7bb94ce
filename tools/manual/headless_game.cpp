#include "tools/manual/headless_game.h"

#include "dialogs/message_dialog.h"
#include "gfx/draw.h"
#include "gfx/png_file.h"
#include "world/random.h"

namespace manual {

namespace {

struct Placement {
  sim::StructureType type;
  std::int32_t dx, dy;  // from the landing module
};

// A colony laid out around its landing module: water and power first, then food, homes,
// the happy and serious structures, a highway and the link to Earth.
constexpr Placement kSampleColony[] = {
    {sim::kWaterCondenser, -2, 0}, {sim::kWindPower, -2, -2}, {sim::kWaterWell, 0, -2},
    {sim::kSolarPower, -3, -1},    {sim::kCrops, 2, -2},      {sim::kCrops, 3, -2},
    {sim::kFarm, 3, -1},           {sim::kLittleHouse, 2, 2}, {sim::kLittleHouse, 3, 2},
    {sim::kCountryHouse, 2, 3},    {sim::kFlats, 0, 3},       {sim::kPub, -2, 3},
    {sim::kDisco, -3, 2},          {sim::kHospital, -3, 0},   {sim::kGym, -1, 3},
    {sim::kLoveCenter, 4, 0},      {sim::kPellNet, 0, 2},     {sim::kBatteries, -1, -2},
    {sim::kHighway, 1, 0},         {sim::kHighway, 1, 1},     {sim::kHighway, 1, 2},
    {sim::kHighway, 1, -1},        {sim::kCommCenter, 4, 2},  {sim::kCasino, -1, 4},
};

}  // namespace

HeadlessGame::HeadlessGame(gfx::AppVideo size) : size_(size), platform_(size) {
  // The manual's pictures are the same for everyone, whatever the builder's own settings.
  window_ = std::make_unique<app::TMainWnd>(platform_, app::SettingsStore::InMemory());
  platform_.onModalIdle = [this](platform::HeadlessPlatform& p) { Answer(p); };
  platform_.Activate();
  // Below the title screen's buttons, so that none shows hovered.
  platform_.MoveMouse(size.width / 2, size.height * 7 / 8);
  platform_.Tick(2);
}

HeadlessGame::~HeadlessGame() = default;

void HeadlessGame::Answer(platform::HeadlessPlatform& p) {
  dialogs::TForm* form = window_->topForm();
  if (form == nullptr) return;
  if (auto* message = dynamic_cast<dialogs::TMessageDialog*>(form)) {
    messages_.push_back(message->text());
    p.PressKey(message->buttons() == dialogs::kButtonsYesNo ? 'N' : 'O');
    return;
  }
  if (otherDialog_) otherDialog_(p, *form);
}

void HeadlessGame::StartColony(std::uint64_t seed) {
  world::ProgramRandom().Seed(seed);
  window_->gameScreen->NewGame();
  window_->RequestScreen(app::ScreenGame);
  platform_.Tick();
  platform_.MoveMouse(size_.width / 2, size_.height * 7 / 8);
}

void HeadlessGame::StartSampleColony() {
  StartColony(11);
  GrowSampleColony(70);
}

void HeadlessGame::GrowSampleColony(std::int32_t days) {
  sim::Colony& colony = game().colony();
  // A colony some years on: enough people to build all of it, and the supplies to keep them.
  sim::AddPeople(colony.State(), 220);
  colony.State().water += 300;
  colony.State().food += 300;
  colony.State().power += 160;
  colony.State().freeHousing += 240;
  world::Land& land = game().land();
  const world::CellPos landing = LandingModule();
  for (const Placement& p : kSampleColony) {
    const std::int32_t x = landing.x + p.dx, y = landing.y + p.dy;
    if (world::MapCell* cell = land.CellAt(x, y)) cell->revealMask = world::kRevealAll;
    colony.PlaceStructure(p.type, x, y);
  }
  RunDays(days);
}

void HeadlessGame::RunDays(std::int32_t days) {
  game().Command(nullptr, sim::kCommandAccelerate);
  platform_.Tick(days);
  game().Command(nullptr, sim::kCommandPause);
  game().RestoreView();
  platform_.MoveMouse(size_.width / 2 + 1, size_.height * 7 / 8);
  game().Redraw();
}

void HeadlessGame::ShowCategory(std::int32_t category) {
  game().Command(nullptr, sim::kCommandFirstCategory + category);
  game().palettePanel->ShowCategoryPressed(category);
  game().Redraw();
}

void HeadlessGame::SelectLandingModule() {
  const world::CellPos landing = LandingModule();
  game().colony().SelectCell(landing.x, landing.y);
  ShowCategory(1);
}

world::CellPos HeadlessGame::LandingModule() {
  const world::Land& land = game().land();
  for (std::int32_t y = 0; y < land.rows; ++y)
    for (std::int32_t x = 0; x < land.columns; ++x)
      if (land.CellAt(x, y)->type == sim::kLandingModule) return {x, y};
  return {land.centerX, land.centerY};
}

gfx::MemVideo HeadlessGame::CaptureDialog(const std::function<void()>& open) {
  gfx::MemVideo captured(1, 1);
  otherDialog_ = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    captured = Crop(form.WindowBounds());
    p.RequestClose();
  };
  open();
  otherDialog_ = nullptr;
  return captured;
}

gfx::MemVideo HeadlessGame::ZoomedOut(std::int32_t steps) {
  const gfx::IntRect view = game().worldMap().viewRect;
  const std::int32_t x = view.left + view.Width() / 2;
  const std::int32_t y = view.top + view.Height() / 2;
  platform_.TurnWheel(-steps, x, y);
  gfx::MemVideo picture = Crop(platform_.window().bounds());
  platform_.TurnWheel(steps, x, y);
  return picture;
}

gfx::MemVideo HeadlessGame::Crop(const gfx::IntRect& r) const {
  const gfx::IntRect part = r.Intersect(platform_.window().bounds());
  gfx::MemVideo copy(part.Width(), part.Height());
  gfx::CopyRect(platform_.window(), part, copy, 0, 0);
  return copy;
}

bool WritePicture(const gfx::MemVideo& picture, const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  return gfx::WritePng(picture, path.string());
}

}  // namespace manual
