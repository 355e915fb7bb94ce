// Days per second of the colony model on a map with every cell built, without a window, with
// and without Earth's score in the day's record.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "sim/colony.h"

namespace {

using namespace sim;

// A type mix that keeps water, food, power and housing positive, so no shortage pulls the
// map down while it is measured.
constexpr std::array<StructureType, 20> kMix = {
    kWindPower, kWaterWell, kFarm, kFlats,      kCrops,   kWaterCondenser, kPub,
    kWindPower, kWaterWell, kFarm, kSkyscraper, kDisco,   kHospital,       kLittleHouse,
    kWindPower, kHighway,   kGym,  kFishFarm,   kPellNet, kCountryHouse};

// Every cell finished (a tenth still building), the balances and people to match.
void BuildEverything(world::Land& land, ColonyState& state) {
  ResetToNewGame(state);
  std::int32_t serial = 0;
  std::int64_t staff = 0;
  const std::size_t cellCount = land.cells.size();
  for (std::size_t i = 0; i < cellCount; ++i) {
    MapCell& cell = land.cells[i];
    cell = MapCell{};
    cell.revealMask = world::kRevealAll;
    if (i == cellCount / 2) {
      cell.type = kLandingModule;
      cell.sheet = world::kSheetStructure;
      cell.frame = 2;
      continue;
    }
    const StructureType type = kMix[i % kMix.size()];
    const StructureLook& look = StructureLooks[type];
    const StructureSpec& spec = StructureCatalogue[type];
    cell.type = static_cast<std::uint8_t>(type);
    cell.serial = ++serial;
    if (i % 10 == 3 && spec.buildDays > 1) {
      cell.sheet = world::kSheetSite;
      cell.constructionLeft = static_cast<std::uint8_t>(spec.buildDays);
      cell.frame = static_cast<std::uint8_t>(look.constructionFrame);
      state.unemployed -= spec.builders;
      staff += spec.builders;
      continue;
    }
    cell.sheet = type == kHighway ? world::kSheetGround : world::kSheetStructure;
    cell.frame = static_cast<std::uint8_t>(type == kHighway ? 28 : look.finishedFrame);
    if (look.animationFrame != 0) {
      cell.animStart = static_cast<std::uint8_t>(look.animationFrame);
      cell.animLength = static_cast<std::uint8_t>(look.animationLength);
    }
    // Finishing returns builders that were never taken here; take them first.
    state.unemployed -= spec.builders;
    ApplyStructure(state, type, +1);
    staff += spec.workers;
  }
  state.buildSerial = serial;
  AddPeople(state, static_cast<std::int32_t>(staff) + 1000);
}

void BM_RunDayFullMap(benchmark::State& bench) {
  world::Land land;
  world::Random random(42);
  SilentHost host;
  Colony colony(land, random, host);
  BuildEverything(land, colony.State());
  const std::vector<MapCell> cells = land.cells;
  const ColonyState start = colony.State();
  std::int64_t days = 0;
  for (auto _ : bench) {
    colony.RunDay();
    if (++days % 2000 == 0) {
      bench.PauseTiming();
      land.cells = cells;
      colony.State() = start;
      bench.ResumeTiming();
    }
  }
  std::int64_t built = 0;
  for (const MapCell& cell : land.cells) built += cell.type != kLand ? 1 : 0;
  bench.SetItemsProcessed(days);
  // All 16,641 while nothing is pulled down.
  bench.counters["built_cells"] = static_cast<double>(built);
  bench.counters["days_per_second"] =
      benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunDayFullMap);

// The same days with Earth in contact: each day's record then carries Earth's score, which
// reads the whole map for the complaints.
void BM_RunDayFullMapEarthInContact(benchmark::State& bench) {
  world::Land land;
  world::Random random(42);
  SilentHost host;
  Colony colony(land, random, host);
  BuildEverything(land, colony.State());
  colony.State().earthContact = kContactOn;
  const std::vector<MapCell> cells = land.cells;
  const ColonyState start = colony.State();
  std::int64_t days = 0;
  for (auto _ : bench) {
    colony.RunDay();
    if (++days % 2000 == 0) {
      bench.PauseTiming();
      land.cells = cells;
      colony.State() = start;
      bench.ResumeTiming();
    }
  }
  const bool scored = colony.History().Daily().back().hasScore;
  if (!scored) bench.SkipWithError("the days were recorded without Earth's score");
  bench.SetItemsProcessed(days);
  bench.counters["days_per_second"] =
      benchmark::Counter(static_cast<double>(days), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunDayFullMapEarthInContact);

void BM_GameTickAcceleratedFullMap(benchmark::State& bench) {
  world::Land land;
  world::Random random(42);
  SilentHost host;
  Colony colony(land, random, host);
  BuildEverything(land, colony.State());
  colony.State().speed = kAccelerated;
  std::int64_t ticks = 0;
  for (auto _ : bench) {
    colony.GameTick();
    ++ticks;
    if (colony.State().population < 100) colony.State().speed = kPaused;
  }
  bench.SetItemsProcessed(ticks);
}
BENCHMARK(BM_GameTickAcceleratedFullMap);

}  // namespace

BENCHMARK_MAIN();
