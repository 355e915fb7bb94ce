// Resource archives: a directory of named entries followed by their data. Pictures are
// stored either run-length packed (converted to an 8-bit bitmap file image while they are
// read) or as bitmap file images; sounds are stored as wave files and returned as they are.
//
// Archive image (little-endian):
//   0       int32  entry count
//   4 + 40i        entry i: name[16] (zero-terminated within the 16 bytes), int32 kind,
//                  int32 reserved, int64 data offset, int32 data size, int32 reserved
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "gfx/byte_buffer.h"
#include "gfx/mem_video.h"

namespace gfx {

// The game's three archives, read from the folder it runs in: sounds, dialogs and the title
// screen, and the game screen with the map.
inline constexpr const char* kSoundArchive = "res00.dat";
inline constexpr const char* kDialogArchive = "res01.dat";
inline constexpr const char* kGameArchive = "res02.dat";

// Whether two entry names are the same as the archive reader compares them: byte for byte
// with ASCII letters of either case alike.
bool SameEntryName(std::string_view a, std::string_view b);

// Entry kind of a run-length packed picture; every other kind is returned byte for byte.
constexpr std::int32_t kEntryKindPackedPicture = 1;

// 0 when the entry was found and read into buffer, 1 when no entry of that name exists.
int ReadArchiveEntry(ByteBuffer& buffer, const std::string& archiveFile,
                     const std::string& entryName);

// The same lookup over an archive image held in memory. It prints nothing on a miss.
int ReadArchiveEntryFromImage(ByteBuffer& buffer, std::span<const std::uint8_t> archiveImage,
                              const std::string& entryName);

// What makes an archive file unusable as a whole, as the end of a sentence about it ("is
// missing", "is damaged: ..."); nothing when the file is there, its directory lists entries
// and lies inside the file, and so does the data of every entry. Whether the entries hold
// what the game looks for is left to the reads: a missing picture only draws nothing.
std::optional<std::string> ArchiveFault(const std::string& archiveFile);
inline constexpr const char* kArchiveMissing = "is missing";
// The same of an archive image held in memory.
std::optional<std::string> ArchiveImageFault(std::span<const std::uint8_t> archiveImage);

// Replaces the packed picture held in buffer by its converted 8-bit bitmap file image.
void ConvertPackedPicture(ByteBuffer& buffer);

// The picture of a bitmap file image as a surface, or nullptr when the buffer is empty or not a
// usable image.
std::unique_ptr<MemVideo> CreateDeviceBitmap(const ByteBuffer& buffer);

}  // namespace gfx
