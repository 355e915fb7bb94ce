#include "dialogs/message_dialog.h"

#include <string>

#include "gfx/text.h"

namespace dialogs {

namespace {

constexpr float kButtonWidth = 0.075f;
constexpr float kButtonHeight = 0.03f;
constexpr float kLineHeight = 0.018f;
// The widest a label grows before it takes more lines instead.
constexpr float kWidestDialog = 0.9f;
constexpr float kWideningStep = 0.01f;

// "&" marks a hot key in a label; a message shows its "&"s as they are.
std::string Literal(std::string_view text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// Lines the text takes when wrapped into a label of this width.
std::int32_t WrappedLines(std::string_view text, float width, const gfx::Font* font,
                          const gfx::AppVideo& screen) {
  if (font == nullptr || font->lineHeight() <= 0) return 1;
  const std::int32_t pixels = gfx::RoundHalfUp(width * static_cast<float>(screen.width));
  const gfx::IntRect measured = gfx::CalcTextRect(
      {0, 0, pixels, 1}, text, gfx::DT_WORDBREAK | gfx::DT_CENTER | gfx::DT_NOPREFIX, font);
  return std::max(measured.Height() / font->lineHeight(), 1);
}

}  // namespace

MessageLayout LayOutMessage(std::string_view text, bool withIcon, const gfx::Font* font,
                            const gfx::AppVideo& screen) {
  MessageLayout l;
  if (withIcon) {
    l.iconColumn = 0.06f;
    l.leftMargin = 0.0f;
  }
  const float w = font != nullptr && screen.width > 0
                      ? static_cast<float>(font->textWidth(text)) / static_cast<float>(screen.width)
                      : 0.0f;
  const float rightMargin = 0.025f;
  const float widest = kWidestDialog - l.leftMargin - l.iconColumn - rightMargin;
  std::int32_t lines = 1;
  if (w < 0.17f) {
    l.labelWidth = 0.18f;
  } else if (w < 0.34f) {
    l.labelWidth = 0.18f;
    lines = 2;
  } else {
    // Half the text's width, but never wider than the screen allows: more lines instead.
    l.labelWidth = std::min(w * 0.5f + 0.02f, widest);
    lines = 2;
  }
  while (WrappedLines(text, l.labelWidth, font, screen) > lines && l.labelWidth < widest)
    l.labelWidth = std::min(l.labelWidth + kWideningStep, widest);
  lines = std::max(lines, WrappedLines(text, l.labelWidth, font, screen));
  // One or two lines keep the label's usual height and may reach a little below it (the label
  // does not clip); more lines make it as tall as they are in the font, and the dialog with it.
  l.labelHeight = kLineHeight * static_cast<float>(lines);
  if (lines > 2 && font != nullptr && screen.height > 0) {
    l.labelHeight = std::max(l.labelHeight, static_cast<float>(font->lineHeight() * lines + 1) /
                                                static_cast<float>(screen.height));
  }
  l.labelTop = lines == 1 ? 0.039f : 0.03f;
  l.width = l.leftMargin + rightMargin + l.labelWidth + l.iconColumn;
  l.height = 2.0f * l.labelTop + l.labelHeight + 0.03f + 0.01f;
  return l;
}

TMessageDialog::TMessageDialog(FormHost& host, std::string_view title, std::string_view text,
                               int buttons, int icon)
    : TModalDialog(host), text_(text), buttons_(buttons) {
  background = host.Pictures().dlgBackground.get();
  SetCaption(title);
  const PictureSlot strip = &host.Pictures().dlgButtons;
  const auto makeButton = [&](std::string_view caption, std::int32_t result) {
    auto button = std::make_unique<TSButton>(*this);
    button->cursor = platform::kCursorHand;
    button->Setup({}, strip, 0, result, caption);
    return button;
  };
  switch (buttons) {
    case kButtonsOk:
      first_ = makeButton("&Ok", kResultOk);
      break;
    case kButtonsOkCancel:
      first_ = makeButton("&Ok", kResultOk);
      second_ = makeButton("&Cancel", kResultCancel);
      break;
    case kButtonsYesNo:
      first_ = makeButton("&Yes", kResultYes);
      second_ = makeButton("&No", kResultNo);
      break;
    default:
      break;
  }
  if (icon >= 0) {
    icon_ = std::make_unique<TSImageList>(*this);
    icon_->Setup({}, &host.Pictures().dlgIcons, 0, 0, "");
    icon_->frame = icon;
  }
  label_ = std::make_unique<TSLabel>(*this);
  label_->Setup({}, nullptr, 0, 0, Literal(text_));
  label_->wordWrap = true;
  label_->alignment = 2;
  label_->clip = false;
  PlaceControls();
}

void TMessageDialog::LayOut() {
  TModalDialog::LayOut();
  PlaceControls();
}

void TMessageDialog::PlaceControls() {
  // The text's width in the dialog's font decides the dialog's size, so it is measured anew
  // for every size of the screen.
  const gfx::AppVideo screen = host().ScreenSize();
  layout_ = LayOutMessage(text_, icon_ != nullptr, font(), screen);
  const MessageLayout& l = layout_;
  SetArea(gfx::FracRect::FromSize((1.0f - l.width) * 0.5f, (1.0f - l.height) * 0.5f, l.width,
                                  l.height));
  const float buttonTop = l.height - 0.04f;
  const auto place = [&](TSButton* button, float left) {
    if (button != nullptr)
      button->SetArea(gfx::FracRect::FromSize(left, buttonTop, kButtonWidth, kButtonHeight));
  };
  if (second_ == nullptr) {
    place(first_.get(), (l.width - kButtonWidth) * 0.5f);
  } else {
    place(first_.get(), l.width * 0.5f - kButtonWidth - 0.008f);
    place(second_.get(), l.width * 0.5f + 0.008f);
  }
  if (icon_ != nullptr)
    icon_->SetArea(
        gfx::FitAspect(gfx::FracRect::FromSize(0.01f, 0.02f, 0.04f, 0.055f), 1.0f, screen));
  label_->SetArea(gfx::FracRect::FromSize(l.leftMargin + l.iconColumn, l.labelTop, l.labelWidth,
                                          l.labelHeight));
}

int ShowMessageDialog(FormHost& host, std::string_view title, std::string_view text, int buttons,
                      int icon) {
  TMessageDialog dialog(host, title, text, buttons, icon);
  return dialog.ShowModal();
}

}  // namespace dialogs
