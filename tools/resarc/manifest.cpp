#include "tools/resarc/manifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

#include "gfx/archive.h"
#include "tools/resarc/error.h"

namespace resarc {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool NeedsEscape(unsigned char c) {
  return c <= ' ' || c >= 0x7F || c == '%';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return fields;
}

template <typename Int>
bool ParseInt(std::string_view text, Int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

// Files must stay inside the unpacked folder: a manifest from elsewhere must not make pack
// read arbitrary files.
bool IsSafeRelativePath(std::string_view file) {
  if (file.empty()) return false;
  const std::filesystem::path path{std::string(file)};
  if (path.is_absolute() || path.has_root_name() || path.has_root_directory()) return false;
  return std::none_of(path.begin(), path.end(),
                      [](const std::filesystem::path& part) { return part == ".."; });
}

// "-" stands for no group, so a group of that very name is written escaped.
std::string PaletteField(const std::string& group) {
  if (group.empty()) return "-";
  return group == "-" ? "%2D" : EscapeName(group);
}

}  // namespace

std::string_view FormatName(StoreFormat format) {
  switch (format) {
    case StoreFormat::Packed8:
      return "8-bit";
    case StoreFormat::Bitmap24:
      return "24-bit";
    case StoreFormat::Wave:
      return "wave";
    case StoreFormat::Raw:
      return "raw";
  }
  return "raw";
}

std::string EscapeName(std::string_view name) {
  std::string out;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (NeedsEscape(c)) {
      out += '%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::string UnescapeName(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) throw Error("bad escape in name \"" + std::string(text) + "\"");
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string FormatManifest(const std::vector<ManifestEntry>& entries) {
  std::ostringstream text;
  text << "# resarc manifest: pack reads this file and the files it names.\n"
          "# Pictures in 8-bit entries are quantised again to 255 colours plus black (exactly\n"
          "# kept when a picture has no more); pure black is a hole in transparent pictures.\n"
          "# order\tname\tkind\tfile\tformat\tpalette\n";
  for (const ManifestEntry& entry : entries) {
    text << entry.order << '\t' << EscapeName(entry.name) << '\t' << entry.kind << '\t'
         << entry.file << '\t' << FormatName(entry.format) << '\t'
         << PaletteField(entry.paletteGroup) << '\n';
  }
  return text.str();
}

void WriteManifest(const std::filesystem::path& path, const std::vector<ManifestEntry>& entries) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  const std::string bytes = FormatManifest(entries);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw Error(path.string() + ": cannot write the manifest");
}

std::vector<ManifestEntry> ReadManifest(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw Error(path.string() + ": no such file");
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error(path.string() + ": cannot open");
  return ParseManifest(file, path.string());
}

std::vector<ManifestEntry> ParseManifest(std::istream& file, const std::string& label) {
  std::vector<ManifestEntry> entries;
  std::set<int> orders;
  std::string line;
  int lineNumber = 0;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    const std::string where = label + ":" + std::to_string(lineNumber) + ": ";
    const std::vector<std::string_view> fields = SplitTabs(line);
    if (fields.size() != 6) {
      throw Error(where +
                  "expected 6 tab-separated fields (order, name, kind, file, format, "
                  "palette), found " +
                  std::to_string(fields.size()));
    }
    ManifestEntry entry;
    if (!ParseInt(fields[0], entry.order) || entry.order < 0) {
      throw Error(where + "bad order \"" + std::string(fields[0]) + "\"");
    }
    if (!orders.insert(entry.order).second) {
      throw Error(where + "order " + std::to_string(entry.order) + " appears twice");
    }
    try {
      entry.name = UnescapeName(fields[1]);
    } catch (const Error& e) {
      throw Error(where + e.what());
    }
    if (entry.name.empty() || entry.name.size() > 15) {
      throw Error(where + "an entry name has 1 to 15 characters: \"" + std::string(fields[1]) +
                  "\"");
    }
    if (!ParseInt(fields[2], entry.kind)) {
      throw Error(where + "bad kind \"" + std::string(fields[2]) + "\"");
    }
    if (!IsSafeRelativePath(fields[3])) {
      throw Error(where + "the file \"" + std::string(fields[3]) +
                  "\" must be a relative path inside the folder");
    }
    entry.file = std::string(fields[3]);
    const std::string_view format = fields[4];
    if (format == "8-bit") {
      entry.format = StoreFormat::Packed8;
    } else if (format == "24-bit") {
      entry.format = StoreFormat::Bitmap24;
    } else if (format == "wave") {
      entry.format = StoreFormat::Wave;
    } else if (format == "raw") {
      entry.format = StoreFormat::Raw;
    } else {
      throw Error(where + "unknown format \"" + std::string(format) +
                  "\" (8-bit, 24-bit, wave or raw)");
    }
    // The game decodes kind 1 as a packed picture, so only 8-bit pictures (or bytes kept
    // exactly as they were) may carry it.
    const bool packedKind = entry.kind == gfx::kEntryKindPackedPicture;
    if ((entry.format == StoreFormat::Packed8 && !packedKind) ||
        (packedKind && entry.format != StoreFormat::Packed8 && entry.format != StoreFormat::Raw)) {
      throw Error(where + "kind " + std::to_string(entry.kind) + " cannot hold a " +
                  std::string(format) + " entry (8-bit pictures are kind 1)");
    }
    if (fields[5] != "-") {
      try {
        entry.paletteGroup = UnescapeName(fields[5]);
      } catch (const Error& e) {
        throw Error(where + e.what());
      }
    }
    entries.push_back(std::move(entry));
  }
  if (file.bad()) throw Error(label + ": read error");
  std::sort(entries.begin(), entries.end(),
            [](const ManifestEntry& a, const ManifestEntry& b) { return a.order < b.order; });
  return entries;
}

}  // namespace resarc
