#include "gfx/archive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>
#include <random>

#include "fuzz/archive_fuzz_input.h"
#include "tools/archive_writer.h"

// The largest single allocation since the last reset: damaged headers must not make the
// readers ask for memory their input could never fill.
namespace {
std::atomic<std::size_t> largestAllocation{0};
}  // namespace

void* operator new(std::size_t size) {
  std::size_t seen = largestAllocation.load();
  while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
// gcc sees the malloc of the replaced new and this free as a mismatch once both are inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace gfx {
namespace {

constexpr std::size_t kSmallAllocation = 1 << 20;

namespace fs = std::filesystem;
using tools::ArchiveItem;
using tools::Palette;

constexpr std::size_t kRows = 1078;  // where an indexed bitmap file image keeps its rows

void PutLe32(ByteBuffer& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutLe64(ByteBuffer& b, std::size_t at, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t GetLe32(const ByteBuffer& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
// Offsets of the fields of directory entry i in an archive image.
std::size_t EntryField(std::size_t i, std::size_t field) {
  return 4 + 40 * i + field;
}

// Colour i is unique for every index, so a misplaced index shows as a wrong colour.
Palette TestPalette() {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[i] = Rgb(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
               static_cast<std::uint8_t>(i * 7));
  }
  return p;
}

ByteBuffer Bytes(std::initializer_list<int> values) {
  ByteBuffer b;
  for (int v : values) b.push_back(static_cast<std::uint8_t>(v));
  return b;
}

// A packed picture around hand-coded pixels, converted.
ByteBuffer Converted(std::int32_t width, std::int32_t height, const ByteBuffer& coded,
                     const Palette& palette = TestPalette()) {
  ByteBuffer buffer = tools::WrapPackedPicture(width, height, coded, palette);
  ConvertPackedPicture(buffer);
  return buffer;
}

class ArchiveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    dir_ = fs::temp_directory_path() / ("redhollow-archive-" + std::to_string(stamp) + "-" +
                                        std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const ByteBuffer& image, const std::string& name = "res.dat") {
    const fs::path path = dir_ / name;
    EXPECT_TRUE(tools::WriteBytesFile(path, image));
    return path.string();
  }
  std::string Write(const std::vector<ArchiveItem>& items) {
    return Write(tools::BuildArchive(items));
  }

  fs::path dir_;
};

TEST_F(ArchiveFileTest, NamesMatchWithoutCaseAndOnlyWhole) {
  const std::string file = Write({{"click1", 0, Bytes({1})}, {"DlgButton", 0, Bytes({2, 3})}});
  for (const char* name : {"DLGBUTTON", "dlgbutton", "DlgButton"}) {
    ByteBuffer buffer;
    EXPECT_EQ(ReadArchiveEntry(buffer, file, name), 0) << name;
    EXPECT_EQ(buffer, Bytes({2, 3})) << name;
  }
  testing::internal::CaptureStderr();
  for (const char* name : {"DlgButto", "DlgButtonX", "", "DlgButton\xff"}) {
    ByteBuffer buffer;
    EXPECT_EQ(ReadArchiveEntry(buffer, file, name), 1) << name;
  }
  testing::internal::GetCapturedStderr();
}

TEST_F(ArchiveFileTest, FirstOfTwoEqualNamesWins) {
  const std::string file = Write({{"Tiles0", 0, Bytes({1})}, {"TILES0", 0, Bytes({2})}});
  ByteBuffer buffer;
  ASSERT_EQ(ReadArchiveEntry(buffer, file, "tiles0"), 0);
  EXPECT_EQ(buffer, Bytes({1}));
}

TEST_F(ArchiveFileTest, OtherKindsComeBackByteForByteAndReplaceTheBuffer) {
  const ByteBuffer wave = Bytes({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E', 0xC5, 0});
  const ByteBuffer bitmap = tools::EncodeRgbBitmap(1, 1, 24, std::vector<Color>{0x123456});
  const std::string file =
      Write({{"click1", 0, wave}, {"MMBkgnd", 2, bitmap}, {"odd", -7, wave}, {"none", 0, {}}});
  ByteBuffer buffer = Bytes({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
  ASSERT_EQ(ReadArchiveEntry(buffer, file, "click1"), 0);
  EXPECT_EQ(buffer, wave);
  ASSERT_EQ(ReadArchiveEntry(buffer, file, "mmbkgnd"), 0);
  EXPECT_EQ(buffer, bitmap);
  ASSERT_EQ(ReadArchiveEntry(buffer, file, "odd"), 0);
  EXPECT_EQ(buffer, wave);
  ASSERT_EQ(ReadArchiveEntry(buffer, file, "none"), 0);
  EXPECT_TRUE(buffer.empty());
}

TEST_F(ArchiveFileTest, MissLeavesTheBufferAndTellsStderr) {
  const std::string file = Write({{"click1", 0, Bytes({1})}});
  ByteBuffer buffer = Bytes({7, 8});
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadArchiveEntry(buffer, file, "click2"), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Resource <click2> not found, FILE: " + file + "\n");
  EXPECT_EQ(buffer, Bytes({7, 8}));
}

TEST_F(ArchiveFileTest, MissingOrUnreadableArchivesLackEveryEntry) {
  ByteBuffer buffer = Bytes({7});
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadArchiveEntry(buffer, (dir_ / "absent.dat").string(), "click1"), 1);
  EXPECT_EQ(ReadArchiveEntry(buffer, dir_.string(), "click1"), 1);  // a directory
  EXPECT_EQ(ReadArchiveEntry(buffer, Write(Bytes({1, 0}), "short.dat"), "click1"), 1);
  EXPECT_EQ(ReadArchiveEntry(buffer, Write(ByteBuffer{}, "empty.dat"), ""), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(buffer, Bytes({7}));
}

TEST_F(ArchiveFileTest, NameFillingAllSixteenBytesEndsThere) {
  ByteBuffer image = tools::BuildArchive({{"x", 0, Bytes({5})}});
  for (std::size_t i = 0; i < 16; ++i) image[EntryField(0, i)] = 'a' + static_cast<int>(i);
  // The kind field right after the name is not part of it.
  PutLe32(image, EntryField(0, 16), 'q');
  const std::string file = Write(image);
  ByteBuffer buffer;
  EXPECT_EQ(ReadArchiveEntry(buffer, file, "ABCDEFGHIJKLMNOP"), 0);
  EXPECT_EQ(buffer, Bytes({5}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReadArchiveEntry(buffer, file, "abcdefghijklmnopq"), 1);
  testing::internal::GetCapturedStderr();
}

// Every damage below either stops the directory walk or spoils the first matching entry,
// and reads as a missing entry with the buffer untouched.
TEST_F(ArchiveFileTest, DamagedDirectoriesAndEntriesReadAsMissing) {
  const std::vector<ArchiveItem> items = {{"a", 0, Bytes({1, 2, 3})}, {"b", 0, Bytes({4})}};
  const ByteBuffer good = tools::BuildArchive(items);
  const std::size_t fileSize = good.size();
  struct Damage {
    const char* what;
    std::function<void(ByteBuffer&)> apply;
    const char* lookup;
  };
  const Damage damages[] = {
      {"negative count", [](ByteBuffer& b) { PutLe32(b, 0, 0xFFFFFFFF); }, "a"},
      {"count past the file", [](ByteBuffer& b) { PutLe32(b, 0, 0x7FFFFFFF); }, "zz"},
      {"directory cut short", [](ByteBuffer& b) { b.resize(4 + 40 + 20); }, "b"},
      {"negative size", [](ByteBuffer& b) { PutLe32(b, EntryField(0, 32), 0xFFFFFFFE); }, "a"},
      {"size past the end",
       [&](ByteBuffer& b) { PutLe32(b, EntryField(0, 32), static_cast<std::uint32_t>(fileSize)); },
       "a"},
      {"huge size", [](ByteBuffer& b) { PutLe32(b, EntryField(0, 32), 0x7FFFFFFF); }, "a"},
      {"offset at the end plus one byte",
       [&](ByteBuffer& b) { PutLe64(b, EntryField(1, 24), fileSize); }, "b"},
      {"negative offset", [](ByteBuffer& b) { PutLe64(b, EntryField(0, 24), ~0ull); }, "a"},
      {"offset near the 64-bit limit",
       [](ByteBuffer& b) { PutLe64(b, EntryField(0, 24), 0x7FFFFFFFFFFFFFFFull); }, "a"},
      {"damaged first of two equal names",
       [](ByteBuffer& b) {
         b[EntryField(1, 0)] = 'A';
         PutLe32(b, EntryField(0, 32), 0x7FFFFFFF);
       },
       "a"},
  };
  for (const Damage& damage : damages) {
    ByteBuffer image = good;
    damage.apply(image);
    const std::string file = Write(image);
    ByteBuffer buffer = Bytes({42});
    testing::internal::CaptureStderr();
    largestAllocation = 0;
    EXPECT_EQ(ReadArchiveEntry(buffer, file, damage.lookup), 1) << damage.what;
    EXPECT_LT(largestAllocation, kSmallAllocation) << damage.what;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(buffer, Bytes({42})) << damage.what;
    EXPECT_EQ(ReadArchiveEntryFromImage(buffer, image, damage.lookup), 1) << damage.what;
    // The check at start-up finds every one of them.
    EXPECT_TRUE(ArchiveFault(file)) << damage.what;
    EXPECT_TRUE(ArchiveImageFault(image)) << damage.what;
  }
  EXPECT_EQ(ArchiveFault(Write(good)), std::nullopt);

  // A huge count does not matter when the entry comes before the directory runs out.
  ByteBuffer image = good;
  PutLe32(image, 0, 0x7FFFFFFF);
  ByteBuffer buffer;
  EXPECT_EQ(ReadArchiveEntry(buffer, Write(image), "b"), 0);
  EXPECT_EQ(buffer, Bytes({4}));
}

// The reasons the game gives when it refuses to start with an archive.
TEST_F(ArchiveFileTest, ArchiveFaultSaysWhyAnArchiveCannotBeUsed) {
  EXPECT_EQ(ArchiveFault((dir_ / "absent.dat").string()), "is missing");
  EXPECT_EQ(ArchiveFault(dir_.string()), "is not a file that can be read");
  EXPECT_EQ(ArchiveFault(Write(ByteBuffer{}, "empty.dat")),
            "is damaged: it is too short to hold a directory");
  EXPECT_EQ(ArchiveFault(Write(Bytes({0, 0, 0, 0}), "none.dat")),
            "is damaged: its directory lists no entries");

  const ByteBuffer good =
      tools::BuildArchive({{"click1", 0, Bytes({1, 2})}, {"tiles0", 0, Bytes({3})}});
  ByteBuffer cut = good;
  cut.resize(4 + 40 + 39);
  EXPECT_EQ(ArchiveImageFault(cut),
            "is damaged: its directory of 2 entries reaches past the end of the file");
  cut = good;
  cut.resize(cut.size() - 1);  // the last byte of the last entry
  EXPECT_EQ(ArchiveImageFault(cut),
            "is damaged: the data of its entry \"tiles0\" lies past the end of the file");
  // A name that is no text is shown without its odd bytes.
  cut[EntryField(1, 1)] = 0xFF;
  cut[EntryField(1, 2)] = '\n';
  EXPECT_EQ(ArchiveImageFault(cut),
            "is damaged: the data of its entry \"t??es0\" lies past the end of the file");
}

TEST(ConvertPackedPicture, WritesTheBitmapHeadersAndPadsRowsToFourBytes) {
  struct Case {
    std::int32_t width, stride;
  };
  for (const Case c : {Case{5, 8}, Case{8, 8}, Case{1, 4}, Case{4, 4}}) {
    ByteBuffer indices(static_cast<std::size_t>(c.width) * 2, 3);
    const ByteBuffer out = [&] {
      ByteBuffer b = tools::EncodePackedPicture(c.width, 2, indices, TestPalette());
      ConvertPackedPicture(b);
      return b;
    }();
    ASSERT_EQ(out.size(), kRows + 2u * c.stride) << c.width;
    EXPECT_EQ(out[0], 'B');
    EXPECT_EQ(out[1], 'M');
    EXPECT_EQ(GetLe32(out, 2), 0u);
    EXPECT_EQ(GetLe32(out, 10), kRows);
    EXPECT_EQ(GetLe32(out, 14), 40u);
    EXPECT_EQ(GetLe32(out, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(GetLe32(out, 22), 2u);
    EXPECT_EQ(out[26] | (out[27] << 8), 1);
    EXPECT_EQ(out[28] | (out[29] << 8), 8);
    EXPECT_EQ(GetLe32(out, 30), 0u);
    EXPECT_EQ(GetLe32(out, 34), 2u * c.stride);
    for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(out[at], 0) << at;
    for (int row = 0; row < 2; ++row) {
      for (int x = 0; x < c.stride; ++x) {
        EXPECT_EQ(out[kRows + row * c.stride + x], x < c.width ? 3 : 0) << c.width << "," << x;
      }
    }
  }
}

TEST(ConvertPackedPicture, FirstCodedRowEndsUpLastAndPaletteTurnsToQuads) {
  Palette palette{};
  palette[1] = Rgb(10, 20, 30);
  palette[255] = Rgb(1, 2, 3);
  const ByteBuffer out = Converted(4, 3, Bytes({1, 1, 1, 1, 2, 2, 2, 2, 0xC4, 3}), palette);
  ASSERT_EQ(out.size(), kRows + 12);
  EXPECT_EQ(ByteBuffer(out.begin() + 54, out.begin() + 62), Bytes({0, 0, 0, 0, 30, 20, 10, 0}));
  EXPECT_EQ(ByteBuffer(out.begin() + 54 + 4 * 255, out.begin() + kRows), Bytes({3, 2, 1, 0}));
  EXPECT_EQ(ByteBuffer(out.begin() + kRows, out.end()),
            Bytes({3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1}));

  const ByteBuffer single = Converted(3, 1, Bytes({7, 8, 9}));
  EXPECT_EQ(ByteBuffer(single.begin() + kRows, single.end()), Bytes({7, 8, 9, 0}));
}

TEST(ConvertPackedPicture, RunsCrossRowsZeroRunsAreEmptyAndRunsStopAtTheLastPixel) {
  // Row 0 (stored last): 7 7 7; row 1: 7 then the run of 9 that crosses into row 2.
  ByteBuffer out = Converted(3, 3, Bytes({0xC4, 7, 0xC0, 0x55, 0xC3, 9, 0xC0, 0, 4, 5}));
  EXPECT_EQ(ByteBuffer(out.begin() + kRows, out.end()),
            Bytes({9, 4, 5, 0, 7, 9, 9, 0, 7, 7, 7, 0}));

  // A run of 63 into a picture of 2 pixels stops there; the marker and palette still follow
  // the run's value byte.
  Palette palette{};
  palette[6] = Rgb(10, 20, 30);
  out = Converted(2, 1, Bytes({0xFF, 6}), palette);
  EXPECT_EQ(ByteBuffer(out.begin() + kRows, out.end()), Bytes({6, 6, 0, 0}));
  EXPECT_EQ(ByteBuffer(out.begin() + 54 + 24, out.begin() + 54 + 28), Bytes({30, 20, 10, 0}));
}

// Pictures that cannot be decoded in full are dropped: the buffer ends up empty, and an
// archive read of one still finds the entry.
TEST(ConvertPackedPicture, UndecodablePicturesBecomeEmpty) {
  const Palette palette = TestPalette();
  std::vector<std::pair<const char*, ByteBuffer>> damaged;
  damaged.emplace_back("empty", ByteBuffer{});
  damaged.emplace_back("header only", ByteBuffer(128, 0));
  damaged.emplace_back("header and one byte", ByteBuffer(129, 0));
  damaged.emplace_back("more pixels than runs can give",
                       tools::WrapPackedPicture(65536, 65536, ByteBuffer(40, 0xFF), palette));
  damaged.emplace_back("pixels end early", tools::WrapPackedPicture(4, 4, Bytes({1, 2}), palette));
  {
    ByteBuffer noValue = tools::WrapPackedPicture(4, 4, Bytes({0xC5}), palette);
    noValue.resize(128 + 1);  // the run's value byte is missing
    damaged.emplace_back("run without its value", noValue);
  }
  {
    ByteBuffer shortPalette = tools::EncodePackedPicture(2, 2, Bytes({1, 2, 3, 4}), palette);
    shortPalette.pop_back();
    damaged.emplace_back("palette cut short", shortPalette);
  }
  for (auto& [what, picture] : damaged) {
    ByteBuffer buffer = picture;
    largestAllocation = 0;
    ConvertPackedPicture(buffer);
    EXPECT_LT(largestAllocation, kSmallAllocation) << what;
    EXPECT_TRUE(buffer.empty()) << what;
    EXPECT_EQ(CreateDeviceBitmap(buffer), nullptr) << what;

    const ByteBuffer image = tools::BuildArchive({{"pic", 1, picture}});
    buffer = Bytes({1});
    EXPECT_EQ(ReadArchiveEntryFromImage(buffer, image, "PIC"), 0) << what;
    EXPECT_TRUE(buffer.empty()) << what;
  }
}

void ExpectPixels(const MemVideo* surface, std::int32_t width, std::int32_t height,
                  const std::function<Color(std::int32_t, std::int32_t)>& expected,
                  const std::string& what) {
  ASSERT_NE(surface, nullptr) << what;
  ASSERT_EQ(surface->width(), width) << what;
  ASSERT_EQ(surface->height(), height) << what;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      ASSERT_EQ(surface->at(x, y), expected(x, y)) << what << " at " << x << "," << y;
    }
  }
}

TEST_F(ArchiveFileTest, PackedPicturesRoundTripThroughAnArchiveFile) {
  const Palette palette = TestPalette();
  std::mt19937 random(7);
  struct Picture {
    std::int32_t width, height;
    ByteBuffer indices;
  };
  std::vector<Picture> pictures;
  pictures.push_back({1, 1, Bytes({200})});
  pictures.push_back({5, 3, {}});
  for (int i = 0; i < 15; ++i)
    pictures.back().indices.push_back(static_cast<std::uint8_t>(random()));
  pictures.push_back({130, 4, ByteBuffer(520, 0xC0)});  // long runs of an index that needs them
  for (std::size_t i = 0; i < 520; i += 3)
    pictures.back().indices[i] = static_cast<std::uint8_t>(i % 4);

  std::vector<ArchiveItem> items;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    items.push_back({"pic" + std::to_string(i), 1,
                     tools::EncodePackedPicture(p.width, p.height, p.indices, palette)});
  }
  const std::string file = Write(items);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    ByteBuffer buffer;
    ASSERT_EQ(ReadArchiveEntry(buffer, file, "PIC" + std::to_string(i)), 0);
    const auto surface = CreateDeviceBitmap(buffer);
    ExpectPixels(
        surface.get(), p.width, p.height,
        [&](std::int32_t x, std::int32_t y) { return palette[p.indices[y * p.width + x]]; },
        "picture " + std::to_string(i));
  }
}

TEST(RunLengthEncode, CodesRepeatsAndHighIndicesAsRuns) {
  EXPECT_EQ(tools::RunLengthEncode(4, 1, Bytes({5, 5, 5, 6})), Bytes({0xC3, 5, 6}));
  EXPECT_EQ(tools::RunLengthEncode(2, 2, Bytes({192, 1, 1, 255})),
            Bytes({0xC1, 192, 1, 1, 0xC1, 255}));
  const ByteBuffer coded = tools::RunLengthEncode(64, 1, ByteBuffer(64, 9));
  EXPECT_EQ(coded, Bytes({0xFF, 9, 9}));
}

TEST(CreateDeviceBitmap, ColourBitmapsFromOffset54BothWaysUp) {
  std::vector<Color> pixels;
  for (std::uint32_t i = 0; i < 3 * 5; ++i) pixels.push_back(Rgb(i * 16, 255 - i, i * 3 + 1));
  for (int bits : {24, 32}) {
    for (bool topDown : {false, true}) {
      ByteBuffer bitmap = tools::EncodeRgbBitmap(3, 5, bits, pixels, topDown);
      PutLe32(bitmap, 10, 1078);  // the header's row offset is not what places the rows
      const std::string what = std::to_string(bits) + (topDown ? " top-down" : " bottom-up");
      ExpectPixels(
          CreateDeviceBitmap(bitmap).get(), 3, 5,
          [&](std::int32_t x, std::int32_t y) { return pixels[y * 3 + x]; }, what);
    }
  }
  // Rows are padded: 3 pixels of 24 bits take 12 bytes, so row 0 (stored last) starts at 54+48.
  const ByteBuffer bitmap = tools::EncodeRgbBitmap(3, 5, 24, pixels);
  EXPECT_EQ(bitmap.size(), 54u + 12 * 5);
  EXPECT_EQ(ByteBuffer(bitmap.begin() + 54 + 48, bitmap.begin() + 54 + 51), Bytes({1, 255, 0}));
}

TEST(CreateDeviceBitmap, IndexedBitmapsUseTheFullPaletteAndRowsAt1078) {
  const Palette palette = TestPalette();
  const std::int32_t width = 11, height = 3;
  for (int bits : {1, 4, 8}) {
    ByteBuffer indices;
    for (int i = 0; i < width * height; ++i) {
      indices.push_back(static_cast<std::uint8_t>((i * 37 + 5) & ((1 << bits) - 1)));
    }
    for (bool topDown : {false, true}) {
      ByteBuffer bitmap =
          tools::EncodeIndexedBitmap(width, height, bits, indices, palette, topDown);
      PutLe32(bitmap, 10, 62);  // a short palette claimed in the header changes nothing
      PutLe32(bitmap, 46, 2);
      const std::string what = std::to_string(bits) + (topDown ? " top-down" : " bottom-up");
      ExpectPixels(
          CreateDeviceBitmap(bitmap).get(), width, height,
          [&](std::int32_t x, std::int32_t y) { return palette[indices[y * width + x]]; }, what);
    }
  }
}

TEST(CreateDeviceBitmap, RefusesBuffersThatAreNotUsableBitmaps) {
  const ByteBuffer good = tools::EncodeRgbBitmap(2, 2, 24, std::vector<Color>(4, 0x010203));
  ASSERT_NE(CreateDeviceBitmap(good), nullptr);
  const ByteBuffer goodIndexed =
      tools::EncodeIndexedBitmap(2, 2, 8, ByteBuffer(4, 1), TestPalette());
  ASSERT_NE(CreateDeviceBitmap(goodIndexed), nullptr);

  struct Damage {
    const char* what;
    std::function<void(ByteBuffer&)> apply;
  };
  auto setField16 = [](std::size_t at, std::uint16_t v) {
    return [=](ByteBuffer& b) {
      b[at] = static_cast<std::uint8_t>(v);
      b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
  };
  auto setField32 = [](std::size_t at, std::uint32_t v) {
    return [=](ByteBuffer& b) { PutLe32(b, at, v); };
  };
  const Damage damages[] = {
      {"empty", [](ByteBuffer& b) { b.clear(); }},
      {"shorter than the headers", [](ByteBuffer& b) { b.resize(53); }},
      {"wrong signature", [](ByteBuffer& b) { b[1] = 'A'; }},
      {"last row cut short", [](ByteBuffer& b) { b.pop_back(); }},
      {"zero width", setField32(18, 0)},
      {"negative width", setField32(18, 0xFFFFFFFE)},
      {"zero height", setField32(22, 0)},
      {"height of the most negative value", setField32(22, 0x80000000)},
      {"absurd width", setField32(18, 0x7FFFFFFF)},
      {"width past the rows", setField32(18, 3)},
      {"16 bits", setField16(28, 16)},
      {"0 bits", setField16(28, 0)},
      {"compressed", setField32(30, 1)},
      {"bit fields", setField32(30, 3)},
      {"small info header", setField32(14, 12)},
      {"no planes", setField16(26, 0)},
  };
  for (const Damage& damage : damages) {
    ByteBuffer bitmap = good;
    damage.apply(bitmap);
    largestAllocation = 0;
    EXPECT_EQ(CreateDeviceBitmap(bitmap), nullptr) << damage.what;
    EXPECT_LT(largestAllocation, kSmallAllocation) << damage.what;
  }
  // An indexed image needs its whole palette before its rows, even with few colours used.
  ByteBuffer indexed = goodIndexed;
  indexed.resize(kRows + 4);
  EXPECT_EQ(CreateDeviceBitmap(indexed), nullptr);
  indexed = goodIndexed;
  setField16(28, 32)(indexed);  // as 32 bits the rows from 54 do fit
  EXPECT_NE(CreateDeviceBitmap(indexed), nullptr);
}

// Every input the fuzzer ever crashed on is kept and replayed through the fuzzer's own path.
TEST(ArchiveFuzzRegressions, ReplayEverySavedInput) {
  const fs::path folder = fs::path(REDHOLLOW_TEST_DATA_DIR) / "fuzz-regressions" / "archive";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no folder " << folder;
  int replayed = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream file(entry.path(), std::ios::binary);
    const ByteBuffer input((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().string());
    fuzzing::RunArchiveFuzzInput(input);
    ++replayed;
  }
  RecordProperty("replayed", replayed);
}

// Writes the fuzzer's seed corpus; run with REDHOLLOW_WRITE_FUZZ_SEEDS=1 after a format change.
TEST(ArchiveFuzzSeeds, Write) {
  if (std::getenv("REDHOLLOW_WRITE_FUZZ_SEEDS") == nullptr) {
    GTEST_SKIP() << "set REDHOLLOW_WRITE_FUZZ_SEEDS to rewrite the seed corpus";
  }
  const fs::path folder = fs::path(REDHOLLOW_TEST_DATA_DIR) / "fuzz-seeds" / "archive";
  fs::create_directories(folder);
  Palette palette{};
  for (int i = 0; i < 8; ++i) palette[i] = Rgb(i * 32, 255 - i * 32, 128);
  palette[200] = Rgb(10, 20, 30);
  const ByteBuffer indices = Bytes({0, 0, 0, 1, 2, 200, 3, 3, 3, 3, 4, 5, 200, 200, 6, 7});
  const ByteBuffer wave =
      Bytes({'R', 'I', 'F', 'F', 36,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't',  ' ',
             16,  0,   0,   0,   1,   0,   1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B, 0,    0,
             1,   0,   8,   0,   'd', 'a', 't', 'a', 4,    0,    0,   0,   0x80, 0x90, 0x70, 0x80});
  const std::vector<Color> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0, 0x808080};
  const std::pair<const char*, std::vector<ArchiveItem>> seeds[] = {
      {"packed.dat", {{"tiles0", 1, tools::EncodePackedPicture(4, 4, indices, palette)}}},
      {"bitmap24.dat",
       {{"DlgButton", 0, tools::EncodeRgbBitmap(3, 2, 24, pixels)},
        {"first", 0, tools::EncodeRgbBitmap(2, 3, 32, pixels, true)}}},
      {"wave.dat", {{"click1", 0, wave}}},
      {"duplicates.dat",
       {{"DLGBUTTON", 0, tools::EncodeRgbBitmap(1, 1, 24, std::span(pixels).first(1))},
        {"dlgbutton", 1, tools::EncodePackedPicture(2, 1, Bytes({1, 2}), palette)},
        {"click1", 0, Bytes({1, 2, 3})}}},
  };
  for (const auto& [name, items] : seeds) {
    EXPECT_TRUE(tools::WriteArchiveFile(folder / name, items)) << name;
  }
}

}  // namespace
}  // namespace gfx
