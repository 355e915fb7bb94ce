// The Colony History: its scales and ticks apart from drawing; the dialog in the real main
// window on the headless platform for a young and an old colony (against stored pictures), the
// value under the pointer, the views and the legend's toggles, its layout at other sizes; and
// the game screen opening it with H and from the Status page while time stands still.
#include "dialogs/history_dialog.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gfx/draw.h"
#include "sim/structure_catalogue.h"
#include "tests/dialogs/dialog_fixture.h"
#include "tests/screens/game_screen_fixture.h"
#include "tests/support/golden.h"

namespace dialogs_test {
namespace {

using dialogs::HistoryView;
using dialogs::THistoryDlg;
using sim::HistoryRecord;

// A colony's history of `days` days from 1 Vernalis 2001, its figures rising and swinging as
// a colony's do, each month's last day also a monthly record.
sim::ColonyHistory MakeHistory(std::int32_t days) {
  sim::ColonyHistory history;
  HistoryRecord r;
  r.day = 1;
  r.year = 2001;
  for (std::int32_t d = 0; d < days; ++d) {
    const double t = d;
    r.population = 10 + d / 4 + static_cast<std::int32_t>(6.0 * std::sin(t / 40.0));
    r.unemployed = 2 + (d / 7) % 5;
    r.water = 40 + static_cast<std::int32_t>(30.0 * std::sin(t / 400.0));
    r.food = 25 + static_cast<std::int32_t>(20.0 * std::cos(t / 700.0));
    r.power = 60 - (d / 8) % 50;
    r.freeHousing = 12 - (d / 90) % 15;
    r.health = 5 + static_cast<std::int32_t>(8.0 * std::sin(t / 170.0));
    r.mentalHealth = -3 + (d / 200) % 9;
    r.reproduction = 4;
    r.communications = 30 + (d / 60) % 20;
    r.growthRate = static_cast<float>(3.0 * std::sin(t / 50.0));
    r.hasScore = d > 60;
    r.score = r.hasScore ? 20 + d % 7 : 0;
    const bool endsMonth = r.day == sim::MonthLength(r.month, 0);
    history.Record(r, endsMonth);
    if (!endsMonth) {
      ++r.day;
    } else {
      r.day = 1;
      if (++r.month == sim::kMonthCount) r.month = 0, ++r.year;
    }
  }
  return history;
}

// --- scales and ticks ---

TEST(HistoryScales, ValueAxesStepOnRoundNumbersAndHoldZero) {
  const auto axis = [](double low, double high) {
    const dialogs::ValueAxis a = dialogs::NiceAxis(low, high, 5);
    return std::vector<double>{a.low, a.high, a.step};
  };
  EXPECT_EQ(axis(12, 87), (std::vector<double>{0, 100, 20}));
  EXPECT_EQ(axis(-23, 41), (std::vector<double>{-40, 60, 20}));
  EXPECT_EQ(axis(0, 0), (std::vector<double>{0, 1, 1}));  // a flat line still has an axis
  EXPECT_EQ(axis(0, 2), (std::vector<double>{0, 3, 1}));  // never a step below one
  EXPECT_EQ(axis(500, 123456), (std::vector<double>{0, 150000, 50000}));
  EXPECT_EQ(axis(-4, -2), (std::vector<double>{-5, 0, 1}));
  // A figure on a round end would lie on the frame: ten colonists stay below the top.
  EXPECT_EQ(axis(10, 10), (std::vector<double>{0, 12, 2}));
  EXPECT_EQ(axis(-20, 5), (std::vector<double>{-25, 10, 5}));
  EXPECT_EQ(axis(NAN, 4), (std::vector<double>{0, 1, 1}));
  EXPECT_EQ(dialogs::TickLabel(150000), "150k");
  EXPECT_EQ(dialogs::TickLabel(-20000), "-20k");
  EXPECT_EQ(dialogs::TickLabel(5000), "5000");
  EXPECT_EQ(dialogs::TickLabel(-15), "-15");
}

TEST(HistoryScales, CalendarDaysRunOnAcrossMonthsAndYears) {
  EXPECT_EQ(dialogs::CalendarDay(2001, 0, 2) - dialogs::CalendarDay(2001, 0, 1), 1);
  EXPECT_EQ(dialogs::CalendarDay(2001, 1, 1) - dialogs::CalendarDay(2001, 0, 28), 1);
  EXPECT_EQ(dialogs::CalendarDay(2002, 0, 1) - dialogs::CalendarDay(2001, 23, 28), 1);
  EXPECT_EQ(dialogs::CalendarDay(2001, 6, 1) - dialogs::CalendarDay(2001, 5, 27), 1);
  // A damaged month is held to the calendar.
  EXPECT_EQ(dialogs::CalendarDay(2001, 99, 1), dialogs::CalendarDay(2001, 23, 1));
  EXPECT_EQ(dialogs::MonthName(-4), "Vernalis");
  HistoryRecord r;
  r.day = 3, r.month = 7, r.year = 2004;
  EXPECT_EQ(dialogs::DateText(r), "3 Duestas 2004");
}

TEST(HistoryScales, MonthTicksNameTheYearWhereItChangesAndLongSpansCountYears) {
  // 120 days across a new year, wide: every month, the year at the first and at Vernalis.
  const std::int64_t first = dialogs::CalendarDay(2001, 21, 10);
  const std::vector<dialogs::TimeTick> months = dialogs::TimeTicks(first, first + 119, 600, 90);
  std::vector<std::string> text;
  for (const dialogs::TimeTick& t : months) text.push_back(t.month + "/" + t.year);
  EXPECT_EQ(text, (std::vector<std::string>{"Pentember/2001", "Hexember/", "Vernalis/2002",
                                            "Duvernalis/"}));
  EXPECT_EQ(months[0].day, dialogs::CalendarDay(2001, 22, 1));
  EXPECT_EQ(months[2].day, dialogs::CalendarDay(2002, 0, 1));
  // Narrow: every second month, on the even ones.
  const std::vector<dialogs::TimeTick> pairs = dialogs::TimeTicks(first, first + 119, 300, 90);
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].month, "Pentember");
  EXPECT_EQ(pairs[1].month, "Vernalis");
  // Forty years on 600 pixels: every tenth year, named by the year alone.
  const std::vector<dialogs::TimeTick> years = dialogs::TimeTicks(
      dialogs::CalendarDay(2001, 0, 1), dialogs::CalendarDay(2041, 0, 1), 600, 90);
  std::vector<std::string> named;
  for (const dialogs::TimeTick& t : years) named.push_back(t.month + "/" + t.year);
  EXPECT_EQ(named, (std::vector<std::string>{"/2010", "/2020", "/2030", "/2040"}));
  // Nothing from a span that runs backwards or an axis without width.
  EXPECT_TRUE(dialogs::TimeTicks(first, first - 5, 600, 90).empty());
  EXPECT_TRUE(dialogs::TimeTicks(first, first + 100, 0, 90).empty());
}

TEST(HistoryScales, TheViewsAndTheRecordNearestADay) {
  const sim::ColonyHistory young = MakeHistory(5);
  EXPECT_EQ(dialogs::ViewRecords(young, HistoryView::kLastDays).size(), 5u);
  // Younger than a month, its whole life is its days.
  EXPECT_EQ(dialogs::ViewRecords(young, HistoryView::kWholeLife).size(), 5u);
  const sim::ColonyHistory old = MakeHistory(669 * 3 + 40);
  const std::vector<HistoryRecord> days = dialogs::ViewRecords(old, HistoryView::kLastDays);
  ASSERT_EQ(days.size(), 120u);
  const std::vector<HistoryRecord> life = dialogs::ViewRecords(old, HistoryView::kWholeLife);
  // Three years of months, one more month, and the 12 days of the month now running.
  ASSERT_EQ(life.size(), 72u + 1u + 12u);
  EXPECT_EQ(life[71].month, 23);
  EXPECT_EQ(life[71].day, 28);
  EXPECT_EQ(life.back(), days.back());
  for (std::size_t i = 1; i < life.size(); ++i)
    EXPECT_LT(dialogs::CalendarDay(life[i - 1]), dialogs::CalendarDay(life[i]));

  const std::int64_t day0 = dialogs::CalendarDay(days[0]);
  EXPECT_EQ(dialogs::NearestRecord(days, day0 - 50.0), 0u);
  EXPECT_EQ(dialogs::NearestRecord(days, day0 + 7.4), 7u);
  EXPECT_EQ(dialogs::NearestRecord(days, day0 + 7.5), 7u);  // the earlier on a tie
  EXPECT_EQ(dialogs::NearestRecord(days, day0 + 7.6), 8u);
  EXPECT_EQ(dialogs::NearestRecord(days, day0 + 1e9), 119u);
  EXPECT_EQ(dialogs::NearestRecord({}, 3.0), std::nullopt);
}

// --- the dialog ---

class HistoryDialog : public DialogTest {
 protected:
  using DialogTest::DialogTest;
  void TearDown() override {
    dialog_.reset();
    DialogTest::TearDown();
  }
  THistoryDlg& dialog() {
    if (!dialog_) dialog_ = std::make_unique<THistoryDlg>(*window);
    return *dialog_;
  }
  // A click on a point of the open dialog's client area.
  void ClickClient(platform::HeadlessPlatform& p, std::int32_t x, std::int32_t y) {
    const gfx::IntRect client = dialog().ClientBounds();
    p.Click(client.left + x, client.top + y);
  }
  void PointClient(platform::HeadlessPlatform& p, std::int32_t x, std::int32_t y) {
    const gfx::IntRect client = dialog().ClientBounds();
    p.MoveMouse(client.left + x, client.top + y);
  }
  Step Compare(const std::string& name) {
    return [name](platform::HeadlessPlatform& p, dialogs::TForm& form) {
      p.MoveMouse(2, 2);
      const gfx::IntRect r = form.WindowBounds();
      gfx::MemVideo copy(r.Width(), r.Height());
      gfx::CopyRect(p.window(), r, copy, 0, 0);
      EXPECT_TRUE(testing_support::MatchesGolden(copy, name, kTolerance, kBadPixels));
    };
  }

 private:
  std::unique_ptr<THistoryDlg> dialog_;
};

TEST_F(HistoryDialog, AYoungColonyLooksAsStored) {
  const sim::ColonyHistory history = MakeHistory(6);
  script = {Compare("dialog_history_young"), [](auto& p, auto&) { p.PressKey('C'); }};
  EXPECT_EQ(dialog().Show(history), dialogs::kModalOk);
  EXPECT_FALSE(scriptRanOut);
  EXPECT_EQ(dialog().caption(), "Colony History");
}

TEST_F(HistoryDialog, AnOldColonyLooksAsStoredInBothViews) {
  const sim::ColonyHistory history = MakeHistory(669 * 12 + 300);
  THistoryDlg& d = dialog();
  script = {Compare("dialog_history_old_days"),
            [&](auto& p, auto&) {
              p.PressKey('W');
              EXPECT_EQ(d.view(), HistoryView::kWholeLife);
              EXPECT_EQ(d.Records().size(), 12u * 24u + 10u + 21u);
            },
            Compare("dialog_history_old_life"), [](auto& p, auto&) { p.RequestClose(); }};
  EXPECT_EQ(d.Show(history), dialogs::kModalCancel);
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(HistoryDialog, ThePointerMarksTheDayUnderItAndTheLegendTellsItsFigures) {
  const sim::ColonyHistory history = MakeHistory(300);
  THistoryDlg& d = dialog();
  const std::vector<HistoryRecord> days = dialogs::ViewRecords(history, HistoryView::kLastDays);
  script = {[&](auto& p, auto&) {
              // Without the pointer on a chart, the last day's figures.
              EXPECT_EQ(d.Hovered(), std::nullopt);
              EXPECT_EQ(d.DateLine(), dialogs::DateText(days.back()) + "  -  Earth's score: " +
                                          std::to_string(days.back().score));
              EXPECT_EQ(d.LegendText(0), "Population " + std::to_string(days.back().population));
              // A quarter across the balances' plot: the 30th day of the 120 (119 steps).
              const gfx::IntRect plot = d.PlotRect(dialogs::kBalancesChart);
              const std::int32_t room = plot.Width() - 1;  // one-pixel lines at 768
              const std::int32_t x = plot.left + room * 29 / 119;
              PointClient(p, x, plot.top + plot.Height() / 2);
              ASSERT_EQ(d.Hovered(), 29u);
              EXPECT_EQ(d.DateLine().substr(0, dialogs::DateText(days[29]).size()),
                        dialogs::DateText(days[29]));
              EXPECT_EQ(d.LegendText(2), "Water " + std::to_string(days[29].water));
              EXPECT_EQ(
                  d.LegendText(10), "Growth Rate " + [&] {
                    char text[32];
                    std::snprintf(text, sizeof text, "%.2f%%", days[29].growthRate);
                    return std::string(text);
                  }());
              // The marker: a white column down both plots, on the screen, at the day's place.
              const gfx::IntRect client = d.ClientBounds();
              const std::int32_t marker = client.left + plot.left +
                                          static_cast<std::int32_t>(std::lround(room * 29.0 / 119));
              for (int chart = 0; chart < dialogs::kHistoryChartCount; ++chart) {
                const gfx::IntRect r = d.PlotRect(chart);
                EXPECT_EQ(p.window().at(marker, client.top + r.top + 2), gfx::kWhite);
                EXPECT_EQ(p.window().at(marker, client.top + r.bottom - 2), gfx::kWhite);
              }
              // The same day from the population's plot; off the plots, the last day again.
              const gfx::IntRect top = d.PlotRect(dialogs::kPopulationChart);
              PointClient(p, x, top.top + 3);
              EXPECT_EQ(d.Hovered(), 29u);
              PointClient(p, plot.right + 2, plot.top + 3);
              EXPECT_EQ(d.Hovered(), std::nullopt);
              EXPECT_NE(p.window().at(marker, client.top + plot.bottom - 2), gfx::kWhite);
              PointClient(p, plot.right - 1, plot.top + 3);
              EXPECT_EQ(d.Hovered(), 119u);
            },
            [](auto& p, auto&) { p.PressKey(platform::vk::kReturn); }};
  EXPECT_EQ(d.Show(history), dialogs::kModalOk);
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(HistoryDialog, ViewButtonsAndLegendTogglesKeepTheirChoiceAcrossShowings) {
  const sim::ColonyHistory history = MakeHistory(900);
  THistoryDlg& d = dialog();
  const auto clickOn = [&](platform::HeadlessPlatform& p, const gfx::IntRect& r) {
    ClickClient(p, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(d.Records().size(), 120u);
    clickOn(p, d.wholeLifeButton().bounds);
    EXPECT_EQ(d.view(), HistoryView::kWholeLife);
    EXPECT_EQ(d.Records().size(), 24u + 8u + 8u);
    // Hiding the population leaves its plot to the unemployed, in a smaller scale.
    const gfx::IntRect plot = d.PlotRect(dialogs::kPopulationChart);
    const gfx::MemVideo before = p.window();
    clickOn(p, d.LegendRow(0));
    EXPECT_FALSE(d.SeriesShown(0));
    EXPECT_TRUE(d.SeriesShown(1));
    const gfx::IntRect client = d.ClientBounds();
    bool changed = false;
    for (std::int32_t y = plot.top; y < plot.bottom; ++y)
      changed |= p.window().at(client.left + plot.left + plot.Width() / 2, client.top + y) !=
                 before.at(client.left + plot.left + plot.Width() / 2, client.top + y);
    EXPECT_TRUE(changed);
    clickOn(p, d.LegendRow(5));
    clickOn(p, d.LegendRow(5));  // and back
    EXPECT_TRUE(d.SeriesShown(5));
    clickOn(p, d.closeButton().bounds);
  }};
  EXPECT_EQ(d.Show(history), dialogs::kModalOk);
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(d.view(), HistoryView::kWholeLife);
    EXPECT_FALSE(d.SeriesShown(0));
    p.PressKey('D');
    EXPECT_EQ(d.view(), HistoryView::kLastDays);
    // Enter on a view button presses it and does not close.
    d.FocusControl(&d.wholeLifeButton());
    p.PressKey(platform::vk::kReturn);
    EXPECT_EQ(d.view(), HistoryView::kWholeLife);
    EXPECT_EQ(d.ModalResult, 0);
    // The arrows move the marker from the last day.
    p.PressKey(platform::vk::kLeft);
    p.PressKey(platform::vk::kLeft);
    EXPECT_EQ(d.Hovered(), d.Records().size() - 3);
    p.PressKey(platform::vk::kRight);
    p.PressKey(platform::vk::kRight);
    p.PressKey(platform::vk::kRight);
    EXPECT_EQ(d.Hovered(), d.Records().size() - 1);
    p.PressKey(platform::vk::kEscape);  // nothing, as in the game's other dialogs
    EXPECT_EQ(d.ModalResult, 0);
    p.PressKey('C');
  }};
  EXPECT_EQ(d.Show(history), dialogs::kModalOk);
  EXPECT_FALSE(scriptRanOut);
}

TEST_F(HistoryDialog, AnEmptyHistorySaysSoAndAPointerFindsNothing) {
  const sim::ColonyHistory empty;
  THistoryDlg& d = dialog();
  script = {[&](auto& p, auto&) {
    EXPECT_TRUE(d.Records().empty());
    EXPECT_EQ(d.DateLine(), "");
    EXPECT_EQ(d.LegendText(0), "");
    // No plot is drawn: the panel's dark grey is nowhere in the client area, the text is.
    const gfx::IntRect client = d.ClientBounds();
    const gfx::IntRect plot = d.PlotRect(dialogs::kBalancesChart).Offset(client.left, client.top);
    // Between the view buttons and Close: only the sentence.
    const gfx::IntRect room{client.left, client.top + d.PlotRect(0).top, client.right,
                            client.top + d.closeButton().bounds.top - 2};
    int dark = 0, ink = 0;
    for (std::int32_t y = room.top; y < room.bottom; ++y)
      for (std::int32_t x = room.left; x < room.right; ++x) {
        const gfx::Color c = p.window().at(x, y);
        dark += c == gfx::Rgb(0x20, 0x20, 0x20);
        ink += gfx::RedOf(c) < 60 && gfx::GreenOf(c) < 60 && gfx::BlueOf(c) < 60;
      }
    EXPECT_EQ(dark, 0);
    EXPECT_GT(ink, 100);
    PointClient(p, plot.left - client.left + 20, plot.top - client.top + 20);
    ClickClient(p, d.LegendRow(3).left + 5, d.LegendRow(3).top + 5);
    EXPECT_EQ(d.Hovered(), std::nullopt);
    EXPECT_TRUE(d.SeriesShown(3));
    p.PressKey('W');
    EXPECT_TRUE(d.Records().empty());
    p.PressKey('C');
  }};
  EXPECT_EQ(d.Show(empty), dialogs::kModalOk);
}

TEST_F(HistoryDialog, FiguresBeyondAnyScaleDrawInsideThePlots) {
  sim::ColonyHistory history;
  HistoryRecord r;
  r.day = 1, r.month = 3, r.year = 2005;
  r.population = 1'000'000;
  r.growthRate = NAN;
  history.Record(r, false);
  r.day = 2, r.population = -5, r.water = INT32_MIN, r.growthRate = INFINITY;
  history.Record(r, false);
  r.day = 3, r.year = INT32_MAX;  // a date far off
  history.Record(r, false);
  THistoryDlg& d = dialog();
  script = {[&](auto& p, auto&) {
    EXPECT_EQ(d.Records().size(), 3u);
    EXPECT_EQ(d.LegendText(0), "Population -5");
    const gfx::IntRect plot = d.PlotRect(dialogs::kBalancesChart);
    PointClient(p, plot.left, plot.top + 1);
    EXPECT_EQ(d.Hovered(), 0u);
    PointClient(p, plot.right - 1, plot.top + 1);
    EXPECT_EQ(d.Hovered(), 2u);
    p.PressKey('C');
  }};
  EXPECT_EQ(d.Show(history), dialogs::kModalOk);
}

// The layout at other screens: everything inside the dialog, the buttons, plots and legend
// apart, the labels and the longest month's name with room; an open dialog laid out again.
class HistoryLayout : public HistoryDialog, public ::testing::WithParamInterface<gfx::AppVideo> {
 protected:
  HistoryLayout() : HistoryDialog(GetParam()) {}
};

TEST_P(HistoryLayout, PartsStayInsideAndApart) {
  THistoryDlg& d = dialog();
  const gfx::IntRect client = d.ClientBounds();
  const gfx::AppVideo screen = GetParam();
  EXPECT_NEAR((client.left + client.right) / 2.0, screen.width / 2.0, 1.0);
  EXPECT_GE(client.Width(), screen.width * 3 / 4);
  const gfx::IntRect inside{0, 0, client.Width(), client.Height()};
  std::vector<gfx::IntRect> parts = {d.lastDaysButton().bounds, d.wholeLifeButton().bounds,
                                     d.closeButton().bounds, d.PlotRect(dialogs::kPopulationChart),
                                     d.PlotRect(dialogs::kBalancesChart)};
  for (std::size_t s = 0; s < dialogs::kHistorySeries.size(); ++s) parts.push_back(d.LegendRow(s));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_EQ(parts[i].Intersect(inside), parts[i]) << i;
    for (std::size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_TRUE(parts[i].Intersect(parts[j]).IsEmpty()) << i << " " << j;
  }
  const gfx::Font* font = d.font();
  if (font == nullptr) GTEST_SKIP() << "no font";
  for (const dialogs::TSButton* button :
       {&d.lastDaysButton(), &d.wholeLifeButton(), &d.closeButton()})
    EXPECT_LE(font->textWidth(button->caption) + 4, button->bounds.Width()) << button->caption;
  for (std::size_t s = 0; s < dialogs::kHistorySeries.size(); ++s) {
    const gfx::IntRect row = d.LegendRow(s);
    EXPECT_LE(font->lineHeight(), row.Height() + 2);
    const std::string widest = std::string(dialogs::kHistorySeries[s].name) + "  -150k";
    EXPECT_LE(font->textWidth(widest) + row.Height() * 2, row.Width()) << widest;
  }
  // Two lines of month and year fit between the plots.
  const gfx::IntRect upper = d.PlotRect(dialogs::kPopulationChart);
  const gfx::IntRect lower = d.PlotRect(dialogs::kBalancesChart);
  EXPECT_LE(upper.bottom + 4 + 3 * font->lineHeight(), lower.top);
}

TEST_P(HistoryLayout, AnOpenDialogFollowsTheWindowToAnotherSize) {
  if (GetParam().width < 1000) GTEST_SKIP() << "a window of 1000 x 700 needs a larger screen";
  const sim::ColonyHistory history = MakeHistory(200);
  THistoryDlg& d = dialog();
  script = {[&](auto& p, auto&) {
              d.SetView(HistoryView::kWholeLife);
              p.PressKey(platform::vk::kF11);  // into a window, whose border the player drags
              p.Resize({1000, 700});
            },
            [&](auto& p, auto&) {
              const gfx::IntRect after = d.PlotRect(dialogs::kBalancesChart);
              EXPECT_EQ(after, gfx::FracToPixels({0.075f, 0.35f, 0.585f, 0.685f}, 1000, 700));
              EXPECT_EQ(d.view(), HistoryView::kWholeLife);
              EXPECT_EQ(d.Records().size(), 7u + 5u);
              // The pointer over the new plot finds its days.
              PointClient(p, after.right - 2, after.top + 2);
              EXPECT_EQ(d.Hovered(), d.Records().size() - 1);
              p.PressKey('C');
            }};
  EXPECT_EQ(d.Show(history), dialogs::kModalOk);
  EXPECT_FALSE(scriptRanOut);
}

INSTANTIATE_TEST_SUITE_P(Screens, HistoryLayout,
                         ::testing::Values(gfx::AppVideo{1024, 768}, gfx::AppVideo{800, 600},
                                           gfx::AppVideo{1920, 1080}, gfx::AppVideo{3840, 2160}));

}  // namespace
}  // namespace dialogs_test

// --- on the game screen ---

namespace screens_test {
namespace {

// The balances' lines and legend have the words and colours of the panel: the Status page's
// labels and the colours of its chart of a structure.
TEST(HistoryColours, TheBalancesAreNamedAndColouredAsOnThePanel) {
  std::vector<std::string_view> panelWords(screens::kLevelLabels.begin(),
                                           screens::kLevelLabels.end());
  panelWords.insert(panelWords.end(), screens::kBalanceLabels.begin(),
                    screens::kBalanceLabels.end());
  std::size_t column = 0;
  for (const dialogs::HistorySeries& series : dialogs::kHistorySeries) {
    if (series.chart != dialogs::kBalancesChart || column == panelWords.size()) continue;
    EXPECT_EQ(series.name, panelWords[column]);
    EXPECT_EQ(series.color, screens::kChartColumns[column].color) << series.name;
    ++column;
  }
  EXPECT_EQ(column, panelWords.size());
  // Every line can be told from the others and from the plot's dark grey.
  for (std::size_t i = 0; i < dialogs::kHistorySeries.size(); ++i) {
    EXPECT_NE(dialogs::kHistorySeries[i].color, gfx::Rgb(0x20, 0x20, 0x20));
    for (std::size_t j = i + 1; j < dialogs::kHistorySeries.size(); ++j) {
      if (dialogs::kHistorySeries[i].chart == dialogs::kHistorySeries[j].chart) {
        EXPECT_NE(dialogs::kHistorySeries[i].color, dialogs::kHistorySeries[j].color) << i << j;
      }
    }
  }
}

class HistoryOnTheGameScreen : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    StartNewGame();
  }
};

TEST_F(HistoryOnTheGameScreen, HOpensItAndTimeStandsStillWhileItIsOpen) {
  platform->PressKey(platform::vk::kF7);
  platform->Tick(6);
  const std::int32_t day = state().day;
  int ticks = 0;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    EXPECT_EQ(&form, game().historyDialog());
    EXPECT_EQ(form.caption(), "Colony History");
    EXPECT_EQ(state().day, day);
    // More than a second of accelerated time, then Close.
    if (++ticks == 40) p.PressKey('C');
  };
  platform->PressKey('H');
  EXPECT_EQ(ticks, 40);
  EXPECT_EQ(window->topForm(), nullptr);
  platform->Tick(6);
  EXPECT_GT(state().day, day) << "time runs again once it is closed";
}

TEST_F(HistoryOnTheGameScreen, AClickOnTheStatusPageOpensItAndOtherPagesDoNot) {
  int opened = 0;
  messages->otherDialog = [&](platform::HeadlessPlatform& p, dialogs::TForm& form) {
    ++opened;
    EXPECT_EQ(&form, game().historyDialog());
    p.RequestClose();
  };
  const gfx::IntRect area = palette().infoAreaPixels;
  const platform::Point figures{area.left + area.Width() * 9 / 10, area.top + area.Height() / 4};
  platform->MoveMouse(figures.x, figures.y);
  EXPECT_EQ(window->cursor, platform::kCursorHand);
  ClickAt(figures);
  EXPECT_EQ(opened, 1);
  // The Information page is no way in.
  Click(*palette().tabs[1]);
  ClickAt(figures);
  EXPECT_EQ(opened, 1);
  // Nor a press made there whose release finds the Status page (as "Delete building" does).
  platform->PressButton(platform::MouseButton::Left, figures.x, figures.y);
  game().Command(nullptr, sim::kCommandFirstCategory);
  platform->ReleaseButton(platform::MouseButton::Left, figures.x, figures.y);
  EXPECT_EQ(state().category, 0);
  EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace screens_test
