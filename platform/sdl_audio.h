#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace platform {

// A wave file converted to samples in the device's format, at a volume in percent (100: the
// converted samples as they are); empty when it is no wave file SDL can read or convert.
std::vector<std::uint8_t> ConvertWave(std::span<const std::uint8_t> waveFile,
                                      const SDL_AudioSpec& device, int volumePercent);

// One SDL audio device. Opening it can take tens of ms with a sound server, so it is opened
// once the first screen is on the window (Open), or by the first sound if that comes sooner.
// Without a device every call is silent. The volume scales each sound as it is converted.
class SdlAudio final : public AudioDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override;
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool PlayWave(std::span<const std::uint8_t> waveFile) override;
  void Stop() override;
  // Whether a device was opened; false until Open.
  bool available() const override { return device_ != 0; }
  // Opens the device the first time; later calls do nothing.
  void Open();
  bool opened() const { return opened_; }

 private:
  bool opened_ = false;
  bool subsystemReady_ = false;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
};

}  // namespace platform
