// tiles2: building sites. Every site shows its structure's footprint marked out, walls
// rising with the stage, scaffolding around them and, on the taller ones, a crane.
#include <algorithm>

#include "tools/resbuild/iso.h"
#include "tools/resbuild/noise.h"
#include "tools/resbuild/painters.h"
#include "tools/resbuild/structures.h"

namespace resbuild {
namespace {

using namespace colors;

constexpr Iso kIso = Iso::Structure();

void Scaffold(Canvas& c, const Footprint& f, double height) {
  const double corners[4][2] = {{f.u0, f.v0}, {f.u1, f.v0}, {f.u1, f.v1}, {f.u0, f.v1}};
  for (const auto& corner : corners) {
    Line(c, kIso.At(corner[0], corner[1]), kIso.At(corner[0], corner[1], height), kScaffold, 1.3);
  }
  for (double z = 8; z <= height; z += 8) {
    for (int i = 0; i < 4; ++i) {
      const auto& a = corners[i];
      const auto& b = corners[(i + 1) % 4];
      Line(c, kIso.At(a[0], a[1], z), kIso.At(b[0], b[1], z), kScaffold.Shade(0.85), 1.0);
    }
  }
}

void Crane(Canvas& c, double height) {
  const Point foot = kIso.At(0.86, 0.3);
  const Point top{foot.x, std::max(2.0, foot.y - height)};
  Line(c, foot, top, kScaffold, 2.0);
  Line(c, {top.x - 30, top.y + 2}, {top.x + 8, top.y}, kScaffold, 1.6);
  Line(c, {top.x - 26, top.y + 2}, {top.x - 26, top.y + 14}, kSteel, 0.7);
}

}  // namespace

void PaintSite(Canvas& canvas, const FrameContext& context) {
  const StructureInfo* info = StructureOfSiteFrame(context.frame);
  GroundPlate(canvas, kIso, kOchre.Mix(kRust, 0.3), 500 + context.frame, 0.12);
  if (info == nullptr) return;
  const int index = context.frame - info->siteFrame;
  const int stage = index % info->siteStages;
  const int variant = index / info->siteStages;
  const double progress = (stage + 1.0) / (info->siteStages + 1.0);
  const Footprint f = Footprint::Centred(info->side).Moved(variant * 0.02, -variant * 0.015);
  FlatArea(canvas, kIso, f.Inset(-0.06), kModuleGrey.Shade(0.8));
  const double wall = std::min(info->height, 40.0) * progress;
  if (wall >= 3) {
    Box(canvas, kIso, f, 0, wall, kModuleGrey.Mix(kModuleWhite, progress));
    Band(canvas, kIso, f, std::max(0.0, wall - 3), wall, info->accent);
  }
  Scaffold(canvas, f.Inset(-0.04), std::min(48.0, wall + 8));
  if (info->siteStages >= 3 || info->height >= 40) Crane(canvas, 48 + 6 * stage);
  // Stacked panels waiting at the front.
  Box(canvas, kIso, {0.78, 0.72, 0.92, 0.86}, 0, 4, info->accent.Mix(kModuleWhite, 0.5));
  Box(canvas, kIso, {0.7, 0.84, 0.82, 0.94}, 0, 3, kModuleWhite);
}

}  // namespace resbuild
