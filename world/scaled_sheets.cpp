#include "world/scaled_sheets.h"

#include <algorithm>
#include <cmath>

#include "gfx/draw.h"

namespace world {

namespace {

// Frame numbers of a cell are bytes, and animation frames a byte past them; no sheet of the map
// has more.
constexpr std::int32_t kMostFrames = 512;
// Larger scaled frames than this come only from damaged pictures.
constexpr std::int32_t kLargestScaledSide = 4096;

// The source pixels one destination pixel of an axis reads, with their weights.
struct AxisTaps {
  static constexpr int kMost = 4;
  std::array<std::int32_t, kMost> index{};
  std::array<float, kMost> weight{};
  int count = 0;
  // The source pixel under the destination pixel's centre (decides a grown pixel's key).
  std::int32_t nearest = 0;

  void Add(std::int32_t i, float w) {
    if (w <= 0.0f || count == kMost) return;
    index[count] = i;
    weight[count] = w;
    ++count;
  }
};

// Destination pixel x of an axis covers source [start + x * step, start + (x + 1) * step).
// Where the axis shrinks (step >= 1) each source pixel counts by how much of it is covered;
// where it grows, the two pixels around the centre are blended linearly. Taps outside
// [0, sourceLength) are left out.
std::vector<AxisTaps> MapAxis(std::int32_t length, double start, double step,
                              std::int32_t sourceLength) {
  std::vector<AxisTaps> axis(static_cast<std::size_t>(std::max(length, 0)));
  for (std::int32_t x = 0; x < length; ++x) {
    AxisTaps& taps = axis[static_cast<std::size_t>(x)];
    const double from = start + x * step;
    const double centre = from + step / 2;
    taps.nearest = static_cast<std::int32_t>(std::floor(centre));
    auto add = [&](std::int32_t i, double w) {
      if (i >= 0 && i < sourceLength) taps.Add(i, static_cast<float>(w));
    };
    if (step >= 1.0) {
      const double to = from + step;
      for (auto i = static_cast<std::int32_t>(std::floor(from)); i < to; ++i) {
        add(i, std::min<double>(to, i + 1) - std::max<double>(from, i));
      }
    } else {
      const double p = centre - 0.5;
      const auto i = static_cast<std::int32_t>(std::floor(p));
      const double f = p - i;
      add(i, 1.0 - f);
      add(i + 1, f);
    }
  }
  return axis;
}

std::uint8_t Channel(float sum, float weight) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(sum / weight), 0L, 255L));
}

}  // namespace

ScaledSheets::ScaledSheets(const MapScale& scale) : scale_(scale), geometry_(GeometryAt(scale)) {}

MapPictures ScaledSheets::Follow(const MapPictures& originals) {
  const std::int32_t left = -kTileWidth / 2;
  const std::int32_t top = -kTileHeight / 2;
  auto follow = [&](Sheet& sheet, const gfx::WBitmap* original, std::int32_t originX,
                    std::int32_t originY) -> const gfx::WBitmap* {
    const gfx::MemVideo* pixels = original != nullptr ? original->bitmap.get() : nullptr;
    if (sheet.original != original || sheet.originalPixels != pixels) {
      Make(sheet, original, originX, originY);
    }
    return original != nullptr ? &sheet.scaled : nullptr;
  };
  MapPictures drawn;
  drawn.tiles0 = follow(sheets_[kGround], originals.tiles0, left, top);
  drawn.tiles1 = follow(sheets_[kStructures], originals.tiles1, left, top - kStructureLift);
  drawn.tiles2 = follow(sheets_[kSites], originals.tiles2, left, top - kStructureLift);
  Sheet& animation = sheets_[kAnimation];
  const bool fresh = animation.original != originals.animation ||
                     animation.originalPixels !=
                         (originals.animation ? originals.animation->bitmap.get() : nullptr);
  drawn.animation = follow(animation, originals.animation, kAnimationLeft, kAnimationTop);
  if (fresh) {
    for (std::size_t n = 0; n < animation.ready.size(); ++n) {
      ScaleFrame(animation, static_cast<std::int32_t>(n));
    }
  }
  drawn.miniMap = originals.miniMap;
  return drawn;
}

const gfx::WBitmap* ScaledSheets::Prepare(const gfx::WBitmap* picture, std::int32_t& frame) {
  for (Sheet& sheet : sheets_) {
    if (&sheet.scaled != picture) continue;
    const std::int32_t n = sheet.scaled.layout == gfx::LayoutWhole ? 0 : frame;
    // A frame past those of the original draws nothing, as it does from the original.
    if (n < 0 || static_cast<std::size_t>(n) >= sheet.ready.size()) {
      return sheet.framePictures.empty() ? picture : nullptr;
    }
    if (sheet.ready[static_cast<std::size_t>(n)] == 0) ScaleFrame(sheet, n);
    if (sheet.framePictures.empty()) return picture;
    frame = 0;
    return sheet.framePictures[static_cast<std::size_t>(n)].get();
  }
  return picture;
}

void ScaledSheets::Clear() {
  for (Sheet& sheet : sheets_) sheet = Sheet{};
}

std::size_t ScaledSheets::FramesScaled() const {
  std::size_t count = 0;
  for (const Sheet& sheet : sheets_) {
    count += static_cast<std::size_t>(std::ranges::count(sheet.ready, 1));
  }
  return count;
}

void ScaledSheets::Make(Sheet& sheet, const gfx::WBitmap* original, std::int32_t originX,
                        std::int32_t originY) {
  sheet = Sheet{};
  sheet.original = original;
  sheet.originalPixels = original != nullptr ? original->bitmap.get() : nullptr;
  sheet.originX = originX;
  sheet.originY = originY;
  if (original == nullptr || !original->present()) return;

  const gfx::PixelSize frame = gfx::FrameSize(*original);
  if (frame.width <= 0 || frame.height <= 0) return;
  const bool keyed = original->transparent && original->mask != nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (keyed) {
    sheet.scaledOriginX = ScaleFloor(originX, scale_);
    sheet.scaledOriginY = ScaleFloor(originY, scale_);
    width = ScaleCeil(originX + frame.width, scale_) - sheet.scaledOriginX;
    height = ScaleCeil(originY + frame.height, scale_) - sheet.scaledOriginY;
  } else {
    width = ScaleRound(frame.width, scale_);
    height = ScaleRound(frame.height, scale_);
  }
  width = std::clamp(width, 1, kLargestScaledSide);
  height = std::clamp(height, 1, kLargestScaledSide);

  // The frames the original holds: every one whose box reaches into its picture.
  std::int32_t frames = 1;
  if (original->layout != gfx::LayoutWhole) {
    frames = 0;
    while (
        frames < kMostFrames &&
        !gfx::FrameSourceRect(*original, frames).Intersect(original->bitmap->bounds()).IsEmpty()) {
      ++frames;
    }
  }
  if (frames == 0) return;

  sheet.ready.assign(static_cast<std::size_t>(frames), 0);
  gfx::WBitmap& scaled = sheet.scaled;
  std::int32_t sheetWidth = width;
  std::int32_t sheetHeight = height;
  scaled.layout = gfx::LayoutWhole;
  if (original->layout != gfx::LayoutWhole) {
    // The scaled frames lie in rows of eight with one-pixel gaps, whatever the original's layout.
    scaled.layout = gfx::LayoutGrid8;
    sheetWidth = std::min(frames, 8) * (width + 1) - 1;
    sheetHeight = (frames + 7) / 8 * (height + 1) - 1;
  }
  scaled.width = sheetWidth;
  scaled.height = sheetHeight;
  scaled.frameWidth = width;
  scaled.frameHeight = height;
  scaled.transparent = keyed;
  scaled.keyColor = original->keyColor;
  if (keyed) {
    // Each frame a picture of its own, made when it is scaled: only the frames drawn at this
    // scale take memory (a whole sheet's mask would be written at once, every page of it).
    sheet.framePictures.resize(static_cast<std::size_t>(frames));
    return;
  }
  scaled.bitmap = std::make_unique<gfx::MemVideo>(sheetWidth, sheetHeight);
}

void ScaledSheets::ScaleFrame(Sheet& sheet, std::int32_t frame) {
  sheet.ready[static_cast<std::size_t>(frame)] = 1;
  const gfx::WBitmap& original = *sheet.original;
  const gfx::WBitmap& scaled = sheet.scaled;
  const gfx::IntRect source = gfx::FrameSourceRect(original, frame);
  const bool keyed = scaled.transparent;
  // A keyed frame goes into a picture of its own, an unkeyed one into its place in the sheet.
  gfx::WBitmap* into = &sheet.scaled;
  gfx::IntRect target = gfx::FrameSourceRect(scaled, frame);
  if (keyed) {
    auto picture = std::make_unique<gfx::WBitmap>();
    picture->bitmap = std::make_unique<gfx::MemVideo>(scaled.frameWidth, scaled.frameHeight);
    picture->width = scaled.frameWidth;
    picture->height = scaled.frameHeight;
    picture->transparent = true;
    picture->keyColor = scaled.keyColor;
    picture->mask = std::make_unique<gfx::ImageMask>();
    picture->mask->width = picture->width;
    picture->mask->height = picture->height;
    picture->mask->keyed.assign(static_cast<std::size_t>(picture->width) * picture->height, 1);
    target = picture->bitmap->bounds();
    into = picture.get();
    sheet.framePictures[static_cast<std::size_t>(frame)] = std::move(picture);
  }
  if (source.IsEmpty() || target.IsEmpty()) return;

  // Destination pixels map to the frame's own pixels: a keyed frame about the cell's anchor at
  // the scale's exact ratio, an unkeyed one stretched onto its rounded square.
  const double ratio = static_cast<double>(scale_.denominator) / scale_.numerator;
  std::vector<AxisTaps> columns;
  std::vector<AxisTaps> rows;
  if (keyed) {
    columns =
        MapAxis(target.Width(), sheet.scaledOriginX * ratio - sheet.originX, ratio, source.Width());
    rows = MapAxis(target.Height(), sheet.scaledOriginY * ratio - sheet.originY, ratio,
                   source.Height());
  } else {
    columns = MapAxis(target.Width(), 0.0, static_cast<double>(source.Width()) / target.Width(),
                      source.Width());
    rows = MapAxis(target.Height(), 0.0, static_cast<double>(source.Height()) / target.Height(),
                   source.Height());
  }
  const bool grows = ratio < 1.0;
  const gfx::MemVideo& pixels = *original.bitmap;
  const gfx::IntRect inside = pixels.bounds();
  auto opaqueAt = [&](std::int32_t x, std::int32_t y) {
    const std::int32_t sx = source.left + x;
    const std::int32_t sy = source.top + y;
    if (sx < inside.left || sx >= inside.right || sy < inside.top || sy >= inside.bottom) {
      return false;
    }
    return !keyed || !original.mask->IsKeyed(sx, sy);
  };

  for (std::int32_t y = 0; y < target.Height(); ++y) {
    const AxisTaps& down = rows[static_cast<std::size_t>(y)];
    gfx::Color* out = into->bitmap->row(target.top + y) + target.left;
    std::uint8_t* key = keyed ? into->mask->keyed.data() +
                                    static_cast<std::size_t>(target.top + y) * into->width +
                                    target.left
                              : nullptr;
    for (std::int32_t x = 0; x < target.Width(); ++x) {
      const AxisTaps& across = columns[static_cast<std::size_t>(x)];
      float red = 0.0f, green = 0.0f, blue = 0.0f, weight = 0.0f;
      for (int j = 0; j < down.count; ++j) {
        for (int i = 0; i < across.count; ++i) {
          if (!opaqueAt(across.index[i], down.index[j])) continue;
          const float w = across.weight[i] * down.weight[j];
          const gfx::Color c = pixels.at(source.left + across.index[i], source.top + down.index[j]);
          red += w * gfx::RedOf(c);
          green += w * gfx::GreenOf(c);
          blue += w * gfx::BlueOf(c);
          weight += w;
        }
      }
      // Shrinking, a pixel is opaque where any of its area is, so neighbouring diamonds leave
      // no gap; growing, where its centre is, so they do not overlap either.
      const bool opaque =
          weight > 0.0f && (!keyed || !grows || opaqueAt(across.nearest, down.nearest));
      if (opaque) {
        out[x] = gfx::Rgb(Channel(red, weight), Channel(green, weight), Channel(blue, weight));
      }
      if (key != nullptr) key[x] = opaque ? 0 : 1;
    }
  }
}

}  // namespace world
