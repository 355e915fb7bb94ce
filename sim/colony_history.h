// The colony's past: what its figures were at the end of each of the last 120 days, and at
// the end of every month of its life. The day records; nothing here changes the colony, so a
// colony with a history runs exactly the days it would run without one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "sim/structure_catalogue.h"

namespace sim {

// The figures of one day, taken when the day is over.
struct HistoryRecord {
  // The calendar's date of the day (month 0..kMonthCount - 1 of the Pellian calendar).
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
  std::int32_t population = 0;
  std::int32_t unemployed = 0;
  std::int32_t water = 0;
  std::int32_t food = 0;
  std::int32_t power = 0;
  std::int32_t freeHousing = 0;
  std::int32_t mentalHealth = 0;
  std::int32_t reproduction = 0;
  std::int32_t health = 0;
  std::int32_t communications = 0;
  float growthRate = 0.0f;
  // Earth's score exists only while Earth is in contact.
  bool hasScore = false;
  std::int32_t score = 0;

  friend bool operator==(const HistoryRecord&, const HistoryRecord&) = default;
};

class ColonyHistory {
 public:
  ColonyHistory() = default;
  // A history as a saved game brings it back (checked by the loader).
  ColonyHistory(std::deque<HistoryRecord> daily, std::vector<HistoryRecord> monthly)
      : daily_(std::move(daily)), monthly_(std::move(monthly)) {}

  static constexpr std::size_t kDailyRecords = 120;
  // The calendar counts the years 0 to 9999 and then begins again, so a colony keeps the
  // months of the calendar's last whole round: no two of them share a date, and a saved game
  // can never hold more (some 74 hours of accelerated play, 15 MB of file).
  static constexpr std::size_t kCalendarYears = 10'000;
  static constexpr std::size_t kMonthlyRecords = kCalendarYears * kMonthCount;

  // The last kDailyRecords days, oldest first.
  const std::deque<HistoryRecord>& Daily() const { return daily_; }
  // The last day of every month the colony lived through, oldest first.
  const std::vector<HistoryRecord>& Monthly() const { return monthly_; }
  bool Empty() const { return daily_.empty() && monthly_.empty(); }

  // A finished day; endsMonth when it was its month's last day.
  void Record(const HistoryRecord& record, bool endsMonth);
  void Clear();

  friend bool operator==(const ColonyHistory&, const ColonyHistory&) = default;

 private:
  std::deque<HistoryRecord> daily_;
  std::vector<HistoryRecord> monthly_;
};

}  // namespace sim
