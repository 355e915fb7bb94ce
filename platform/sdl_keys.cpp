#include "platform/sdl_keys.h"

namespace platform {

std::uint16_t VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint16_t>(vk::kA + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint16_t>(vk::k0 + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12)
    return static_cast<std::uint16_t>(vk::kF1 + (key - SDLK_F1));
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
    return static_cast<std::uint16_t>(vk::kNumpad0 + 1 + (key - SDLK_KP_1));
  switch (key) {
    case SDLK_KP_0:
      return vk::kNumpad0;
    case SDLK_KP_PLUS:
      return vk::kAdd;
    case SDLK_KP_MINUS:
      return vk::kSubtract;
    case SDLK_PLUS:
    case SDLK_EQUALS:
      return vk::kOemPlus;
    case SDLK_MINUS:
      return vk::kOemMinus;
    case SDLK_BACKSPACE:
      return vk::kBack;
    case SDLK_TAB:
      return vk::kTab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return vk::kReturn;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return vk::kShift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return vk::kControl;
    case SDLK_LALT:
    case SDLK_RALT:
      return vk::kMenu;
    case SDLK_ESCAPE:
      return vk::kEscape;
    case SDLK_SPACE:
      return vk::kSpace;
    case SDLK_PAGEUP:
      return vk::kPrior;
    case SDLK_PAGEDOWN:
      return vk::kNext;
    case SDLK_END:
      return vk::kEnd;
    case SDLK_HOME:
      return vk::kHome;
    case SDLK_LEFT:
      return vk::kLeft;
    case SDLK_UP:
      return vk::kUp;
    case SDLK_RIGHT:
      return vk::kRight;
    case SDLK_DOWN:
      return vk::kDown;
    case SDLK_INSERT:
      return vk::kInsert;
    case SDLK_DELETE:
      return vk::kDelete;
    default:
      return 0;
  }
}

ShiftState ModifiersFromSdl(std::uint16_t mod) {
  ShiftState shift = 0;
  if (mod & KMOD_SHIFT) shift |= kShiftKey;
  if (mod & KMOD_ALT) shift |= kAltKey;
  if (mod & KMOD_CTRL) shift |= kCtrlKey;
  return shift;
}

}  // namespace platform
