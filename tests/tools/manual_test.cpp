// The player's manual as the build writes it: every picture it shows is there, every
// structure of the palette and every toolbar key is in it, and the figures it gives for the
// Earth report's levels are the game's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "platform/keys.h"
#include "screens/game_layout.h"
#include "sim/structure_catalogue.h"
#include "tools/manual/manual_html.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBuildDir = REDHOLLOW_RESOURCE_DIR;

std::string ReadManual() {
  std::ifstream file(kBuildDir / "Pell.html");
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Manual, EveryPictureItShowsIsBesideIt) {
  const std::string page = ReadManual();
  ASSERT_FALSE(page.empty()) << "the build writes Pell.html beside the archives";
  const std::regex image("<img src=\"([^\"]+)\"");
  int pictures = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), image);
       it != std::sregex_iterator(); ++it) {
    ++pictures;
    EXPECT_TRUE(fs::exists(kBuildDir / (*it)[1].str())) << (*it)[1].str();
  }
  EXPECT_GT(pictures, 40);
}

TEST(Manual, ItNamesEveryStructureAndEveryKeyOfTheToolbar) {
  const std::string page = ReadManual();
  for (std::int32_t category = sim::kFirstBuildingCategory; category < sim::kCategoryCount;
       ++category)
    for (std::int32_t item = 0; item < sim::kItemsPerCategory; ++item) {
      const sim::StructureType type = sim::PaletteType(category, item);
      if (sim::IsSpareType(type)) continue;
      EXPECT_NE(page.find("<b>" + manual::Escape(sim::NameOf(type)) + "</b>"), std::string::npos)
          << sim::NameOf(type);
    }
  for (const screens::ToolButtonRow& row : screens::kToolbar)
    EXPECT_NE(page.find("<kbd>" + manual::KeyName(row.key) + "</kbd>"), std::string::npos)
        << row.hint;
  // The keys beside the toolbar's.
  for (const std::uint16_t key :
       {platform::vk::kF8, platform::vk::kF9, platform::vk::kF11, platform::vk::kF12})
    EXPECT_NE(page.find("<kbd>" + manual::KeyName(key) + "</kbd>"), std::string::npos) << key;
  for (const char* section :
       {"id=\"saves\"", "id=\"keys\"", "id=\"growth\"", "id=\"earth\"", "id=\"options\"",
        "id=\"window\"", "id=\"autosave\"", "id=\"screenshots\""})
    EXPECT_NE(page.find(section), std::string::npos) << section;
}

TEST(Manual, KeysAreNamedAsTheKeyboardShowsThem) {
  EXPECT_EQ(manual::KeyName(platform::vk::kF1), "F1");
  EXPECT_EQ(manual::KeyName(platform::vk::kF10), "F10");
  EXPECT_EQ(manual::KeyName(platform::vk::kEscape), "Esc");
  EXPECT_EQ(manual::KeyName(platform::vk::kReturn), "Enter");
  EXPECT_EQ(manual::KeyName(platform::vk::kLeft), "&larr;");
  EXPECT_EQ(manual::KeyName('L'), "L");
}

TEST(Manual, TheReportsLevelsAreTheGamesOwn) {
  EXPECT_EQ(manual::LevelRange(0, 0), "below 0");  // water
  EXPECT_EQ(manual::LevelRange(0, 1), "0 to 19");
  EXPECT_EQ(manual::LevelRange(0, 4), "160 and more");
  EXPECT_EQ(manual::LevelRange(5, 1), "-40 to -21");  // mental health
  EXPECT_EQ(manual::LevelRange(8, 3), "12 to 21");    // growth
  EXPECT_EQ(manual::LevelRange(6, 3), "");            // reproduction has three levels
  EXPECT_EQ(manual::Escape("'Happy' <&>"), "'Happy' &lt;&amp;&gt;");
}

}  // namespace
