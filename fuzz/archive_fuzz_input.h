// One fuzz input taken as a whole archive image: checks it as the game does at start-up, looks
// up a few names (fixed ones and the first entry's own name), converts what it finds and
// decodes it as a picture. Shared by the
// fuzz target and the test that replays the saved crash inputs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "gfx/archive.h"

namespace fuzzing {

inline void RunArchiveFuzzInput(std::span<const std::uint8_t> input) {
  gfx::ArchiveImageFault(input);
  std::string names[] = {"DlgButton", "tiles0", "click1", "", "first"};
  if (input.size() >= 4 + 16) {
    const std::uint8_t* stored = input.data() + 4;
    names[4].assign(stored, std::find(stored, stored + 16, 0));
  }
  for (const std::string& name : names) {
    gfx::ByteBuffer buffer;
    if (gfx::ReadArchiveEntryFromImage(buffer, input, name) == 0) {
      gfx::CreateDeviceBitmap(buffer);
    }
  }
  // The input itself as a bitmap file image and as a packed picture.
  gfx::ByteBuffer whole(input.begin(), input.end());
  gfx::CreateDeviceBitmap(whole);
  gfx::ConvertPackedPicture(whole);
  gfx::CreateDeviceBitmap(whole);
}

}  // namespace fuzzing
