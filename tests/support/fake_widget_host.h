// A widget host without a window: its own target and scratch surfaces, and a record of what
// the widgets asked of it. For tests of widgets and screens that need no main window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "widgets/widget_host.h"

namespace testing_support {

class FakeWidgetHost final : public widgets::WidgetHost {
 public:
  explicit FakeWidgetHost(gfx::AppVideo screen)
      : target(std::make_unique<gfx::MemVideo>(screen.width, screen.height)),
        scratch(std::make_unique<gfx::MemVideo>(256, 160)),
        screen_(screen) {}

  gfx::MemVideo* Target() override { return target.get(); }
  gfx::MemVideo* Scratch() override { return scratch.get(); }
  gfx::AppVideo ScreenSize() const override { return screen_; }
  void Present(const gfx::IntRect& rect) override { presented.push_back(rect); }
  platform::Point PointerPosition() const override { return pointer; }
  void SetCursor(std::int16_t cursorNumber) override { cursor = cursorNumber; }
  void PlayClick(const gfx::ByteBuffer& waveFile) override { clicks.push_back(waveFile); }
  void InputActivity() override { ++activity; }
  void HideTooltip() override { ++tooltipsHidden; }
  void Warn(std::string_view title, std::string_view text) override {
    warnings.push_back(std::string(title) + ": " + std::string(text));
  }

  std::unique_ptr<gfx::MemVideo> target;
  std::unique_ptr<gfx::MemVideo> scratch;
  std::vector<gfx::IntRect> presented;
  platform::Point pointer{-1, -1};
  std::int16_t cursor = 0;
  std::vector<gfx::ByteBuffer> clicks;
  int activity = 0;
  int tooltipsHidden = 0;
  std::vector<std::string> warnings;

 private:
  gfx::AppVideo screen_;
};

}  // namespace testing_support
