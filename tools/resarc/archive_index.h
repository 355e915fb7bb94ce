// The directory of an archive, read in full so that a player's tool can see every entry
// (the game itself only ever looks entries up by name), and the decoding of each entry's
// bytes through the game's own picture reader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/byte_buffer.h"
#include "gfx/mem_video.h"

namespace resarc {

struct IndexedEntry {
  std::string name;
  std::int32_t kind = 0;
  std::int64_t offset = 0;
  std::int32_t size = 0;
  gfx::ByteBuffer data;  // the bytes as stored
};

// Every entry in directory order. Throws Error when the file cannot be read, when its
// directory or an entry's data does not lie inside it, or when the entries together claim
// more than a few times the file's size (entries sharing the same data over and over).
std::vector<IndexedEntry> ReadArchiveIndex(const std::filesystem::path& path);
std::vector<IndexedEntry> ParseArchiveIndex(std::span<const std::uint8_t> image,
                                            const std::string& label);

// The whole file; throws Error when it is missing or unreadable.
gfx::ByteBuffer ReadFileBytes(const std::filesystem::path& path);

// The picture an entry shows in the game: packed pictures are converted as the game
// converts them, every other kind is read as a bitmap file image. Null when it is none.
std::unique_ptr<gfx::MemVideo> DecodePicture(const IndexedEntry& entry);

struct WaveInfo {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::int64_t frames = 0;            // samples per channel
  std::span<const std::uint8_t> pcm;  // the data chunk, cut to whole frames
  std::int64_t Milliseconds() const;
};

// The format and samples of an uncompressed PCM wave file; empty for anything else.
std::optional<WaveInfo> ParseWave(std::span<const std::uint8_t> bytes);

}  // namespace resarc
