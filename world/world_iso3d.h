// WorldIso3D: the map view of the colony's land of (size + 1) x (size + 1) cells (world/land.h):
// its isometric projection onto the map surface, the view that shows part of it on the screen,
// and the minimap.
//
// The grid on the screen: x runs to the lower right, y to the lower left.
//
//                         (0,0)
//                        /     `
//              y axis   /       `   x axis
//                      /         `
//               (0,128)  (64,64)  (128,0)
//                      `         /
//                       `       /
//                        `     /
//                       (128,128)
//
//      u -->  (half tile widths, 72 pixels, to the right)
//    v
//    |        x runs to the lower right: one step is half a tile right and half a tile down.
//    v        y runs to the lower left: one step is half a tile left and half a tile down.
//   (half tile heights, 48 pixels, downwards)
//
//   u = x - y + size / 2        x = (u + v) >> 1
//   v = x + y - size / 2        y = size / 2 + ((v - u) >> 1)
//
// The pixels are those of the design's own scale; a view made at another (world/map_scale.h)
// has tiles, lifts and half tiles of that scale, all whole pixels, and draws scaled copies of
// the pictures (world/scaled_sheets.h); its map surface keeps about the same size, holding more
// or fewer tiles.
//
// The view square 0 <= u, v <= size lies inside the grid's diamond; the view and the minimap
// never leave it. The view's top-left corner is the anchor of the top-left cell, and the map
// surface is drawn row by row from there (see map_view.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "world/animation_changes.h"
#include "world/land.h"
#include "world/map_cell.h"
#include "world/map_scale.h"

namespace world {

class ScaledSheets;

// The five pictures the map is drawn with. They are slots: the game screen owns the pictures
// and the map only points at them; a missing picture draws nothing.
struct MapPictures {
  const gfx::WBitmap* tiles0 = nullptr;     // ground, fog, highways
  const gfx::WBitmap* tiles1 = nullptr;     // finished structures and the selection marker
  const gfx::WBitmap* tiles2 = nullptr;     // building sites
  const gfx::WBitmap* animation = nullptr;  // moving parts of running structures
  const gfx::WBitmap* miniMap = nullptr;    // one 2 x 1 colour per cell
};

// Where the map is shown: the shell's back buffer and its presentation of a rectangle of it
// on the window. The shell frees and makes the back buffer anew when the window changes size,
// so the map asks for it at each use instead of keeping a pointer.
struct MapScreen {
  std::function<gfx::MemVideo*()> target;            // may be empty or give null (draw nothing)
  std::function<void(const gfx::IntRect&)> present;  // may be empty (nothing is presented)
};

// The keypad codes of the scroll directions.
enum ScrollDirection : std::int32_t {
  ScrollDownLeft = 1,
  ScrollDown = 2,
  ScrollDownRight = 3,
  ScrollLeft = 4,
  ScrollRight = 6,
  ScrollUpLeft = 7,
  ScrollUp = 8,
  ScrollUpRight = 9,
};

class WorldIso3D {
 public:
  // The view of a land it does not own, for a view area (screen fractions) of a screen of the
  // given size; the surfaces are made for that size and the land's size parameter. The land
  // must outlive the view. Without scaled sheets the map is drawn at the design's own scale
  // with the pictures as they are; with them, at their scale, its tiles and the map surface's
  // rows and columns of tiles made for it (the surface keeps about the same size), drawn with
  // the sheets' copies of the pictures. The land and the sheets must outlive the view.
  WorldIso3D(const gfx::FracRect& viewArea, Land& land, gfx::AppVideo screenSize,
             MapScreen mapScreen, MapPictures mapPictures = {},
             ScaledSheets* scaledSheets = nullptr);
  WorldIso3D(const WorldIso3D&) = delete;
  WorldIso3D& operator=(const WorldIso3D&) = delete;

  // Coordinates on the land's grid.
  ViewPos CellToView(CellPos cell) const;
  CellPos ViewToCell(ViewPos view) const;
  CellPos TopLeftCell() const;
  // The tile box of a cell's diamond on the map surface (144 x 96 at the design's scale); its
  // centre is the cell's anchor.
  gfx::IntRect TileBox(CellPos cell) const;

  // The cell under a point of the back buffer inside the view rectangle; (0, 0) when the
  // point maps outside the grid.
  CellPos CellAtPoint(std::int32_t sx, std::int32_t sy) const;

  const MapScale& scale() const { return scale_; }
  // A point of the view square in half tiles, not held to whole ones (see the grid above).
  struct ExactView {
    double u = 0.0;
    double v = 0.0;
  };
  // The ground under the centre of a pixel of the back buffer when the view's centre is at
  // `centre` (which need not be a cell's).
  ExactView GroundAt(ExactView centre, std::int32_t sx, std::int32_t sy) const;
  // The centre that puts `ground` under the centre of that pixel.
  ExactView CentreFor(ExactView ground, std::int32_t sx, std::int32_t sy) const;
  // Centres on the cell nearest to an exact centre that the view can take (its u of the view
  // columns' parity), then as CenterOnCell.
  void CenterNear(ExactView centre);

  // Drawing into the map surface.
  void DrawCell(const MapCell& cell, std::int32_t left, std::int32_t top);
  void DrawMap();
  // The shown part of the map surface, smoothed, into the view rectangle of the back buffer.
  void StretchMap();
  void PresentView();
  // Draw map, stretch, present, then the minimap frame, presented.
  void RefreshAll();
  // What a change of these cells (their pictures, minimap colours or the selection marker)
  // needs, leaving the same pixels on the window as DrawMiniMap and RefreshAll would: the
  // cells are drawn anew on the minimap, which is shown; on the map surface every cell whose
  // picture overlaps theirs is drawn again in painter's order, only inside their pictures'
  // boxes, and just the screen pixels those reach are stretched and presented. Cells may be
  // named twice or lie outside the view. Where most of the view changed, or the map surface
  // does not hold what the map drew for this centre, it is all drawn anew.
  void RedrawCells(std::span<const CellPos> cells);
  // Only the animation frames; then stretches and presents just what they changed, which
  // leaves the same pixels on the screen as a full stretch and present. It relies on the map
  // surface holding what the map drew there: whoever else draws into it calls
  // ForgetAnimationFrames (DrawMap and DrawCell do so themselves), after which RedrawCells
  // and Scroll draw the whole map once.
  void RedrawAnimations();
  void ForgetAnimationFrames();
  void StepAnimations();

  // Moving the view. Centring keeps the view inside the view square and writes the centre it
  // chose into the land.
  void CenterOnCell(std::int32_t x, std::int32_t y);
  // Centres on the land's own centre, after a new map or a load set it; centring twice on a
  // cell changes nothing.
  void Recentre() { CenterOnCell(land.centerX, land.centerY); }
  // One step, then the refresh of a move: the map surface keeps what stays in view (a step
  // is a whole tile), draws only the strips it uncovers, and is stretched, presented and
  // shown on the minimap whole, with the pixels of RefreshAll.
  void Scroll(std::int32_t direction);

  // The minimap.
  void DrawMiniMap();
  // The colours of these cells on the minimap surface, as DrawMiniMap draws them.
  void DrawMiniMapCells(std::span<const CellPos> cells);
  void ShowMiniMap(bool present);
  // (mx, my) relative to the minimap rectangle's top-left corner.
  void MiniMapClick(std::int32_t mx, std::int32_t my);

  // The cells, the selection and the centre are the land's.
  Land& land;
  std::unique_ptr<gfx::MemVideo> mapSurface;
  std::unique_ptr<gfx::MemVideo> miniMapSurface;
  gfx::FracRect viewArea;
  std::int32_t tileWidth = kTileWidth;
  std::int32_t tileHeight = kTileHeight;
  std::int32_t lift = kStructureLift;
  std::int32_t viewColumns = 0;
  std::int32_t viewRows = 0;
  gfx::IntRect viewRect;
  gfx::IntRect shownPart;
  gfx::IntRect miniMapRect;

  // What the map draws with and onto; not part of the land.
  MapPictures pictures;
  MapScreen screen;

 private:
  // The back buffer as it is now; null when there is none.
  gfx::MemVideo* Target() const { return screen.target ? screen.target() : nullptr; }
  void Present(const gfx::IntRect& rect);
  // Visits every position of the view in painter's order with its cell and anchor.
  void WalkView(const std::function<void(CellPos cell, std::int32_t anchorX, std::int32_t anchorY)>&
                    visit) const;
  // Positions are numbered in the order WalkView visits them; the anchors of the view lie on
  // rows 48 pixels apart, even rows from x = 0 and odd ones from x = 72, every 144 pixels.
  std::size_t PositionCount() const;
  // The number of the position with this anchor, or PositionCount() when it is none.
  std::size_t PositionAt(std::int32_t anchorX, std::int32_t anchorY) const;
  // Everything drawn at a position, relative to its anchor: its cell's sheets at their lifts,
  // the selection marker and the animation square.
  gfx::IntRect PictureReach() const;
  gfx::IntRect AnimationSquare(std::int32_t anchorX, std::int32_t anchorY) const;
  // Draws one position of the view: the outside tile, or its cell with the marker and its
  // animation frame (only inside clip_ while it is set).
  void DrawPosition(CellPos at, std::int32_t anchorX, std::int32_t anchorY);
  void DrawSheetFrame(const gfx::WBitmap* picture, std::int32_t left, std::int32_t top,
                      std::int32_t frame);
  // Draws again, in painter's order, every position whose pictures reach the areas (inside
  // the map surface), each only inside them; then learns which animation squares in them
  // show their frame whole.
  void RepaintAreas(std::span<const gfx::IntRect> areas);
  // Stretches the map surface's areas onto the view and presents what they reach.
  void StretchAndPresentAreas(std::span<const gfx::IntRect> areas);
  // The centre moved since the map was drawn: what stays in view is moved on the map surface
  // and the rest drawn, or everything is drawn.
  void FollowCentre();
  // Adds the animation squares drawn over what covers them in painter's order.
  void AddSquaresDrawnOnTop(std::vector<gfx::IntRect>& areas) const;
  // The parts of the surface a move by (shiftX, shiftY) leaves to draw: the uncovered
  // strips, widened by the pictures of positions that entered the view or left it.
  void AddUncoveredAreas(std::int32_t shiftX, std::int32_t shiftY,
                         std::vector<gfx::IntRect>& areas) const;
  bool SurfaceHoldsMapAt(CellPos centre) const;
  // After the centre moved: follow it on the map surface, stretch and present the view, and
  // show the minimap.
  void RefreshAfterMove();
  // The minimap colour of the cell at view position (j + 1, v) at (j, v).
  void DrawMiniMapAt(std::int32_t j, std::int32_t v);
  // part: a box of the frame (null: all of it).
  void DrawAnimationPart(std::int32_t frame, std::int32_t anchorX, std::int32_t anchorY,
                         const gfx::IntRect* part);

  void DrawCellPicture(const MapCell& cell, std::int32_t left, std::int32_t top);
  // Takes the pictures to draw with (the scaled sheets' copies of them at another scale than
  // the design's), and forgets the frames when the animation sheet or its pixels are not those
  // they came from.
  void FollowPictures();
  bool FramesStayInTheirSquares() const;
  // Records the frame left whole at a position of the view; returns the one recorded before.
  std::int32_t ExchangeDrawnFrame(std::size_t position, std::int32_t frame);
  // Whether the part of the square on the map surface shows the frame.
  bool SquareShowsFrame(std::int32_t frame, std::int32_t anchorX, std::int32_t anchorY) const;

  // The animation frame the map or the last redraw left whole at each position of the view
  // (in the order WalkView visits them), for the sheet it was drawn from.
  static constexpr std::int16_t kUnknownFrame = -1;
  std::vector<std::int16_t> drawnFrames_;
  // What is known of each position's animation square beyond its frame. A square that
  // painter's order may cover (something drawn after it reaches into it, or nothing is known)
  // and over which a redraw has since drawn a frame shows what a full draw would not; a
  // partial redraw draws it again in painter's order.
  enum SquareFlag : std::uint8_t { kMayBeCovered = 1, kDrawnOnTop = 2 };
  std::vector<std::uint8_t> squareFlags_;
  // Whether the map surface holds what the map drew for drawnCentre_ (animation frames drawn
  // on top aside); whoever draws into it otherwise forgets that with the frames.
  bool surfaceHoldsMap_ = false;
  CellPos drawnCentre_;
  const gfx::IntRect* clip_ = nullptr;  // while set, positions draw only inside it
  const gfx::WBitmap* drawnSheet_ = nullptr;
  const gfx::MemVideo* drawnSheetPixels_ = nullptr;
  AnimationChanges animationChanges_;
  MapScale scale_;
  ScaledSheets* scaled_ = nullptr;
  // The animation square's top-left corner relative to the anchor, at the view's scale.
  std::int32_t animationLeft_ = kAnimationLeft;
  std::int32_t animationTop_ = kAnimationTop;
  MapPictures sheets_;  // what the map draws with: pictures, or their scaled copies
  struct DrawnFrame {
    std::size_t position;
    std::int32_t anchorX, anchorY, frame;
  };
  std::vector<DrawnFrame> framesDrawnByMap_;  // scratch of DrawMap
  std::vector<gfx::IntRect> bandParts_;       // scratch of RedrawAnimations
  std::vector<gfx::IntRect> areas_;           // scratch of RedrawCells and FollowCentre
};

}  // namespace world
