// The PNG reader on arbitrary bytes. A picture it reads is written again and must read back
// as the same pixels, with and without holes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/png_file.h"

namespace {

// Larger pictures are only read: compressing them again would slow the fuzzer to a crawl.
constexpr std::int64_t kMaxRoundTripPixels = 1 << 16;

void ExpectSamePixels(const gfx::MemVideo* back, const gfx::MemVideo& picture) {
  if (back == nullptr || back->width() != picture.width() || back->height() != picture.height() ||
      !std::equal(picture.pixels(),
                  picture.pixels() + std::int64_t{picture.width()} * picture.height(),
                  back->pixels())) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = gfx::DecodePng({data, size});
  if (picture == nullptr) return 0;
  if (picture->empty()) std::abort();
  if (std::int64_t{picture->width()} * picture->height() > kMaxRoundTripPixels) return 0;
  ExpectSamePixels(gfx::DecodePng(gfx::EncodePng(*picture)).get(), *picture);
  ExpectSamePixels(gfx::DecodePng(gfx::EncodePng(*picture, picture->at(0, 0))).get(), *picture);
  return 0;
}
