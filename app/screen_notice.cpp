#include "app/screen_notice.h"

#include <algorithm>

#include "app/tooltip.h"
#include "gfx/draw.h"
#include "gfx/text.h"

namespace app {

void ScreenNotice::Show(const std::string& text) {
  if (shown()) Hide();
  const gfx::AppVideo client = platform_.ClientSize();
  const std::int32_t width =
      std::min((font_ != nullptr ? font_->textWidth(text) : 0) + 2 * kHintPadding, client.width);
  if (width <= 0 || client.height <= 0) return;
  const std::int32_t height = std::min(kHintHeight + 4, client.height);
  const std::int32_t left = (client.width - width) / 2;
  const std::int32_t top = std::max(client.height - kNoticeMargin - height, 0);
  rect_ = gfx::IntRect::FromSize(left, top, width, height);
  picture_ = std::make_unique<gfx::MemVideo>(width, height);
  gfx::FrameRect(*picture_, picture_->bounds(), gfx::kBlack);
  gfx::FillRect(*picture_, {1, 1, width - 1, height - 1}, kHintFill);
  gfx::DrawTextInRect(*picture_, picture_->bounds(), text,
                      gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                      gfx::kBlack, font_);
  text_ = text;
  remainingMs_ = kNoticeShownMs;
  DrawOver(rect_);
}

void ScreenNotice::Tick(std::uint32_t interval) {
  if (!shown()) return;
  if (interval < remainingMs_) {
    remainingMs_ -= interval;
    return;
  }
  Hide();
}

void ScreenNotice::Hide() {
  if (!shown()) return;
  picture_.reset();
  text_.clear();
  restore_(rect_);
}

void ScreenNotice::DrawOver(const gfx::IntRect& windowRect) {
  if (!shown()) return;
  const gfx::IntRect part = windowRect.Intersect(rect_);
  if (part.IsEmpty()) return;
  platform_.Present(*picture_, part.Offset(-rect_.left, -rect_.top), part.left, part.top);
}

}  // namespace app
