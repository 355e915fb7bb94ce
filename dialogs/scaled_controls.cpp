#include "dialogs/scaled_controls.h"

#include "dialogs/modal_dialog.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/text.h"
#include "widgets/input_state.h"
#include "widgets/tw_procedure.h"

namespace dialogs {

// --- both bases ---

SurfaceSlot TargetSurface(TForm& owner) {
  if (!owner.DerivesDirectlyFrom("TModalDialog")) return nullptr;
  return &static_cast<TModalDialog&>(owner).surface;
}

void ScaledControl::Setup(const gfx::FracRect& r, PictureSlot pictureSlot, std::int32_t tagValue,
                          std::int32_t codeValue, std::string_view text) {
  target = TargetSurface(form());
  SetArea(r);
  picture = pictureSlot;
  caption = std::string(text);
  code = codeValue;
  tag = tagValue;
  if (DerivesDirectlyFrom("TSButtonControl")) static_cast<TSButtonControl*>(this)->ReadHotKey();
  SetupDone();
}

void ScaledControl::SetArea(const gfx::FracRect& r) {
  area = r;
  pixelRect = gfx::FracToPixels(r, form().host().ScreenSize());
  bounds = pixelRect;
}

gfx::FracRect ScaledControl::ParentBackground() {
  if (form().DerivesDirectlyFrom("TModalDialog")) {
    const auto& dialog = static_cast<const TModalDialog&>(form());
    parentBackground = dialog.background;
    return {0.0f, 0.0f, dialog.area.Width(), dialog.area.Height()};
  }
  parentBackground = nullptr;
  return NoParentArea();
}

void ScaledControl::Repaint() {
  if (!visible || Target() == nullptr) return;
  DrawToSurface();
  form().ShowClient(pixelRect);
}

const gfx::WBitmap* ScaledControl::Picture() const {
  return widgets::PictureIn(picture);
}

gfx::MemVideo* ScaledControl::Target() const {
  return target != nullptr ? target->get() : nullptr;
}

gfx::Font* ScaledControl::Font() const {
  if (!form().DerivesDirectlyFrom("TModalDialog")) return nullptr;
  return static_cast<const TModalDialog&>(form()).font();
}

// --- buttons ---

std::uint16_t HotKeyOf(char32_t c) {
  if (c >= U'a' && c <= U'z') return static_cast<std::uint16_t>(c - U'a' + U'A');
  if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9')) return static_cast<std::uint16_t>(c);
  return 0;
}

TSButtonControl::TSButtonControl(TForm& owner) : TScaleCustomControl(owner) {
  tabStop = true;
}

void TSButtonControl::ReadHotKey() {
  const std::u32string text = gfx::DecodeUtf8(caption);
  const std::size_t amp = text.find(U'&');
  if (amp == std::u32string::npos) return;
  hotKey = amp + 1 < text.size() ? HotKeyOf(text[amp + 1]) : 0;
}

void TSButtonControl::PointerMoved(platform::ShiftState /*shift*/, std::int32_t x, std::int32_t y) {
  const bool wasHot = hot;
  hot = true;
  form().SetCapture(this);
  if (x < 0 || y < 0 || x >= pixelRect.Width() || y >= pixelRect.Height()) {
    hot = false;
    if (!down) form().ReleaseCapture();
  }
  if (hot != wasHot && visible) Repaint();
}

void TSButtonControl::PointerDown() {
  down = true;
  if (visible) Repaint();
}

void TSButtonControl::PointerUp() {
  down = false;
  if (visible) Repaint();
}

void TSButtonControl::Clicked() {
  if (form().DerivesDirectlyFrom("TModalDialog")) {
    static_cast<TModalDialog&>(form()).Command(code);
  } else if (widgets::activeProcedure != nullptr) {
    widgets::activeProcedure->Command(nullptr, code);
  }
  hot = false;
  down = false;
}

void TSButtonControl::Press() {
  down = true;
  hot = true;
  Repaint();
  down = false;
  Clicked();
  if (enabled) Repaint();
}

void TSButton::Clicked() {
  if (code >= 1 && code <= 9) {
    if (form().DerivesDirectlyFrom("TModalDialog")) {
      form().ModalResult = code;
      hot = false;
      down = false;
    }
    return;
  }
  TSButtonControl::Clicked();
}

void TSButton::KeyDown(std::uint16_t key, platform::ShiftState shift) {
  if ((shift & platform::kAutoRepeat) != 0) return;
  if (key == platform::vk::kReturn || key == platform::vk::kSpace) Clicked();
}

void TSButton::DrawToSurface() {
  gfx::MemVideo* surface = Target();
  const gfx::WBitmap* strip = Picture();
  gfx::MemVideo* scratch = form().host().Scratch();
  if (surface == nullptr) return;
  const gfx::FracRect parentArea = ParentBackground();
  if (strip != nullptr && scratch != nullptr) {
    gfx::DrawSkinnedPanel(*surface, pixelRect, area, *strip, *scratch, parentBackground, parentArea,
                          Frame());
  }
  if (Focused()) gfx::FrameRect(*surface, pixelRect, gfx::kBlack);
  const gfx::Font* f = Font();
  gfx::DrawTextInRect(*surface, down ? pixelRect.Offset(1, 1) : pixelRect, caption,
                      gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_CENTER,
                      f != nullptr ? f->color() : gfx::kBlack, f);
}

// --- labels and images ---

void TSLabel::DrawToSurface() {
  gfx::MemVideo* surface = Target();
  if (surface == nullptr) return;
  if (const gfx::WBitmap* own = Picture()) {
    gfx::StretchImage(*surface, pixelRect, *own, {0, 0, own->width, own->height}, true);
  } else {
    const gfx::FracRect parentArea = ParentBackground();
    if (parentBackground != nullptr && parentBackground->present()) {
      gfx::StretchImage(*surface, pixelRect, *parentBackground,
                        gfx::BackgroundCutOut(area, parentArea, parentBackground), true);
    }
  }
  std::uint32_t format = wordWrap ? gfx::DT_WORDBREAK : gfx::DT_SINGLELINE | gfx::DT_VCENTER;
  if (alignment == 1) format |= gfx::DT_RIGHT;
  if (alignment == 2) format |= gfx::DT_CENTER;
  if (!clip) format |= gfx::DT_NOCLIP;
  const gfx::Font* f = Font();
  gfx::DrawTextInRect(*surface, pixelRect, caption, format, f != nullptr ? f->color() : gfx::kBlack,
                      f);
}

void TSImageList::DrawToSurface() {
  gfx::MemVideo* surface = Target();
  const gfx::WBitmap* frames = Picture();
  gfx::MemVideo* scratch = form().host().Scratch();
  if (surface == nullptr || frames == nullptr || scratch == nullptr) return;
  const gfx::FracRect parentArea = ParentBackground();
  gfx::DrawSkinnedPanel(*surface, pixelRect, area, *frames, *scratch, parentBackground, parentArea,
                        frame);
}

}  // namespace dialogs
