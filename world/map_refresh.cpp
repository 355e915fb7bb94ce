// Refreshing the view without drawing the whole map: after a move the map surface keeps what
// stays in view and draws only what the move uncovers; after cells change, only the cells
// whose pictures overlap theirs are drawn again, and only the screen pixels those reach are
// stretched and presented. Either way the window ends as a full refresh would leave it.
//
// Sections: positions of the view; areas; the map surface after cells change; after a move.
#include <algorithm>
#include <cstdlib>

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "world/world_iso3d.h"

namespace world {

namespace {

bool Overlap(const gfx::IntRect& a, const gfx::IntRect& b) {
  return !a.Intersect(b).IsEmpty();
}

// Joins overlapping areas into the rectangles around them until none overlap, so that no
// pixel is drawn, stretched or presented twice; drops empty ones.
void MergeAreas(std::vector<gfx::IntRect>& areas) {
  std::erase_if(areas, [](const gfx::IntRect& r) { return r.IsEmpty(); });
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < areas.size(); ++i) {
      for (std::size_t j = i + 1; j < areas.size();) {
        if (Overlap(areas[i], areas[j])) {
          areas[i] = areas[i].Union(areas[j]);
          areas[j] = areas.back();
          areas.pop_back();
          merged = true;
        } else {
          ++j;
        }
      }
    }
  }
}

std::int64_t AreaOf(const std::vector<gfx::IntRect>& areas) {
  std::int64_t sum = 0;
  for (const gfx::IntRect& r : areas) sum += std::int64_t{r.Width()} * r.Height();
  return sum;
}

// Anchors across the surface on an even row (from x = 0) and on an odd one (from half a
// tile), every tile width, the right edge included.
struct AnchorsPerRow {
  std::size_t even = 0;
  std::size_t odd = 0;
};

AnchorsPerRow CountAnchorsPerRow(std::int32_t width, std::int32_t tileWidth) {
  return {static_cast<std::size_t>(width / tileWidth) + 1,
          width >= tileWidth / 2 ? static_cast<std::size_t>((width - tileWidth / 2) / tileWidth) + 1
                                 : 0};
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Positions of the view

std::size_t WorldIso3D::PositionCount() const {
  const std::int32_t width = mapSurface->width();
  const std::int32_t height = mapSurface->height();
  const std::int32_t rowStep = tileHeight / 2;
  if (rowStep <= 0 || tileWidth <= 0 || width < 0) return 0;
  const std::size_t rows = static_cast<std::size_t>(height / rowStep) + 1;
  const AnchorsPerRow anchors = CountAnchorsPerRow(width, tileWidth);
  return (rows / 2) * (anchors.even + anchors.odd) + (rows % 2) * anchors.even;
}

std::size_t WorldIso3D::PositionAt(std::int32_t anchorX, std::int32_t anchorY) const {
  const std::size_t none = PositionCount();
  const std::int32_t width = mapSurface->width();
  const std::int32_t rowStep = tileHeight / 2;
  if (none == 0 || anchorY < 0 || anchorY > mapSurface->height() || anchorY % rowStep != 0) {
    return none;
  }
  const std::int32_t row = anchorY / rowStep;
  const std::int32_t offset = row % 2 == 0 ? 0 : tileWidth / 2;
  if (anchorX < offset || anchorX > width || (anchorX - offset) % tileWidth != 0) return none;
  const AnchorsPerRow anchors = CountAnchorsPerRow(width, tileWidth);
  return static_cast<std::size_t>(row / 2) * (anchors.even + anchors.odd) +
         (row % 2 == 0 ? 0 : anchors.even) +
         static_cast<std::size_t>((anchorX - offset) / tileWidth);
}

bool WorldIso3D::SurfaceHoldsMapAt(CellPos centre) const {
  return surfaceHoldsMap_ && drawnCentre_ == centre && squareFlags_.size() == PositionCount() &&
         drawnFrames_.size() == PositionCount();
}

// ---------------------------------------------------------------------------------------
// Areas

void WorldIso3D::AddSquaresDrawnOnTop(std::vector<gfx::IntRect>& areas) const {
  std::size_t position = 0;
  WalkView([&](CellPos, std::int32_t anchorX, std::int32_t anchorY) {
    const std::size_t here = position++;
    if (here < squareFlags_.size() && (squareFlags_[here] & kDrawnOnTop) != 0) {
      areas.push_back(AnimationSquare(anchorX, anchorY).Intersect(mapSurface->bounds()));
    }
  });
}

void WorldIso3D::RepaintAreas(std::span<const gfx::IntRect> areas) {
  FollowPictures();
  const gfx::IntRect reach = PictureReach();
  std::size_t position = 0;
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    ++position;
    const gfx::IntRect box = reach.Offset(anchorX, anchorY);
    for (const gfx::IntRect& area : areas) {
      if (!Overlap(box, area)) continue;
      clip_ = &area;
      DrawPosition(at, anchorX, anchorY);
    }
  });
  clip_ = nullptr;

  // A square painted whole in painter's order that shows its frame is covered by nothing; one
  // painted only in part may still show a frame drawn on top beside the part.
  const bool remember = FramesStayInTheirSquares();
  drawnFrames_.resize(PositionCount(), kUnknownFrame);
  squareFlags_.resize(PositionCount(), kMayBeCovered);
  position = 0;
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const std::size_t here = position++;
    const gfx::IntRect square = AnimationSquare(anchorX, anchorY).Intersect(mapSurface->bounds());
    if (square.IsEmpty()) return;
    bool touched = false;
    bool inside = false;
    for (const gfx::IntRect& area : areas) {
      const gfx::IntRect common = square.Intersect(area);
      if (common.IsEmpty()) continue;
      touched = true;
      inside = inside || common == square;
    }
    if (!touched) return;
    const MapCell* cell = land.CellAt(at.x, at.y);
    const bool shows = remember && cell != nullptr && cell->animStart != 0 &&
                       SquareShowsFrame(AnimationFrameOf(*cell), anchorX, anchorY);
    drawnFrames_[here] = shows ? static_cast<std::int16_t>(AnimationFrameOf(*cell)) : kUnknownFrame;
    if (inside) {
      squareFlags_[here] = shows ? 0 : kMayBeCovered;
    } else {
      squareFlags_[here] |= kMayBeCovered;
    }
  });
}

void WorldIso3D::StretchAndPresentAreas(std::span<const gfx::IntRect> areas) {
  gfx::MemVideo* target = Target();
  if (target == nullptr) return;
  std::vector<gfx::IntRect> parts;
  for (const gfx::IntRect& area : areas) {
    parts.push_back(gfx::StretchedArea(*mapSurface, shownPart, *target, viewRect, true,
                                       area.Intersect(shownPart)));
  }
  MergeAreas(parts);
  if (parts.empty()) return;
  gfx::StretchRectParts(*mapSurface, shownPart, *target, viewRect, true, parts);
  for (const gfx::IntRect& part : parts) Present(part);
}

// ---------------------------------------------------------------------------------------
// The map surface after cells change

void WorldIso3D::RedrawCells(std::span<const CellPos> cells) {
  DrawMiniMapCells(cells);
  FollowPictures();
  if (!SurfaceHoldsMapAt({land.centerX, land.centerY})) {
    RefreshAll();
    return;
  }
  const gfx::IntRect bounds = mapSurface->bounds();
  const gfx::IntRect reach = PictureReach();
  std::vector<gfx::IntRect>& areas = areas_;
  areas.clear();
  for (const CellPos cell : cells) {
    // Cells far outside the view reach none of it (and would overflow the anchors).
    const std::int64_t du =
        std::int64_t{cell.x} - land.centerX - (std::int64_t{cell.y} - land.centerY);
    const std::int64_t dv =
        std::int64_t{cell.x} - land.centerX + (std::int64_t{cell.y} - land.centerY);
    if (std::abs(du) > 2 * (viewColumns + 2) || std::abs(dv) > 2 * (viewRows + 2)) continue;
    const gfx::IntRect box = TileBox(cell);
    const std::int32_t anchorX = box.left + tileWidth / 2;
    const std::int32_t anchorY = box.top + tileHeight / 2;
    areas.push_back(reach.Offset(anchorX, anchorY).Intersect(bounds));
  }
  AddSquaresDrawnOnTop(areas);
  MergeAreas(areas);
  if (areas.empty()) {
    ShowMiniMap(true);
    return;
  }
  // Beyond half the surface, drawing in parts saves little and the rest is drawn anyway.
  if (2 * AreaOf(areas) > std::int64_t{bounds.Width()} * bounds.Height()) {
    RefreshAll();
    return;
  }
  RepaintAreas(areas);
  StretchAndPresentAreas(areas);
  ShowMiniMap(true);
}

// ---------------------------------------------------------------------------------------
// After a move

void WorldIso3D::AddUncoveredAreas(std::int32_t shiftX, std::int32_t shiftY,
                                   std::vector<gfx::IntRect>& areas) const {
  const std::int32_t width = mapSurface->width();
  const std::int32_t height = mapSurface->height();
  // Besides the uncovered strips, the pictures of positions that entered the view or left it
  // are drawn again wherever they reach: a structure standing on the row below the bottom
  // edge reaches above it, and so did one that left.
  const gfx::IntRect reach = PictureReach();
  const gfx::IntRect bounds = mapSurface->bounds();
  std::int32_t topEnd = std::max(shiftY, 0);
  std::int32_t bottomStart = std::min(height, height + shiftY);
  std::int32_t leftEnd = std::max(shiftX, 0);
  std::int32_t rightStart = std::min(width, width + shiftX);
  const std::size_t count = PositionCount();
  auto inView = [&](std::int32_t x, std::int32_t y) { return PositionAt(x, y) < count; };
  const std::int32_t rowStep = tileHeight / 2;
  const std::int32_t firstRow = (std::min(shiftY, 0) - tileHeight) / rowStep;
  const std::int32_t lastRow = (height + std::max(shiftY, 0) + tileHeight) / rowStep;
  const std::int32_t firstColumn = (std::min(shiftX, 0) - 2 * tileWidth) / tileWidth;
  const std::int32_t lastColumn = (width + std::max(shiftX, 0) + tileWidth) / tileWidth;
  for (std::int32_t row = firstRow; row <= lastRow; ++row) {
    const std::int32_t anchorY = row * rowStep;
    const bool rowInBoth =
        anchorY >= 0 && anchorY <= height && anchorY - shiftY >= 0 && anchorY - shiftY <= height;
    const std::int32_t offset = (row % 2 == 0) ? 0 : tileWidth / 2;
    for (std::int32_t column = firstColumn; column <= lastColumn; ++column) {
      const std::int32_t anchorX = offset + column * tileWidth;
      if (inView(anchorX, anchorY) == inView(anchorX - shiftX, anchorY - shiftY)) continue;
      const gfx::IntRect box = reach.Offset(anchorX, anchorY).Intersect(bounds);
      if (box.IsEmpty()) continue;
      if (!rowInBoth) {
        if (anchorY < height / 2) {
          topEnd = std::max(topEnd, box.bottom);
        } else {
          bottomStart = std::min(bottomStart, box.top);
        }
      } else if (anchorX < width / 2) {
        leftEnd = std::max(leftEnd, box.right);
      } else {
        rightStart = std::min(rightStart, box.left);
      }
    }
  }
  areas.push_back({0, 0, width, topEnd});
  areas.push_back({0, bottomStart, width, height});
  areas.push_back({0, topEnd, leftEnd, bottomStart});
  areas.push_back({rightStart, topEnd, width, bottomStart});
}

void WorldIso3D::FollowCentre() {
  const CellPos from = drawnCentre_;
  const std::int64_t du =
      std::int64_t{land.centerX} - from.x - (std::int64_t{land.centerY} - from.y);
  const std::int64_t dv =
      std::int64_t{land.centerX} - from.x + (std::int64_t{land.centerY} - from.y);
  const std::int32_t width = mapSurface->width();
  const std::int32_t height = mapSurface->height();
  // A cell's anchor moves against the centre; a move by whole tiles keeps the anchors on the
  // rows and columns of anchors, so the pixels that stay in view are those of the new view.
  const std::int64_t shiftX64 = -du * (tileWidth / 2);
  const std::int64_t shiftY64 = -dv * (tileHeight / 2);
  if (!SurfaceHoldsMapAt(from) || tileWidth <= 0 || tileHeight / 2 <= 0 ||
      shiftX64 % tileWidth != 0 || shiftY64 % tileHeight != 0 || std::abs(shiftX64) >= width ||
      std::abs(shiftY64) >= height) {
    DrawMap();
    return;
  }
  const auto shiftX = static_cast<std::int32_t>(shiftX64);
  const auto shiftY = static_cast<std::int32_t>(shiftY64);
  gfx::ShiftPixels(*mapSurface, shiftX, shiftY);

  // What is known of each square moves with it.
  const std::size_t count = PositionCount();
  std::vector<std::int16_t> frames(count, kUnknownFrame);
  std::vector<std::uint8_t> flags(count, kMayBeCovered);
  std::size_t position = 0;
  WalkView([&](CellPos, std::int32_t anchorX, std::int32_t anchorY) {
    const std::size_t here = position++;
    const std::size_t before = PositionAt(anchorX - shiftX, anchorY - shiftY);
    if (before >= count) return;
    frames[here] = drawnFrames_[before];
    flags[here] = squareFlags_[before];
  });
  drawnFrames_ = std::move(frames);
  squareFlags_ = std::move(flags);
  drawnCentre_ = {land.centerX, land.centerY};

  std::vector<gfx::IntRect>& areas = areas_;
  areas.clear();
  AddUncoveredAreas(shiftX, shiftY, areas);
  AddSquaresDrawnOnTop(areas);
  MergeAreas(areas);
  RepaintAreas(areas);
}

void WorldIso3D::RefreshAfterMove() {
  FollowPictures();
  FollowCentre();
  StretchMap();
  PresentView();
  ShowMiniMap(true);
}

}  // namespace world
