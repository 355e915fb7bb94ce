// TWControl: the base of every widget the game draws itself. A widget knows its rectangle,
// whether the pointer is over it (hover) and whether the left button is held over it
// (pressed); its screen re-tests every enabled widget on each mouse event, and a widget
// decides by itself whether it was clicked. It draws through the host of its root.
//
// The hover/press/click decision is EvaluatePointer, which knows nothing of pixels, so it is
// tested on its own; MouseUpdate applies it and redraws only when something changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/byte_buffer.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/wbitmap.h"
#include "platform/keys.h"
#include "widgets/widget_host.h"

namespace widgets {

enum WidgetKind : std::int32_t {
  KindPlain = 0,
  KindPushButton = 10,
  KindToggleButton = 11,
  KindPanel = 100,
  KindProcedure = 101,
};

// Where a widget's picture lives: the screen that owns the picture loads and releases it
// there, so a widget may exist while its picture is not loaded. Widgets never own pictures.
using PictureSlot = const std::unique_ptr<gfx::WBitmap>*;
// Where a click sound lives (the shell's clickSound1 or clickSound2); none = silent.
using SoundSlot = const std::unique_ptr<gfx::ByteBuffer>*;

// The picture in a slot, or null when the slot or the picture is missing.
inline const gfx::WBitmap* PictureIn(PictureSlot slot) {
  if (slot == nullptr || *slot == nullptr || !(*slot)->present()) return nullptr;
  return slot->get();
}

// The outcome of one pointer test against a widget's rectangle.
struct PointerVerdict {
  bool hover = false;
  bool pressed = false;
  bool released = false;  // the left button came up over the widget while it was pressed
};

// Every edge of pixelRect belongs to the widget, the right and bottom ones included (unlike
// IntRect::Contains), so a pointer on pixelRect.right is still over it.
PointerVerdict EvaluatePointer(const gfx::IntRect& pixelRect, std::int32_t x, std::int32_t y,
                               platform::ShiftState shift, bool wasPressed);

class TWPanel;
class TWProcedure;

class TWControl {
 public:
  // A widget whose parent is a panel (kind 100 or more) is added to it and from then on
  // belongs to it: create it with `new` (MakeChild) and never delete it yourself.
  explicit TWControl(TWControl* parent);
  TWControl(const TWControl&) = delete;
  TWControl& operator=(const TWControl&) = delete;

  // Virtual operations, in the order of their slots.
  virtual void AfterSetup() {}
  virtual void Show();
  virtual void Hide();
  virtual void MouseUpdate();
  virtual void Click();
  virtual void Draw() {}
  virtual void Redraw();
  virtual ~TWControl() = default;

  // Layout: r is relative to the parent's top-left corner, in screen fractions; pixelRect is
  // in the root's pixels.
  void SetRect(const gfx::FracRect& r);
  void Setup(const gfx::FracRect& r, PictureSlot pictureSlot, const std::string& text,
             std::int16_t cursorNumber, std::int32_t commandCode);
  // The host's screen changed size: the pixels are taken anew from the fractions, as if the
  // widget had been made at that size. Widgets with pixels or fonts of their own add theirs.
  virtual void Relayout() { SetRect(rect); }

  // The parent when it is a panel (the only kind of parent that has a background).
  TWPanel* parentPanel() const;
  // The screen this widget belongs to (none for a tree without a screen at its root).
  TWProcedure* rootProcedure() const { return root_; }
  // The root's host, shared by the whole tree; null when the root has none.
  WidgetHost* host() const { return host_; }

  TWControl* parent = nullptr;
  std::uint8_t hover = 0;
  std::uint8_t pressed = 0;
  std::int32_t kind = KindPlain;
  gfx::FracRect rect;
  gfx::IntRect pixelRect;  // the root's pixels; see EvaluatePointer for its edges
  std::int16_t cursor = 0;
  const gfx::Font* font = nullptr;  // the parent's, shared
  PictureSlot picture = nullptr;
  SoundSlot clickSound = nullptr;
  std::string caption;
  std::string hint;
  std::uint8_t enabled = 1;
  std::uint8_t visible = 1;
  std::int32_t command = 0;

 protected:
  // Set by a root for itself; every other widget takes its parent's.
  TWProcedure* root_ = nullptr;
  WidgetHost* host_ = nullptr;
};

// Points every widget of the tree that shared the font `was` at `now` instead (a screen that
// made its fonts anew for another size).
void ReplaceFont(TWControl& tree, const gfx::Font* was, const gfx::Font* now);

// Reads the pointer position from the host into mouseX, mouseY and forgets a pending click.
void RefreshPointer(const WidgetHost* host);

// Makes a widget behave as if it had been clicked (keyboard shortcuts): the pressed look is
// presented at once, the click sound plays when asked for and sound is on, then the click.
void PressByCode(TWControl& widget, bool withSound);

// Plays a widget's click sound when sound effects are on.
void PlayClickSound(const TWControl& widget);
// The same for a sound of the host's; nothing without a host or a sound.
void PlayClickSound(WidgetHost* host, SoundSlot sound);

}  // namespace widgets
