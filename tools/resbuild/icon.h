// The game's icon for the desktop menu, drawn by the builder like the rest of its art.
#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace resbuild {

// The sizes of the icon theme's folders the icon is painted for.
inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// Writes folder/hicolor/NxN/apps/redhollow.png for every size; false (with a reason) when a
// file cannot be written.
bool WriteIcons(const std::filesystem::path& folder, std::string* error);

}  // namespace resbuild
