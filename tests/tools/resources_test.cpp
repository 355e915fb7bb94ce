// The archives the build wrote, checked against the entry table and the game's own readers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "gfx/archive.h"
#include "gfx/png_file.h"
#include "gfx/wbitmap.h"
#include "tools/resbuild/animation.h"
#include "tools/resbuild/build.h"
#include "tools/resbuild/iso.h"

namespace resbuild {
namespace {

const std::filesystem::path kResourceDir = REDHOLLOW_RESOURCE_DIR;

std::string ArchivePath(const char* archive) {
  return (kResourceDir / archive).string();
}

// The archives as the build wrote them, each read from disk once.
const gfx::ByteBuffer& ArchiveImage(const char* archive) {
  static std::map<std::string, gfx::ByteBuffer> images;
  auto [place, added] = images.try_emplace(archive);
  if (added) {
    std::ifstream file(ArchivePath(archive), std::ios::binary);
    place->second.assign(std::istreambuf_iterator<char>(file), {});
  }
  return place->second;
}

std::unique_ptr<gfx::MemVideo> ReadPicture(const char* name) {
  const Entry* entry = FindEntry(name);
  if (entry == nullptr) return nullptr;
  gfx::ByteBuffer buffer;
  if (gfx::ReadArchiveEntryFromImage(buffer, ArchiveImage(entry->archive), name) != 0) {
    return nullptr;
  }
  return gfx::CreateDeviceBitmap(buffer);
}

gfx::MemVideo FrameOf(const gfx::MemVideo& sheet, const Entry& entry, int n) {
  const gfx::FramePoint origin = FrameOrigin(entry, n);
  gfx::MemVideo frame(entry.frameWidth, entry.frameHeight);
  for (int y = 0; y < entry.frameHeight; ++y) {
    for (int x = 0; x < entry.frameWidth; ++x)
      frame.set(x, y, sheet.at(origin.x + x, origin.y + y));
  }
  return frame;
}

std::uint32_t Le32(const gfx::ByteBuffer& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(const gfx::ByteBuffer& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

class ResourcesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { built_ = new BuiltResources(BuildResources()); }
  static void TearDownTestSuite() {
    delete built_;
    built_ = nullptr;
  }
  static const BuiltResources& Built() { return *built_; }

 private:
  static inline BuiltResources* built_ = nullptr;
};

TEST_F(ResourcesTest, EveryEntryIsInItsArchiveWithItsSizeAndFrames) {
  const std::filesystem::path previews =
      std::filesystem::path(REDHOLLOW_TEST_OUTPUT_DIR) / "resources";
  std::filesystem::create_directories(previews);
  for (const Entry& entry : Entries()) {
    SCOPED_TRACE(entry.name);
    for (const char* archive : ArchiveNames()) {
      gfx::ByteBuffer buffer;
      const int result = gfx::ReadArchiveEntryFromImage(buffer, ArchiveImage(archive), entry.name);
      EXPECT_EQ(result, std::strcmp(archive, entry.archive) == 0 ? 0 : 1) << archive;
    }
    if (entry.storage == Storage::Wave) continue;
    const std::unique_ptr<gfx::MemVideo> picture = ReadPicture(entry.name);
    ASSERT_NE(picture, nullptr);
    const PictureSize size = SheetSize(entry);
    EXPECT_EQ(picture->width(), size.width);
    EXPECT_EQ(picture->height(), size.height);
    // The game's reader must find every frame wholly inside the picture.
    gfx::WBitmap image;
    gfx::SetImage(image, std::make_unique<gfx::MemVideo>(*picture), entry.layout, entry.frameWidth,
                  entry.frameHeight, entry.transparent);
    const std::optional<gfx::FramePoint> last = gfx::FramePosition(image, entry.frameCount - 1);
    ASSERT_TRUE(last.has_value());
    EXPECT_LE(last->x + entry.frameWidth, picture->width());
    EXPECT_LE(last->y + entry.frameHeight, picture->height());
    if (entry.layout == gfx::LayoutGrid) {
      EXPECT_EQ(image.framesPerRow, entry.columns);
    }
    gfx::WritePng(*picture, (previews / (std::string(entry.name) + ".png")).string());
  }
}

TEST_F(ResourcesTest, PicturesReadBackExactlyAsQuantised) {
  for (const BuiltEntry& built : Built().entries) {
    if (built.entry->storage == Storage::Wave) continue;
    SCOPED_TRACE(built.entry->name);
    const std::unique_ptr<gfx::MemVideo> picture = ReadPicture(built.entry->name);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->width(), built.shown.width());
    ASSERT_EQ(picture->height(), built.shown.height());
    int mismatches = 0;
    for (int y = 0; y < picture->height(); ++y) {
      for (int x = 0; x < picture->width(); ++x) {
        mismatches += picture->at(x, y) != built.shown.at(x, y);
        // Holes stay holes and nothing shown became a hole.
        if (built.entry->transparent) {
          ASSERT_EQ(picture->at(x, y) == gfx::kBlack, built.source.at(x, y) == gfx::kBlack)
              << x << "," << y;
        }
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST_F(ResourcesTest, ArchivesAreTheSameFromRunToRun) {
  // The archives on disk came from the build's own run of resbuild; this is a second run.
  for (const char* archive : ArchiveNames()) {
    SCOPED_TRACE(archive);
    const gfx::ByteBuffer& onDisk = ArchiveImage(archive);
    const gfx::ByteBuffer fresh = tools::BuildArchive(Built().ItemsOf(archive));
    EXPECT_EQ(onDisk.size(), fresh.size());
    EXPECT_TRUE(onDisk == fresh);
  }
}

TEST_F(ResourcesTest, MapTilesPaintEveryPixelOfTheirDiamond) {
  struct Sheet {
    const char* name;
    Iso iso;
    int first;
    int last;
  };
  const Sheet sheets[] = {{"tiles0", Iso::Tile(), 0, 0},
                          {"tiles0", Iso::Tile(), 16, 38},
                          {"tiles1", Iso::Structure(), 2, 51},
                          {"tiles2", Iso::Structure(), 0, 75}};
  for (const Sheet& sheet : sheets) {
    const Entry& entry = *FindEntry(sheet.name);
    const std::unique_ptr<gfx::MemVideo> picture = ReadPicture(sheet.name);
    ASSERT_NE(picture, nullptr);
    for (int n = sheet.first; n <= sheet.last; ++n) {
      const gfx::MemVideo frame = FrameOf(*picture, entry, n);
      int holes = 0;
      for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
          if (sheet.iso.PixelInDiamond(x, y)) holes += frame.at(x, y) == gfx::kBlack;
        }
      }
      EXPECT_EQ(holes, 0) << sheet.name << " frame " << n;
    }
  }
  // The view outside the map is drawn on a surface that is never cleared: no holes at all.
  const std::unique_ptr<gfx::MemVideo> tiles0 = ReadPicture("tiles0");
  const gfx::MemVideo outside = FrameOf(*tiles0, *FindEntry("tiles0"), 15);
  for (int y = 0; y < outside.height(); ++y) {
    for (int x = 0; x < outside.width(); ++x) ASSERT_NE(outside.at(x, y), gfx::kBlack);
  }
}

TEST_F(ResourcesTest, FogCoversExactlyTheQuartersNotRevealed) {
  const Entry& entry = *FindEntry("tiles0");
  const std::unique_ptr<gfx::MemVideo> picture = ReadPicture("tiles0");
  const Iso iso = Iso::Tile();
  // A point well inside each quarter: 1 top, 2 right, 4 bottom, 8 left.
  const Point inside[4] = {iso.At(0.2, 0.2), iso.At(0.8, 0.2), iso.At(0.8, 0.8), iso.At(0.2, 0.8)};
  for (int mask = 1; mask <= 14; ++mask) {
    const gfx::MemVideo frame = FrameOf(*picture, entry, mask);
    for (int bit = 0; bit < 4; ++bit) {
      const bool revealed = (mask & (1 << bit)) != 0;
      const gfx::Color c =
          frame.at(static_cast<int>(inside[bit].x), static_cast<int>(inside[bit].y));
      EXPECT_EQ(c == gfx::kBlack, revealed) << "mask " << mask << " quarter " << (1 << bit);
    }
  }
}

TEST_F(ResourcesTest, AnimationFramesRepaintOnlyTheirMovingPart) {
  const Entry& animation = *FindEntry("Animation");
  const Entry& structures = *FindEntry("tiles1");
  const std::unique_ptr<gfx::MemVideo> frames = ReadPicture("Animation");
  const std::unique_ptr<gfx::MemVideo> tiles1 = ReadPicture("tiles1");
  int animated = 0;
  for (int n = 0; n < animation.frameCount; ++n) {
    const AnimationSource source = AnimationSourceOf(n);
    if (source.structureFrame < 0) continue;
    ++animated;
    const gfx::MemVideo frame = FrameOf(*frames, animation, n);
    const gfx::MemVideo still = FrameOf(*tiles1, structures, source.structureFrame);
    // The next frame of the same run (the run wraps round) must show the part moved.
    int next = n + 1;
    if (AnimationSourceOf(next).structureFrame != source.structureFrame)
      next = n - source.phase + 1;
    const gfx::MemVideo following = FrameOf(*frames, animation, next);
    int outsideDiffers = 0;
    int moved = 0;
    for (int y = 0; y < kAnimationSquareSize; ++y) {
      for (int x = 0; x < kAnimationSquareSize; ++x) {
        ASSERT_NE(frame.at(x, y), gfx::kBlack) << "frame " << n;
        if (source.moving.Contains(x, y)) {
          moved += frame.at(x, y) != following.at(x, y);
        } else {
          outsideDiffers +=
              frame.at(x, y) != still.at(x + kAnimationSquareLeft, y + kAnimationSquareTop);
        }
      }
    }
    EXPECT_EQ(outsideDiffers, 0) << "frame " << n;
    EXPECT_GT(moved, 0) << "frame " << n << " looks like frame " << next;
  }
  EXPECT_EQ(animated, 44);
}

TEST_F(ResourcesTest, MiniMapColoursAreTheirTilesAverageAndNeverBlack) {
  const std::unique_ptr<gfx::MemVideo> minimap = ReadPicture("MiniMap");
  const std::unique_ptr<gfx::MemVideo> tiles0 = ReadPicture("tiles0");
  ASSERT_NE(minimap, nullptr);
  for (int x = 0; x < minimap->width(); ++x) EXPECT_NE(minimap->at(x, 0), gfx::kBlack) << x;
  // Ground frame 8 stands for tiles0 frame 16.
  const gfx::MemVideo ground = FrameOf(*tiles0, *FindEntry("tiles0"), 16);
  double r = 0;
  int count = 0;
  for (int y = 0; y < ground.height(); ++y) {
    for (int x = 0; x < ground.width(); ++x) {
      if (ground.at(x, y) == gfx::kBlack) continue;
      r += gfx::RedOf(ground.at(x, y));
      ++count;
    }
  }
  EXPECT_NEAR(gfx::RedOf(minimap->at(16, 0)), r / count, 8);
}

TEST_F(ResourcesTest, SoundsAreMonoPcmWavesOfTheirLength) {
  for (const Entry& entry : Entries()) {
    if (entry.storage != Storage::Wave) continue;
    SCOPED_TRACE(entry.name);
    gfx::ByteBuffer wave;
    ASSERT_EQ(gfx::ReadArchiveEntry(wave, ArchivePath(entry.archive), entry.name), 0);
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(std::memcmp(wave.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le32(wave, 4), wave.size() - 8);
    EXPECT_EQ(std::memcmp(wave.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(Le16(wave, 20), 1);  // PCM
    EXPECT_EQ(Le16(wave, 22), 1);  // mono
    const std::uint32_t rate = Le32(wave, 24);
    EXPECT_TRUE(rate == 22050 || rate == 44100);
    EXPECT_EQ(Le16(wave, 34), 16);
    EXPECT_EQ(std::memcmp(wave.data() + 36, "data", 4), 0);
    const std::uint32_t bytes = Le32(wave, 40);
    ASSERT_EQ(bytes, wave.size() - 44);
    const double seconds = bytes / 2.0 / rate;
    EXPECT_GE(seconds, entry.minSeconds);
    EXPECT_LE(seconds, entry.maxSeconds);
    int peak = 0;
    for (std::size_t i = 44; i + 1 < wave.size(); i += 2) {
      peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(Le16(wave, i)))));
    }
    EXPECT_GT(peak, 8000) << "too quiet";
    EXPECT_LT(peak, 32767) << "clipped";
  }
}

}  // namespace
}  // namespace resbuild
