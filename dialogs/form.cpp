#include "dialogs/form.h"

#include <algorithm>

#include "gfx/draw.h"
#include "gfx/text.h"

namespace dialogs {

namespace {

// The frame: a dark outline and a brass band around the client area, with the caption bar
// in the captions' blue.
constexpr std::int32_t kBorder = 3;
constexpr gfx::Color kOutline = gfx::Rgb(24, 20, 16);
constexpr gfx::Color kBrass = gfx::Rgb(184, 150, 84);
constexpr gfx::Color kCaptionBar = gfx::Rgb(0, 64, 160);
constexpr gfx::Color kCaptionText = gfx::Rgb(236, 240, 255);
constexpr gfx::Color kCloseBox = gfx::Rgb(32, 96, 208);
constexpr gfx::Color kCloseBoxHot = gfx::Rgb(64, 140, 255);
constexpr gfx::Color kFace = gfx::Rgb(222, 192, 160);
// The caption's font, in thousandths of the screen's height.
constexpr float kCaptionFontHeight = 17.0f;

}  // namespace

// --- FormControl ---

FormControl::FormControl(TForm& form) : form_(form) {
  form_.Join(this);
}

FormControl::~FormControl() {
  form_.Leave(this);
}

bool FormControl::Focused() const {
  return form_.ActiveControl() == this;
}

void FormControl::Repaint() {
  if (visible) form_.ShowClient(bounds);
}

// --- TForm ---

TForm::TForm(FormHost& host) : host_(host) {
  LayOutCaption();
  SetClientBounds({0, 0, 0, 0});
  host_.FormMade(*this);
}

// A dialog's controls are its members, so they have left before the form goes.
TForm::~TForm() {
  host_.FormGone(*this);
}

void TForm::LayOutCaption() {
  captionFont_ =
      gfx::MakeScaledFont(host_.ScreenSize(), "Arial", gfx::kFontWeightBold, kCaptionFontHeight, 0);
  captionHeight_ = std::max(16, (captionFont_ ? captionFont_->lineHeight() : 12) + 8);
}

void TForm::Relayout() {
  // Shown again only once it is all in place.
  const bool wasOnScreen = onScreen_;
  onScreen_ = false;
  LayOutCaption();
  for (FormControl* control : controls_) control->Relayout();
  LayOut();
  if (!wasOnScreen) return;
  RepaintClient();
  ShowWhole();
}

void TForm::Leave(FormControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  if (focus_ == control) focus_ = nullptr;
  if (capture_ == control) capture_ = nullptr;
  if (pressed_ == control) pressed_ = nullptr;
}

void TForm::SetClientBounds(const gfx::IntRect& client) {
  client_ = {client.left, client.top, client.left + std::max(client.Width(), 0),
             client.top + std::max(client.Height(), 0)};
  const gfx::IntRect window = WindowBounds();
  image_ = std::make_unique<gfx::MemVideo>(window.Width(), window.Height());
  if (onScreen_) ShowWhole();
}

gfx::IntRect TForm::WindowBounds() const {
  return {client_.left - kBorder, client_.top - kBorder - captionHeight_, client_.right + kBorder,
          client_.bottom + kBorder};
}

platform::Point TForm::ClientOrigin() const {
  return {kBorder, kBorder + captionHeight_};
}

platform::Point TForm::ToClient(std::int32_t x, std::int32_t y) const {
  return {x - client_.left, y - client_.top};
}

void TForm::SetCaption(std::string_view caption) {
  caption_ = std::string(caption);
  if (onScreen_) {
    DrawFrame();
    host_.PresentForm(*this, {0, 0, image_->width(), ClientOrigin().y});
  }
}

int TForm::ShowModal() {
  ModalResult = 0;
  pressed_ = nullptr;
  capture_ = nullptr;
  closeBoxPressed_ = false;
  closeBoxHot_ = false;
  focus_ = nullptr;
  onScreen_ = false;
  showing_ = true;
  FormShow();
  // The first tab stop has the keyboard unless the form gave it to another control.
  if (focus_ == nullptr) SelectNext(true);
  host_.RunModal(*this, [this] { return ModalResult != 0; });
  onScreen_ = false;
  showing_ = false;
  FormClose();
  focus_ = nullptr;
  return ModalResult != 0 ? ModalResult : kModalCancel;
}

void TForm::FocusControl(FormControl* control) {
  if (control == focus_) return;
  FormControl* old = focus_;
  focus_ = control;
  if (old != nullptr) old->FocusLost();
  if (control != nullptr) control->FocusGained();
}

void TForm::SelectNext(bool forward) {
  const std::size_t n = controls_.size();
  if (n == 0) return;
  const auto current = std::find(controls_.begin(), controls_.end(), focus_);
  std::size_t start = current == controls_.end()
                          ? (forward ? n - 1 : 0)
                          : static_cast<std::size_t>(current - controls_.begin());
  for (std::size_t step = 1; step <= n; ++step) {
    const std::size_t i = forward ? (start + step) % n : (start + n - step % n) % n;
    FormControl* candidate = controls_[i];
    if (candidate->tabStop && candidate->visible && candidate->enabled) {
      FocusControl(candidate);
      return;
    }
  }
}

void TForm::PaintClient(gfx::MemVideo& image, const gfx::IntRect& clientRect, std::int32_t dx,
                        std::int32_t dy) {
  gfx::FillRect(image, clientRect.Offset(dx, dy), kFace);
}

void TForm::ShowClient(const gfx::IntRect& clientRect) {
  // What a form prepares before it is on the screen is drawn with the rest by ShowWhole.
  if (!onScreen_) return;
  const gfx::IntRect rect = clientRect.Intersect({0, 0, client_.Width(), client_.Height()});
  if (rect.IsEmpty()) return;
  const platform::Point origin = ClientOrigin();
  PaintClient(*image_, rect, origin.x, origin.y);
  for (FormControl* control : controls_) {
    if (control->visible && control->PaintsOverClient() &&
        !control->bounds.Intersect(rect).IsEmpty())
      control->PaintOnto(*image_, origin.x, origin.y);
  }
  host_.PresentForm(*this, rect.Offset(origin.x, origin.y));
}

void TForm::ShowWhole() {
  onScreen_ = true;
  DrawFrame();
  const platform::Point origin = ClientOrigin();
  PaintClient(*image_, {0, 0, client_.Width(), client_.Height()}, origin.x, origin.y);
  for (FormControl* control : controls_)
    if (control->visible && control->PaintsOverClient())
      control->PaintOnto(*image_, origin.x, origin.y);
  host_.PresentForm(*this, image_->bounds());
}

gfx::IntRect TForm::CloseBox() const {
  const std::int32_t side = captionHeight_ - 6;
  const std::int32_t right = image_->width() - kBorder - 3;
  return {right - side, kBorder + 3, right, kBorder + 3 + side};
}

void TForm::DrawFrame() {
  gfx::MemVideo& image = *image_;
  const gfx::IntRect all = image.bounds();
  gfx::FrameRect(image, all, kOutline);
  for (std::int32_t i = 1; i < kBorder; ++i)
    gfx::FrameRect(image, {i, i, all.right - i, all.bottom - i}, kBrass);
  const gfx::IntRect bar{kBorder, kBorder, all.right - kBorder, kBorder + captionHeight_};
  gfx::FillRect(image, bar, kCaptionBar);
  const gfx::IntRect box = CloseBox();
  gfx::DrawTextInRect(image, {bar.left + 6, bar.top, box.left - 4, bar.bottom}, caption_,
                      gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX,
                      kCaptionText, captionFont_.get());
  gfx::FillRect(image, box, closeBoxHot_ ? kCloseBoxHot : kCloseBox);
  gfx::FrameRect(image, box, kCaptionText);
  // The cross: two diagonals two pixels thick, inside a margin of a quarter of the box.
  const std::int32_t side = box.Width();
  const std::int32_t margin = side / 4;
  for (std::int32_t t = margin; t < side - margin; ++t) {
    gfx::FillRect(image, gfx::IntRect::FromSize(box.left + t, box.top + t, 2, 2), kCaptionText);
    gfx::FillRect(image, gfx::IntRect::FromSize(box.right - 2 - t, box.top + t, 2, 2),
                  kCaptionText);
  }
}

void TForm::SetCloseBoxHot(bool hot) {
  if (hot == closeBoxHot_) return;
  closeBoxHot_ = hot;
  DrawFrame();
  host_.PresentForm(*this, CloseBox());
}

FormControl* TForm::ControlAt(std::int32_t x, std::int32_t y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if ((*it)->visible && (*it)->bounds.Contains(x, y)) return *it;
  return nullptr;
}

void TForm::OnMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) {
  const platform::Point onImage{x - WindowBounds().left, y - WindowBounds().top};
  SetCloseBoxHot(CloseBox().Contains(onImage.x, onImage.y));
  const platform::Point p = ToClient(x, y);
  FormControl* target = pressed_ != nullptr ? pressed_ : capture_;
  FormControl* under = ControlAt(p.x, p.y);
  if (target == nullptr) target = under;
  host_.SetCursor(under != nullptr && under->enabled ? under->cursor : platform::kCursorDefault);
  if (target != nullptr && target->enabled)
    target->MouseMove(shift, p.x - target->bounds.left, p.y - target->bounds.top);
}

void TForm::OnMouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                        std::int32_t y) {
  const bool left = button == platform::MouseButton::Left;
  const platform::Point onImage{x - WindowBounds().left, y - WindowBounds().top};
  if (left && CloseBox().Contains(onImage.x, onImage.y)) {
    closeBoxPressed_ = true;
    return;
  }
  const platform::Point p = ToClient(x, y);
  FormControl* target = ControlAt(p.x, p.y);
  if (target == nullptr || !target->enabled) return;
  if (left) {
    pressed_ = target;
    if (target->tabStop) FocusControl(target);
  }
  target->MouseDown(button, shift, p.x - target->bounds.left, p.y - target->bounds.top);
  if (left && (shift & platform::kDoubleClick) != 0 && pressed_ == target) target->DoubleClick();
}

void TForm::OnMouseUp(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                      std::int32_t y) {
  const bool left = button == platform::MouseButton::Left;
  const platform::Point onImage{x - WindowBounds().left, y - WindowBounds().top};
  if (left && closeBoxPressed_) {
    closeBoxPressed_ = false;
    if (CloseBox().Contains(onImage.x, onImage.y)) ModalResult = kModalCancel;
    return;
  }
  const platform::Point p = ToClient(x, y);
  FormControl* target = left ? pressed_ : ControlAt(p.x, p.y);
  if (left) pressed_ = nullptr;
  if (target == nullptr || !target->enabled) return;
  target->MouseUp(button, shift, p.x - target->bounds.left, p.y - target->bounds.top);
  // A click needs the press and the release on the same control: the release of a press
  // made before the form opened clicks nothing.
  if (left && ControlAt(p.x, p.y) == target && target->enabled) target->Click();
}

void TForm::OnMouseWheel(std::int32_t steps, platform::ShiftState /*shift*/, std::int32_t x,
                         std::int32_t y) {
  const platform::Point p = ToClient(x, y);
  FormControl* target = ControlAt(p.x, p.y);
  if (target == nullptr) target = focus_;
  if (target != nullptr && target->enabled) target->MouseWheel(steps);
}

void TForm::OnKeyDown(std::uint16_t key, platform::ShiftState shift) {
  if (key == platform::vk::kTab) {
    SelectNext((shift & platform::kShiftKey) == 0);
    return;
  }
  if (KeyPreview) {
    FormKeyDown(key, shift);
    if (ModalResult != 0) return;
  }
  if (focus_ != nullptr && focus_->enabled && focus_->visible) focus_->KeyDown(key, shift);
}

void TForm::OnTextInput(std::string_view utf8) {
  if (focus_ != nullptr && focus_->enabled && focus_->visible) focus_->TextInput(utf8);
}

bool TForm::OnCloseQuery() {
  // The window manager's close and Alt+F4 close the top form as its close box does.
  ModalResult = kModalCancel;
  return false;
}

}  // namespace dialogs
