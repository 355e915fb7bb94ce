// The manifest that `extract` writes beside the unpacked files and `pack` reads back: one
// line per entry, in archive order, telling which file holds it and how to store it again.
//
//   # order  name  kind  file  format  palette
//   13       tiles1  1   013-tiles1.png  8-bit  structures
//
// Fields are separated by tabs. Names are written with %XX escapes for spaces, '%' and
// bytes outside printable ASCII, so any stored name survives the trip.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace resarc {

enum class StoreFormat {
  Packed8,   // a PNG quantised again to a run-length packed 8-bit picture (kind 1)
  Bitmap24,  // a PNG written as a 24-bit bitmap file
  Wave,      // a wave file, stored byte for byte
  Raw,       // any other entry, stored byte for byte
};

std::string_view FormatName(StoreFormat format);

struct ManifestEntry {
  int order = 0;
  std::string name;
  std::int32_t kind = 0;
  std::string file;  // relative to the manifest's folder
  StoreFormat format = StoreFormat::Raw;
  std::string paletteGroup;  // packed pictures of one group share a palette; empty for none

  bool operator==(const ManifestEntry&) const = default;
};

inline constexpr const char* kManifestName = "manifest.txt";

std::string EscapeName(std::string_view name);
// Throws Error on a malformed escape.
std::string UnescapeName(std::string_view text);

// The text of a manifest, as WriteManifest writes it.
std::string FormatManifest(const std::vector<ManifestEntry>& entries);
void WriteManifest(const std::filesystem::path& path, const std::vector<ManifestEntry>& entries);

// The entries sorted by order. Throws Error, naming the line, for anything malformed: a
// missing field, an unknown format, a duplicate order, a file outside the folder.
std::vector<ManifestEntry> ReadManifest(const std::filesystem::path& path);
// The same from text, whose lines are named after label.
std::vector<ManifestEntry> ParseManifest(std::istream& text, const std::string& label);

}  // namespace resarc
