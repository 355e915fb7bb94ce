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
// The view square 0 <= u, v <= size lies inside the grid's diamond; the view and the minimap
// never leave it. The view's top-left corner is the anchor of the top-left cell, and the map
// surface is drawn row by row from there (see map_view.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "gfx/wbitmap.h"
#include "world/animation_changes.h"
#include "world/land.h"
#include "world/map_cell.h"

namespace world {

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
  // must outlive the view.
  WorldIso3D(const gfx::FracRect& viewArea, Land& land, gfx::AppVideo screenSize,
             MapScreen mapScreen, MapPictures mapPictures = {});
  WorldIso3D(const WorldIso3D&) = delete;
  WorldIso3D& operator=(const WorldIso3D&) = delete;

  // Coordinates on the land's grid.
  ViewPos CellToView(CellPos cell) const;
  CellPos ViewToCell(ViewPos view) const;
  CellPos TopLeftCell() const;
  // The 144 x 96 box of a cell's diamond on the map surface; its centre is the cell's anchor.
  gfx::IntRect TileBox(CellPos cell) const;

  // The cell under a point of the back buffer inside the view rectangle; (0, 0) when the
  // point maps outside the grid.
  CellPos CellAtPoint(std::int32_t sx, std::int32_t sy) const;

  // Drawing into the map surface.
  void DrawCell(const MapCell& cell, std::int32_t left, std::int32_t top);
  void DrawMap();
  // The shown part of the map surface, smoothed, into the view rectangle of the back buffer.
  void StretchMap();
  void PresentView();
  // Draw map, stretch, present, then the minimap frame, presented.
  void RefreshAll();
  // Only the animation frames; then stretches and presents just what they changed, which
  // leaves the same pixels on the screen as a full stretch and present. It relies on the map
  // surface holding what the map drew there: whoever else draws into it calls
  // ForgetAnimationFrames (DrawMap and DrawCell do so themselves).
  void RedrawAnimations();
  void ForgetAnimationFrames();
  void StepAnimations();

  // Moving the view. Centring keeps the view inside the view square and writes the centre it
  // chose into the land.
  void CenterOnCell(std::int32_t x, std::int32_t y);
  // Centres on the land's own centre, after a new map or a load set it; centring twice on a
  // cell changes nothing.
  void Recentre() { CenterOnCell(land.centerX, land.centerY); }
  void Scroll(std::int32_t direction);

  // The minimap.
  void DrawMiniMap();
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
  // part: a box of the frame (null: all of it).
  void DrawAnimationPart(std::int32_t frame, std::int32_t anchorX, std::int32_t anchorY,
                         const gfx::IntRect* part);

  void DrawCellPicture(const MapCell& cell, std::int32_t left, std::int32_t top);
  // Forgets the frames when the animation sheet or its pixels are not those they came from.
  void FollowAnimationSheet();
  bool FramesStayInTheirSquares() const;
  // Records the frame left whole at a position of the view; returns the one recorded before.
  std::int32_t ExchangeDrawnFrame(std::size_t position, std::int32_t frame);
  bool SquareShowsFrame(std::int32_t frame, std::int32_t anchorX, std::int32_t anchorY) const;

  // The animation frame the map or the last redraw left whole at each position of the view
  // (in the order WalkView visits them), for the sheet it was drawn from.
  static constexpr std::int16_t kUnknownFrame = -1;
  std::vector<std::int16_t> drawnFrames_;
  const gfx::WBitmap* drawnSheet_ = nullptr;
  const gfx::MemVideo* drawnSheetPixels_ = nullptr;
  AnimationChanges animationChanges_;
  struct DrawnFrame {
    std::size_t position;
    std::int32_t anchorX, anchorY, frame;
  };
  std::vector<DrawnFrame> framesDrawnByMap_;  // scratch of DrawMap
  std::vector<gfx::IntRect> bandParts_;       // scratch of RedrawAnimations
};

}  // namespace world
