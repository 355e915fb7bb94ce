// The toolbar (TBButtonB faces, TBButtonI icons), the category tabs (TBConstB, TBConstI) and
// the "Delete building" button (SBDeleteSt). Icon sheets have one row per state: normal,
// pointer over it, disabled.
#include "tools/resbuild/painters.h"
#include "tools/resbuild/ui.h"

namespace resbuild {
namespace {

using namespace colors;

PlateState FaceState(int frame) {
  constexpr PlateState kStates[3] = {PlateState::Normal, PlateState::Down, PlateState::Disabled};
  return kStates[frame % 3];
}

PlateState IconState(int row) {
  constexpr PlateState kStates[3] = {PlateState::Normal, PlateState::Hover, PlateState::Disabled};
  return kStates[row % 3];
}

}  // namespace

void PaintToolButtonFace(Canvas& canvas, const FrameContext& context) {
  Plate(canvas, 1, 1, 62, 62, 10, FaceState(context.frame));
}

void PaintToolButtonIcon(Canvas& canvas, const FrameContext& context) {
  struct Look {
    Icon icon;
    Rgb color;
  };
  const Look looks[9] = {
      {Icon::NewGame, kPowerYellow},     {Icon::Folder, kBrassLight},    {Icon::Disk, kCommBlue},
      {Icon::Question, kCaptionBlue},    {Icon::Pause, kModuleWhite},    {Icon::Play, kFoodGreen},
      {Icon::FastForward, kPowerYellow}, {Icon::Minimise, kModuleWhite}, {Icon::Quit, kSeriousRed}};
  const Look& look = looks[context.column % 9];
  DrawIcon(canvas, look.icon, 20, 20, 30, StateColour(look.color, IconState(context.row)));
}

void PaintCategoryTabFace(Canvas& canvas, const FrameContext& context) {
  Plate(canvas, 1, 1, 54, 34, 7, FaceState(context.frame));
}

void PaintCategoryTabIcon(Canvas& canvas, const FrameContext& context) {
  struct Look {
    Icon icon;
    Rgb color;
  };
  const Look looks[9] = {
      {Icon::Gauge, kModuleWhite}, {Icon::Info, kCaptionBlue},        {Icon::Bolt, kPowerYellow},
      {Icon::Leaf, kFoodGreen},    {Icon::House, kHousingTerracotta}, {Icon::Smile, kHappyMagenta},
      {Icon::Cross, kSeriousRed},  {Icon::Antenna, kCommSilver},      {Icon::Globe, kCommBlue}};
  const Look& look = looks[context.column % 9];
  DrawIcon(canvas, look.icon, 12, 12, 19, StateColour(look.color, IconState(context.row)));
}

void PaintDeleteButton(Canvas& canvas, const FrameContext& context) {
  constexpr PlateState kStates[3] = {PlateState::Normal, PlateState::Hover, PlateState::Down};
  const PlateState state = kStates[context.frame % 3];
  Plate(canvas, 1, 1, 62, 62, 10, state, kSand.Mix(kSeriousRed, 0.25));
  DrawIcon(canvas, Icon::House, 30, 34, 30, StateColour(kModuleGrey, state));
  DrawIcon(canvas, Icon::Demolish, 34, 32, 30, StateColour(kSeriousRed, state));
}

}  // namespace resbuild
