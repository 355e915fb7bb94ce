// The program's one random generator. Every random draw of the game (the new map's ground and
// landing site, the colony's diseases and reports) comes from it, so a test can seed it or put a
// scripted source in its place and see exactly which draws were taken.
#pragma once

#include <cstdint>
#include <functional>

namespace world {

class Random {
 public:
  // A source of replacement draws; each call must give a value in [0, 2^31).
  using Source = std::function<std::int32_t()>;

  explicit Random(std::uint64_t seed = 1) { Seed(seed); }

  // Restarts the generator's own sequence; a replacement source stays in place.
  void Seed(std::uint64_t seed);
  // Puts a source in place of the generator's own sequence (an empty one restores it).
  void Replace(Source source) { source_ = std::move(source); }

  // A non-negative 31-bit value.
  std::int32_t Next();
  // A draw modulo a small positive number; 0 when modulus is not positive.
  std::int32_t Below(std::int32_t modulus);

 private:
  std::uint64_t state_ = 0;
  Source source_;
};

// The generator of the program, which the game screen seeds from the clock.
Random& ProgramRandom();

// Seeds the program's generator from the wall clock.
void SeedProgramRandomFromClock();

// For tests: replaces the program generator's draws for as long as it lives.
class ScopedRandomSource {
 public:
  explicit ScopedRandomSource(Random::Source source) { ProgramRandom().Replace(std::move(source)); }
  ~ScopedRandomSource() { ProgramRandom().Replace({}); }
  ScopedRandomSource(const ScopedRandomSource&) = delete;
  ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;
};

}  // namespace world
