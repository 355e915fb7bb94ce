// GameProc: the game screen. It owns the land, the colony model that changes it and the map
// view that draws it, and the two panels of the top strip; it turns timer ticks into the
// colony's days, the pointer over the map into selecting and building, keys and buttons into
// commands, and everything the colony reports into sounds, notices and redraws.
//
// The colony reports what changed as it goes; the screen gathers those reports and redraws
// each thing once, when the colony hands back control or before a notice is shown (so the
// player sees the state the notice speaks of).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/earth_comm.h"
#include "dialogs/history_dialog.h"
#include "screens/autosave.h"
#include "screens/game_pictures.h"
#include "screens/palette_panel.h"
#include "screens/shell.h"
#include "screens/tool_panel.h"
#include "sim/colony.h"
#include "sim/colony_history.h"
#include "sim/colony_host.h"
#include "widgets/tw_procedure.h"
#include "world/land.h"
#include "world/map_scale.h"
#include "world/random.h"
#include "world/scaled_sheets.h"
#include "world/world_iso3d.h"

namespace screens {

class GameProc final : public widgets::TWProcedure, public sim::ColonyHost {
 public:
  GameProc(widgets::WidgetHost& host, Shell& shell);
  ~GameProc() override;

  // The map view: drawn and stretched below the top strip.
  void Draw() override;
  // The pointer over the map and the minimap: cursor, selecting, building, the minimap click.
  void AfterMouseUpdate() override;
  // Arrow keys scroll; + and - (main keys and keypad) zoom about the view's centre.
  void KeyDown(std::uint16_t key, platform::ShiftState shift) override;
  // Over the map the wheel zooms about the ground under the pointer: up (away) zooms in.
  void MouseWheel(std::int32_t steps, std::int32_t x, std::int32_t y) override;
  // One 40 ms tick: days, animations, edge scrolling.
  void Tick() override;
  void Command(widgets::TWControl* widget, std::int32_t code) override;
  void LoadResources() override;
  void ReleaseResources() override;
  // The panels, and a map view made for the new size around the same centre.
  void Relayout() override;

  // A fresh colony (also the menu's New Game); the screen follows at once when it is shown.
  void NewGame();
  // Brings the buttons and the map view in line with the colony's state.
  void RestoreView();
  // A saved game in place of the running one; a file that cannot be read, or does not hold
  // a sound colony, leaves the running game exactly as it was and says why. True when loaded.
  bool LoadGame(const std::string& path);
  // The file dialog for loading or saving; the chosen path, or none when cancelled.
  std::optional<std::string> ChooseSavedGame(std::int32_t mode);
  // The running game into a file; a failure says why. True when saved.
  bool SaveGame(const std::string& path);
  // Zooms the map by steps of the scales (world/map_scale.h; positive is larger), keeping the
  // ground under the point (sx, sy) of the back buffer there as nearly as centring on whole
  // cells allows; the scale is held to the smallest and the largest. Shown, the map is drawn
  // anew; the shell is told the new scale.
  void Zoom(std::int32_t steps, std::int32_t sx, std::int32_t sy);
  // The scale of the settings at start (a percentage that is no scale is 100 %); the shell is
  // not told.
  void SetMapScale(int percent);
  int MapScalePercent() const { return world::kMapScales[scaleIndex_].percent; }
  // How often the running colony is autosaved, in minutes of play; 0 turns it off.
  void SetAutosaveInterval(int minutes) { autosave_.SetIntervalMinutes(minutes); }
  // The program is about to end: a colony changed since it was last saved is autosaved, and
  // the write is waited for.
  void SaveBeforeQuit() { autosave_.SaveBeforeQuit(*colony_); }
  Autosave& autosave() { return autosave_; }

  // sim::ColonyHost
  void PlaySound(std::string_view sound) override;
  void Notice(std::string_view sound, std::string_view text) override;
  bool Question(std::string_view sound, std::string_view text) override;
  void Changed(std::uint32_t changes) override;
  void CellChanged(std::int32_t x, std::int32_t y) override;
  void ScrollOrRedrawAnimations() override;
  void ShowEarthReport() override;
  void EndProgram() override;

  // The Colony History over the screen (the key H, a click on the Status page), time standing
  // still while it is open.
  void ShowHistory();
  // The dialog, once it was first shown.
  dialogs::THistoryDlg* historyDialog() const { return history_.get(); }

  sim::Colony& colony() { return *colony_; }
  const sim::Colony& colony() const { return *colony_; }
  world::Land& land() { return land_; }
  world::WorldIso3D& worldMap() { return *worldMap_; }
  const GamePictures& pictures() const { return pictures_; }
  dialogs::TEarthComm* earthComm() const { return earthComm_.get(); }

  TPanelTBI* toolPanel = nullptr;
  TPanelControl* palettePanel = nullptr;

 private:
  // The map view for the screen's size and the scale as they are now.
  std::unique_ptr<world::WorldIso3D> MakeMapView();
  // A new map view in place of the old, with its pictures.
  void ReplaceMapView();
  // A new game starts at the design's own scale.
  void StartAtNativeScale();
  // Draws what the colony reported since the last time.
  void FlushChanges();
  void ShowTimePressed(std::int32_t speed);
  void MapMouse(std::int32_t x, std::int32_t y);
  // The pointer over the Status page: a click opens the history.
  void StatusPageMouse(std::int32_t x, std::int32_t y);
  void PlayClickSound(int which);
  // A new colony in place of the running one (`replace` returns whether it took place); the
  // old one is autosaved first when it changed since it was last saved.
  template <typename Replace>
  bool ReplaceColony(Replace replace, const std::filesystem::path& loadedFrom = {});
  void ShowAutosaveNotice();

  Shell& shell_;
  GamePictures pictures_;
  world::Land land_;
  // The map's pictures at each scale other than the design's, made at first use and kept
  // while the pictures are loaded.
  std::array<std::unique_ptr<world::ScaledSheets>, world::kMapScales.size()> scaledSheets_;
  std::size_t scaleIndex_ = world::kNativeScaleIndex;
  std::unique_ptr<world::WorldIso3D> worldMap_;
  std::unique_ptr<sim::Colony> colony_;
  // Earth's report; made with the screen's pictures and gone before them, and before the land
  // and the colony it reads.
  std::unique_ptr<dialogs::TEarthComm> earthComm_;
  // Made when first shown and kept with the screen's pictures, with the view and the lines the
  // player chose.
  std::unique_ptr<dialogs::THistoryDlg> history_;
  // The left button went down on the Status page and has not come up elsewhere.
  bool statusPressed_ = false;
  std::uint32_t pendingChanges_ = 0;
  // The cells the colony named since the last flush, and whether the whole map is to be drawn
  // whatever they are.
  std::vector<world::CellPos> changedCells_;
  bool redrawWholeMap_ = false;
  // The centre the last resize asked of the map view, and the one it got.
  struct RelaidCentre {
    world::CellPos asked;
    world::CellPos got;
  };
  std::optional<RelaidCentre> relaidCentre_;
  // The exact centre the last zoom asked of the map view and the cell it got: while no scroll
  // moved the view since, the next zoom starts from it, so zooming in and out again comes
  // back to the same view.
  struct ZoomCentre {
    world::WorldIso3D::ExactView asked;
    world::CellPos got;
  };
  std::optional<ZoomCentre> zoomCentre_;
  // The colony reported a fresh map that none of the screen's own ways made (a new colony
  // after game over): it is settled as unchanged at the end of the tick.
  bool newColony_ = false;
  // The player answered Yes to trying again after the colony died out.
  bool triedAgain_ = false;
  Autosave autosave_;
};

}  // namespace screens
