// Earth's report in the real main window on the headless platform: what it writes for a few
// colonies, the one draw for its letter, the picture of Earth that moves only while the
// dialog is open, the ways to close it, a second showing, and how it looks at 1024 x 768.
#include "dialogs/earth_comm.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "tests/screens/game_screen_fixture.h"
#include "tests/sim/best_colony.h"
#include "tests/support/golden.h"

namespace dialogs {
namespace {

using screens_test::GameScreenTest;

// The smallest rectangle holding every pixel in which the two differ; empty when none does.
gfx::IntRect Difference(const gfx::MemVideo& a, const gfx::MemVideo& b) {
  gfx::IntRect box{a.width(), a.height(), 0, 0};
  for (std::int32_t y = 0; y < a.height(); ++y) {
    for (std::int32_t x = 0; x < a.width(); ++x) {
      if (a.at(x, y) == b.at(x, y)) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
             std::max(box.bottom, y + 1)};
    }
  }
  return box.IsEmpty() ? gfx::IntRect{} : box;
}

bool Inside(const gfx::IntRect& inner, const gfx::IntRect& outer) {
  return inner.IsEmpty() || inner.Intersect(outer) == inner;
}

class EarthComm : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    StartNewGame();
    random.Replace([this] {
      ++drawsTaken;
      if (draws.empty()) return 1;
      const std::int32_t d = draws.front();
      draws.pop_front();
      return d;
    });
    dialog = MakeDialog();
    MakeGoodColony();
  }
  void TearDown() override {
    dialog.reset();
    GameScreenTest::TearDown();
  }

  std::unique_ptr<TEarthComm> MakeDialog() {
    return std::make_unique<TEarthComm>(*window, game().pictures().earthBackground,
                                        game().pictures().earthImage, game().land(), state(),
                                        random);
  }

  // 25 people at the best level of every line (36 points), in contact with Earth.
  void MakeGoodColony() {
    world::Land& land = game().land();
    simtest::MakeBestColony(state(), land, land.centerX + 4, land.centerY + 3);
    state().earthContact = sim::kContactOn;
  }
  void RemoveTheHouse() {
    world::Land& land = game().land();
    land.Cell(land.centerX + 4, land.centerY + 3).type = sim::kLand;
  }

  // Shows the dialog and calls play(ticks) while it is open, once per 40 ms tick of the
  // shell's timer (ticks counts those gone by); returns the dialog's result.
  int ShowAndPlay(TEarthComm& shown, const std::function<void(int)>& play) {
    int ticks = 0;
    messages->otherDialog = [&](platform::HeadlessPlatform&, TForm& form) {
      EXPECT_EQ(&form, &shown);
      play(ticks++);
    };
    return shown.Show();
  }
  int ShowAndPlay(const std::function<void(int)>& play) { return ShowAndPlay(*dialog, play); }
  // Shows the report and closes it at once with the C key.
  void ShowOnce(TEarthComm& shown) {
    ShowAndPlay(shown, [this](int) { platform->PressKey('C'); });
  }

  platform::Point OnScreen(const gfx::IntRect& client) const {
    const gfx::IntRect origin = dialog->ClientBounds();
    return {origin.left + (client.left + client.right) / 2,
            origin.top + (client.top + client.bottom) / 2};
  }
  // The close box in the caption bar, from the frame's own measures: it sits 3 pixels inside
  // the border at the right end of the bar, as high as the bar less 6.
  platform::Point CloseBox() const {
    const gfx::IntRect window = dialog->WindowBounds();
    const platform::Point client = dialog->ClientOrigin();
    const std::int32_t border = client.x;
    const std::int32_t side = client.y - border - 6;
    return {window.right - border - 3 - side / 2, window.top + border + 3 + side / 2};
  }
  gfx::IntRect AnimationOnScreen() const {
    const gfx::IntRect origin = dialog->ClientBounds();
    return dialog->AnimationRect().Offset(origin.left, origin.top);
  }

  world::Random random;
  std::deque<std::int32_t> draws;
  int drawsTaken = 0;
  std::unique_ptr<TEarthComm> dialog;
};

TEST_F(EarthComm, TheBestColonyIsHappyAndGetsTheBestVerdict) {
  ShowOnce(*dialog);
  const std::vector<ReportText>& t = dialog->Texts();
  ASSERT_EQ(t.size(), 13u);
  EXPECT_EQ(t[0].text, "PELL' CITIZENS: Complaints.");
  EXPECT_EQ(t[1].text, "We are happy with your job!");
  EXPECT_TRUE(t[1].box.has_value());
  EXPECT_EQ(t[2].text, "EARTH REPORT:");
  EXPECT_EQ(t[3].text, "-Water production is right!");
  EXPECT_EQ(t[7].text, "-The health of the population is excellent!");
  EXPECT_EQ(t[11].text, "-You have a controlled growth");
  EXPECT_EQ(t[12].text, "YOU ARE THE BEST! - Your SCORE: 22");
  // Without a complaint no letter is drawn for, and the colony's counters stay 0.
  EXPECT_EQ(drawsTaken, 0);
  EXPECT_EQ(state().complaints, (std::array<std::int32_t, 8>{}));
}

TEST_F(EarthComm, APoorColonyAndItsLetters) {
  sim::ColonyState& s = state();
  s.water = -5;
  s.food = 200;
  s.health = 10;
  s.disease = 30;
  s.growthRate = -20.5f;
  RemoveTheHouse();  // no house: the highway letter at full, 4 off the score
  // The only complaint's letter comes whatever the draw; each showing takes one draw.
  for (std::int32_t draw = 0; draw < sim::kComplaintLetters; ++draw) {
    draws = {draw};
    ShowOnce(*dialog);
    EXPECT_EQ(dialog->Texts()[1].text, sim::ComplaintLetters[0]) << draw;
    EXPECT_EQ(drawsTaken, draw + 1);
  }
  const std::vector<ReportText>& t = dialog->Texts();
  EXPECT_EQ(t[3].text, "-Insufficient water!, you must build a well or water condenser");
  EXPECT_EQ(t[4].text, "-Your way of accumulating food could promote a food poisoning");
  EXPECT_EQ(t[7].text, "-Citizens' health is alarming!");
  EXPECT_EQ(t[11].text, "-Growth rate is negative!");
  // 0 + 1 + 4 + 4 + 0 + 4 + 4 + 4 + 0 = 21 points, less 4: verdict 4, 25 × 4 ÷ 10 = 10.
  EXPECT_EQ(t[12].text, "You have good intention but... - Your SCORE: 10");

  // With a second complaint the draw picks between them.
  s.population = 10;
  s.unemployed = 5;
  draws = {0};
  ShowOnce(*dialog);
  EXPECT_EQ(dialog->Texts()[1].text, sim::ComplaintLetters[0]);
  draws = {3};
  ShowOnce(*dialog);
  EXPECT_EQ(dialog->Texts()[1].text, sim::ComplaintLetters[6]);
}

TEST_F(EarthComm, EarthMovesOnlyWhileTheDialogIsOpen) {
  // Closed, the ticks do nothing and draw nothing.
  for (int i = 0; i < 10; ++i) dialog->TimerTick();
  EXPECT_EQ(dialog->Phase(), 0);
  EXPECT_FALSE(dialog->Animating());
  EXPECT_EQ(drawsTaken, 0);

  // Up three times (one past the last frame), then down four (one past the first).
  draws = {2, 2, 2, 2, 0, 0, 0, 0, 1, 1};
  std::vector<std::int32_t> phases;
  std::vector<int> stepTicks;
  const gfx::IntRect animation = AnimationOnScreen();
  std::optional<gfx::MemVideo> before;
  const int result = ShowAndPlay([&](int ticks) {
    const gfx::MemVideo& now = platform->window();
    if (before && static_cast<int>(phases.size()) < drawsTaken) {
      // A step changed the window only where Earth is, and only when the frame changed.
      const gfx::IntRect changed = Difference(*before, now);
      EXPECT_TRUE(Inside(changed, animation)) << "tick " << ticks;
      const bool moved = phases.empty() ? dialog->Phase() != 0 : dialog->Phase() != phases.back();
      EXPECT_EQ(!changed.IsEmpty(), moved) << "tick " << ticks;
      phases.push_back(dialog->Phase());
      stepTicks.push_back(ticks);
    }
    before = now;
    EXPECT_TRUE(dialog->Animating());
    if (ticks == 25) platform->PressKey(platform::vk::kReturn);
  });
  EXPECT_EQ(result, kModalOk);
  EXPECT_EQ(phases, (std::vector<std::int32_t>{1, 2, 3, 3, 2, 1, 0, 0, 0, 0}));
  // 100 ms steps on 40 ms ticks: after 120, 200, 320, 400, ... ms, two in every five ticks.
  EXPECT_EQ(stepTicks, (std::vector<int>{3, 5, 8, 10, 13, 15, 18, 20, 23, 25}));

  // Closed again: neither the dialog's ticks nor the shell's move it.
  EXPECT_FALSE(dialog->Animating());
  const int taken = drawsTaken;
  for (int i = 0; i < 10; ++i) dialog->TimerTick();
  platform->Tick(10);
  EXPECT_EQ(drawsTaken, taken);
  EXPECT_EQ(dialog->Phase(), 0);
}

TEST_F(EarthComm, CloseByClickKeyAndEnterGivesOneAndTheCloseBoxTwo) {
  const platform::Point button = OnScreen(dialog->CloseButton().pixelRect);
  EXPECT_EQ(ShowAndPlay([&](int) { platform->Click(button.x, button.y); }), kModalOk);
  EXPECT_EQ(ShowAndPlay([&](int) { platform->PressKey('C'); }), kModalOk);
  EXPECT_EQ(ShowAndPlay([&](int) { platform->PressKey(platform::vk::kReturn); }), kModalOk);
  const platform::Point box = CloseBox();
  EXPECT_EQ(ShowAndPlay([&](int) { platform->Click(box.x, box.y); }), kModalCancel);
  // Esc is no way out: the dialog stays until the button is pressed.
  EXPECT_EQ(ShowAndPlay([&](int ticks) {
              platform->PressKey(ticks < 3 ? platform::vk::kEscape : 'C');
              if (ticks < 3) {
                EXPECT_EQ(window->topForm(), dialog.get());
              }
            }),
            kModalOk);
  EXPECT_EQ(window->topForm(), nullptr);
  EXPECT_EQ(game().modal, 0);
  EXPECT_EQ(dialog->surface, nullptr);
}

TEST_F(EarthComm, ASecondShowingDrawsAfreshFromTheColonyAsItIsThen) {
  RemoveTheHouse();
  ShowOnce(*dialog);
  EXPECT_EQ(dialog->Texts()[1].text, sim::ComplaintLetters[0]);

  // Now happy and short of water: the reused dialog looks exactly like a new one would, with
  // nothing of the letter it showed before.
  MakeGoodColony();
  state().water = -5;
  std::optional<gfx::MemVideo> second;
  ShowAndPlay([&](int) {
    second = dialog->Image();
    platform->PressKey('C');
  });
  EXPECT_EQ(dialog->Texts()[1].text, sim::kNoComplaintText);
  EXPECT_EQ(dialog->Texts()[3].text, sim::AssessmentTexts[0][0]);

  std::unique_ptr<TEarthComm> fresh = MakeDialog();
  std::optional<gfx::MemVideo> first;
  ShowAndPlay(*fresh, [&](int) {
    first = fresh->Image();
    platform->PressKey('C');
  });
  ASSERT_TRUE(first && second);
  EXPECT_EQ(Difference(*first, *second), gfx::IntRect{});
}

TEST_F(EarthComm, LooksAsStoredAt1024x768) {
  state().unemployed = 10;  // 40 % out of work: the union's letter
  draws = {6, 2};           // the letter, then Earth's first step to frame 1
  std::optional<gfx::MemVideo> shown;
  ShowAndPlay([&](int ticks) {
    if (ticks < 3) return;
    shown = dialog->Image();
    platform->PressKey('C');
  });
  EXPECT_EQ(dialog->Phase(), 1);
  ASSERT_TRUE(shown);
  // Antialiased text and smoothed stretches may land a step apart between compilers.
  EXPECT_TRUE(testing_support::MatchesGolden(*shown, "earth_comm", 4, 40));
}

}  // namespace
}  // namespace dialogs
