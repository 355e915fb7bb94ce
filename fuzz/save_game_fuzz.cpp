// The saved-game reader on arbitrary bytes, then a month of play, on lands from 2 x 2 cells to
// the game's own map (the input's size chooses). A file that loads must save back to the same
// bytes (or, of an older format, to a file that loads the same), and the colony a month later
// must still be one that a saved game can hold: balances in agreement with the map, every value
// within what play reaches, a history of the days it lived.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/save_game_fuzz_input.h"
#include "sim/colony.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int32_t side = fuzzing::LandSideOfInput({data, size}, world::kMapColumns);
  const std::int32_t cells = side * side;
  fuzzing::WithAndWithoutAGoodChecksum({data, size}, [side, cells](const gfx::ByteBuffer& bytes) {
    sim::SavedGame game;
    if (sim::DecodeSavedGame(bytes, game, cells) != sim::DecodeError::kNone) return;
    fuzzing::CheckSavesBack(bytes, game, cells);
    world::Land land(side - 1);
    world::Random random(1);
    sim::SilentHost host;
    sim::Colony colony(land, random, host);
    colony.ReplaceGame(game.state, game.selectedType, game.cells, game.history);
    for (int day = 0; day < 30; ++day) colony.RunDay();
    if (!sim::CheckColony(colony.State(), colony.SelectedType(), land.cells, cells).empty() ||
        !sim::CheckHistory(colony.History(), colony.State()).empty()) {
      std::abort();
    }
  });
  return 0;
}
