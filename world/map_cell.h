// One cell of the colony's map, and the size of the grid.
//
// A saved game stores the cells byte for byte, so the record's layout is fixed: eight one-byte
// fields followed by a signed 32-bit serial number, 12 bytes in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace world {

// The grid size parameter; the grid has (kMapSize + 1) x (kMapSize + 1) cells.
constexpr std::int32_t kMapSize = 128;
constexpr std::int32_t kMapColumns = kMapSize + 1;
constexpr std::int32_t kMapRows = kMapSize + 1;

// One cell's diamond box on the map surface, and how far structures stand above it.
constexpr std::int32_t kTileWidth = 144;
constexpr std::int32_t kTileHeight = 96;
constexpr std::int32_t kStructureLift = 9;

// Quarters of a cell's diamond that exploring reveals.
constexpr std::uint8_t kRevealTop = 1;
constexpr std::uint8_t kRevealRight = 2;
constexpr std::uint8_t kRevealBottom = 4;
constexpr std::uint8_t kRevealLeft = 8;
constexpr std::uint8_t kRevealAll = 15;

// The tile sheet a cell is drawn from.
constexpr std::uint8_t kSheetGround = 0;     // tiles0: ground and highways
constexpr std::uint8_t kSheetStructure = 1;  // tiles1: finished structures
constexpr std::uint8_t kSheetSite = 2;       // tiles2: building sites

// Structure types the map itself needs to know.
constexpr std::uint8_t kTypeBareLand = 0;
constexpr std::uint8_t kTypeLandingModule = 1;
constexpr std::uint8_t kTypeHighway = 30;

struct MapCell {
  std::uint8_t revealMask = 0;        // explored quarters: 1 top, 2 right, 4 bottom, 8 left
  std::uint8_t sheet = 0;             // kSheetGround, kSheetStructure or kSheetSite
  std::uint8_t frame = 0;             // frame number in that sheet
  std::uint8_t type = 0;              // the structure type; 0 bare land
  std::uint8_t constructionLeft = 0;  // days still to build; 0 finished or nothing built
  std::uint8_t animStart = 0;         // 0 not animated, else 1 + first Animation frame
  std::uint8_t variant = 0;           // look variant, or the animation phase once animated
  std::uint8_t animLength = 0;        // number of animation frames
  std::int32_t serial = 0;            // the build serial given when the structure was placed

  friend constexpr bool operator==(const MapCell&, const MapCell&) = default;
};

static_assert(sizeof(MapCell) == 12, "a saved game stores cells byte for byte");
static_assert(offsetof(MapCell, serial) == 8);

// The Animation frame an animated cell shows now.
constexpr std::int32_t AnimationFrameOf(const MapCell& cell) {
  return cell.animStart + cell.variant - 1;
}

// Every animated cell on to its next phase, back to 0 after the last (and at 0 whatever a
// broken length says).
inline void StepAnimations(std::span<MapCell> cells) {
  for (MapCell& cell : cells) {
    if (cell.animStart == 0) continue;
    const std::int32_t next = cell.variant + 1;
    cell.variant = next < cell.animLength ? static_cast<std::uint8_t>(next) : 0;
  }
}

}  // namespace world
