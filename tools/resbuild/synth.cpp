#include "tools/resbuild/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace resbuild::synth {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

std::size_t SampleCount(double seconds) {
  return seconds > 0 ? static_cast<std::size_t>(std::lround(seconds * kSampleRate)) : 0;
}

double Oscillate(Wave wave, double phase) {  // phase in cycles, 0..1
  switch (wave) {
    case Wave::Sine:
      return std::sin(kTwoPi * phase);
    case Wave::Saw:
      return 2 * phase - 1;
    case Wave::Triangle:
      return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
  }
  return 0;
}

void PutTag(gfx::ByteBuffer& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

Buffer::Buffer(double seconds) : samples(SampleCount(seconds), 0.0) {}

void Buffer::Mix(const Buffer& other, double atSeconds, double gain) {
  const std::size_t start = SampleCount(atSeconds);
  if (start + other.samples.size() > samples.size()) {
    samples.resize(start + other.samples.size(), 0.0);
  }
  for (std::size_t i = 0; i < other.samples.size(); ++i) {
    samples[start + i] += other.samples[i] * gain;
  }
}

void Buffer::Scale(double gain) {
  for (double& s : samples) s *= gain;
}

double Buffer::Peak() const {
  double peak = 0;
  for (double s : samples) peak = std::max(peak, std::abs(s));
  return peak;
}

void Buffer::Normalise(double peak) {
  const double current = Peak();
  if (current > 0) Scale(peak / current);
}

Buffer Tone(Wave wave, double seconds, double startHz, double endHz) {
  Buffer out(seconds);
  const std::size_t n = out.samples.size();
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = n > 1 ? static_cast<double>(i) / (n - 1) : 0;
    const double hz = startHz == endHz ? startHz : startHz * std::pow(endHz / startHz, t);
    out.samples[i] = Oscillate(wave, phase);
    phase += hz / kSampleRate;
    phase -= std::floor(phase);
  }
  return out;
}

Buffer VibratoTone(Wave wave, double seconds, double hz, double depth, double rate) {
  Buffer out(seconds);
  double phase = 0;
  for (std::size_t i = 0; i < out.samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double f = hz * std::pow(2.0, depth / 12 * std::sin(kTwoPi * rate * t));
    out.samples[i] = Oscillate(wave, phase);
    phase += f / kSampleRate;
    phase -= std::floor(phase);
  }
  return out;
}

Buffer Noise(double seconds, std::uint32_t seed) {
  Buffer out(seconds);
  std::uint32_t state = seed * 2654435761u | 1u;
  for (double& s : out.samples) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    s = (state >> 8) / 8388608.0 - 1.0;
  }
  return out;
}

void ApplyEnvelope(Buffer& buffer, const Adsr& envelope) {
  const double total = buffer.seconds();
  const double releaseStart = std::max(0.0, total - envelope.release);
  for (std::size_t i = 0; i < buffer.samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    double level;
    if (t < envelope.attack) {
      level = t / envelope.attack;
    } else if (t < envelope.attack + envelope.decay) {
      level = 1 - (1 - envelope.sustain) * (t - envelope.attack) / envelope.decay;
    } else {
      level = envelope.sustain;
    }
    if (t >= releaseStart && envelope.release > 0) {
      level *= std::max(0.0, 1 - (t - releaseStart) / envelope.release);
    }
    buffer.samples[i] *= level;
  }
}

void ApplyDecay(Buffer& buffer, double tau, double attack) {
  for (std::size_t i = 0; i < buffer.samples.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    buffer.samples[i] *= rise * std::exp(-t / tau);
  }
}

void FadeOut(Buffer& buffer, double seconds) {
  const std::size_t n = buffer.samples.size();
  const std::size_t fade = std::min(n, SampleCount(seconds));
  for (std::size_t i = 0; i < fade; ++i) {
    buffer.samples[n - 1 - i] *= static_cast<double>(i) / fade;
  }
}

void LowPass(Buffer& buffer, double cutoffHz) {
  LowPassSweep(buffer, cutoffHz, cutoffHz);
}

void LowPassSweep(Buffer& buffer, double startHz, double endHz) {
  const std::size_t n = buffer.samples.size();
  double y = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = n > 1 ? static_cast<double>(i) / (n - 1) : 0;
    const double hz = startHz * std::pow(endHz / startHz, t);
    const double a = 1 - std::exp(-kTwoPi * hz / kSampleRate);
    y += a * (buffer.samples[i] - y);
    buffer.samples[i] = y;
  }
}

void HighPass(Buffer& buffer, double cutoffHz) {
  const double a = std::exp(-kTwoPi * cutoffHz / kSampleRate);
  double low = 0;
  for (double& s : buffer.samples) {
    low = (1 - a) * s + a * low;
    s -= low;
  }
}

void BandPass(Buffer& buffer, double centreHz, double q) {
  const double w = kTwoPi * centreHz / kSampleRate;
  const double alpha = std::sin(w) / (2 * q);
  const double a0 = 1 + alpha;
  const double b0 = alpha / a0;
  const double b2 = -alpha / a0;
  const double a1 = -2 * std::cos(w) / a0;
  const double a2 = (1 - alpha) / a0;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (double& s : buffer.samples) {
    const double x = s;
    const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    s = y;
  }
}

gfx::ByteBuffer EncodeWave(const Buffer& buffer) {
  const auto dataBytes = static_cast<std::uint32_t>(buffer.samples.size() * 2);
  gfx::ByteBuffer out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  gfx::AppendLe32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  gfx::AppendLe32(out, 16);
  gfx::AppendLe16(out, 1);  // PCM
  gfx::AppendLe16(out, 1);  // mono
  gfx::AppendLe32(out, kSampleRate);
  gfx::AppendLe32(out, kSampleRate * 2);
  gfx::AppendLe16(out, 2);
  gfx::AppendLe16(out, 16);
  PutTag(out, "data");
  gfx::AppendLe32(out, dataBytes);
  for (double s : buffer.samples) {
    const double clipped = std::clamp(s, -1.0, 1.0);
    const auto value = static_cast<std::int16_t>(std::lround(clipped * 32767));
    gfx::AppendLe16(out, static_cast<std::uint16_t>(value));
  }
  return out;
}

}  // namespace resbuild::synth
