#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <span>
#include <system_error>
#include <tuple>

#include "sim/file_descriptor.h"
#include "sim/replace_file.h"

namespace app {
namespace {

namespace fs = std::filesystem;

// A settings file is a few hundred bytes; what lies beyond these bounds is not ours to hold.
constexpr std::size_t kMaxFileBytes = 64 * 1024;
constexpr std::size_t kMaxLineBytes = 1024;
constexpr int kMaxWindowPlace = 4 * kMaxWindowSide;  // desktops of several screens
constexpr int kFileVersion = 1;
// A file of junk would say the same thing for every line; past these it is summed up.
constexpr std::size_t kMaxComplaints = 20;

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<int> ParseNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size() ||
      value < lowest || value > highest)
    return std::nullopt;
  return value;
}

bool SameWord(std::string_view text, std::string_view word) {
  return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
}

// Either pair of words reads as a switch; each key writes its own pair.
std::optional<bool> ParseSwitch(std::string_view text) {
  for (const std::string_view yes : {"on", "yes", "true"})
    if (SameWord(text, yes)) return true;
  for (const std::string_view no : {"off", "no", "false"})
    if (SameWord(text, no)) return false;
  return std::nullopt;
}

template <bool Settings::*field>
bool ReadSwitch(std::string_view value, Settings& settings) {
  const std::optional<bool> on = ParseSwitch(value);
  if (on) settings.*field = *on;
  return on.has_value();
}

// One key of the file: how its value is read into the settings and written from them. The
// table is the whole format; a key's default is what it writes for Settings{}.
struct KeyRule {
  std::string_view key;
  std::string_view expected;  // for the complaint about a value that cannot be used
  bool (*read)(std::string_view value, Settings& settings);
  std::optional<std::string> (*write)(const Settings& settings);  // none: no line
};

const std::array<KeyRule, 7> kKeyRules = {{
    {"sound-effects", "on or off", ReadSwitch<&Settings::soundEffects>,
     [](const Settings& s) -> std::optional<std::string> { return s.soundEffects ? "on" : "off"; }},
    {"effects-volume", "a whole number from 0 to 100",
     [](std::string_view value, Settings& s) {
       const std::optional<int> volume = ParseNumber(value, 0, 100);
       if (volume) s.effectsVolume = *volume;
       return volume.has_value();
     },
     [](const Settings& s) -> std::optional<std::string> {
       return std::to_string(s.effectsVolume);
     }},
    {"full-screen", "yes or no", ReadSwitch<&Settings::fullScreen>,
     [](const Settings& s) -> std::optional<std::string> { return s.fullScreen ? "yes" : "no"; }},
    {"window-size", "WIDTHxHEIGHT, at least 800x600",
     [](std::string_view value, Settings& s) {
       const std::optional<std::pair<int, int>> size = ParseWindowSize(value);
       if (size) std::tie(s.windowWidth, s.windowHeight) = *size;
       return size.has_value();
     },
     [](const Settings& s) -> std::optional<std::string> {
       return std::to_string(s.windowWidth) + "x" + std::to_string(s.windowHeight);
     }},
    {"window-position", "X,Y in whole pixels",
     [](std::string_view value, Settings& s) {
       const std::size_t comma = value.find(',');
       if (comma == std::string_view::npos) return false;
       const std::optional<int> x =
           ParseNumber(Trim(value.substr(0, comma)), -kMaxWindowPlace, kMaxWindowPlace);
       const std::optional<int> y =
           ParseNumber(Trim(value.substr(comma + 1)), -kMaxWindowPlace, kMaxWindowPlace);
       if (!x || !y) return false;
       s.windowX = x;
       s.windowY = y;
       return true;
     },
     [](const Settings& s) -> std::optional<std::string> {
       if (!s.windowX || !s.windowY) return std::nullopt;
       return std::to_string(*s.windowX) + "," + std::to_string(*s.windowY);
     }},
    {"autosave-minutes", "0 (off), 2, 5 or 10",
     [](std::string_view value, Settings& s) {
       const std::optional<int> minutes = ParseNumber(value, 0, 10);
       if (!minutes || std::ranges::find(kAutosaveChoices, *minutes) == std::end(kAutosaveChoices))
         return false;
       s.autosaveMinutes = *minutes;
       return true;
     },
     [](const Settings& s) -> std::optional<std::string> {
       return std::to_string(s.autosaveMinutes);
     }},
    {"map-scale", "50, 71, 100, 141 or 200",
     [](std::string_view value, Settings& s) {
       const std::optional<int> percent = ParseNumber(value, 0, 1000);
       if (!percent || std::ranges::find(kMapScaleChoices, *percent) == std::end(kMapScaleChoices))
         return false;
       s.mapScale = *percent;
       return true;
     },
     [](const Settings& s) -> std::optional<std::string> { return std::to_string(s.mapScale); }},
}};

constexpr std::string_view kVersionKey = "version";

// Text that a person wrote: no control bytes but the tab.
bool IsText(std::string_view line) {
  return std::ranges::none_of(line, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
  });
}

bool IsKey(std::string_view key) {
  return !key.empty() && std::ranges::all_of(key, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
  });
}

std::error_code MakeFolder(const fs::path& folder) {
  std::error_code ignored;
  if (folder.empty() || fs::is_directory(folder, ignored)) return {};
  // A folder of the player's own configuration is theirs alone.
  if (const fs::path parent = folder.parent_path(); parent != folder)
    if (const std::error_code error = MakeFolder(parent)) return error;
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    return {errno, std::generic_category()};
  return {};
}

}  // namespace

std::optional<std::pair<int, int>> ParseWindowSize(std::string_view text) {
  const std::size_t cross = text.find('x');
  if (cross == std::string_view::npos) return std::nullopt;
  const std::string_view width = text.substr(0, cross);
  const std::string_view height = text.substr(cross + 1);
  const auto digits = [](std::string_view part) {
    return !part.empty() && std::ranges::all_of(part, [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(width) || !digits(height)) return std::nullopt;
  const std::optional<int> w = ParseNumber(width, kMinWindowWidth, kMaxWindowSide);
  const std::optional<int> h = ParseNumber(height, kMinWindowHeight, kMaxWindowSide);
  if (!w || !h) return std::nullopt;
  return std::pair{*w, *h};
}

std::optional<fs::path> SettingsPath(const char* xdgConfigHome, const char* home) {
  const auto absolute = [](const char* value) {
    return value != nullptr && value[0] != '\0' && fs::path(value).is_absolute();
  };
  if (absolute(xdgConfigHome)) return fs::path(xdgConfigHome) / "redhollow" / "settings.ini";
  // A relative HOME would put the file wherever the game happens to run.
  if (absolute(home)) return fs::path(home) / ".config" / "redhollow" / "settings.ini";
  return std::nullopt;
}

std::optional<fs::path> UserSettingsPath() {
  return SettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

SettingsText ParseSettings(std::string_view text, std::string_view fileName) {
  SettingsText result;
  int lineNumber = 0;
  std::size_t unsaid = 0;
  const auto complain = [&](std::string_view what) {
    if (result.complaints.size() == kMaxComplaints) {
      ++unsaid;
      return;
    }
    result.complaints.push_back("Redhollow: " + std::string(fileName) + ":" +
                                std::to_string(lineNumber) + ": " + std::string(what));
  };
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.size() > kMaxLineBytes) {
      complain("a line longer than " + std::to_string(kMaxLineBytes) + " bytes; ignored");
      continue;
    }
    if (!IsText(line)) {
      complain("not text; ignored");
      continue;
    }
    const std::string_view content = Trim(line);
    if (content.empty() || content.front() == '#' || content.front() == ';') continue;
    const std::size_t equals = content.find('=');
    const std::string_view key = Trim(content.substr(0, equals));
    if (equals == std::string_view::npos || !IsKey(key)) {
      complain("not a line of the form key = value; ignored");
      continue;
    }
    const std::string_view value = Trim(content.substr(equals + 1));
    if (key == kVersionKey) {
      // A newer version's file is read for the keys this one knows.
      if (!ParseNumber(value, kFileVersion, 1'000'000)) complain("version must be 1 or more");
      continue;
    }
    const auto rule = std::ranges::find(kKeyRules, key, &KeyRule::key);
    if (rule == kKeyRules.end()) {
      complain("unknown key " + std::string(key) + ", perhaps of a newer version; kept");
      result.unknownLines.emplace_back(content);
      continue;
    }
    Settings read = result.settings;
    if (!rule->read(value, read)) {
      const std::optional<std::string> fallback = rule->write(Settings{});
      complain(std::string(key) + " must be " + std::string(rule->expected) +
               (fallback ? "; using the default, " + *fallback : "; ignored"));
      continue;
    }
    result.settings = read;
  }
  if (unsaid > 0) {
    result.complaints.push_back("Redhollow: " + std::string(fileName) + ": " +
                                std::to_string(unsaid) + " more lines could not be used");
  }
  return result;
}

std::string FormatSettings(const Settings& settings, const std::vector<std::string>& unknownLines) {
  std::string text =
      "# Redhollow's settings. The game rewrites this file when a setting changes: lines of\n"
      "# keys it does not know are kept, comments are not. A value it cannot use counts as the\n"
      "# key's default.\n"
      "#   sound-effects = on | off          effects-volume = 0 to 100 (percent)\n"
      "#   full-screen = yes | no            window-size = WIDTHxHEIGHT (at least 800x600)\n"
      "#   window-position = X,Y             autosave-minutes = 0 (off) | 2 | 5 | 10\n"
      "#   map-scale = 50 | 71 | 100 | 141 | 200 (percent)\n";
  text += std::string(kVersionKey) + " = " + std::to_string(kFileVersion) + "\n";
  for (const KeyRule& rule : kKeyRules)
    if (const std::optional<std::string> value = rule.write(settings))
      text += std::string(rule.key) + " = " + *value + "\n";
  for (const std::string& line : unknownLines) text += line + "\n";
  return text;
}

Settings WithinRange(Settings settings) {
  const Settings defaults;
  settings.effectsVolume = std::clamp(settings.effectsVolume, 0, 100);
  settings.windowWidth = std::clamp(settings.windowWidth, kMinWindowWidth, kMaxWindowSide);
  settings.windowHeight = std::clamp(settings.windowHeight, kMinWindowHeight, kMaxWindowSide);
  if (!settings.windowX || !settings.windowY) {
    settings.windowX.reset();
    settings.windowY.reset();
  } else {
    settings.windowX = std::clamp(*settings.windowX, -kMaxWindowPlace, kMaxWindowPlace);
    settings.windowY = std::clamp(*settings.windowY, -kMaxWindowPlace, kMaxWindowPlace);
  }
  if (std::ranges::find(kAutosaveChoices, settings.autosaveMinutes) == std::end(kAutosaveChoices))
    settings.autosaveMinutes = defaults.autosaveMinutes;
  if (std::ranges::find(kMapScaleChoices, settings.mapScale) == std::end(kMapScaleChoices))
    settings.mapScale = defaults.mapScale;
  return settings;
}

SettingsStore::SettingsStore(std::optional<fs::path> path, std::ostream& log)
    : path_(std::move(path)), log_(&log) {}

SettingsStore SettingsStore::LoadUser() {
  SettingsStore store(UserSettingsPath(), std::cerr);
  store.Load();
  return store;
}

SettingsStore SettingsStore::InMemory() {
  return SettingsStore(std::nullopt, std::cerr);
}

void SettingsStore::Load() {
  settings_ = {};
  unknownLines_.clear();
  if (!path_) return;
  const std::string name = path_->string();
  const auto complain = [&](std::string_view what) {
    *log_ << "Redhollow: " << name << ": " << what << "; using the default settings\n";
  };
  // Not blocking: a pipe in the file's place must not stop the game.
  const sim::FileDescriptor file(::open(path_->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file.valid()) {
    if (errno != ENOENT && errno != ENOTDIR)
      complain(std::error_code(errno, std::generic_category()).message());
    return;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    complain("not a regular file");
    return;
  }
  std::string text(kMaxFileBytes + 1, '\0');
  std::size_t size = 0;
  while (size < text.size()) {
    const ssize_t n = ::read(file.get(), text.data() + size, text.size() - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      complain(std::error_code(errno, std::generic_category()).message());
      return;
    }
    if (n == 0) break;
    size += static_cast<std::size_t>(n);
  }
  text.resize(size);
  if (size > kMaxFileBytes) {
    // The last line within the bound may be cut short; it goes with the rest.
    text.resize(text.rfind('\n', kMaxFileBytes - 1) + 1);
    *log_ << "Redhollow: " << name << ": larger than " << kMaxFileBytes / 1024
          << " KiB; only the lines within its first " << kMaxFileBytes / 1024 << " KiB are read\n";
  }
  SettingsText read = ParseSettings(text, name);
  for (const std::string& complaint : read.complaints) *log_ << complaint << '\n';
  settings_ = read.settings;
  unknownLines_ = std::move(read.unknownLines);
}

void SettingsStore::Change(const Settings& settings) {
  const Settings changed = WithinRange(settings);
  if (changed == settings_) return;
  settings_ = changed;
  Save();
}

bool SettingsStore::Save() {
  if (!path_) return false;
  std::error_code error = MakeFolder(path_->parent_path());
  if (!error) {
    // A file that is a link to the player's own copy (kept with their other settings) stays a
    // link: the copy is what is replaced.
    fs::path target = *path_;
    std::error_code unresolved;
    if (fs::is_symlink(target, unresolved)) {
      const fs::path resolved = fs::canonical(target, unresolved);
      if (!unresolved) target = resolved;
    }
    const std::string text = FormatSettings(settings_, unknownLines_);
    error = sim::ReplaceFileDurably(
        target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  if (!error) return true;
  // Said once a run: the player cannot mend it from inside the game, and every change would
  // say it again.
  if (!problemTold_) {
    problemTold_ = true;
    problem_ = "The settings cannot be kept in " + path_->string() + " (" + error.message() +
               "); they hold until the game ends.";
    *log_ << "Redhollow: " << *problem_ << '\n';
  }
  return false;
}

}  // namespace app
