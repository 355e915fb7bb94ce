#include "platform/window_visibility.h"

namespace platform {

void WindowVisibility::MinimiseAsked(std::uint64_t now) {
  // A window the window system already took away stays away until it is back.
  if (state_ == State::Shown) state_ = State::Asked;
  askedAt_ = now;
}

bool WindowVisibility::CameBack() {
  const bool wasAway = state_ != State::Shown;
  state_ = State::Shown;
  return wasAway;
}

bool WindowVisibility::BackByItsFlags(std::uint64_t now, bool minimisedOrHidden, bool focused) {
  if (state_ == State::Shown || now < askedAt_ + kAnswerTime) return false;
  // A compositor that minimises without a word takes the focus away; it is back when the focus
  // is, which CameBack hears.
  if (minimisedOrHidden || !focused) return false;
  state_ = State::Shown;
  return true;
}

}  // namespace platform
