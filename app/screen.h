// What the shell needs of a screen (the main menu or the game screen) to drive it: the
// modal flag that holds back its tick while a dialog runs, the tick, and its keys.
#pragma once

#include <cstdint>

#include "platform/keys.h"

namespace app {

class Screen {
 public:
  virtual ~Screen() = default;
  virtual bool modal() const = 0;
  virtual void Tick() = 0;
  virtual void KeyDown(std::uint16_t key, platform::ShiftState shift) = 0;
};

}  // namespace app
