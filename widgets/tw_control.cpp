#include "widgets/tw_control.h"

#include "app/main_wnd.h"
#include "widgets/input_state.h"
#include "widgets/tw_panel.h"
#include "widgets/tw_procedure.h"

namespace widgets {

PointerVerdict EvaluatePointer(const gfx::IntRect& pixelRect, std::int32_t x, std::int32_t y,
                               platform::ShiftState shift, bool wasPressed) {
  PointerVerdict verdict;
  if (x < pixelRect.left || x > pixelRect.right || y < pixelRect.top || y > pixelRect.bottom)
    return verdict;
  verdict.hover = true;
  if ((shift & platform::kLeftButton) != 0) {
    verdict.pressed = true;
  } else {
    verdict.released = wasPressed;
  }
  return verdict;
}

TWControl::TWControl(TWControl* parentWidget) : parent(parentWidget) {
  SetRect({0, 0, 0, 0});
  if (parent == nullptr) return;
  if (parent->kind >= KindPanel) AddChild(static_cast<TWPanel&>(*parent), this);
  font = parent->font;
}

TWPanel* TWControl::parentPanel() const {
  if (parent == nullptr || parent->kind < KindPanel) return nullptr;
  return static_cast<TWPanel*>(parent);
}

void TWControl::SetRect(const gfx::FracRect& r) {
  rect = r;
  gfx::FracRect absolute = r;
  // One level only: a procedure covers the whole screen, so a panel's own rectangle is
  // already absolute.
  if (parent != nullptr) absolute = r.Moved(parent->rect.left, parent->rect.top);
  const gfx::AppVideo screen =
      app::MainWnd != nullptr && app::MainWnd->appVideo ? *app::MainWnd->appVideo : gfx::AppVideo{};
  pixelRect = gfx::FracToPixels(absolute, screen);
}

void TWControl::Setup(const gfx::FracRect& r, PictureSlot pictureSlot, const std::string& text,
                      std::int16_t cursorNumber, std::int32_t commandCode) {
  SetRect(r);
  picture = pictureSlot;
  caption = text;
  cursor = cursorNumber;
  command = commandCode;
  AfterSetup();
}

void TWControl::Show() {
  visible = 1;
  enabled = 1;
  RefreshPointer();
  MouseUpdate();
}

void TWControl::Hide() {
  visible = 0;
  enabled = 0;
  if (activeProcedure != nullptr && activeProcedure->hovered == this)
    activeProcedure->hovered = nullptr;
}

void TWControl::MouseUpdate() {
  const std::uint8_t oldHover = hover;
  const std::uint8_t oldPressed = pressed;
  const PointerVerdict verdict =
      EvaluatePointer(pixelRect, mouseX, mouseY, shiftState, pressed != 0);
  hover = verdict.hover ? 1 : 0;
  pressed = verdict.pressed ? 1 : 0;
  if (verdict.hover && activeProcedure != nullptr) {
    activeProcedure->hovered = this;
    activeProcedure->cursorNow = cursor;
  }
  if (verdict.released && clickPending) {
    PlayClickSound(*this);
    Click();
    // A toggle's Click draws what it changes.
    if (kind == KindToggleButton) return;
  }
  if (visible == 0 || kind >= KindPanel) return;
  if (hover == oldHover && pressed == oldPressed) return;
  if (activeProcedure != nullptr && activeProcedure->visible == 1) {
    Redraw();
  } else {
    Draw();
  }
}

void TWControl::Click() {
  if (command != 0 && activeProcedure != nullptr) activeProcedure->Command(this, command);
}

void TWControl::Redraw() {
  if (app::MainWnd == nullptr || !app::MainWnd->backBuffer || visible != 1) return;
  Draw();
  app::MainWnd->PresentRect(pixelRect);
}

void RefreshPointer() {
  if (app::MainWnd != nullptr) {
    // The platform already reports the pointer in the window's client coordinates.
    const platform::Point pointer = app::MainWnd->platform().PointerPosition();
    mouseX = pointer.x;
    mouseY = pointer.y;
  }
  clickPending = false;
}

void PlayClickSound(const TWControl& widget) {
  if (app::MainWnd == nullptr || app::MainWnd->soundEffectsOn != 1) return;
  if (widget.clickSound == nullptr || *widget.clickSound == nullptr) return;
  if (app::MainWnd->mediaPlayer) app::MainWnd->mediaPlayer->PlayBuffer(**widget.clickSound);
}

void PressByCode(TWControl& widget, bool withSound) {
  widget.pressed = 1;
  widget.hover = 1;
  widget.Redraw();
  widget.pressed = 0;
  if (withSound) PlayClickSound(widget);
  widget.Click();
  RefreshPointer();
  widget.MouseUpdate();
}

}  // namespace widgets
