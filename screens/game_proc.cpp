#include "screens/game_proc.h"

#include <algorithm>
#include <array>
#include <utility>

#include "dialogs/file_dialog.h"
#include "screens/game_layout.h"
#include "sim/save_file.h"
#include "widgets/input_state.h"

namespace screens {

namespace {

// Where the pointer resting on the screen's edges scrolls: the edge code (1 top, 2 right,
// 4 bottom, 8 left) to a keypad direction, 0 for none (opposite edges cancel).
constexpr std::array<std::int32_t, 16> kEdgeScroll = {0, 8, 6, 9, 2, 0, 3, 0,
                                                      4, 7, 0, 0, 1, 0, 0, 0};

// The Colony History's key.
constexpr std::uint16_t kHistoryKey = 'H';

constexpr std::string_view kNewGameTitle = "New Game";
constexpr std::string_view kNewGameQuestion = "Are you sure you want abandon the current game?";

bool StrictlyInside(const gfx::IntRect& r, std::int32_t x, std::int32_t y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

}  // namespace

GameProc::GameProc(widgets::WidgetHost& host, Shell& shell)
    : TWProcedure(host), shell_(shell), land_(kGameGridSize), autosave_([&shell] {
        return std::filesystem::path(shell.Forms().StartDirectory() +
                                     std::string(dialogs::kSavesFolder));
      }) {
  worldMap_ = MakeMapView();
  colony_ = std::make_unique<sim::Colony>(land_, world::ProgramRandom(), *this);
  toolPanel = widgets::MakeChild<TPanelTBI>(this, pictures_, colony_->State(), shell);
  palettePanel = widgets::MakeChild<TPanelControl>(this, pictures_, *colony_, shell);
  palettePanel->SetMap(worldMap_.get());
  world::SeedProgramRandomFromClock();
  autosave_.Settled(*colony_);
}

std::unique_ptr<world::WorldIso3D> GameProc::MakeMapView() {
  const gfx::AppVideo screen = host()->ScreenSize();
  world::ScaledSheets* sheets = nullptr;
  if (scaleIndex_ != world::kNativeScaleIndex) {
    std::unique_ptr<world::ScaledSheets>& slot = scaledSheets_[scaleIndex_];
    if (!slot) slot = std::make_unique<world::ScaledSheets>(world::kMapScales[scaleIndex_]);
    sheets = slot.get();
  }
  auto map = std::make_unique<world::WorldIso3D>(
      kGameViewArea, land_, screen,
      world::MapScreen{[this] { return this->host()->Target(); },
                       [this](const gfx::IntRect& r) { this->host()->Present(r); }},
      world::MapPictures{}, sheets);
  map->miniMapRect = gfx::FracToPixels(kMiniMapArea, screen);
  return map;
}

void GameProc::ReplaceMapView() {
  // The old view's surfaces go first: at 3840 x 2160 its map surface alone is 34 MB.
  const world::MapPictures pictures = worldMap_->pictures;
  palettePanel->SetMap(nullptr);
  worldMap_.reset();
  worldMap_ = MakeMapView();
  worldMap_->pictures = pictures;
  palettePanel->SetMap(worldMap_.get());
}

void GameProc::Relayout() {
  TWProcedure::Relayout();
  ReplaceMapView();
  // Shown or not, the view keeps the land's centre; a shown one gets what LoadResources
  // gives it, and the redraw of the whole screen that follows draws it.
  if (visible == 1) {
    // Centring moves a centre by a cell where the view's columns have the other parity; one
    // that no scroll moved since the last resize is taken from what was asked then, so that
    // sizes come and go without the view wandering.
    world::CellPos wanted{land_.centerX, land_.centerY};
    if (relaidCentre_ && relaidCentre_->got == wanted) wanted = relaidCentre_->asked;
    worldMap_->CenterOnCell(wanted.x, wanted.y);
    relaidCentre_ = RelaidCentre{wanted, {land_.centerX, land_.centerY}};
    worldMap_->DrawMiniMap();
  }
}

GameProc::~GameProc() {
  GameProc::ReleaseResources();
  worldMap_.reset();
}

void GameProc::LoadResources() {
  pictures_.LoadPanelPictures();
  earthComm_ = std::make_unique<dialogs::TEarthComm>(shell_.Forms(), pictures_.earthBackground,
                                                     pictures_.earthImage, land_, colony_->State(),
                                                     world::ProgramRandom());
  pictures_.LoadMapPictures();
  worldMap_->pictures = pictures_.MapSlots();
  worldMap_->ForgetAnimationFrames();
  worldMap_->Recentre();
  worldMap_->DrawMiniMap();
  colony_->SetScreenShown(true);
}

void GameProc::ReleaseResources() {
  if (worldMap_) {
    worldMap_->pictures = {};
    worldMap_->ForgetAnimationFrames();
  }
  for (const std::unique_ptr<world::ScaledSheets>& sheets : scaledSheets_) {
    if (sheets) sheets->Clear();
  }
  if (toolPanel != nullptr) toolPanel->background = nullptr;
  if (palettePanel != nullptr) palettePanel->background = nullptr;
  earthComm_.reset();
  history_.reset();
  pictures_.Release();
}

void GameProc::Draw() {
  worldMap_->DrawMap();
  worldMap_->StretchMap();
}

template <typename Replace>
bool GameProc::ReplaceColony(Replace replace, const std::filesystem::path& loadedFrom) {
  Autosave::Copy old = autosave_.ChangedCopy(*colony_);
  if (!replace()) return false;
  newColony_ = false;
  // A new colony's centre is its own, whatever the last resize asked.
  relaidCentre_.reset();
  // Settled first: the old colony's autosave must not take the place of the file just loaded.
  autosave_.Settled(*colony_, loadedFrom);
  if (old) autosave_.Write(std::move(old));
  return true;
}

void GameProc::NewGame() {
  ReplaceColony([this] {
    colony_->NewGame();
    return true;
  });
  StartAtNativeScale();
  FlushChanges();
}

void GameProc::StartAtNativeScale() {
  if (scaleIndex_ == world::kNativeScaleIndex) return;
  Zoom(static_cast<std::int32_t>(world::kNativeScaleIndex) - static_cast<std::int32_t>(scaleIndex_),
       worldMap_->viewRect.left + worldMap_->viewRect.Width() / 2,
       worldMap_->viewRect.top + worldMap_->viewRect.Height() / 2);
}

void GameProc::SetMapScale(int percent) {
  const std::size_t index = world::ScaleIndexOfPercent(percent).value_or(world::kNativeScaleIndex);
  if (index == scaleIndex_) return;
  scaleIndex_ = index;
  zoomCentre_.reset();
  ReplaceMapView();
  if (visible == 1) {
    worldMap_->Recentre();
    worldMap_->DrawMiniMap();
    worldMap_->RefreshAll();
  }
}

void GameProc::Zoom(std::int32_t steps, std::int32_t sx, std::int32_t sy) {
  const auto last = static_cast<std::int32_t>(world::kMapScales.size()) - 1;
  const auto wanted = static_cast<std::size_t>(
      std::clamp(static_cast<std::int32_t>(scaleIndex_) + std::clamp(steps, -last, last), 0, last));
  if (wanted == scaleIndex_) return;
  const world::CellPos now{land_.centerX, land_.centerY};
  world::WorldIso3D::ExactView centre;
  if (zoomCentre_ && zoomCentre_->got == now) {
    centre = zoomCentre_->asked;
  } else {
    const world::ViewPos view = land_.CellToView(now);
    centre = {static_cast<double>(view.u), static_cast<double>(view.v)};
  }
  const world::WorldIso3D::ExactView ground = worldMap_->GroundAt(centre, sx, sy);
  scaleIndex_ = wanted;
  ReplaceMapView();
  const world::WorldIso3D::ExactView asked = worldMap_->CentreFor(ground, sx, sy);
  worldMap_->CenterNear(asked);
  zoomCentre_ = ZoomCentre{asked, {land_.centerX, land_.centerY}};
  relaidCentre_.reset();
  shell_.MapScaleChosen(MapScalePercent());
  if (visible != 1) return;
  worldMap_->DrawMiniMap();
  worldMap_->RefreshAll();
}

void GameProc::MouseWheel(std::int32_t steps, std::int32_t x, std::int32_t y) {
  if (modal != 0 || !StrictlyInside(worldMap_->viewRect, x, y)) return;
  Zoom(steps, x, y);
  // The cell under the pointer is another one now, and so may be the cursor.
  MapMouse(x, y);
  host()->SetCursor(cursorNow);
  FlushChanges();
}

void GameProc::ShowAutosaveNotice() {
  if (const std::optional<std::string> notice = autosave_.TakeNotice())
    shell_.ShowScreenNotice(*notice);
}

void GameProc::RestoreView() {
  // The view is brought in line whatever changed before.
  redrawWholeMap_ = true;
  colony_->RestoreView();
  palettePanel->ShowCategoryPressed(colony_->State().category);
  ShowTimePressed(colony_->State().speed);
  FlushChanges();
}

void GameProc::Tick() {
  colony_->GameTick();
  FlushChanges();
  if (std::exchange(triedAgain_, false)) StartAtNativeScale();
  if (std::exchange(newColony_, false)) autosave_.Settled(*colony_);
  autosave_.Tick(*colony_, colony_->State().speed != sim::kPaused && !colony_->Ended());
  ShowAutosaveNotice();
}

void GameProc::ScrollOrRedrawAnimations() {
  // Whatever the day changed is drawn first, so the animations start from it.
  FlushChanges();
  const platform::Point pointer = host()->PointerPosition();
  const gfx::AppVideo screen = host()->ScreenSize();
  std::size_t edges = 0;
  if (pointer.y == 0) edges += 1;
  if (pointer.x >= screen.width - 1) edges += 2;
  if (pointer.y >= screen.height - 1) edges += 4;
  if (pointer.x == 0) edges += 8;
  const std::int32_t direction = kEdgeScroll[edges];
  if (direction != 0) {
    worldMap_->Scroll(direction);
  } else {
    worldMap_->RedrawAnimations();
  }
}

void GameProc::AfterMouseUpdate() {
  MapMouse(widgets::mouseX, widgets::mouseY);
  StatusPageMouse(widgets::mouseX, widgets::mouseY);
  FlushChanges();
}

void GameProc::StatusPageMouse(std::int32_t x, std::int32_t y) {
  if (colony_->State().category != 0 || !palettePanel->infoAreaPixels.Contains(x, y)) {
    statusPressed_ = false;
    return;
  }
  cursorNow = platform::kCursorHand;
  // Only a press that began on the Status page opens the history: the release of a button
  // that turned the area into the Status page (deleting the selected structure) does not.
  if (widgets::mouseButton == static_cast<std::int32_t>(platform::MouseButton::Left)) {
    statusPressed_ = true;
  } else if (widgets::clickPending && std::exchange(statusPressed_, false)) {
    widgets::clickPending = false;
    PlayClickSound(1);
    ShowHistory();
  }
}

void GameProc::ShowHistory() {
  if (!history_) history_ = std::make_unique<dialogs::THistoryDlg>(shell_.Forms());
  history_->Show(colony_->History());
}

void GameProc::MapMouse(std::int32_t x, std::int32_t y) {
  const bool leftPress =
      widgets::mouseButton == static_cast<std::int32_t>(platform::MouseButton::Left);
  if (StrictlyInside(worldMap_->viewRect, x, y)) {
    const world::CellPos at = worldMap_->CellAtPoint(x, y);
    const world::MapCell* cell = land_.CellAt(at.x, at.y);
    std::int16_t cursorHere = platform::kCursorDefault;
    if (cell != nullptr && cell->type != world::kTypeBareLand) {
      cursorHere = platform::kCursorHand;
    } else if (colony_->CanBuildOn(at.x, at.y)) {
      cursorHere = platform::kCursorBuild;
    }
    cursorNow = cursorHere;
    if (leftPress && cursorHere == platform::kCursorHand) {
      if (colony_->SelectCell(at.x, at.y)) PlayClickSound(1);
    } else if (leftPress && cursorHere == platform::kCursorBuild &&
               colony_->SelectedType() != sim::kLand) {
      colony_->PlaceStructure(colony_->SelectedType(), at.x, at.y);
    }
  }
  const gfx::IntRect& mini = worldMap_->miniMapRect;
  if (StrictlyInside(mini, x, y)) {
    cursorNow = platform::kCursorHand;
    if (leftPress) {
      PlayClickSound(2);
      worldMap_->MiniMapClick(x - mini.left, y - mini.top);
    }
  }
  if (widgets::mouseButton == static_cast<std::int32_t>(platform::MouseButton::Right) &&
      colony_->ClearSelection()) {
    PlayClickSound(2);
  }
}

void GameProc::PlayClickSound(int which) {
  widgets::PlayClickSound(host(), shell_.ClickSound(which));
}

void GameProc::KeyDown(std::uint16_t key, platform::ShiftState /*shift*/) {
  switch (key) {
    case platform::vk::kLeft:
      worldMap_->Scroll(world::ScrollLeft);
      break;
    case platform::vk::kUp:
      worldMap_->Scroll(world::ScrollUp);
      break;
    case platform::vk::kRight:
      worldMap_->Scroll(world::ScrollRight);
      break;
    case platform::vk::kDown:
      worldMap_->Scroll(world::ScrollDown);
      break;
    case kHistoryKey:
      ShowHistory();
      break;
    case platform::vk::kAdd:
    case platform::vk::kOemPlus:
    case platform::vk::kSubtract:
    case platform::vk::kOemMinus: {
      const gfx::IntRect& view = worldMap_->viewRect;
      const bool in = key == platform::vk::kAdd || key == platform::vk::kOemPlus;
      Zoom(in ? 1 : -1, view.left + view.Width() / 2, view.top + view.Height() / 2);
      break;
    }
    default:
      for (std::size_t i = 0; i < kToolbar.size(); ++i) {
        if (kToolbar[i].key == key) {
          widgets::PressByCode(*toolPanel->buttons[i], true);
          break;
        }
      }
      break;
  }
  FlushChanges();
}

void GameProc::Command(widgets::TWControl* /*widget*/, std::int32_t code) {
  switch (code) {
    case kCommandNewGame:
      if (shell_.ShowMessage(kNewGameTitle, kNewGameQuestion, dialogs::kButtonsYesNo,
                             dialogs::kIconQuestion) == dialogs::kResultYes) {
        ReplaceColony([this] {
          colony_->NewGame();
          return true;
        });
        StartAtNativeScale();
      }
      break;
    case kCommandLoadGame:
      if (const auto path = ChooseSavedGame(dialogs::kFileModeLoad)) LoadGame(*path);
      break;
    case kCommandSaveGame:
      if (const auto path = ChooseSavedGame(dialogs::kFileModeSave)) SaveGame(*path);
      break;
    case kCommandHelp:
      shell_.ShowHelp();
      break;
    case kCommandMinimise:
      shell_.Minimise();
      break;
    case kCommandQuit:
      shell_.CloseMainWindow();
      break;
    default:
      colony_->Command(code);
      break;
  }
  FlushChanges();
}

std::optional<std::string> GameProc::ChooseSavedGame(std::int32_t mode) {
  dialogs::TFileDlg* files = shell_.FileDialog();
  if (files == nullptr) return std::nullopt;
  return files->ChooseSavedGame(mode);
}

bool GameProc::LoadGame(const std::string& path) {
  std::string problem;
  ReplaceColony(
      [&] {
        problem = sim::LoadGameFromFile(*colony_, path);
        return problem.empty();
      },
      path);
  FlushChanges();
  if (problem.empty()) return true;
  Notice(sim::kSoundWarning, problem);
  return false;
}

bool GameProc::SaveGame(const std::string& path) {
  const std::string problem = sim::SaveGameToFile(*colony_, path);
  if (problem.empty()) {
    autosave_.Settled(*colony_);
    return true;
  }
  Notice(sim::kSoundWarning, problem);
  return false;
}

void GameProc::ShowTimePressed(std::int32_t speed) {
  if (speed < sim::kPaused || speed > sim::kAccelerated) return;
  widgets::TWToolButton* button = toolPanel->buttons[TimeButtonRow(speed)];
  if (button->down == 1) return;
  button->down = 1;
  widgets::ReleaseGroup(*toolPanel, kTimeGroup, button);
  button->Redraw();
}

// --- what the colony says ---

void GameProc::PlaySound(std::string_view sound) {
  shell_.PlaySound(sound);
}

void GameProc::Notice(std::string_view sound, std::string_view text) {
  FlushChanges();
  shell_.PlaySound(sound);
  shell_.ShowMessage(sim::kNoticeTitle, text, dialogs::kButtonsOk, dialogs::kIconNotice);
}

bool GameProc::Question(std::string_view sound, std::string_view text) {
  FlushChanges();
  shell_.PlaySound(sound);
  const bool yes = shell_.ShowMessage(sim::kNoticeTitle, text, dialogs::kButtonsYesNo,
                                      dialogs::kIconQuestion) == dialogs::kResultYes;
  // Yes to trying again starts a new colony, which starts at the pictures' own scale as every
  // new game does.
  if (yes && text == sim::kTextGameOver) triedAgain_ = true;
  return yes;
}

void GameProc::ShowEarthReport() {
  if (earthComm_) earthComm_->Show();
}

void GameProc::EndProgram() {
  shell_.Terminate();
}

void GameProc::Changed(std::uint32_t changes) {
  pendingChanges_ |= changes;
  if ((changes & sim::kChangedNewMap) != 0) newColony_ = true;
}

void GameProc::CellChanged(std::int32_t x, std::int32_t y) {
  changedCells_.push_back({x, y});
}

void GameProc::FlushChanges() {
  const std::uint32_t changes = pendingChanges_;
  pendingChanges_ = 0;
  const bool wholeMap = redrawWholeMap_;
  redrawWholeMap_ = false;
  // The cells are drawn now or, while the screen is hidden, with everything when it shows.
  std::vector<world::CellPos> cells;
  cells.swap(changedCells_);
  if (changes == 0) return;
  if ((changes & sim::kChangedNewMap) != 0) worldMap_->Recentre();
  // A hidden screen draws nothing; showing it draws everything.
  if (visible != 1) return;

  const bool newMap = (changes & sim::kChangedNewMap) != 0;
  const bool mapChanged =
      (changes & (sim::kChangedMap | sim::kChangedMapRebuild | sim::kChangedSelection)) != 0;
  const sim::ColonyState& state = colony_->State();
  if ((changes & sim::kChangedToolbar) != 0) {
    palettePanel->ShowCategoryPressed(state.category);
    ShowTimePressed(state.speed);
    toolPanel->Redraw();
    palettePanel->Redraw();
  } else {
    if ((changes & sim::kChangedCounters) != 0) toolPanel->DrawCounterBox(true);
    if ((changes & sim::kChangedDate) != 0) toolPanel->DrawDateBox(true);
    if ((changes & (sim::kChangedInfoArea | sim::kChangedPalette)) != 0) {
      palettePanel->ShowCategoryPressed(state.category);
      palettePanel->DrawInfoArea(true);
    }
  }
  if ((changes & sim::kChangedEarthCommButton) != 0) palettePanel->FollowEarthContact();
  // The colony names every cell it changes; a change with none named, a new map and a
  // restored view are drawn whole.
  if (newMap || (mapChanged && (cells.empty() || wholeMap))) {
    worldMap_->DrawMiniMap();
    worldMap_->RefreshAll();
  } else if (mapChanged) {
    worldMap_->RedrawCells(cells);
  }
}

}  // namespace screens
