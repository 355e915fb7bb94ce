// ShowMessageDialog: the one message box of the game, a small dialog of its own with a title,
// a text, an optional icon and one or two buttons, sized from the text and centred on the
// screen. Button sets: 0 Ok, 1 Ok/Cancel, 4 Yes/No. Results: 1 Ok, 2 Cancel or the close box,
// 6 Yes, 7 No.
#pragma once

#include <memory>
#include <string_view>

#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"

namespace dialogs {

constexpr int kButtonsOk = 0;
constexpr int kButtonsOkCancel = 1;
constexpr int kButtonsYesNo = 4;

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

// Frames of the dialog icons: the question of a Yes/No choice, a notice.
constexpr int kIconQuestion = 0;
constexpr int kIconNotice = 1;

// The sizes of a message dialog, in fractions of the screen.
struct MessageLayout {
  float leftMargin = 0.025f;
  float iconColumn = 0.0f;
  float labelWidth = 0.18f;
  float labelHeight = 0.018f;
  float labelTop = 0.039f;
  float width = 0.0f;
  float height = 0.0f;
};

// Works out the layout for a text written in font on a screen. The label is widened (and at
// last made taller) until the wrapped text fits in its lines, so no text is ever cut off.
MessageLayout LayOutMessage(std::string_view text, bool withIcon, const gfx::Font* font,
                            const gfx::AppVideo& screen);

class TMessageDialog final : public TModalDialog {
 public:
  // icon: a frame of the dialog icons, negative for none.
  TMessageDialog(FormHost& host, std::string_view title, std::string_view text, int buttons,
                 int icon);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  const MessageLayout& layout() const { return layout_; }
  TSButton* firstButton() const { return first_.get(); }
  TSButton* secondButton() const { return second_.get(); }
  TSImageList* icon() const { return icon_.get(); }
  TSLabel* label() const { return label_.get(); }
  // The text as given (the label's caption doubles its "&"s so that they show).
  const std::string& text() const { return text_; }
  int buttons() const { return buttons_; }

 private:
  void LayOut() override;
  // The dialog's size and its controls' places, from the text measured in the dialog's font.
  void PlaceControls();

  MessageLayout layout_;
  std::string text_;
  int buttons_;
  std::unique_ptr<TSButton> first_;
  std::unique_ptr<TSButton> second_;
  std::unique_ptr<TSImageList> icon_;
  std::unique_ptr<TSLabel> label_;
};

// Shows the message modally over whatever is open and returns how it ended.
int ShowMessageDialog(FormHost& host, std::string_view title, std::string_view text, int buttons,
                      int icon);

}  // namespace dialogs
