// The seven sounds of res00.dat. Each is mixed from a few synthesised layers; the lengths
// are part of the game's feel (the clicks must not lag behind the pointer).
#include <cmath>
#include <numbers>

#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/synth.h"

namespace resbuild {
namespace {

using synth::Buffer;
using synth::Wave;

Buffer Decaying(Buffer b, double tau, double attack = 0.0005) {
  synth::ApplyDecay(b, tau, attack);
  return b;
}

// A struck bell-like note: a fundamental with two inharmonic partials that die faster.
Buffer Chime(double hz, double seconds) {
  Buffer note(seconds);
  note.Mix(Decaying(synth::Tone(Wave::Sine, seconds, hz), 0.20, 0.002), 0, 1.0);
  note.Mix(Decaying(synth::Tone(Wave::Sine, seconds, hz * 2.76), 0.08, 0.002), 0, 0.35);
  note.Mix(Decaying(synth::Tone(Wave::Sine, seconds, hz * 5.40), 0.04, 0.002), 0, 0.15);
  return note;
}

// One knock of a hammer on a prefab panel: a dull thump, the slap of the blow and a short
// metallic ring.
Buffer Knock(double pitch, std::uint32_t seed) {
  constexpr double kLength = 0.14;
  Buffer knock(kLength);
  knock.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 170 * pitch, 85 * pitch), 0.035), 0, 1.0);
  Buffer slap = synth::Noise(kLength, seed);
  synth::BandPass(slap, 1300 * pitch, 1.2);
  knock.Mix(Decaying(std::move(slap), 0.010), 0, 1.6);
  knock.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 1870 * pitch), 0.025), 0, 0.18);
  knock.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 2710 * pitch), 0.018), 0, 0.10);
  return knock;
}

gfx::ByteBuffer Finish(Buffer sound, double peak, double fade) {
  sound.Normalise(peak);
  synth::FadeOut(sound, fade);
  return synth::EncodeWave(sound);
}

}  // namespace

gfx::ByteBuffer MakeClick1() {
  constexpr double kLength = 0.035;
  Buffer click(kLength);
  click.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 2400), 0.004), 0, 0.8);
  click.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 1300, 800), 0.006), 0, 0.6);
  Buffer tick = synth::Noise(kLength, 11);
  synth::HighPass(tick, 3000);
  click.Mix(Decaying(std::move(tick), 0.0015), 0, 1.0);
  return Finish(std::move(click), 0.8, 0.005);
}

gfx::ByteBuffer MakeClick2() {
  constexpr double kLength = 0.045;
  Buffer click(kLength);
  click.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 900, 600), 0.008, 0.001), 0, 0.8);
  click.Mix(Decaying(synth::Tone(Wave::Sine, kLength, 320), 0.010, 0.001), 0, 0.5);
  Buffer tick = synth::Noise(kLength, 23);
  synth::LowPass(tick, 2000);
  click.Mix(Decaying(std::move(tick), 0.003, 0.001), 0, 0.7);
  return Finish(std::move(click), 0.55, 0.008);
}

gfx::ByteBuffer MakeBuild() {
  Buffer build(0.5);
  // A servo sets the panel, then three blows drive it home, the last one hardest.
  Buffer servo = synth::Tone(Wave::Saw, 0.1, 300, 430);
  synth::LowPass(servo, 1200);
  synth::ApplyEnvelope(servo, {0.02, 0.03, 0.8, 0.04});
  build.Mix(servo, 0.03, 0.25);
  build.Mix(Knock(1.0, 101), 0.0, 0.75);
  build.Mix(Knock(1.04, 102), 0.16, 0.8);
  build.Mix(Knock(0.94, 103), 0.32, 1.0);
  build.samples.resize(static_cast<std::size_t>(0.5 * synth::kSampleRate));
  return Finish(std::move(build), 0.85, 0.03);
}

gfx::ByteBuffer MakeDemolish() {
  constexpr double kLength = 0.8;
  Buffer demolish(kLength);
  // The collapse: a roar whose brightness falls away as the pieces settle.
  Buffer rumble = synth::Noise(kLength, 7);
  synth::LowPassSweep(rumble, 2200, 140);
  synth::ApplyEnvelope(rumble, {0.01, 0.25, 0.55, 0.45});
  demolish.Mix(rumble, 0, 1.0);
  demolish.Mix(Decaying(synth::Tone(Wave::Sine, 0.5, 75, 38), 0.16, 0.003), 0, 0.9);
  // Falling debris: short grains, dense at first and thinning out.
  DetailRandom random(97);
  for (int i = 0; i < 42; ++i) {
    const double t = 0.7 * std::pow(random.Unit(), 1.8);
    Buffer grain = synth::Noise(0.03, 300 + i);
    synth::BandPass(grain, random.Range(700, 3200), 2.0);
    demolish.Mix(Decaying(std::move(grain), 0.006), t, random.Range(0.5, 1.4) * (1 - t));
  }
  demolish.samples.resize(static_cast<std::size_t>(kLength * synth::kSampleRate));
  return Finish(std::move(demolish), 0.85, 0.12);
}

gfx::ByteBuffer MakeWarning() {
  Buffer warning(0.5);
  warning.Mix(Chime(880, 0.5), 0, 1.0);
  warning.Mix(Chime(659.25, 0.28), 0.22, 1.0);
  warning.samples.resize(static_cast<std::size_t>(0.5 * synth::kSampleRate));
  return Finish(std::move(warning), 0.8, 0.05);
}

gfx::ByteBuffer MakeAlarm() {
  constexpr double kLength = 1.0;
  Buffer siren(kLength);
  // Two rises and falls between 650 and 1150 Hz, a bright but filtered square and a sine.
  double phase = 0;
  for (std::size_t i = 0; i < siren.samples.size(); ++i) {
    const double t = static_cast<double>(i) / synth::kSampleRate;
    const double sweep = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * 2.0 * t);
    const double hz = 650 + 500 * sweep;
    const double square = phase < 0.5 ? 1.0 : -1.0;
    siren.samples[i] = 0.45 * square + 0.8 * std::sin(2 * std::numbers::pi * phase);
    phase += hz / synth::kSampleRate;
    phase -= std::floor(phase);
  }
  synth::LowPass(siren, 2600);
  synth::ApplyEnvelope(siren, {0.02, 0.05, 1.0, 0.08});
  return Finish(std::move(siren), 0.7, 0.01);
}

gfx::ByteBuffer MakeGameOver() {
  // A slow fall through a minor chord to the low tonic, the last note left to ring.
  constexpr double kNotes[] = {392.00, 311.13, 261.63, 196.00};
  constexpr double kStep = 0.42;
  Buffer melody(2.1);
  for (int i = 0; i < 4; ++i) {
    const bool last = i == 3;
    const double length = last ? 2.1 - kStep * 3 : kStep + 0.12;
    Buffer note = synth::VibratoTone(Wave::Triangle, length, kNotes[i], 0.08, 5.0);
    note.Mix(synth::Tone(Wave::Sine, length, kNotes[i] / 2), 0, 0.45);
    synth::LowPass(note, 2400);
    synth::ApplyEnvelope(note, {0.03, 0.15, 0.6, last ? 0.5 : 0.14});
    melody.Mix(note, kStep * i, 1.0);
  }
  melody.samples.resize(static_cast<std::size_t>(2.1 * synth::kSampleRate));
  return Finish(std::move(melody), 0.75, 0.05);
}

}  // namespace resbuild
