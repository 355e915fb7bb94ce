#include "platform/sdl_audio.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "platform/audio_volume.h"

namespace platform {

void SdlAudio::Open() {
  if (opened_) return;
  opened_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    std::fprintf(stderr, "Redhollow: no audio (%s); the game runs silent.\n", SDL_GetError());
    return;
  }
  subsystemReady_ = true;
  SDL_AudioSpec wanted{};
  wanted.freq = 44100;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = 1024;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &spec_,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
  if (device_ == 0) {
    std::fprintf(stderr, "Redhollow: no audio device (%s); the game runs silent.\n",
                 SDL_GetError());
    return;
  }
  SDL_PauseAudioDevice(device_, 0);
}

SdlAudio::~SdlAudio() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemReady_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::Stop() {
  if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

std::vector<std::uint8_t> ConvertWave(std::span<const std::uint8_t> waveFile,
                                      const SDL_AudioSpec& device, int volumePercent) {
  if (waveFile.empty() ||
      waveFile.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return {};
  SDL_RWops* stream = SDL_RWFromConstMem(waveFile.data(), static_cast<int>(waveFile.size()));
  if (stream == nullptr) return {};
  SDL_AudioSpec waveSpec{};
  Uint8* samples = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(stream, 1, &waveSpec, &samples, &length) == nullptr) return {};
  std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(samples, &SDL_FreeWAV);

  std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)> converter(
      SDL_NewAudioStream(waveSpec.format, waveSpec.channels, waveSpec.freq, device.format,
                         device.channels, device.freq),
      &SDL_FreeAudioStream);
  if (!converter || SDL_AudioStreamPut(converter.get(), samples, static_cast<int>(length)) != 0 ||
      SDL_AudioStreamFlush(converter.get()) != 0)
    return {};
  std::vector<std::uint8_t> converted(
      static_cast<std::size_t>(SDL_AudioStreamAvailable(converter.get())));
  const int got =
      SDL_AudioStreamGet(converter.get(), converted.data(), static_cast<int>(converted.size()));
  if (got <= 0) return {};
  converted.resize(static_cast<std::size_t>(got));
  if (volumePercent >= 100) return converted;
  if (device.format == AUDIO_S16SYS) {
    ScaleSamples16(converted, volumePercent);
  } else {
    // Any other format (the device is opened for 16-bit samples, so only in principle): SDL's
    // mixer scales it into silence, in its own 128 steps.
    std::vector<std::uint8_t> scaled(converted.size(), static_cast<std::uint8_t>(device.silence));
    SDL_MixAudioFormat(scaled.data(), converted.data(), device.format,
                       static_cast<Uint32>(converted.size()),
                       std::max(volumePercent, 0) * SDL_MIX_MAXVOLUME / 100);
    converted = std::move(scaled);
  }
  return converted;
}

bool SdlAudio::PlayWave(std::span<const std::uint8_t> waveFile) {
  Open();
  // The playing sound is cut off first, even when the new one turns out unplayable or silent.
  Stop();
  if (device_ == 0 || volume() == 0) return false;
  const std::vector<std::uint8_t> converted = ConvertWave(waveFile, spec_, volume());
  if (converted.empty()) return false;
  return SDL_QueueAudio(device_, converted.data(), static_cast<Uint32>(converted.size())) == 0;
}

}  // namespace platform
