// Drawing the map: cells into the map surface in painter's order, the smoothed stretch of its
// shown part into the view, and the animation frames of running structures.
#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "gfx/draw.h"
#include "gfx/stretch.h"
#include "world/scaled_sheets.h"
#include "world/world_iso3d.h"

namespace world {

namespace {

// Frames of the sheets the map itself needs.
constexpr std::int32_t kUnexploredFrame = 0;
constexpr std::int32_t kOutsideGridFrame = 15;
constexpr std::int32_t kMarkerBehindFrame = 0;
constexpr std::int32_t kMarkerInFrontFrame = 1;

// Frames larger than this are damaged pictures; holding them to it keeps the boxes of what
// a position draws in range.
constexpr std::int32_t kLargestFrameSide = 1 << 16;

// The box a frame of the sheet covers with its top-left corner at (left, top); none
// without a sheet.
gfx::IntRect FrameBox(const gfx::WBitmap* sheet, std::int32_t left, std::int32_t top) {
  if (sheet == nullptr) return {};
  const gfx::PixelSize frame = gfx::FrameSize(*sheet);
  return gfx::IntRect::FromSize(left, top, std::clamp(frame.width, 0, kLargestFrameSide),
                                std::clamp(frame.height, 0, kLargestFrameSide));
}

}  // namespace

void WorldIso3D::DrawSheetFrame(const gfx::WBitmap* picture, std::int32_t left, std::int32_t top,
                                std::int32_t frame) {
  if (picture == nullptr || frame < 0) return;
  if (scaled_ != nullptr) {
    picture = scaled_->Prepare(picture, frame);
    if (picture == nullptr) return;
  }
  if (clip_ == nullptr) {
    gfx::DrawFrame(*mapSurface, *picture, left, top, frame);
    return;
  }
  // The part of the frame inside the clip, taken from the same place in the sheet, gives the
  // pixels that drawing it whole gives there.
  const gfx::IntRect source = gfx::FrameSourceRect(*picture, frame);
  if (source.IsEmpty()) return;
  const gfx::IntRect part =
      gfx::IntRect::FromSize(left, top, source.Width(), source.Height()).Intersect(*clip_);
  if (part.IsEmpty()) return;
  gfx::DrawImage(*mapSurface, *picture, part.left, part.top,
                 part.Offset(source.left - left, source.top - top));
}

void WorldIso3D::DrawCell(const MapCell& cell, std::int32_t left, std::int32_t top) {
  // The cell may cover animation squares, whose frames are then no longer known.
  ForgetAnimationFrames();
  FollowPictures();
  DrawCellPicture(cell, left, top);
}

void WorldIso3D::DrawCellPicture(const MapCell& cell, std::int32_t left, std::int32_t top) {
  if (cell.revealMask == 0) {
    DrawSheetFrame(sheets_.tiles0, left, top, kUnexploredFrame);
    return;
  }
  const gfx::WBitmap* sheet = nullptr;
  std::int32_t cellLift = 0;
  switch (cell.sheet) {
    case kSheetGround:
      sheet = sheets_.tiles0;
      break;
    case kSheetStructure:
      sheet = sheets_.tiles1, cellLift = lift;
      break;
    case kSheetSite:
      sheet = sheets_.tiles2, cellLift = lift;
      break;
    default:
      break;  // a sheet that does not exist has no picture
  }
  DrawSheetFrame(sheet, left, top - cellLift, cell.frame);
  // The fog is lifted with the structure, so it covers the same picture it fogs.
  if (cell.revealMask < kRevealAll) {
    DrawSheetFrame(sheets_.tiles0, left, top - cellLift, cell.revealMask);
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

void WorldIso3D::DrawAnimationPart(std::int32_t frame, std::int32_t anchorX, std::int32_t anchorY,
                                   const gfx::IntRect* part) {
  const std::int32_t left = anchorX + animationLeft_;
  const std::int32_t top = anchorY + animationTop_;
  if (part == nullptr) {
    DrawSheetFrame(sheets_.animation, left, top, frame);
    return;
  }
  // Only parts of frames that lie whole in the sheet are drawn this way.
  const gfx::IntRect source = gfx::FrameSourceRect(*sheets_.animation, frame);
  gfx::DrawImage(*mapSurface, *sheets_.animation, left + part->left, top + part->top,
                 {source.left + part->left, source.top + part->top, source.left + part->right,
                  source.top + part->bottom});
}

void WorldIso3D::DrawPosition(CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
  const std::int32_t left = anchorX - tileWidth / 2;
  const std::int32_t top = anchorY - tileHeight / 2;
  const MapCell* cell = land.CellAt(at.x, at.y);
  if (cell == nullptr) {
    DrawSheetFrame(sheets_.tiles0, left, top, kOutsideGridFrame);
    return;
  }
  if (at.x == land.selectedX && at.y == land.selectedY) {
    DrawSheetFrame(sheets_.tiles1, left, top - lift, kMarkerBehindFrame);
    DrawCellPicture(*cell, left, top);
    DrawSheetFrame(sheets_.tiles1, left, top - lift, kMarkerInFrontFrame);
  } else {
    DrawCellPicture(*cell, left, top);
  }
  if (cell->animStart != 0) DrawAnimationPart(AnimationFrameOf(*cell), anchorX, anchorY, nullptr);
}

void WorldIso3D::DrawMap() {
  ForgetAnimationFrames();
  FollowPictures();
  drawnFrames_.assign(PositionCount(), kUnknownFrame);
  squareFlags_.assign(PositionCount(), kMayBeCovered);
  // A frame is known to be left whole when no cell drawn after it covered any of its pixels.
  // Cells draw their pictures downwards from half a tile and a lift above their anchor, so
  // only the next few rows of anchors can reach a square; it is checked once they are drawn,
  // while its pixels are still in the cache.
  const bool remember = FramesStayInTheirSquares();
  const std::int32_t squareBottom = animationTop_ + (remember ? sheets_.animation->frameHeight : 0);
  const std::int32_t reach = squareBottom + tileHeight / 2 + std::max(lift, 0);
  std::vector<DrawnFrame>& drawn = framesDrawnByMap_;
  drawn.clear();
  std::size_t checked = 0;
  auto checkUpTo = [&](std::int32_t anchorY) {
    for (; checked < drawn.size() && drawn[checked].anchorY + reach <= anchorY; ++checked) {
      const DrawnFrame& frame = drawn[checked];
      if (SquareShowsFrame(frame.frame, frame.anchorX, frame.anchorY)) {
        ExchangeDrawnFrame(frame.position, frame.frame);
        squareFlags_[frame.position] = 0;
      }
    }
  };
  std::size_t position = 0;
  std::int32_t rowAnchorY = -1;
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const std::size_t here = position++;
    if (remember && anchorY != rowAnchorY) {
      rowAnchorY = anchorY;
      checkUpTo(anchorY);
    }
    DrawPosition(at, anchorX, anchorY);
    const MapCell* cell = land.CellAt(at.x, at.y);
    if (remember && cell != nullptr && cell->animStart != 0) {
      drawn.push_back({here, anchorX, anchorY, AnimationFrameOf(*cell)});
    }
  });
  checkUpTo(std::numeric_limits<std::int32_t>::max());
  surfaceHoldsMap_ = true;
  drawnCentre_ = {land.centerX, land.centerY};
}

gfx::IntRect WorldIso3D::AnimationSquare(std::int32_t anchorX, std::int32_t anchorY) const {
  return FrameBox(sheets_.animation, anchorX + animationLeft_, anchorY + animationTop_);
}

gfx::IntRect WorldIso3D::PictureReach() const {
  gfx::IntRect reach = AnimationSquare(0, 0);
  auto add = [&reach](const gfx::WBitmap* sheet, std::int32_t left, std::int32_t top) {
    reach = reach.Union(FrameBox(sheet, left, top));
  };
  const std::int32_t left = -tileWidth / 2;
  const std::int32_t top = -tileHeight / 2;
  // Ground and the outside tile at the box, fog also lifted; structures, sites and the
  // marker lifted.
  add(sheets_.tiles0, left, top);
  add(sheets_.tiles0, left, top - lift);
  add(sheets_.tiles1, left, top - lift);
  add(sheets_.tiles2, left, top - lift);
  return reach;
}

bool WorldIso3D::FramesStayInTheirSquares() const {
  // Squares of neighbouring anchors overlap when frames are larger than this, and frames with
  // holes show whatever lies under them; then no frame can be known to be left whole, and
  // every redraw draws them whole.
  const gfx::WBitmap* sheet = sheets_.animation;
  return sheet != nullptr && sheet->present() && !sheet->transparent &&
         sheet->frameWidth <= tileWidth / 2 && sheet->frameHeight <= tileHeight / 2;
}

bool WorldIso3D::SquareShowsFrame(std::int32_t frame, std::int32_t anchorX,
                                  std::int32_t anchorY) const {
  const gfx::WBitmap& sheet = *sheets_.animation;
  const gfx::IntRect source = gfx::FrameSourceRect(sheet, frame);
  const gfx::IntRect whole = AnimationSquare(anchorX, anchorY);
  if (source.Width() != sheet.frameWidth || source.Height() != sheet.frameHeight ||
      source.Intersect(sheet.bitmap->bounds()) != source) {
    return false;
  }
  // Squares at the edges are only known as far as the surface reaches, which is all of them
  // that is ever stretched or drawn.
  const gfx::IntRect square = whole.Intersect(mapSurface->bounds());
  if (square.IsEmpty()) return false;
  const std::size_t rowBytes = static_cast<std::size_t>(square.Width()) * sizeof(gfx::Color);
  const std::int32_t sourceLeft = source.left + square.left - whole.left;
  const std::int32_t sourceTop = source.top + square.top - whole.top;
  for (std::int32_t y = 0; y < square.Height(); ++y) {
    if (std::memcmp(mapSurface->row(square.top + y) + square.left,
                    sheet.bitmap->row(sourceTop + y) + sourceLeft, rowBytes) != 0) {
      return false;
    }
  }
  return true;
}

void WorldIso3D::StretchMap() {
  gfx::MemVideo* target = Target();
  if (target == nullptr) return;
  gfx::StretchRect(*mapSurface, shownPart, *target, viewRect, true);
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

void WorldIso3D::ForgetAnimationFrames() {
  drawnFrames_.clear();
  squareFlags_.clear();
  surfaceHoldsMap_ = false;
}

void WorldIso3D::FollowPictures() {
  sheets_ = scaled_ != nullptr ? scaled_->Follow(pictures) : pictures;
  const gfx::MemVideo* pixels =
      sheets_.animation != nullptr ? sheets_.animation->bitmap.get() : nullptr;
  if (drawnSheet_ == sheets_.animation && drawnSheetPixels_ == pixels) return;
  ForgetAnimationFrames();
  drawnSheet_ = sheets_.animation;
  drawnSheetPixels_ = pixels;
}

std::int32_t WorldIso3D::ExchangeDrawnFrame(std::size_t position, std::int32_t frame) {
  if (position >= drawnFrames_.size()) drawnFrames_.resize(position + 1, kUnknownFrame);
  return std::exchange(drawnFrames_[position], static_cast<std::int16_t>(frame));
}

void WorldIso3D::RedrawAnimations() {
  // Where the map or the last redraw left a frame whole, only the box in which the new frame
  // differs from it is drawn; anywhere else the whole frame is.
  FollowPictures();
  const bool remember = FramesStayInTheirSquares();
  gfx::MemVideo* target = Target();
  const gfx::IntRect wholeFrame =
      sheets_.animation != nullptr && sheets_.animation->present()
          ? gfx::IntRect{0, 0, sheets_.animation->frameWidth, sheets_.animation->frameHeight}
          : gfx::IntRect{};

  // The changes of one row of anchors share their rows on the screen, so each row of anchors
  // is stretched in one pass over the screen areas of its changes and presented right after
  // its frames are drawn, while their pixels are still in the cache. A screen pixel that
  // reads changes of two rows lies in the areas of both, so it is stretched again after the
  // later row is drawn; pixels an area takes in beyond its own changes (where neighbours'
  // areas are joined) are stretched from the map as it is then, and again should a later
  // change reach them. The result is exactly that of drawing every frame and then stretching
  // and presenting the whole view.
  std::int32_t bandAnchorY = -1;
  std::vector<gfx::IntRect>& parts = bandParts_;
  parts.clear();
  auto finishBand = [&] {
    if (parts.empty()) return;
    gfx::StretchRectParts(*mapSurface, shownPart, *target, viewRect, true, parts);
    for (const gfx::IntRect& part : parts) Present(part);
    parts.clear();
  };
  std::size_t position = 0;
  WalkView([&](CellPos at, std::int32_t anchorX, std::int32_t anchorY) {
    const std::size_t here = position++;
    const MapCell* cell = land.CellAt(at.x, at.y);
    if (cell == nullptr || cell->animStart == 0) return;
    const std::int32_t frame = AnimationFrameOf(*cell);
    const std::int32_t before = remember ? ExchangeDrawnFrame(here, frame) : kUnknownFrame;
    const gfx::IntRect changed = before == kUnknownFrame
                                     ? wholeFrame
                                     : animationChanges_.Between(sheets_.animation, before, frame);
    if (changed.IsEmpty()) return;
    DrawAnimationPart(frame, anchorX, anchorY, changed == wholeFrame ? nullptr : &changed);
    if (here < squareFlags_.size() && squareFlags_[here] == kMayBeCovered) {
      squareFlags_[here] |= kDrawnOnTop;
    }
    if (target == nullptr) return;
    const gfx::IntRect onMap = gfx::IntRect::FromSize(anchorX + animationLeft_ + changed.left,
                                                      anchorY + animationTop_ + changed.top,
                                                      changed.Width(), changed.Height());
    const gfx::IntRect area = gfx::StretchedArea(*mapSurface, shownPart, *target, viewRect, true,
                                                 onMap.Intersect(shownPart));
    if (area.IsEmpty()) return;
    if (anchorY != bandAnchorY) {
      finishBand();
      bandAnchorY = anchorY;
    }
    // Neighbours' covering rectangles may touch; one rectangle around both is presented once.
    if (!parts.empty() && area.left <= parts.back().right) {
      gfx::IntRect& last = parts.back();
      last = {last.left, std::min(last.top, area.top), std::max(last.right, area.right),
              std::max(last.bottom, area.bottom)};
    } else {
      parts.push_back(area);
    }
  });
  finishBand();
}

void WorldIso3D::StepAnimations() {
  world::StepAnimations(land.cells);
}

}  // namespace world
