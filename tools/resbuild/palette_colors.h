// The colours of Pell and of the game's interface, shared by every painter so that all
// pictures read as one world. Components are 0..1 so that cairo takes them directly.
#pragma once

#include <algorithm>
#include <cstdint>

namespace resbuild {

struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;

  static constexpr Rgb Bytes(int red, int green, int blue) {
    return {red / 255.0, green / 255.0, blue / 255.0};
  }
  // Brighter above 1, darker below; each component stays within 0..1.
  constexpr Rgb Shade(double factor) const {
    return {std::clamp(r * factor, 0.0, 1.0), std::clamp(g * factor, 0.0, 1.0),
            std::clamp(b * factor, 0.0, 1.0)};
  }
  // t = 0 gives this colour, t = 1 gives other.
  constexpr Rgb Mix(const Rgb& other, double t) const {
    return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t};
  }
};

namespace colors {

// Ground: a dry rust-and-ochre world under a pale sky.
inline constexpr Rgb kRust = Rgb::Bytes(150, 70, 40);
inline constexpr Rgb kRustDark = Rgb::Bytes(105, 48, 30);
inline constexpr Rgb kOchre = Rgb::Bytes(196, 128, 62);
inline constexpr Rgb kOchreLight = Rgb::Bytes(214, 160, 96);
inline constexpr Rgb kRock = Rgb::Bytes(120, 84, 66);
inline constexpr Rgb kSky = Rgb::Bytes(236, 206, 176);
inline constexpr Rgb kFog = Rgb::Bytes(46, 30, 28);
inline constexpr Rgb kUnexplored = Rgb::Bytes(30, 20, 20);
inline constexpr Rgb kRoad = Rgb::Bytes(92, 88, 86);
inline constexpr Rgb kRoadMark = Rgb::Bytes(230, 214, 150);

// The colony: white and light-grey prefab modules with teal glass.
inline constexpr Rgb kModuleWhite = Rgb::Bytes(238, 236, 230);
inline constexpr Rgb kModuleGrey = Rgb::Bytes(188, 190, 192);
inline constexpr Rgb kSteel = Rgb::Bytes(120, 124, 130);
inline constexpr Rgb kGlassTeal = Rgb::Bytes(40, 150, 150);
inline constexpr Rgb kScaffold = Rgb::Bytes(200, 170, 60);

// Family accents.
inline constexpr Rgb kWaterCyan = Rgb::Bytes(40, 200, 230);
inline constexpr Rgb kPowerYellow = Rgb::Bytes(240, 200, 40);
inline constexpr Rgb kFoodGreen = Rgb::Bytes(90, 170, 60);
inline constexpr Rgb kHousingTerracotta = Rgb::Bytes(196, 96, 64);
inline constexpr Rgb kHappyMagenta = Rgb::Bytes(210, 60, 170);
inline constexpr Rgb kSeriousBlue = Rgb::Bytes(50, 90, 200);
inline constexpr Rgb kSeriousRed = Rgb::Bytes(200, 50, 50);
inline constexpr Rgb kCommSilver = Rgb::Bytes(196, 200, 210);
inline constexpr Rgb kCommBlue = Rgb::Bytes(60, 110, 210);

// The interface: sand and brass, with blue captions.
inline constexpr Rgb kSand = Rgb::Bytes(222, 192, 160);
inline constexpr Rgb kSandDark = Rgb::Bytes(170, 140, 108);
inline constexpr Rgb kBrass = Rgb::Bytes(181, 150, 66);
inline constexpr Rgb kBrassLight = Rgb::Bytes(226, 200, 120);
inline constexpr Rgb kCaptionBlue = Rgb::Bytes(64, 140, 255);
inline constexpr Rgb kCaptionBack = Rgb::Bytes(0, 64, 160);

// The darkest colour a picture may show: pure black is a hole in transparent pictures.
inline constexpr Rgb kOutline = Rgb::Bytes(8, 8, 12);

}  // namespace colors
}  // namespace resbuild
