// A stand-in for the colony's history until the model keeps it: only what the dialog's tests
// need to build a history.
#include "sim/colony_history.h"

namespace sim {

void ColonyHistory::Record(const HistoryRecord& record, bool endsMonth) {
  daily_.push_back(record);
  while (daily_.size() > kDailyRecords) daily_.pop_front();
  if (endsMonth) monthly_.push_back(record);
}

void ColonyHistory::Clear() {
  daily_.clear();
  monthly_.clear();
}

}  // namespace sim
