// The player's settings that outlast a run: the sound switch and volume, full screen or a window
// of a remembered size and place, how often the colony is saved by itself, and the map's scale.
// They live in a small text file of `key = value` lines that a person can read and edit:
//   $XDG_CONFIG_HOME/redhollow/settings.ini   (~/.config/redhollow/settings.ini by default)
// Only the shell (app/) reads and writes them; the model, the screens and the dialogs are told
// the values they need.
//
// A missing file is the defaults. A line that cannot be used (binary junk, an overlong line, no
// `=`, a value out of range) costs only its own key, which keeps its default, and is named in
// one line on stderr. Keys of a newer version are kept as they are when the file is rewritten.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

// The smallest window the screens' layouts are drawn for, and the largest side anyone asks for.
inline constexpr int kMinWindowWidth = 800;
inline constexpr int kMinWindowHeight = 600;
inline constexpr int kMaxWindowSide = 16384;
inline constexpr int kAutosaveChoices[] = {0, 2, 5, 10};
// The map view's scales in percent (world/map_scale.h).
inline constexpr int kMapScaleChoices[] = {50, 71, 100, 141, 200};

struct Settings {
  bool soundEffects = true;
  int effectsVolume = 100;  // percent, 0..100
  bool fullScreen = true;
  // The window's client size when not full screen, at least kMinWindowWidth × kMinWindowHeight.
  int windowWidth = 1280, windowHeight = 720;
  // The window's place on the desktop, when known.
  std::optional<int> windowX, windowY;
  int autosaveMinutes = 5;  // one of kAutosaveChoices; 0 is off
  int mapScale = 100;       // one of kMapScaleChoices

  bool operator==(const Settings&) const = default;
};

// "WIDTHxHEIGHT" with each side a plain decimal number from the minimum to kMaxWindowSide; none
// for anything else ("12x", "0x0", "799x600", "1280x720x3", "+1280x720").
std::optional<std::pair<int, int>> ParseWindowSize(std::string_view text);

// The settings file for the given XDG_CONFIG_HOME and HOME values (either may be null). An
// unset, empty or relative XDG_CONFIG_HOME is ignored and ~/.config used; none without a usable
// HOME either.
std::optional<std::filesystem::path> SettingsPath(const char* xdgConfigHome, const char* home);
// The same from this process's environment.
std::optional<std::filesystem::path> UserSettingsPath();

// What a settings file said: the settings (defaults where it said nothing usable), the lines of
// keys this version does not know, kept verbatim for the rewrite, and one sentence for each line
// that could not be used.
struct SettingsText {
  Settings settings;
  std::vector<std::string> unknownLines;
  std::vector<std::string> complaints;
};

// Reads the text of a settings file; `fileName` only names it in the complaints.
SettingsText ParseSettings(std::string_view text, std::string_view fileName);
// The file's text for these settings, with the unknown lines after the known keys.
std::string FormatSettings(const Settings& settings, const std::vector<std::string>& unknownLines);
// The settings with every value its key can hold: sizes and the volume clamped, a place known
// in only one coordinate forgotten, an autosave interval or a map scale that is no choice the
// default.
Settings WithinRange(Settings settings);

// The settings of this run and the file they come from and go to. Holds the file's unknown keys
// so that a rewrite keeps them. Without a path (no HOME) the settings live for this run only.
class SettingsStore {
 public:
  // Reading and writing problems are told to `log`, one line each.
  explicit SettingsStore(std::optional<std::filesystem::path> path, std::ostream& log);
  // The store of the player's own file (UserSettingsPath), already loaded, telling stderr.
  static SettingsStore LoadUser();
  // A store that never touches a file: for tools that run the game without a player.
  static SettingsStore InMemory();

  const std::optional<std::filesystem::path>& path() const { return path_; }
  const Settings& settings() const { return settings_; }

  // Reads the file: the defaults when it is missing; complaints go to the log.
  void Load();
  // Stores the settings and, when they differ from those held, writes the file.
  void Change(const Settings& settings);
  // Stores the settings for this run without writing them; they are written with the next change.
  void SetForThisRun(const Settings& settings) { settings_ = WithinRange(settings); }
  // Writes the file now, making its folder. A failure is told to the log once a run; the game
  // goes on with the settings it holds. Returns whether the file was written.
  bool Save();
  // The sentence saying the settings could not be kept, once, for showing to the player.
  std::optional<std::string> TakeProblem() { return std::exchange(problem_, std::nullopt); }

 private:
  std::optional<std::filesystem::path> path_;
  std::ostream* log_;
  Settings settings_;
  std::vector<std::string> unknownLines_;
  bool problemTold_ = false;
  std::optional<std::string> problem_;
};

}  // namespace app
