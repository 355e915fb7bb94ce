// The saved-game reader on arbitrary bytes: as given, and once more with the checksum made
// right, so that the value checks behind the checksum are reached too. A file that loads must
// give a colony that runs and saves back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sim/colony.h"
#include "sim/save_game.h"

namespace {

void Check(const gfx::ByteBuffer& bytes) {
  sim::SavedGame game;
  if (sim::DecodeSavedGame(bytes, game) != sim::DecodeError::kNone) return;
  if (sim::EncodeSavedGame(game.state, game.selectedType, game.cells) != bytes) std::abort();
  world::Land land;
  world::Random random(1);
  sim::SilentHost host;
  sim::Colony colony(land, random, host);
  colony.ReplaceGame(game.state, game.selectedType, game.cells);
  for (int day = 0; day < 3; ++day) colony.RunDay();
  if (!sim::CheckColony(colony.State(), colony.SelectedType(), land.cells).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  gfx::ByteBuffer bytes(data, data + size);
  Check(bytes);
  constexpr std::size_t kHeader = 16;
  if (bytes.size() >= kHeader + 4) {
    const std::uint32_t crc = sim::Crc32(
        std::span<const std::uint8_t>(bytes).subspan(kHeader, bytes.size() - kHeader - 4));
    for (int i = 0; i < 4; ++i) {
      bytes[bytes.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
    }
    Check(bytes);
  }
  return 0;
}
