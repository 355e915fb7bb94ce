// Pieces of the interface's look shared by the toolbar, palette, panel, dialog and title
// painters: sand-and-brass plates and a set of simple vector icons.
#pragma once

#include "tools/resbuild/canvas.h"
#include "tools/resbuild/palette_colors.h"

namespace resbuild {

enum class PlateState { Normal, Hover, Down, Disabled };

void RoundedRectPath(Canvas& canvas, double x, double y, double w, double h, double radius);
// A bevelled plate: brass rim, sand face, lit from the upper left; pressed plates are
// sunken, hovered ones brighter, disabled ones grey.
void Plate(Canvas& canvas, double x, double y, double w, double h, double radius, PlateState state,
           const Rgb& face = colors::kSand);
// A sunken dark well, as behind numbers and gauges.
void Well(Canvas& canvas, double x, double y, double w, double h, double radius);

enum class Icon {
  Drop,
  Leaf,
  Bolt,
  House,
  Heart,
  Smile,
  Family,
  Antenna,
  Person,
  Growth,
  Globe,
  NewGame,
  Folder,
  Disk,
  Question,
  Pause,
  Play,
  FastForward,
  Minimise,
  Quit,
  Gauge,
  Info,
  Cross,
  Demolish,
};

// An icon centred on (x, y) fitting a square of the given size, with a dark outline.
void DrawIcon(Canvas& canvas, Icon icon, double x, double y, double size, const Rgb& color);

// How a state shows an icon's colour: brighter when hovered, grey when disabled.
Rgb StateColour(const Rgb& color, PlateState state);

}  // namespace resbuild
