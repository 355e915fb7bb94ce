// The SDL backend on SDL's dummy video and audio drivers: the window, presentation and
// sound must work without a real display and never fail loudly.
#include "platform/sdl_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace platform {
namespace {

struct Quiet final : WindowEvents {};

// Counts what the main window is told.
struct EventCounter final : WindowEvents {
  int resizes = 0;
  int restored = 0;
  int ticks = 0;
  void OnResize() override { ++resizes; }
  void OnRestored() override { ++restored; }
  void OnTimer() override { ++ticks; }
};

// Queues window events as a window system sends them and runs the loop until the next tick.
void DeliverWindowEvents(SdlPlatform& platform, EventCounter& window,
                         std::initializer_list<SDL_WindowEventID> events) {
  for (const SDL_WindowEventID id : events) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = id;
    SDL_PushEvent(&event);
  }
  const int ticks = window.ticks;
  platform.RunModalLoop(window, [&] { return window.ticks > ticks; });
}

class SdlPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
};

TEST_F(SdlPlatformTest, OpensAWindowCoveringTheScreenAndPresents) {
  SdlPlatform platform;
  Quiet events;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", events));
  const gfx::AppVideo screen = platform.ScreenSize();
  EXPECT_GT(screen.width, 0);
  EXPECT_EQ(platform.ClientSize().width, screen.width);
  EXPECT_EQ(platform.ClientSize().height, screen.height);
  gfx::MemVideo buffer(screen.width, screen.height);
  platform.Present(buffer, buffer.bounds(), 0, 0);
  platform.Present(buffer, {-10, -10, 50, 50}, -10, -10);  // clipped, no crash
  platform.InstallCursor(kCursorHand, CursorImage{});
  platform.SetCursor(kCursorHand);
  platform.SetCursor(99);
  EXPECT_FALSE(platform.CurrentDirectory().empty());
  EXPECT_GT(platform.OperatingSystemVersion().major, 0);
}

// SDL_VIDEODRIVER may list several drivers; an invisible one counts as asked for only when
// one of them is exactly its name.
TEST(DriverNamedInTest, MatchesWholeNamesOfTheListWithoutRegardToCase) {
  EXPECT_TRUE(DriverNamedIn("dummy", "dummy"));
  EXPECT_TRUE(DriverNamedIn("Offscreen", "offscreen"));
  EXPECT_TRUE(DriverNamedIn("x11,offscreen", "offscreen"));
  EXPECT_TRUE(DriverNamedIn("dummy,x11", "dummy"));
  EXPECT_FALSE(DriverNamedIn("x11", "dummy"));
  EXPECT_FALSE(DriverNamedIn("dummyx", "dummy"));
  EXPECT_FALSE(DriverNamedIn("dumm", "dummy"));
  EXPECT_FALSE(DriverNamedIn("x11,", "dummy"));
  EXPECT_FALSE(DriverNamedIn("", "dummy"));
  EXPECT_FALSE(DriverNamedIn(nullptr, "dummy"));
}

TEST_F(SdlPlatformTest, AnInvisibleDriverIsTakenWhenNamedAndAMissingDisplayIsRefused) {
  Quiet events;
  {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    SdlPlatform platform;
    ASSERT_TRUE(platform.OpenMainWindow("Redhollow", events));
    EXPECT_GT(platform.ClientSize().width, 0);
  }
  setenv("SDL_VIDEODRIVER", "x11", 1);
  unsetenv("DISPLAY");
  SdlPlatform platform;
  EXPECT_FALSE(platform.OpenMainWindow("Redhollow", events));
  EXPECT_EQ(platform.ClientSize().width, 0);
  platform.SetCursor(kCursorHand);  // nothing to set it on, and no crash
  EXPECT_EQ(platform.PointerPosition(), Point{});
}

// SDL reports a size change after a full-screen switch that kept the size; the window must
// only hear of real changes, since each one rebuilds its screen-sized back buffer.
TEST_F(SdlPlatformTest, OnlyARealSizeChangeReachesTheWindow) {
  EventCounter counter;
  SdlPlatform platform;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", counter));
  const gfx::AppVideo before = platform.ClientSize();
  SDL_Window* window = nullptr;
  for (Uint32 id = 1; id < 100 && window == nullptr; ++id) window = SDL_GetWindowFromID(id);
  ASSERT_NE(window, nullptr);
  platform.SetTimerInterval(20);

  SDL_Event same{};
  same.type = SDL_WINDOWEVENT;
  same.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  same.window.windowID = SDL_GetWindowID(window);
  same.window.data1 = before.width;
  same.window.data2 = before.height;
  SDL_PushEvent(&same);
  platform.RunModalLoop(counter, [&] { return counter.ticks >= 1; });
  EXPECT_EQ(counter.resizes, 0);

  // Out of full screen first, since a full-screen window keeps the screen's size; a window
  // never gets smaller than the game lays itself out in.
  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowSize(window, 900, 700);
  platform.RunModalLoop(counter, [&] { return counter.ticks >= 2; });
  EXPECT_EQ(counter.resizes, 1);
  EXPECT_EQ(platform.ClientSize(), (gfx::AppVideo{900, 700}));
  SDL_SetWindowSize(window, 400, 300);
  platform.RunModalLoop(counter, [&] { return counter.ticks >= 3; });
  EXPECT_EQ(platform.ClientSize(), platform::kSmallestWindow);
}

// A window opens at the size asked, shrunk to the screen; switched to full screen it covers the
// screen, and back it is the window it was; the game hears of each change before the switch
// returns.
TEST_F(SdlPlatformTest, AWindowSwitchesToFullScreenAndBack) {
  EventCounter counter;
  SdlPlatform platform;
  platform.SetWindowMode(WindowMode{false, {1000, 700}, std::nullopt});
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", counter));
  EXPECT_EQ(platform.ClientSize(), (gfx::AppVideo{1000, 700}));
  const gfx::AppVideo screen = platform.ScreenSize();

  WindowMode mode = platform.CurrentWindowMode();
  EXPECT_FALSE(mode.fullScreen);
  EXPECT_EQ(mode.windowSize, (gfx::AppVideo{1000, 700}));
  mode.fullScreen = true;
  platform.SetWindowMode(mode);
  EXPECT_EQ(platform.ClientSize(), screen);
  EXPECT_EQ(counter.resizes, 1);

  mode.fullScreen = false;
  platform.SetWindowMode(mode);
  EXPECT_EQ(platform.ClientSize(), (gfx::AppVideo{1000, 700}));
  EXPECT_EQ(counter.resizes, 2);
  EXPECT_FALSE(platform.CurrentWindowMode().fullScreen);

  // Larger than the screen: the window fits it.
  platform.SetWindowMode(WindowMode{false, {screen.width * 2, screen.height * 2}, std::nullopt});
  EXPECT_EQ(platform.ClientSize(), screen);
}

// A pointer that left the window is on none of its edges, so the map stops scrolling.
TEST_F(SdlPlatformTest, APointerThatLeftTheWindowIsOutsideIt) {
  EventCounter counter;
  SdlPlatform platform;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", counter));
  platform.SetTimerInterval(5);
  const Point inside = platform.PointerPosition();
  DeliverWindowEvents(platform, counter, {SDL_WINDOWEVENT_LEAVE});
  EXPECT_EQ(platform.PointerPosition(), kPointerOutside);
  DeliverWindowEvents(platform, counter, {SDL_WINDOWEVENT_ENTER});
  EXPECT_EQ(platform.PointerPosition(), inside);
}

// After the game minimised the window, the first sign that it is on the screen again (here
// events as a window system sends them) tells the game it is restored; a restore always does.
TEST_F(SdlPlatformTest, AfterMinimisingTheFirstSignOfTheWindowRestoresIt) {
  EventCounter window;
  SdlPlatform platform;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", window));
  platform.SetTimerInterval(5);
  const auto deliver = [&](std::initializer_list<SDL_WindowEventID> events) {
    DeliverWindowEvents(platform, window, events);
  };

  deliver({SDL_WINDOWEVENT_EXPOSED});
  EXPECT_EQ(window.restored, 0);  // never minimised
  for (const SDL_WindowEventID sign : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SHOWN,
                                       SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MAXIMIZED}) {
    window.restored = 0;
    platform.Minimize();
    deliver({SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_HIDDEN});
    EXPECT_EQ(window.restored, 0);
    deliver({sign, SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_FOCUS_GAINED});
    EXPECT_EQ(window.restored, 1) << "after event " << sign;
  }
  window.restored = 0;
  deliver({SDL_WINDOWEVENT_RESTORED});
  EXPECT_EQ(window.restored, 1);
}

TEST_F(SdlPlatformTest, AudioRefusesWhatIsNoWaveAndNeverThrows) {
  SdlPlatform platform;
  AudioDevice& audio = platform.Audio();
  EXPECT_FALSE(audio.available());
  const std::uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_FALSE(audio.PlayWave(junk));
  EXPECT_TRUE(audio.available());  // a sound before the first screen opens the device
  EXPECT_FALSE(audio.PlayWave({}));
  audio.Stop();
}

// Opening the audio device can take a sound server tens of ms, so it waits until a tick has
// put the first screen on the window.
TEST_F(SdlPlatformTest, AudioOpensOnceTheFirstTickHasPresented) {
  struct FirstScreen final : WindowEvents {
    SdlPlatform* platform = nullptr;
    std::vector<bool> openedAtTick;
    void OnTimer() override {
      const auto& audio = static_cast<const SdlAudio&>(platform->Audio());
      openedAtTick.push_back(audio.opened());
      if (openedAtTick.size() == 2) {
        const gfx::MemVideo screen(8, 8);
        platform->Present(screen, screen.bounds(), 0, 0);
      }
      if (openedAtTick.size() == 3) platform->Terminate();
    }
    void OnPaint(const gfx::IntRect&) override {
      const gfx::MemVideo black(8, 8);
      platform->Present(black, black.bounds(), 0, 0);
      SDL_Delay(10);
    }
  } firstScreen;
  SdlPlatform platform;
  firstScreen.platform = &platform;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", firstScreen));
  auto& audio = static_cast<SdlAudio&>(platform.Audio());
  EXPECT_FALSE(audio.opened());
  // The window's first expose paints it black just before the first tick is due: that is no
  // screen yet.
  SDL_Event expose{};
  expose.type = SDL_WINDOWEVENT;
  expose.window.event = SDL_WINDOWEVENT_EXPOSED;
  SDL_PushEvent(&expose);
  platform.SetTimerInterval(5);
  platform.RunMessageLoop();
  EXPECT_EQ(firstScreen.openedAtTick, (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(audio.available());
}

TEST_F(SdlPlatformTest, TimerTicksInTheMessageLoopUntilTerminated) {
  SdlPlatform platform;
  struct Ticker final : WindowEvents {
    SdlPlatform* platform = nullptr;
    int ticks = 0;
    void OnTimer() override {
      if (++ticks == 3) platform->Terminate();
    }
  } ticker;
  ticker.platform = &platform;
  ASSERT_TRUE(platform.OpenMainWindow("Redhollow", ticker));
  platform.SetTimerInterval(5);
  platform.RunMessageLoop();
  EXPECT_EQ(ticker.ticks, 3);
}

}  // namespace
}  // namespace platform
