// What the game expects of the entries it knows: their frames, and whether pure black is
// a hole in them. Entries the game does not read are taken as they are.
#pragma once

#include <string>

#include "gfx/mem_video.h"
#include "tools/resbuild/entries.h"

namespace resarc {

// The game's table row for an entry name (case-insensitive, as the game looks names up).
const resbuild::Entry* KnownEntry(const std::string& name);

// Throws Error, naming where, when a known picture's size is not the size its frames need.
void CheckPictureFitsFrames(const std::string& name, const gfx::MemVideo& picture,
                            const std::string& where);

}  // namespace resarc
