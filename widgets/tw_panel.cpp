#include "widgets/tw_panel.h"

#include "app/main_wnd.h"
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
    if (app::MainWnd != nullptr)
      app::MainWnd->platform().ShowMessageBox("Warning!", "MAX_CONTROLS reached",
                                              platform::MessageBoxButtons::Ok);
    panel.leftOut_.emplace_back(child);
    return;
  }
  panel.children[static_cast<std::size_t>(panel.count)].reset(child);
  ++panel.count;
}

void TWPanel::Show() {
  visible = 1;
  enabled = 1;
  RefreshPointer();
  HitTestChildren(*this);
}

void TWPanel::Hide() {
  visible = 0;
  enabled = 0;
  if (activeProcedure == nullptr) return;
  for (const auto& slot : children)
    if (slot != nullptr && activeProcedure->hovered == slot.get())
      activeProcedure->hovered = nullptr;
}

void TWPanel::Redraw() {
  if (app::MainWnd == nullptr || !app::MainWnd->backBuffer || visible != 1) return;
  Draw();
  DrawChildren(*this);
  DrawOverlay();
  app::MainWnd->PresentRect(pixelRect);
}

void TWPanel::DrawBackground() {
  if (background == nullptr || app::MainWnd == nullptr || !app::MainWnd->backBuffer) return;
  gfx::StretchImage(*app::MainWnd->backBuffer, pixelRect, *background,
                    {0, 0, background->width, background->height}, true);
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
