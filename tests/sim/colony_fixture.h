// A colony on a land of its own with a host that records everything the model says, for the
// sim tests. Draws come from a fixed value unless a test scripts them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "sim/colony.h"
#include "sim/save_file.h"
#include "sim/save_game.h"

namespace simtest {

struct RecordingHost final : sim::ColonyHost {
  // "sound:NAME", "notice:TEXT" and "question:TEXT" in the order they happened.
  std::vector<std::string> events;
  bool answer = true;
  bool ended = false;
  std::uint32_t changes = 0;
  std::vector<world::CellPos> cells;  // as CellChanged named them

  void PlaySound(std::string_view sound) override {
    events.push_back("sound:" + std::string(sound));
  }
  void Notice(std::string_view sound, std::string_view text) override {
    events.push_back("sound:" + std::string(sound));
    events.push_back("notice:" + std::string(text));
  }
  bool Question(std::string_view sound, std::string_view text) override {
    events.push_back("sound:" + std::string(sound));
    events.push_back("question:" + std::string(text));
    return answer;
  }
  void Changed(std::uint32_t what) override { changes |= what; }
  void CellChanged(std::int32_t x, std::int32_t y) override { cells.push_back({x, y}); }
  void EndProgram() override { ended = true; }

  std::vector<std::string> Notices() const {
    std::vector<std::string> out;
    for (const auto& e : events) {
      if (e.starts_with("notice:") || e.starts_with("question:")) out.push_back(e);
    }
    return out;
  }
};

// A colony on a land of its own that holds the given game from the start: two of them let a
// test save two games by turns without a load between the saves.
struct StandingColony {
  explicit StandingColony(const sim::SavedGame& game) : colony(land, random, host) {
    colony.ReplaceGame(game.state, game.selectedType, game.cells, game.history);
  }
  world::Land land;
  world::Random random;
  RecordingHost host;
  sim::Colony colony;
};

class ColonyTest : public ::testing::Test {
 protected:
  ColonyTest() : colony(land, random, host) {
    // With every draw 1 the landing module stands at (11, 64) on ground frame 17.
    random.Replace([this] { return NextDraw(); });
    colony.SetScreenShown(true);
    colony.NewGame();
    host.events.clear();
  }

  std::int32_t NextDraw() {
    if (draws.empty()) return defaultDraw;
    const std::int32_t d = draws.front();
    draws.pop_front();
    return d;
  }

  sim::ColonyState& S() { return colony.State(); }
  sim::MapCell& Cell(std::int32_t x, std::int32_t y) { return land.Cell(x, y); }

  // Opens the whole map for building, so tests can place anywhere.
  void ExploreAll() {
    for (sim::MapCell& c : land.cells) c.revealMask = world::kRevealAll;
  }
  // Gives the colony people, water and power to build anything (keeps the invariants).
  void Enrich(std::int32_t people = 200) {
    sim::AddPeople(S(), people);
    for (int i = 0; i < 6; ++i) {
      Build(sim::kWaterWell, 120 + i, 120);
      Build(sim::kWindPower, 120 + i, 122);
    }
    FinishAll();
  }
  // Places a structure at once (checks apply) and expects it to be built.
  void Build(sim::StructureType type, std::int32_t x, std::int32_t y) {
    ASSERT_EQ(colony.PlaceStructure(type, x, y), sim::PlaceResult::kBuilt)
        << "type " << type << " at " << x << "," << y;
  }
  // Runs construction until no site is left, without the rest of the day.
  void FinishAll() {
    for (int i = 0; i < 100; ++i) colony.AdvanceConstruction();
  }
  std::string Invariants() { return sim::CheckColony(S(), colony.SelectedType(), land.cells); }
  // The colony as it stands, history and all, and the way back to it that a load takes.
  sim::SavedGame Snapshot() { return {S(), colony.SelectedType(), land.cells, colony.History()}; }
  void Restore(const sim::SavedGame& game) {
    colony.ReplaceGame(game.state, game.selectedType, game.cells, game.history);
  }

  world::Land land;
  world::Random random;
  RecordingHost host;
  sim::Colony colony;
  std::int32_t defaultDraw = 1;
  std::deque<std::int32_t> draws;
};

}  // namespace simtest
