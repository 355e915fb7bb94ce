#include "sim/earth_report.h"

#include <algorithm>
#include <cmath>

namespace sim {

const std::array<std::array<std::string_view, kAssessmentLevels>, kAssessmentLines>
    AssessmentTexts = {{
        {"-Insufficient water!, you must build a well or water condenser",
         "-You have slight water, it's better to build a well or condenser",
         "-Water production is right!", "-Water production is excessive",
         "-Your way of accumulating water could promote a disease"},
        {"-Insufficient food!", "-You have scarce food", "-Food production is right!",
         "-Food production is excessive",
         "-Your way of accumulating food could promote a food poisoning"},
        {"-Insufficient energy!, you must build another power plant", "-You have slight energy",
         "-Energy production is right!", "-Energy production is excessive",
         "-Your way of accumulating energy is dangerous for the condensers"},
        {"-Insufficient free housing!, you must build more houses", "-You have slight free housing",
         "-Free housing is right!", "-Free housing is excessive", "-Free housing is unnecessary!"},
        {"-Citizens' health is alarming!", "-Bad health!, you must build more hospitals",
         "-Good health", "-The health of the population is excellent!", ""},
        {"-The vast majority of the people is raving mad!",
         "-Pell' Citizens are at one's wits' end", "-Pell' Citizens are in good mental health",
         "-Pell' Citizens are at one's wits' end",
         "-The vast majority of the people is raving mad!"},
        {"-Sex is conspicuous by one's absence!", "-The Sex is right",
         "-The Sex is too much..(We are green with envy)", "", ""},
        {"-Communications are very little", "-Communications are little",
         "-Communications are right!", "-Communications are high",
         "-Communications are excessive for the amount of citizens."},
        {"-Growth rate is alarming! People die like flies", "-Growth rate is negative!",
         "-You have a controlled growth", "-Growth rate is high", "-Growth rate is very high!"},
    }};

const std::array<std::array<std::int32_t, kAssessmentLevels>, kAssessmentLines> AssessmentPoints = {
    {
        {0, 2, 4, 3, 1},   // water
        {0, 2, 4, 3, 1},   // food
        {0, 2, 4, 3, 1},   // power
        {0, 2, 4, 3, 1},   // free housing
        {0, 1, 3, 4, 0},   // health
        {0, 2, 4, 2, 0},   // mental health
        {0, 4, 3, 0, 0},   // reproduction
        {0, 2, 4, 2, 0},   // communications
        {-4, 0, 4, 3, 1},  // growth
    }};

const std::array<std::string_view, kVerdictCount> VerdictTexts = {
    "How awful!...you can't do it worse",
    "Are you sure you can do it worse?",
    "Poors Pellians...",
    "You can do it better if you try hard",
    "You have good intention but...",
    "Your job is normal",
    "You are making a good job",
    "Your job is very good!",
    "Your job is excellent!",
    "YOU ARE THE BEST!",
};

const std::array<std::string_view, kComplaintLetters> ComplaintLetters = {
    "-From: Residents' Association. We want to inform about the social class discrimination "
    "that some people are suffering. Highway is a long away from our home and there isn't "
    "stop-bus, well...in fact there isn't bus.",
    "-From: Residents' Association. There is a noise building close to our sweet home and we "
    "can't sleep. Please can you move the building?",
    "-From: In good Faith Church. There is a den of iniquity close to my church and I'm night "
    "and day praying for theirs souls. Can you build a noble place instead of this sinful "
    "place?",
    "-From: Happy Dying Hospital (Dept. of Psychiatry). Terrible noise of Disco building won't "
    "let us do our hard slog. It's deriving me crazy.",
    "-From: Public Library (Dept. of anonymous Swots). Decibel level of Disco is higher that we "
    "can resist. We can't study!.",
    "-From: Alien Observatory. Habited building near to our telescope won't let us do our job.",
    "-From: Unemployed Union. We are bored working in absolutely nothing. We want to work!, "
    "please build more Job Centers.",
};

namespace {

// Only the cells to the left, above and above-left count as a structure's neighbours.
bool HasNeighbour(const world::Land& land, std::int32_t x, std::int32_t y, StructureType type) {
  const auto holds = [&](std::int32_t nx, std::int32_t ny) {
    const world::MapCell* cell = land.CellAt(nx, ny);
    return cell != nullptr && cell->type == type;
  };
  return holds(x - 1, y) || holds(x, y - 1) || holds(x - 1, y - 1);
}

std::int32_t BalanceLevel(std::int32_t v) {
  if (v < 0) return 0;
  if (v < 20) return 1;
  if (v < 100) return 2;
  if (v < 160) return 3;
  return 4;
}

// Mental health and communications share one scale around 0.
std::int32_t CentredLevel(std::int32_t v) {
  if (v < -40) return 0;
  if (v < -20) return 1;
  if (v < 20) return 2;
  if (v < 40) return 3;
  return 4;
}

}  // namespace

std::int32_t CountComplaints(const world::Land& land, ColonyState& state) {
  auto& c = state.complaints;
  c.fill(0);
  std::int32_t houses = 0;
  std::int32_t housesWithoutHighway = 0;
  for (std::int32_t y = 0; y < land.rows; ++y) {
    for (std::int32_t x = 0; x < land.columns; ++x) {
      const world::MapCell* cell = land.CellAt(x, y);
      if (cell == nullptr) continue;
      const StructureType type = cell->type;
      if (IsHouse(type)) {
        ++houses;
        if (!HasNeighbour(land, x, y, kHighway)) ++housesWithoutHighway;
        if (HasNeighbour(land, x, y, kDisco)) ++c[1];
        if (HasNeighbour(land, x, y, kCasino)) ++c[1];
      } else if (type == kChurch) {
        for (StructureType vice : {kPub, kDisco, kLoveCenter, kCasino}) {
          if (HasNeighbour(land, x, y, vice)) ++c[2];
        }
      } else if (type == kHospital) {
        if (HasNeighbour(land, x, y, kDisco)) ++c[3];
      } else if (type == kPublicLibrary) {
        if (HasNeighbour(land, x, y, kDisco)) ++c[4];
      } else if (type == kTelescope) {
        if (HasNeighbour(land, x, y, kFlats)) ++c[5];
        if (HasNeighbour(land, x, y, kSkyscraper)) ++c[5];
      }
    }
  }
  c[0] = (houses > 0 ? housesWithoutHighway * 100 / houses : 100) / 10;
  // In 64 bits: a loaded colony may be large enough for unemployed × 100 to overflow.
  const std::int64_t unemployedShare =
      state.population != 0 ? static_cast<std::int64_t>(state.unemployed) * 100 / state.population
                            : 100;
  // More jobs than people (a shortage the colony has not yet pulled down) makes the share
  // negative: that is no complaint, and must not give points back to the score.
  c[6] = static_cast<std::int32_t>(std::clamp<std::int64_t>(unemployedShare / 20, 0, 4));
  std::int32_t above = 0;
  for (std::int32_t k = 0; k < kComplaintLetters; ++k) {
    c[k] = std::clamp(c[k], 0, 4);
    if (c[k] > 0) ++above;
  }
  return above;
}

std::array<std::int32_t, kAssessmentLines> AssessmentLevels(const ColonyState& s) {
  std::array<std::int32_t, kAssessmentLines> level{};
  level[0] = BalanceLevel(s.water);
  level[1] = BalanceLevel(s.food);
  level[2] = BalanceLevel(s.power);
  level[3] = BalanceLevel(s.freeHousing);
  const std::int64_t health = static_cast<std::int64_t>(s.health) - s.disease;
  level[4] = health < 0 ? 0 : health < 20 ? 1 : health < 40 ? 2 : 3;
  level[5] = CentredLevel(s.mentalHealth);
  level[6] = s.reproduction < 0 ? 0 : s.reproduction < 50 ? 1 : 2;
  level[7] = CentredLevel(s.earthContact == kContactOn ? s.communications / 10 : s.communications);
  // Truncation toward zero: −0.9 counts as 0.
  const double g = std::trunc(static_cast<double>(s.growthRate));
  level[8] = g < -20 ? 0 : g < 0 ? 1 : g < 12 ? 2 : g < 22 ? 3 : 4;
  return level;
}

EarthReport ComputeEarthReport(const world::Land& land, ColonyState& state) {
  EarthReport report;
  report.complaintCount = CountComplaints(land, state);
  report.complaints = state.complaints;
  report.levels = AssessmentLevels(state);
  for (std::int32_t i = 0; i < kAssessmentLines; ++i) {
    report.points += AssessmentPoints[i][report.levels[i]];
  }
  std::int32_t score = report.points;
  for (std::int32_t k = 0; k < kComplaintLetters; ++k) score -= state.complaints[k];
  score = std::max(score, 0);
  report.verdict = std::min(score / 4, kVerdictCount - 1);
  report.score =
      static_cast<std::int32_t>(static_cast<std::int64_t>(state.population) * report.verdict / 10);
  return report;
}

std::string_view ChooseComplaintLetter(const ColonyState& state, std::int32_t draw) {
  bool any = false;
  for (std::int32_t k = 0; k < kComplaintLetters; ++k) any = any || state.complaints[k] > 0;
  if (!any) return kNoComplaintText;
  std::int32_t k = ((draw % kComplaintLetters) + kComplaintLetters) % kComplaintLetters;
  for (std::int32_t step = 0; step < 11 && state.complaints[k] <= 0; ++step) {
    k = (k + 1) % kComplaintLetters;
  }
  return ComplaintLetters[k];
}

}  // namespace sim
