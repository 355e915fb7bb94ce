#include "tools/resarc/archive_index.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "gfx/archive.h"
#include "tools/resarc/error.h"

namespace resarc {
namespace {

constexpr std::size_t kDirectoryStart = 4;
constexpr std::size_t kEntrySize = 40;
constexpr std::size_t kNameSize = 16;
// Entries may share their data, but each entry is copied and decoded on its own: a directory
// of many entries over the same bytes would multiply the memory and the work without bound.
constexpr std::uint64_t kMaxDataPerArchiveByte = 4;

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

gfx::ByteBuffer ReadFileBytes(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw Error(path.string() + ": no such file");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error(path.string() + ": cannot open: " + std::strerror(errno));
  gfx::ByteBuffer bytes{std::istreambuf_iterator<char>(file), {}};
  if (file.bad()) throw Error(path.string() + ": read error");
  return bytes;
}

std::vector<IndexedEntry> ParseArchiveIndex(std::span<const std::uint8_t> image,
                                            const std::string& label) {
  if (image.size() < kDirectoryStart) throw Error(label + ": not an archive (too short)");
  const auto count = static_cast<std::int32_t>(Le32(image.data()));
  if (count < 0 ||
      static_cast<std::uint64_t>(count) * kEntrySize > image.size() - kDirectoryStart) {
    throw Error(label + ": not an archive (its directory of " + std::to_string(count) +
                " entries does not fit in the file)");
  }
  std::vector<IndexedEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  std::uint64_t dataInAll = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::uint8_t* record = image.data() + kDirectoryStart + kEntrySize * i;
    IndexedEntry entry;
    const std::size_t nameLength =
        static_cast<std::size_t>(std::find(record, record + kNameSize, 0) - record);
    entry.name.assign(reinterpret_cast<const char*>(record), nameLength);
    entry.kind = static_cast<std::int32_t>(Le32(record + 16));
    const std::uint64_t offset =
        std::uint64_t{Le32(record + 24)} | (std::uint64_t{Le32(record + 28)} << 32);
    entry.size = static_cast<std::int32_t>(Le32(record + 32));
    if (entry.size < 0 || offset > image.size() ||
        static_cast<std::uint64_t>(entry.size) > image.size() - offset) {
      throw Error(label + ": entry " + std::to_string(i) + " (" + entry.name +
                  ") lies outside the file");
    }
    dataInAll += static_cast<std::uint64_t>(entry.size);
    if (dataInAll > kMaxDataPerArchiveByte * image.size()) {
      throw Error(label + ": damaged archive (from entry " + std::to_string(i) +
                  " on, its entries share data over and over: together they claim more than " +
                  std::to_string(kMaxDataPerArchiveByte) + " times the file's size)");
    }
    entry.offset = static_cast<std::int64_t>(offset);
    const auto* begin = image.data() + offset;
    entry.data.assign(begin, begin + entry.size);
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<IndexedEntry> ReadArchiveIndex(const std::filesystem::path& path) {
  const gfx::ByteBuffer image = ReadFileBytes(path);
  return ParseArchiveIndex(image, path.string());
}

std::unique_ptr<gfx::MemVideo> DecodePicture(const IndexedEntry& entry) {
  gfx::ByteBuffer bytes = entry.data;
  if (entry.kind == gfx::kEntryKindPackedPicture) gfx::ConvertPackedPicture(bytes);
  return gfx::CreateDeviceBitmap(bytes);
}

std::int64_t WaveInfo::Milliseconds() const {
  return sampleRate > 0 ? (frames * 1000 + sampleRate / 2) / sampleRate : 0;
}

std::optional<WaveInfo> ParseWave(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  std::optional<WaveInfo> info;
  bool haveFormat = false;
  WaveInfo wave;
  std::size_t at = 12;
  while (bytes.size() - at >= 8) {
    const std::uint8_t* chunk = bytes.data() + at;
    const std::uint64_t chunkSize = Le32(chunk + 4);
    const std::size_t bodyStart = at + 8;
    const std::uint64_t available = bytes.size() - bodyStart;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (chunkSize < 16 || chunkSize > available) return std::nullopt;
      const std::uint8_t* body = chunk + 8;
      if (Le16(body) != 1) return std::nullopt;  // only plain PCM
      wave.channels = Le16(body + 2);
      wave.sampleRate = static_cast<int>(Le32(body + 4));
      wave.bitsPerSample = Le16(body + 14);
      if (wave.channels <= 0 || wave.sampleRate <= 0 ||
          (wave.bitsPerSample != 8 && wave.bitsPerSample != 16)) {
        return std::nullopt;
      }
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return std::nullopt;
      // A data chunk that claims more than the file holds is cut to what is there.
      const std::uint64_t size = std::min(chunkSize, available);
      const std::uint64_t frameBytes =
          static_cast<std::uint64_t>(wave.channels) * (wave.bitsPerSample / 8);
      wave.frames = static_cast<std::int64_t>(size / frameBytes);
      wave.pcm = bytes.subspan(bodyStart, static_cast<std::size_t>(wave.frames * frameBytes));
      info = wave;
      break;
    }
    if (chunkSize > available) break;
    at = bodyStart + static_cast<std::size_t>(chunkSize) + (chunkSize & 1);
    if (at > bytes.size()) break;
  }
  return info;
}

}  // namespace resarc
