#include "gfx/wbitmap.h"

#include <algorithm>
#include <climits>

#include "gfx/archive.h"
#include "gfx/byte_buffer.h"

namespace gfx {

namespace {

std::int32_t DivideOrZero(std::int32_t a, std::int32_t b) {
  if (b == 0) return 0;
  // INT32_MIN / -1 does not fit; such a size never describes a real picture.
  if (b == -1) return a == INT32_MIN ? INT32_MAX : -a;
  return a / b;
}

}  // namespace

ImageMask MakeKeyMask(const MemVideo& picture) {
  ImageMask mask;
  mask.width = picture.width();
  mask.height = picture.height();
  mask.keyed.resize(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height));
  const Color* pixel = picture.pixels();
  for (std::uint8_t& keyed : mask.keyed) {
    // The top byte is not part of the colour.
    keyed = ((*pixel++ & 0xFFFFFF) == kBlack) ? 1 : 0;
  }
  return mask;
}

void SetImage(WBitmap& image, std::unique_ptr<MemVideo> surface, ImageLayout layout,
              std::int32_t frameWidth, std::int32_t frameHeight, bool transparent) {
  image.mask.reset();
  image.bitmap = std::move(surface);
  image.width = image.bitmap ? image.bitmap->width() : 0;
  image.height = image.bitmap ? image.bitmap->height() : 0;
  image.layout = layout;
  image.transparent = transparent;
  image.keyColor = kBlack;
  image.frameWidth = frameWidth;
  image.frameHeight = frameHeight;
  image.framesPerRow = 0;
  image.frameRows = 0;
  if (layout == LayoutGrid) {
    image.framesPerRow = DivideOrZero(image.width, frameWidth);
    image.frameRows = DivideOrZero(image.height, frameHeight);
  }
  if (transparent && image.bitmap)
    image.mask = std::make_unique<ImageMask>(MakeKeyMask(*image.bitmap));
}

bool LoadImage(WBitmap& image, const std::string& archiveFile, const std::string& entryName,
               ImageLayout layout, std::int32_t frameWidth, std::int32_t frameHeight,
               bool transparent) {
  image.bitmap.reset();
  image.mask.reset();
  std::unique_ptr<MemVideo> picture;
  {
    ByteBuffer buffer;
    if (ReadArchiveEntry(buffer, archiveFile, entryName) == 0) picture = CreateDeviceBitmap(buffer);
  }
  SetImage(image, std::move(picture), layout, frameWidth, frameHeight, transparent);
  return image.present();
}

std::optional<FramePoint> FramePosition(ImageLayout layout, std::int32_t n, std::int32_t frameWidth,
                                        std::int32_t frameHeight, std::int32_t framesPerRow) {
  const std::int64_t frame = n;
  const std::int64_t fw = frameWidth;
  const std::int64_t fh = frameHeight;
  std::int64_t x = 0;
  std::int64_t y = 0;
  switch (layout) {
    case LayoutWhole:
      break;
    case LayoutGrid8:
      x = (frame % 8) * (fw + 1);
      y = (frame / 8) * (fh + 1);
      break;
    case LayoutRow:
      x = frame * fw;
      break;
    case LayoutColumn:
      y = frame * fh;
      break;
    case LayoutGrid:
      if (framesPerRow <= 0) return std::nullopt;
      x = (frame % framesPerRow) * fw;
      y = (frame / framesPerRow) * fh;
      break;
    default:
      return std::nullopt;
  }
  return FramePoint{SaturateToInt32(x), SaturateToInt32(y)};
}

}  // namespace gfx
