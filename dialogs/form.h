// The thin form layer: a modal window drawn inside the main window, with a frame, a caption
// bar (title and close box) and a client area, and the controls on it.
//
// A form keeps an image of itself (frame and client area) and shows rectangles of it through
// its FormHost. The client area's pixels come from PaintClient (a dialog copies them from its
// own surface), and the controls that draw themselves (the edit, the list box) paint over
// them. Input reaches the form only while it is the top form of the host's stack:
//   - the pointer goes to the control under it, or to the one the left button went down on
//     until the button comes up; a control is clicked only when the press began on it;
//   - keys go first to the form when it previews them, then to the focused control; Tab moves
//     the focus among the tab stops; typed text goes to the focused control;
//   - the close box, Alt+F4 or the window manager's close end the form with result 2.
//
// Index: FormControl (one control), TForm (the form).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/form_host.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/keys.h"
#include "platform/platform.h"

namespace dialogs {

class TForm;

// How often the host ticks the top form, in ms (the main window's timer).
inline constexpr std::uint32_t kFormTickInterval = 40;

// The modal results a form ends with.
constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

class FormControl {
 public:
  // Joins the form's controls, after those made before it.
  explicit FormControl(TForm& form);
  virtual ~FormControl();
  FormControl(const FormControl&) = delete;
  FormControl& operator=(const FormControl&) = delete;

  // The class's own name and the name of the class it derives from directly: some behaviour
  // asks whether a control's class derives directly from a named one (a grandchild does not).
  virtual std::string_view ClassName() const = 0;
  virtual std::string_view BaseClassName() const = 0;
  bool DerivesDirectlyFrom(std::string_view base) const { return BaseClassName() == base; }

  TForm& form() const { return form_; }
  bool Focused() const;

  // Draws the control into its form's own drawing (a dialog's surface), if it draws there.
  virtual void DrawToSurface() {}
  // Draws the control and shows its part of the form.
  virtual void Repaint();
  // Controls that draw themselves over the form's client area (not into a dialog's surface)
  // paint onto the form's image here; (dx, dy) takes client pixels to image pixels.
  virtual bool PaintsOverClient() const { return false; }
  virtual void PaintOnto(gfx::MemVideo& /*image*/, std::int32_t /*dx*/, std::int32_t /*dy*/) {}

  // Input; positions are in the control's own pixels (0, 0 its top-left corner).
  virtual void MouseMove(platform::ShiftState, std::int32_t /*x*/, std::int32_t /*y*/) {}
  virtual void MouseDown(platform::MouseButton, platform::ShiftState, std::int32_t /*x*/,
                         std::int32_t /*y*/) {}
  virtual void MouseUp(platform::MouseButton, platform::ShiftState, std::int32_t /*x*/,
                       std::int32_t /*y*/) {}
  // The left button went down and came up on the control.
  virtual void Click() {}
  virtual void DoubleClick() {}
  virtual void MouseWheel(std::int32_t /*steps*/) {}
  virtual void KeyDown(std::uint16_t /*key*/, platform::ShiftState /*shift*/) {}
  virtual void TextInput(std::string_view /*utf8*/) {}
  virtual void FocusGained() {}
  virtual void FocusLost() {}
  // The screen changed size: a control placed in screen fractions takes its pixels anew.
  virtual void Relayout() {}

  gfx::IntRect bounds;  // in the form's client pixels
  bool visible = true;
  bool enabled = true;
  bool tabStop = false;
  std::int16_t cursor = 0;
  std::string caption;
  std::int32_t tag = 0;

 private:
  TForm& form_;
};

class TForm : public platform::WindowEvents {
 public:
  explicit TForm(FormHost& host);
  ~TForm() override;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  FormHost& host() const { return host_; }
  // The name of the class the form's class derives from directly (see FormControl).
  virtual std::string_view BaseClassName() const { return "TCustomForm"; }
  bool DerivesDirectlyFrom(std::string_view base) const { return BaseClassName() == base; }

  // Places the client area on the screen (pixels); the frame lies around it, the caption
  // bar above it.
  void SetClientBounds(const gfx::IntRect& client);
  gfx::IntRect ClientBounds() const { return client_; }
  gfx::IntRect WindowBounds() const;
  // The form as it shows: frame and client area, in the form's own pixels.
  const gfx::MemVideo& Image() const { return *image_; }
  // Where the client area lies on the image.
  platform::Point ClientOrigin() const;

  // Shows the form and runs it until a control sets ModalResult or it is closed; returns the
  // result (2 when the program ended meanwhile).
  int ShowModal();
  bool Showing() const { return showing_; }
  // The screen changed size: the form lays itself out again as if it had been made at the new
  // size, keeping what it holds (texts typed, lines chosen, the focus); an open form is drawn
  // and shown again at its new place.
  void Relayout();
  // Called by the host on each tick of the main window's timer (every kFormTickInterval ms)
  // while the form is the top one.
  virtual void TimerTick() {}

  const std::vector<FormControl*>& Controls() const { return controls_; }
  FormControl* ActiveControl() const { return focus_; }
  void FocusControl(FormControl* control);
  // The next (or previous) visible, enabled tab stop after the focused one, around the end.
  void SelectNext(bool forward);
  void SetCapture(FormControl* control) { capture_ = control; }
  void ReleaseCapture() { capture_ = nullptr; }
  FormControl* Capture() const { return capture_; }

  // Composes a rectangle of the client area (client pixels) onto the image and shows it;
  // nothing before the form was first drawn whole.
  void ShowClient(const gfx::IntRect& clientRect);
  // Draws and shows the whole form; the host does so when the form opens.
  void ShowWhole();
  // The title in the caption bar; the bar is redrawn at once while the form shows.
  void SetCaption(std::string_view caption);
  const std::string& caption() const { return caption_; }

  int ModalResult = 0;
  bool KeyPreview = false;

  // Window events, while the form is the top one.
  void OnMouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) override;
  void OnMouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                   std::int32_t y) override;
  void OnMouseUp(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                 std::int32_t y) override;
  void OnMouseWheel(std::int32_t steps, platform::ShiftState shift, std::int32_t x,
                    std::int32_t y) override;
  void OnKeyDown(std::uint16_t key, platform::ShiftState shift) override;
  void OnTextInput(std::string_view utf8) override;
  bool OnCloseQuery() override;

 protected:
  // The form's own steps around a showing, and its look at the keys before its controls.
  virtual void FormShow() {}
  virtual void FormClose() {}
  virtual void FormKeyDown(std::uint16_t /*key*/, platform::ShiftState /*shift*/) {}
  // Places the client area and the controls for the host's screen size as it is now; the
  // caption bar is already laid out. An open form is drawn whole afterwards.
  virtual void LayOut() {}
  // Draws the client area anew for a form already open (its surface was made for the old size).
  virtual void RepaintClient() {}
  // Paints a rectangle of the client area (client pixels) onto the image, moved by (dx, dy).
  // The base fills it with the dialog face colour.
  virtual void PaintClient(gfx::MemVideo& image, const gfx::IntRect& clientRect, std::int32_t dx,
                           std::int32_t dy);

 private:
  friend class FormControl;
  void Join(FormControl* control) { controls_.push_back(control); }
  void Leave(FormControl* control);
  // The control under a point of the client area: the last one made that shows there.
  FormControl* ControlAt(std::int32_t x, std::int32_t y) const;
  void DrawFrame();
  void LayOutCaption();
  gfx::IntRect CloseBox() const;  // on the image
  void SetCloseBoxHot(bool hot);
  platform::Point ToClient(std::int32_t x, std::int32_t y) const;

  FormHost& host_;
  std::string caption_;
  gfx::IntRect client_;
  std::unique_ptr<gfx::MemVideo> image_;
  std::unique_ptr<gfx::Font> captionFont_;
  std::int32_t captionHeight_ = 0;
  std::vector<FormControl*> controls_;
  FormControl* focus_ = nullptr;
  FormControl* capture_ = nullptr;
  FormControl* pressed_ = nullptr;  // the left button went down on it and is still down
  bool closeBoxPressed_ = false;
  bool closeBoxHot_ = false;
  bool showing_ = false;
  bool onScreen_ = false;  // drawn whole since it was shown: later changes show at once
};

}  // namespace dialogs
