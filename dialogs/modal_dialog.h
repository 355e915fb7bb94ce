// TModalDialog: the base of every dialog of the game. Its place and size are fractions of the
// screen; it paints itself from a surface of its own, made anew at every showing, on which its
// background picture is stretched and its scaled controls draw. It previews the keys, so a
// button's hot key presses it wherever the focus is (but in the name field).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "dialogs/form.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"

namespace dialogs {

// What closing a dialog does with it: it is hidden and kept.
constexpr std::uint8_t kCloseHide = 1;

// The font of every dialog's controls, in thousandths of the screen, black.
inline constexpr std::string_view kDialogFontFace = "Arial";
constexpr int kDialogFontWeight = 400;
constexpr float kDialogFontHeight = 17.0f;
constexpr float kDialogFontWidth = 5.0f;

class TModalDialog : public TForm {
 public:
  explicit TModalDialog(FormHost& host);
  ~TModalDialog() override;  // FormDestroy

  std::string_view BaseClassName() const override { return "TForm"; }

  // Places the client area at a rectangle of the screen, in fractions.
  void SetArea(const gfx::FracRect& r);
  // The same size at a new top-left corner.
  void MoveTo(float left, float top);

  // What the dialog sets up at every showing before it is drawn (texts to show, fields
  // emptied); not repeated when an open dialog is drawn again at another size.
  virtual void PrepareContents() {}
  // What the dialog shows besides its controls, drawn into `surface` at every showing and
  // whenever an open dialog is drawn again.
  virtual void DrawContents() {}
  // A scaled button's code that is not a modal result; the base hands it to the screen.
  virtual void Command(std::int32_t code);

  // The controls' font: the dialog's, shared.
  gfx::Font* font() const { return font_.get(); }

  gfx::FracRect area;
  std::uint8_t closeAction = kCloseHide;
  const gfx::WBitmap* background = nullptr;  // not owned
  std::unique_ptr<gfx::MemVideo> surface;    // the client area, made at each showing

 protected:
  void FormShow() override;
  void FormClose() override;
  void FormKeyDown(std::uint16_t key, platform::ShiftState shift) override;
  // The font and the area for the screen as it is now (the controls placed themselves).
  void LayOut() override;
  void RepaintClient() override;
  void PaintClient(gfx::MemVideo& image, const gfx::IntRect& clientRect, std::int32_t dx,
                   std::int32_t dy) override;

 private:
  std::unique_ptr<gfx::Font> font_;
};

}  // namespace dialogs
