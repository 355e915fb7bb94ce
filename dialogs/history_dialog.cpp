#include "dialogs/history_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "gfx/draw.h"
#include "gfx/text.h"

namespace dialogs {

namespace {

// The layout, in fractions of the screen: the dialog's size, then places inside it.
constexpr float kWidth = 0.8f;
constexpr float kHeight = 0.8f;
constexpr float kMargin = 0.015f;
// The view buttons at the top left, the date at the top right.
constexpr float kTopRow = 0.012f;
constexpr float kRowHeight = 0.032f;
constexpr float kViewButtonWidth = 0.12f;
constexpr float kViewButtonGap = 0.01f;
constexpr float kDateLeft = 0.28f;
// The charts: a title above the plot, value labels left of it, month names below it and the
// legend to its right.
constexpr float kPlotLeft = 0.075f;
constexpr float kPlotRight = 0.585f;
constexpr float kLegendLeft = 0.6f;
constexpr float kTitleHeight = 0.026f;
struct ChartPlace {
  std::string_view title;
  float plotTop;
  float plotBottom;
};
constexpr std::array<ChartPlace, kHistoryChartCount> kChartPlaces = {{
    {"Population", 0.08f, 0.265f},
    {"Balances", 0.35f, 0.685f},
}};
constexpr float kLegendRowHeight = 0.03f;
// "Close", centred at the foot as in the other dialogs.
constexpr float kCloseWidth = 0.08f;
constexpr float kCloseTop = 0.75f;
// The value axis has at most this many steps.
constexpr int kValueTicks = 5;

// The plots and the legend are dark like the panel's info area, so that its colours read as
// they do there.
constexpr gfx::Color kPlotFill = gfx::Rgb(0x20, 0x20, 0x20);
constexpr gfx::Color kPlotFrame = gfx::Rgb(0x80, 0x80, 0x80);
constexpr gfx::Color kGridLine = gfx::Rgb(0x3C, 0x3C, 0x3C);
constexpr gfx::Color kZeroLine = gfx::Rgb(0x70, 0x70, 0x70);
constexpr gfx::Color kMarker = gfx::Rgb(0xFF, 0xFF, 0xFF);
constexpr gfx::Color kHiddenText = gfx::Rgb(0x70, 0x70, 0x70);
// The frame around the view button that is chosen.
constexpr gfx::Color kChosenMark = gfx::Rgb(0x00, 0x40, 0xA0);

constexpr std::uint32_t kLine = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX;

enum HistoryCommand : std::int32_t { kShowLastDays = 30, kShowWholeLife = 31 };

// A share of a scale within 0..1; a figure that is no number (from a damaged file) sits at 0.
double Within01(double share) {
  return std::isfinite(share) ? std::clamp(share, 0.0, 1.0) : 0.0;
}

std::string FigureText(std::size_t series, const sim::HistoryRecord& r) {
  const double value = kHistorySeries[series].value(r);
  if (!kHistorySeries[series].percent) return TickLabel(value);
  char text[32];
  std::snprintf(text, sizeof text, "%.2f%%", value);
  return text;
}

}  // namespace

THistoryDlg::THistoryDlg(FormHost& host)
    : TModalDialog(host), pointer_(*this), lastDays_(*this), wholeLife_(*this), close_(*this) {
  background = host.Pictures().dlgBackground.get();
  SetArea(
      gfx::FracRect::FromSize((1.0f - kWidth) * 0.5f, (1.0f - kHeight) * 0.5f, kWidth, kHeight));
  SetCaption(kHistoryCaption);
  const PictureSlot strip = &host.Pictures().dlgButtons;
  const auto setUp = [&](TSButton& button, float left, float top, float width, std::int32_t code,
                         std::string_view text) {
    button.cursor = platform::kCursorHand;
    button.Setup(gfx::FracRect::FromSize(left, top, width, kRowHeight), strip, 0, code, text);
  };
  setUp(lastDays_, kMargin, kTopRow, kViewButtonWidth, kShowLastDays, "Last 120 &days");
  setUp(wholeLife_, kMargin + kViewButtonWidth + kViewButtonGap, kTopRow, kViewButtonWidth,
        kShowWholeLife, "&Whole life");
  setUp(close_, (kWidth - kCloseWidth) * 0.5f, kCloseTop, kCloseWidth, kModalOk, "&Close");
  pointer_.bounds = {0, 0, ClientBounds().Width(), ClientBounds().Height()};
}

void THistoryDlg::LayOut() {
  TModalDialog::LayOut();
  pointer_.bounds = {0, 0, ClientBounds().Width(), ClientBounds().Height()};
}

int THistoryDlg::Show(const sim::ColonyHistory& history) {
  history_ = &history;
  const int result = ShowModal();
  history_ = nullptr;
  return result;
}

void THistoryDlg::FormShow() {
  background = host().Pictures().dlgBackground.get();
  TModalDialog::FormShow();
  FocusControl(&close_);
}

void THistoryDlg::PrepareContents() {
  records_ =
      history_ != nullptr ? ViewRecords(*history_, view_) : std::vector<sim::HistoryRecord>{};
  hovered_.reset();
}

void THistoryDlg::Command(std::int32_t code) {
  if (code == kShowLastDays) SetView(HistoryView::kLastDays);
  if (code == kShowWholeLife) SetView(HistoryView::kWholeLife);
}

void THistoryDlg::SetView(HistoryView view) {
  if (view == view_) return;
  view_ = view;
  if (!Showing()) return;
  PrepareContents();
  Redraw();
}

void THistoryDlg::ToggleSeries(std::size_t series) {
  if (series >= hidden_.size()) return;
  hidden_[series] = !hidden_[series];
  if (Showing()) Redraw();
}

void THistoryDlg::Redraw() {
  RepaintClient();
  ShowClient({0, 0, ClientBounds().Width(), ClientBounds().Height()});
}

void THistoryDlg::FormKeyDown(std::uint16_t key, platform::ShiftState shift) {
  // Enter closes wherever the focus is, but on a view button, which it presses.
  if (key == platform::vk::kReturn && (shift & platform::kAutoRepeat) == 0 &&
      ActiveControl() != &lastDays_ && ActiveControl() != &wholeLife_) {
    ModalResult = kModalOk;
    return;
  }
  // The arrows move the marker a day (a month in the whole life) from the one marked, or from
  // the last.
  const bool left = key == platform::vk::kLeft;
  if ((left || key == platform::vk::kRight) && !records_.empty()) {
    const std::size_t now = hovered_.value_or(records_.size() - 1);
    const std::size_t next =
        left ? (now > 0 ? now - 1 : 0) : std::min(now + 1, records_.size() - 1);
    if (hovered_ != next) {
      hovered_ = next;
      ShowPointerParts();
    }
    return;
  }
  TModalDialog::FormKeyDown(key, shift);
}

// --- where things lie ---

gfx::IntRect THistoryDlg::Pixels(const gfx::FracRect& r) const {
  return gfx::FracToPixels(r, host().ScreenSize());
}

std::int32_t THistoryDlg::LineThickness() const {
  return std::max(1, gfx::RoundHalfUp(static_cast<float>(host().ScreenSize().height) / 600.0f));
}

gfx::IntRect THistoryDlg::PlotRect(int chart) const {
  const ChartPlace& place = kChartPlaces[static_cast<std::size_t>(chart)];
  return Pixels({kPlotLeft, place.plotTop, kPlotRight, place.plotBottom});
}

gfx::IntRect THistoryDlg::LegendRow(std::size_t series) const {
  const int chart = kHistorySeries[series].chart;
  std::size_t row = 0;
  for (std::size_t i = 0; i < series; ++i)
    if (kHistorySeries[i].chart == chart) ++row;
  const float top = kChartPlaces[static_cast<std::size_t>(chart)].plotTop +
                    kLegendRowHeight * static_cast<float>(row);
  return Pixels({kLegendLeft, top, kWidth - kMargin, top + kLegendRowHeight});
}

THistoryDlg::Scale THistoryDlg::ScaleOf(int chart) const {
  Scale scale;
  if (records_.empty()) return scale;
  scale.firstDay = CalendarDay(records_.front());
  scale.lastDay = CalendarDay(records_.back());
  double low = 0.0, high = 0.0;
  for (std::size_t s = 0; s < kHistorySeries.size(); ++s) {
    if (kHistorySeries[s].chart != chart || hidden_[s]) continue;
    for (const sim::HistoryRecord& r : records_) {
      low = std::min(low, kHistorySeries[s].value(r));
      high = std::max(high, kHistorySeries[s].value(r));
    }
  }
  scale.axis = NiceAxis(low, high, kValueTicks);
  return scale;
}

std::int32_t THistoryDlg::XOf(const gfx::IntRect& plot, const Scale& scale,
                              std::int64_t day) const {
  const std::int32_t room = std::max(plot.Width() - LineThickness(), 0);
  // A single day stands in the middle.
  if (scale.lastDay <= scale.firstDay) return plot.left + room / 2;
  const double share = static_cast<double>(day - scale.firstDay) /
                       static_cast<double>(scale.lastDay - scale.firstDay);
  return plot.left + static_cast<std::int32_t>(std::lround(Within01(share) * room));
}

std::int32_t THistoryDlg::YOf(const gfx::IntRect& plot, const Scale& scale, double value) const {
  const std::int32_t room = std::max(plot.Height() - LineThickness(), 0);
  const double share = (value - scale.axis.low) / (scale.axis.high - scale.axis.low);
  return plot.bottom - LineThickness() -
         static_cast<std::int32_t>(std::lround(Within01(share) * room));
}

// --- drawing ---

void THistoryDlg::DrawContents() {
  if (!surface) return;
  const gfx::IntRect chosen = (view_ == HistoryView::kLastDays ? lastDays_ : wholeLife_).bounds;
  for (std::int32_t i = 1; i <= 2; ++i)
    gfx::FrameRect(*surface, {chosen.left - i, chosen.top - i, chosen.right + i, chosen.bottom + i},
                   kChosenMark);
  if (records_.empty()) {
    const gfx::IntRect room =
        Pixels({kMargin, kChartPlaces[0].plotTop, kWidth - kMargin, kCloseTop - kMargin});
    const std::uint32_t format = gfx::DT_CENTER | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX;
    const std::int32_t height = gfx::CalcTextRect(room, kNoHistoryText, format, font()).Height();
    const gfx::IntRect text{room.left, room.top + (room.Height() - height) / 2, room.right,
                            room.bottom};
    gfx::DrawTextInRect(*surface, text, kNoHistoryText, format, gfx::kBlack, font());
  } else {
    for (int chart = 0; chart < kHistoryChartCount; ++chart) DrawChart(chart);
  }
  plain_ = std::make_unique<gfx::MemVideo>(*surface);
  DrawPointerParts();
}

void THistoryDlg::DrawChart(int chart) {
  gfx::MemVideo& target = *surface;
  const ChartPlace& place = kChartPlaces[static_cast<std::size_t>(chart)];
  const gfx::IntRect plot = PlotRect(chart);
  const Scale scale = ScaleOf(chart);
  const std::int32_t thickness = LineThickness();
  const std::int32_t lineHeight = font() != nullptr ? font()->lineHeight() : 12;

  gfx::DrawTextInRect(target,
                      Pixels({kPlotLeft, place.plotTop - kTitleHeight, kPlotRight, place.plotTop}),
                      place.title, kLine | gfx::DT_LEFT, gfx::kBlack, font());
  gfx::FillRect(target, plot, kPlotFill);
  // Value ticks: a grid line across, the zero line brighter, the number to the left.
  const std::int32_t labelsLeft = Pixels({kMargin * 0.3f, 0, 0, 0}).left;
  for (double v = scale.axis.low; v <= scale.axis.high + scale.axis.step * 0.5;
       v += scale.axis.step) {
    const std::int32_t y = YOf(plot, scale, v) + thickness / 2;
    gfx::FillRect(target, {plot.left, y, plot.right, y + 1}, v == 0.0 ? kZeroLine : kGridLine);
    gfx::DrawTextInRect(
        target, {labelsLeft, y - lineHeight / 2, plot.left - 4, y - lineHeight / 2 + lineHeight},
        TickLabel(v), kLine | gfx::DT_RIGHT, gfx::kBlack, font());
  }
  // Time ticks at the months' first days: a grid line down, the month and the year below.
  const std::int32_t labelWidth = font() != nullptr ? font()->textWidth("Quadrivernalis") + 8 : 80;
  std::vector<TimeTick> ticks = TimeTicks(scale.firstDay, scale.lastDay, plot.Width(), labelWidth);
  // Days within one month, past its first: the month is named at the axis's start.
  if (ticks.empty()) {
    const sim::HistoryRecord& first = records_.front();
    ticks.push_back(
        {scale.firstDay, std::string(MonthName(first.month)), std::to_string(first.year)});
  }
  for (const TimeTick& tick : ticks) {
    const std::int32_t x = XOf(plot, scale, tick.day) + thickness / 2;
    gfx::FillRect(target, {x, plot.top, x + 1, plot.bottom}, kGridLine);
    gfx::FillRect(target, {x, plot.bottom, x + 1, plot.bottom + 4}, kPlotFrame);
    const std::int32_t top = plot.bottom + 4;
    const std::string_view first = tick.month.empty() ? tick.year : tick.month;
    gfx::DrawTextInRect(target, {x + 2, top, x + labelWidth, top + lineHeight}, first,
                        kLine | gfx::DT_LEFT, gfx::kBlack, font());
    if (!tick.month.empty() && !tick.year.empty())
      gfx::DrawTextInRect(target, {x + 2, top + lineHeight, x + labelWidth, top + 2 * lineHeight},
                          tick.year, kLine | gfx::DT_LEFT, gfx::kBlack, font());
  }
  // The lines, each as thick as the screen is large; a single day is a dot. The legend's
  // first line is drawn last, so that the population stays in sight where the unemployed are
  // all the people.
  for (std::size_t s = kHistorySeries.size(); s-- > 0;) {
    const HistorySeries& series = kHistorySeries[s];
    if (series.chart != chart || hidden_[s]) continue;
    const auto point = [&](const sim::HistoryRecord& r) {
      return platform::Point{XOf(plot, scale, CalendarDay(r)), YOf(plot, scale, series.value(r))};
    };
    if (records_.size() == 1) {
      const platform::Point p = point(records_.front());
      gfx::FillRect(
          target,
          gfx::IntRect::FromSize(p.x - thickness, p.y - thickness, 3 * thickness, 3 * thickness),
          series.color);
      continue;
    }
    for (std::size_t i = 1; i < records_.size(); ++i) {
      const platform::Point a = point(records_[i - 1]);
      const platform::Point b = point(records_[i]);
      for (std::int32_t dy = 0; dy < thickness; ++dy)
        for (std::int32_t dx = 0; dx < thickness; ++dx)
          gfx::DrawLine(target, a.x + dx, a.y + dy, b.x + dx, b.y + dy, series.color);
    }
  }
  gfx::FrameRect(target, {plot.left - 1, plot.top - 1, plot.right + 1, plot.bottom + 1},
                 kPlotFrame);
}

void THistoryDlg::DrawPointerParts() {
  if (!surface || !plain_ || records_.empty()) return;
  gfx::MemVideo& target = *surface;
  const std::int32_t thickness = LineThickness();
  for (int chart = 0; chart < kHistoryChartCount; ++chart) {
    const gfx::IntRect plot = PlotRect(chart);
    gfx::CopyRect(*plain_, plot, target, plot.left, plot.top);
    if (!hovered_) continue;
    const std::int32_t x =
        XOf(plot, ScaleOf(chart), CalendarDay(records_[*hovered_])) + thickness / 2;
    gfx::FillRect(target, {x, plot.top, x + 1, plot.bottom}, kMarker);
  }
  // The legend: a swatch and the name, and the day's figure at the right; a hidden line's
  // swatch is an empty frame and its words are grey.
  const sim::HistoryRecord& day = records_[hovered_.value_or(records_.size() - 1)];
  for (std::size_t s = 0; s < kHistorySeries.size(); ++s) {
    const gfx::IntRect row = LegendRow(s);
    gfx::FillRect(target, row, kPlotFill);
    const std::int32_t side = std::max(row.Height() / 2, 2);
    const gfx::IntRect swatch = gfx::IntRect::FromSize(
        row.left + side / 2, row.top + (row.Height() - side) / 2, side, side);
    if (hidden_[s]) {
      gfx::FrameRect(target, swatch, kHistorySeries[s].color);
    } else {
      gfx::FillRect(target, swatch, kHistorySeries[s].color);
    }
    const gfx::Color text = hidden_[s] ? kHiddenText : gfx::kWhite;
    const gfx::IntRect words{row.left + side * 2, row.top, row.right - side / 2, row.bottom};
    gfx::DrawTextInRect(target, words, kHistorySeries[s].name, kLine | gfx::DT_LEFT, text, font());
    gfx::DrawTextInRect(target, words, FigureText(s, day), kLine | gfx::DT_RIGHT, text, font());
  }
  const gfx::IntRect date = Pixels({kDateLeft, kTopRow, kWidth - kMargin, kTopRow + kRowHeight});
  gfx::CopyRect(*plain_, date, target, date.left, date.top);
  gfx::DrawTextInRect(target, date, DateLine(), kLine | gfx::DT_RIGHT, gfx::kBlack, font());
}

void THistoryDlg::ShowPointerParts() {
  DrawPointerParts();
  for (int chart = 0; chart < kHistoryChartCount; ++chart) ShowClient(PlotRect(chart));
  for (std::size_t s = 0; s < kHistorySeries.size(); ++s) ShowClient(LegendRow(s));
  ShowClient(Pixels({kDateLeft, kTopRow, kWidth - kMargin, kTopRow + kRowHeight}));
}

std::string THistoryDlg::DateLine() const {
  if (records_.empty()) return {};
  const sim::HistoryRecord& day = records_[hovered_.value_or(records_.size() - 1)];
  std::string line = DateText(day);
  if (day.hasScore) line += "  -  Earth's score: " + std::to_string(day.score);
  return line;
}

std::string THistoryDlg::LegendText(std::size_t series) const {
  if (records_.empty() || series >= kHistorySeries.size()) return {};
  return std::string(kHistorySeries[series].name) + " " +
         FigureText(series, records_[hovered_.value_or(records_.size() - 1)]);
}

// --- the pointer ---

void THistoryDlg::PointAt(std::int32_t x, std::int32_t y) {
  std::optional<std::size_t> under;
  for (int chart = 0; chart < kHistoryChartCount && !records_.empty(); ++chart) {
    const gfx::IntRect plot = PlotRect(chart);
    if (!plot.Contains(x, y)) continue;
    const Scale scale = ScaleOf(chart);
    const std::int32_t room = std::max(plot.Width() - LineThickness(), 1);
    const double share = static_cast<double>(x - plot.left) / room;
    under =
        NearestRecord(records_, static_cast<double>(scale.firstDay) +
                                    share * static_cast<double>(scale.lastDay - scale.firstDay));
  }
  if (under == hovered_) return;
  hovered_ = under;
  ShowPointerParts();
}

void THistoryDlg::ClickAt(std::int32_t x, std::int32_t y) {
  if (records_.empty()) return;
  for (std::size_t s = 0; s < kHistorySeries.size(); ++s)
    if (LegendRow(s).Contains(x, y)) ToggleSeries(s);
}

}  // namespace dialogs
