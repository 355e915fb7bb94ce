// The player's manual as one HTML page, written from the game's own tables: the structure
// catalogue, the palette, the toolbar with its keys, the calendar, the notices, the Earth
// report's assessments, points and verdicts. So the manual cannot disagree with the game.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace manual {

// Where the pictures lie, relative to the page.
struct ManualPictures {
  std::string folder;  // e.g. "manual/"
  // A structure's picture (a frame of the finished structures' sheet, or the highway tile).
  std::string Structure(std::int32_t type) const;
  // A toolbar icon (its column) and a category tab's icon.
  std::string ToolbarIcon(std::int32_t column) const;
  std::string TabIcon(std::int32_t column) const;
  std::string Screenshot(std::string_view name) const;
};

// Text for HTML: &, <, > and " written as entities.
std::string Escape(std::string_view text);

// The name of a key code as the manual writes it ("F1", "Esc", "Left").
std::string KeyName(std::uint16_t key);

// The assessment line's levels as ranges of its figure ("below 0", "0 to 19", "160 and more"),
// found by asking the game's report for each figure.
std::string LevelRange(std::int32_t line, std::int32_t level);

void WriteManual(std::ostream& out, const ManualPictures& pictures);

}  // namespace manual
