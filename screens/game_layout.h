// Where everything of the game screen sits, and what each control is: every table of the
// screen's layout as data in one place. Rectangles are (left, top, width, height) in fractions
// of the screen; a control's rectangle is relative to its panel, a panel's to the screen.
//
// The top strip (12 % of the screen height):
//   +-- palette panel (left half) ---------------------+-- tool panel (right half) --------+
//   | info area: palette / Status / Information  [mm]  | date | counters   | toolbar       |
//   | tab tab tab tab tab tab tab tab  Earth      [mm]  | box  |            | buttons       |
//   +--------------------------------------------------+-----------------------------------+
//   map view below, across the whole width                    ([mm] = minimap)
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "gfx/font.h"
#include "gfx/geometry.h"
#include "gfx/mem_video.h"
#include "platform/keys.h"
#include "sim/colony.h"

namespace screens {

// A font made to the screen's size: em height and average width in thousandths of it.
struct ScaledFontSpec {
  std::string_view face;
  int weight;
  float heightPerMille;
  float widthPerMille;
};
// The font of a spec at the screen's size, in a colour; none when no face could be loaded.
inline std::unique_ptr<gfx::Font> MakeFont(const gfx::AppVideo& screen, const ScaledFontSpec& spec,
                                           gfx::Color color) {
  std::unique_ptr<gfx::Font> font =
      gfx::MakeScaledFont(screen, spec.face, spec.weight, spec.heightPerMille, spec.widthPerMille);
  if (font) font->setColor(color);
  return font;
}

// --- the screen ---
inline constexpr gfx::FracRect kPalettePanelRect = gfx::FracRect::FromSize(0.0f, 0.0f, 0.5f, 0.12f);
inline constexpr gfx::FracRect kToolPanelRect = gfx::FracRect::FromSize(0.5f, 0.0f, 0.5f, 0.12f);
inline constexpr gfx::FracRect kGameViewArea{0.0f, 0.12f, 1.0f, 1.0f};
inline constexpr gfx::FracRect kMiniMapArea =
    gfx::FracRect::FromSize(0.4035f, 0.004f, 0.093f, 0.112f);
// The map's grid size parameter: 129 x 129 cells.
inline constexpr std::int32_t kGameGridSize = 128;

// --- the tool panel ---
inline constexpr ScaledFontSpec kToolPanelFont{"Verdana", 700, 20.0f, 5.0f};
inline constexpr ScaledFontSpec kCalendarSmallFont{"Arial", 400, 24.0f, 4.5f};
inline constexpr ScaledFontSpec kCalendarLargeFont{"Arial", 700, 48.0f, 14.0f};
// Relative to the tool panel.
inline constexpr gfx::FracRect kDateBoxRect = gfx::FracRect::FromSize(0.005f, 0.004f, 0.08f, 0.11f);
inline constexpr gfx::FracRect kCounterBoxRect =
    gfx::FracRect::FromSize(0.18f, 0.004f, 0.207f, 0.05f);

inline constexpr float kToolButtonTop = 0.06f;
inline constexpr float kToolButtonWidth = 0.04f;
inline constexpr float kToolButtonHeight = 0.052f;
inline constexpr std::int32_t kTimeGroup = 1;

enum ToolCommand : std::int32_t {
  kCommandNewGame = 13,
  kCommandLoadGame = 14,
  kCommandSaveGame = 15,
  kCommandHelp = 18,
  kCommandMinimise = 20,
  kCommandQuit = 21,
};

// The toolbar, left to right; a button's icon is the column of its row.
struct ToolButtonRow {
  float left;
  std::string_view hint;
  std::uint16_t key;
  std::int32_t command;
  bool timeToggle;  // one of the three time buttons, which exclude each other
};
inline constexpr std::array<ToolButtonRow, 9> kToolbar = {{
    {0.10f, "New Game <F1>", platform::vk::kF1, kCommandNewGame, false},
    {0.14f, "Load Game <F2>", platform::vk::kF2, kCommandLoadGame, false},
    {0.18f, "Save Game <F3>", platform::vk::kF3, kCommandSaveGame, false},
    {0.22f, "Help <F4>", platform::vk::kF4, kCommandHelp, false},
    {0.27f, "Time Paused <F5>", platform::vk::kF5, sim::kCommandPause, true},
    {0.31f, "Time Normal <F6>", platform::vk::kF6, sim::kCommandNormal, true},
    {0.35f, "Accelerate Time <F7>", platform::vk::kF7, sim::kCommandAccelerate, true},
    {0.40f, "Minimize <F10>", platform::vk::kF10, kCommandMinimise, false},
    {0.44f, "Quit <Esc>", platform::vk::kEscape, kCommandQuit, false},
}};
// The toolbar row of the time button of a speed (0 paused, 1 normal, 2 accelerated).
constexpr std::size_t TimeButtonRow(std::int32_t speed) {
  return 4 + static_cast<std::size_t>(speed);
}

// --- the palette panel ---
inline constexpr ScaledFontSpec kPalettePanelFont{"Arial", 400, 16.0f, 3.4f};

// Category tab i (0..7) and "Earth Comm" beside the last; tabs exclude each other.
inline constexpr gfx::FracRect CategoryTabRect(int i) {
  return gfx::FracRect::FromSize(0.008f + 0.042f * static_cast<float>(i), 0.088f, 0.042f, 0.032f);
}
inline constexpr std::int32_t kCategoryGroup = 1;
inline constexpr gfx::FracRect kEarthCommRect =
    gfx::FracRect::FromSize(0.35f, 0.088f, 0.042f, 0.032f);
inline constexpr std::int32_t kEarthCommIcon = 8;
inline constexpr std::string_view kEarthCommHint = "Earth Comm";

// Item button i (0..4) of the chosen category; items exclude each other.
inline constexpr gfx::FracRect ItemButtonRect(int i) {
  return gfx::FracRect::FromSize(0.009f + 0.078f * static_cast<float>(i), 0.012f, 0.07f, 0.066f);
}
inline constexpr std::int32_t kItemGroup = 2;

// "Delete building", where the fifth item button is: the two are never shown together.
inline constexpr gfx::FracRect kDeleteBuildingRect =
    gfx::FracRect::FromSize(0.35f, 0.019f, 0.04f, 0.052f);
inline constexpr std::string_view kDeleteBuildingHint = "Delete building";

// The info area above the tabs: the palette page, Status or Information.
inline constexpr gfx::FracRect kInfoArea{0.008f, 0.012f, 0.392f, 0.078f};
inline constexpr gfx::Color kInfoAreaFill = gfx::Rgb(0x20, 0x20, 0x20);
inline constexpr gfx::Color kGaugeFrame = gfx::Rgb(0x80, 0x80, 0x80);

// Places inside the info area, as fractions of the area's width (x) and height (y).
struct AreaBox {
  float left, top, right, bottom;
};

// The Status page: four rows of icons, labels and level bars; four rows of icons and balance
// bars labelled with the legend words; the population and the growth rate with their icons.
struct StatusLayout {
  AreaBox levelIcons;    // the first column of icons of "StType1"
  float levelLabelLeft;  // "Water" .. "Free Housing"
  AreaBox levelBars;     // the grey frame of the four level bars
  AreaBox balanceIcons;
  float balanceLabelLeft;  // "Health" .. "Communications"
  AreaBox balanceBars;
  AreaBox populationIcon;
  AreaBox growthIcon;
  float figuresLeft;  // "Population: ", "Unemployed: ", "Growth Rate: "
};
inline constexpr StatusLayout kStatusLayout{
    .levelIcons = {0.005f, 0.04f, 0.045f, 0.96f},
    .levelLabelLeft = 0.055f,
    .levelBars = {0.163f, 0.04f, 0.325f, 0.96f},
    .balanceIcons = {0.345f, 0.04f, 0.385f, 0.96f},
    .balanceLabelLeft = 0.395f,
    .balanceBars = {0.53f, 0.04f, 0.70f, 0.96f},
    .populationIcon = {0.715f, 0.06f, 0.775f, 0.46f},
    .growthIcon = {0.715f, 0.54f, 0.775f, 0.94f},
    .figuresLeft = 0.79f,
};
inline constexpr std::array<std::string_view, 4> kLevelLabels = {"Water", "Food", "Power",
                                                                 "Free Housing"};
inline constexpr std::array<std::string_view, 4> kBalanceLabels = {
    "Health", "Mental Health", "Reproduction", "Communications"};

// The Information page: the structure's picture, its name and days left, and a chart of its
// eleven catalogue values with its legend. The chart ends before "Delete building".
struct InformationLayout {
  AreaBox picture;
  AreaBox name;
  AreaBox daysLeft;
  AreaBox chart;
  float baseline;  // of the chart, as a fraction of its height
  AreaBox legendLeft;
  AreaBox legendRight;
};
inline constexpr InformationLayout kInformationLayout{
    .picture = {0.0f, 0.0f, 0.19f, 1.0f},
    .name = {0.19f, 0.12f, 0.42f, 0.5f},
    .daysLeft = {0.19f, 0.52f, 0.42f, 0.9f},
    .chart = {0.425f, 0.06f, 0.585f, 0.94f},
    .baseline = 0.6f,
    .legendLeft = {0.593f, 0.04f, 0.737f, 0.96f},
    .legendRight = {0.742f, 0.04f, 0.888f, 0.96f},
};
inline constexpr std::string_view kNoneSelected = "None Selected";

// One column of the chart: the range it is drawn against and its colour.
struct ChartColumn {
  std::int32_t low, high;
  gfx::Color color;
};
// water, food, power, free housing, health, mental health, reproduction, communications,
// construction time, builders, workers.
inline constexpr std::array<ChartColumn, 11> kChartColumns = {{
    {-30, 100, gfx::Rgb(0x40, 0xFF, 0xFF)},
    {0, 100, gfx::Rgb(0x80, 0xC0, 0x00)},
    {-20, 100, gfx::Rgb(0xFF, 0xFF, 0x80)},
    {0, 40, gfx::Rgb(0xFF, 0x80, 0x00)},
    {-10, 20, gfx::Rgb(0xC0, 0x40, 0x40)},
    {-20, 15, gfx::Rgb(0xC0, 0xC0, 0xC0)},
    {-10, 10, gfx::Rgb(0xFF, 0x40, 0xFF)},
    {0, 100, gfx::Rgb(0xC0, 0xC0, 0xFF)},
    {0, 80, gfx::Rgb(0xFF, 0xE0, 0xA0)},
    {0, 50, gfx::Rgb(0x60, 0x60, 0xFF)},
    {0, 50, gfx::Rgb(0x00, 0x80, 0x60)},
}};
// The legend: two columns of words, each naming the chart column given beside it.
struct LegendEntry {
  std::string_view text;
  std::size_t column;
};
inline constexpr std::array<LegendEntry, 4> kLegendLeft = {
    {{"Health", 4}, {"Mental Health", 5}, {"Reproduction", 6}, {"Communications", 7}}};
inline constexpr std::array<LegendEntry, 3> kLegendRight = {
    {{"Construction time", 8}, {"Builders", 9}, {"Workers", 10}}};

}  // namespace screens
