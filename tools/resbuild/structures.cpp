#include "tools/resbuild/structures.h"

#include <array>

namespace resbuild {
namespace {

using namespace colors;

// type, name, finished frame, frames, site frame, stages, site variants, accent
const std::array kStructures = {
    StructureInfo{1, "P.E.M.", 2, 1, -1, 0, 1, kCommBlue},
    StructureInfo{5, "Water Condenser", 3, 1, 0, 2, 1, kWaterCyan},
    StructureInfo{6, "Water Well", 4, 1, 2, 2, 1, kWaterCyan},
    StructureInfo{7, "Batteries", 5, 1, 4, 1, 1, kPowerYellow},
    StructureInfo{8, "Wind Power", 6, 1, 5, 2, 1, kPowerYellow},
    StructureInfo{9, "Solar Power", 7, 1, 7, 2, 1, kPowerYellow},
    StructureInfo{10, "Crops", 8, 4, 9, 1, 1, kFoodGreen},
    StructureInfo{11, "Fish Farm", 12, 4, 10, 2, 1, kFoodGreen},
    StructureInfo{12, "Farm", 16, 4, 12, 2, 1, kFoodGreen},
    StructureInfo{15, "Little House", 20, 4, 14, 1, 4, kHousingTerracotta},
    StructureInfo{16, "Country House", 24, 4, 18, 2, 4, kHousingTerracotta},
    StructureInfo{17, "Flats", 28, 4, 26, 2, 4, kHousingTerracotta},
    StructureInfo{18, "Skyscraper", 32, 4, 34, 3, 4, kHousingTerracotta},
    StructureInfo{20, "Pub", 36, 1, 46, 2, 1, kHappyMagenta},
    StructureInfo{21, "Disco", 37, 1, 48, 3, 1, kHappyMagenta},
    StructureInfo{22, "Love Center", 38, 1, 51, 2, 1, kHappyMagenta},
    StructureInfo{23, "Casino", 39, 1, 53, 3, 1, kHappyMagenta},
    StructureInfo{24, "Job Center", 40, 4, 56, 2, 1, kHappyMagenta},
    StructureInfo{25, "Gym", 44, 1, 58, 2, 1, kSeriousBlue},
    StructureInfo{26, "Hospital", 45, 1, 60, 3, 1, kSeriousRed},
    StructureInfo{27, "Church", 46, 1, 63, 2, 1, kSeriousBlue},
    StructureInfo{28, "Public Library", 47, 1, 65, 2, 1, kSeriousBlue},
    StructureInfo{29, "Birth Control", 48, 1, 67, 2, 1, kSeriousRed},
    StructureInfo{31, "PellNet", 49, 1, 69, 2, 1, kCommBlue},
    StructureInfo{32, "Telescope", 50, 1, 71, 2, 1, kCommBlue},
    StructureInfo{33, "Comm. Center", 51, 1, 73, 3, 1, kCommBlue},
};

}  // namespace

std::span<const StructureInfo> Structures() {
  return kStructures;
}

const StructureInfo* StructureOfType(int type) {
  for (const StructureInfo& s : kStructures) {
    if (s.type == type) return &s;
  }
  return nullptr;
}

const StructureInfo* StructureOfSiteFrame(int n) {
  for (const StructureInfo& s : kStructures) {
    if (s.siteFrame < 0) continue;
    if (n >= s.siteFrame && n < s.siteFrame + s.siteStages * s.siteVariants) return &s;
  }
  return nullptr;
}

}  // namespace resbuild
