// Contact sheets for reviewing an archive: every picture entry under a caption with its
// name, every frame outlined and numbered, holes shown as a checkerboard; every sound as
// its waveform with its length.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gfx/mem_video.h"
#include "tools/resarc/archive_index.h"

namespace resarc {

struct SheetOptions {
  std::vector<std::string> only;  // entry names to show (case-insensitive); empty: all
  int width = 1280;               // wider pictures are shown reduced to fit
};

// Throws Error, naming label (the archive), when a known picture does not fit its frames,
// an asked-for entry is missing, or nothing is left to show.
gfx::MemVideo MakeContactSheet(const std::vector<IndexedEntry>& entries,
                               const SheetOptions& options, const std::string& label);
void WriteContactSheet(const std::filesystem::path& archive, const std::filesystem::path& out,
                       const SheetOptions& options);

}  // namespace resarc
