// Drawing the map: cells into the map surface in painter's order, the smoothed stretch of its
// shown part into the view, and the animation frames of running structures.
#include <algorithm>
#include <cmath>

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "world/world_iso3d.h"

namespace world {

namespace {

// Frames of the sheets the map itself needs.
constexpr std::int32_t kUnexploredFrame = 0;
constexpr std::int32_t kOutsideGridFrame = 15;
constexpr std::int32_t kMarkerBehindFrame = 0;
constexpr std::int32_t kMarkerInFrontFrame = 1;

// An animation frame's 48 x 48 square, relative to the cell's anchor.
constexpr std::int32_t kAnimationLeft = -24;
constexpr std::int32_t kAnimationTop = -29;
constexpr std::int32_t kAnimationSize = 48;
// The squares are stretched one by one while they cover less than 1 / kWholeViewShare of the view.
constexpr std::int64_t kWholeViewShare = 4;

void DrawPictureFrame(gfx::MemVideo& target, const gfx::WBitmap* picture, std::int32_t left,
                      std::int32_t top, std::int32_t frame) {
  if (picture == nullptr || frame < 0) return;
  gfx::DrawFrame(target, *picture, left, top, frame);
}

}  // namespace

void WorldIso3D::DrawCell(const MapCell& cell, std::int32_t left, std::int32_t top) {
  gfx::MemVideo& target = *mapSurface;
  if (cell.revealMask == 0) {
    DrawPictureFrame(target, pictures.tiles0, left, top, kUnexploredFrame);
    return;
  }
  const gfx::WBitmap* sheet = nullptr;
  std::int32_t cellLift = 0;
  switch (cell.sheet) {
    case kSheetGround:
      sheet = pictures.tiles0;
      break;
    case kSheetStructure:
      sheet = pictures.tiles1, cellLift = lift;
      break;
    case kSheetSite:
      sheet = pictures.tiles2, cellLift = lift;
      break;
    default:
      break;  // a sheet that does not exist has no picture
  }
  DrawPictureFrame(target, sheet, left, top - cellLift, cell.frame);
  // The fog is lifted with the structure, so it covers the same picture it fogs.
  if (cell.revealMask < kRevealAll) {
    DrawPictureFrame(target, pictures.tiles0, left, top - cellLift, cell.revealMask);
  }
}

void WorldIso3D::WalkView(
    const std::function<void(CellPos, std::int32_t, std::int32_t)>& visit) const {
  const std::int32_t width = mapSurface->width();
  const std::int32_t height = mapSurface->height();
  CellPos first = TopLeftCell();
  std::int32_t rowOffset = 0;
  for (std::int32_t anchorY = 0; anchorY <= height; anchorY += tileHeight / 2) {
    CellPos cell = first;
    for (std::int32_t anchorX = rowOffset; anchorX <= width; anchorX += tileWidth) {
      visit(cell, anchorX, anchorY);
      ++cell.x;
      --cell.y;
    }
    // Rows alternate between anchors on whole and on half tile widths.
    if (rowOffset == 0) {
      rowOffset = tileWidth / 2;
      ++first.x;
    } else {
      rowOffset = 0;
      ++first.y;
    }
  }
}

void WorldIso3D::DrawAnimationFrame(const MapCell& cell, std::int32_t anchorX,
                                    std::int32_t anchorY) {
  DrawPictureFrame(*mapSurface, pictures.animation, anchorX + kAnimationLeft,
                   anchorY + kAnimationTop, cell.animStart + cell.variant - 1);
}

void WorldIso3D::DrawMap() {
  WalkView([this](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const std::int32_t left = anchorX - tileWidth / 2;
    const std::int32_t top = anchorY - tileHeight / 2;
    const MapCell* cell = CellAt(at.x, at.y);
    if (cell == nullptr) {
      DrawPictureFrame(*mapSurface, pictures.tiles0, left, top, kOutsideGridFrame);
      return;
    }
    if (at.x == selectedX && at.y == selectedY) {
      DrawPictureFrame(*mapSurface, pictures.tiles1, left, top - lift, kMarkerBehindFrame);
      DrawCell(*cell, left, top);
      DrawPictureFrame(*mapSurface, pictures.tiles1, left, top - lift, kMarkerInFrontFrame);
    } else {
      DrawCell(*cell, left, top);
    }
    if (cell->animStart != 0) DrawAnimationFrame(*cell, anchorX, anchorY);
  });
}

void WorldIso3D::StretchMap() {
  if (screen.backBuffer == nullptr) return;
  gfx::StretchRect(*mapSurface, shownPart, *screen.backBuffer, viewRect, true);
}

void WorldIso3D::PresentView() {
  Present(viewRect);
}

void WorldIso3D::RefreshAll() {
  DrawMap();
  StretchMap();
  PresentView();
  ShowMiniMap(true);
}

gfx::IntRect WorldIso3D::ViewRectCovering(const gfx::IntRect& mapRect) const {
  if (mapRect.IsEmpty() || shownPart.IsEmpty() || viewRect.IsEmpty()) return {};
  // A destination pixel reads two neighbouring (pre-reduced) source pixels, and a strong
  // shrink first averages boxes of 2^k source pixels; the margin takes in both.
  auto axis = [](std::int32_t low, std::int32_t high, std::int32_t shownLow,
                 std::int32_t shownLength, std::int32_t viewLow, std::int32_t viewLength,
                 std::int32_t& outLow, std::int32_t& outHigh) {
    std::int32_t box = 1;
    while (box < (1 << 20) && static_cast<std::int64_t>(viewLength) * box * 2 < shownLength) {
      box *= 2;
    }
    const double scale = static_cast<double>(viewLength) / static_cast<double>(shownLength);
    const double margin = 2.0 * box;
    const double from = (static_cast<double>(low - shownLow) - margin) * scale - 1.0;
    const double to = (static_cast<double>(high - shownLow) + margin) * scale + 1.0;
    outLow = viewLow + static_cast<std::int32_t>(std::max(std::floor(from), -1.0));
    outHigh = viewLow + static_cast<std::int32_t>(
                            std::min(std::ceil(to), static_cast<double>(viewLength) + 1.0));
  };
  gfx::IntRect result;
  axis(mapRect.left, mapRect.right, shownPart.left, shownPart.Width(), viewRect.left,
       viewRect.Width(), result.left, result.right);
  axis(mapRect.top, mapRect.bottom, shownPart.top, shownPart.Height(), viewRect.top,
       viewRect.Height(), result.top, result.bottom);
  return result.Intersect(viewRect);
}

void WorldIso3D::RedrawAnimations() {
  auto squareAt = [](std::int32_t anchorX, std::int32_t anchorY) {
    return gfx::IntRect::FromSize(anchorX + kAnimationLeft, anchorY + kAnimationTop, kAnimationSize,
                                  kAnimationSize);
  };
  // Square by square pays for every row it touches; once the squares would cover much of the
  // view, one stretch of the whole view streams through memory faster.
  std::int64_t coveredArea = 0;
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const MapCell* cell = CellAt(at.x, at.y);
    if (cell == nullptr || cell->animStart == 0) return;
    const gfx::IntRect target = ViewRectCovering(squareAt(anchorX, anchorY).Intersect(shownPart));
    coveredArea += std::int64_t{target.Width()} * target.Height();
  });
  const std::int64_t viewArea = std::int64_t{viewRect.Width()} * viewRect.Height();
  const bool wholeView = coveredArea * kWholeViewShare > viewArea;

  // Otherwise each square is stretched and presented right after it is drawn, while its
  // pixels are still in the cache. A destination pixel that reads several squares lies in the
  // covering rectangle of each, so it is stretched again after the last of them is drawn: the
  // result is exactly that of drawing them all and then stretching the whole view.
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const MapCell* cell = CellAt(at.x, at.y);
    if (cell == nullptr || cell->animStart == 0) return;
    DrawAnimationFrame(*cell, anchorX, anchorY);
    if (wholeView || screen.backBuffer == nullptr) return;
    const gfx::IntRect target = ViewRectCovering(squareAt(anchorX, anchorY).Intersect(shownPart));
    if (target.IsEmpty()) return;
    gfx::StretchRectPart(*mapSurface, shownPart, *screen.backBuffer, viewRect, true, target);
    Present(target);
  });
  if (wholeView) {
    StretchMap();
    PresentView();
  }
}

void WorldIso3D::StepAnimations() {
  for (MapCell& cell : cells) {
    if (cell.animStart == 0) continue;
    const std::int32_t next = cell.variant + 1;
    cell.variant = next < cell.animLength ? static_cast<std::uint8_t>(next) : 0;
  }
}

}  // namespace world
