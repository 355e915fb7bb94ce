// WidgetHost: everything a tree of widgets needs from the window it is shown in. The root of
// the tree (a screen, later a dialog) holds one, and every widget made under that root shares
// it; widgets know nothing else of the program around them. Rectangles handed to the host are
// in the root's own pixels: a screen's are the window's, a dialog's are its own surface's.
#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/byte_buffer.h"
#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/platform.h"

namespace widgets {

class WidgetHost {
 public:
  virtual ~WidgetHost() = default;

  // The surface the root's widgets draw into, and a small one they compose pictures on before
  // stretching them there; null while there is none (then nothing is drawn).
  virtual gfx::MemVideo* Target() = 0;
  virtual gfx::MemVideo* Scratch() = 0;
  // The size that layout fractions are taken of.
  virtual gfx::AppVideo ScreenSize() const = 0;
  // Shows a rectangle of the target on the window.
  virtual void Present(const gfx::IntRect& rect) = 0;

  // The pointer in the root's pixels.
  virtual platform::Point PointerPosition() const = 0;
  // The cursor shown over the root (0 arrow, 2 hand, 3 build).
  virtual void SetCursor(std::int16_t cursorNumber) = 0;
  // A widget's click sound; the host decides whether sound effects are on.
  virtual void PlayClick(const gfx::ByteBuffer& waveFile) = 0;

  // The pointer moved, or a key came: a tooltip goes and its waiting time starts again.
  virtual void InputActivity() = 0;
  // The root stops showing: a tooltip over it goes.
  virtual void HideTooltip() = 0;
  // A fault of the widget layer's own use that a person should read (a full panel).
  virtual void Warn(std::string_view title, std::string_view text) = 0;

  // The font widgets share until their root makes its own; null when the host has none.
  virtual const gfx::Font* DefaultFont() const { return nullptr; }
};

}  // namespace widgets
