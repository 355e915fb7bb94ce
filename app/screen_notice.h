// The screen notice: one short line drawn straight onto the window, in the tooltip's look, near
// the bottom edge, for a few seconds; nothing stops meanwhile and nothing is asked. It says that
// a screenshot was written or that an autosave or a screenshot failed.
//
// It lies over everything on the window, dialogs included: whatever presents a rectangle of
// the window draws the notice's part of it again (DrawOver). When its time is up, the window
// is presented again beneath it from the back buffer and the dialogs, so what it covered comes
// back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/platform.h"

namespace app {

constexpr std::uint32_t kNoticeShownMs = 4000;
constexpr std::int32_t kNoticeMargin = 24;  // from the window's bottom edge

class ScreenNotice {
 public:
  // restore puts back what the back buffer and the dialogs hold in a rectangle of the window.
  ScreenNotice(platform::Platform& platform, const gfx::Font* font,
               std::function<void(const gfx::IntRect&)> restore)
      : platform_(platform), font_(font), restore_(std::move(restore)) {}

  // Replaces any notice shown.
  void Show(const std::string& text);
  // One timer tick of `interval` ms: the notice goes when its time is up.
  void Tick(std::uint32_t interval);
  void Hide();
  // Draws the notice's part of a window rectangle that was just presented beneath it.
  void DrawOver(const gfx::IntRect& windowRect);

  bool shown() const { return picture_ != nullptr; }
  const std::string& text() const { return text_; }
  const gfx::IntRect& rect() const { return rect_; }

 private:
  platform::Platform& platform_;
  const gfx::Font* font_;
  std::function<void(const gfx::IntRect&)> restore_;
  std::unique_ptr<gfx::MemVideo> picture_;
  std::string text_;
  gfx::IntRect rect_;
  std::uint32_t remainingMs_ = 0;
};

}  // namespace app
