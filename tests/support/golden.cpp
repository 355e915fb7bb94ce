#include "tests/support/golden.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "gfx/png_file.h"

namespace testing_support {

std::string TestOutputPath(const std::string& fileName) {
  std::filesystem::create_directories(REDHOLLOW_TEST_OUTPUT_DIR);
  return (std::filesystem::path(REDHOLLOW_TEST_OUTPUT_DIR) / fileName).string();
}

::testing::AssertionResult MatchesGolden(const gfx::MemVideo& surface, const std::string& goldenName,
                                         int tolerance, int maxBadPixels) {
  const std::string goldenPath =
      (std::filesystem::path(REDHOLLOW_TEST_DATA_DIR) / "golden" / (goldenName + ".png")).string();
  const std::string actualPath = TestOutputPath(goldenName + ".actual.png");
  // REDHOLLOW_UPDATE_GOLDENS=1 rewrites the golden images from what is drawn now (after the
  // art changed on purpose); look at every rewritten image before committing it.
  if (const char* update = std::getenv("REDHOLLOW_UPDATE_GOLDENS"); update && *update == '1') {
    std::filesystem::create_directories(std::filesystem::path(goldenPath).parent_path());
    if (gfx::WritePng(surface, goldenPath)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "could not write " << goldenPath;
  }
  auto golden = gfx::ReadPng(goldenPath);
  if (!golden) {
    gfx::WritePng(surface, actualPath);
    return ::testing::AssertionFailure() << "no golden image " << goldenPath << "; wrote "
                                         << actualPath << " to look at and copy there";
  }
  if (golden->width() != surface.width() || golden->height() != surface.height()) {
    gfx::WritePng(surface, actualPath);
    return ::testing::AssertionFailure()
           << "size " << surface.width() << "x" << surface.height() << " differs from golden "
           << golden->width() << "x" << golden->height() << "; wrote " << actualPath;
  }
  gfx::MemVideo difference(surface.width(), surface.height());
  int bad = 0;
  int worst = 0;
  for (std::int32_t y = 0; y < surface.height(); ++y)
    for (std::int32_t x = 0; x < surface.width(); ++x) {
      const gfx::Color a = surface.at(x, y), b = golden->at(x, y);
      const int d = std::max({std::abs(gfx::RedOf(a) - gfx::RedOf(b)),
                              std::abs(gfx::GreenOf(a) - gfx::GreenOf(b)),
                              std::abs(gfx::BlueOf(a) - gfx::BlueOf(b))});
      worst = std::max(worst, d);
      if (d > tolerance) {
        ++bad;
        difference.set(x, y, gfx::Rgb(255, 0, 255));
      }
    }
  if (bad <= maxBadPixels) return ::testing::AssertionSuccess();
  gfx::WritePng(surface, actualPath);
  gfx::WritePng(*golden, TestOutputPath(goldenName + ".expected.png"));
  gfx::WritePng(difference, TestOutputPath(goldenName + ".difference.png"));
  return ::testing::AssertionFailure() << bad << " pixels differ by more than " << tolerance
                                       << " (worst " << worst << "); images written beside "
                                       << actualPath;
}

}  // namespace testing_support
