#pragma once

#include <SDL.h>

#include "platform/keys.h"

namespace platform {

// The virtual-key code of an SDL key, or 0 for keys the game has no code for.
std::uint16_t VirtualKeyFromSdl(SDL_Keycode key);
// The shift, alt and ctrl flags of an SDL modifier state.
ShiftState ModifiersFromSdl(std::uint16_t mod);

}  // namespace platform
