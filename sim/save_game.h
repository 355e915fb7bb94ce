// Saved games: the colony state, the selected type, every map cell and the colony's history in
// a file of our own.
//
// Layout, all numbers little-endian:
//   8 bytes   magic "RHSAVE\r\n"
//   4 bytes   format version (kSaveFormatVersion)
//   4 bytes   payload size in bytes
//   payload   the ColonyState fields from population to buildSerial in order (32-bit
//             integers, the two floats as their IEEE bits), selectedType, then every cell row
//             after row: its eight bytes and its 32-bit serial; then the history:
//               4 bytes  how many daily records (at most ColonyHistory::kDailyRecords)
//               4 bytes  how many monthly records (at most ColonyHistory::kMonthlyRecords)
//               the daily records oldest first, then the monthly ones oldest first, each 16
//               words of 4 bytes: day, month, year, population, unemployed, water, food,
//               power, freeHousing, mentalHealth, reproduction, health, communications (32-bit
//               integers), growthRate (its IEEE bits), hasScore (0 or 1), score (0 without)
//   4 bytes   CRC-32 of the payload
// Version 1 is the same without the history; such a file loads with an empty history, so the
// colony's history starts at the load.
//
// A file is loaded only when all of it checks out, including that the balances agree with
// the structures on the map and that the history is one the colony can have lived: dates one
// after the other up to the colony's own, values within what play reaches. Otherwise the
// running game is left as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/byte_buffer.h"
#include "sim/colony_history.h"
#include "sim/colony_state.h"
#include "world/map_cell.h"

namespace sim {

using world::MapCell;

inline constexpr std::uint32_t kSaveFormatVersion = 2;
// A saved game holds the cells of the game's map, 129 x 129 of them.
inline constexpr std::int32_t kCellCount = world::kMapColumns * world::kMapRows;

struct SavedGame {
  ColonyState state;
  StructureType selectedType = kLand;
  std::vector<MapCell> cells;
  ColonyHistory history;
};

std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// Every function below takes the number of cells the land holds. The game's files always hold
// kCellCount; a smaller land runs the very same checks thousands of times faster, for the
// fuzzer. Cells missing from `cells` are written as bare land.
gfx::ByteBuffer EncodeSavedGame(const ColonyState& state, StructureType selectedType,
                                std::span<const MapCell> cells, const ColonyHistory& history,
                                std::int32_t cellCount = kCellCount);

enum class DecodeError {
  kNone,
  kForeign,  // not our magic, or too short to hold it
  kNewer,    // a format version this program does not know
  kDamaged,  // wrong size, checksum or a value out of range
};

// Checks everything; `out` is written only on success.
DecodeError DecodeSavedGame(std::span<const std::uint8_t> bytes, SavedGame& out,
                            std::int32_t cellCount = kCellCount);

// Checks one game's values and the agreement between the balances and the map. Returns an
// empty string when it is sound, else what is wrong (for tests and diagnostics).
std::string CheckColony(const ColonyState& state, StructureType selectedType,
                        std::span<const MapCell> cells, std::int32_t cellCount = kCellCount);

// Checks that the history is one the colony in `state` can have lived (see the layout's
// notes). Returns an empty string when it is sound, else what is wrong.
std::string CheckHistory(const ColonyHistory& history, const ColonyState& state);

// The size in bytes of a saved game of this format with so many records.
std::size_t SavedGameFileSize(std::size_t dailyRecords, std::size_t monthlyRecords,
                              std::int32_t cellCount = kCellCount);
// The largest saved game of this format: a full history.
std::size_t LargestSavedGameFileSize();

}  // namespace sim
