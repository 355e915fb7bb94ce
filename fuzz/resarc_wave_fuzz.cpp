// resarc's wave reader on arbitrary bytes. A wave it takes is plain PCM whose samples lie
// inside the file in whole frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tools/resarc/archive_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto wave = resarc::ParseWave({data, size});
  if (!wave) return 0;
  const std::uint8_t* pcm = wave->pcm.data();
  const std::uint64_t frameBytes = static_cast<std::uint64_t>(wave->channels) *
                                   static_cast<std::uint64_t>(wave->bitsPerSample / 8);
  if (wave->channels <= 0 || wave->sampleRate <= 0 ||
      (wave->bitsPerSample != 8 && wave->bitsPerSample != 16) || wave->frames < 0 ||
      wave->pcm.size() != static_cast<std::uint64_t>(wave->frames) * frameBytes ||
      (!wave->pcm.empty() && (pcm < data || pcm + wave->pcm.size() > data + size)) ||
      wave->Milliseconds() < 0) {
    std::abort();
  }
  return 0;
}
