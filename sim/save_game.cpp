#include "sim/save_game.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <optional>

namespace sim {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'R', 'H', 'S', 'A', 'V', 'E', '\r', '\n'};
constexpr std::size_t kHeaderSize = kMagic.size() + 4 + 4;
constexpr std::size_t kStateWords = 36;
constexpr std::size_t kCellBytes = 8 + 4;  // eight bytes, then the serial
constexpr std::size_t kHistoryCountBytes = 4 + 4;
constexpr std::size_t kRecordBytes = 16 * 4;
constexpr std::uint32_t kFirstVersion = 1;
// The payload of format 1: the state, the selected type and the cells.
constexpr std::size_t GamePayloadSize(std::int32_t cellCount) {
  return (kStateWords + 1) * 4 + static_cast<std::size_t>(cellCount) * kCellBytes;
}
constexpr std::size_t HistorySize(std::size_t records) {
  return kHistoryCountBytes + records * kRecordBytes;
}
constexpr std::size_t kMostRecords = ColonyHistory::kDailyRecords + ColonyHistory::kMonthlyRecords;

// One structure is placed per serial, so no player gets anywhere near this.
constexpr std::int32_t kMaxBuildSerial = 100'000'000;

class Writer {
 public:
  explicit Writer(gfx::ByteBuffer& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.push_back(v); }
  void U32(std::uint32_t v) { gfx::AppendLe32(out_, v); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
  }

 private:
  gfx::ByteBuffer& out_;
};

// Every read is bounds-checked; reading past the end sets the failure flag and yields 0.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t U8() {
    if (pos_ + 1 > bytes_.size()) return Fail();
    return bytes_[pos_++];
  }
  std::uint32_t U32() {
    if (pos_ + 4 > bytes_.size()) return Fail();
    const std::uint32_t v = gfx::LoadLe32(bytes_.data() + pos_);
    pos_ += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() {
    const std::uint32_t bits = U32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  bool Failed() const { return failed_; }

 private:
  std::uint8_t Fail() {
    failed_ = true;
    pos_ = bytes_.size();
    return 0;
  }
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

// Each field a saved game stores goes to its writer or comes from its reader as one word.
struct FieldWriter {
  Writer& w;
  void operator()(std::int32_t v) { w.I32(v); }
  void operator()(float v) { w.F32(v); }
  void operator()(bool v) { w.U32(v ? 1 : 0); }
};

struct FieldReader {
  Reader& r;
  // A flag stored as anything but 0 or 1.
  bool badFlag = false;
  void operator()(std::int32_t& v) { v = r.I32(); }
  void operator()(float& v) { v = r.F32(); }
  void operator()(bool& v) {
    const std::uint32_t word = r.U32();
    badFlag = badFlag || word > 1;
    v = word == 1;
  }
};

// The state's fields in the order a saved game stores them, each handed to `field`: 32-bit
// integers and the two floats. State is ColonyState or const ColonyState.
template <typename State, typename Field>
void ForEachStateField(State& s, Field&& field) {
  for (auto* v : {&s.population, &s.unemployed, &s.day, &s.month, &s.year, &s.shortYearCycle,
                  &s.speed, &s.category}) {
    field(*v);
  }
  for (auto& v : s.categoryItem) field(v);
  for (auto* v : {&s.water, &s.food, &s.power, &s.freeHousing, &s.communications, &s.mentalHealth,
                  &s.reproduction, &s.birthControl, &s.health, &s.disease}) {
    field(*v);
  }
  field(s.growthRate);
  field(s.growthAccumulator);
  field(s.earthContact);
  for (auto& v : s.complaints) field(v);
  field(s.buildSerial);
}

// A history record's fields in the order a saved game stores them. Record is HistoryRecord or
// const HistoryRecord.
template <typename Record, typename Field>
void ForEachRecordField(Record& record, Field&& field) {
  for (auto* v :
       {&record.day, &record.month, &record.year, &record.population, &record.unemployed,
        &record.water, &record.food, &record.power, &record.freeHousing, &record.mentalHealth,
        &record.reproduction, &record.health, &record.communications}) {
    field(*v);
  }
  field(record.growthRate);
  field(record.hasScore);
  field(record.score);
}

void WriteHistory(Writer& w, const ColonyHistory& history) {
  w.U32(static_cast<std::uint32_t>(history.Daily().size()));
  w.U32(static_cast<std::uint32_t>(history.Monthly().size()));
  FieldWriter field{w};
  for (const HistoryRecord& record : history.Daily()) ForEachRecordField(record, field);
  for (const HistoryRecord& record : history.Monthly()) ForEachRecordField(record, field);
}

// The history section of `section`, which must be exactly its size; nothing when it is not.
std::optional<ColonyHistory> ReadHistory(std::span<const std::uint8_t> section) {
  Reader r(section);
  const std::uint32_t dailyCount = r.U32();
  const std::uint32_t monthlyCount = r.U32();
  // The counts are bounded before anything is sized by them.
  if (r.Failed() || dailyCount > ColonyHistory::kDailyRecords ||
      monthlyCount > ColonyHistory::kMonthlyRecords ||
      section.size() != HistorySize(std::size_t{dailyCount} + monthlyCount)) {
    return std::nullopt;
  }
  FieldReader field{r};
  auto readRecord = [&field] {
    HistoryRecord record;
    ForEachRecordField(record, field);
    return record;
  };
  std::deque<HistoryRecord> daily;
  for (std::uint32_t i = 0; i < dailyCount; ++i) daily.push_back(readRecord());
  std::vector<HistoryRecord> monthly;
  monthly.reserve(monthlyCount);
  for (std::uint32_t i = 0; i < monthlyCount; ++i) monthly.push_back(readRecord());
  if (r.Failed() || field.badFlag) return std::nullopt;
  return ColonyHistory(std::move(daily), std::move(monthly));
}

bool InRange(std::int32_t v, std::int32_t low, std::int32_t high) {
  return v >= low && v <= high;
}

std::string CheckStateRanges(const ColonyState& s, StructureType selectedType) {
  if (!InRange(s.population, 0, kMaxPopulation)) return "population";
  if (!InRange(s.month, 0, kMonthCount - 1)) return "month";
  if (!InRange(s.day, 1, MonthLength(s.month, s.shortYearCycle))) return "day";
  if (!InRange(s.year, 0, 9999)) return "year";
  if (!InRange(s.shortYearCycle, 0, 9)) return "shortYearCycle";
  if (!InRange(s.speed, 0, 2)) return "speed";
  if (!InRange(s.category, 0, kCategoryCount - 1)) return "category";
  for (std::int32_t item : s.categoryItem) {
    if (!InRange(item, 0, kItemsPerCategory - 1)) return "categoryItem";
  }
  if (!InRange(s.disease, 0, 1000)) return "disease";
  // The negated comparisons refuse NaN too.
  if (!(s.growthRate >= kMinGrowthRate && s.growthRate <= kMaxGrowthRate)) return "growthRate";
  if (!(std::fabs(s.growthAccumulator) <= kMaxGrowthAccumulator)) return "growthAccumulator";
  if (!InRange(s.earthContact, 0, 2)) return "earthContact";
  for (int k = 0; k < kComplaintSlots - 1; ++k) {
    if (!InRange(s.complaints[k], 0, 4)) return "complaints";
  }
  if (s.complaints[kComplaintSlots - 1] != 0) return "complaints";
  if (!InRange(s.buildSerial, 0, kMaxBuildSerial)) return "buildSerial";
  if (!IsValidStructureType(selectedType) || IsSpareType(selectedType)) return "selectedType";
  return {};
}

std::string CheckCell(const MapCell& cell, const ColonyState& s) {
  if (cell.revealMask > world::kRevealAll) return "cell reveal mask";
  if (cell.sheet > world::kSheetSite) return "cell sheet";
  const StructureType type = cell.type;
  if (!IsValidStructureType(type) || IsSpareType(type)) return "cell type";
  const StructureSpec& spec = StructureCatalogue[type];
  const StructureLook& look = LookOf(type);
  if (cell.constructionLeft > spec.buildDays) return "building site counter";
  const bool site = cell.constructionLeft > 0;
  if (type == kLand) {
    if (cell.sheet != world::kSheetGround || cell.animStart != 0) return "bare land";
    return {};
  }
  if (type >= kWaterCondenser && !InRange(cell.serial, 1, s.buildSerial)) return "cell serial";
  const std::uint8_t expectedSheet = site               ? world::kSheetSite
                                     : type == kHighway ? world::kSheetGround
                                                        : world::kSheetStructure;
  if (cell.sheet != expectedSheet) return "cell sheet";
  if (cell.animStart != 0) {
    if (site || cell.animStart != look.animationFrame || cell.animLength != look.animationLength ||
        cell.variant >= cell.animLength) {
      return "cell animation";
    }
  } else if (!site && look.animationFrame != 0) {
    return "cell animation";
  }
  if (look.variants > 1 && cell.variant >= look.variants) return "cell variant";
  return {};
}

// How far a recorded balance can reach: every cell of the game's map adding the catalogue's
// largest figure, and every person the colony can hold taking one unit (a day that ends the
// colony may hand back a few more than it had).
std::int64_t LargestRecordedBalance() {
  static const std::int64_t largest = [] {
    std::int64_t entry = 0;
    for (const StructureSpec& s : StructureCatalogue) {
      for (std::int32_t v : {s.water, s.power, s.food, s.workers, s.builders, s.freeHousing,
                             s.mentalHealth, s.reproduction, s.health, s.communications}) {
        entry = std::max<std::int64_t>(entry, v < 0 ? -std::int64_t{v} : v);
      }
    }
    return 2 * std::int64_t{kMaxPopulation} + std::int64_t{kCellCount} * entry;
  }();
  return largest;
}

std::string CheckRecord(const HistoryRecord& r) {
  if (!InRange(r.month, 0, kMonthCount - 1)) return "record month";
  // Cycle 0 is a long year: its months are the longest each month can be.
  if (!InRange(r.day, 1, MonthLength(r.month, 0))) return "record day";
  if (!InRange(r.year, 0, 9999)) return "record year";
  if (!InRange(r.population, 0, kMaxPopulation)) return "record population";
  const std::int64_t largest = LargestRecordedBalance();
  for (std::int32_t v : {r.unemployed, r.water, r.food, r.power, r.freeHousing, r.mentalHealth,
                         r.reproduction, r.health, r.communications}) {
    if (v < -largest || v > largest) return "record balance";
  }
  if (!(r.growthRate >= kMinGrowthRate && r.growthRate <= kMaxGrowthRate)) {
    return "record growth rate";
  }
  // The score is the population times a tenth of a verdict of at most 9.
  if (!InRange(r.score, 0, r.hasScore ? r.population : 0)) return "record score";
  return {};
}

// Records keep no short-year cycle, so the last month ends a day early or not.
bool EndsMonth(std::int32_t day, std::int32_t month) {
  return day == MonthLength(month, 0) || day == MonthLength(month, 1);
}

struct MonthOfYear {
  std::int32_t month;
  std::int32_t year;
  friend bool operator==(const MonthOfYear&, const MonthOfYear&) = default;
};

MonthOfYear NextMonth(MonthOfYear at) {
  if (at.month < kMonthCount - 1) return {at.month + 1, at.year};
  return {0, at.year >= 9999 ? 0 : at.year + 1};
}

MonthOfYear MonthOf(const HistoryRecord& r) {
  return {r.month, r.year};
}

bool IsNextDay(const HistoryRecord& before, const HistoryRecord& after) {
  if (MonthOf(after) == MonthOf(before)) return after.day == before.day + 1;
  return after.day == 1 && EndsMonth(before.day, before.month) &&
         MonthOf(after) == NextMonth(MonthOf(before));
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  // Eight bytes a step ("slicing by eight"): table k holds what a byte does to the remainder
  // k bytes further on. A load of a whole saved game checks 200 KB.
  static const auto tables = [] {
    std::array<std::array<std::uint32_t, 256>, 8> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (std::size_t k = 1; k < t.size(); ++k) {
      for (std::uint32_t i = 0; i < 256; ++i)
        t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 8; left -= 8, p += 8) {
    const std::uint32_t low = gfx::LoadLe32(p) ^ crc;
    const std::uint32_t high = gfx::LoadLe32(p + 4);
    crc = tables[7][low & 0xFFu] ^ tables[6][(low >> 8) & 0xFFu] ^ tables[5][(low >> 16) & 0xFFu] ^
          tables[4][low >> 24] ^ tables[3][high & 0xFFu] ^ tables[2][(high >> 8) & 0xFFu] ^
          tables[1][(high >> 16) & 0xFFu] ^ tables[0][high >> 24];
  }
  for (; left > 0; --left, ++p) crc = tables[0][(crc ^ *p) & 0xFFu] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

gfx::ByteBuffer EncodeSavedGame(const ColonyState& state, StructureType selectedType,
                                std::span<const MapCell> cells, const ColonyHistory& history,
                                std::int32_t cellCount) {
  gfx::ByteBuffer payload;
  payload.reserve(GamePayloadSize(cellCount) +
                  HistorySize(history.Daily().size() + history.Monthly().size()));
  Writer p(payload);
  ForEachStateField(state, FieldWriter{p});
  p.I32(selectedType);
  for (std::int32_t i = 0; i < cellCount; ++i) {
    const MapCell cell = i < static_cast<std::int32_t>(cells.size()) ? cells[i] : MapCell{};
    for (std::uint8_t b : {cell.revealMask, cell.sheet, cell.frame, cell.type,
                           cell.constructionLeft, cell.animStart, cell.variant, cell.animLength}) {
      p.U8(b);
    }
    p.I32(cell.serial);
  }
  WriteHistory(p, history);
  gfx::ByteBuffer file(kMagic.begin(), kMagic.end());
  file.reserve(kHeaderSize + payload.size() + 4);
  Writer w(file);
  w.U32(kSaveFormatVersion);
  w.U32(static_cast<std::uint32_t>(payload.size()));
  file.insert(file.end(), payload.begin(), payload.end());
  w.U32(Crc32(payload));
  return file;
}

std::string CheckColony(const ColonyState& s, StructureType selectedType,
                        std::span<const MapCell> cells, std::int32_t cellCount) {
  if (cells.size() != static_cast<std::size_t>(cellCount)) return "cell count";
  if (std::string problem = CheckStateRanges(s, selectedType); !problem.empty()) return problem;

  // Sums in 64 bits so that no map can overflow them.
  std::int64_t water = 0, power = 0, food = 0, housing = 0, mental = 0, reproduction = 0,
               health = 0, communications = 0, employed = 0, birthControls = 0;
  std::int32_t landingModules = 0, commCentres = 0, commCentreSites = 0;
  std::vector<std::int32_t> serials;
  for (const MapCell& cell : cells) {
    if (std::string problem = CheckCell(cell, s); !problem.empty()) return problem;
    const StructureType type = cell.type;
    if (type == kLand) continue;
    if (type == kLandingModule) ++landingModules;
    if (type >= kWaterCondenser) serials.push_back(cell.serial);
    const StructureSpec& spec = StructureCatalogue[type];
    if (cell.constructionLeft > 0) {
      employed += spec.builders;
      if (type == kCommCenter) ++commCentreSites;
      continue;
    }
    water += spec.water;
    power += spec.power;
    food += spec.food;
    housing += spec.freeHousing;
    mental += spec.mentalHealth;
    reproduction += spec.reproduction;
    health += spec.health;
    communications += spec.communications;
    employed += spec.workers;
    if (type == kBirthControl) ++birthControls;
    if (type == kCommCenter) ++commCentres;
  }
  if (landingModules != 1) return "landing module";
  std::sort(serials.begin(), serials.end());
  if (std::adjacent_find(serials.begin(), serials.end()) != serials.end()) return "serials";
  const std::int64_t people = s.population;
  if (s.water != water - people || s.food != food - people || s.freeHousing != housing - people ||
      s.communications != communications - people || s.power != power || s.mentalHealth != mental ||
      s.reproduction != reproduction || s.health != health ||
      s.birthControl != 1 + 2 * birthControls) {
    return "balances";
  }
  if (s.unemployed != people - employed) return "unemployed";
  const std::int32_t contact = commCentres + commCentreSites > 1 ? -1
                               : commCentres == 1                ? kContactOn
                               : commCentreSites == 1            ? kContactBuilding
                                                                 : kNoContact;
  if (s.earthContact != contact) return "earthContact";
  return {};
}

std::string CheckHistory(const ColonyHistory& history, const ColonyState& state) {
  const auto& daily = history.Daily();
  const auto& monthly = history.Monthly();
  if (daily.size() > ColonyHistory::kDailyRecords) return "daily records";
  if (monthly.size() > ColonyHistory::kMonthlyRecords) return "monthly records";
  // Every month's record went into the days too, which only a new game or a load empties.
  if (daily.empty()) return monthly.empty() ? std::string() : "months without days";
  for (std::size_t i = 0; i < daily.size(); ++i) {
    if (std::string problem = CheckRecord(daily[i]); !problem.empty()) return problem;
    if (i > 0 && !IsNextDay(daily[i - 1], daily[i])) return "daily dates";
  }
  for (std::size_t i = 0; i < monthly.size(); ++i) {
    if (std::string problem = CheckRecord(monthly[i]); !problem.empty()) return problem;
    if (!EndsMonth(monthly[i].day, monthly[i].month)) return "monthly dates";
    if (i > 0 && MonthOf(monthly[i]) != NextMonth(MonthOf(monthly[i - 1]))) {
      return "monthly dates";
    }
  }
  // The newest day is the colony's own, and the newest month the last one that ended.
  const HistoryRecord& today = daily.back();
  if (today.day != state.day || today.month != state.month || today.year != state.year) {
    return "daily dates";
  }
  if (!monthly.empty()) {
    const MonthOfYear newest = MonthOf(monthly.back());
    const MonthOfYear current{state.month, state.year};
    const bool endedToday = state.day == MonthLength(state.month, state.shortYearCycle);
    if (endedToday ? newest != current : NextMonth(newest) != current) return "monthly dates";
  }
  return {};
}

DecodeError DecodeSavedGame(std::span<const std::uint8_t> bytes, SavedGame& out,
                            std::int32_t cellCount) {
  if (cellCount < 0 || cellCount > kCellCount) return DecodeError::kDamaged;
  const std::size_t gameBytes = GamePayloadSize(cellCount);
  if (bytes.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return DecodeError::kForeign;
  }
  Reader header(bytes.subspan(kMagic.size()));
  const std::uint32_t version = header.U32();
  const std::uint32_t payloadSize = header.U32();
  if (header.Failed()) return DecodeError::kDamaged;
  if (version > kSaveFormatVersion) return DecodeError::kNewer;
  if (version < kFirstVersion) return DecodeError::kDamaged;
  // Format 1 holds no history; a later one at least the history's counts, and never more
  // records than a history keeps.
  const bool withHistory = version > kFirstVersion;
  const std::size_t smallest = gameBytes + (withHistory ? HistorySize(0) : 0);
  const std::size_t largest = gameBytes + (withHistory ? HistorySize(kMostRecords) : 0);
  if (payloadSize < smallest || payloadSize > largest ||
      bytes.size() != kHeaderSize + std::size_t{payloadSize} + 4) {
    return DecodeError::kDamaged;
  }
  const auto payload = bytes.subspan(kHeaderSize, payloadSize);
  Reader trailer(bytes.subspan(kHeaderSize + payloadSize));
  if (trailer.U32() != Crc32(payload) || trailer.Failed()) return DecodeError::kDamaged;

  SavedGame game;
  Reader r(payload);
  ForEachStateField(game.state, FieldReader{r});
  game.selectedType = r.I32();
  if (r.Failed()) return DecodeError::kDamaged;
  if (withHistory) {
    std::optional<ColonyHistory> history = ReadHistory(payload.subspan(gameBytes));
    if (!history) return DecodeError::kDamaged;
    game.history = std::move(*history);
  }
  // The payload's size was checked above: exactly the cells follow the state.
  const std::uint8_t* at = payload.data() + (kStateWords + 1) * 4;
  game.cells.resize(static_cast<std::size_t>(cellCount));
  for (MapCell& cell : game.cells) {
    cell.revealMask = at[0];
    cell.sheet = at[1];
    cell.frame = at[2];
    cell.type = at[3];
    cell.constructionLeft = at[4];
    cell.animStart = at[5];
    cell.variant = at[6];
    cell.animLength = at[7];
    cell.serial = static_cast<std::int32_t>(gfx::LoadLe32(at + 8));
    at += kCellBytes;
  }
  if (!CheckColony(game.state, game.selectedType, game.cells, cellCount).empty() ||
      !CheckHistory(game.history, game.state).empty()) {
    return DecodeError::kDamaged;
  }
  out = std::move(game);
  return DecodeError::kNone;
}

std::size_t SavedGameFileSize(std::size_t dailyRecords, std::size_t monthlyRecords,
                              std::int32_t cellCount) {
  return kHeaderSize + GamePayloadSize(cellCount) + HistorySize(dailyRecords + monthlyRecords) + 4;
}

std::size_t LargestSavedGameFileSize() {
  return SavedGameFileSize(ColonyHistory::kDailyRecords, ColonyHistory::kMonthlyRecords);
}

}  // namespace sim
