// What the Colony History dialog charts, apart from drawing it: the series and their colours,
// the records a view shows, where a day lies on the time axis, round value ticks and the
// month ticks of the calendar. Nothing here knows pixels but as widths to fit labels in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/mem_video.h"
#include "sim/colony_history.h"

namespace dialogs {

// The two charts of the dialog.
enum HistoryChart : int { kPopulationChart = 0, kBalancesChart = 1 };
inline constexpr int kHistoryChartCount = 2;

// One line of a chart: its legend word, its colour and the figure it reads from a record,
// written as a whole number or as a percentage with two decimals.
struct HistorySeries {
  std::string_view name;
  gfx::Color color;
  int chart;
  double (*value)(const sim::HistoryRecord&);
  bool percent = false;
};

// The population and its unemployed; then the balances in the colours the game screen's
// panel gives them (its chart of a structure), and the growth rate in white.
inline constexpr std::array<HistorySeries, 11> kHistorySeries = {{
    {"Population", gfx::Rgb(0xFF, 0xFF, 0xFF), kPopulationChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.population); }},
    {"Unemployed", gfx::Rgb(0xFF, 0x80, 0x80), kPopulationChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.unemployed); }},
    {"Water", gfx::Rgb(0x40, 0xFF, 0xFF), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.water); }},
    {"Food", gfx::Rgb(0x80, 0xC0, 0x00), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.food); }},
    {"Power", gfx::Rgb(0xFF, 0xFF, 0x80), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.power); }},
    {"Free Housing", gfx::Rgb(0xFF, 0x80, 0x00), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.freeHousing); }},
    {"Health", gfx::Rgb(0xC0, 0x40, 0x40), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.health); }},
    {"Mental Health", gfx::Rgb(0xC0, 0xC0, 0xC0), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.mentalHealth); }},
    {"Reproduction", gfx::Rgb(0xFF, 0x40, 0xFF), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.reproduction); }},
    {"Communications", gfx::Rgb(0xC0, 0xC0, 0xFF), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.communications); }},
    {"Growth Rate", gfx::Rgb(0xF0, 0xF0, 0xF0), kBalancesChart,
     [](const sim::HistoryRecord& r) { return static_cast<double>(r.growthRate); }, true},
}};

enum class HistoryView { kLastDays, kWholeLife };

// The records a view shows, oldest first: the last days; or the end of every month lived
// through, then the days of the month now running (all the days of a colony younger than a
// month).
std::vector<sim::HistoryRecord> ViewRecords(const sim::ColonyHistory& history, HistoryView view);

// A date's place on the time axis, in days from the first day of the calendar's year 0 (a
// short year's missing day is not counted: the axis is a day off at most).
std::int64_t CalendarDay(std::int32_t year, std::int32_t month, std::int32_t day);
inline std::int64_t CalendarDay(const sim::HistoryRecord& r) {
  return CalendarDay(r.year, r.month, r.day);
}
// The month's name (out-of-range months are held to the calendar), e.g. "3 Duestas 2004".
std::string_view MonthName(std::int32_t month);
std::string DateText(const sim::HistoryRecord& r);

// The index of the record whose day lies nearest `day` (the earlier on a tie); none for none.
std::optional<std::size_t> NearestRecord(const std::vector<sim::HistoryRecord>& records,
                                         double day);

// A value axis from low to high in steps of 1, 2 or 5 times a power of ten (at least 1), with
// at most maxTicks steps (one more where a figure would lie on an end), holding the range given
// and 0.
struct ValueAxis {
  double low = 0.0;
  double high = 1.0;
  double step = 1.0;
};
ValueAxis NiceAxis(double low, double high, int maxTicks);
// A tick's label: whole numbers, thousands as "k" from 10,000 on ("250k").
std::string TickLabel(double value);

// A tick of the time axis at the first day of a month: the month's name and, where the year
// changed since the tick before (and at the first), the year; ticks a year or more apart name
// only the year.
struct TimeTick {
  std::int64_t day = 0;
  std::string month;
  std::string year;
};
// The ticks between firstDay and lastDay, every `step` months, the step the smallest of
// 1, 2, 3, 4, 6, 12 months or 1, 2, 5, 10, 20, 50 ... years that leaves `labelWidth` pixels
// between ticks when the axis is `axisWidth` pixels wide.
std::vector<TimeTick> TimeTicks(std::int64_t firstDay, std::int64_t lastDay, int axisWidth,
                                int labelWidth);

}  // namespace dialogs
