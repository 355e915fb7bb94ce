// Whether the main window is out of sight after the game minimised it, and when it is back.
// Window systems differ in what they say: a window manager on X11 reports the window minimised
// or hidden and later restored or shown; some compositors report nothing and only move the
// keyboard focus; a bare X server, or a window manager that keeps full-screen windows up, does
// nothing at all. The game stops its timer work while minimised and must hear of every way
// back, or it waits for a restore that never comes. Both backends feed it, so its rules are
// tested once.
//
//   state          event                                            next state   restored?
//   Shown          the game asks to minimise                        Asked        -
//   Shown, Asked   reported minimised or hidden                     OutOfSight   -
//   Asked, Out..   shown, exposed, focus gained, restored, maximised Shown       yes
//   Asked, Out..   a tick kAnswerTime after the ask, the window's    Shown       yes
//                  flags neither minimised nor hidden, and focused
#pragma once

#include <cstdint>

namespace platform {

class WindowVisibility {
 public:
  // How long the window system may take to act on a minimise before a window that is plainly
  // still there (not minimised, not hidden, holding the focus) counts as never minimised. Long
  // enough for a window manager under load; short enough to pass for a hiccup.
  static constexpr std::uint64_t kAnswerTime = 500;  // ms

  // The game asked the window system to minimise the window at `now` (ms).
  void MinimiseAsked(std::uint64_t now);
  // The window system reported the window minimised or hidden.
  void WentOutOfSight() { state_ = State::OutOfSight; }
  // The window was shown, exposed, given the focus, restored or maximised. True when it had
  // been out of sight or asked to go, so the game is to hear that it is restored.
  bool CameBack();
  // At a timer tick, with what the window's flags say at `now`. True when the window counts as
  // back (see kAnswerTime), so the game is to hear that it is restored.
  bool BackByItsFlags(std::uint64_t now, bool minimisedOrHidden, bool focused);

  bool outOfSight() const { return state_ != State::Shown; }

 private:
  enum class State { Shown, Asked, OutOfSight };
  State state_ = State::Shown;
  std::uint64_t askedAt_ = 0;
};

}  // namespace platform
