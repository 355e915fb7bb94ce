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
#include <memory>
#include <string>
#include <vector>

#include "gfx/archive.h"
#include "gfx/png_file.h"
#include "tools/resarc/archive_index.h"
#include "tools/resarc/error.h"
#include "tools/resarc/known_entries.h"
#include "tools/resbuild/structures.h"
#include "world/highway.h"
#include "world/land.h"

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

world::MapCell Picture(std::uint8_t sheet, int frame, std::uint8_t reveal = world::kRevealAll) {
  world::MapCell cell;
  cell.revealMask = reveal;
  cell.sheet = sheet;
  cell.frame = static_cast<std::uint8_t>(frame);
  return cell;
}

// The sample colony on a land of its own: unexplored land at the back, a row of every fog
// state before it, the highway grid joined as the game joins it with the landing module
// selected in it, then every finished structure and a building site of every kind, with each
// ground tile scattered between them.
world::Land PlanColony() {
  const int n = kPreviewMapSize;
  world::Land land(n - 1);
  std::vector<std::pair<int, int>> fogCells;
  for (int x = 0; x < n; ++x) fogCells.push_back({x, 1});
  for (int y = 2; fogCells.size() < kFogOverlays; ++y) fogCells.push_back({0, y});

  auto reserved = [&](int x, int y) {
    return y == 0 || IsHighway(x, y) ||
           std::find(fogCells.begin(), fogCells.end(), std::pair{x, y}) != fogCells.end();
  };
  // Row 0 stays as the land starts: unexplored.
  int groundsPlaced = 0;
  auto nextGround = [&] { return kFirstGround + (groundsPlaced++ % kGroundKinds); };
  for (std::size_t i = 0; i < fogCells.size(); ++i) {
    land.Cell(fogCells[i].first, fogCells[i].second) =
        Picture(world::kSheetGround, nextGround(), static_cast<std::uint8_t>(i + 1));
  }
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (!IsHighway(x, y)) continue;
      land.Cell(x, y) = Picture(world::kSheetGround, 0);
      land.Cell(x, y).type = world::kTypeHighway;
    }
  }
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (IsHighway(x, y)) world::JoinHighway(land, x, y);
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
  std::vector<world::MapCell> things;
  for (int f = 0; f < kStructureFrames; ++f) {
    things.push_back(Picture(world::kSheetStructure, kFirstStructure + f));
  }
  int kind = 0;
  for (const resbuild::StructureInfo& s : resbuild::Structures()) {
    if (s.siteFrame < 0) continue;
    // Each kind shows another stage and variant, so that the stages can be compared.
    const int variant = kind % s.siteVariants;
    const int stage = kind % s.siteStages;
    things.push_back(Picture(world::kSheetSite, s.siteFrame + variant * s.siteStages + stage));
    ++kind;
  }
  const std::size_t grounds = free.size() > things.size() ? free.size() - things.size() : 0;
  std::size_t next = 0;
  for (std::size_t i = 0; i < free.size(); ++i) {
    world::MapCell& cell = land.Cell(free[i].first, free[i].second);
    // The ground cells are spread evenly among the rest; the first four stay built on.
    const bool ground = i >= 4 && ((i + 1) * grounds / free.size() > i * grounds / free.size());
    if (ground || next >= things.size()) {
      cell = Picture(world::kSheetGround, nextGround());
    } else {
      cell = things[next++];
    }
  }
  land.Select(free.front().first, free.front().second);
  return land;
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

  const world::Land land = PlanColony();
  for (int sum = 0; sum <= 2 * (n - 1); ++sum) {
    for (int x = std::max(0, sum - (n - 1)); x <= std::min(sum, n - 1); ++x) {
      const int y = sum - x;
      const world::MapCell& cell = land.Cell(x, y);
      const bool selected = x == land.selectedX && y == land.selectedY;
      const auto [px, py] = centre(x, y);
      const int left = px - kHalfCellWidth;
      const int tileTop = py - kHalfCellHeight;
      const int structureTop = tileTop - kStructureRise;
      if (selected) DrawFrame(map, structures, kMarkerBehind, left, structureTop);
      if (cell.revealMask == 0) {
        DrawFrame(map, ground, kUnexplored, left, tileTop);
      } else if (cell.sheet == world::kSheetGround) {
        DrawFrame(map, ground, cell.frame, left, tileTop);
        if (cell.revealMask != world::kRevealAll) {
          DrawFrame(map, ground, cell.revealMask, left, tileTop);
        }
      } else {
        DrawFrame(map, cell.sheet == world::kSheetStructure ? structures : sites, cell.frame, left,
                  structureTop);
      }
      if (selected) DrawFrame(map, structures, kMarkerInFront, left, structureTop);
    }
  }
  return map;
}

void WritePreviewMap(const std::filesystem::path& archive, const std::filesystem::path& out) {
  const gfx::MemVideo map = MakePreviewMap(archive);
  if (!gfx::WritePng(map, out.string())) throw Error(out.string() + ": cannot write");
}

}  // namespace resarc
