// Golden-image comparison: a surface against a stored PNG with a stated tolerance. On a
// mismatch both images (and a difference image) are written under the test output folder
// so a person can look at them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gfx/mem_video.h"

namespace testing_support {

// tolerance: the largest difference allowed in any channel of any pixel; maxBadPixels:
// how many pixels may exceed it. A missing golden file is written from the surface (and
// the check fails, so that a new golden image is always looked at before it counts).
// With REDHOLLOW_UPDATE_GOLDENS=1 in the environment the golden images are rewritten instead.
::testing::AssertionResult MatchesGolden(const gfx::MemVideo& surface,
                                         const std::string& goldenName, int tolerance,
                                         int maxBadPixels = 0);

std::string TestOutputPath(const std::string& fileName);

}  // namespace testing_support
