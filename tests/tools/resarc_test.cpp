// resarc against the archives the build wrote: unpacking and packing again keeps every
// picture's pixels and every sound's bytes, and bad input ends in one clear line.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/draw.h"
#include "gfx/png_file.h"
#include "gfx/wbitmap.h"
#include "tools/archive_writer.h"
#include "tools/resarc/archive_index.h"
#include "tools/resarc/commands.h"
#include "tools/resarc/error.h"
#include "tools/resarc/manifest.h"
#include "tools/resarc/preview_map.h"
#include "tools/resarc/sheet.h"

// Every fsync this test program makes, with the path its descriptor names and whether the
// file a test watches existed at that moment: the C library's fsync is replaced here.
namespace {
struct Sync {
  std::string path;
  bool watchedExisted;
};
std::vector<Sync> syncs;
std::filesystem::path watchedFile;
}  // namespace

extern "C" int fsync(int fd) {
  std::error_code ec;
  const std::filesystem::path target =
      std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
  syncs.push_back({target.string(), std::filesystem::exists(watchedFile, ec)});
  return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace resarc {
namespace {

namespace fs = std::filesystem;

const fs::path kResourceDir = REDHOLLOW_RESOURCE_DIR;

fs::path FreshDir(const std::string& name) {
  const fs::path dir = fs::path(REDHOLLOW_TEST_OUTPUT_DIR) / "resarc" / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string ReadText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

struct RunResult {
  int status = -1;
  std::string err;
};

RunResult RunResarc(const std::string& arguments, const fs::path& scratch) {
  const fs::path errFile = scratch / "stderr.txt";
  const std::string command = std::string("'") + RESARC_PROGRAM + "' " + arguments + " >'" +
                              (scratch / "stdout.txt").string() + "' 2>'" + errFile.string() + "'";
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.err = ReadText(errFile);
  return result;
}

int LineCount(const std::string& text) {
  int lines = 0;
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

void ExpectSamePicture(const gfx::MemVideo& a, const gfx::MemVideo& b) {
  ASSERT_EQ(a.width(), b.width());
  ASSERT_EQ(a.height(), b.height());
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) differing += a.at(x, y) != b.at(x, y) ? 1 : 0;
  }
  EXPECT_EQ(differing, 0);
}

// Every entry of the repacked archive shows what the original showed, in the same order.
void ExpectSameContents(const std::vector<IndexedEntry>& original,
                        const std::vector<IndexedEntry>& repacked) {
  ASSERT_EQ(original.size(), repacked.size());
  for (std::size_t i = 0; i < original.size(); ++i) {
    SCOPED_TRACE(original[i].name);
    EXPECT_EQ(original[i].name, repacked[i].name);
    EXPECT_EQ(original[i].kind, repacked[i].kind);
    const auto before = DecodePicture(original[i]);
    if (before != nullptr) {
      const auto after = DecodePicture(repacked[i]);
      ASSERT_NE(after, nullptr);
      ExpectSamePicture(*before, *after);
    } else {
      EXPECT_EQ(original[i].data, repacked[i].data);
    }
  }
}

TEST(ResarcRoundTrip, ExtractPackExtractKeepsEveryPictureAndSound) {
  for (const char* name : {"res00.dat", "res01.dat", "res02.dat"}) {
    SCOPED_TRACE(name);
    const fs::path dir = FreshDir(std::string("round-") + name);
    const fs::path original = kResourceDir / name;
    const fs::path repacked = dir / name;
    ExtractArchive(original, dir / "first");
    PackArchive(dir / "first", repacked);
    ExtractArchive(repacked, dir / "second");
    ExpectSameContents(ReadArchiveIndex(original), ReadArchiveIndex(repacked));

    // The unpacked folders are identical file for file, manifest included.
    std::set<std::string> files;
    for (const auto& item : fs::directory_iterator(dir / "first")) {
      files.insert(item.path().filename().string());
    }
    EXPECT_TRUE(files.count(kManifestName));
    for (const std::string& file : files) {
      EXPECT_EQ(ReadText(dir / "first" / file), ReadText(dir / "second" / file)) << file;
    }
  }
}

TEST(ResarcRoundTrip, ManyColouredPictureIsQuantisedWithHolesKept) {
  const fs::path dir = FreshDir("quantise");
  ExtractArchive(kResourceDir / "res01.dat", dir);
  // DlgIcon is transparent; paint a gradient of thousands of colours into its holes' frame
  // and leave the left column black.
  const fs::path icon = dir / "002-DlgIcon.png";
  auto picture = gfx::ReadPng(icon.string());
  ASSERT_NE(picture, nullptr);
  for (int y = 0; y < picture->height(); ++y) {
    picture->set(0, y, gfx::kBlack);
    for (int x = 1; x < picture->width(); ++x) {
      picture->set(x, y,
                   gfx::Rgb(static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y),
                            static_cast<std::uint8_t>(255 - y)));
    }
  }
  ASSERT_TRUE(gfx::WritePng(*picture, icon.string()));
  PackArchive(dir, dir / "res01.dat");

  std::unique_ptr<gfx::MemVideo> packed;
  for (const IndexedEntry& entry : ReadArchiveIndex(dir / "res01.dat")) {
    if (entry.name == "DlgIcon") packed = DecodePicture(entry);
  }
  ASSERT_NE(packed, nullptr);
  std::set<gfx::Color> colours;
  int blackShown = 0;
  int maxError = 0;
  for (int y = 0; y < packed->height(); ++y) {
    EXPECT_EQ(packed->at(0, y), gfx::kBlack);
    for (int x = 1; x < packed->width(); ++x) {
      const gfx::Color c = packed->at(x, y);
      const gfx::Color want = picture->at(x, y);
      colours.insert(c);
      blackShown += c == gfx::kBlack ? 1 : 0;
      maxError = std::max({maxError, std::abs(gfx::RedOf(c) - gfx::RedOf(want)),
                           std::abs(gfx::GreenOf(c) - gfx::GreenOf(want)),
                           std::abs(gfx::BlueOf(c) - gfx::BlueOf(want))});
    }
  }
  EXPECT_LE(colours.size(), 255u);
  EXPECT_EQ(blackShown, 0);
  EXPECT_LT(maxError, 40);
}

TEST(ResarcManifest, NamesAndFilesCannotEscapeTheFolder) {
  // An archive whose names hold a path, a space and a non-ASCII byte.
  const fs::path dir = FreshDir("names");
  const std::vector<tools::ArchiveItem> items = {
      {"../../evil", 7, {1, 2, 3}},
      {"a b%\xE9", 7, {4, 5}},
  };
  ASSERT_TRUE(tools::WriteArchiveFile(dir / "odd.dat", items));
  ExtractArchive(dir / "odd.dat", dir / "out");
  int unpacked = 0;
  for (const auto& item : fs::recursive_directory_iterator(dir)) {
    if (!item.is_regular_file() || item.path().filename() == "odd.dat") continue;
    EXPECT_EQ(item.path().parent_path(), dir / "out");
    ++unpacked;
  }
  EXPECT_EQ(unpacked, 3);  // both entries and the manifest
  PackArchive(dir / "out", dir / "again.dat");
  const auto entries = ReadArchiveIndex(dir / "again.dat");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "../../evil");
  EXPECT_EQ(entries[1].name, "a b%\xE9");
  EXPECT_EQ(entries[1].data, (gfx::ByteBuffer{4, 5}));

  // A manifest pointing outside its folder is refused.
  std::ofstream(dir / "out" / kManifestName) << "0\tx\t7\t../odd.dat\traw\t-\n";
  EXPECT_THROW(PackArchive(dir / "out", dir / "bad.dat"), Error);
  std::ofstream(dir / "out" / kManifestName) << "0\tx\t2\tx.png\t8-bit\t-\n";
  EXPECT_THROW(PackArchive(dir / "out", dir / "bad.dat"), Error);
  EXPECT_FALSE(fs::exists(dir / "bad.dat"));
}

TEST(ResarcIndex, DamagedDirectoriesAreErrors) {
  gfx::ByteBuffer image = tools::BuildArchive({{"one", 7, {1, 2, 3, 4}}});
  EXPECT_EQ(ParseArchiveIndex(image, "a").size(), 1u);
  gfx::ByteBuffer huge = image;
  huge[0] = 0xFF;  // a count far beyond the file
  EXPECT_THROW(ParseArchiveIndex(huge, "a"), Error);
  gfx::ByteBuffer cut(image.begin(), image.end() - 1);  // the data ends early
  EXPECT_THROW(ParseArchiveIndex(cut, "a"), Error);
  EXPECT_THROW(ParseArchiveIndex(gfx::ByteBuffer{1, 0}, "a"), Error);
}

// A directory of a thousand entries over the same 40 kB would hand out 40 MB: refused.
// Two names for the same data are still read.
TEST(ResarcIndex, EntriesSharingDataOverAndOverAreRefused) {
  const auto sharing = [](std::uint32_t count, std::uint32_t dataSize) {
    gfx::ByteBuffer image = tools::BuildArchive({{"big", 7, gfx::ByteBuffer(dataSize, 1)}});
    const std::uint64_t offset = 4 + 40 * count;
    image.insert(image.begin() + 44, 40 * (count - 1), 0);
    gfx::StoreLe32(image.data(), count);
    for (std::uint32_t i = 0; i < count; ++i) {
      std::uint8_t* entry = image.data() + 4 + 40 * i;
      entry[0] = static_cast<std::uint8_t>('a' + i % 26);
      gfx::StoreLe32(entry + 16, 7);
      gfx::StoreLe64(entry + 24, offset);
      gfx::StoreLe32(entry + 32, dataSize);
    }
    return image;
  };
  const std::vector<IndexedEntry> twice = ParseArchiveIndex(sharing(2, 1000), "two.dat");
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_EQ(twice[0].data, twice[1].data);
  try {
    ParseArchiveIndex(sharing(1000, 40'000), "many.dat");
    ADD_FAILURE() << "a thousand entries over the same data were read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("many.dat: damaged archive"), std::string::npos)
        << e.what();
  }
}

gfx::ByteBuffer WaveFile(std::uint16_t format, std::uint32_t dataSize, std::size_t dataBytes) {
  auto le = [](gfx::ByteBuffer& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  gfx::ByteBuffer b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  le(b, 16, 4);
  le(b, format, 2);
  le(b, 1, 2);      // mono
  le(b, 22050, 4);  // samples per second
  le(b, 44100, 4);  // bytes per second
  le(b, 2, 2);      // block size
  le(b, 16, 2);     // bits per sample
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  le(b, dataSize, 4);
  b.resize(b.size() + dataBytes, 0);
  return b;
}

TEST(ResarcIndex, WaveHeadersAreReadWithinTheFile) {
  const auto whole = ParseWave(WaveFile(1, 4410, 4410));
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(whole->frames, 2205);
  EXPECT_EQ(whole->Milliseconds(), 100);
  // A data chunk claiming more than the file holds is cut to the samples that are there.
  const auto cut = ParseWave(WaveFile(1, 0xFFFFFFF0u, 441));
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->frames, 220);
  EXPECT_EQ(cut->pcm.size(), 440u);
  EXPECT_FALSE(ParseWave(WaveFile(3, 8, 8)).has_value());  // floating point, not PCM
  gfx::ByteBuffer header = WaveFile(1, 0, 0);
  header.resize(30);
  EXPECT_FALSE(ParseWave(header).has_value());
}

// Whatever names and palette groups a manifest holds, written out it reads back the same:
// a group named "-" is not taken for no group.
TEST(ResarcManifest, WrittenManifestsReadBackTheSame) {
  std::vector<ManifestEntry> entries = {
      {0, "a b%\xE9", 1, "000-a.png", StoreFormat::Packed8, "-"},
      {1, "-", 1, "dir/001-b.png", StoreFormat::Packed8, "structures"},
      {2, "c", 3, "002-c.wav", StoreFormat::Wave, ""},
      {3, "d", 7, "003-d.bin", StoreFormat::Raw, "%2D \t"},
  };
  std::istringstream written(FormatManifest(entries));
  EXPECT_EQ(ParseManifest(written, "written"), entries);
}

TEST(ResarcManifest, MalformedLinesNameTheirLine) {
  const fs::path dir = FreshDir("manifest");
  const auto errorOf = [&](const std::string& text) -> std::string {
    std::ofstream(dir / kManifestName, std::ios::trunc) << text;
    try {
      ReadManifest(dir / kManifestName);
    } catch (const Error& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_NE(errorOf("# c\n0\tx\t3\tx.wav\twave\n").find(":2: expected 6"), std::string::npos);
  EXPECT_NE(errorOf("0\tx\t3\ta.wav\twave\t-\n0\ty\t3\tb.wav\twave\t-\n").find("twice"),
            std::string::npos);
  EXPECT_NE(errorOf("0\tx\t3\ta.wav\tmp3\t-\n").find("unknown format"), std::string::npos);
  EXPECT_NE(errorOf("0\tsixteen-letters!\t3\ta.wav\twave\t-\n").find("1 to 15"), std::string::npos);
  EXPECT_NE(errorOf("0\tx%4\t3\ta.wav\twave\t-\n").find("bad escape"), std::string::npos);
  EXPECT_NE(errorOf("0\tx\t3\t/etc/passwd\traw\t-\n").find("inside the folder"), std::string::npos);
  EXPECT_EQ(errorOf("2\tb\t3\tb.wav\twave\t-\r\n1\ta\t1\ta.png\t8-bit\tg\n"), "");
  const auto entries = ReadManifest(dir / kManifestName);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "a");  // sorted by order
  EXPECT_EQ(entries[0].paletteGroup, "g");
  EXPECT_EQ(entries[1].file, "b.wav");
}

// The new archive reaches the disk under another name before it replaces the old one, and
// the folder after, so that a crash leaves either archive whole.
TEST(ResarcPack, SyncsTheArchiveBeforeItsRenameAndTheFolderAfter) {
  const fs::path dir = fs::canonical(FreshDir("sync"));
  const gfx::ByteBuffer blob = {1, 2, 3};
  ASSERT_TRUE(tools::WriteBytesFile(dir / "blob.bin", blob));
  std::ofstream(dir / kManifestName) << "0\tblob\t7\tblob.bin\traw\t-\n";
  watchedFile = dir / "out.dat";
  syncs.clear();
  PackArchive(dir, watchedFile);
  const std::vector<Sync> made = syncs;
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(fs::path(made[0].path).parent_path(), dir);
  EXPECT_NE(fs::path(made[0].path), watchedFile);
  EXPECT_FALSE(made[0].watchedExisted);
  EXPECT_EQ(made[1].path, dir.string());
  EXPECT_TRUE(made[1].watchedExisted);

  const std::vector<IndexedEntry> entries = ReadArchiveIndex(watchedFile);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].data, blob);
  int files = 0;
  for ([[maybe_unused]] const auto& file : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 3);  // the manifest, the blob and the archive: no temporary file is left
}

TEST(ResarcProgram, ErrorsAreOneLineWithStatusOne) {
  const fs::path dir = FreshDir("errors");
  ExtractArchive(kResourceDir / "res02.dat", dir / "x");
  const std::string packTo = "'" + (dir / "out.dat").string() + "'";

  RunResult r = RunResarc("list '" + (dir / "missing.dat").string() + "'", dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("missing.dat: no such file"), std::string::npos) << r.err;

  // A picture whose size does not fit the frames the game cuts from it.
  const fs::path tiles = dir / "x" / "000-tiles0.png";
  ASSERT_TRUE(gfx::WritePng(gfx::MemVideo(100, 60), tiles.string()));
  r = RunResarc("pack '" + (dir / "x").string() + "' " + packTo, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("tiles0 is 100 x 60, but 39 frames of 144 x 96 need 1159 x 484"),
            std::string::npos)
      << r.err;

  std::ofstream(tiles, std::ios::binary) << "not a picture";
  r = RunResarc("pack '" + (dir / "x").string() + "' " + packTo, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(LineCount(r.err), 1) << r.err;
  EXPECT_NE(r.err.find("not a readable PNG"), std::string::npos) << r.err;

  fs::remove(tiles);
  r = RunResarc("pack '" + (dir / "x").string() + "' " + packTo, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("000-tiles0.png: no such file"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir / "out.dat"));

  r = RunResarc("frobnicate x", dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage: resarc list ARCHIVE"), std::string::npos) << r.err;
  EXPECT_EQ(RunResarc("list", dir).status, 2);
}

TEST(ResarcProgram, ListShowsPictureSizesAndSoundLengths) {
  const fs::path dir = FreshDir("list");
  ASSERT_EQ(RunResarc("list '" + (kResourceDir / "res02.dat").string() + "'", dir).status, 0);
  const std::string pictures = ReadText(dir / "stdout.txt");
  EXPECT_NE(pictures.find("tiles0           1 packed"), std::string::npos) << pictures;
  EXPECT_NE(pictures.find("1159 x 484"), std::string::npos);
  ASSERT_EQ(RunResarc("list '" + (kResourceDir / "res00.dat").string() + "'", dir).status, 0);
  const std::string sounds = ReadText(dir / "stdout.txt");
  EXPECT_NE(sounds.find("3 wave"), std::string::npos) << sounds;
  EXPECT_NE(sounds.find(" ms"), std::string::npos);
}

// One file per frame, cut as the game cuts it; a picture with holes keeps them as transparency.
TEST(ResarcProgram, FramesWritesEachFrameOfAnEntry) {
  const fs::path dir = FreshDir("frames");
  ASSERT_EQ(RunResarc("frames '" + (kResourceDir / "res02.dat").string() + "' TILES1 '" +
                          (dir / "out").string() + "'",
                      dir)
                .status,
            0);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& file : fs::directory_iterator(dir / "out")) ++files;
  EXPECT_EQ(files, 52u);
  gfx::WBitmap tiles1;
  ASSERT_TRUE(gfx::LoadImage(tiles1, (kResourceDir / "res02.dat").string(), "tiles1",
                             gfx::LayoutGrid8, 144, 105, true));
  const auto module = gfx::ReadPng((dir / "out" / "tiles1-2.png").string());
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(module->width(), 144);
  ASSERT_EQ(module->height(), 105);
  gfx::MemVideo frame(144, 105);
  gfx::CopyRect(*tiles1.bitmap, gfx::FrameSourceRect(tiles1, 2), frame, 0, 0);
  ExpectSamePicture(*module, frame);
  // Colour type 6 (RGB with alpha) in the header: the black corners are holes.
  EXPECT_EQ(ReadText(dir / "out" / "tiles1-2.png").at(25), 6);
  EXPECT_EQ(RunResarc("frames '" + (kResourceDir / "res02.dat").string() + "' nothing '" +
                          (dir / "out").string() + "'",
                      dir)
                .status,
            1);
}

// Each frame of a transparent picture appears on the sheet as drawn, holes replaced.
TEST(ResarcSheet, ShowsEveryFrameOfAnEntry) {
  const auto entries = ReadArchiveIndex(kResourceDir / "res01.dat");
  SheetOptions options;
  options.only = {"dlgicon"};
  const gfx::MemVideo sheet = MakeContactSheet(entries, options, "res01.dat");
  std::unique_ptr<gfx::MemVideo> icons;
  for (const IndexedEntry& entry : entries) {
    if (entry.name == "DlgIcon") icons = DecodePicture(entry);
  }
  ASSERT_NE(icons, nullptr);
  for (int frame = 0; frame < 3; ++frame) {
    SCOPED_TRACE(frame);
    bool found = false;
    for (int top = 0; top + 64 <= sheet.height() && !found; ++top) {
      for (int left = 0; left + 64 <= sheet.width() && !found; ++left) {
        bool same = true;
        for (int y = 0; y < 64 && same; ++y) {
          for (int x = 0; x < 64 && same; ++x) {
            const gfx::Color c = icons->at(x, frame * 64 + y);
            same = c == gfx::kBlack ? sheet.at(left + x, top + y) != gfx::kBlack
                                    : sheet.at(left + x, top + y) == c;
          }
        }
        found = same;
      }
    }
    EXPECT_TRUE(found);
  }
  options.only = {"NoSuchEntry"};
  EXPECT_THROW(MakeContactSheet(entries, options, "res01.dat"), Error);
}

TEST(ResarcPreviewMap, LeavesNoPixelUndrawn) {
  const gfx::MemVideo map = MakePreviewMap(kResourceDir / "res02.dat");
  EXPECT_EQ(map.width(), 2 * (72 * kPreviewMapSize + 24));
  int black = 0;
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) black += map.at(x, y) == gfx::kBlack ? 1 : 0;
  }
  EXPECT_EQ(black, 0);
  EXPECT_THROW(MakePreviewMap(kResourceDir / "res01.dat"), Error);
}

}  // namespace
}  // namespace resarc
