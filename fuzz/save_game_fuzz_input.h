// Saved-game fuzz inputs: the square land an input's size stands for, and every input tried
// twice, as given and with its checksum made right, so that the value checks behind the
// checksum are reached too.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/save_game.h"

namespace fuzzing {

// The side of the square land that a saved game of these bytes holds, from 2 up to
// `mostSide`: the side whose history counts, read where that side puts them (just before the
// checksum when there are no records), account for exactly the bytes after them; else the side
// that a game of about this size without a history holds. Small inputs try the very checks of
// a game's load on small lands, thousands of times faster than on the game's map.
inline std::int32_t LandSideOfInput(std::span<const std::uint8_t> input, std::int32_t mostSide) {
  for (std::int32_t side = mostSide; side >= 2; --side) {
    const std::int32_t cells = side * side;
    const std::size_t bare = sim::SavedGameFileSize(0, 0, cells);
    if (input.size() < bare) continue;
    const std::uint8_t* counts = input.data() + bare - 4 - 8;
    const std::uint32_t daily = gfx::LoadLe32(counts);
    const std::uint32_t monthly = gfx::LoadLe32(counts + 4);
    if (daily <= sim::ColonyHistory::kDailyRecords &&
        monthly <= sim::ColonyHistory::kMonthlyRecords &&
        input.size() == sim::SavedGameFileSize(daily, monthly, cells)) {
      return side;
    }
  }
  constexpr std::size_t kBytesBesideCells = 16 + 36 * 4 + 4 + 4;
  constexpr std::size_t kCellBytes = 12;
  const std::size_t size = input.size();
  const std::size_t cells = size > kBytesBesideCells ? (size - kBytesBesideCells) / kCellBytes : 0;
  const auto side = static_cast<std::int32_t>(std::sqrt(static_cast<double>(cells)));
  return std::clamp(side, 2, mostSide);
}

// A game that loaded saves back to its very bytes; one of an older format, which holds no
// history, saves in this format and loads back the same.
inline void CheckSavesBack(std::span<const std::uint8_t> bytes, const sim::SavedGame& game,
                           std::int32_t cells) {
  const gfx::ByteBuffer again =
      sim::EncodeSavedGame(game.state, game.selectedType, game.cells, game.history, cells);
  if (gfx::LoadLe32(bytes.data() + 8) == sim::kSaveFormatVersion) {
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) std::abort();
    return;
  }
  sim::SavedGame reloaded;
  if (!game.history.Empty() ||
      sim::DecodeSavedGame(again, reloaded, cells) != sim::DecodeError::kNone ||
      reloaded.state != game.state || reloaded.selectedType != game.selectedType ||
      reloaded.cells != game.cells || !reloaded.history.Empty()) {
    std::abort();
  }
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
