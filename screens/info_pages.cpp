#include "screens/info_pages.h"

#include <algorithm>
#include <string>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/gauges.h"
#include "screens/panel_text.h"
#include "sim/structure_catalogue.h"
#include "widgets/tw_control.h"

namespace screens {

namespace {

constexpr std::uint32_t kLine = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX;

// Places of "StType1".
constexpr std::int32_t kIconSize = 24;
constexpr std::int32_t kLevelIconsLeft = 0;
constexpr std::int32_t kBalanceIconsLeft = 40;
constexpr gfx::IntRect kPopulationIconPiece{120, 0, 152, 32};
constexpr gfx::IntRect kGrowthIconPiece{120, 32, 152, 64};
constexpr gfx::IntRect kLandingModulePiece{0, 126, 96, 196};
// A cell of "StType2" .. "StType7".
constexpr std::int32_t kCellWidth = 96;
constexpr std::int32_t kCellHeight = 70;
constexpr std::int32_t kUnderConstructionRow = 2;

// Row i of n of a box.
AreaBox Row(const AreaBox& box, int i, int n) {
  const float h = (box.bottom - box.top) / static_cast<float>(n);
  return {box.left, box.top + h * static_cast<float>(i), box.right,
          box.top + h * static_cast<float>(i + 1)};
}

// A piece of a picture stretched, smoothed, into the largest box of its proportions centred
// in place.
void DrawPiece(const InfoPageCanvas& canvas, const gfx::WBitmap* picture, const gfx::IntRect& piece,
               const gfx::FracRect& place) {
  if (picture == nullptr) return;
  const float ratio = static_cast<float>(piece.Width()) / static_cast<float>(piece.Height());
  const gfx::FracRect fitted = gfx::FitAspect(place, ratio, canvas.screen);
  gfx::StretchImage(canvas.target, gfx::FracToPixels(fitted, canvas.screen), *picture, piece, true);
}

void DrawLabel(const InfoPageCanvas& canvas, const gfx::IntRect& place, std::string_view text,
               std::uint32_t align, gfx::Color color = gfx::kWhite) {
  gfx::DrawTextInRect(canvas.target, place, text, kLine | align, color, canvas.font);
}

// The grey frame around a gauge slot: one pixel outside it, with room for a bar that the
// gauges draw a pixel to the right.
void FrameSlot(const InfoPageCanvas& canvas, const gfx::FracRect& slot) {
  const gfx::IntRect p = gfx::FracToPixels(slot, canvas.screen);
  gfx::FrameRect(canvas.target, {p.left - 1, p.top - 1, p.right + 2, p.bottom + 1}, kGaugeFrame);
}

// A row's gauge slot: the middle of the row, leaving a gap between neighbouring rows.
gfx::FracRect Slot(const gfx::FracRect& row) {
  const float gap = (row.bottom - row.top) * 0.2f;
  return {row.left, row.top + gap, row.right, row.bottom - gap};
}

}  // namespace

gfx::FracRect InfoPageCanvas::Frac(const AreaBox& box) const {
  const float w = area.right - area.left;
  const float h = area.bottom - area.top;
  return {area.left + box.left * w, area.top + box.top * h, area.left + box.right * w,
          area.top + box.bottom * h};
}

gfx::IntRect InfoPageCanvas::Pixels(const AreaBox& box) const {
  return gfx::FracToPixels(Frac(box), screen);
}

BalanceFigures StatusBalances(const sim::ColonyState& colony) {
  // A colony without birth control cannot be divided by it; it shows no bar then.
  const std::int32_t reproduction =
      colony.birthControl != 0 ? colony.reproduction / colony.birthControl : 0;
  const std::int32_t communications =
      colony.earthContact == sim::kContactOn ? colony.communications / 10 : colony.communications;
  return {colony.health - colony.disease, colony.mentalHealth, reproduction, communications};
}

void DrawStatusPage(const InfoPageCanvas& canvas, const sim::ColonyState& colony) {
  const StatusLayout& layout = kStatusLayout;
  const gfx::WBitmap* gauges = widgets::PictureIn(&canvas.pictures.categoryPictures[1]);
  const GaugeCanvas gaugeCanvas{canvas.target, canvas.screen, gauges};

  const std::int32_t levels[4] = {colony.water, colony.food, colony.power, colony.freeHousing};
  const BalanceFigures b = StatusBalances(colony);
  const std::int32_t balances[4] = {b.health, b.mentalHealth, b.reproduction, b.communications};
  // A row of a column of gauges: its icon, its label and the framed slot of its bar.
  const auto gaugeRow = [&](int i, std::int32_t iconsLeft, const AreaBox& icons, float labelLeft,
                            const AreaBox& bars, std::string_view label) {
    const gfx::IntRect iconPiece{iconsLeft, kIconSize * i, iconsLeft + kIconSize,
                                 kIconSize * (i + 1)};
    DrawPiece(canvas, gauges, iconPiece, canvas.Frac(Row(icons, i, 4)));
    DrawLabel(canvas, canvas.Pixels(Row({labelLeft, bars.top, bars.left, bars.bottom}, i, 4)),
              label, gfx::DT_LEFT);
    const gfx::FracRect slot = Slot(canvas.Frac(Row(bars, i, 4)));
    FrameSlot(canvas, slot);
    return slot;
  };
  for (int i = 0; i < 4; ++i) {
    const auto row = static_cast<std::size_t>(i);
    DrawLevelBar(gaugeCanvas, levels[i],
                 gaugeRow(i, kLevelIconsLeft, layout.levelIcons, layout.levelLabelLeft,
                          layout.levelBars, kLevelLabels[row]));
    DrawBalanceBar(gaugeCanvas, balances[i], i % 2 == 0 ? kBalanceStyleRed : kBalanceStyleBlue,
                   gaugeRow(i, kBalanceIconsLeft, layout.balanceIcons, layout.balanceLabelLeft,
                            layout.balanceBars, kBalanceLabels[row]));
  }

  DrawPiece(canvas, gauges, kPopulationIconPiece, canvas.Frac(layout.populationIcon));
  DrawPiece(canvas, gauges, kGrowthIconPiece, canvas.Frac(layout.growthIcon));
  const AreaBox figures{layout.figuresLeft, 0.0f, 1.0f, 1.0f};
  DrawLabel(canvas, canvas.Pixels(Row(figures, 0, 4)),
            "Population: " + std::to_string(colony.population), gfx::DT_LEFT);
  DrawLabel(canvas, canvas.Pixels(Row(figures, 1, 4)),
            "Unemployed: " + WithPercent(colony.unemployed, colony.unemployed, colony.population),
            gfx::DT_LEFT);
  DrawLabel(canvas, canvas.Pixels({figures.left, 0.5f, figures.right, 1.0f}),
            "Growth Rate: " + GrowthRateText(colony.growthRate), gfx::DT_LEFT);
}

void DrawInformationPage(const InfoPageCanvas& canvas, const world::MapCell* cell) {
  const InformationLayout& layout = kInformationLayout;
  if (cell == nullptr || cell->type == world::kTypeBareLand) {
    DrawLabel(canvas, canvas.Pixels({0.0f, 0.0f, 1.0f, 1.0f}), kNoneSelected, gfx::DT_CENTER);
    return;
  }
  const sim::StructureType type = cell->type;
  const std::int32_t left = cell->constructionLeft;

  if (type == sim::kLandingModule) {
    DrawPiece(canvas, widgets::PictureIn(&canvas.pictures.categoryPictures[1]), kLandingModulePiece,
              canvas.Frac(layout.picture));
  } else {
    const std::size_t category = static_cast<std::size_t>(type / 5 + 1);
    const gfx::WBitmap* cells =
        category < canvas.pictures.categoryPictures.size()
            ? widgets::PictureIn(&canvas.pictures.categoryPictures[category])
            : nullptr;
    const std::int32_t row = left > 0 ? kUnderConstructionRow : 0;
    const gfx::IntRect piece =
        gfx::IntRect::FromSize(kCellWidth * (type % 5), kCellHeight * row, kCellWidth, kCellHeight);
    DrawPiece(canvas, cells, piece, canvas.Frac(layout.picture));
  }
  DrawLabel(canvas, canvas.Pixels(layout.name), sim::NameOf(type), gfx::DT_CENTER);
  if (left > 0) {
    DrawLabel(canvas, canvas.Pixels(layout.daysLeft),
              "finished in " + std::to_string(left) + " day(s)", gfx::DT_CENTER);
  }

  // The chart of what the structure itself does, in a grey frame with its baseline.
  const sim::StructureSpec& spec = sim::SpecOf(type);
  const std::int32_t values[11] = {spec.water,        spec.food,           spec.power,
                                   spec.freeHousing,  spec.health,         spec.mentalHealth,
                                   spec.reproduction, spec.communications, spec.buildDays,
                                   spec.builders,     spec.workers};
  const gfx::FracRect chart = canvas.Frac(layout.chart);
  const gfx::IntRect chartPixels = gfx::FracToPixels(chart, canvas.screen);
  gfx::FrameRect(
      canvas.target,
      {chartPixels.left - 1, chartPixels.top - 1, chartPixels.right + 1, chartPixels.bottom + 1},
      kGaugeFrame);
  const float baseline = chart.top + (chart.bottom - chart.top) * layout.baseline;
  const std::int32_t baselineY =
      gfx::RoundHalfUp(baseline * static_cast<float>(canvas.screen.height));
  gfx::FillRect(canvas.target, {chartPixels.left, baselineY, chartPixels.right, baselineY + 1},
                kGaugeFrame);
  const float step = (chart.right - chart.left) / static_cast<float>(kChartColumns.size());
  for (std::size_t i = 0; i < kChartColumns.size(); ++i) {
    const ChartColumn& column = kChartColumns[i];
    // Each column keeps a fifth of its step free, so neighbours stand apart.
    const float left = chart.left + step * static_cast<float>(i) + step * 0.1f;
    const gfx::FracRect place{left, chart.top, left + step * 0.8f, chart.bottom};
    DrawColumnBar(canvas.target, canvas.screen, values[i], column.low, column.high, column.color,
                  baseline, place);
  }

  // The legend over pieces of "StType0": each word behind a square of its column's colour.
  const gfx::WBitmap* legendBack = widgets::PictureIn(&canvas.pictures.categoryPictures[0]);
  const auto drawLegend = [&](const AreaBox& box, const auto& entries, int half) {
    if (legendBack != nullptr) {
      const std::int32_t w = legendBack->width / 2;
      gfx::StretchImage(canvas.target, canvas.Pixels(box), *legendBack,
                        {w * half, 0, w * (half + 1), legendBack->height}, true);
    }
    const int rows = static_cast<int>(kLegendLeft.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const gfx::IntRect row = canvas.Pixels(Row(box, static_cast<int>(i), rows));
      const std::int32_t side = std::max(row.Height() / 2, 2);
      const std::int32_t top = row.top + (row.Height() - side) / 2;
      gfx::FillRect(canvas.target, gfx::IntRect::FromSize(row.left + side / 2, top, side, side),
                    kChartColumns[entries[i].column].color);
      DrawLabel(canvas, {row.left + side * 2, row.top, row.right, row.bottom}, entries[i].text,
                gfx::DT_LEFT);
    }
  };
  drawLegend(layout.legendLeft, kLegendLeft, 0);
  drawLegend(layout.legendRight, kLegendRight, 1);
}

}  // namespace screens
