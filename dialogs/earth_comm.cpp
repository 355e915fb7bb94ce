#include "dialogs/earth_comm.h"

#include <algorithm>

#include "gfx/draw.h"

namespace dialogs {

namespace {

// Where the report writes, in fractions of the screen inside the dialog.
constexpr std::string_view kComplaintsTitle = "PELL' CITIZENS: Complaints.";
constexpr float kComplaintsTitleX = 0.24f;
constexpr float kComplaintsTitleY = 0.02f;
// Right of the picture of Earth and below the title.
constexpr gfx::FracRect kLetterBox{0.13f, 0.05f, 0.35f, 0.16f};
constexpr std::string_view kReportHeading = "EARTH REPORT:";
constexpr float kReportHeadingX = 0.18f;
constexpr float kReportHeadingY = 0.185f;
constexpr float kAssessmentX = 0.026f;
constexpr float kAssessmentTop = 0.21f;
constexpr float kAssessmentStep = 0.018f;
constexpr std::string_view kScoreJoint = " - Your SCORE: ";
constexpr float kVerdictX = 0.18f;
constexpr float kVerdictY = 0.382f;

constexpr float kCloseWidth = 0.076f;
constexpr float kCloseHeight = 0.03f;
constexpr float kCloseTop = 0.42f;

}  // namespace

std::vector<ReportText> LayOutEarthReport(const sim::EarthReport& report, std::string_view letter) {
  std::vector<ReportText> texts;
  const auto line = [&](std::string text, int alignment, float x, float y) {
    texts.push_back({std::move(text), alignment, x, y, std::nullopt});
  };
  line(std::string(kComplaintsTitle), gfx::kTextAlignCenter, kComplaintsTitleX, kComplaintsTitleY);
  texts.push_back(
      {std::string(letter), gfx::kTextAlignLeft, kLetterBox.left, kLetterBox.top, kLetterBox});
  line(std::string(kReportHeading), gfx::kTextAlignCenter, kReportHeadingX, kReportHeadingY);
  for (std::int32_t i = 0; i < sim::kAssessmentLines; ++i) {
    const std::int32_t level = std::clamp(report.levels[i], 0, sim::kAssessmentLevels - 1);
    line(std::string(sim::AssessmentTexts[i][level]), gfx::kTextAlignLeft, kAssessmentX,
         kAssessmentTop + kAssessmentStep * static_cast<float>(i));
  }
  const std::int32_t verdict = std::clamp(report.verdict, 0, sim::kVerdictCount - 1);
  line(std::string(sim::VerdictTexts[verdict]) + std::string(kScoreJoint) +
           std::to_string(report.score),
       gfx::kTextAlignCenter, kVerdictX, kVerdictY);
  return texts;
}

TEarthComm::TEarthComm(FormHost& host, PictureRef backgroundPicture, PictureRef animation,
                       const world::Land& land, sim::ColonyState& colony, world::Random& random)
    : TModalDialog(host),
      backgroundSlot_(&backgroundPicture),
      animationSlot_(&animation),
      land_(land),
      colony_(colony),
      random_(random),
      closeButton_(*this) {
  background = backgroundPicture.get();
  SetCaption(kEarthCommCaption);
  SetArea(kEarthCommArea);
  closeButton_.cursor = platform::kCursorHand;
  closeButton_.Setup(gfx::FracRect::FromSize((kEarthCommArea.Width() - kCloseWidth) * 0.5f,
                                             kCloseTop, kCloseWidth, kCloseHeight),
                     &host.Pictures().dlgButtons, 0, kModalOk, "&Close");
}

gfx::IntRect TEarthComm::AnimationRect() const {
  return gfx::FracToPixels(kEarthAnimationArea, host().ScreenSize());
}

void TEarthComm::FormShow() {
  // The screen may have loaded its pictures again since the dialog was made; the slot holds
  // the one there is now.
  background = backgroundSlot_->get();
  elapsed_ = 0;
  TModalDialog::FormShow();
}

void TEarthComm::PrepareContents() {
  report_ = sim::ComputeEarthReport(land_, colony_);
  const std::string_view letter =
      report_.complaintCount > 0
          ? sim::ChooseComplaintLetter(colony_, random_.Below(sim::kComplaintLetters))
          : sim::kNoComplaintText;
  texts_ = LayOutEarthReport(report_, letter);
}

void TEarthComm::DrawContents() {
  if (!surface) return;
  const gfx::AppVideo screen = host().ScreenSize();
  for (const ReportText& t : texts_) {
    if (t.box) {
      gfx::DrawTextInRect(*surface, gfx::FracToPixels(*t.box, screen), t.text,
                          gfx::DT_WORDBREAK | gfx::DT_LEFT | gfx::DT_NOPREFIX, gfx::kBlack, font());
    } else {
      gfx::DrawTextAt(*surface, t.text, font(), t.alignment, t.x, t.y, screen);
    }
  }
}

void TEarthComm::TimerTick() {
  if (!Showing()) return;
  elapsed_ += kFormTickInterval;
  if (elapsed_ < kEarthAnimationInterval) return;
  // One step per tick at most: a late tick does not catch up on the steps it missed.
  elapsed_ %= kEarthAnimationInterval;
  AnimationStep();
}

void TEarthComm::AnimationStep() {
  phase_ = std::clamp(phase_ + random_.Below(3) - 1, 0, kEarthAnimationFrames - 1);
  const gfx::WBitmap* frames = animationSlot_->get();
  if (!surface || frames == nullptr || !frames->present()) return;
  const gfx::IntRect source = gfx::FrameSourceRect(*frames, phase_);
  if (source.IsEmpty()) return;
  const gfx::IntRect rect = AnimationRect();
  gfx::StretchImage(*surface, rect, *frames, source, true);
  ShowClient(rect);
}

}  // namespace dialogs
