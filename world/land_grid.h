// The land on its own: the cells of a map without its projection, view or pictures. The new
// map, exploring and highway joints work on this, so the game's map and the colony model's
// in-memory grid share one copy of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "world/map_cell.h"
#include "world/world_iso3d.h"

namespace world {

// Points at cells it does not own.
struct LandGrid {
  std::span<MapCell> cells;  // columns x rows, row after row: (x, y) is x + y * columns
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t size = 0;  // the grid size parameter; the view square is 0 <= u, v <= size

  bool InGrid(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < columns && y < rows;
  }
  // Null outside the grid, and also where the cells fall short of columns x rows.
  MapCell* CellAt(std::int32_t x, std::int32_t y) const {
    if (!InGrid(x, y)) return nullptr;
    const std::size_t index = static_cast<std::size_t>(x) +
                              static_cast<std::size_t>(y) * static_cast<std::size_t>(columns);
    return index < cells.size() ? &cells[index] : nullptr;
  }
  CellPos ViewToCell(ViewPos view) const { return ViewToCellOf(view, size); }
};

// The land of the game's map.
inline LandGrid LandOf(WorldIso3D& world) {
  return {world.cells, world.columns, world.rows, world.size};
}

}  // namespace world
