// Plays the player at the game's message dialogs on the headless platform: each message
// that opens is recorded (title, text, buttons) and answered with the next of `answers` by
// its hot key (Ok when none is left, No for a question), as a player would type it. Other
// dialogs are left to `otherDialog`, which the test sets to play them.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/main_wnd.h"
#include "dialogs/message_dialog.h"
#include "platform/headless_platform.h"

namespace testing_support {

class DialogAnswerer {
 public:
  struct Shown {
    std::string title;
    std::string text;
    int buttons;
  };

  DialogAnswerer(platform::HeadlessPlatform& platform, app::TMainWnd& window) : window_(window) {
    platform.onModalIdle = [this](platform::HeadlessPlatform& p) { Play(p); };
  }

  std::vector<Shown> shown;
  std::deque<int> answers;  // dialogs::kResultOk, kResultYes, kResultNo or kResultCancel
  std::function<void(platform::HeadlessPlatform&, dialogs::TForm&)> otherDialog;

 private:
  void Play(platform::HeadlessPlatform& p) {
    dialogs::TForm* form = window_.topForm();
    if (form == nullptr) return;
    auto* message = dynamic_cast<dialogs::TMessageDialog*>(form);
    if (message == nullptr) {
      if (otherDialog) otherDialog(p, *form);
      return;
    }
    shown.push_back({form->caption(), message->text(), message->buttons()});
    int answer =
        message->buttons() == dialogs::kButtonsYesNo ? dialogs::kResultNo : dialogs::kResultOk;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    switch (answer) {
      case dialogs::kResultYes:
        p.PressKey('Y');
        break;
      case dialogs::kResultNo:
        p.PressKey('N');
        break;
      case dialogs::kResultOk:
        p.PressKey('O');
        break;
      default:
        p.RequestClose();  // the close box
        break;
    }
  }

  app::TMainWnd& window_;
};

}  // namespace testing_support
