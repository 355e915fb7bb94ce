// FormHost: what a modal form asks of the main window it is drawn in. The main window keeps
// the stack of open forms: the newest is on top and gets the keys and the pointer, and while
// any form is open the screen below it is frozen (no ticks, no tooltips).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/dialog_pictures.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/platform.h"

namespace dialogs {

class TForm;

class FormHost {
 public:
  virtual ~FormHost() = default;

  // The screen's size, which the dialogs' fractions are taken of.
  virtual gfx::AppVideo ScreenSize() const = 0;
  // The shell's small surface that skinned controls compose a frame on.
  virtual gfx::MemVideo* Scratch() = 0;
  // The pictures every dialog shares.
  virtual const DialogPictures& Pictures() const = 0;
  // The folder the game was started from.
  virtual std::string StartDirectory() const = 0;

  // Opens the form on top of the open ones and runs the input of the window into it until
  // finished() holds or the program ends; then closes it and shows again what it covered.
  virtual void RunModal(TForm& form, const std::function<bool()>& finished) = 0;
  // Shows a rectangle of the form's image (the form's own pixels) at its place on the screen,
  // beneath the forms opened after it.
  virtual void PresentForm(const TForm& form, const gfx::IntRect& rect) = 0;

  // The cursor over the form.
  virtual void SetCursor(std::int16_t cursorNumber) = 0;

  // Every form tells its host when it is made and when it goes, so that a host whose screen
  // changes size can lay out again the forms that exist, open or not.
  virtual void FormMade(TForm& /*form*/) {}
  virtual void FormGone(TForm& /*form*/) {}
};

}  // namespace dialogs
