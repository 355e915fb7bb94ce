// Key codes and modifier flags as the game's input handling knows them: virtual-key codes
// (letters 65..90, digits 48..57, F1..F12 112..123, ...) and a one-byte shift set.
#pragma once

#include <cstdint>

namespace platform {

using ShiftState = std::uint8_t;
constexpr ShiftState kShiftKey = 1;
constexpr ShiftState kAltKey = 2;
constexpr ShiftState kCtrlKey = 4;
constexpr ShiftState kLeftButton = 8;
constexpr ShiftState kRightButton = 16;
constexpr ShiftState kMiddleButton = 32;
constexpr ShiftState kDoubleClick = 64;
// With a key: the key is held down and this press is the keyboard's repetition of it.
constexpr ShiftState kAutoRepeat = 128;

enum class MouseButton : std::int32_t { Left = 0, Right = 1, Middle = 2 };

constexpr ShiftState ButtonFlag(MouseButton b) {
  return b == MouseButton::Left    ? kLeftButton
         : b == MouseButton::Right ? kRightButton
                                   : kMiddleButton;
}

namespace vk {
constexpr std::uint16_t kBack = 8;
constexpr std::uint16_t kTab = 9;
constexpr std::uint16_t kReturn = 13;
constexpr std::uint16_t kShift = 16;
constexpr std::uint16_t kControl = 17;
constexpr std::uint16_t kMenu = 18;  // Alt
constexpr std::uint16_t kEscape = 27;
constexpr std::uint16_t kSpace = 32;
constexpr std::uint16_t kPrior = 33;
constexpr std::uint16_t kNext = 34;
constexpr std::uint16_t kEnd = 35;
constexpr std::uint16_t kHome = 36;
constexpr std::uint16_t kLeft = 37;
constexpr std::uint16_t kUp = 38;
constexpr std::uint16_t kRight = 39;
constexpr std::uint16_t kDown = 40;
constexpr std::uint16_t kInsert = 45;
constexpr std::uint16_t kDelete = 46;
constexpr std::uint16_t k0 = 48;
constexpr std::uint16_t kA = 65;
constexpr std::uint16_t kS = 83;
constexpr std::uint16_t kNumpad0 = 96;
constexpr std::uint16_t kAdd = 107;       // keypad +
constexpr std::uint16_t kSubtract = 109;  // keypad -
constexpr std::uint16_t kF1 = 112;
constexpr std::uint16_t kF2 = 113;
constexpr std::uint16_t kF3 = 114;
constexpr std::uint16_t kF4 = 115;
constexpr std::uint16_t kF5 = 116;
constexpr std::uint16_t kF6 = 117;
constexpr std::uint16_t kF7 = 118;
constexpr std::uint16_t kF8 = 119;
constexpr std::uint16_t kF9 = 120;
constexpr std::uint16_t kF10 = 121;
constexpr std::uint16_t kF11 = 122;
constexpr std::uint16_t kF12 = 123;
constexpr std::uint16_t kOemPlus = 187;   // the main keyboard's = and + key
constexpr std::uint16_t kOemMinus = 189;  // the main keyboard's - key
}  // namespace vk

}  // namespace platform
