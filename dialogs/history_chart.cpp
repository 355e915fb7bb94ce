#include "dialogs/history_chart.h"

#include <algorithm>
#include <cmath>

#include "sim/structure_catalogue.h"

namespace dialogs {

namespace {

// Days before each month of a year, and the year's length.
std::int64_t DaysBeforeMonth(std::int32_t month) {
  std::int64_t days = 0;
  for (std::int32_t m = 0; m < month; ++m) days += sim::MonthLengths[static_cast<std::size_t>(m)];
  return days;
}
std::int64_t YearLength() {
  return DaysBeforeMonth(sim::kMonthCount);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The first day of a month counted from month 0 of year 0.
std::int64_t MonthStart(std::int64_t months) {
  const std::int64_t year = FloorDiv(months, sim::kMonthCount);
  const auto month = static_cast<std::int32_t>(months - year * sim::kMonthCount);
  return year * YearLength() + DaysBeforeMonth(month);
}

// Tick steps in months: months, then years.
constexpr std::array<std::int64_t, 6> kMonthSteps = {1, 2, 3, 4, 6, 12};
constexpr std::array<std::int64_t, 3> kYearSteps = {1, 2, 5};

}  // namespace

std::vector<sim::HistoryRecord> ViewRecords(const sim::ColonyHistory& history, HistoryView view) {
  const std::deque<sim::HistoryRecord>& daily = history.Daily();
  if (view == HistoryView::kLastDays) return {daily.begin(), daily.end()};
  std::vector<sim::HistoryRecord> records = history.Monthly();
  const std::int64_t after = records.empty() ? INT64_MIN : CalendarDay(records.back());
  for (const sim::HistoryRecord& r : daily)
    if (CalendarDay(r) > after) records.push_back(r);
  return records;
}

std::int64_t CalendarDay(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int32_t m = std::clamp(month, 0, sim::kMonthCount - 1);
  return std::int64_t{year} * YearLength() + DaysBeforeMonth(m) + (std::int64_t{day} - 1);
}

std::string_view MonthName(std::int32_t month) {
  return sim::MonthNames[static_cast<std::size_t>(std::clamp(month, 0, sim::kMonthCount - 1))];
}

std::string DateText(const sim::HistoryRecord& r) {
  return std::to_string(r.day) + " " + std::string(MonthName(r.month)) + " " +
         std::to_string(r.year);
}

std::optional<std::size_t> NearestRecord(const std::vector<sim::HistoryRecord>& records,
                                         double day) {
  if (records.empty()) return std::nullopt;
  const auto after = std::partition_point(records.begin(), records.end(), [&](const auto& r) {
    return static_cast<double>(CalendarDay(r)) < day;
  });
  if (after == records.begin()) return 0;
  if (after == records.end()) return records.size() - 1;
  const auto before = after - 1;
  const double toBefore = day - static_cast<double>(CalendarDay(*before));
  const double toAfter = static_cast<double>(CalendarDay(*after)) - day;
  return static_cast<std::size_t>((toAfter < toBefore ? after : before) - records.begin());
}

ValueAxis NiceAxis(double low, double high, int maxTicks) {
  if (!std::isfinite(low) || !std::isfinite(high)) return {};
  double lo = std::min({low, high, 0.0});
  double hi = std::max({low, high, 0.0});
  if (hi - lo <= 0.0) hi = lo + 1.0;
  const double raw = (hi - lo) / std::max(maxTicks, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10.0 * magnitude;
  for (const double m : {1.0, 2.0, 5.0}) {
    if (m * magnitude >= raw) {
      step = m * magnitude;
      break;
    }
  }
  step = std::max(step, 1.0);
  // A line on the axis's end would lie on the plot's frame and vanish into it: the figures
  // keep a step's room from the ends, though not from a zero the axis holds anyway.
  double bottom = std::floor(lo / step) * step;
  double top = std::ceil(hi / step) * step;
  if (std::min(low, high) < 0.0 && bottom == std::min(low, high)) bottom -= step;
  if (std::max(low, high) > 0.0 && top == std::max(low, high)) top += step;
  return {bottom, top, step};
}

std::string TickLabel(double value) {
  const auto whole = static_cast<long long>(std::llround(value));
  if (whole != 0 && whole % 1000 == 0 && (whole >= 10000 || whole <= -10000))
    return std::to_string(whole / 1000) + "k";
  return std::to_string(whole);
}

std::vector<TimeTick> TimeTicks(std::int64_t firstDay, std::int64_t lastDay, int axisWidth,
                                int labelWidth) {
  std::vector<TimeTick> ticks;
  if (lastDay < firstDay || axisWidth <= 0) return ticks;
  const double span = static_cast<double>(std::max<std::int64_t>(lastDay - firstDay, 1));
  const double monthWidth = static_cast<double>(YearLength()) / sim::kMonthCount * axisWidth / span;
  const double wanted = std::max(labelWidth, 1);
  std::int64_t step = 0;
  for (const std::int64_t months : kMonthSteps)
    if (step == 0 && static_cast<double>(months) * monthWidth >= wanted) step = months;
  for (std::int64_t years = 1; step == 0; years *= 10) {
    for (const std::int64_t times : kYearSteps) {
      const std::int64_t months = years * times * sim::kMonthCount;
      if (step == 0 && static_cast<double>(months) * monthWidth >= wanted) step = months;
    }
    if (years > 1'000'000'000) step = years * sim::kMonthCount;  // no axis is that long
  }
  std::int64_t months = FloorDiv(firstDay, YearLength()) * sim::kMonthCount;
  while (MonthStart(months) < firstDay) ++months;
  months = FloorDiv(months + step - 1, step) * step;
  std::string lastYear;
  for (; MonthStart(months) <= lastDay; months += step) {
    const std::int64_t year = FloorDiv(months, sim::kMonthCount);
    TimeTick tick{MonthStart(months), "", std::to_string(year)};
    if (step < sim::kMonthCount) {
      tick.month =
          std::string(MonthName(static_cast<std::int32_t>(months - year * sim::kMonthCount)));
      if (tick.year == lastYear) tick.year.clear();
    }
    if (!tick.year.empty()) lastYear = tick.year;
    ticks.push_back(std::move(tick));
  }
  return ticks;
}

}  // namespace dialogs
