#include "widgets/tw_procedure.h"

#include "gfx/font.h"
#include "widgets/input_state.h"

namespace widgets {

TWProcedure::TWProcedure(WidgetHost& host) : TWPanel(nullptr) {
  root_ = this;
  host_ = &host;
  kind = KindProcedure;
  enabled = 0;
  visible = 0;
  modal = 0;
  hovered = nullptr;
  lastHinted = nullptr;
  SetRect({0, 0, 1, 1});
  // The widgets made on a screen get the window's font until the screen sets one of its own;
  // only a screen whose host has none loads that font itself.
  font = host.DefaultFont();
  if (font == nullptr) {
    ownFont_ = gfx::Font::Create(kWindowFontFace, gfx::kFontWeightNormal, kWindowFontPixels);
    font = ownFont_.get();
  }
}

TWProcedure::~TWProcedure() {
  // Subclasses release their own pictures in their destructors; this reaches only the base.
  TWProcedure::ReleaseResources();
  // A screen destroyed while active must not stay the target of input and ticks.
  if (activeProcedure == this) activeProcedure = nullptr;
  hovered = nullptr;
  lastHinted = nullptr;
}

void TWProcedure::Show() {
  if (activeProcedure != nullptr) activeProcedure->Hide();
  activeProcedure = this;
  LoadResources();
  visible = 1;
  enabled = 1;
  Redraw();
  RefreshPointer(host_);
  ProcedureMouseUpdate(*this);
}

void TWProcedure::Hide() {
  visible = 0;
  enabled = 0;
  hovered = nullptr;
  ReleaseResources();
  host_->HideTooltip();
}

void ProcedureMouseUpdate(TWProcedure& procedure) {
  procedure.cursorNow = procedure.cursor;
  procedure.hovered = nullptr;
  HitTestChildren(procedure);
  // The screen may choose the cursor itself where no widget is (the game screen over its
  // map), so the window is told only the final choice, once.
  procedure.AfterMouseUpdate();
  procedure.host()->SetCursor(procedure.cursorNow);
}

void MouseEvent(TWProcedure& procedure, platform::ShiftState shift, std::int32_t x,
                std::int32_t y) {
  if (x != mouseX || y != mouseY || shift != shiftState) procedure.host()->InputActivity();
  mouseX = x;
  mouseY = y;
  shiftState = shift;
  if (procedure.enabled == 1) ProcedureMouseUpdate(procedure);
  mouseButton = kNoMouseButton;
  clickPending = false;
}

void KeyEvent(TWProcedure& procedure, std::uint16_t key, platform::ShiftState shift) {
  procedure.host()->InputActivity();
  procedure.KeyDown(key, shift);
}

}  // namespace widgets
