#include "sim/colony_script.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "sim/colony.h"
#include "sim/earth_report.h"
#include "sim/save_file.h"

namespace sim {

namespace {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

// The shortest text that reads back as the same 32-bit float.
std::string JsonFloat(float value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

template <std::size_t N>
std::string JsonArray(const std::array<std::int32_t, N>& values) {
  std::string out = "[";
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(values[i]);
  }
  return out + "]";
}

class ScriptHost final : public ColonyHost {
 public:
  ScriptHost(std::ostream& out, bool answerYes) : out_(out), answerYes_(answerYes) {}
  void PlaySound(std::string_view) override {}
  void Notice(std::string_view, std::string_view text) override {
    out_ << "{\"notice\":" << JsonString(text) << "}\n";
  }
  bool Question(std::string_view, std::string_view text) override {
    out_ << "{\"question\":" << JsonString(text) << ",\"answer\":\"" << (answerYes_ ? "yes" : "no")
         << "\"}\n";
    return answerYes_;
  }
  void Changed(std::uint32_t) override {}
  void EndProgram() override { out_ << "{\"exit\":0}\n"; }

 private:
  std::ostream& out_;
  bool answerYes_;
};

std::string StateJson(const Colony& colony) {
  const ColonyState& s = colony.State();
  std::ostringstream o;
  o << "{\"population\":" << s.population << ",\"unemployed\":" << s.unemployed
    << ",\"day\":" << s.day << ",\"month\":" << s.month << ",\"year\":" << s.year
    << ",\"shortYearCycle\":" << s.shortYearCycle << ",\"speed\":" << s.speed
    << ",\"category\":" << s.category << ",\"categoryItem\":" << JsonArray(s.categoryItem)
    << ",\"water\":" << s.water << ",\"food\":" << s.food << ",\"power\":" << s.power
    << ",\"freeHousing\":" << s.freeHousing << ",\"communications\":" << s.communications
    << ",\"mentalHealth\":" << s.mentalHealth << ",\"reproduction\":" << s.reproduction
    << ",\"birthControl\":" << s.birthControl << ",\"health\":" << s.health
    << ",\"disease\":" << s.disease << ",\"growthRate\":" << JsonFloat(s.growthRate)
    << ",\"growthAccumulator\":" << JsonFloat(s.growthAccumulator)
    << ",\"earthContact\":" << s.earthContact << ",\"complaints\":" << JsonArray(s.complaints)
    << ",\"buildSerial\":" << s.buildSerial << ",\"selectedType\":" << colony.SelectedType()
    << ",\"diseaseDecay\":" << colony.DiseaseDecay() << "}";
  return o.str();
}

// One record: the date, the figures in the order the history names them, and the score or
// null while Earth was out of contact.
std::string RecordJson(const HistoryRecord& r) {
  std::ostringstream o;
  o << "{\"day\":" << r.day << ",\"month\":" << r.month << ",\"year\":" << r.year
    << ",\"population\":" << r.population << ",\"unemployed\":" << r.unemployed
    << ",\"water\":" << r.water << ",\"food\":" << r.food << ",\"power\":" << r.power
    << ",\"freeHousing\":" << r.freeHousing << ",\"mentalHealth\":" << r.mentalHealth
    << ",\"reproduction\":" << r.reproduction << ",\"health\":" << r.health
    << ",\"communications\":" << r.communications << ",\"growthRate\":" << JsonFloat(r.growthRate)
    << ",\"score\":" << (r.hasScore ? std::to_string(r.score) : "null") << "}";
  return o.str();
}

std::string CellJson(const MapCell& c, std::int32_t x, std::int32_t y) {
  std::ostringstream o;
  o << "{\"x\":" << x << ",\"y\":" << y << ",\"reveal\":" << int{c.revealMask}
    << ",\"sheet\":" << int{c.sheet} << ",\"frame\":" << int{c.frame} << ",\"type\":" << int{c.type}
    << ",\"left\":" << int{c.constructionLeft} << ",\"animStart\":" << int{c.animStart}
    << ",\"variant\":" << int{c.variant} << ",\"animLength\":" << int{c.animLength}
    << ",\"serial\":" << c.serial << "}";
  return o.str();
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<std::int64_t> ParseInt(std::string_view word) {
  std::int64_t value = 0;
  const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
  if (result.ec != std::errc{} || result.ptr != word.data() + word.size()) return std::nullopt;
  return value;
}

// One script's run; a thrown ScriptError ends it with status 2.
struct ScriptError {
  std::string reason;
};

class ScriptRunner {
 public:
  ScriptRunner(std::ostream& out, const ColonyScriptOptions& options)
      : out_(out),
        options_(options),
        host_(out, options.answerYes),
        colony_(land_, random_, host_),
        budget_(options.stepBudget) {
    if (options.constantDraw) {
      const std::int32_t value = *options.constantDraw;
      random_.Replace([value] { return value; });
    } else {
      random_.Seed(options.seed);
    }
    colony_.SetScreenShown(true);
  }

  bool Ended() const { return colony_.Ended(); }

  void Run(const std::vector<std::string_view>& words) {
    const std::string_view command = words[0];
    if (command == "new") {
      Arguments(words, 0);
      colony_.NewGame();
    } else if (command == "place") {
      Arguments(words, 3);
      const auto type = Int(words[1], 0, kStructureTypeCount - 1, "structure type");
      Place(type, Coordinate(words[2]), Coordinate(words[3]));
    } else if (command == "demolish") {
      Arguments(words, 2);
      const std::int32_t x = Coordinate(words[1]);
      const std::int32_t y = Coordinate(words[2]);
      // As a player does it: the hand cursor's press, then "Delete building".
      colony_.SelectCell(x, y);
      colony_.Command(kCommandDelete);
    } else if (command == "day") {
      Arguments(words, 1);
      const std::int64_t days = Count(words[1]);
      for (std::int64_t i = 0; i < days && !colony_.Ended() && Spend(); ++i) colony_.RunDay();
    } else if (command == "speed") {
      Arguments(words, 1);
      colony_.Command(kCommandPause + Int(words[1], 0, 2, "speed"));
    } else if (command == "tick") {
      Arguments(words, 1);
      const std::int64_t ticks = Count(words[1]);
      for (std::int64_t i = 0; i < ticks && !colony_.Ended() && Spend(); ++i) colony_.GameTick();
    } else if (command == "state") {
      Arguments(words, 0);
      out_ << StateJson(colony_) << '\n';
    } else if (command == "cell") {
      Arguments(words, 2);
      const std::int32_t x = Coordinate(words[1]);
      const std::int32_t y = Coordinate(words[2]);
      const MapCell* cell = land_.CellAt(x, y);
      if (cell == nullptr) throw ScriptError{"cell outside the map"};
      out_ << CellJson(*cell, x, y) << '\n';
    } else if (command == "cells") {
      Arguments(words, 0);
      for (std::int32_t y = 0; y < land_.rows; ++y) {
        for (std::int32_t x = 0; x < land_.columns; ++x) {
          const MapCell& cell = land_.Cell(x, y);
          if (cell.type != kLand) out_ << CellJson(cell, x, y) << '\n';
        }
      }
    } else if (command == "history") {
      Arguments(words, 0);
      const ColonyHistory& history = colony_.History();
      out_ << "{\"history\":{\"daily\":" << history.Daily().size()
           << ",\"monthly\":" << history.Monthly().size() << "}}\n";
      for (const HistoryRecord& record : history.Daily()) {
        out_ << "{\"daily\":" << RecordJson(record) << "}\n";
      }
      for (const HistoryRecord& record : history.Monthly()) {
        out_ << "{\"monthly\":" << RecordJson(record) << "}\n";
      }
    } else if (command == "report") {
      Arguments(words, 0);
      const EarthReport r = ComputeEarthReport(land_, colony_.State());
      out_ << "{\"complaints\":" << JsonArray(r.complaints) << ",\"levels\":" << JsonArray(r.levels)
           << ",\"points\":" << r.points << ",\"verdict\":" << r.verdict << ",\"score\":" << r.score
           << "}\n";
    } else if (command == "save" || command == "load") {
      Arguments(words, 1);
      std::string error = "saving and loading are disabled";
      if (options_.allowFiles) {
        const std::string path(words[1]);
        error = command == "save" ? SaveGameToFile(colony_, path) : LoadGameFromFile(colony_, path);
      }
      if (!error.empty()) out_ << "{\"error\":" << JsonString(error) << "}\n";
    } else {
      throw ScriptError{"unknown command '" + std::string(command) + "'"};
    }
  }

 private:
  static void Arguments(const std::vector<std::string_view>& words, std::size_t count) {
    if (words.size() != count + 1) {
      throw ScriptError{std::string(words[0]) + " takes " + std::to_string(count) +
                        (count == 1 ? " argument" : " arguments")};
    }
  }
  static std::int32_t Int(std::string_view word, std::int64_t low, std::int64_t high,
                          const char* what) {
    const auto value = ParseInt(word);
    if (!value || *value < low || *value > high) {
      throw ScriptError{"bad " + std::string(what) + " '" + std::string(word) + "'"};
    }
    return static_cast<std::int32_t>(*value);
  }
  static std::int32_t Coordinate(std::string_view word) {
    return Int(word, std::numeric_limits<std::int32_t>::min(),
               std::numeric_limits<std::int32_t>::max(), "coordinate");
  }
  static std::int64_t Count(std::string_view word) {
    const auto value = ParseInt(word);
    if (!value || *value < 0) throw ScriptError{"bad count '" + std::string(word) + "'"};
    return *value;
  }
  bool Spend() {
    if (budget_ <= 0) return false;
    --budget_;
    return true;
  }
  void Place(StructureType type, std::int32_t x, std::int32_t y) {
    switch (colony_.PlaceStructure(type, x, y)) {
      case PlaceResult::kRefusedType:
        out_ << "{\"refused\":\"type\"}\n";
        break;
      case PlaceResult::kRefusedCell:
        out_ << "{\"refused\":\"cell\"}\n";
        break;
      default:
        break;  // built, or refused with its own notice
    }
  }

  std::ostream& out_;
  const ColonyScriptOptions& options_;
  ScriptHost host_;
  world::Land land_;
  world::Random random_;
  Colony colony_;
  std::int64_t budget_;
};

}  // namespace

int RunColonyScript(std::istream& script, std::ostream& out, std::ostream& errors,
                    const ColonyScriptOptions& options) {
  ScriptRunner runner(out, options);
  std::string line;
  std::int64_t number = 0;
  while (!runner.Ended() && std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto words = SplitWords(line);
    if (words.empty() || words[0].front() == '#') continue;
    try {
      runner.Run(words);
    } catch (const ScriptError& error) {
      out.flush();
      errors << "line " << number << ": " << error.reason << '\n';
      return 2;
    }
  }
  return 0;
}

namespace {

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> ParseColonyScriptArgs(std::span<const std::string_view> args,
                                                 ColonyScriptOptions& options,
                                                 std::optional<std::string_view>& scriptPath) {
  bool randomChosen = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--rng" || arg == "--seed" || arg == "--answer") {
      if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
      const std::string_view value = args[++i];
      if (arg == "--answer") {
        if (value != "yes" && value != "no") return "--answer takes yes or no";
        options.answerYes = value == "yes";
        continue;
      }
      if (randomChosen) return "give only one of --rng and --seed";
      randomChosen = true;
      if (arg == "--seed") {
        const auto seed = ParseNumber<std::uint64_t>(value);
        if (!seed) return "--seed takes a whole number";
        options.seed = *seed;
      } else {
        constexpr std::string_view prefix = "const:";
        const auto draw = value.starts_with(prefix)
                              ? ParseNumber<std::int32_t>(value.substr(prefix.size()))
                              : std::nullopt;
        if (!draw || *draw < 0) return "--rng takes const:N with N >= 0";
        options.constantDraw = *draw;
      }
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return "unknown option " + std::string(arg);
    } else if (scriptPath) {
      return "only one script";
    } else {
      scriptPath = arg;
    }
  }
  return std::nullopt;
}

}  // namespace sim
