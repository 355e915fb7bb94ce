// The map view's record: creation with its surfaces, the coordinate conversions, the cell under
// a point, and centring and scrolling the view.
#include "world/world_iso3d.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "world/scaled_sheets.h"

namespace world {

namespace {

// No screen is larger; holding the size given here to it keeps the surfaces made for it sane.
constexpr std::int32_t kLargestScreenSide = 8192;

}  // namespace

WorldIso3D::WorldIso3D(const gfx::FracRect& area, Land& viewedLand, gfx::AppVideo screenSize,
                       MapScreen mapScreen, MapPictures mapPictures, ScaledSheets* scaledSheets)
    : land(viewedLand),
      viewArea(area),
      pictures(mapPictures),
      screen(std::move(mapScreen)),
      scaled_(scaledSheets) {
  assert(land.size >= 2 && land.size <= kLargestMapSize && "a Land's size must be 2..4096");
  if (scaled_ != nullptr) {
    scale_ = scaled_->scale();
    // The design's own scale draws the pictures themselves.
    if (scale_.IsNative()) scaled_ = nullptr;
  }
  const MapGeometry geometry = GeometryAt(scale_);
  tileWidth = geometry.tileWidth;
  tileHeight = geometry.tileHeight;
  lift = geometry.lift;
  animationLeft_ = geometry.animationLeft;
  animationTop_ = geometry.animationTop;
  // A negative size is no screen at all.
  const std::int32_t screenWidth = std::clamp(screenSize.width, 0, kLargestScreenSide);
  const std::int32_t screenHeight = std::clamp(screenSize.height, 0, kLargestScreenSide);
  viewRect = gfx::FracToPixels(viewArea, screenWidth, screenHeight);

  viewColumns = static_cast<std::int32_t>(
      std::ceil(static_cast<float>(screenWidth) / static_cast<float>(tileWidth)));
  // The map surface takes the view area's proportions; 1.5 is the tile's width : height.
  const float across = static_cast<float>(screenWidth) * viewArea.Width();
  const float down = static_cast<float>(screenHeight) * viewArea.Height();
  float exactRows = 0.0f;
  if (across > 0.0f && down > 0.0f) {
    exactRows = down / across * 1.5f * static_cast<float>(viewColumns);
  }
  // A view area taller than any screen would ask for a surface without bounds.
  exactRows = std::min(exactRows, 4096.0f);
  viewRows = static_cast<std::int32_t>(std::ceil(exactRows));
  if (!gfx::IsEven(viewRows - viewColumns)) ++viewRows;

  mapSurface = std::make_unique<gfx::MemVideo>(tileWidth * viewColumns, tileHeight * viewRows);
  const std::int32_t shownHeight = viewRows > 0
                                       ? gfx::RoundHalfUp(static_cast<float>(mapSurface->height()) *
                                                          exactRows / static_cast<float>(viewRows))
                                       : 0;
  shownPart = {0, 0, mapSurface->width(), shownHeight};
  // A land outside its sizes is held to them as a new Land would be.
  const std::int32_t size = std::clamp(land.size, 2, kLargestMapSize);
  miniMapSurface = std::make_unique<gfx::MemVideo>(size, size);
}

ViewPos WorldIso3D::CellToView(CellPos cell) const {
  return land.CellToView(cell);
}

CellPos WorldIso3D::ViewToCell(ViewPos view) const {
  return land.ViewToCell(view);
}

CellPos WorldIso3D::TopLeftCell() const {
  return {land.centerX - (viewColumns + viewRows) / 2, land.centerY + (viewColumns - viewRows) / 2};
}

gfx::IntRect WorldIso3D::TileBox(CellPos cell) const {
  const std::int32_t dx = cell.x - land.centerX;
  const std::int32_t dy = cell.y - land.centerY;
  const std::int32_t anchorX = mapSurface->width() / 2 + tileWidth / 2 * (dx - dy);
  const std::int32_t anchorY = mapSurface->height() / 2 + tileHeight / 2 * (dx + dy);
  return gfx::IntRect::FromSize(anchorX - tileWidth / 2, anchorY - tileHeight / 2, tileWidth,
                                tileHeight);
}

CellPos WorldIso3D::CellAtPoint(std::int32_t sx, std::int32_t sy) const {
  // A point far outside the view is outside the grid as well; holding it a little beyond the
  // view keeps the arithmetic below in range.
  constexpr std::int32_t kReach = 1 << 20;
  sx = std::clamp(sx, viewRect.left - kReach, viewRect.right + kReach);
  sy = std::clamp(sy, viewRect.top - kReach, viewRect.bottom + kReach);
  const std::int32_t px = gfx::ScaleInt(sx - viewRect.left, shownPart.Width(), viewRect.Width());
  const std::int32_t py = gfx::ScaleInt(sy - viewRect.top, shownPart.Height(), viewRect.Height());
  const std::int32_t halfWidth = mapSurface->width() / 2;
  const std::int32_t halfHeight = mapSurface->height() / 2;
  const std::int32_t halfTileHeight = tileHeight / 2;
  const float e =
      static_cast<float>(py - halfHeight + halfTileHeight * (land.centerX + land.centerY) +
                         halfTileHeight) /
      static_cast<float>(tileHeight);
  const float f =
      static_cast<float>(px - halfWidth + tileWidth / 2 * (land.centerX - land.centerY)) /
      static_cast<float>(tileWidth);
  const float x = std::floor(e + f);
  const float y = std::floor(e - f);
  // Compared as floats first, so that no far-off value is converted to an integer.
  if (!(x >= 0.0f) || !(y >= 0.0f) || x >= static_cast<float>(land.columns) ||
      y >= static_cast<float>(land.rows)) {
    return {0, 0};
  }
  return {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

WorldIso3D::ExactView WorldIso3D::GroundAt(ExactView centre, std::int32_t sx,
                                           std::int32_t sy) const {
  // The pixel's centre on the map surface, whose middle is the centre's anchor.
  const double px = (sx - viewRect.left + 0.5) * shownPart.Width() / std::max(viewRect.Width(), 1);
  const double py = (sy - viewRect.top + 0.5) * shownPart.Height() / std::max(viewRect.Height(), 1);
  return {centre.u + (px - mapSurface->width() / 2.0) / (tileWidth / 2),
          centre.v + (py - mapSurface->height() / 2.0) / (tileHeight / 2)};
}

WorldIso3D::ExactView WorldIso3D::CentreFor(ExactView ground, std::int32_t sx,
                                            std::int32_t sy) const {
  const ExactView offset = GroundAt({0.0, 0.0}, sx, sy);
  return {ground.u - offset.u, ground.v - offset.v};
}

void WorldIso3D::CenterNear(ExactView centre) {
  // Centres the view can take lie two half tiles apart both ways: u keeps the parity of the
  // view columns, and a cell's v shares its u's parity. Of the four around the exact centre,
  // the one nearest on the screen is taken.
  const double limit = 4.0 * std::clamp(land.size, 2, kLargestMapSize);
  const double u = std::clamp(centre.u, -limit, limit);
  const double v = std::clamp(centre.v, -limit, limit);
  const std::int32_t parity = gfx::IsEven(viewColumns) ? 0 : 1;
  const auto below = [parity](double value) {
    const auto whole = static_cast<std::int32_t>(std::floor(value));
    return gfx::IsEven(whole - parity) ? whole : whole - 1;
  };
  ViewPos best{below(u), below(v)};
  double bestDistance = -1.0;
  for (std::int32_t du = 0; du <= 2; du += 2) {
    for (std::int32_t dv = 0; dv <= 2; dv += 2) {
      const ViewPos candidate{below(u) + du, below(v) + dv};
      const double across = (candidate.u - u) * tileWidth;
      const double down = (candidate.v - v) * tileHeight;
      const double distance = across * across + down * down;
      if (bestDistance < 0.0 || distance < bestDistance) {
        best = candidate;
        bestDistance = distance;
      }
    }
  }
  const CellPos cell = ViewToCell(best);
  CenterOnCell(cell.x, cell.y);
}

void WorldIso3D::CenterOnCell(std::int32_t x, std::int32_t y) {
  const std::int32_t size = std::clamp(land.size, 2, kLargestMapSize);
  // Far-off cells are clamped anyway; holding them near the grid keeps the sums below in range.
  x = std::clamp(x, -4 * size, 4 * size);
  y = std::clamp(y, -4 * size, 4 * size);
  ViewPos view = CellToView({x, y});
  CellPos centre{x, y};
  // The centre's u keeps the parity of the view columns, so the top-left cell is whole.
  if (!gfx::IsEven(view.u - viewColumns)) {
    view = {view.u - 1, view.v - 1};
    centre = {x - 1, y};
  }
  bool adjusted = false;
  if (view.u + viewColumns > size) {
    view.u = size - viewColumns;
    adjusted = true;
  }
  if (view.v + viewRows > size) {
    view.v = size - viewRows;
    adjusted = true;
  }
  if (view.u - viewColumns < 0) {
    view.u = viewColumns;
    adjusted = true;
  }
  if (view.v - viewRows < 0) {
    view.v = viewRows;
    adjusted = true;
  }
  if (adjusted) centre = ViewToCell(view);
  land.centerX = centre.x;
  land.centerY = centre.y;
}

void WorldIso3D::Scroll(std::int32_t direction) {
  std::int32_t x = land.centerX;
  std::int32_t y = land.centerY;
  switch (direction) {
    case ScrollUpLeft:
      x -= 2;
      break;
    case ScrollUp:
      --x, --y;
      break;
    case ScrollUpRight:
      y -= 2;
      break;
    case ScrollLeft:
      --x, ++y;
      break;
    case ScrollRight:
      ++x, --y;
      break;
    case ScrollDownLeft:
      y += 2;
      break;
    case ScrollDown:
      ++x, ++y;
      break;
    case ScrollDownRight:
      x += 2;
      break;
    default:
      break;
  }
  CenterOnCell(x, y);
  RefreshAfterMove();
}

void WorldIso3D::Present(const gfx::IntRect& rect) {
  if (screen.present && !rect.IsEmpty()) screen.present(rect);
}

}  // namespace world
