#include "sim/save_game.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <system_error>
#include <type_traits>

#include "sim/colony.h"
#include "sim/replace_file.h"

namespace sim {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'R', 'H', 'S', 'A', 'V', 'E', '\r', '\n'};
constexpr std::size_t kHeaderSize = kMagic.size() + 4 + 4;
constexpr std::size_t kStateWords = 36;
constexpr std::size_t kCellBytes = sizeof(MapCell);
constexpr std::size_t kPayloadSize = (kStateWords + 1) * 4 + kCellCount * kCellBytes;
constexpr std::size_t kFileSize = kHeaderSize + kPayloadSize + 4;

// Far beyond anything a colony reaches, small enough that no sum of them overflows.
constexpr std::int32_t kMaxPopulation = 100'000'000;
constexpr float kMaxRate = 1.0e6f;

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
  bool AtEnd() const { return pos_ == bytes_.size(); }

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

void WriteState(Writer& w, const ColonyState& s) {
  ForEachStateField(s, [&w](const auto& v) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, float>) {
      w.F32(v);
    } else {
      w.I32(v);
    }
  });
}

void ReadState(Reader& r, ColonyState& s) {
  ForEachStateField(s, [&r](auto& v) {
    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(v)>, float>) {
      v = r.F32();
    } else {
      v = r.I32();
    }
  });
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
  if (!std::isfinite(s.growthRate) || std::fabs(s.growthRate) > kMaxRate) return "growthRate";
  if (!std::isfinite(s.growthAccumulator) || std::fabs(s.growthAccumulator) > kMaxRate) {
    return "growthAccumulator";
  }
  if (!InRange(s.earthContact, 0, 2)) return "earthContact";
  for (int k = 0; k < kComplaintSlots - 1; ++k) {
    if (!InRange(s.complaints[k], 0, 4)) return "complaints";
  }
  if (s.complaints[kComplaintSlots - 1] != 0) return "complaints";
  if (!InRange(s.buildSerial, 0, kMaxPopulation)) return "buildSerial";
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

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) crc = table[(crc ^ b) & 0xFFu] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

gfx::ByteBuffer EncodeSavedGame(const ColonyState& state, StructureType selectedType,
                                std::span<const MapCell> cells) {
  gfx::ByteBuffer payload;
  payload.reserve(kPayloadSize);
  Writer p(payload);
  WriteState(p, state);
  p.I32(selectedType);
  for (std::int32_t i = 0; i < kCellCount; ++i) {
    const MapCell cell = i < static_cast<std::int32_t>(cells.size()) ? cells[i] : MapCell{};
    for (std::uint8_t b : {cell.revealMask, cell.sheet, cell.frame, cell.type,
                           cell.constructionLeft, cell.animStart, cell.variant, cell.animLength}) {
      p.U8(b);
    }
    p.I32(cell.serial);
  }
  gfx::ByteBuffer file(kMagic.begin(), kMagic.end());
  file.reserve(kFileSize);
  Writer w(file);
  w.U32(kSaveFormatVersion);
  w.U32(static_cast<std::uint32_t>(payload.size()));
  file.insert(file.end(), payload.begin(), payload.end());
  w.U32(Crc32(payload));
  return file;
}

std::string CheckColony(const ColonyState& s, StructureType selectedType,
                        std::span<const MapCell> cells) {
  if (cells.size() != static_cast<std::size_t>(kCellCount)) return "cell count";
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

DecodeError DecodeSavedGame(std::span<const std::uint8_t> bytes, SavedGame& out) {
  if (bytes.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
    return DecodeError::kForeign;
  }
  Reader header(bytes.subspan(kMagic.size()));
  const std::uint32_t version = header.U32();
  const std::uint32_t payloadSize = header.U32();
  if (header.Failed()) return DecodeError::kDamaged;
  if (version > kSaveFormatVersion) return DecodeError::kNewer;
  if (version != kSaveFormatVersion || payloadSize != kPayloadSize || bytes.size() != kFileSize) {
    return DecodeError::kDamaged;
  }
  const auto payload = bytes.subspan(kHeaderSize, kPayloadSize);
  Reader trailer(bytes.subspan(kHeaderSize + kPayloadSize));
  if (trailer.U32() != Crc32(payload) || trailer.Failed()) return DecodeError::kDamaged;

  SavedGame game;
  Reader r(payload);
  ReadState(r, game.state);
  game.selectedType = r.I32();
  game.cells.resize(kCellCount);
  for (MapCell& cell : game.cells) {
    for (std::uint8_t* b :
         {&cell.revealMask, &cell.sheet, &cell.frame, &cell.type, &cell.constructionLeft,
          &cell.animStart, &cell.variant, &cell.animLength}) {
      *b = r.U8();
    }
    cell.serial = r.I32();
  }
  if (r.Failed() || !r.AtEnd()) return DecodeError::kDamaged;
  if (!CheckColony(game.state, game.selectedType, game.cells).empty()) {
    return DecodeError::kDamaged;
  }
  out = std::move(game);
  return DecodeError::kNone;
}

namespace {

std::string SaveFailure(const std::filesystem::path& path, const std::string& why) {
  return "The game could not be saved to " + path.filename().string() + ": " + why +
         "; the old file is unchanged.";
}

}  // namespace

std::string SaveGameToFile(const Colony& colony, const std::filesystem::path& path) {
  // Padded or cut to the saved size, another land's cells would come back in other places.
  if (colony.Map().cells.size() != static_cast<std::size_t>(kCellCount)) {
    return SaveFailure(path, "the map is not the size a saved game holds");
  }
  const gfx::ByteBuffer bytes =
      EncodeSavedGame(colony.State(), colony.SelectedType(), colony.Map().cells);
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code fsError;
  std::filesystem::create_directories(folder, fsError);
  if (fsError)
    return SaveFailure(path, "its folder could not be created (" + fsError.message() + ")");

  if (const std::error_code error = ReplaceFileDurably(path, bytes)) {
    return SaveFailure(path, error.message());
  }
  return {};
}

std::string LoadGameFromFile(Colony& colony, const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  if (colony.Map().cells.size() != static_cast<std::size_t>(kCellCount)) {
    return "The file " + name + " cannot be loaded into a map of another size; nothing was loaded.";
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return "The file " + name + " could not be opened; nothing was loaded.";
  // Read at most one byte more than a saved game holds: anything longer is not one.
  gfx::ByteBuffer bytes(kFileSize + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return "The file " + name + " could not be read; nothing was loaded.";
  bytes.resize(static_cast<std::size_t>(in.gcount()));

  SavedGame game;
  switch (DecodeSavedGame(bytes, game)) {
    case DecodeError::kNone:
      break;
    case DecodeError::kNewer:
      return "The file " + name + " was saved by a newer version of Redhollow; nothing was loaded.";
    case DecodeError::kForeign:
    case DecodeError::kDamaged:
      return "The file " + name +
             " is not a Redhollow saved game or is damaged; nothing was loaded.";
  }
  colony.ReplaceGame(game.state, game.selectedType, game.cells);
  return {};
}

}  // namespace sim
