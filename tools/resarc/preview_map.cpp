// The map's projection, as the map view draws it. A cell (x, y) has its diamond centred at
//
//   px = W/2 + 72 ((x - cx) - (y - cy)),   py = H/2 + 48 ((x - cx) + (y - cy))
//
// for a centre cell (cx, cy) on a W x H surface, so x runs to the lower right and y to the
// lower left:
//
//                 (0,0)
//            (0,1)     (1,0)
//       (0,2)     (1,1)     (2,0)
//            (1,2)     (2,1)
//                 (2,2)
//
// Ground tiles (144 x 96) are drawn with their top-left corner at (px - 72, py - 48);
// structures and building sites (144 x 105) nine pixels higher, at (px - 72, py - 57), so
// that they may rise over the cells behind them. Cells are drawn back to front (increasing
// x + y, then x), every picture with pure black left undrawn.
#include "tools/resarc/preview_map.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/archive.h"
#include "gfx/png_file.h"
#include "tools/resarc/archive_index.h"
#include "tools/resarc/error.h"
#include "tools/resarc/known_entries.h"
#include "tools/resbuild/structures.h"

namespace resarc {
namespace {

constexpr int kHalfCellWidth = 72;
constexpr int kHalfCellHeight = 48;
constexpr int kStructureRise = 9;
constexpr int kMargin = 24;

// tiles0 frames.
constexpr int kUnexplored = 0;
constexpr int kOutsideMap = 15;
constexpr int kFirstGround = 16;
constexpr int kGroundKinds = 12;
constexpr int kFogOverlays = 14;  // reveal masks 1..14
// tiles1 frames.
constexpr int kMarkerBehind = 0;
constexpr int kMarkerInFront = 1;
constexpr int kFirstStructure = 2;
constexpr int kStructureFrames = 50;

// The highway piece that joins a cell to its highway neighbours; mask bits 1 (x, y-1),
// 2 (x+1, y), 4 (x, y+1), 8 (x-1, y). Dead ends and lone pieces run along the y axis.
int HighwayFrame(int mask) {
  static constexpr std::array<int, 16> kFrames = {28, 28, 29, 30, 28, 28, 31, 35,
                                                  29, 33, 29, 34, 32, 37, 36, 38};
  return kFrames[static_cast<std::size_t>(mask & 15)];
}

struct MapSheet {
  const resbuild::Entry* entry = nullptr;
  std::unique_ptr<gfx::MemVideo> picture;
};

MapSheet LoadSheet(const std::vector<IndexedEntry>& entries, const char* name,
                   const std::string& label) {
  MapSheet sheet;
  sheet.entry = KnownEntry(name);
  for (const IndexedEntry& entry : entries) {
    if (!gfx::SameEntryName(entry.name, name)) continue;
    sheet.picture = DecodePicture(entry);
    if (sheet.picture == nullptr) throw Error(label + ": " + name + " is not a readable picture");
    CheckPictureFitsFrames(name, *sheet.picture, label);
    return sheet;
  }
  throw Error(label + ": has no entry named " + name);
}

// Frame n of a sheet with its top-left corner at (left, top), black left undrawn.
void DrawFrame(gfx::MemVideo& dst, const MapSheet& sheet, int n, int left, int top) {
  const resbuild::Entry& entry = *sheet.entry;
  const gfx::FramePoint origin = resbuild::FrameOrigin(entry, n);
  const gfx::MemVideo& src = *sheet.picture;
  for (int y = 0; y < entry.frameHeight; ++y) {
    const int dy = top + y;
    if (dy < 0 || dy >= dst.height()) continue;
    for (int x = 0; x < entry.frameWidth; ++x) {
      const int dx = left + x;
      if (dx < 0 || dx >= dst.width()) continue;
      const gfx::Color c = src.at(origin.x + x, origin.y + y);
      if (c != gfx::kBlack) dst.set(dx, dy, c);
    }
  }
}

// What one cell of the sample colony shows; -1 where a layer is absent.
struct Cell {
  int ground = -1;     // tiles0: ground, highway, unexplored
  int fog = -1;        // tiles0 overlay over the ground
  int structure = -1;  // tiles1
  int site = -1;       // tiles2
  bool selected = false;
};

using MapCells = std::array<std::array<Cell, kPreviewMapSize>, kPreviewMapSize>;  // [y][x]

bool IsHighway(int x, int y) {
  // A grid of three roads each way over 5 x 5 cells: its corners, edges and middle give
  // every bend, T-joint, the crossing and both straights.
  constexpr int kLeft = 3;
  constexpr int kTop = 4;
  const int u = x - kLeft;
  const int v = y - kTop;
  if (u < 0 || v < 0 || u > 4 || v > 4) return false;
  return u % 2 == 0 || v % 2 == 0;
}

// The sample colony: unexplored land at the back, a row of every fog state before it, the
// highway grid with the landing module selected in it, then every finished structure and a
// building site of every kind, with each ground tile scattered between them.
MapCells PlanColony() {
  MapCells cells;
  const int n = kPreviewMapSize;
  std::vector<std::pair<int, int>> fogCells;
  for (int x = 0; x < n; ++x) fogCells.push_back({x, 1});
  for (int y = 2; fogCells.size() < kFogOverlays; ++y) fogCells.push_back({0, y});

  auto reserved = [&](int x, int y) {
    return y == 0 || IsHighway(x, y) ||
           std::find(fogCells.begin(), fogCells.end(), std::pair{x, y}) != fogCells.end();
  };
  for (int x = 0; x < n; ++x) cells[0][static_cast<std::size_t>(x)].ground = kUnexplored;
  int groundsPlaced = 0;
  auto nextGround = [&] { return kFirstGround + (groundsPlaced++ % kGroundKinds); };
  for (std::size_t i = 0; i < fogCells.size(); ++i) {
    Cell& cell = cells[static_cast<std::size_t>(fogCells[i].second)]
                      [static_cast<std::size_t>(fogCells[i].first)];
    cell.ground = nextGround();
    cell.fog = static_cast<int>(i) + 1;
  }
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (!IsHighway(x, y)) continue;
      const int mask = (IsHighway(x, y - 1) ? 1 : 0) | (IsHighway(x + 1, y) ? 2 : 0) |
                       (IsHighway(x, y + 1) ? 4 : 0) | (IsHighway(x - 1, y) ? 8 : 0);
      cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)].ground = HighwayFrame(mask);
    }
  }

  // The squares inside the highway grid come first, so the landing module sits in it.
  std::vector<std::pair<int, int>> free = {{4, 5}, {6, 5}, {4, 7}, {6, 7}};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (!reserved(x, y) && std::find(free.begin(), free.end(), std::pair{x, y}) == free.end()) {
        free.push_back({x, y});
      }
    }
  }
  std::vector<Cell> things;
  for (int f = 0; f < kStructureFrames; ++f) things.push_back({.structure = kFirstStructure + f});
  things.front().selected = true;
  int kind = 0;
  for (const resbuild::StructureInfo& s : resbuild::Structures()) {
    if (s.siteFrame < 0) continue;
    // Each kind shows another stage and variant, so that the stages can be compared.
    const int variant = kind % s.siteVariants;
    const int stage = kind % s.siteStages;
    things.push_back({.site = s.siteFrame + variant * s.siteStages + stage});
    ++kind;
  }
  const std::size_t grounds = free.size() > things.size() ? free.size() - things.size() : 0;
  std::size_t next = 0;
  for (std::size_t i = 0; i < free.size(); ++i) {
    Cell& cell =
        cells[static_cast<std::size_t>(free[i].second)][static_cast<std::size_t>(free[i].first)];
    // The ground cells are spread evenly among the rest; the first four stay built on.
    const bool ground = i >= 4 && ((i + 1) * grounds / free.size() > i * grounds / free.size());
    if (ground || next >= things.size()) {
      cell.ground = nextGround();
    } else {
      cell = things[next++];
    }
  }
  return cells;
}

}  // namespace

gfx::MemVideo MakePreviewMap(const std::filesystem::path& archive) {
  const std::string label = archive.string();
  const std::vector<IndexedEntry> entries = ReadArchiveIndex(archive);
  const MapSheet ground = LoadSheet(entries, "tiles0", label);
  const MapSheet structures = LoadSheet(entries, "tiles1", label);
  const MapSheet sites = LoadSheet(entries, "tiles2", label);

  const int n = kPreviewMapSize;
  const int cx = n / 2;
  const int cy = n / 2;
  const int width = 2 * (kHalfCellWidth * n + kMargin);
  const int height = 2 * (kHalfCellHeight * n + kHalfCellHeight + kStructureRise + kMargin);
  gfx::MemVideo map(width, height);
  auto centre = [&](int x, int y) {
    return std::pair{width / 2 + kHalfCellWidth * ((x - cx) - (y - cy)),
                     height / 2 + kHalfCellHeight * ((x - cx) + (y - cy))};
  };

  // The view around the map shows the outside-the-map tile, laid first as a background.
  for (int y = -2 * n; y < 3 * n; ++y) {
    for (int x = -2 * n; x < 3 * n; ++x) {
      if (x >= 0 && y >= 0 && x < n && y < n) continue;
      const auto [px, py] = centre(x, y);
      if (px + kHalfCellWidth < 0 || px - kHalfCellWidth > width || py + kHalfCellHeight < 0 ||
          py - kHalfCellHeight > height) {
        continue;
      }
      DrawFrame(map, ground, kOutsideMap, px - kHalfCellWidth, py - kHalfCellHeight);
    }
  }

  const MapCells cells = PlanColony();
  for (int sum = 0; sum <= 2 * (n - 1); ++sum) {
    for (int x = std::max(0, sum - (n - 1)); x <= std::min(sum, n - 1); ++x) {
      const int y = sum - x;
      const Cell& cell = cells[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      const auto [px, py] = centre(x, y);
      const int left = px - kHalfCellWidth;
      const int tileTop = py - kHalfCellHeight;
      const int structureTop = tileTop - kStructureRise;
      if (cell.ground >= 0) DrawFrame(map, ground, cell.ground, left, tileTop);
      if (cell.fog >= 0) DrawFrame(map, ground, cell.fog, left, tileTop);
      if (cell.selected) DrawFrame(map, structures, kMarkerBehind, left, structureTop);
      if (cell.structure >= 0) DrawFrame(map, structures, cell.structure, left, structureTop);
      if (cell.site >= 0) DrawFrame(map, sites, cell.site, left, structureTop);
      if (cell.selected) DrawFrame(map, structures, kMarkerInFront, left, structureTop);
    }
  }
  return map;
}

void WritePreviewMap(const std::filesystem::path& archive, const std::filesystem::path& out) {
  const gfx::MemVideo map = MakePreviewMap(archive);
  if (!gfx::WritePng(map, out.string())) throw Error(out.string() + ": cannot write");
}

}  // namespace resarc
