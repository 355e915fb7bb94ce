#pragma once

#include <SDL.h>

#include "platform/platform.h"

namespace platform {

// One SDL audio device, opened at start-up. Without a device every call is silent.
class SdlAudio final : public AudioDevice {
 public:
  SdlAudio();
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool PlayWave(std::span<const std::uint8_t> waveFile) override;
  void Stop() override;
  bool available() const override { return device_ != 0; }

 private:
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
};

}  // namespace platform
