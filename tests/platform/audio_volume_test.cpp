// The effects' volume: the samples that reach the audio device are the wave file's own at
// 100 %, half of them at 50 %, silence at 0 %; and what the devices do with the setting.
#include "platform/audio_volume.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/headless_platform.h"
#include "platform/sdl_audio.h"

namespace platform {
namespace {

std::vector<std::uint8_t> Bytes(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> bytes(samples.size() * 2);
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

std::vector<std::int16_t> Samples(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// A 16-bit PCM mono wave file at 22050 Hz holding these samples.
std::vector<std::uint8_t> WaveFile(const std::vector<std::int16_t>& samples) {
  const auto data = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> file(44 + data);
  std::size_t at = 0;
  const auto put = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file[at++] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  const auto tag = [&](const char* name) {
    for (int i = 0; i < 4; ++i) file[at++] = static_cast<std::uint8_t>(name[i]);
  };
  tag("RIFF");
  put(36 + data, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(22050, 4);
  put(22050 * 2, 4);
  put(2, 2);
  put(16, 2);
  tag("data");
  put(data, 4);
  for (const std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
  return file;
}

SDL_AudioSpec DeviceSpec(int freq, Uint8 channels) {
  SDL_AudioSpec spec{};
  spec.freq = freq;
  spec.format = AUDIO_S16SYS;
  spec.channels = channels;
  return spec;
}

TEST(AudioVolume, ScalingHalvesAtFiftySilencesAtZeroAndLeavesAHundredAlone) {
  const std::vector<std::int16_t> loud = {0, 1, -1, 1000, -1000, 32767, -32768, 12345};
  std::vector<std::uint8_t> bytes = Bytes(loud);
  ScaleSamples16(bytes, 100);
  EXPECT_EQ(Samples(bytes), loud);
  ScaleSamples16(bytes, 50);
  EXPECT_EQ(Samples(bytes), (std::vector<std::int16_t>{0, 0, 0, 500, -500, 16383, -16384, 6172}));
  bytes = Bytes(loud);
  ScaleSamples16(bytes, 0);
  EXPECT_EQ(Samples(bytes), std::vector<std::int16_t>(loud.size(), 0));
  // Out of range is clamped: above 100 never amplifies, below 0 is silence.
  bytes = Bytes(loud);
  ScaleSamples16(bytes, 250);
  EXPECT_EQ(Samples(bytes), loud);
  ScaleSamples16(bytes, -20);
  EXPECT_EQ(Samples(bytes), std::vector<std::int16_t>(loud.size(), 0));
}

TEST(AudioVolume, AnOddLastByteAndUnalignedSamplesAreSafe) {
  std::vector<std::uint8_t> bytes = {0xFF, 0x10, 0x27, 0x7F};  // one stray byte, then 10000
  ScaleSamples16(std::span(bytes).subspan(1), 50);
  EXPECT_EQ(bytes[0], 0xFF);
  std::int16_t sample = 0;
  std::memcpy(&sample, bytes.data() + 1, 2);
  EXPECT_EQ(sample, 5000);
  EXPECT_EQ(bytes[3], 0x7F);  // the odd byte at the end stays
}

TEST(AudioVolume, ConvertedWaveSamplesFollowTheVolume) {
  const std::vector<std::int16_t> tone = {0, 8000, 16000, 24000, -8000, -16000, -24000, 3};
  const std::vector<std::uint8_t> file = WaveFile(tone);
  // The device's own format: conversion changes nothing, so 100 % is the file's samples.
  const SDL_AudioSpec same = DeviceSpec(22050, 1);
  EXPECT_EQ(Samples(ConvertWave(file, same, 100)), tone);
  std::vector<std::int16_t> half;
  for (const std::int16_t s : tone) half.push_back(static_cast<std::int16_t>(s / 2));
  EXPECT_EQ(Samples(ConvertWave(file, same, 50)), half);
  EXPECT_EQ(Samples(ConvertWave(file, same, 0)), std::vector<std::int16_t>(tone.size(), 0));
  // Resampled to stereo at 44100 Hz: still each sample of the full-volume conversion halved.
  const SDL_AudioSpec other = DeviceSpec(44100, 2);
  const std::vector<std::int16_t> full = Samples(ConvertWave(file, other, 100));
  ASSERT_GT(full.size(), tone.size());
  std::vector<std::int16_t> expected;
  for (const std::int16_t s : full) expected.push_back(static_cast<std::int16_t>(s / 2));
  EXPECT_EQ(Samples(ConvertWave(file, other, 50)), expected);
  const std::uint8_t junk[] = {'R', 'I', 'F', 'F', 0, 0};
  EXPECT_TRUE(ConvertWave(junk, other, 50).empty());
}

TEST(AudioVolume, TheSdlDevicePlaysNothingAtZeroAndTheRecordingKeepsEachVolume) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const std::vector<std::uint8_t> file = WaveFile({100, 200, 300, 400});
  SdlAudio device;
  EXPECT_EQ(device.volume(), 100);
  EXPECT_TRUE(device.PlayWave(file));
  device.SetVolume(0);
  EXPECT_FALSE(device.PlayWave(file));  // silent: it plays nothing at all
  device.SetVolume(50);
  EXPECT_TRUE(device.PlayWave(file));
  device.SetVolume(140);
  EXPECT_EQ(device.volume(), 100);
  device.SetVolume(-3);
  EXPECT_EQ(device.volume(), 0);

  RecordingAudio recording;
  recording.PlayWave(file);
  recording.SetVolume(30);
  recording.PlayWave(file);
  EXPECT_EQ(recording.playedVolumes, (std::vector<int>{100, 30}));
  EXPECT_EQ(recording.played[1], file);  // the wave file as the game gave it
}

}  // namespace
}  // namespace platform
