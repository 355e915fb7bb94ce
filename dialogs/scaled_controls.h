// The dialogs' scaled controls: placed in fractions of the screen inside their dialog, drawn
// into the dialog's surface over the cut-out of its background, and shown from there.
//
//   windowed (can hold the focus):  TScaleCustomControl -> TSButtonControl -> TSButton
//   windowless:                     TScaleGraphicControl -> TSLabel, TSImageList
//
// Both bases hold the slot of the surface they draw into (a dialog makes a new surface at
// each showing, so they never hold the surface itself) and the slot of their picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dialogs/form.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "widgets/tw_control.h"

namespace dialogs {

class TModalDialog;

using widgets::PictureSlot;
using SurfaceSlot = const std::unique_ptr<gfx::MemVideo>*;

// What the two scaled bases share: their place, code, picture, target and the background of
// their parent.
class ScaledControl : public FormControl {
 public:
  explicit ScaledControl(TForm& owner) : FormControl(owner) {}

  // Places and fills the control, in this order: target, area, picture, caption, code, tag;
  // a button derived directly from TSButtonControl reads its hot key; then SetupDone.
  void Setup(const gfx::FracRect& r, PictureSlot pictureSlot, std::int32_t tagValue,
             std::int32_t codeValue, std::string_view text);
  // The area in fractions of the screen, relative to the dialog's client area.
  void SetArea(const gfx::FracRect& r);
  virtual void SetupDone() {}
  void Relayout() override { SetArea(area); }

  // Finds the parent's background picture and returns the parent's area the control's area
  // is relative to: the dialog's own area moved to (0, 0).
  gfx::FracRect ParentBackground();
  // Draws into the target surface, then shows its part of the dialog.
  void Repaint() override;

  // The picture in the slot, or null.
  const gfx::WBitmap* Picture() const;
  gfx::MemVideo* Target() const;
  // The dialog's font, null outside a dialog.
  gfx::Font* Font() const;

  gfx::FracRect area;
  gfx::IntRect pixelRect;
  std::int32_t code = 0;
  const gfx::WBitmap* parentBackground = nullptr;
  PictureSlot picture = nullptr;
  SurfaceSlot target = nullptr;

 protected:
  // The area a control with no background parent is relative to.
  virtual gfx::FracRect NoParentArea() const = 0;
};

// The surface slot a control of this owner draws into: the dialog's surface when the owner
// derives directly from TModalDialog; none otherwise (nothing is drawn).
SurfaceSlot TargetSurface(TForm& owner);

class TScaleCustomControl : public ScaledControl {
 public:
  explicit TScaleCustomControl(TForm& owner) : ScaledControl(owner) {}
  std::string_view ClassName() const override { return "TScaleCustomControl"; }
  std::string_view BaseClassName() const override { return "TCustomControl"; }
  void Activate() {
    visible = true;
    enabled = true;
  }
  void Deactivate() {
    visible = false;
    enabled = false;
  }

 protected:
  gfx::FracRect NoParentArea() const override { return {0, 0, 1, 1}; }
};

class TScaleGraphicControl : public ScaledControl {
 public:
  explicit TScaleGraphicControl(TForm& owner) : ScaledControl(owner) {}
  std::string_view ClassName() const override { return "TScaleGraphicControl"; }
  std::string_view BaseClassName() const override { return "TGraphicControl"; }

 protected:
  gfx::FracRect NoParentArea() const override { return {0, 0, 0, 0}; }
};

// A button's behaviour: hot under the pointer, down while held, pressed by its hot key.
class TSButtonControl : public TScaleCustomControl {
 public:
  explicit TSButtonControl(TForm& owner);
  std::string_view ClassName() const override { return "TSButtonControl"; }
  std::string_view BaseClassName() const override { return "TScaleCustomControl"; }

  // The hot key is the character after the caption's first "&" (none after a final "&").
  void ReadHotKey();

  virtual void PointerMoved(platform::ShiftState shift, std::int32_t x, std::int32_t y);
  virtual void PointerDown();
  virtual void PointerUp();
  virtual void Clicked();
  // A click from the keyboard, with the look of a real press.
  virtual void Press();

  // Events of the form layer, led to the operations above.
  void MouseMove(platform::ShiftState shift, std::int32_t x, std::int32_t y) override {
    PointerMoved(shift, x, y);
  }
  void MouseDown(platform::MouseButton, platform::ShiftState, std::int32_t, std::int32_t) override {
    PointerDown();
  }
  void MouseUp(platform::MouseButton, platform::ShiftState, std::int32_t, std::int32_t) override {
    PointerUp();
  }
  void Click() override { Clicked(); }
  void DoubleClick() override { Clicked(); }
  void FocusGained() override { Repaint(); }
  void FocusLost() override { Repaint(); }

  bool hot = false;
  bool down = false;
  std::uint16_t hotKey = 0;
};

// The dialogs' button: a frame of the button strip with its caption. Codes 1..9 end the
// dialog with that result; other codes go to the dialog's Command.
class TSButton final : public TSButtonControl {
 public:
  explicit TSButton(TForm& owner) : TSButtonControl(owner) {}
  std::string_view ClassName() const override { return "TSButton"; }
  std::string_view BaseClassName() const override { return "TSButtonControl"; }

  void DrawToSurface() override;
  void Clicked() override;
  // Enter and Space click it; a key held down and repeating does not.
  void KeyDown(std::uint16_t key, platform::ShiftState shift) override;
  // The frame of the button strip it shows: 0 normal, 1 hot, 2 hot and held.
  std::int32_t Frame() const { return !hot ? 0 : (down ? 2 : 1); }
};

class TSLabel final : public TScaleGraphicControl {
 public:
  explicit TSLabel(TForm& owner) : TScaleGraphicControl(owner) {}
  std::string_view ClassName() const override { return "TSLabel"; }
  std::string_view BaseClassName() const override { return "TScaleGraphicControl"; }
  void DrawToSurface() override;

  bool wordWrap = false;
  std::int32_t alignment = 0;  // 0 left, 1 right, 2 centred
  // Whether the text stops at the label's edges; a message's label lets its last line's
  // descenders reach below it rather than cut them.
  bool clip = true;
};

class TSImageList final : public TScaleGraphicControl {
 public:
  explicit TSImageList(TForm& owner) : TScaleGraphicControl(owner) {}
  std::string_view ClassName() const override { return "TSImageList"; }
  std::string_view BaseClassName() const override { return "TScaleGraphicControl"; }
  void DrawToSurface() override;

  std::int32_t frame = 0;
};

// The key a character stands for: letters and digits give their key codes, anything else 0.
std::uint16_t HotKeyOf(char32_t character);

}  // namespace dialogs
