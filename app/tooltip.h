// The tooltip: once the pointer has rested on a widget with a hint for a while, the hint is
// drawn straight onto the window (the back buffer keeps what lies beneath), once per visit:
// after it was shown and hidden, resting on the same widget again shows nothing until another
// widget's tooltip has been shown.
#pragma once

#include <cstdint>
#include <functional>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "platform/platform.h"
#include "widgets/tw_procedure.h"

namespace app {

// The tooltip's look.
constexpr std::int32_t kHintHeight = 18;
constexpr std::int32_t kHintPadding = 8;  // added to the text's width
constexpr gfx::Color kHintFill = gfx::Rgb(222, 192, 160);

class Tooltip {
 public:
  // restore puts back what the back buffer holds in a rectangle of the window.
  Tooltip(platform::Platform& platform, const gfx::Font* font,
          std::function<void(const gfx::IntRect&)> restore)
      : platform_(platform), font_(font), restore_(std::move(restore)) {}

  // One timer tick of interval ms while no tooltip is shown: counts the rest of the pointer
  // on the screen's hovered widget and shows its hint once the rest is long enough.
  void HintTimer(widgets::TWProcedure& procedure, std::uint32_t interval);
  void ShowHint(widgets::TWProcedure& procedure);
  void HideHint();
  // The pointer moved or a key came.
  void InputActivity() {
    idleTime = 0;
    if (hintShown) HideHint();
  }

  std::uint32_t hintDelay = 500;  // ms of rest before a tooltip is drawn
  std::uint32_t idleTime = 0;     // ms the pointer has rested
  bool hintShown = false;
  gfx::IntRect hintRect;

 private:
  platform::Platform& platform_;
  const gfx::Font* font_;
  std::function<void(const gfx::IntRect&)> restore_;
};

}  // namespace app
