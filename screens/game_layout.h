// Where the game screen puts the map: the view below the toolbar across the whole width, and
// the minimap in the toolbar, as fractions of the screen.
#pragma once

#include "gfx/geometry.h"

namespace screens {

inline constexpr gfx::FracRect kGameViewArea{0.0f, 0.12f, 1.0f, 1.0f};
inline constexpr gfx::FracRect kMiniMapArea =
    gfx::FracRect::FromSize(0.4035f, 0.004f, 0.093f, 0.112f);

}  // namespace screens
