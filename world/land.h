// The land: the colony's cells, the selected cell and the cell the view is centred on. The
// game screen owns one; the colony changes it and the map view draws it, so there is no copy
// to keep in step. Nothing here knows of pictures, surfaces or the screen.
//
//            y = 0
//   x = 0  /\      x grows down to the right, y down to the left;
//         /  \     cell (x, y) is element x + y * columns, row after row.
//         \  /
//          \/ x = size, y = size
//
// View coordinates (u, v) follow the screen's axes: u = x - y + size / 2, v = x + y - size / 2.
// The view square 0 <= u, v <= size lies inside the grid's diamond (see world/world_iso3d.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/map_cell.h"

namespace world {

// Above this the map surface would not be a drawing surface any more but a memory hazard.
constexpr std::int32_t kLargestMapSize = 4096;

struct CellPos {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const CellPos&, const CellPos&) = default;
};

struct ViewPos {
  std::int32_t u = 0;
  std::int32_t v = 0;
  friend constexpr bool operator==(const ViewPos&, const ViewPos&) = default;
};

// The view position of a cell on a grid of the given size parameter.
constexpr ViewPos CellToViewOf(CellPos cell, std::int32_t size) {
  return {cell.x - cell.y + size / 2, cell.x + cell.y - size / 2};
}
// The cell of a view position. Shifts, not divisions: odd sums round down also below zero.
constexpr CellPos ViewToCellOf(ViewPos view, std::int32_t size) {
  return {(view.u + view.v) >> 1, size / 2 + ((view.v - view.u) >> 1)};
}

class Land {
 public:
  // (gridSize + 1) x (gridSize + 1) cleared cells; gridSize is held to 2..kLargestMapSize.
  explicit Land(std::int32_t gridSize = kMapSize);

  std::int32_t size = kMapSize;  // the grid size parameter
  std::int32_t columns = 0;      // size + 1
  std::int32_t rows = 0;         // size + 1
  std::vector<MapCell> cells;    // row after row: (x, y) is x + y * columns
  std::int32_t selectedX = -1;   // the selected cell; x = -1 none
  std::int32_t selectedY = 0;
  std::int32_t centerX = 0;  // the cell the view is centred on
  std::int32_t centerY = 0;

  bool InGrid(std::int32_t x, std::int32_t y) const {
    return x >= 0 && y >= 0 && x < columns && y < rows;
  }
  // Null outside the grid. The fields are open to everyone, so a release build also gives null
  // where the cells fall short of columns x rows; a debug build stops there.
  MapCell* CellAt(std::int32_t x, std::int32_t y);
  const MapCell* CellAt(std::int32_t x, std::int32_t y) const;
  // std::out_of_range where CellAt gives null.
  MapCell& Cell(std::int32_t x, std::int32_t y);
  const MapCell& Cell(std::int32_t x, std::int32_t y) const;

  bool HasSelection() const { return selectedX >= 0; }
  // A cell outside the grid clears the selection.
  void Select(std::int32_t x, std::int32_t y);
  void ClearSelection() {
    selectedX = -1;
    selectedY = 0;
  }

  ViewPos CellToView(CellPos cell) const { return CellToViewOf(cell, size); }
  CellPos ViewToCell(ViewPos view) const { return ViewToCellOf(view, size); }

 private:
  std::size_t IndexOf(std::int32_t x, std::int32_t y) const;
};

}  // namespace world
