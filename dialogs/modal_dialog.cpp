#include "dialogs/modal_dialog.h"

#include "dialogs/scaled_controls.h"
#include "gfx/draw.h"
#include "widgets/input_state.h"
#include "widgets/tw_procedure.h"

namespace dialogs {

namespace {

std::unique_ptr<gfx::Font> MakeDialogFont(const gfx::AppVideo& screen) {
  std::unique_ptr<gfx::Font> font = gfx::MakeScaledFont(screen, kDialogFontFace, kDialogFontWeight,
                                                        kDialogFontHeight, kDialogFontWidth);
  if (font) font->setColor(gfx::kBlack);
  return font;
}

}  // namespace

TModalDialog::TModalDialog(FormHost& host) : TForm(host) {
  KeyPreview = true;
  font_ = MakeDialogFont(host.ScreenSize());
}

void TModalDialog::LayOut() {
  // A font that cannot be made at the new size leaves the one there was.
  if (std::unique_ptr<gfx::Font> font = MakeDialogFont(host().ScreenSize()))
    font_ = std::move(font);
  SetArea(area);
}

TModalDialog::~TModalDialog() = default;

void TModalDialog::SetArea(const gfx::FracRect& r) {
  area = r;
  SetClientBounds(gfx::FracToPixels(r, host().ScreenSize()));
}

void TModalDialog::MoveTo(float left, float top) {
  SetArea({left, top, left + area.Width(), top + area.Height()});
}

void TModalDialog::Command(std::int32_t code) {
  if (widgets::activeProcedure != nullptr) widgets::activeProcedure->Command(nullptr, code);
}

void TModalDialog::FormShow() {
  // The screen is frozen and the tooltip goes while the host runs the dialog.
  PrepareContents();
  RepaintClient();
}

void TModalDialog::RepaintClient() {
  const gfx::IntRect client = ClientBounds();
  surface = std::make_unique<gfx::MemVideo>(client.Width(), client.Height());
  if (background != nullptr && background->present()) {
    gfx::StretchImage(*surface, surface->bounds(), *background,
                      {0, 0, background->width, background->height}, true);
  }
  DrawContents();
  for (FormControl* control : Controls())
    if (control->visible) control->DrawToSurface();
}

void TModalDialog::FormClose() {
  if (closeAction == kCloseHide) surface.reset();
}

void TModalDialog::PaintClient(gfx::MemVideo& image, const gfx::IntRect& clientRect,
                               std::int32_t dx, std::int32_t dy) {
  if (!surface) {
    TForm::PaintClient(image, clientRect, dx, dy);
    return;
  }
  gfx::CopyRect(*surface, clientRect, image, clientRect.left + dx, clientRect.top + dy);
}

void TModalDialog::FormKeyDown(std::uint16_t key, platform::ShiftState shift) {
  // In the name field every letter is typed; a held key that repeats presses nothing.
  if (ActiveControl() != nullptr && ActiveControl()->ClassName() == "TEdit") return;
  if ((shift & platform::kAutoRepeat) != 0) return;
  // Every button with the key is pressed, in the order of the controls; a button that ends the
  // dialog does not stop the others. The list is copied: a press may change the controls.
  const std::vector<FormControl*> controls = Controls();
  for (FormControl* control : controls) {
    if (!control->DerivesDirectlyFrom("TSButtonControl")) continue;
    auto* button = static_cast<TSButtonControl*>(control);
    if (button->hotKey != 0 && button->hotKey == key) button->Press();
  }
}

}  // namespace dialogs
