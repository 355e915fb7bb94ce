#include "widgets/tw_control.h"

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
  if (parent != nullptr) {
    root_ = parent->root_;
    host_ = parent->host_;
  }
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
  // Relative to the root: every container between the widget and the root moves it; the
  // root itself is the origin of its own pixels.
  gfx::FracRect inRoot = r;
  for (const TWControl* p = parent; p != nullptr && p->parent != nullptr; p = p->parent)
    inRoot = inRoot.Moved(p->rect.left, p->rect.top);
  pixelRect = gfx::FracToPixels(inRoot, host_ != nullptr ? host_->ScreenSize() : gfx::AppVideo{});
}

void ReplaceFont(TWControl& tree, const gfx::Font* was, const gfx::Font* now) {
  if (tree.font == was) tree.font = now;
  if (tree.kind < KindPanel) return;
  const auto& panel = static_cast<const TWPanel&>(tree);
  for (const auto& slot : panel.children)
    if (slot != nullptr) ReplaceFont(*slot, was, now);
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
  RefreshPointer(host_);
  MouseUpdate();
}

void TWControl::Hide() {
  visible = 0;
  enabled = 0;
  if (root_ != nullptr && root_->hovered == this) root_->hovered = nullptr;
}

void TWControl::MouseUpdate() {
  const std::uint8_t oldHover = hover;
  const std::uint8_t oldPressed = pressed;
  const PointerVerdict verdict =
      EvaluatePointer(pixelRect, mouseX, mouseY, shiftState, pressed != 0);
  hover = verdict.hover ? 1 : 0;
  pressed = verdict.pressed ? 1 : 0;
  if (verdict.hover && root_ != nullptr) {
    root_->hovered = this;
    root_->cursorNow = cursor;
  }
  if (verdict.released && clickPending) {
    PlayClickSound(*this);
    Click();
    // A toggle's Click draws what it changes.
    if (kind == KindToggleButton) return;
  }
  if (visible == 0 || kind >= KindPanel) return;
  if (hover == oldHover && pressed == oldPressed) return;
  if (root_ != nullptr && root_->visible == 1) {
    Redraw();
  } else {
    Draw();
  }
}

void TWControl::Click() {
  if (command != 0 && root_ != nullptr) root_->Command(this, command);
}

void TWControl::Redraw() {
  if (host_ == nullptr || host_->Target() == nullptr || visible != 1) return;
  Draw();
  host_->Present(pixelRect);
}

void RefreshPointer(const WidgetHost* host) {
  if (host != nullptr) {
    const platform::Point pointer = host->PointerPosition();
    mouseX = pointer.x;
    mouseY = pointer.y;
  }
  clickPending = false;
}

void PlayClickSound(WidgetHost* host, SoundSlot sound) {
  if (host == nullptr || sound == nullptr || *sound == nullptr) return;
  host->PlayClick(**sound);
}

void PlayClickSound(const TWControl& widget) {
  PlayClickSound(widget.host(), widget.clickSound);
}

void PressByCode(TWControl& widget, bool withSound) {
  widget.pressed = 1;
  widget.hover = 1;
  widget.Redraw();
  widget.pressed = 0;
  if (withSound) PlayClickSound(widget);
  widget.Click();
  RefreshPointer(widget.host());
  widget.MouseUpdate();
}

}  // namespace widgets
