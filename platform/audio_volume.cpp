#include "platform/audio_volume.h"

#include <algorithm>
#include <cstring>

namespace platform {

void ScaleSamples16(std::span<std::uint8_t> samples, int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == 100) return;
  // The bytes need not be aligned for an int16_t: each sample is copied out and back.
  for (std::size_t at = 0; at + 1 < samples.size(); at += 2) {
    std::int16_t sample = 0;
    std::memcpy(&sample, samples.data() + at, sizeof sample);
    sample = static_cast<std::int16_t>(static_cast<std::int32_t>(sample) * percent / 100);
    std::memcpy(samples.data() + at, &sample, sizeof sample);
  }
}

}  // namespace platform
