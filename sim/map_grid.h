// The model's view of the land: the 129 × 129 cells, the selected cell, and the three map
// operations the colony's commands call (new map, exploring, highway joints).
//
//            y = 0
//   x = 0  /\      x grows down to the right, y down to the left;
//         /  \     cell (x, y) is element x + y × columns, row after row.
//         \  /
//          \/ x = 128, y = 128
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "world/land_grid.h"
#include "world/map_cell.h"
#include "world/random.h"

namespace sim {

using world::MapCell;

inline constexpr std::int32_t kColumns = world::kMapColumns;
inline constexpr std::int32_t kRows = world::kMapRows;
inline constexpr std::int32_t kCellCount = kColumns * kRows;

constexpr bool InGrid(std::int32_t x, std::int32_t y) {
  return x >= 0 && x < kColumns && y >= 0 && y < kRows;
}

class MapGrid {
 public:
  virtual ~MapGrid() = default;

  // kCellCount cells, row after row.
  virtual std::span<MapCell> Cells() = 0;
  virtual std::span<const MapCell> Cells() const = 0;
  MapCell& At(std::int32_t x, std::int32_t y) { return Cells()[x + y * kColumns]; }
  const MapCell& At(std::int32_t x, std::int32_t y) const { return Cells()[x + y * kColumns]; }

  // The selected cell; x = −1 means none.
  virtual std::int32_t SelectedX() const = 0;
  virtual std::int32_t SelectedY() const = 0;
  virtual void Select(std::int32_t x, std::int32_t y) = 0;
  void ClearSelection() { Select(-1, 0); }
  bool HasSelection() const { return SelectedX() >= 0; }

  // A fresh map for a new game: terrain, the landing module, its surroundings explored and
  // the view centred on it.
  virtual void GenerateMap(world::Random& random) = 0;
  // Explores the disc around a cell; masks only gain bits.
  virtual void RevealAround(std::int32_t x, std::int32_t y) = 0;
  // Recomputes a highway cell's picture from its highway neighbours.
  virtual void JoinHighway(std::int32_t x, std::int32_t y) = 0;
  // Joins the highways next to (x, y) anew, after it gained or lost its own.
  void RejoinHighwayNeighbours(std::int32_t x, std::int32_t y);
};

// The map without a screen: the cells in memory, used by colony-sim and the tests. Its land
// operations are the game map's own, run on these cells.
class CellGrid final : public MapGrid {
 public:
  CellGrid() : cells_(kCellCount) {}

  std::span<MapCell> Cells() override { return cells_; }
  std::span<const MapCell> Cells() const override { return cells_; }
  std::int32_t SelectedX() const override { return selectedX_; }
  std::int32_t SelectedY() const override { return selectedY_; }
  void Select(std::int32_t x, std::int32_t y) override;
  void GenerateMap(world::Random& random) override;
  void RevealAround(std::int32_t x, std::int32_t y) override;
  void JoinHighway(std::int32_t x, std::int32_t y) override;

  // The cell the view was last centred on.
  std::int32_t CentreX() const { return centreX_; }
  std::int32_t CentreY() const { return centreY_; }

 private:
  world::LandGrid Land() { return {cells_, kColumns, kRows, world::kMapSize}; }

  std::vector<MapCell> cells_;
  std::int32_t selectedX_ = -1;
  std::int32_t selectedY_ = 0;
  std::int32_t centreX_ = 0;
  std::int32_t centreY_ = 0;
};

}  // namespace sim
