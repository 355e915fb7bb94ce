#include "world/random.h"

#include <chrono>

namespace world {

void Random::Seed(std::uint64_t seed) {
  // Spread the seed so that neighbouring seeds (consecutive clock readings) start far apart.
  state_ = seed + 0x9E3779B97F4A7C15ull;
  state_ = (state_ ^ (state_ >> 30)) * 0xBF58476D1CE4E5B9ull;
  state_ = (state_ ^ (state_ >> 27)) * 0x94D049BB133111EBull;
  state_ ^= state_ >> 31;
}

std::int32_t Random::Next() {
  if (source_) {
    // A scripted source is trusted only as far as the promised range.
    return source_() & 0x7FFFFFFF;
  }
  // A 64-bit linear congruential step with an output permutation; the top 31 bits are drawn.
  state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
  std::uint64_t x = state_;
  x ^= x >> 33;
  x *= 0xFF51AFD7ED558CCDull;
  x ^= x >> 33;
  return static_cast<std::int32_t>(x >> 33);
}

std::int32_t Random::Below(std::int32_t modulus) {
  if (modulus <= 0) return 0;
  return Next() % modulus;
}

Random& ProgramRandom() {
  static Random generator;
  return generator;
}

void SeedProgramRandomFromClock() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  ProgramRandom().Seed(static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace world
