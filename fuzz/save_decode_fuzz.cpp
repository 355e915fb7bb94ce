// The saved-game decoder alone, on lands of up to 8 x 8 cells: the very checks of a game's
// load, thousands of times a second (tens of thousands without a history). Whatever decodes
// must encode back to the very same bytes, or, of an older format, to a file that decodes the
// same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/save_game_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int32_t side = fuzzing::LandSideOfInput({data, size}, 8);
  const std::int32_t cells = side * side;
  fuzzing::WithAndWithoutAGoodChecksum({data, size}, [cells](const gfx::ByteBuffer& bytes) {
    sim::SavedGame game;
    if (sim::DecodeSavedGame(bytes, game, cells) != sim::DecodeError::kNone) return;
    fuzzing::CheckSavesBack(bytes, game, cells);
  });
  return 0;
}
