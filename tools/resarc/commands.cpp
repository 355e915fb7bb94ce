#include "tools/resarc/commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/archive.h"
#include "gfx/draw.h"
#include "gfx/png_file.h"
#include "gfx/wbitmap.h"
#include "sim/replace_file.h"
#include "tools/archive_writer.h"
#include "tools/resarc/archive_index.h"
#include "tools/resarc/error.h"
#include "tools/resarc/known_entries.h"
#include "tools/resarc/manifest.h"
#include "tools/resbuild/quantize.h"

namespace resarc {
namespace {

std::string KindName(std::int32_t kind) {
  switch (kind) {
    case 1:
      return "packed";
    case resbuild::kEntryKindBitmap:
      return "bitmap";
    case resbuild::kEntryKindWave:
      return "wave";
    default:
      return "other";
  }
}

std::string Describe(const IndexedEntry& entry) {
  if (entry.kind != resbuild::kEntryKindWave) {
    if (const auto picture = DecodePicture(entry)) {
      return std::to_string(picture->width()) + " x " + std::to_string(picture->height());
    }
  }
  if (const auto wave = ParseWave(entry.data)) return std::to_string(wave->Milliseconds()) + " ms";
  return entry.kind == gfx::kEntryKindPackedPicture ? "unreadable picture" : "-";
}

// Entry names may hold any byte; file names get only the harmless ones, and the order
// number in front keeps them apart.
std::string FileNameFor(std::size_t order, const std::string& name, const char* extension) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03zu-", order);
  std::string file = prefix;
  for (const char ch : name) {
    const bool plain = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                       (ch >= '0' && ch <= '9') || ch == '_' || ch == '-';
    file += plain ? ch : '_';
  }
  return file + extension;
}

void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  if (!tools::WriteBytesFile(path, bytes)) throw Error(path.string() + ": cannot write");
}

bool HasPngSignature(const std::filesystem::path& path) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  unsigned char head[8] = {};
  std::ifstream file(path, std::ios::binary);
  file.read(reinterpret_cast<char*>(head), sizeof head);
  return file.gcount() == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0;
}

struct PackedPicture {
  std::size_t item = 0;
  std::unique_ptr<gfx::MemVideo> picture;
};

std::unique_ptr<gfx::MemVideo> ReadPicture(const std::filesystem::path& path,
                                           const ManifestEntry& entry) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw Error(path.string() + ": no such file (entry " + entry.name + ")");
  }
  std::unique_ptr<gfx::MemVideo> picture;
  if (HasPngSignature(path)) picture = gfx::ReadPng(path.string());
  if (picture == nullptr || picture->empty()) {
    throw Error(path.string() + ": not a readable PNG file (entry " + entry.name + ")");
  }
  CheckPictureFitsFrames(entry.name, *picture, path.string());
  return picture;
}

gfx::ByteBuffer ReadStoredBytes(const std::filesystem::path& path, const ManifestEntry& entry) {
  gfx::ByteBuffer bytes = ReadFileBytes(path);
  if (entry.format == StoreFormat::Wave && !ParseWave(bytes)) {
    throw Error(path.string() + ": not a PCM wave file (entry " + entry.name + ")");
  }
  return bytes;
}

}  // namespace

void ListArchive(const std::filesystem::path& archive, std::ostream& out) {
  ListEntries(ReadArchiveIndex(archive), out);
}

void ListEntries(const std::vector<IndexedEntry>& entries, std::ostream& out) {
  char line[160];
  std::snprintf(line, sizeof line, "%5s  %-15s  %-10s  %10s  %9s  %s\n", "order", "name", "kind",
                "offset", "size", "picture or sound");
  out << line;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const IndexedEntry& entry = entries[i];
    const std::string kind = std::to_string(entry.kind) + " " + KindName(entry.kind);
    std::snprintf(line, sizeof line, "%5zu  %-15s  %-10s  %10lld  %9d  %s\n", i,
                  EscapeName(entry.name).c_str(), kind.c_str(),
                  static_cast<long long>(entry.offset), entry.size, Describe(entry).c_str());
    out << line;
  }
}

void ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& dir) {
  const std::vector<IndexedEntry> entries = ReadArchiveIndex(archive);
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir)) throw Error(dir.string() + ": cannot create folder");

  std::vector<ManifestEntry> manifest;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const IndexedEntry& entry = entries[i];
    ManifestEntry line;
    line.order = static_cast<int>(i);
    line.name = entry.name;
    line.kind = entry.kind;
    const bool wave =
        entry.kind != gfx::kEntryKindPackedPicture && ParseWave(entry.data).has_value();
    std::unique_ptr<gfx::MemVideo> picture;
    if (entry.kind != resbuild::kEntryKindWave) picture = DecodePicture(entry);
    if (picture != nullptr) {
      line.format =
          entry.kind == gfx::kEntryKindPackedPicture ? StoreFormat::Packed8 : StoreFormat::Bitmap24;
      line.file = FileNameFor(i, entry.name, ".png");
      const std::filesystem::path path = dir / line.file;
      if (!gfx::WritePng(*picture, path.string())) throw Error(path.string() + ": cannot write");
      const resbuild::Entry* known = KnownEntry(entry.name);
      if (line.format == StoreFormat::Packed8 && known != nullptr &&
          known->paletteGroup != nullptr) {
        line.paletteGroup = known->paletteGroup;
      }
    } else {
      line.format = wave ? StoreFormat::Wave : StoreFormat::Raw;
      line.file = FileNameFor(i, entry.name, wave ? ".wav" : ".bin");
      WriteBytes(dir / line.file, entry.data);
    }
    manifest.push_back(std::move(line));
  }
  WriteManifest(dir / kManifestName, manifest);
}

void PackArchive(const std::filesystem::path& dir, const std::filesystem::path& archive) {
  const std::vector<ManifestEntry> manifest = ReadManifest(dir / kManifestName);
  std::vector<tools::ArchiveItem> items(manifest.size());
  // Pictures of one palette group are quantised together so that equal colours stay equal
  // across them; a picture without a group is a group of its own.
  std::map<std::string, std::vector<PackedPicture>> groups;
  for (std::size_t i = 0; i < manifest.size(); ++i) {
    const ManifestEntry& entry = manifest[i];
    const std::filesystem::path path = dir / entry.file;
    items[i].name = entry.name;
    items[i].kind = entry.kind;
    switch (entry.format) {
      case StoreFormat::Packed8: {
        // A leading zero byte keeps a group of one apart from every named group.
        std::string key = entry.paletteGroup;
        if (key.empty()) key.append(1, '\0').append(std::to_string(entry.order));
        groups[key].push_back({i, ReadPicture(path, entry)});
        break;
      }
      case StoreFormat::Bitmap24: {
        const auto picture = ReadPicture(path, entry);
        items[i].data = tools::EncodeRgbBitmap(
            picture->width(), picture->height(), 24,
            std::span<const gfx::Color>(
                picture->pixels(), static_cast<std::size_t>(picture->width()) * picture->height()));
        break;
      }
      case StoreFormat::Wave:
      case StoreFormat::Raw:
        items[i].data = ReadStoredBytes(path, entry);
        break;
    }
  }

  for (auto& [key, members] : groups) {
    std::vector<const gfx::MemVideo*> pictures;
    for (const PackedPicture& member : members) pictures.push_back(member.picture.get());
    const resbuild::QuantisedGroup group = resbuild::QuantiseGroup(pictures);
    for (std::size_t m = 0; m < members.size(); ++m) {
      const gfx::MemVideo& picture = *members[m].picture;
      tools::ArchiveItem& item = items[members[m].item];
      try {
        item.data = tools::EncodePackedPicture(picture.width(), picture.height(), group.indices[m],
                                               group.palette);
      } catch (const std::invalid_argument& e) {
        throw Error(item.name + ": cannot be stored as an 8-bit picture: " + e.what());
      }
    }
  }

  gfx::ByteBuffer image;
  try {
    image = tools::BuildArchive(items);
  } catch (const std::invalid_argument& e) {
    throw Error(archive.string() + ": " + e.what());
  }
  // An existing archive is replaced only by a whole one that has reached the disk.
  if (const std::error_code error = sim::ReplaceFileDurably(archive, image)) {
    throw Error(archive.string() + ": cannot write: " + error.message());
  }
}

void ExtractFrames(const std::filesystem::path& archive, const std::string& entryName,
                   const std::filesystem::path& dir) {
  const std::vector<IndexedEntry> entries = ReadArchiveIndex(archive);
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const IndexedEntry& e) {
    return gfx::SameEntryName(e.name, entryName);
  });
  if (found == entries.end()) throw Error(archive.string() + ": no entry " + entryName);
  std::unique_ptr<gfx::MemVideo> sheet = DecodePicture(*found);
  if (sheet == nullptr) throw Error(archive.string() + ": " + entryName + " is not a picture");
  const resbuild::Entry* known = KnownEntry(found->name);
  // An entry the game does not know is one whole picture.
  const gfx::ImageLayout layout = known != nullptr ? known->layout : gfx::LayoutWhole;
  const std::int32_t frameCount = known != nullptr ? known->frameCount : 1;
  const bool holes = known != nullptr && known->transparent;
  gfx::WBitmap picture;
  gfx::SetImage(picture, std::move(sheet), layout, known != nullptr ? known->frameWidth : 0,
                known != nullptr ? known->frameHeight : 0, false);

  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!std::filesystem::is_directory(dir)) throw Error(dir.string() + ": cannot create folder");
  for (std::int32_t n = 0; n < frameCount; ++n) {
    const gfx::IntRect source = gfx::FrameSourceRect(picture, n);
    if (source.IsEmpty()) continue;
    gfx::MemVideo frame(source.Width(), source.Height());
    gfx::CopyRect(*picture.bitmap, source, frame, 0, 0);
    const std::filesystem::path path = dir / (found->name + "-" + std::to_string(n) + ".png");
    const std::optional<gfx::Color> hole =
        holes ? std::optional<gfx::Color>(gfx::kBlack) : std::nullopt;
    if (!gfx::WritePng(frame, path.string(), hole)) throw Error(path.string() + ": cannot write");
  }
}

}  // namespace resarc
