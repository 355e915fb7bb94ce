// Raw input becoming window events: the shift set, the click before button-up, and the keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input_translator.h"
#include "platform/os_version.h"
#include "platform/sdl_keys.h"

namespace platform {
namespace {

struct EventLog final : WindowEvents {
  std::vector<std::string> lines;
  void OnMouseMove(ShiftState s, std::int32_t x, std::int32_t y) override {
    lines.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," +
                    std::to_string(y));
  }
  void OnMouseDown(MouseButton b, ShiftState s, std::int32_t, std::int32_t) override {
    lines.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s));
  }
  void OnMouseUp(MouseButton b, ShiftState s, std::int32_t, std::int32_t) override {
    lines.push_back("up " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s));
  }
  void OnClick() override { lines.push_back("click"); }
};

TEST(InputTranslator, LeftClickIsRaisedBeforeButtonUp) {
  InputTranslator input;
  EventLog log;
  input.ButtonDown(log, MouseButton::Left, 5, 5, 0, false);
  input.Motion(log, 6, 5, kShiftKey);
  input.ButtonUp(log, MouseButton::Left, 6, 5, 0, true);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"down 0 8", "move 9 6,5", "click", "up 0 0"}));
}

TEST(InputTranslator, NoClickWhenReleasedOutsideOrNeverPressedInside) {
  InputTranslator input;
  EventLog log;
  input.ButtonDown(log, MouseButton::Left, 5, 5, 0, false);
  input.ButtonUp(log, MouseButton::Left, -3, 5, 0, false);
  input.ButtonUp(log, MouseButton::Left, 5, 5, 0, true);  // no press came before this one
  input.ButtonDown(log, MouseButton::Right, 5, 5, 0, false);
  input.ButtonUp(log, MouseButton::Right, 5, 5, 0, true);  // right buttons never click
  for (const std::string& line : log.lines) EXPECT_NE(line, "click");
}

TEST(InputTranslator, HeldButtonsAndDoubleClickInTheShiftSet) {
  InputTranslator input;
  EventLog log;
  input.ButtonDown(log, MouseButton::Right, 1, 1, kCtrlKey, false);
  input.ButtonDown(log, MouseButton::Left, 1, 1, 0, true);
  EXPECT_EQ(log.lines.back(),
            "down 0 " + std::to_string(kLeftButton | kRightButton | kDoubleClick));
  input.ButtonUp(log, MouseButton::Right, 1, 1, 0, true);
  EXPECT_EQ(input.heldButtons(), kLeftButton);
}

// With the focus gone, held buttons come up outside the window; the release that may still
// come later clicks nothing.
TEST(InputTranslator, LosingTheFocusLetsGoOfHeldButtonsWithoutAClick) {
  InputTranslator input;
  EventLog log;
  input.ButtonDown(log, MouseButton::Left, 1, 1, 0, false);
  input.ButtonDown(log, MouseButton::Middle, 1, 1, 0, false);
  log.lines.clear();
  input.ReleaseAll(log);
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"up 0 " + std::to_string(kMiddleButton), "up 2 0"}));
  EXPECT_EQ(input.heldButtons(), 0);
  EXPECT_EQ(input.pointer(), (Point{1, 1}));
  input.ReleaseAll(log);  // nothing held: nothing more
  input.ButtonUp(log, MouseButton::Left, 1, 1, 0, true);
  EXPECT_EQ(log.lines.size(), 3u);
  EXPECT_EQ(log.lines.back(), "up 0 0");
}

TEST(SdlKeys, TranslateToVirtualKeyCodes) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 65);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 90);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_s), vk::kS);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), 48);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), 57);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F8), 119);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT), 37);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UP), 38);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RIGHT), 39);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), 40);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), 27);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RETURN), 13);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), 13);
  // The zoom keys: + on its own key or shifted on =, -, and the keypad's.
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_PLUS), vk::kOemPlus);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_EQUALS), vk::kOemPlus);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_MINUS), vk::kOemMinus);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_PLUS), vk::kAdd);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_MINUS), vk::kSubtract);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_SPACE), 32);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKSPACE), 8);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_TAB), 9);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DELETE), 46);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_HOME), 36);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_END), 35);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0), 96);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_9), 105);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_CAPSLOCK), 0);
  EXPECT_EQ(ModifiersFromSdl(KMOD_LSHIFT | KMOD_RALT | KMOD_LCTRL), kShiftKey | kAltKey | kCtrlKey);
  EXPECT_EQ(ModifiersFromSdl(KMOD_NUM), 0);
  EXPECT_TRUE(IsCloseChord(vk::kF4, kAltKey | kShiftKey));
  EXPECT_FALSE(IsCloseChord(vk::kF4, 0));
}

TEST(OsVersion, ReadFromTheKernelRelease) {
  EXPECT_EQ(ParseKernelRelease("6.1.0-18-amd64").major, 6);
  EXPECT_EQ(ParseKernelRelease("6.1.0-18-amd64").minor, 1);
  EXPECT_EQ(ParseKernelRelease("5.15").minor, 15);
  EXPECT_EQ(ParseKernelRelease("7").major, 7);
  EXPECT_EQ(ParseKernelRelease("7").minor, 0);
  EXPECT_EQ(ParseKernelRelease("garbage").major, 0);
  EXPECT_EQ(ParseKernelRelease("").major, 0);
  EXPECT_GT(ReadOsVersion().major, 0);
}

}  // namespace
}  // namespace platform
