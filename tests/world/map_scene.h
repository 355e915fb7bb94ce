// A colony to look at: a generated map with every kind of structure, building sites, a
// highway network with all its pieces, running animations and a selected structure.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>

#include "world/map_generation.h"
#include "world/random.h"
#include "world/world_iso3d.h"

namespace world::testing {

// How each structure type looks, as in the colony model's catalogue, except that the food
// structures pick among their four food levels here as if they were variants.
struct SceneLook {
  std::uint8_t type, siteFrame, siteStages, frame, variants, animStart, animLength;
};
constexpr SceneLook kSceneLooks[] = {
    {5, 0, 2, 3, 1, 5, 3},     {6, 2, 2, 4, 1, 8, 3},     {7, 4, 1, 5, 1, 0, 0},
    {8, 5, 2, 6, 1, 11, 4},    {9, 7, 2, 7, 1, 0, 0},     {10, 9, 1, 8, 4, 0, 0},
    {11, 10, 2, 12, 4, 0, 0},  {12, 12, 2, 16, 4, 0, 0},  {15, 14, 1, 20, 4, 0, 0},
    {16, 18, 2, 24, 4, 0, 0},  {17, 26, 2, 28, 4, 0, 0},  {18, 34, 3, 32, 4, 0, 0},
    {20, 46, 2, 36, 1, 15, 4}, {21, 48, 3, 37, 1, 19, 6}, {22, 51, 2, 38, 1, 25, 3},
    {23, 53, 3, 39, 1, 28, 8}, {24, 56, 2, 40, 4, 0, 0},  {25, 58, 2, 44, 1, 36, 3},
    {26, 60, 3, 45, 1, 0, 0},  {27, 63, 2, 46, 1, 0, 0},  {28, 65, 2, 47, 1, 0, 0},
    {29, 67, 2, 48, 1, 39, 4}, {31, 69, 2, 49, 1, 43, 6}, {32, 71, 2, 50, 1, 0, 0},
    {33, 73, 3, 51, 1, 0, 0},
};

inline CellPos BuildScene(WorldIso3D& map) {
  Land& land = map.land;
  // Fixed draws; the first seed whose landing site leaves room on every side.
  CellPos landing;
  for (std::uint64_t seed = 2024;; ++seed) {
    Random random(seed);
    landing = GenerateMap(land, random);
    const ViewPos site = land.CellToView(landing);
    if (site.u >= 24 && site.u <= 104 && site.v >= 24 && site.v <= 104) break;
  }
  const std::int32_t cx = landing.x;
  const std::int32_t cy = landing.y;
  std::int32_t serial = 1;

  std::set<std::pair<std::int32_t, std::int32_t>> highway;
  for (std::int32_t d = -5; d <= 5; ++d) highway.insert({d, 2});
  for (std::int32_t d = -4; d <= 6; ++d) highway.insert({-2, d});
  for (std::int32_t d = 3; d <= 5; ++d) highway.insert({3, d});
  highway.insert({4, 5});
  for (auto [dx, dy] : highway) {
    MapCell& cell = land.Cell(cx + dx, cy + dy);
    cell.type = kTypeHighway;
    cell.serial = serial++;
  }
  for (auto [dx, dy] : highway) JoinHighway(land, cx + dx, cy + dy);

  // The free cells nearest the module first, then in rows.
  std::vector<std::pair<std::int32_t, std::int32_t>> free;
  for (std::int32_t dy = -6; dy <= 6; ++dy) {
    for (std::int32_t dx = -6; dx <= 6; ++dx) {
      if ((dx == 0 && dy == 0) || std::abs(dx) + std::abs(dy) > 6 || highway.count({dx, dy})) {
        continue;
      }
      free.push_back({dx, dy});
    }
  }
  std::stable_sort(free.begin(), free.end(), [](auto a, auto b) {
    return std::abs(a.first) + std::abs(a.second) < std::abs(b.first) + std::abs(b.second);
  });

  Random looks(7);
  std::size_t next = 0;
  auto place = [&](const SceneLook& look, bool finished) {
    if (next >= free.size()) return;
    const auto [dx, dy] = free[next++];
    MapCell& cell = land.Cell(cx + dx, cy + dy);
    cell.type = look.type;
    cell.serial = serial++;
    const std::int32_t variant = looks.Below(look.variants);
    if (finished) {
      cell.sheet = kSheetStructure;
      cell.frame = static_cast<std::uint8_t>(look.frame + variant);
      cell.animStart = look.animStart;
      cell.animLength = look.animLength;
      cell.variant =
          static_cast<std::uint8_t>(look.animStart != 0 ? looks.Below(look.animLength) : variant);
    } else {
      cell.sheet = kSheetSite;
      cell.frame = static_cast<std::uint8_t>(look.siteFrame + looks.Below(look.siteStages));
      cell.constructionLeft = 3;
      cell.variant = static_cast<std::uint8_t>(variant);
    }
  };
  for (const SceneLook& look : kSceneLooks) place(look, true);
  for (std::size_t i = 0; i < std::size(kSceneLooks); i += 4) place(kSceneLooks[i], false);

  // Placing explores around every structure.
  for (std::size_t i = 0; i < next; ++i) {
    RevealAround(land, cx + free[i].first, cy + free[i].second);
  }
  for (auto [dx, dy] : highway) RevealAround(land, cx + dx, cy + dy);
  land.Select(cx + free[3].first, cy + free[3].second);
  map.CenterOnCell(cx, cy);
  return landing;
}

}  // namespace world::testing
