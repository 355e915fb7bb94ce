// The minimap: one 2 x 1 colour per cell at one pixel per view unit, stretched into its place
// in the top bar with a red frame around the part of the map the view shows.
#include <algorithm>

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "world/world_iso3d.h"

namespace world {

namespace {

constexpr gfx::Color kViewFrameColor = gfx::Rgb(255, 0, 0);

constexpr std::int32_t kMiniUnexplored = 0;
constexpr std::int32_t kMiniPartlyExplored = 1;
constexpr std::int32_t kMiniGroundOffset = -8;  // ground frames 16..27 give colours 8..19
constexpr std::int32_t kMiniLandingModule = 20;
constexpr std::int32_t kMiniHighway = 21;
constexpr std::int32_t kMiniStructureOffset = 19;

std::int32_t MiniMapFrame(const MapCell& cell) {
  if (cell.revealMask != kRevealAll) {
    return cell.revealMask != 0 ? kMiniPartlyExplored : kMiniUnexplored;
  }
  switch (cell.type) {
    case kTypeBareLand:
      return cell.frame + kMiniGroundOffset;
    case kTypeLandingModule:
      return kMiniLandingModule;
    case kTypeHighway:
      return kMiniHighway;
    default:
      return cell.type + kMiniStructureOffset;
  }
}

}  // namespace

void WorldIso3D::DrawMiniMap() {
  if (pictures.miniMap == nullptr) return;
  for (std::int32_t v = 0; v < land.rows; ++v) {
    // Cells of even rows of the view sit on odd pixel columns and the other way round, so
    // the two-pixel cells of neighbouring rows interlock like the diamonds they stand for.
    for (std::int32_t j = gfx::IsEven(v) ? -1 : 0; j < land.columns; j += 2) {
      DrawMiniMapAt(j, v);
    }
  }
}

void WorldIso3D::DrawMiniMapAt(std::int32_t j, std::int32_t v) {
  const CellPos at = ViewToCell({j + 1, v});
  const MapCell* cell = land.CellAt(at.x, at.y);
  if (cell == nullptr) return;
  const std::int32_t frame = MiniMapFrame(*cell);
  if (frame < 0) return;
  gfx::DrawFrame(*miniMapSurface, *pictures.miniMap, j, v, frame);
}

void WorldIso3D::DrawMiniMapCells(std::span<const CellPos> cells) {
  if (pictures.miniMap == nullptr) return;
  // Cells of 2 x 1 pixels lie side by side; larger frames overlap their neighbours in the
  // order DrawMiniMap draws them, so then it draws them all.
  const gfx::PixelSize frame = gfx::FrameSize(*pictures.miniMap);
  if (frame.width > 2 || frame.height > 1) {
    if (!cells.empty()) DrawMiniMap();
    return;
  }
  for (const CellPos cell : cells) {
    if (!land.InGrid(cell.x, cell.y)) continue;
    const ViewPos view = CellToView(cell);
    const std::int32_t j = view.u - 1;
    // Where DrawMiniMap's walk puts the cell; a cell's u and v share their parity.
    if (view.v >= 0 && view.v < land.rows && j >= -1 && j < land.columns) DrawMiniMapAt(j, view.v);
  }
}

void WorldIso3D::ShowMiniMap(bool present) {
  gfx::MemVideo* target = Target();
  if (target == nullptr || miniMapRect.IsEmpty()) return;
  gfx::StretchRect(*miniMapSurface, miniMapSurface->bounds(), *target, miniMapRect, true);

  const ViewPos centre = CellToView({land.centerX, land.centerY});
  const float sx =
      static_cast<float>(miniMapRect.Width()) / static_cast<float>(miniMapSurface->width());
  const float sy =
      static_cast<float>(miniMapRect.Height()) / static_cast<float>(miniMapSurface->height());
  std::int32_t left =
      miniMapRect.left + gfx::RoundHalfUp(static_cast<float>(centre.u - viewColumns) * sx);
  std::int32_t top =
      miniMapRect.top + gfx::RoundHalfUp(static_cast<float>(centre.v - viewRows) * sy);
  const std::int32_t width = gfx::RoundHalfUp(static_cast<float>(2 * viewColumns) * sx);
  const std::int32_t height = gfx::RoundHalfUp(static_cast<float>(2 * viewRows) * sy);
  // Rounding can carry the frame a pixel past the minimap; it is pulled back inside.
  if (top + height > miniMapRect.bottom) top = miniMapRect.bottom - height;
  if (left + width > miniMapRect.right) left = miniMapRect.right - width;
  gfx::FrameRect(*target, gfx::IntRect::FromSize(left, top, width, height), kViewFrameColor);

  if (present) Present(miniMapRect);
}

void WorldIso3D::MiniMapClick(std::int32_t mx, std::int32_t my) {
  const std::int32_t u = gfx::ScaleInt(mx, miniMapSurface->width(), miniMapRect.Width());
  const std::int32_t v = gfx::ScaleInt(my, miniMapSurface->height(), miniMapRect.Height());
  const CellPos cell = ViewToCell({u, v});
  CenterOnCell(cell.x, cell.y);
  RefreshAfterMove();
}

}  // namespace world
