// TWProcedure: a whole screen, the root of its widgets. Exactly one is the active procedure;
// it receives every mouse and key event of the window, the timer tick and the command codes
// its widgets send. It holds the host that all its widgets draw through.
//
// A screen loads its pictures in LoadResources on every activation and releases them in
// ReleaseResources on every deactivation. A subclass that loads anything must also call its
// own ReleaseResources from its destructor, because a screen may be destroyed while active
// and the base destructor can only reach the base version.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/font.h"
#include "platform/keys.h"
#include "widgets/tw_panel.h"

namespace widgets {

// The window's own font, which a screen's widgets share until the screen makes its own, and
// which the tooltip uses.
inline constexpr const char* kWindowFontFace = "MS Sans Serif";
constexpr int kWindowFontPixels = 11;

class TWProcedure : public TWPanel {
 public:
  explicit TWProcedure(WidgetHost& host);
  ~TWProcedure() override;

  void Show() override;  // activate the screen
  void Hide() override;  // deactivate it
  virtual void AfterMouseUpdate() {}
  virtual void KeyDown(std::uint16_t /*key*/, platform::ShiftState /*shift*/) {}
  // Wheel steps (positive away from the user) with the pointer at (x, y).
  virtual void MouseWheel(std::int32_t /*steps*/, std::int32_t /*x*/, std::int32_t /*y*/) {}
  virtual void Tick() {}
  virtual void Command(TWControl* /*widget*/, std::int32_t /*code*/) {}
  virtual void LoadResources() {}
  virtual void ReleaseResources() {}

  std::uint8_t modal = 0;
  std::int16_t cursorNow = 0;
  TWControl* hovered = nullptr;
  TWControl* lastHinted = nullptr;

 private:
  std::unique_ptr<gfx::Font> ownFont_;
};

// Finds the widgets under the pointer, sets the cursor of the last one and lets the screen
// react (AfterMouseUpdate).
void ProcedureMouseUpdate(TWProcedure& procedure);
// Every mouse move, button down and button up of the window.
void MouseEvent(TWProcedure& procedure, platform::ShiftState shift, std::int32_t x, std::int32_t y);
// Every key the shell does not take itself.
void KeyEvent(TWProcedure& procedure, std::uint16_t key, platform::ShiftState shift);

}  // namespace widgets
