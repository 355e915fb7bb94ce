// TPanelControl: the left half of the game screen's top strip: the eight category tabs,
// "Earth Comm", the info area above them (the five item buttons of a building category, the
// Status page or the Information page, with "Delete building" on the latter), and the
// minimap.
#pragma once

#include <array>
#include <memory>

#include "gfx/font.h"
#include "screens/game_pictures.h"
#include "screens/shell.h"
#include "sim/colony.h"
#include "widgets/tw_menu_button.h"
#include "widgets/tw_panel.h"
#include "widgets/tw_speed_button.h"
#include "widgets/tw_tool_button.h"
#include "world/world_iso3d.h"

namespace screens {

// An item of the building palette. While it cannot be built for want of people it is drawn
// disabled with "Insufficient" and "people" over it.
class PaletteItemButton final : public widgets::TWMenuButton {
 public:
  explicit PaletteItemButton(widgets::TWControl* parent) : TWMenuButton(parent) {}
  void Draw() override;
};

class TPanelControl final : public widgets::TWPanel {
 public:
  TPanelControl(widgets::TWControl* screen, const GamePictures& pictures, const sim::Colony& colony,
                const Shell& shell);

  // The background, the page of the chosen category and the minimap; the buttons follow as
  // children.
  void Draw() override;
  void Relayout() override;
  // Chooses the palette or a page by the colony's category and draws it; shows the whole
  // area at once when asked.
  void DrawInfoArea(bool present);
  // The minimap shown in the panel; none until the screen has its map.
  void SetMap(world::WorldIso3D* map) { map_ = map; }
  // Shows the tab of a category pressed (and no other), as a press would, without its command.
  void ShowCategoryPressed(std::int32_t category);
  // "Earth Comm" enabled exactly when the colony has contact, redrawn when that changed.
  void FollowEarthContact();

  std::array<widgets::TWToolButton*, 8> tabs{};
  widgets::TWToolButton* earthCommButton = nullptr;
  std::array<PaletteItemButton*, 5> items{};
  widgets::TWSpeedButton* deleteButton = nullptr;
  gfx::IntRect infoAreaPixels;

 private:
  void ConfigurePalette();
  void ConfigureDeleteButton(bool shown);

  const GamePictures& pictures_;
  const sim::Colony& colony_;
  world::WorldIso3D* map_ = nullptr;
  std::unique_ptr<gfx::Font> panelFont_;
};

}  // namespace screens
