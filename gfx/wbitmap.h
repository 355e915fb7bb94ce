// WBitmap: a picture read from a resource archive, cut into frames by its layout, with an
// optional mask in which black is transparent. Drawing it lives in gfx/draw.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/mem_video.h"

namespace gfx {

enum ImageLayout : std::int32_t {
  LayoutWhole = 0,   // no frames; the picture is drawn whole
  LayoutGrid8 = 1,   // rows of eight frames with one-pixel gaps between them
  LayoutRow = 2,     // frames side by side
  LayoutColumn = 3,  // frames one below the other
  LayoutGrid = 4,    // as many frames per row as fit
};

// One byte per pixel: 1 where the picture shows the key colour and the destination is kept,
// 0 where the picture's pixel is drawn.
struct ImageMask {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> keyed;

  bool IsKeyed(std::int32_t x, std::int32_t y) const {
    return keyed[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                 static_cast<std::size_t>(x)] != 0;
  }
};

// The mask of a picture against the key colour black.
ImageMask MakeKeyMask(const MemVideo& picture);

struct WBitmap {
  std::unique_ptr<MemVideo> bitmap;  // null when the entry was missing
  std::unique_ptr<ImageMask> mask;   // only for transparent pictures
  std::int32_t width = 0;
  std::int32_t height = 0;
  ImageLayout layout = LayoutWhole;
  bool transparent = false;
  Color keyColor = kBlack;
  std::int32_t frameWidth = 0;
  std::int32_t frameHeight = 0;
  std::int32_t framesPerRow = 0;  // LayoutGrid only
  std::int32_t frameRows = 0;     // LayoutGrid only

  bool present() const { return bitmap != nullptr && !bitmap->empty(); }
};

// Replaces the picture of image by the named archive entry. A missing entry leaves the image
// without a bitmap and with size 0, which draws nothing. Returns whether a picture was made.
bool LoadImage(WBitmap& image, const std::string& archiveFile, const std::string& entryName,
               ImageLayout layout, std::int32_t frameWidth, std::int32_t frameHeight,
               bool transparent);

// The same as a load, from a surface the caller made (generated pictures, tests); a null
// surface behaves as a missing entry.
void SetImage(WBitmap& image, std::unique_ptr<MemVideo> surface, ImageLayout layout,
              std::int32_t frameWidth, std::int32_t frameHeight, bool transparent);

struct FramePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend constexpr bool operator==(const FramePoint&, const FramePoint&) = default;
};

// Top-left corner of frame n in the picture. Empty when the layout has no place for frames
// (a LayoutGrid without a whole frame per row, an unknown layout value); LayoutWhole gives
// (0, 0). Positions too far out for 32 bits are held at the limit, which lies off the picture.
std::optional<FramePoint> FramePosition(ImageLayout layout, std::int32_t n, std::int32_t frameWidth,
                                        std::int32_t frameHeight, std::int32_t framesPerRow);
// The size of one frame: the whole picture for LayoutWhole.
struct PixelSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};
inline PixelSize FrameSize(const WBitmap& image) {
  return image.layout == LayoutWhole ? PixelSize{image.width, image.height}
                                     : PixelSize{image.frameWidth, image.frameHeight};
}

inline std::optional<FramePoint> FramePosition(const WBitmap& image, std::int32_t n) {
  return FramePosition(image.layout, n, image.frameWidth, image.frameHeight, image.framesPerRow);
}

}  // namespace gfx
