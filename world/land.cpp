#include "world/land.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>
#include <utility>

namespace world {

Land::Land(std::int32_t gridSize)
    : size(std::clamp(gridSize, 2, kLargestMapSize)), columns(size + 1), rows(size + 1) {
  cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), MapCell{});
}

std::size_t Land::IndexOf(std::int32_t x, std::int32_t y) const {
  assert(cells.size() == static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) &&
         "a Land's cells must number columns x rows");
  return static_cast<std::size_t>(x) +
         static_cast<std::size_t>(y) * static_cast<std::size_t>(columns);
}

MapCell* Land::CellAt(std::int32_t x, std::int32_t y) {
  return const_cast<MapCell*>(std::as_const(*this).CellAt(x, y));
}

const MapCell* Land::CellAt(std::int32_t x, std::int32_t y) const {
  if (!InGrid(x, y)) return nullptr;
  const std::size_t index = IndexOf(x, y);
  return index < cells.size() ? &cells[index] : nullptr;
}

MapCell& Land::Cell(std::int32_t x, std::int32_t y) {
  return const_cast<MapCell&>(std::as_const(*this).Cell(x, y));
}

const MapCell& Land::Cell(std::int32_t x, std::int32_t y) const {
  const MapCell* cell = CellAt(x, y);
  if (cell == nullptr) throw std::out_of_range("map cell outside the grid");
  return *cell;
}

void Land::Select(std::int32_t x, std::int32_t y) {
  if (!InGrid(x, y)) {
    ClearSelection();
    return;
  }
  selectedX = x;
  selectedY = y;
}

}  // namespace world
