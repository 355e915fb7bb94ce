// TEarthComm: Earth's report on the colony, opened by the game screen's "Earth Comm" button
// once a Comm. Center stands. It shows the citizens' complaints (one letter), nine one-line
// assessments, the verdict and the score, all worked out afresh from the colony at every
// showing, and a small picture of Earth that flickers through its frames while it is open.
//
// The game screen makes one when it loads its pictures and keeps it until it releases them;
// the dialog holds the screen's picture slots, its land, its colony state and the program's
// random generator, so it must go before any of them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/form_host.h"
#include "dialogs/modal_dialog.h"
#include "dialogs/scaled_controls.h"
#include "gfx/geometry.h"
#include "gfx/text.h"
#include "gfx/wbitmap.h"
#include "sim/colony_state.h"
#include "sim/earth_report.h"
#include "world/land.h"
#include "world/random.h"

namespace dialogs {

// The dialog on the screen and the picture of Earth inside it, in fractions of the screen.
inline constexpr gfx::FracRect kEarthCommArea =
    gfx::FracRect::FromSize((1.0f - 0.36f) * 0.5f, (1.0f - 0.46f) * 0.5f, 0.36f, 0.46f);
inline constexpr gfx::FracRect kEarthAnimationArea =
    gfx::FracRect::FromSize(0.008f, 0.013f, 0.101f, 0.147f);
inline constexpr std::string_view kEarthCommCaption = "Earth Communication";
inline constexpr std::int32_t kEarthAnimationFrames = 4;
// The picture of Earth changes every 100 ms, counted in the shell's ticks.
inline constexpr std::uint32_t kEarthAnimationInterval = 100;

// One text of the report: a line whose top is at y and which starts at x (left-aligned) or is
// centred on it, or the letter, wrapped into its box from the box's top.
struct ReportText {
  std::string text;
  int alignment = gfx::kTextAlignLeft;
  float x = 0.0f;
  float y = 0.0f;
  std::optional<gfx::FracRect> box;
};

// The texts of a report, in the order they are written: the complaints' title, the letter,
// "EARTH REPORT:", the nine assessment lines and the verdict with the score.
std::vector<ReportText> LayOutEarthReport(const sim::EarthReport& report, std::string_view letter);

class TEarthComm final : public TModalDialog {
 public:
  using PictureRef = const std::unique_ptr<gfx::WBitmap>&;

  TEarthComm(FormHost& host, PictureRef background, PictureRef animation, const world::Land& land,
             sim::ColonyState& colony, world::Random& random);
  std::string_view BaseClassName() const override { return "TModalDialog"; }

  // The "Earth Comm" command: shows the report modally with Earth turning, and returns how
  // it ended: 1 by "&Close", 2 by the close box.
  int Show() { return ShowModal(); }

  // The report from the colony as it is now; takes one draw for the letter when there are
  // complaints. It fills the colony's complaint counters.
  void PrepareContents() override;
  void DrawContents() override;
  // Counts the shell's ticks into animation steps while the dialog is open.
  void TimerTick() override;

  // What the last showing wrote, and the figures it wrote them from.
  const std::vector<ReportText>& Texts() const { return texts_; }
  const sim::EarthReport& Report() const { return report_; }
  // The frame of Earth shown last, 0..3, and whether it is moving now.
  std::int32_t Phase() const { return phase_; }
  bool Animating() const { return Showing(); }
  // Where the picture of Earth is drawn, in the dialog's client pixels.
  gfx::IntRect AnimationRect() const;
  TSButton& CloseButton() { return closeButton_; }

 protected:
  void FormShow() override;

 private:
  void AnimationStep();

  PictureSlot backgroundSlot_;
  PictureSlot animationSlot_;
  const world::Land& land_;
  sim::ColonyState& colony_;
  world::Random& random_;
  TSButton closeButton_;
  sim::EarthReport report_;
  std::vector<ReportText> texts_;
  std::int32_t phase_ = 0;
  std::uint32_t elapsed_ = 0;  // ms since the last animation step
};

}  // namespace dialogs
