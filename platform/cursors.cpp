#include "platform/cursors.h"

#include <cstdlib>
#include <string_view>

namespace platform {
namespace {

constexpr std::uint32_t kOutline = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kShade = 0xFFD8D8D8;

// '#' outline, 'o' white, '-' light shade on the palm's right side, ' ' transparent.
constexpr std::string_view kHand[] = {
    "    ##                ", "   #oo#               ", "   #oo#               ",
    "   #oo#               ", "   #oo#               ", "   #oo###             ",
    "   #oo#oo###          ", "   #oo#oo#oo##        ", "   #oo#oo#oo#o#       ",
    "## #oo#oo#oo#o-#      ", "#o##oooooooooo-#      ", "#oo#oooooooooo-#      ",
    " #o#ooooooooo-#       ", " #ooooooooooo-#       ", "  #oooooooooo-#       ",
    "  #ooooooooo-#        ", "   #oooooooo-#        ", "   #ooooooo-#         ",
    "    #oooooo-#         ", "    #oooooo-#         ", "    ########          ",
};

}  // namespace

CursorImage DrawHandCursor() {
  CursorImage cursor;
  cursor.hotX = 5;
  cursor.hotY = 0;
  int y = 0;
  for (std::string_view line : kHand) {
    for (int x = 0; x < static_cast<int>(line.size()) && x < CursorImage::kSize; ++x) {
      std::uint32_t pixel = 0;
      if (line[x] == '#') pixel = kOutline;
      if (line[x] == 'o') pixel = kWhite;
      if (line[x] == '-') pixel = kShade;
      cursor.argb[y * CursorImage::kSize + x] = pixel;
    }
    ++y;
  }
  return cursor;
}

CursorImage DrawBuildCursor() {
  CursorImage cursor;
  cursor.hotX = 15;
  cursor.hotY = 15;
  // A diamond of the map cell's 3 : 2 proportions, 31 x 21 around the centre:
  // |dx| / 15 + |dy| / 10 <= 1, kept in integers as 2 |dx| + 3 |dy| <= 30.
  for (int y = 0; y < CursorImage::kSize; ++y) {
    for (int x = 0; x < CursorImage::kSize; ++x) {
      const int distance = 2 * std::abs(x - 15) + 3 * std::abs(y - 15);  // 30 on the edge
      if (distance > 30) continue;
      const bool lowerHalf = y > 15;
      std::uint32_t pixel = 0xFF30FF40;  // bright green
      if (distance > 26)
        pixel = lowerHalf ? 0xFF0A4012 : 0xFF1C9A28;
      else if (lowerHalf && distance > 22)
        pixel = 0xFF146A1E;
      else if (!lowerHalf && distance > 23)
        pixel = 0xFF9CFFA4;
      cursor.argb[y * CursorImage::kSize + x] = pixel;
    }
  }
  return cursor;
}

}  // namespace platform
