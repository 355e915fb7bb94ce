// Earth's judgement of the colony: the citizens' complaints from the neighbourhoods of the
// map, nine assessment lines with their points, a verdict and the score. The dialog that
// shows the report draws these figures; nothing here draws.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sim/colony_state.h"
#include "world/land.h"

namespace sim {

inline constexpr int kAssessmentLines = 9;
inline constexpr int kAssessmentLevels = 5;
inline constexpr int kVerdictCount = 10;
inline constexpr int kComplaintLetters = 7;

extern const std::array<std::array<std::string_view, kAssessmentLevels>, kAssessmentLines>
    AssessmentTexts;
extern const std::array<std::array<std::int32_t, kAssessmentLevels>, kAssessmentLines>
    AssessmentPoints;
extern const std::array<std::string_view, kVerdictCount> VerdictTexts;
extern const std::array<std::string_view, kComplaintLetters> ComplaintLetters;
inline constexpr std::string_view kNoComplaintText = "We are happy with your job!";

// Fills state.complaints (seven counters 0..4 and the spare 0) and returns how many
// counters are above 0.
std::int32_t CountComplaints(const world::Land& land, ColonyState& state);

// The level 0..4 of each of the nine lines for the colony's current balances.
std::array<std::int32_t, kAssessmentLines> AssessmentLevels(const ColonyState& state);

struct EarthReport {
  std::array<std::int32_t, kComplaintSlots> complaints{};
  std::array<std::int32_t, kAssessmentLines> levels{};
  std::int32_t points = 0;   // the nine lines' points before the complaints are subtracted
  std::int32_t verdict = 0;  // 0..9
  std::int32_t score = 0;    // population × verdict ÷ 10
  std::int32_t complaintCount = 0;
};

// Everything the report shows; fills state.complaints as the dialog does.
EarthReport ComputeEarthReport(const world::Land& land, ColonyState& state);

// The letter shown for a draw: the first counter above 0 from draw mod 7 onwards, or the
// happy text when none is.
std::string_view ChooseComplaintLetter(const ColonyState& state, std::int32_t draw);

}  // namespace sim
