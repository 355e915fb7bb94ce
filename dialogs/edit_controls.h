// The two controls of the form layer that draw themselves over a dialog's client area: the
// one-line edit field and the list box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/form.h"
#include "gfx/font.h"
#include "gfx/mem_video.h"

namespace dialogs {

// The text a field holds after SetText(bytes): UTF-8, with every byte that does not start a
// well-formed sequence taken as the Latin-1 character it would be.
std::string FieldText(std::string_view bytes);
// What typing `utf8` puts into a field: its characters without the control characters.
std::u32string TypedCharacters(std::string_view utf8);

// One line of text: a caret, typing through the window's text input, Backspace, Delete, Home,
// End, Left and Right. Control characters typed are left out.
class TEdit final : public FormControl {
 public:
  explicit TEdit(TForm& form);
  std::string_view ClassName() const override { return "TEdit"; }
  std::string_view BaseClassName() const override { return "TCustomEdit"; }

  const std::string& Text() const { return text_; }
  // The caret goes to the end.
  void SetText(std::string_view text);
  std::size_t CaretPosition() const { return caret_; }  // in characters

  bool PaintsOverClient() const override { return true; }
  void PaintOnto(gfx::MemVideo& image, std::int32_t dx, std::int32_t dy) override;
  void KeyDown(std::uint16_t key, platform::ShiftState shift) override;
  void TextInput(std::string_view utf8) override;
  void MouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                 std::int32_t y) override;
  void FocusGained() override { Repaint(); }
  void FocusLost() override { Repaint(); }

  gfx::Color color = gfx::Rgb(222, 192, 160);
  const gfx::Font* font = nullptr;
  // Every key the field gets, before it acts on it (Enter accepts the file dialog).
  std::function<void(std::uint16_t key, platform::ShiftState shift)> onKeyDown;

 private:
  std::int32_t TextX(std::size_t characters) const;  // from the text's start
  std::u32string chars_;                             // the text as characters, for the caret
  std::string text_;
  std::size_t caret_ = 0;
  std::int32_t scroll_ = 0;  // pixels of the text scrolled out on the left
};

// Lines of text with one selected: a click selects the line under the pointer (and tells
// onClick), a double click on it tells onDblClick; the wheel and the arrow, page, Home and End
// keys scroll and move the selection.
class TListBox final : public FormControl {
 public:
  explicit TListBox(TForm& form);
  std::string_view ClassName() const override { return "TListBox"; }
  std::string_view BaseClassName() const override { return "TCustomListBox"; }

  void Clear();
  void Add(std::string_view line);
  const std::vector<std::string>& Items() const { return items_; }
  std::int32_t ItemIndex() const { return itemIndex_; }
  void SetItemIndex(std::int32_t index);
  std::int32_t TopIndex() const { return topIndex_; }
  // How many whole lines the box shows at once.
  std::int32_t VisibleLines() const;
  std::int32_t LineHeight() const;

  bool PaintsOverClient() const override { return true; }
  void PaintOnto(gfx::MemVideo& image, std::int32_t dx, std::int32_t dy) override;
  void MouseDown(platform::MouseButton button, platform::ShiftState shift, std::int32_t x,
                 std::int32_t y) override;
  void DoubleClick() override;
  void MouseWheel(std::int32_t steps) override;
  void KeyDown(std::uint16_t key, platform::ShiftState shift) override;
  void FocusGained() override { Repaint(); }
  void FocusLost() override { Repaint(); }

  gfx::Color color = gfx::Rgb(222, 192, 160);
  const gfx::Font* font = nullptr;
  std::function<void()> onClick;
  std::function<void()> onDblClick;

 private:
  // The line under a point of the box, or -1 below the last line.
  std::int32_t LineAt(std::int32_t y) const;
  void ScrollTo(std::int32_t top);
  void KeepSelectionInView();

  std::vector<std::string> items_;
  std::int32_t itemIndex_ = -1;
  std::int32_t topIndex_ = 0;
  std::int32_t lastClicked_ = -1;
};

}  // namespace dialogs
