// A small synthesiser for the game's sound effects: oscillators, noise, envelopes, filters
// and mixing on buffers of samples in -1..1, written out as 16-bit PCM mono wave files.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/byte_buffer.h"

namespace resbuild::synth {

inline constexpr int kSampleRate = 22050;

struct Buffer {
  std::vector<double> samples;

  Buffer() = default;
  explicit Buffer(double seconds);
  double seconds() const { return static_cast<double>(samples.size()) / kSampleRate; }
  // Adds other, scaled by gain, starting at the given time; grows when other reaches further.
  void Mix(const Buffer& other, double atSeconds, double gain = 1.0);
  void Scale(double gain);
  // Scales so that the loudest sample has the given magnitude (nothing when silent).
  void Normalise(double peak);
  double Peak() const;
};

enum class Wave { Sine, Saw, Triangle };

// A tone whose frequency glides exponentially from startHz to endHz over its length.
Buffer Tone(Wave wave, double seconds, double startHz, double endHz);
inline Buffer Tone(Wave wave, double seconds, double hz) {
  return Tone(wave, seconds, hz, hz);
}
// A tone with vibrato: depth in semitones, rate in Hz.
Buffer VibratoTone(Wave wave, double seconds, double hz, double depth, double rate);
// White noise from a fixed seed, so every run makes the same sound.
Buffer Noise(double seconds, std::uint32_t seed);

struct Adsr {
  double attack = 0.01;  // seconds
  double decay = 0.05;   // seconds
  double sustain = 0.7;  // level
  double release = 0.1;  // seconds, taken from the end of the buffer
};
void ApplyEnvelope(Buffer& buffer, const Adsr& envelope);
// A fast attack and then an exponential fall with time constant tau.
void ApplyDecay(Buffer& buffer, double tau, double attack = 0.0005);
// A linear fade to silence over the last seconds.
void FadeOut(Buffer& buffer, double seconds);

// One-pole filters.
void LowPass(Buffer& buffer, double cutoffHz);
void HighPass(Buffer& buffer, double cutoffHz);
// A low-pass whose cutoff glides exponentially from startHz to endHz.
void LowPassSweep(Buffer& buffer, double startHz, double endHz);
// A biquad band-pass of the given centre and quality.
void BandPass(Buffer& buffer, double centreHz, double q);

// 16-bit PCM mono; samples beyond -1..1 are clipped.
gfx::ByteBuffer EncodeWave(const Buffer& buffer);

}  // namespace resbuild::synth
