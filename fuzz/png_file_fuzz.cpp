// The PNG reader on arbitrary bytes: as given, and once more with every chunk's checksum made
// right, so that the checks behind the checksums are reached too. A picture it reads is
// written again and must read back as the same pixels, with and without holes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx/png_file.h"
#include "sim/save_game.h"

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

void Check(std::span<const std::uint8_t> bytes) {
  const auto picture = gfx::DecodePng(bytes);
  if (picture == nullptr) return;
  if (picture->empty()) std::abort();
  if (std::int64_t{picture->width()} * picture->height() > kMaxRoundTripPixels) return;
  ExpectSamePixels(gfx::DecodePng(gfx::EncodePng(*picture)).get(), *picture);
  ExpectSamePixels(gfx::DecodePng(gfx::EncodePng(*picture, picture->at(0, 0))).get(), *picture);
}

std::uint32_t LoadBe32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

// Each chunk: its length, its type, its data, and the CRC-32 of type and data.
void FixChunkChecksums(gfx::ByteBuffer& png) {
  constexpr std::size_t kSignatureSize = 8;
  std::size_t at = kSignatureSize;
  while (png.size() - at >= 12 && LoadBe32(&png[at]) <= png.size() - at - 12) {
    const std::size_t length = LoadBe32(&png[at]);
    const std::uint32_t crc =
        sim::Crc32(std::span<const std::uint8_t>(png).subspan(at + 4, 4 + length));
    for (int i = 0; i < 4; ++i) {
      png[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
    at += 12 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Check({data, size});
  if (size < 8) return 0;
  gfx::ByteBuffer fixed(data, data + size);
  FixChunkChecksums(fixed);
  Check(fixed);
  return 0;
}
