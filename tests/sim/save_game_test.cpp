// Saved games: round trips of random colonies, and every kind of bad file rejected with the
// running game unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "tests/sim/colony_fixture.h"

namespace {

using namespace sim;
using simtest::ColonyTest;
using simtest::RecordingHost;
namespace fs = std::filesystem;

constexpr std::size_t kHeader = 16;
constexpr std::size_t kStateBytes = 37 * 4;

void WriteFile(const fs::path& path, const gfx::ByteBuffer& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

gfx::ByteBuffer ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Rewrites the checksum after a deliberate change, so that only the value checks can object.
void Reseal(gfx::ByteBuffer& file) {
  const std::uint32_t crc =
      Crc32(std::span<const std::uint8_t>(file).subspan(kHeader, file.size() - kHeader - 4));
  for (int i = 0; i < 4; ++i) file[file.size() - 4 + i] = static_cast<std::uint8_t>(crc >> (8 * i));
}

void PutI32(gfx::ByteBuffer& file, std::size_t offset, std::int32_t v) {
  for (int i = 0; i < 4; ++i)
    file[offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

std::size_t CellOffset(std::int32_t x, std::int32_t y) {
  return kHeader + kStateBytes + static_cast<std::size_t>(x + y * world::kMapColumns) * 12;
}

class SaveGameTest : public ColonyTest {
 protected:
  void SetUp() override {
    folder = fs::path(REDHOLLOW_TEST_OUTPUT_DIR) / "sim-saves" /
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder);
  }

  // A busy colony: sites, finished and animated structures, highways, a Comm. Center.
  void BuildSomething() {
    ExploreAll();
    Enrich();
    draws = {3, 1, 2};
    Build(kLittleHouse, 30, 30);
    Build(kJobCenter, 31, 30);
    Build(kSkyscraper, 32, 30);
    Build(kHighway, 30, 31);
    Build(kHighway, 31, 31);
    Build(kDisco, 33, 30);
    Build(kCommCenter, 34, 30);
    for (int i = 0; i < 50; ++i) colony.RunDay();
    colony.SelectCell(30, 30);
    colony.Command(kCommandFirstCategory + 5);
    colony.Command(kCommandFirstItem + 3);
    ASSERT_EQ(Invariants(), "");
  }

  fs::path folder;
};

TEST_F(SaveGameTest, RoundTripKeepsEveryFieldAndEveryCell) {
  BuildSomething();
  const gfx::ByteBuffer file =
      EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());
  SavedGame loaded;
  ASSERT_EQ(DecodeSavedGame(file, loaded), DecodeError::kNone);
  EXPECT_EQ(loaded.state, S());
  EXPECT_EQ(loaded.selectedType, colony.SelectedType());
  EXPECT_EQ(loaded.cells, land.cells);
}

TEST_F(SaveGameTest, RoundTripOfRandomColoniesThroughTheFile) {
  world::Random choices(99);
  for (int round = 0; round < 6; ++round) {
    ExploreAll();
    AddPeople(S(), 50 + choices.Below(100));
    for (int i = 0; i < 200; ++i) {
      colony.PlaceStructure(5 + choices.Below(29), choices.Below(world::kMapColumns),
                            choices.Below(world::kMapRows));
      if (choices.Below(4) == 0) colony.RunDay();
    }
    // Anywhere in the range play reaches.
    S().growthRate = static_cast<float>(choices.Below(10510)) / 10.0f - 1000.0f;
    S().growthAccumulator = static_cast<float>(choices.Below(2001)) / 1000.0f - 1.0f;
    ASSERT_EQ(Invariants(), "");
    const ColonyState state = S();
    const StructureType selected = colony.SelectedType();
    const std::vector<MapCell> cells = land.cells;
    const fs::path path = folder / "SAVES" / "round.sav";
    ASSERT_EQ(SaveGameToFile(colony, path), "");

    colony.NewGame();
    colony.SelectCell(11, 64);
    ASSERT_EQ(LoadGameFromFile(colony, path), "");
    EXPECT_EQ(S(), state);
    EXPECT_EQ(colony.SelectedType(), selected);
    EXPECT_EQ(land.cells, cells);
    EXPECT_FALSE(land.HasSelection());
    EXPECT_EQ(colony.EarthCommEnabled(), state.earthContact == kContactOn);
    EXPECT_EQ(colony.PaletteSlots()[kCommCenterSlot], state.earthContact == kNoContact ? 1 : 0);
    colony.NewGame();
  }
}

TEST_F(SaveGameTest, EveryTruncationAndRandomCorruptionIsRejected) {
  BuildSomething();
  const gfx::ByteBuffer good =
      EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());
  SavedGame out;
  out.selectedType = 12345;
  for (std::size_t size = 0; size < good.size(); ++size) {
    ASSERT_NE(DecodeSavedGame(std::span(good).first(size), out), DecodeError::kNone) << size;
  }
  gfx::ByteBuffer longer = good;
  longer.push_back(0);
  EXPECT_EQ(DecodeSavedGame(longer, out), DecodeError::kDamaged);

  world::Random corrupt(7);
  for (int i = 0; i < 1000; ++i) {
    gfx::ByteBuffer bad = good;
    const int changes = 1 + corrupt.Below(4);
    for (int k = 0; k < changes; ++k) {
      const std::size_t at = static_cast<std::size_t>(corrupt.Below(static_cast<int>(bad.size())));
      bad[at] ^= static_cast<std::uint8_t>(1 + corrupt.Below(255));
    }
    ASSERT_NE(DecodeSavedGame(bad, out), DecodeError::kNone) << i;
  }
  EXPECT_EQ(out.selectedType, 12345);  // never written on failure
}

TEST_F(SaveGameTest, ValuesOutOfRangeAreRejectedEvenWithAGoodChecksum) {
  BuildSomething();
  const gfx::ByteBuffer good =
      EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());
  struct Patch {
    const char* what;
    std::size_t offset;
    std::int32_t value;
    bool byte;
  };
  const std::size_t pem = CellOffset(11, 64);
  const std::size_t highway = CellOffset(30, 31);
  const std::vector<Patch> patches = {
      {"month 24", kHeader + 3 * 4, 24, false},
      {"speed 3", kHeader + 6 * 4, 3, false},
      {"category 8", kHeader + 7 * 4, 8, false},
      {"day 0", kHeader + 2 * 4, 0, false},
      {"water off the map's sum", kHeader + 14 * 4, 1000, false},
      {"selected type 35", kHeader + 36 * 4, 35, false},
      {"spare type on the map", CellOffset(40, 40) + 3, 2, true},
      {"type 35 on the map", CellOffset(40, 40) + 3, 35, true},
      {"sheet 3", CellOffset(40, 40) + 1, 3, true},
      {"highway as a building site", highway + 4, 5, true},
      {"second landing module", CellOffset(50, 50) + 3, 1, true},
      {"landing module removed", pem + 3, 0, true},
      {"counter above the building days", CellOffset(32, 30) + 4, 81, true},
  };
  for (const Patch& p : patches) {
    gfx::ByteBuffer bad = good;
    if (p.byte) {
      bad[p.offset] = static_cast<std::uint8_t>(p.value);
    } else {
      PutI32(bad, p.offset, p.value);
    }
    Reseal(bad);
    SavedGame out;
    EXPECT_EQ(DecodeSavedGame(bad, out), DecodeError::kDamaged) << p.what;
  }
  // A NaN growth rate.
  gfx::ByteBuffer bad = good;
  PutI32(bad, kHeader + 24 * 4, 0x7FC00000);
  Reseal(bad);
  SavedGame out;
  EXPECT_EQ(DecodeSavedGame(bad, out), DecodeError::kDamaged);
}

// The loader takes what play can reach and nothing beyond it: a colony at each edge loads,
// one a step past it is refused.
TEST_F(SaveGameTest, TheLoaderTakesWhatPlayReachesAndNoMore) {
  BuildSomething();
  const auto decodes = [this] {
    SavedGame out;
    return DecodeSavedGame(
               EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History()), out) ==
           DecodeError::kNone;
  };
  const ColonyState start = S();
  // People added through AddPeople keep the balances in agreement with the map.
  AddPeople(S(), kMaxPopulation - S().population);
  EXPECT_TRUE(decodes());
  S().population += 1;
  S().unemployed += 1;
  S().water -= 1;
  S().food -= 1;
  S().freeHousing -= 1;
  S().communications -= 1;
  ASSERT_EQ(Invariants(), "population");
  EXPECT_FALSE(decodes()) << "a population past the limit";
  S() = start;

  struct Case {
    float rate, accumulator;
    bool loads;
  };
  for (const Case c :
       {Case{kMaxGrowthRate, kMaxGrowthAccumulator, true},
        Case{kMinGrowthRate, -kMaxGrowthAccumulator, true},
        Case{std::nextafter(kMaxGrowthRate, 1e9f), 0.0f, false},
        Case{std::nextafter(kMinGrowthRate, -1e9f), 0.0f, false}, Case{1.0e6f, 0.0f, false},
        Case{0.0f, std::nextafter(kMaxGrowthAccumulator, 2.0f), false},
        Case{0.0f, -std::nextafter(kMaxGrowthAccumulator, 2.0f), false},
        Case{0.0f, 1.0e6f, false}}) {
    S().growthRate = c.rate;
    S().growthAccumulator = c.accumulator;
    EXPECT_EQ(decodes(), c.loads) << c.rate << " " << c.accumulator;
  }
}

TEST_F(SaveGameTest, BadFilesSayWhyAndLeaveTheGameAsItWas) {
  BuildSomething();
  const ColonyState state = S();
  const std::vector<MapCell> cells = land.cells;
  fs::create_directories(folder);
  const gfx::ByteBuffer good =
      EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());

  EXPECT_EQ(LoadGameFromFile(colony, folder / "missing.sav"),
            "The file missing.sav could not be opened; nothing was loaded.");
  WriteFile(folder / "short.sav", gfx::ByteBuffer(good.begin(), good.begin() + 1000));
  EXPECT_EQ(LoadGameFromFile(colony, folder / "short.sav"),
            "The file short.sav is not a Redhollow saved game or is damaged; nothing was loaded.");
  WriteFile(folder / "foreign.sav", gfx::ByteBuffer{'G', 'I', 'F', '8', '9', 'a'});
  EXPECT_EQ(LoadGameFromFile(colony, folder / "foreign.sav"),
            "The file foreign.sav is not a Redhollow saved game or is damaged; nothing was "
            "loaded.");
  gfx::ByteBuffer newer = good;
  newer[8] = static_cast<std::uint8_t>(kSaveFormatVersion + 1);
  WriteFile(folder / "newer.sav", newer);
  EXPECT_EQ(LoadGameFromFile(colony, folder / "newer.sav"),
            "The file newer.sav was saved by a newer version of Redhollow; nothing was loaded.");
  gfx::ByteBuffer damaged = good;
  damaged[good.size() / 2] ^= 0x40;
  WriteFile(folder / "damaged.sav", damaged);
  EXPECT_NE(LoadGameFromFile(colony, folder / "damaged.sav"), "");
  fs::create_directories(folder / "adir.sav");
  EXPECT_NE(LoadGameFromFile(colony, folder / "adir.sav"), "");

  EXPECT_EQ(S(), state);
  EXPECT_EQ(land.cells, cells);
  EXPECT_TRUE(land.HasSelection());  // the running game keeps its selection too
}

TEST_F(SaveGameTest, SavingCreatesTheFolderReplacesAtomicallyAndReportsFailures) {
  BuildSomething();
  const fs::path path = folder / "SAVES" / "colony.sav";
  ASSERT_FALSE(fs::exists(path.parent_path()));
  ASSERT_EQ(SaveGameToFile(colony, path), "");
  const gfx::ByteBuffer first = ReadFile(path);
  EXPECT_EQ(first, EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History()));

  colony.RunDay();
  ASSERT_EQ(SaveGameToFile(colony, path), "");
  EXPECT_EQ(ReadFile(path),
            EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History()));
  EXPECT_NE(ReadFile(path), first);

  // A target that cannot be replaced (a folder with something in it) fails with a sentence,
  // keeps what was there and leaves no temporary file behind.
  const fs::path blocked = folder / "SAVES" / "blocked.sav";
  fs::create_directories(blocked / "inside");
  const std::string error = SaveGameToFile(colony, blocked);
  EXPECT_TRUE(error.starts_with("The game could not be saved to blocked.sav: ")) << error;
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(folder / "SAVES")) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2);  // colony.sav and blocked.sav only

  // A folder that cannot be created: its place is taken by a file.
  WriteFile(folder / "plain", {1, 2, 3});
  EXPECT_NE(SaveGameToFile(colony, folder / "plain" / "x.sav"), "");
}

// A saved game holds the game's 129 x 129 cells; a colony on any other land would have its
// cells padded or cut and put back in other places.
TEST_F(SaveGameTest, AColonyOnALandOfAnotherSizeIsNeitherSavedNorLoaded) {
  BuildSomething();
  const fs::path path = folder / "SAVES" / "colony.sav";
  ASSERT_EQ(SaveGameToFile(colony, path), "");

  world::Land small(40);
  world::Random random(3);
  RecordingHost smallHost;
  Colony other(small, random, smallHost);
  other.NewGame();
  const ColonyState state = other.State();
  const std::vector<MapCell> cells = small.cells;
  EXPECT_EQ(SaveGameToFile(other, folder / "SAVES" / "small.sav"),
            "The game could not be saved to small.sav: the map is not the size a saved game "
            "holds; no file was written.");
  EXPECT_FALSE(fs::exists(folder / "SAVES" / "small.sav"));
  EXPECT_EQ(LoadGameFromFile(other, path),
            "The file colony.sav cannot be loaded into a map of another size; nothing was "
            "loaded.");
  EXPECT_EQ(other.State(), state);
  EXPECT_EQ(small.cells, cells);
}

}  // namespace
