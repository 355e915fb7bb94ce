// The two pages of the info area that are not the building palette: Status (the colony's
// balances, population and growth) and Information (the selected structure: its picture,
// name, days left and a chart of what it does). They draw into the area and present nothing.
#pragma once

#include <cstdint>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "screens/game_layout.h"
#include "screens/game_pictures.h"
#include "sim/colony_state.h"
#include "world/map_cell.h"

namespace screens {

// Where a page draws: the target, the screen the fractions are of, the info area in screen
// fractions, the screen's pictures and the panel's font.
struct InfoPageCanvas {
  gfx::MemVideo& target;
  gfx::AppVideo screen;
  gfx::FracRect area;
  const GamePictures& pictures;
  const gfx::Font* font;

  // A box of the layout, in screen fractions and in pixels.
  gfx::FracRect Frac(const AreaBox& box) const;
  gfx::IntRect Pixels(const AreaBox& box) const;
};

// The value the Status page shows on each balance bar, in the order of kBalanceLabels.
struct BalanceFigures {
  std::int32_t health, mentalHealth, reproduction, communications;
};
BalanceFigures StatusBalances(const sim::ColonyState& colony);

void DrawStatusPage(const InfoPageCanvas& canvas, const sim::ColonyState& colony);
// cell: the selected cell, or null when none is selected.
void DrawInformationPage(const InfoPageCanvas& canvas, const world::MapCell* cell);

}  // namespace screens
