// The archive commands of resarc: list an archive, unpack it into a folder of PNG and wave
// files with a manifest, and pack such a folder back into an archive. Every failure throws
// Error with a one-line message.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "tools/resarc/archive_index.h"

namespace resarc {

// One line per entry: order, name, kind, offset, size, and the picture's size (w x h) or
// the sound's length (ms).
void ListArchive(const std::filesystem::path& archive, std::ostream& out);
void ListEntries(const std::vector<IndexedEntry>& entries, std::ostream& out);

// Writes every picture as PNG (decoded as the game decodes it), every sound as the wave
// file it is stored as, anything else as raw bytes, and the manifest. Creates dir.
void ExtractArchive(const std::filesystem::path& archive, const std::filesystem::path& dir);

// Writes every frame of one picture entry as a PNG of its own, DIR/ENTRY-N.png, cut as the
// game cuts it; pure black is transparent in pictures with holes. Creates dir.
void ExtractFrames(const std::filesystem::path& archive, const std::string& entryName,
                   const std::filesystem::path& dir);

// Builds the archive from dir's manifest and files. Pictures of packed entries are
// quantised again (exactly when they hold at most 255 colours besides black), bitmap
// entries become 24-bit bitmap files. Nothing is written unless every entry is sound, and
// an existing archive is replaced only by a complete one that has reached the disk.
void PackArchive(const std::filesystem::path& dir, const std::filesystem::path& archive);

}  // namespace resarc
