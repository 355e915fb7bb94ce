// Saved-game fuzz inputs: the square land an input's size stands for, and every input tried
// twice, as given and with its checksum made right, so that the value checks behind the
// checksum are reached too.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

#include "sim/save_game.h"

namespace fuzzing {

// The side of the square land that a saved game of about `size` bytes holds, from 2 up to
// `mostSide`: small inputs try the very checks of a game's load on small lands, thousands of
// times faster than on the game's map.
inline std::int32_t LandSideOfInput(std::size_t size, std::int32_t mostSide) {
  constexpr std::size_t kBytesBesideCells = 16 + 36 * 4 + 4 + 4;
  constexpr std::size_t kCellBytes = 12;
  const std::size_t cells = size > kBytesBesideCells ? (size - kBytesBesideCells) / kCellBytes : 0;
  const auto side = static_cast<std::int32_t>(std::sqrt(static_cast<double>(cells)));
  return std::clamp(side, 2, mostSide);
}

// Calls `check` with the input, then with its checksum rewritten when it is long enough to
// hold one.
template <typename Check>
void WithAndWithoutAGoodChecksum(std::span<const std::uint8_t> input, Check check) {
  gfx::ByteBuffer bytes(input.begin(), input.end());
  check(bytes);
  constexpr std::size_t kHeader = 16;
  if (bytes.size() < kHeader + 4) return;
  const std::uint32_t crc =
      sim::Crc32(std::span<const std::uint8_t>(bytes).subspan(kHeader, bytes.size() - kHeader - 4));
  for (int i = 0; i < 4; ++i)
    bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  check(bytes);
}

}  // namespace fuzzing
