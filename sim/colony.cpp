#include "sim/colony.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "sim/earth_report.h"
#include "world/highway.h"
#include "world/map_generation.h"

namespace sim {

namespace {

constexpr std::int32_t kAnimationDividerCycle = 3;
constexpr std::int32_t kDayDividerCycle = 13;
constexpr std::int32_t kDaysPerGrowthYear = 669;
constexpr std::int32_t kDiseaseDecayDays = 10;
constexpr std::int32_t kCommCategoryItem = 7 - kFirstBuildingCategory;

float AsFloat(double value) {
  return static_cast<float>(value);
}

// What a cell's picture and minimap colour show; its serial and days left are not seen.
bool SameLooks(const MapCell& a, const MapCell& b) {
  return a.revealMask == b.revealMask && a.sheet == b.sheet && a.frame == b.frame &&
         a.type == b.type && a.animStart == b.animStart && a.variant == b.variant &&
         a.animLength == b.animLength;
}

}  // namespace

Colony::Colony(world::Land& land, world::Random& random, ColonyHost& host)
    : land_(land), random_(random), host_(host) {}

// ---------------------------------------------------------------------------------------
// The tick and the day

void Colony::GameTick() {
  if (ended_) return;
  animationDivider_ = (animationDivider_ + 1) % kAnimationDividerCycle;
  dayDivider_ = (dayDivider_ + 1) % kDayDividerCycle;
  const std::int32_t speed = state_.speed;
  if ((speed == kNormal && animationDivider_ == 0) || speed == kAccelerated) AnimationStep();
  if ((speed == kNormal && dayDivider_ == 0) || speed == kAccelerated) RunDay();
  if (ended_) return;
  host_.ScrollOrRedrawAnimations();
}

void Colony::AnimationStep() {
  world::StepAnimations(land_.cells);
}

void Colony::RunDay() {
  if (ended_) return;
  const float rememberedRate = state_.growthRate;
  bool panelsChanged = false;
  bool mapChanged = false;
  bool announceContact = false;

  // The calendar.
  state_.day += 1;
  if (state_.day > MonthLength(state_.month, state_.shortYearCycle)) {
    state_.day = 1;
    state_.month += 1;
    if (state_.month > kMonthCount - 1) {
      state_.month = 0;
      state_.year = state_.year >= 9999 ? 0 : state_.year + 1;
      state_.shortYearCycle = state_.shortYearCycle >= 9 ? 0 : state_.shortYearCycle + 1;
    }
  }
  host_.Changed(kChangedDate);

  if (state_.disease == 0) RunDisease();

  const std::int32_t construction = AdvanceConstruction();
  if (construction == kConstructionFinished) {
    if (state_.earthContact == kContactOn && !earthCommEnabled_) {
      earthCommEnabled_ = true;
      host_.Changed(kChangedEarthCommButton);
      announceContact = true;
    }
    panelsChanged = true;
  }
  if (construction != kConstructionNothing) mapChanged = true;

  if (state_.power < 0) {
    host_.Notice(kSoundAlarm, kTextPowerShortage);
    DeleteNewestStructures();
    panelsChanged = true;
    mapChanged = true;
  }

  UpdateGrowth();
  if (state_.growthRate != rememberedRate) panelsChanged = true;

  if (state_.growthAccumulator > 1.0f || state_.growthAccumulator < -1.0f) {
    // Bounded so that a wild accumulator can never overflow the conversion.
    const double whole = std::trunc(std::clamp<double>(state_.growthAccumulator, -1e9, 1e9));
    const auto people = static_cast<std::int32_t>(whole);
    AddPeople(state_, people);
    state_.growthAccumulator = AsFloat(static_cast<double>(state_.growthAccumulator) - whole);
    if (state_.population < 1) {
      state_.population = 0;
      // Before the question: a Yes founds a new colony, whose history starts empty, and a No
      // leaves this one ended with its last day in its history.
      RecordDay();
      GameOver();
      return;
    }
    if (state_.unemployed < 0) {
      host_.Notice(kSoundAlarm, kTextPeopleShortage);
      DeleteNewestStructures();
      mapChanged = true;
    }
    panelsChanged = true;
  }

  if (panelsChanged) {
    RefreshInfoArea();
    host_.Changed(kChangedCounters);
  }
  if (mapChanged) host_.Changed(kChangedMap);
  // A Comm. Center finished today may already have been pulled down by a shortage; then its
  // contact was announced as lost and must not be announced as on.
  if (announceContact && state_.earthContact == kContactOn) {
    host_.Notice(kSoundWarning, kTextContactOn);
  }
  // Last, after every change the day made, shortages and all.
  RecordDay();
}

void Colony::RecordDay() {
  const ColonyState& s = state_;
  HistoryRecord record;
  record.day = s.day;
  record.month = s.month;
  record.year = s.year;
  record.population = s.population;
  record.unemployed = s.unemployed;
  record.water = s.water;
  record.food = s.food;
  record.power = s.power;
  record.freeHousing = s.freeHousing;
  record.mentalHealth = s.mentalHealth;
  record.reproduction = s.reproduction;
  record.health = s.health;
  record.communications = s.communications;
  record.growthRate = s.growthRate;
  if (s.earthContact == kContactOn) {
    // The report writes its complaints into the state it is given; the colony's own stay as
    // the last report the player opened left them.
    ColonyState scratch = s;
    record.hasScore = true;
    record.score = ComputeEarthReport(land_, scratch).score;
  }
  history_.Record(record, s.day == MonthLength(s.month, s.shortYearCycle));
}

std::int32_t Colony::AdvanceConstruction() {
  std::int32_t result = kConstructionNothing;
  const std::int32_t columns = std::max(land_.columns, 1);
  auto reportCell = [&](const MapCell& cell) {
    const auto index = static_cast<std::int32_t>(&cell - land_.cells.data());
    host_.CellChanged(index % columns, index / columns);
  };
  for (MapCell& cell : land_.cells) {
    const StructureType type = cell.type;
    if (type == kLand || !IsValidStructureType(type)) continue;
    const StructureSpec& spec = StructureCatalogue[type];
    const StructureLook& look = LookOf(type);
    std::int32_t left = cell.constructionLeft;
    if (left == 0) {
      if (!IsFoodProducer(type)) continue;
      std::int32_t level = 3;
      if (state_.water == 0 || state_.food == 0) {
        level = 0;
      } else if (state_.food < 20) {
        level = 1;
      } else if (state_.food < 100) {
        level = 2;
      }
      const auto frame = static_cast<std::uint8_t>(look.finishedFrame + level);
      if (frame != cell.frame) {
        cell.frame = frame;
        reportCell(cell);
        result = std::max(result, kConstructionFrameChanged);
      }
      continue;
    }
    left -= 1;
    cell.constructionLeft = static_cast<std::uint8_t>(left);
    if (left == 0) {
      const std::int32_t variant = look.variants > 1 ? cell.variant : 0;
      cell.frame = static_cast<std::uint8_t>(look.finishedFrame + variant);
      cell.sheet = world::kSheetStructure;
      if (look.animationFrame != 0) {
        cell.animStart = static_cast<std::uint8_t>(look.animationFrame);
        cell.variant = 0;
        cell.animLength = static_cast<std::uint8_t>(look.animationLength);
      }
      ApplyStructure(state_, type, +1);
      if (type == kCommCenter) state_.earthContact = kContactOn;
      reportCell(cell);
      result = kConstructionFinished;
      continue;
    }
    std::int32_t frame = look.constructionFrame;
    if (spec.buildDays > 0) {
      frame += look.constructionSteps * (spec.buildDays - left) / spec.buildDays;
    }
    if (IsHouse(type)) frame += cell.variant * look.constructionSteps;
    if (static_cast<std::uint8_t>(frame) != cell.frame) {
      cell.frame = static_cast<std::uint8_t>(frame);
      reportCell(cell);
      result = std::max(result, kConstructionFrameChanged);
    }
  }
  return result;
}

void Colony::UpdateGrowth() {
  ColonyState& s = state_;
  double births = 0.0;
  if (s.reproduction > 0 && s.population > 0 && s.birthControl != 0) {
    births = (4.0 * s.unemployed / s.population + 1.0) *
             (static_cast<double>(s.reproduction) / s.birthControl);
  }
  const double h = static_cast<double>(s.health) - s.disease;
  double deaths = 25.0;
  if (h > 0) {
    deaths = 100.0 / (h + 4.0);
  } else if (h < 0) {
    deaths = 5.0 * (2.0 * s.disease + 4.0 - s.health);
  }
  double target = births - deaths;
  if (s.food > 50 && s.population < 60) target += 12;
  if (s.water > 50 && s.population < 40) target += 10;
  if (s.freeHousing > 50 && s.population < 20) target += 8;
  target = std::clamp(std::trunc(target), -50.0, 50.0);

  if (s.freeHousing <= 0 && target > -1) target = -1;
  if (s.food <= 0 && target > -20) {
    target = -20;
    s.growthRate = AsFloat(s.growthRate - 0.1);
  }
  if (s.water <= 0 && target > -50) {
    target = -50;
    s.growthRate = AsFloat(s.growthRate - 0.1);
  }
  if (s.disease > 0) {
    diseaseDecay_ += 1;
    if (diseaseDecay_ > kDiseaseDecayDays) {
      diseaseDecay_ = 0;
      s.disease -= 1;
    }
    s.growthRate = AsFloat(s.growthRate - 0.1);
  }
  if (s.growthRate < target) s.growthRate = AsFloat(s.growthRate + 0.1);
  if (s.growthRate > target) s.growthRate = AsFloat(s.growthRate - 0.1);
  // Play never reaches these bounds; holding the rate inside them keeps every colony a day
  // leaves one that a saved game can hold.
  s.growthRate = std::clamp(s.growthRate, kMinGrowthRate, kMaxGrowthRate);

  const float yearly = AsFloat(s.population * static_cast<double>(s.growthRate) * 0.01);
  const float daily = AsFloat(yearly / static_cast<double>(kDaysPerGrowthYear));
  s.growthAccumulator = AsFloat(static_cast<double>(s.growthAccumulator) + daily);
}

// ---------------------------------------------------------------------------------------
// Disasters

void Colony::RunDisease() {
  // Each test has its own draws; a later one still runs when an earlier one fired.
  if (state_.water > 160 && random_.Below(100) == 0) Outbreak(kTextWaterDisease, 50, 50);
  if (state_.food > 160 && random_.Below(200) == 0) Outbreak(kTextFoodPoisoning, 25, 25);
  if (random_.Below(32000) == 0) Outbreak(kTextVirus, 100, 100);
}

void Colony::Outbreak(std::string_view text, std::int32_t base, std::int32_t spread) {
  host_.Notice(kSoundAlarm, text);
  state_.disease = base + random_.Below(spread);
  diseaseDecay_ = 0;
}

void Colony::DeleteNewestStructures() {
  auto shortage = [this] { return state_.unemployed < 0 || state_.power < 0; };
  // Serial by serial from the newest, each serial's cells in map order. One pass over the
  // map finds them all (demolishing leaves serials as they are).
  struct Built {
    std::int32_t serial;
    world::CellPos cell;
  };
  std::vector<Built> newest;
  if (shortage()) {
    for (std::int32_t y = 0; y < land_.rows; ++y) {
      for (std::int32_t x = 0; x < land_.columns; ++x) {
        const MapCell* cell = land_.CellAt(x, y);
        if (cell == nullptr) continue;
        const std::int32_t serial = cell->serial;
        if (serial >= 1 && serial <= state_.buildSerial) newest.push_back({serial, {x, y}});
      }
    }
    // Already in map order, which a stable sort keeps among equal serials.
    std::stable_sort(newest.begin(), newest.end(),
                     [](const Built& a, const Built& b) { return a.serial > b.serial; });
  }
  std::size_t next = 0;
  while (shortage() && state_.buildSerial >= 1) {
    const std::int32_t serial = state_.buildSerial;
    for (; next < newest.size() && newest[next].serial == serial; ++next) {
      DemolishCell(newest[next].cell.x, newest[next].cell.y, false);
    }
    state_.buildSerial = serial - 1;
    // A serial no cell holds changes nothing: on to the next one that some cell holds.
    if (shortage()) state_.buildSerial = next < newest.size() ? newest[next].serial : 0;
  }
  host_.Changed(kChangedMapRebuild);
}

void Colony::GameOver() {
  state_.population = 0;
  RefreshInfoArea();
  host_.Changed(kChangedCounters);
  if (host_.Question(kSoundGameOver, kTextGameOver)) {
    NewGame();
  } else {
    ended_ = true;
    host_.EndProgram();
  }
}

// ---------------------------------------------------------------------------------------
// Commands

bool Colony::IsPaletteTypeShown(StructureType type) const {
  const std::int32_t slot = PaletteSlotOf(type);
  return slot >= 0 && slot < kPaletteSlotCount && paletteSlots_[slot] == 1;
}

bool Colony::CanBuildOn(std::int32_t x, std::int32_t y) const {
  const MapCell* cell = land_.CellAt(x, y);
  if (cell == nullptr) return false;
  return cell->type == kLand && cell->revealMask == world::kRevealAll &&
         state_.category >= kFirstBuildingCategory &&
         state_.unemployed >= SpecOf(selectedType_).builders;
}

PlaceResult Colony::PlaceStructure(StructureType type, std::int32_t x, std::int32_t y) {
  // Only a shown palette button may build: this keeps the landing module, the spare types and
  // a second Comm. Center off the map whoever calls.
  if (!IsValidStructureType(type) || !IsPaletteTypeShown(type)) return PlaceResult::kRefusedType;
  MapCell* target = land_.CellAt(x, y);
  if (target == nullptr) return PlaceResult::kRefusedCell;
  MapCell& cell = *target;
  if (cell.type != kLand || cell.revealMask != world::kRevealAll) return PlaceResult::kRefusedCell;

  const StructureSpec& spec = StructureCatalogue[type];
  if (state_.unemployed < spec.builders) {
    host_.Notice(kSoundWarning, kTextNoPeople);
    return PlaceResult::kRefusedPeople;
  }
  if (spec.water < 0 && state_.water < -spec.water) {
    host_.Notice(kSoundWarning, kTextNoWater);
    return PlaceResult::kRefusedWater;
  }
  if (spec.power < 0 && state_.power < -spec.power) {
    host_.Notice(kSoundWarning, kTextNoPower);
    return PlaceResult::kRefusedPower;
  }

  // Highways joining their neighbours and the explored disc lie within the exploring radius.
  ReportLooksAround(x, y, world::kExploreRadius, [&] { Build(cell, type, x, y); });
  host_.Changed(kChangedMapRebuild);
  return PlaceResult::kBuilt;
}

void Colony::Build(MapCell& cell, StructureType type, std::int32_t x, std::int32_t y) {
  const StructureSpec& spec = StructureCatalogue[type];
  const StructureLook& look = LookOf(type);
  cell.type = static_cast<std::uint8_t>(type);
  state_.buildSerial += 1;
  cell.serial = state_.buildSerial;
  host_.PlaySound(kSoundBuild);

  if (type == kHighway) {
    world::JoinHighway(land_, x, y);
    cell.constructionLeft = 0;
    world::RejoinHighwayNeighbours(land_, x, y);
    ApplyStructure(state_, kHighway, +1);
  } else {
    cell.constructionLeft = static_cast<std::uint8_t>(spec.buildDays);
    cell.sheet = world::kSheetSite;
    cell.frame = static_cast<std::uint8_t>(look.constructionFrame);
    if (look.variants > 1) {
      cell.variant = static_cast<std::uint8_t>(random_.Below(look.variants));
      if (IsHouse(type)) {
        cell.frame = static_cast<std::uint8_t>(look.constructionFrame +
                                               cell.variant * look.constructionSteps);
      }
    }
    state_.unemployed -= spec.builders;
    if (type == kCommCenter) {
      state_.earthContact = kContactBuilding;
      paletteSlots_[kCommCenterSlot] = 0;
      state_.categoryItem[kCommCategoryItem] = 0;
      host_.Changed(kChangedPalette);
    }
    host_.Changed(kChangedCounters);
    RefreshInfoArea();
  }
  world::RevealAround(land_, x, y);
}

void Colony::DemolishStructure(std::int32_t x, std::int32_t y) {
  DemolishCell(x, y, true);
}

void Colony::DemolishCell(std::int32_t x, std::int32_t y, bool rebuildView) {
  MapCell* target = land_.CellAt(x, y);
  if (target == nullptr) return;
  MapCell& cell = *target;
  const StructureType type = cell.type;
  if (type == kLand || type == kLandingModule || !IsValidStructureType(type)) return;

  if (cell.constructionLeft != 0) {
    state_.unemployed += StructureCatalogue[type].builders;
  } else {
    ApplyStructure(state_, type, -1);
  }
  if (type == kCommCenter) {
    if (state_.earthContact == kContactOn) {
      host_.Notice(kSoundWarning, kTextContactLost);
    } else {
      host_.PlaySound(kSoundWarning);
    }
    state_.earthContact = kNoContact;
    paletteSlots_[kCommCenterSlot] = 1;
    earthCommEnabled_ = false;
    host_.Changed(kChangedPalette | kChangedEarthCommButton);
  }
  host_.PlaySound(kSoundDemolish);

  // A highway's neighbours lose their joint to it.
  ReportLooksAround(x, y, 1, [&] {
    cell.type = kLand;
    cell.constructionLeft = 0;
    cell.animStart = 0;
    cell.sheet = world::kSheetGround;
    cell.frame = static_cast<std::uint8_t>(world::kCommonGroundFirst + random_.Below(5));
    if (type == kHighway) world::RejoinHighwayNeighbours(land_, x, y);
  });
  MoveSelection(-1, 0);
  host_.Changed(kChangedSelection | (rebuildView ? kChangedMapRebuild : kChangedMap));
  SetCategory(kStatusCategory);
  host_.Changed(kChangedCounters);
}

void Colony::NewGame() {
  world::GenerateMap(land_, random_);
  ResetToNewGame(state_);
  history_.Clear();
  // The old map's selection would point at a cell of the new map.
  land_.ClearSelection();
  // Every panel shows the new colony at once, and the view moves to its landing site.
  host_.Changed(kChangedCounters | kChangedDate | kChangedInfoArea | kChangedSelection |
                kChangedNewMap);
  if (screenShown_) RestoreView();
}

void Colony::RestoreView() {
  animationDivider_ = 0;
  dayDivider_ = 0;
  diseaseDecay_ = 0;
  paletteSlots_[kCommCenterSlot] = state_.earthContact == kNoContact ? 1 : 0;
  earthCommEnabled_ = state_.earthContact == kContactOn;
  host_.Changed(kChangedPalette | kChangedEarthCommButton);
  // Pressing the category tab and the time button sends their commands again.
  SetCategory(std::clamp(state_.category, 0, kCategoryCount - 1));
  state_.speed = std::clamp(state_.speed, 0, 2);
  if (!viewRestored_) {
    viewRestored_ = true;
  } else {
    host_.Changed(kChangedToolbar | kChangedMapRebuild);
  }
}

void Colony::ReplaceGame(const ColonyState& state, StructureType selectedType,
                         std::span<const MapCell> cells, const ColonyHistory& history) {
  assert(cells.size() == land_.cells.size() && "a loaded game must fill the land exactly");
  state_ = state;
  history_ = history;
  selectedType_ = selectedType;
  std::copy_n(cells.begin(), std::min(cells.size(), land_.cells.size()), land_.cells.begin());
  land_.ClearSelection();
  // A saved game keeps no view: the view goes to the loaded colony's landing module.
  const auto landing = std::find_if(land_.cells.begin(), land_.cells.end(),
                                    [](const MapCell& c) { return c.type == kLandingModule; });
  if (landing != land_.cells.end()) {
    const auto index = static_cast<std::int32_t>(landing - land_.cells.begin());
    land_.centerX = index % land_.columns;
    land_.centerY = index / land_.columns;
  }
  // The loaded colony has its own counters and date, and the view follows its map.
  host_.Changed(kChangedCounters | kChangedDate | kChangedSelection | kChangedNewMap);
  RestoreView();
}

bool Colony::Command(std::int32_t code) {
  if (code >= kCommandPause && code <= kCommandAccelerate) {
    state_.speed = code - kCommandPause;
    return true;
  }
  if (code == kCommandDelete) {
    if (land_.HasSelection()) DemolishStructure(land_.selectedX, land_.selectedY);
    return true;
  }
  if (code == kCommandEarthComm) {
    if (earthCommEnabled_) host_.ShowEarthReport();
    return true;
  }
  if (code >= kCommandFirstCategory && code < kCommandFirstCategory + kCategoryCount) {
    SetCategory(code - kCommandFirstCategory);
    return true;
  }
  if (code >= kCommandFirstItem && code < kCommandFirstItem + kItemsPerCategory) {
    if (state_.category >= kFirstBuildingCategory) {
      const std::int32_t item = code - kCommandFirstItem;
      state_.categoryItem[state_.category - kFirstBuildingCategory] = item;
      selectedType_ = PaletteType(state_.category, item);
    }
    return true;
  }
  return false;
}

bool Colony::SelectCell(std::int32_t x, std::int32_t y) {
  const MapCell* cell = land_.CellAt(x, y);
  if (cell == nullptr || cell->type == kLand) return false;
  if (land_.selectedX == x && land_.selectedY == y) return false;
  MoveSelection(x, y);
  host_.Changed(kChangedSelection | kChangedMap);
  SetCategory(kInformationCategory);
  return true;
}

bool Colony::ClearSelection() {
  if (!land_.HasSelection()) return false;
  MoveSelection(-1, 0);
  host_.Changed(kChangedSelection | kChangedMap);
  SetCategory(kStatusCategory);
  return true;
}

void Colony::MoveSelection(std::int32_t x, std::int32_t y) {
  if (land_.HasSelection()) host_.CellChanged(land_.selectedX, land_.selectedY);
  if (x < 0) {
    land_.ClearSelection();
  } else {
    land_.Select(x, y);
  }
  if (land_.HasSelection()) host_.CellChanged(land_.selectedX, land_.selectedY);
}

template <typename Change>
void Colony::ReportLooksAround(std::int32_t x, std::int32_t y, std::int32_t radius, Change change) {
  std::vector<MapCell> before;
  before.reserve(static_cast<std::size_t>((2 * radius + 1) * (2 * radius + 1)));
  for (std::int32_t dy = -radius; dy <= radius; ++dy) {
    for (std::int32_t dx = -radius; dx <= radius; ++dx) {
      const MapCell* cell = land_.CellAt(x + dx, y + dy);
      before.push_back(cell != nullptr ? *cell : MapCell{});
    }
  }
  change();
  std::size_t i = 0;
  for (std::int32_t dy = -radius; dy <= radius; ++dy) {
    for (std::int32_t dx = -radius; dx <= radius; ++dx) {
      const MapCell* cell = land_.CellAt(x + dx, y + dy);
      if (cell != nullptr && !SameLooks(*cell, before[i])) host_.CellChanged(x + dx, y + dy);
      ++i;
    }
  }
}

void Colony::SetCategory(std::int32_t category) {
  state_.category = category;
  RefreshInfoArea();
}

void Colony::RefreshInfoArea() {
  // Drawing the info area is what sets the type a map click builds.
  const std::int32_t category = state_.category;
  if (category >= kFirstBuildingCategory && category < kCategoryCount) {
    const std::int32_t item =
        std::clamp(state_.categoryItem[static_cast<std::size_t>(category - kFirstBuildingCategory)],
                   0, kItemsPerCategory - 1);
    selectedType_ = PaletteType(category, item);
  } else {
    selectedType_ = kLand;
  }
  host_.Changed(kChangedInfoArea);
}

}  // namespace sim
