#include "widgets/tw_panel.h"

#include "gfx/draw.h"
#include "widgets/input_state.h"
#include "widgets/tw_procedure.h"

namespace widgets {

TWPanel::TWPanel(TWControl* parentWidget) : TWControl(parentWidget) {
  kind = KindPanel;
  background = nullptr;
  count = 0;
}

TWPanel::~TWPanel() {
  for (auto& slot : children) slot.reset();
  count = 0;
  leftOut_.clear();
}

void AddChild(TWPanel& panel, TWControl* child) {
  if (panel.count >= MAX_CONTROLS) {
    if (panel.host() != nullptr) panel.host()->Warn("Warning!", "MAX_CONTROLS reached");
    panel.leftOut_.emplace_back(child);
    return;
  }
  panel.children[static_cast<std::size_t>(panel.count)].reset(child);
  ++panel.count;
}

void TWPanel::Show() {
  visible = 1;
  enabled = 1;
  RefreshPointer(host_);
  HitTestChildren(*this);
}

void TWPanel::Hide() {
  visible = 0;
  enabled = 0;
  if (root_ == nullptr) return;
  for (const auto& slot : children)
    if (slot != nullptr && root_->hovered == slot.get()) root_->hovered = nullptr;
}

void TWPanel::Redraw() {
  if (host_ == nullptr || host_->Target() == nullptr || visible != 1) return;
  Draw();
  DrawChildren(*this);
  DrawOverlay();
  host_->Present(pixelRect);
}

void TWPanel::Relayout() {
  TWControl::Relayout();
  for (const auto& slot : children)
    if (slot != nullptr) slot->Relayout();
  for (const auto& child : leftOut_) child->Relayout();
}

void TWPanel::DrawBackground() {
  gfx::MemVideo* target = host_ != nullptr ? host_->Target() : nullptr;
  if (background == nullptr || target == nullptr) return;
  gfx::StretchImage(*target, pixelRect, *background, {0, 0, background->width, background->height},
                    true);
}

void DrawChildren(const TWPanel& panel) {
  for (const auto& slot : panel.children) {
    if (slot == nullptr || slot->visible != 1) continue;
    slot->Draw();
    if (slot->kind == KindPanel) DrawChildren(static_cast<const TWPanel&>(*slot));
  }
}

void HitTestChildren(const TWPanel& panel) {
  for (const auto& slot : panel.children) {
    if (slot == nullptr || slot->enabled == 0) continue;
    if (slot->kind == KindPanel) {
      HitTestChildren(static_cast<const TWPanel&>(*slot));
    } else {
      slot->MouseUpdate();
    }
  }
}

}  // namespace widgets
