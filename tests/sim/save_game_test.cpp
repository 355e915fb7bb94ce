// Saved games: round trips of random colonies, and every kind of bad file rejected with the
// running game unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

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

// The history's two counts, then its records, daily ones first, of 16 words each.
constexpr std::size_t kHistoryAt = kHeader + kStateBytes + kCellCount * 12;
constexpr std::size_t kRecordBytes = 16 * 4;
std::size_t RecordWord(std::size_t record, std::size_t word) {
  return kHistoryAt + 8 + record * kRecordBytes + word * 4;
}

// After a change of the payload's length: the header's size and the checksum made right.
void ResizeAndReseal(gfx::ByteBuffer& file) {
  PutI32(file, 12, static_cast<std::int32_t>(file.size() - kHeader - 4));
  Reseal(file);
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
  EXPECT_EQ(loaded.history, colony.History());
  EXPECT_EQ(file.size(), SavedGameFileSize(50, 1));
  EXPECT_EQ(gfx::LoadLe32(file.data() + 8), 2u);
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
    const ColonyHistory history = colony.History();
    const fs::path path = folder / "SAVES" / "round.sav";
    ASSERT_EQ(SaveGameToFile(colony, path), "");

    colony.NewGame();
    colony.SelectCell(11, 64);
    ASSERT_EQ(LoadGameFromFile(colony, path), "");
    EXPECT_EQ(S(), state);
    EXPECT_EQ(colony.SelectedType(), selected);
    EXPECT_EQ(land.cells, cells);
    EXPECT_EQ(colony.History(), history);
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

// A game saved before games kept a history loads with an empty one: the history starts at the
// load, and the colony saved again is a game of this format with its history.
TEST_F(SaveGameTest, AVersionOneGameLoadsWithAHistoryThatStartsAtTheLoad) {
  const fs::path old = fs::path(REDHOLLOW_TEST_DATA_DIR) / "saves" / "version1-colony.sav";
  const gfx::ByteBuffer bytes = ReadFile(old);
  ASSERT_EQ(bytes.size(), 199'860u);
  ASSERT_EQ(gfx::LoadLe32(bytes.data() + 8), 1u);
  for (int i = 0; i < 3; ++i) colony.RunDay();  // the running colony's history goes
  ASSERT_EQ(LoadGameFromFile(colony, old), "");
  EXPECT_EQ(std::tuple(S().day, S().month, S().year, S().population), std::tuple(23, 1, 2001, 10));
  EXPECT_EQ(S().buildSerial, 5);
  EXPECT_TRUE(colony.History().Empty());
  EXPECT_EQ(Invariants(), "");

  for (int i = 0; i < 6; ++i) colony.RunDay();
  const auto& daily = colony.History().Daily();
  ASSERT_EQ(daily.size(), 6u);
  EXPECT_EQ(std::tuple(daily.front().day, daily.front().month), std::tuple(24, 1));
  EXPECT_EQ(std::tuple(daily.back().day, daily.back().month), std::tuple(1, 2));
  ASSERT_EQ(colony.History().Monthly().size(), 1u);
  EXPECT_EQ(colony.History().Monthly()[0], daily[4]);  // the 28th, the month's last day

  const fs::path again = folder / "again.sav";
  ASSERT_EQ(SaveGameToFile(colony, again), "");
  EXPECT_EQ(gfx::LoadLe32(ReadFile(again).data() + 8), kSaveFormatVersion);
  const SavedGame saved = Snapshot();
  colony.NewGame();
  ASSERT_EQ(LoadGameFromFile(colony, again), "");
  EXPECT_EQ(colony.History(), saved.history);
  EXPECT_EQ(S(), saved.state);

  // The old format's refusals stand: a byte short, a byte more, a changed byte, and a history
  // section, which that format never held, behind a good checksum.
  SavedGame out;
  const auto decodes = [&](const gfx::ByteBuffer& file) { return DecodeSavedGame(file, out); };
  ASSERT_EQ(decodes(bytes), DecodeError::kNone);
  EXPECT_EQ(decodes(gfx::ByteBuffer(bytes.begin(), bytes.end() - 1)), DecodeError::kDamaged);
  gfx::ByteBuffer longer = bytes;
  longer.push_back(0);
  EXPECT_EQ(decodes(longer), DecodeError::kDamaged);
  gfx::ByteBuffer flipped = bytes;
  flipped[CellOffset(11, 64) + 2] ^= 1;
  EXPECT_EQ(decodes(flipped), DecodeError::kDamaged);
  gfx::ByteBuffer withSection = bytes;
  withSection.insert(withSection.end() - 4, 8, 0);
  ResizeAndReseal(withSection);
  EXPECT_EQ(decodes(withSection), DecodeError::kDamaged);
}

class SavedHistoryTest : public SaveGameTest {
 protected:
  // BuildSomething's colony 80 days on: 120 days and four months, the last 40 or so with
  // Earth in contact.
  void SetUp() override {
    SaveGameTest::SetUp();
    BuildSomething();
    for (int i = 0; i < 80; ++i) colony.RunDay();
    ASSERT_EQ(colony.History().Daily().size(), ColonyHistory::kDailyRecords);
    ASSERT_EQ(colony.History().Monthly().size(), kMonths);
    ASSERT_TRUE(colony.History().Daily().back().hasScore);
    ASSERT_FALSE(colony.History().Daily().front().hasScore);
    good = EncodeSavedGame(S(), colony.SelectedType(), land.cells, colony.History());
  }
  DecodeError Decode(const gfx::ByteBuffer& file) {
    SavedGame out;
    out.selectedType = 12345;
    const DecodeError error = DecodeSavedGame(file, out);
    if (error != DecodeError::kNone) {
      EXPECT_EQ(out.selectedType, 12345);  // left alone
    }
    return error;
  }
  // A copy of the good file with one word of a record changed, sealed again.
  gfx::ByteBuffer WithWord(std::size_t record, std::size_t word, std::int32_t value) {
    gfx::ByteBuffer file = good;
    PutI32(file, RecordWord(record, word), value);
    Reseal(file);
    return file;
  }

  static constexpr std::size_t kDays = ColonyHistory::kDailyRecords;
  static constexpr std::size_t kMonths = 4;
  gfx::ByteBuffer good;
};

TEST_F(SavedHistoryTest, CountsPastTheirBoundsAreRefusedThoughSizeAndChecksumAgree) {
  ASSERT_EQ(Decode(good), DecodeError::kNone);
  // A 121st day after the 120th, and the colony's date moved on to it: only the count is
  // wrong.
  gfx::ByteBuffer days = good;
  const auto newest = days.begin() + static_cast<std::ptrdiff_t>(RecordWord(kDays - 1, 0));
  gfx::ByteBuffer record(newest, newest + kRecordBytes);
  ASSERT_EQ(S().day, 19);  // the newest day is not its month's last
  PutI32(record, 0, S().day + 1);
  days.insert(newest + kRecordBytes, record.begin(), record.end());
  PutI32(days, kHistoryAt, static_cast<std::int32_t>(kDays + 1));
  PutI32(days, kHeader + 2 * 4, S().day + 1);
  ResizeAndReseal(days);
  EXPECT_EQ(Decode(days), DecodeError::kDamaged);
  // One month more than the calendar's whole round, the newest repeated: some 15 MB.
  gfx::ByteBuffer months(good.begin(), good.end() - 4);
  const gfx::ByteBuffer last(months.end() - kRecordBytes, months.end());
  months.reserve(SavedGameFileSize(kDays, ColonyHistory::kMonthlyRecords + 1));
  for (std::size_t i = kMonths; i <= ColonyHistory::kMonthlyRecords; ++i) {
    months.insert(months.end(), last.begin(), last.end());
  }
  months.insert(months.end(), 4, 0);
  PutI32(months, kHistoryAt + 4, static_cast<std::int32_t>(ColonyHistory::kMonthlyRecords + 1));
  ResizeAndReseal(months);
  ASSERT_EQ(months.size(), LargestSavedGameFileSize() + kRecordBytes);
  EXPECT_EQ(Decode(months), DecodeError::kDamaged);
  // Counts that do not match the records the file holds.
  for (const std::size_t at : {kHistoryAt, kHistoryAt + 4}) {
    for (const std::int32_t change : {-1, +1}) {
      gfx::ByteBuffer bad = good;
      PutI32(bad, at, static_cast<std::int32_t>(gfx::LoadLe32(bad.data() + at)) + change);
      Reseal(bad);
      EXPECT_EQ(Decode(bad), DecodeError::kDamaged) << at << " " << change;
    }
  }
  gfx::ByteBuffer huge = good;
  PutI32(huge, kHistoryAt + 4, -1);
  Reseal(huge);
  EXPECT_EQ(Decode(huge), DecodeError::kDamaged);
}

TEST_F(SavedHistoryTest, AHistoryCutShortIsRefused) {
  // The last record's bytes gone: the file is shorter than its counts.
  gfx::ByteBuffer cut = good;
  cut.erase(cut.end() - 4 - kRecordBytes, cut.end() - 4);
  ResizeAndReseal(cut);
  EXPECT_EQ(Decode(cut), DecodeError::kDamaged);
  // The newest month gone with its count: the month that ended is missing.
  PutI32(cut, kHistoryAt + 4, static_cast<std::int32_t>(kMonths - 1));
  Reseal(cut);
  EXPECT_EQ(Decode(cut), DecodeError::kDamaged);
  // The newest day gone with its count: the history stops before the colony's own day.
  gfx::ByteBuffer day = good;
  const auto newest = day.begin() + static_cast<std::ptrdiff_t>(RecordWord(kDays - 1, 0));
  day.erase(newest, newest + kRecordBytes);
  PutI32(day, kHistoryAt, static_cast<std::int32_t>(kDays - 1));
  ResizeAndReseal(day);
  EXPECT_EQ(Decode(day), DecodeError::kDamaged);
  // No history at all is sound: a game loaded from the old format and saved at once.
  gfx::ByteBuffer none = good;
  none.erase(none.begin() + kHistoryAt + 8, none.end() - 4);
  PutI32(none, kHistoryAt, 0);
  PutI32(none, kHistoryAt + 4, 0);
  ResizeAndReseal(none);
  EXPECT_EQ(Decode(none), DecodeError::kNone);
}

TEST_F(SavedHistoryTest, DatesAndValuesPlayCannotReachAreRefused) {
  const std::size_t day = 30;
  const std::size_t month = kDays;  // the first monthly record
  const std::size_t scored = kDays - 1;
  const auto dayOf = [&](std::size_t record) {
    return static_cast<std::int32_t>(gfx::LoadLe32(good.data() + RecordWord(record, 0)));
  };
  const std::int32_t population =
      static_cast<std::int32_t>(gfx::LoadLe32(good.data() + RecordWord(scored, 3)));
  // The patch alone, writing what is there, changes nothing.
  ASSERT_EQ(Decode(WithWord(day, 0, dayOf(day))), DecodeError::kNone);
  struct Case {
    const char* what;
    std::size_t record, word;
    std::int32_t value;
  };
  for (const Case c : {
           Case{"day 0", day, 0, 0},
           Case{"day 29", day, 0, 29},
           Case{"a day skipped", day, 0, dayOf(day) + 1},
           Case{"month 24", day, 1, 24},
           Case{"month -1", day, 1, -1},
           Case{"year 10000", day, 2, 10000},
           Case{"another year", day, 2, 2002},
           Case{"a month's record on its 27th", month, 0, 27},
           Case{"a month skipped", month + 1, 1, 2},
           Case{"population -1", day, 3, -1},
           Case{"population past the limit", day, 3, kMaxPopulation + 1},
           Case{"water no map can hold", day, 5, 2'000'000'000},
           Case{"power no map can owe", day, 7, -2'000'000'000},
           Case{"a NaN growth rate", day, 13, 0x7FC00000},
           Case{"a growth rate of 1e6", day, 13, 0x49742400},
           Case{"a flag of 2", scored, 14, 2},
           Case{"a score without Earth", day, 15, 1},
           Case{"a score past the population", scored, 15, population + 1},
           Case{"a negative score", scored, 15, -1},
       }) {
    EXPECT_EQ(Decode(WithWord(c.record, c.word, c.value)), DecodeError::kDamaged) << c.what;
  }
  // The edges that play reaches load.
  EXPECT_EQ(Decode(WithWord(scored, 15, population)), DecodeError::kNone);
  EXPECT_EQ(Decode(WithWord(day, 3, kMaxPopulation)), DecodeError::kNone);
}

TEST_F(SavedHistoryTest, ADamagedHistoryLeavesTheRunningGameAsItWas) {
  const fs::path path = folder / "damaged.sav";
  fs::create_directories(folder);
  WriteFile(path, WithWord(10, 0, 29));
  colony.RunDay();
  colony.SelectCell(30, 30);
  const SavedGame running = Snapshot();
  EXPECT_EQ(
      LoadGameFromFile(colony, path),
      "The file damaged.sav is not a Redhollow saved game or is damaged; nothing was loaded.");
  EXPECT_EQ(S(), running.state);
  EXPECT_EQ(land.cells, running.cells);
  EXPECT_EQ(colony.History(), running.history);
  EXPECT_TRUE(land.HasSelection());
}

}  // namespace
