#include "sim/colony_history.h"

namespace sim {

void ColonyHistory::Record(const HistoryRecord& record, bool endsMonth) {
  daily_.push_back(record);
  if (daily_.size() > kDailyRecords) daily_.pop_front();
  if (!endsMonth) return;
  // Only a colony that outlives the calendar's whole round of years ever drops a month.
  if (monthly_.size() == kMonthlyRecords) monthly_.erase(monthly_.begin());
  monthly_.push_back(record);
}

void ColonyHistory::Clear() {
  daily_.clear();
  monthly_.clear();
}

}  // namespace sim
