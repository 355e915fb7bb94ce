// What the colony tells the player on the game screen: each notice with its sound and title,
// the contact with Earth coming and going with its button, a shortage pulling a structure
// down, a disease, and the end of the colony with both answers.
#include <gtest/gtest.h>

#include "gfx/archive.h"
#include "gfx/byte_buffer.h"
#include "tests/screens/game_screen_fixture.h"

namespace screens_test {
namespace {

class GameNotices : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    StartNewGame();
  }
  // The last sound played was the named entry of the sound archive.
  ::testing::AssertionResult LastSoundWas(const std::string& entry) {
    gfx::ByteBuffer wave;
    if (gfx::ReadArchiveEntry(wave, gfx::kSoundArchive, entry) != 0)
      return ::testing::AssertionFailure() << "no sound " << entry;
    if (platform->audio.played.empty()) return ::testing::AssertionFailure() << "nothing played";
    if (platform->audio.played.back() != std::vector<std::uint8_t>(wave.begin(), wave.end()))
      return ::testing::AssertionFailure() << "the last sound was not " << entry;
    return ::testing::AssertionSuccess();
  }
  ::testing::AssertionResult LastNoticeWas(const std::string& text) {
    if (messages->shown.empty()) return ::testing::AssertionFailure() << "no notice";
    const auto& box = messages->shown.back();
    if (box.title != "Pell Informs:" || box.text != text)
      return ::testing::AssertionFailure() << box.title << " / " << box.text;
    return ::testing::AssertionSuccess();
  }
  // Builds a structure of the palette on a free explored cell, as a click would.
  world::CellPos Build(int category, int item, std::int32_t dx, std::int32_t dy) {
    Click(*game().palettePanel->tabs[static_cast<std::size_t>(category)]);
    Click(*game().palettePanel->items[static_cast<std::size_t>(item)]);
    const world::CellPos at{game().land().centerX + dx, game().land().centerY + dy};
    ClickAt(CellPoint(at.x, at.y));
    EXPECT_NE(game().land().CellAt(at.x, at.y)->type, 0) << "nothing built at " << dx << ", " << dy;
    return at;
  }
  void OneAcceleratedDay() {
    if (state().speed != sim::kAccelerated) platform->PressKey(platform::vk::kF7);
    platform->Tick();
  }
};

TEST_F(GameNotices, ContactWithEarthComesWithItsButtonAndGoesWithItsCentre) {
  state().unemployed = 40;
  const world::CellPos centre = Build(7, 3, 0, 2);
  game().land().CellAt(centre.x, centre.y)->constructionLeft = 1;
  OneAcceleratedDay();
  EXPECT_TRUE(LastNoticeWas("The conection with Earth is on!"));
  EXPECT_TRUE(LastSoundWas("Warning"));
  EXPECT_EQ(game().palettePanel->earthCommButton->enabled, 1);
  EXPECT_EQ(colony().State().earthContact, sim::kContactOn);

  platform->PressKey(platform::vk::kF5);
  ClickAt(CellPoint(centre.x, centre.y));
  Click(*game().palettePanel->deleteButton);
  EXPECT_TRUE(LastNoticeWas("Warning! Contact with Earth will be lost!"));
  EXPECT_EQ(game().palettePanel->earthCommButton->enabled, 0);
  EXPECT_EQ(colony().PaletteSlots()[sim::kCommCenterSlot], 1);
  EXPECT_TRUE(LastSoundWas("demolish"));
}

TEST_F(GameNotices, EarthCommOpensEarthsReportOnlyWithContact) {
  std::vector<std::string> shown;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    shown.push_back(form.caption());
    p.PressKey('C');
  };
  Click(*game().palettePanel->earthCommButton);  // disabled: nothing
  game().Command(nullptr, sim::kCommandEarthComm);
  EXPECT_TRUE(shown.empty());

  state().unemployed = 40;
  const world::CellPos centre = Build(7, 3, 0, 2);
  game().land().CellAt(centre.x, centre.y)->constructionLeft = 1;
  OneAcceleratedDay();
  platform->PressKey(platform::vk::kF5);
  const std::int32_t day = state().day;
  Click(*game().palettePanel->earthCommButton);
  EXPECT_EQ(shown, (std::vector<std::string>{"Earth Communication"}));
  EXPECT_EQ(state().day, day);
  ASSERT_NE(game().earthComm(), nullptr);
  EXPECT_FALSE(game().earthComm()->Animating());  // Earth stops turning once it is closed
}

TEST_F(GameNotices, APowerShortagePullsDownTheNewestStructuresFirst) {
  state().unemployed = 40;
  const world::CellPos older = Build(2, 0, 0, 2);  // Water Condenser
  const world::CellPos newer = Build(4, 0, 2, 0);  // Little House
  // Building sites give back only their builders, not power: the shortage takes both.
  state().power = -1;
  const std::int32_t unemployed = state().unemployed;
  OneAcceleratedDay();
  EXPECT_EQ(messages->shown.front().text, "Insufficient energy!, Some structures will be deleted!");
  EXPECT_EQ(game().land().CellAt(newer.x, newer.y)->type, 0);
  EXPECT_EQ(game().land().CellAt(older.x, older.y)->type, 0);
  EXPECT_EQ(state().unemployed, unemployed + 2 + 2);  // both sites' builders are back
  EXPECT_EQ(state().buildSerial, 0);
}

TEST_F(GameNotices, ADiseaseIsAnnouncedWithTheAlarm) {
  state().water = 500;
  world::ScopedRandomSource always([] { return 0; });
  OneAcceleratedDay();
  ASSERT_FALSE(messages->shown.empty());
  EXPECT_EQ(messages->shown.front().text,
            "Your thoughtless way of accumulating water had promoted a contagious disease!");
  EXPECT_GE(state().disease, 50);
}

TEST_F(GameNotices, AColonyThatDiesOutAsksToTryAgainAndYesStartsAfresh) {
  platform->PressKey(platform::vk::kSubtract);
  ASSERT_EQ(game().MapScalePercent(), 71);
  platform->PressKey(platform::vk::kF7);
  platform->Tick(5);
  state().population = 1;
  state().unemployed = 1;
  state().growthAccumulator = -1.5f;
  messages->answers = {platform::kResultYes};
  platform->Tick();
  EXPECT_EQ(messages->shown.back().text,
            "Marvelous, this is a fine mess we're in! Would you like try again?");
  EXPECT_EQ(messages->shown.back().buttons, dialogs::kButtonsYesNo);
  EXPECT_TRUE(LastSoundWas("GameOver"));
  EXPECT_EQ(state().population, 10);
  EXPECT_EQ(state().day, 1);
  EXPECT_EQ(state().speed, sim::kPaused);
  EXPECT_EQ(game().toolPanel->buttons[4]->down, 1);
  EXPECT_EQ(game().MapScalePercent(), 100);  // a new colony, at the pictures' own scale
  EXPECT_FALSE(platform->terminated());
}

TEST_F(GameNotices, AnsweringNoAfterTheColonyDiedEndsTheProgram) {
  state().population = 1;
  state().unemployed = 1;
  state().growthAccumulator = -1.5f;
  messages->answers = {platform::kResultNo};
  OneAcceleratedDay();
  EXPECT_TRUE(platform->terminated());
  EXPECT_EQ(messages->shown.size(), 1u);  // no exit question after it
}

}  // namespace
}  // namespace screens_test
