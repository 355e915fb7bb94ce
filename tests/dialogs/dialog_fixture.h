// Dialogs shown by the real main window on the headless platform, in the folder of the built
// archives (for the dialog pictures), and played by a script: while a dialog's modal loop
// waits, each tick runs the next step of the script on the top dialog, as a player would act.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/main_wnd.h"
#include "dialogs/form.h"
#include "platform/headless_platform.h"

namespace dialogs_test {

// How far a dialog may stray from its golden image: builds by the two compilers draw a few
// pixels a few levels apart.
inline constexpr int kTolerance = 4;
inline constexpr int kBadPixels = 30;

using Step = std::function<void(platform::HeadlessPlatform&, dialogs::TForm&)>;

class DialogTest : public ::testing::Test {
 protected:
  explicit DialogTest(gfx::AppVideo screen = {1024, 768}) : screen_(screen) {}

  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(REDHOLLOW_GOLDEN_RESOURCE_DIR);
    platform = std::make_unique<platform::HeadlessPlatform>(screen_);
    window = std::make_unique<app::TMainWnd>(*platform);
    platform->Activate();
    platform->MoveMouse(screen_.width / 2, 5);
    platform->onModalIdle = [this](platform::HeadlessPlatform& p) {
      dialogs::TForm* top = window->topForm();
      if (top == nullptr) return;
      if (script.empty()) {
        scriptRanOut = true;
        p.RequestClose();  // nothing left to do: the close box
        return;
      }
      Step step = std::move(script.front());
      script.pop_front();
      step(p, *top);
    };
  }
  void TearDown() override {
    window.reset();
    platform.reset();
    std::filesystem::current_path(previous_);
  }

  // The centre of a control of the top dialog, in window pixels.
  static platform::Point CentreOf(const dialogs::TForm& form, const gfx::IntRect& bounds) {
    const gfx::IntRect client = form.ClientBounds();
    return {client.left + (bounds.left + bounds.right) / 2,
            client.top + (bounds.top + bounds.bottom) / 2};
  }

  std::unique_ptr<platform::HeadlessPlatform> platform;
  std::unique_ptr<app::TMainWnd> window;
  std::deque<Step> script;
  // The dialog was still open when the script had no step left.
  bool scriptRanOut = false;

 private:
  gfx::AppVideo screen_;
  std::filesystem::path previous_;
};

}  // namespace dialogs_test
