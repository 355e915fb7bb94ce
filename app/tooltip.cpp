#include "app/tooltip.h"

#include <algorithm>
#include <string>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "widgets/input_state.h"

namespace app {

void Tooltip::HintTimer(widgets::TWProcedure& procedure, std::uint32_t interval) {
  if (procedure.modal != 0 || procedure.hovered == nullptr || procedure.hovered->hint.empty() ||
      procedure.hovered == procedure.lastHinted)
    return;
  idleTime += interval;
  if (idleTime > hintDelay) ShowHint(procedure);
}

void Tooltip::ShowHint(widgets::TWProcedure& procedure) {
  if (procedure.hovered == nullptr) return;
  const std::string text = procedure.hovered->hint;
  widgets::RefreshPointer(procedure.host());

  const gfx::AppVideo client = platform_.ClientSize();
  const std::int32_t width = (font_ != nullptr ? font_->textWidth(text) : 0) + kHintPadding;
  std::int32_t left = widgets::mouseX;
  std::int32_t top = std::max(widgets::mouseY - kHintHeight, 0);
  if (left + width > client.width) left = client.width - width;
  if (top + kHintHeight > client.height) top = client.height - kHintHeight;
  // A window narrower or lower than the tooltip still shows its start, never above row 0.
  left = std::max(left, 0);
  top = std::max(top, 0);
  hintRect = gfx::IntRect::FromSize(left, top, width, kHintHeight);

  gfx::MemVideo tip(width, kHintHeight);
  gfx::FrameRect(tip, tip.bounds(), gfx::kBlack);
  gfx::FillRect(tip, {0, 0, width - 1, kHintHeight - 1}, kHintFill);
  gfx::DrawTextInRect(tip, tip.bounds(), text,
                      gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                      gfx::kBlack, font_);
  platform_.Present(tip, tip.bounds(), left, top);

  hintShown = true;
  procedure.lastHinted = procedure.hovered;
}

void Tooltip::HideHint() {
  restore_(hintRect);
  hintShown = false;
}

}  // namespace app
