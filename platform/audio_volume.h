// The effects' volume applied to samples on their way to the audio device.
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// Scales 16-bit native-endian samples to a volume in percent (clamped to 0..100), each sample
// toward zero; 100 leaves them exactly as they are. A trailing odd byte is left alone.
void ScaleSamples16(std::span<std::uint8_t> samples, int percent);

}  // namespace platform
