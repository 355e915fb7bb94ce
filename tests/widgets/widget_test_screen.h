// A small screen for the widget tests: it records the commands its widgets send, and
// Probe widgets record every Draw with the state they were drawn in.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "platform/headless_platform.h"

#include "widgets/input_state.h"
#include "widgets/tw_control_button.h"
#include "widgets/tw_procedure.h"

namespace widgets_test {

struct Drawn {
  std::string name;
  int hover;
  int pressed;
  int down;
};

class TestScreen : public widgets::TWProcedure {
 public:
  using TWProcedure::TWProcedure;
  ~TestScreen() override { TestScreen::ReleaseResources(); }
  void Command(widgets::TWControl* widget, std::int32_t code) override {
    commands.push_back(code);
    senders.push_back(widget);
  }
  void AfterMouseUpdate() override { buttonsSeen.push_back(widgets::mouseButton); }
  void KeyDown(std::uint16_t key, platform::ShiftState) override { keys.push_back(key); }
  void LoadResources() override { ++loads; }
  void ReleaseResources() override { ++releases; }

  std::vector<std::int32_t> commands;
  std::vector<widgets::TWControl*> senders;
  std::vector<std::int32_t> buttonsSeen;
  std::vector<std::uint16_t> keys;
  int loads = 0;
  int releases = 0;
};

class Probe final : public widgets::TWControlButton {
 public:
  Probe(widgets::TWControl* parent, std::string probeName, std::vector<Drawn>* drawLog)
      : TWControlButton(parent), name(std::move(probeName)), log(drawLog) {}
  void Draw() override {
    if (log != nullptr) log->push_back({name, hover, pressed, down});
  }
  std::string name;
  std::vector<Drawn>* log;
};

// A headless Size x Size window with a TestScreen made on it; Box gives a widget's place in
// pixels of that screen.
template <int Size>
class ScreenFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<app::TMainWnd>(platform);
    screen = std::make_unique<TestScreen>(*window);
  }
  void TearDown() override {
    screen.reset();
    window.reset();
  }
  static gfx::FracRect Box(float x, float y, float w, float h) {
    constexpr float kSize = Size;
    return gfx::FracRect::FromSize(x / kSize, y / kSize, w / kSize, h / kSize);
  }

  platform::HeadlessPlatform platform{{Size, Size}};
  std::unique_ptr<app::TMainWnd> window;
  std::unique_ptr<TestScreen> screen;
  std::vector<Drawn> log;
};

}  // namespace widgets_test
