// The growable byte buffer that archive entries are read into (a memory stream).
// It is owned by the caller, who may reuse it for several reads.
#pragma once

#include <cstdint>
#include <vector>

namespace gfx {

using ByteBuffer = std::vector<std::uint8_t>;

}  // namespace gfx
