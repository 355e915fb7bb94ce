// TPanelTBI: the right half of the game screen's top strip: the calendar box, the counter box
// with the four balances, the population and the growth rate, and the nine toolbar buttons.
#pragma once

#include <array>
#include <memory>

#include "gfx/font.h"
#include "screens/game_pictures.h"
#include "screens/shell.h"
#include "sim/colony_state.h"
#include "widgets/tw_panel.h"
#include "widgets/tw_tool_button.h"

namespace screens {

class TPanelTBI final : public widgets::TWPanel {
 public:
  TPanelTBI(widgets::TWControl* screen, const GamePictures& pictures,
            const sim::ColonyState& colony, const Shell& shell);

  // The background, then the counter box and the calendar box; the buttons follow as children.
  void Draw() override;
  void Relayout() override;
  // Each draws its box from the colony's state, and shows it at once when asked.
  void DrawCounterBox(bool present);
  void DrawDateBox(bool present);

  // The buttons in the order of the toolbar table.
  std::array<widgets::TWToolButton*, 9> buttons{};
  gfx::IntRect DateBox;     // pixels of the screen
  gfx::IntRect CounterBox;  // pixels of the screen

 private:
  const GamePictures& pictures_;
  // The fonts and boxes taken from the screen's size.
  void LayOutBoxes();

  const sim::ColonyState& colony_;
  std::unique_ptr<gfx::Font> panelFont_;
  std::unique_ptr<gfx::Font> calendarFont_;
  std::unique_ptr<gfx::Font> dayFont_;
};

}  // namespace screens
