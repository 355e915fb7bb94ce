// The headless platform's clock, loops and recordings, which every shell test stands on.
#include <gtest/gtest.h>

#include "platform/cursors.h"
#include "platform/headless_platform.h"

namespace platform {
namespace {

struct Counter final : WindowEvents {
  int ticks = 0;
  int keys = 0;
  bool allowClose = true;
  int closeQueries = 0;
  void OnTimer() override { ++ticks; }
  void OnKeyDown(std::uint16_t, ShiftState) override { ++keys; }
  bool OnCloseQuery() override {
    ++closeQueries;
    return allowClose;
  }
};

TEST(HeadlessPlatform, TimerNeverFiresABacklog) {
  HeadlessPlatform platform;
  Counter window;
  platform.OpenMainWindow("Redhollow", window);
  platform.SetTimerInterval(40);
  platform.AdvanceTime(39);
  EXPECT_EQ(window.ticks, 0);
  platform.AdvanceTime(1);
  EXPECT_EQ(window.ticks, 1);
  platform.AdvanceTime(400);  // a stall of ten intervals fires once
  EXPECT_EQ(window.ticks, 2);
  platform.AdvanceTime(39);
  EXPECT_EQ(window.ticks, 2);
  platform.AdvanceTime(1);
  EXPECT_EQ(window.ticks, 3);
  platform.Tick(5);
  EXPECT_EQ(window.ticks, 8);
}

TEST(HeadlessPlatform, ModalLoopTakesTheInputWhileTheMainWindowKeepsTicking) {
  HeadlessPlatform platform;
  Counter window, dialog;
  platform.OpenMainWindow("Redhollow", window);
  platform.SetTimerInterval(40);
  int idleCalls = 0;
  platform.onModalIdle = [&](HeadlessPlatform& p) {
    if (++idleCalls == 3) p.PressKey(vk::kReturn);
  };
  platform.RunModalLoop(dialog, [&] { return dialog.keys > 0; });
  EXPECT_EQ(dialog.keys, 1);
  EXPECT_EQ(window.keys, 0);
  EXPECT_EQ(window.ticks, 2);
  EXPECT_EQ(platform.modalDepth(), 0);
  platform.PressKey(vk::kReturn);
  EXPECT_EQ(window.keys, 1);
}

TEST(HeadlessPlatform, AModalLoopNobodyEndsGivesUpInsteadOfHanging) {
  HeadlessPlatform platform;
  Counter window, dialog;
  platform.OpenMainWindow("Redhollow", window);
  platform.SetTimerInterval(40);
  platform.modalTimeoutMs = 400;
  platform.RunModalLoop(dialog, [] { return false; });
  EXPECT_EQ(window.ticks, 10);
}

TEST(HeadlessPlatform, CloseQueryDecidesAndAltF4AsksIt) {
  HeadlessPlatform platform;
  Counter window;
  platform.OpenMainWindow("Redhollow", window);
  window.allowClose = false;
  platform.PressKey(vk::kF4, kAltKey);
  EXPECT_EQ(window.closeQueries, 1);
  EXPECT_EQ(window.keys, 0);
  EXPECT_FALSE(platform.terminated());
  window.allowClose = true;
  platform.RequestClose();
  EXPECT_TRUE(platform.terminated());
}

TEST(HeadlessPlatform, PresentCopiesOnlyTheRectangleAndClips) {
  HeadlessPlatform platform({8, 6});
  Counter window;
  platform.OpenMainWindow("Redhollow", window);
  gfx::MemVideo source(8, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) source.set(x, y, static_cast<gfx::Color>(y * 8 + x + 1));
  platform.Present(source, {2, 1, 4, 3}, 2, 1);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 2 && x < 4 && y >= 1 && y < 3;
      EXPECT_EQ(platform.window().at(x, y), inside ? source.at(x, y) : gfx::kBlack)
          << x << "," << y;
    }
  platform.Present(source, {-5, -5, 20, 20}, -5, -5);  // clipped on every side
  EXPECT_EQ(platform.window().at(7, 5), source.at(7, 5));
  EXPECT_EQ(platform.presentedRects.back(), (gfx::IntRect{0, 0, 8, 6}));
}

TEST(Cursors, SizesHotSpotsAndLooks) {
  const CursorImage hand = DrawHandCursor();
  EXPECT_EQ(hand.hotX, 5);
  EXPECT_EQ(hand.hotY, 0);
  // The fingertip at the hot spot is outline; below it the finger is white.
  EXPECT_EQ(hand.argb[0 * 32 + 5], 0xFF000000u);
  EXPECT_EQ(hand.argb[2 * 32 + 5], 0xFFFFFFFFu);
  const CursorImage build = DrawBuildCursor();
  EXPECT_EQ(build.hotX, 15);
  EXPECT_EQ(build.hotY, 15);
  const std::uint32_t centre = build.argb[15 * 32 + 15];
  EXPECT_GT((centre >> 8) & 0xFF, 200u);  // bright green
  EXPECT_LT((centre >> 16) & 0xFF, 100u);
  // A diamond: the corners are clear, the lower edge darker than the upper one, and it is
  // as tall as a map cell for its width (3 : 2).
  EXPECT_NE(build.argb[5 * 32 + 15], 0u);
  EXPECT_EQ(build.argb[4 * 32 + 15], 0u);
  EXPECT_NE(build.argb[15 * 32 + 0], 0u);
  EXPECT_EQ(build.argb[0], 0u);
  EXPECT_EQ(build.argb[31 * 32 + 31], 0u);
  const std::uint32_t upper = build.argb[6 * 32 + 15];
  const std::uint32_t lower = build.argb[24 * 32 + 15];
  EXPECT_GT((upper >> 8) & 0xFF, (lower >> 8) & 0xFF);
}

}  // namespace
}  // namespace platform
