// THistoryDlg: the Colony History. Two line charts of the colony's past, the population (with
// its unemployed) and the balances, over the last 120 days or the whole life of the colony;
// value ticks on round numbers, the calendar's months on the time axis, and a legend in the
// colours of the game screen's panel. The pointer over a chart sets a marker on the day under
// it, and the legend and the date above the charts tell that day's figures (the last day's
// when the pointer is elsewhere); the arrow keys move the marker a record at a time. A click
// on a legend entry hides its line or shows it again,
// and the value axis fits the lines shown.
//
// It reads the history it is given and changes nothing; it is made once and shown as often as
// asked, keeping the view and the lines chosen.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/history_chart.h"
#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"
#include "sim/colony_history.h"

namespace dialogs {

inline constexpr std::string_view kHistoryCaption = "Colony History";
inline constexpr std::string_view kNoHistoryText =
    "No history yet: the colony's figures are written down at the end of every day.";

class THistoryDlg final : public TModalDialog {
 public:
  explicit THistoryDlg(FormHost& host);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  // Shows the history until "&Close" (1) or the close box (2). The history must outlive the
  // showing.
  int Show(const sim::ColonyHistory& history);

  void Command(std::int32_t code) override;

  HistoryView view() const { return view_; }
  void SetView(HistoryView view);
  bool SeriesShown(std::size_t series) const { return !hidden_[series]; }
  void ToggleSeries(std::size_t series);

  // What the showing charts, oldest first, and the one under the pointer.
  const std::vector<sim::HistoryRecord>& Records() const { return records_; }
  std::optional<std::size_t> Hovered() const { return hovered_; }
  // The date above the charts and a legend entry as written: of the day under the pointer, or
  // of the last day; empty without records.
  std::string DateLine() const;
  std::string LegendText(std::size_t series) const;

  // The pointer at a point of the client area (client pixels), as the form passes it on.
  void PointAt(std::int32_t x, std::int32_t y);
  void ClickAt(std::int32_t x, std::int32_t y);

  // Where things lie, in client pixels.
  gfx::IntRect PlotRect(int chart) const;
  gfx::IntRect LegendRow(std::size_t series) const;

  TSButton& lastDaysButton() { return lastDays_; }
  TSButton& wholeLifeButton() { return wholeLife_; }
  TSButton& closeButton() { return close_; }

 protected:
  void PrepareContents() override;
  void DrawContents() override;
  void FormShow() override;
  void FormKeyDown(std::uint16_t key, platform::ShiftState shift) override;
  void LayOut() override;

 private:
  // The control under the rest, covering the client area: it hands the pointer to the dialog.
  class PointerArea final : public FormControl {
   public:
    explicit PointerArea(THistoryDlg& dialog) : FormControl(dialog), dialog_(dialog) {}
    std::string_view ClassName() const override { return "THistoryPointer"; }
    std::string_view BaseClassName() const override { return "TGraphicControl"; }
    void MouseMove(platform::ShiftState, std::int32_t x, std::int32_t y) override {
      dialog_.PointAt(x + bounds.left, y + bounds.top);
    }
    void MouseDown(platform::MouseButton, platform::ShiftState, std::int32_t x,
                   std::int32_t y) override {
      downAt_ = {x + bounds.left, y + bounds.top};
    }
    void Click() override { dialog_.ClickAt(downAt_.x, downAt_.y); }

   private:
    THistoryDlg& dialog_;
    platform::Point downAt_;
  };

  // A chart's scales: the value axis and the days across.
  struct Scale {
    ValueAxis axis;
    std::int64_t firstDay = 0;
    std::int64_t lastDay = 0;
  };
  Scale ScaleOf(int chart) const;
  std::int32_t XOf(const gfx::IntRect& plot, const Scale& scale, std::int64_t day) const;
  std::int32_t YOf(const gfx::IntRect& plot, const Scale& scale, double value) const;
  gfx::IntRect Pixels(const gfx::FracRect& r) const;
  std::int32_t LineThickness() const;
  void DrawChart(int chart);
  // The parts that follow the pointer: the marker, the legend and the date.
  void DrawPointerParts();
  void ShowPointerParts();
  void Redraw();

  PointerArea pointer_;
  TSButton lastDays_;
  TSButton wholeLife_;
  TSButton close_;
  const sim::ColonyHistory* history_ = nullptr;
  HistoryView view_ = HistoryView::kLastDays;
  std::array<bool, kHistorySeries.size()> hidden_{};
  std::vector<sim::HistoryRecord> records_;
  std::optional<std::size_t> hovered_;
  // The surface as drawn without the parts that follow the pointer.
  std::unique_ptr<gfx::MemVideo> plain_;
};

}  // namespace dialogs
