#include "dialogs/edit_controls.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/draw.h"
#include "gfx/text.h"

namespace dialogs {

namespace {

constexpr std::int32_t kTextInset = 3;
constexpr gfx::Color kShade = gfx::Rgb(120, 96, 72);
constexpr gfx::Color kLight = gfx::Rgb(250, 238, 222);
constexpr gfx::Color kSelection = gfx::Rgb(0, 64, 160);
constexpr gfx::Color kSelectedText = gfx::Rgb(255, 255, 255);
constexpr std::int32_t kScrollBarWidth = 6;
constexpr std::int32_t kWheelLines = 3;

// A sunken field: a shade along the top and left, a light line along the bottom and right.
void DrawWell(gfx::MemVideo& image, const gfx::IntRect& r, gfx::Color fill) {
  gfx::FillRect(image, r, fill);
  gfx::FillRect(image, {r.left, r.top, r.right, r.top + 1}, kShade);
  gfx::FillRect(image, {r.left, r.top, r.left + 1, r.bottom}, kShade);
  gfx::FillRect(image, {r.left, r.bottom - 1, r.right, r.bottom}, kLight);
  gfx::FillRect(image, {r.right - 1, r.top, r.right, r.bottom}, kLight);
}

}  // namespace

// --- TEdit ---

TEdit::TEdit(TForm& form) : FormControl(form) {
  tabStop = true;
}

void TEdit::SetText(std::string_view text) {
  chars_ = gfx::DecodeUtf8(text);
  text_ = gfx::EncodeUtf8(chars_);
  caret_ = chars_.size();
  scroll_ = 0;
  Repaint();
}

std::int32_t TEdit::TextX(std::size_t characters) const {
  if (font == nullptr) return 0;
  return font->textWidth(std::u32string_view(chars_).substr(0, characters));
}

void TEdit::PaintOnto(gfx::MemVideo& image, std::int32_t dx, std::int32_t dy) {
  const gfx::IntRect r = bounds.Offset(dx, dy);
  DrawWell(image, r, color);
  // The caret stays in view: the text scrolls left behind it.
  const std::int32_t room = std::max(r.Width() - 2 * kTextInset, 1);
  const std::int32_t caretX = TextX(caret_);
  if (caretX - scroll_ > room) scroll_ = caretX - room;
  if (caretX < scroll_) scroll_ = caretX;
  const gfx::IntRect inner{r.left + kTextInset, r.top + 1, r.right - kTextInset, r.bottom - 1};
  gfx::MemVideo line(inner.Width(), inner.Height());
  gfx::CopyRect(image, inner, line, 0, 0);
  gfx::DrawTextInRect(line, {-scroll_, 0, line.width() + TextX(chars_.size()), line.height()},
                      text_, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                      gfx::kBlack, font);
  if (Focused()) {
    const std::int32_t height = font != nullptr ? font->lineHeight() : line.height();
    const std::int32_t top = (line.height() - height) / 2;
    gfx::FillRect(line, {caretX - scroll_, top, caretX - scroll_ + 1, top + height}, gfx::kBlack);
  }
  gfx::CopyRect(line, line.bounds(), image, inner.left, inner.top);
}

void TEdit::KeyDown(std::uint16_t key, platform::ShiftState shift) {
  if (onKeyDown) onKeyDown(key, shift);
  switch (key) {
    case platform::vk::kBack:
      if (caret_ == 0) return;
      chars_.erase(caret_ - 1, 1);
      --caret_;
      break;
    case platform::vk::kDelete:
      if (caret_ >= chars_.size()) return;
      chars_.erase(caret_, 1);
      break;
    case platform::vk::kHome:
      caret_ = 0;
      break;
    case platform::vk::kEnd:
      caret_ = chars_.size();
      break;
    case platform::vk::kLeft:
      if (caret_ > 0) --caret_;
      break;
    case platform::vk::kRight:
      if (caret_ < chars_.size()) ++caret_;
      break;
    default:
      return;
  }
  text_ = gfx::EncodeUtf8(chars_);
  Repaint();
}

void TEdit::TextInput(std::string_view utf8) {
  std::u32string typed = gfx::DecodeUtf8(utf8);
  std::erase_if(typed, [](char32_t c) { return c < 0x20 || c == 0x7F; });
  if (typed.empty()) return;
  chars_.insert(caret_, typed);
  caret_ += typed.size();
  text_ = gfx::EncodeUtf8(chars_);
  Repaint();
}

void TEdit::MouseDown(platform::MouseButton button, platform::ShiftState /*shift*/, std::int32_t x,
                      std::int32_t /*y*/) {
  if (button != platform::MouseButton::Left) return;
  // The caret goes to the gap between characters nearest the pointer.
  const std::int32_t target = x - kTextInset + scroll_;
  std::size_t best = 0;
  for (std::size_t i = 0; i <= chars_.size(); ++i)
    if (std::abs(TextX(i) - target) < std::abs(TextX(best) - target)) best = i;
  caret_ = best;
  Repaint();
}

// --- TListBox ---

TListBox::TListBox(TForm& form) : FormControl(form) {
  tabStop = true;
}

void TListBox::Clear() {
  items_.clear();
  itemIndex_ = -1;
  topIndex_ = 0;
  lastClicked_ = -1;
  Repaint();
}

void TListBox::Add(std::string_view line) {
  items_.emplace_back(line);
  Repaint();
}

std::int32_t TListBox::LineHeight() const {
  return (font != nullptr ? font->lineHeight() : 12) + 2;
}

std::int32_t TListBox::VisibleLines() const {
  return std::max((bounds.Height() - 2) / LineHeight(), 1);
}

void TListBox::SetItemIndex(std::int32_t index) {
  itemIndex_ = index >= 0 && index < static_cast<std::int32_t>(items_.size()) ? index : -1;
  KeepSelectionInView();
  Repaint();
}

void TListBox::ScrollTo(std::int32_t top) {
  const std::int32_t last = std::max(static_cast<std::int32_t>(items_.size()) - VisibleLines(), 0);
  top = std::clamp(top, 0, last);
  if (top == topIndex_) return;
  topIndex_ = top;
  Repaint();
}

void TListBox::KeepSelectionInView() {
  if (itemIndex_ < 0) return;
  if (itemIndex_ < topIndex_) topIndex_ = itemIndex_;
  if (itemIndex_ >= topIndex_ + VisibleLines()) topIndex_ = itemIndex_ - VisibleLines() + 1;
}

std::int32_t TListBox::LineAt(std::int32_t y) const {
  if (y < 1) return -1;
  const std::int32_t line = topIndex_ + (y - 1) / LineHeight();
  return line < static_cast<std::int32_t>(items_.size()) ? line : -1;
}

void TListBox::PaintOnto(gfx::MemVideo& image, std::int32_t dx, std::int32_t dy) {
  const gfx::IntRect r = bounds.Offset(dx, dy);
  gfx::FillRect(image, r, color);
  gfx::FrameRect(image, r, gfx::kBlack);
  const std::int32_t lines = VisibleLines();
  const auto count = static_cast<std::int32_t>(items_.size());
  const bool scrolls = count > lines;
  const std::int32_t textRight = r.right - 1 - (scrolls ? kScrollBarWidth : 0);
  for (std::int32_t i = 0; i < lines && topIndex_ + i < count; ++i) {
    const std::int32_t index = topIndex_ + i;
    const gfx::IntRect row{r.left + 1, r.top + 1 + i * LineHeight(), textRight,
                           r.top + 1 + (i + 1) * LineHeight()};
    const bool selected = index == itemIndex_;
    if (selected) gfx::FillRect(image, row, kSelection);
    gfx::DrawTextInRect(image, {row.left + kTextInset, row.top, row.right, row.bottom},
                        items_[static_cast<std::size_t>(index)],
                        gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                        selected ? kSelectedText : gfx::kBlack, font);
    if (selected && Focused()) gfx::FrameRect(image, row, kLight);
  }
  if (scrolls) {
    // A thumb as long as the share of lines shown, where they are.
    const gfx::IntRect track{textRight, r.top + 1, r.right - 1, r.bottom - 1};
    gfx::FillRect(image, track, kShade);
    const std::int32_t height = std::max(track.Height() * lines / count, 4);
    const std::int32_t top =
        track.top + (track.Height() - height) * topIndex_ / std::max(count - lines, 1);
    gfx::FillRect(image, {track.left + 1, top, track.right - 1, top + height}, kLight);
  }
}

void TListBox::MouseDown(platform::MouseButton button, platform::ShiftState /*shift*/,
                         std::int32_t /*x*/, std::int32_t y) {
  lastClicked_ = -1;
  if (button != platform::MouseButton::Left) return;
  // Below the last line (or in an empty list) a click changes nothing.
  const std::int32_t line = LineAt(y);
  if (line < 0) return;
  lastClicked_ = line;
  SetItemIndex(line);
  if (onClick) onClick();
}

void TListBox::DoubleClick() {
  if (lastClicked_ >= 0 && lastClicked_ == itemIndex_ && onDblClick) onDblClick();
}

void TListBox::MouseWheel(std::int32_t steps) {
  ScrollTo(topIndex_ - steps * kWheelLines);
}

void TListBox::KeyDown(std::uint16_t key, platform::ShiftState /*shift*/) {
  const auto count = static_cast<std::int32_t>(items_.size());
  if (count == 0) return;
  std::int32_t index = itemIndex_;
  switch (key) {
    case platform::vk::kUp:
      index = std::max(index - 1, 0);
      break;
    case platform::vk::kDown:
      index = std::min(index + 1, count - 1);
      break;
    case platform::vk::kPrior:
      index = std::max(index - VisibleLines(), 0);
      break;
    case platform::vk::kNext:
      index = std::min(std::max(index, 0) + VisibleLines(), count - 1);
      break;
    case platform::vk::kHome:
      index = 0;
      break;
    case platform::vk::kEnd:
      index = count - 1;
      break;
    default:
      return;
  }
  if (index == itemIndex_) return;
  SetItemIndex(index);
  if (onClick) onClick();
}

}  // namespace dialogs
