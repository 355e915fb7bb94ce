#include "screens/tool_panel.h"

#include <algorithm>
#include <string>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/game_layout.h"
#include "screens/gauges.h"
#include "screens/info_box_art.h"
#include "screens/panel_text.h"
#include "screens/tool_button_maker.h"
#include "sim/structure_catalogue.h"

namespace screens {

namespace {

// A place of a picture painted art-size, as pixels of the box the picture is stretched over.
gfx::IntRect ArtPlace(const gfx::IntRect& box, const art::ArtRect& place, std::int32_t artWidth,
                      std::int32_t artHeight) {
  const auto scale = [](std::int32_t v, std::int32_t extent, std::int32_t artExtent) {
    return gfx::ScaleInt(v, extent, artExtent);
  };
  return {box.left + scale(place.left, box.Width(), artWidth),
          box.top + scale(place.top, box.Height(), artHeight),
          box.left + scale(place.right, box.Width(), artWidth),
          box.top + scale(place.bottom, box.Height(), artHeight)};
}

constexpr std::uint32_t kCentredLine =
    gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_NOCLIP;

}  // namespace

TPanelTBI::TPanelTBI(widgets::TWControl* screen, const GamePictures& pictures,
                     const sim::ColonyState& colony, const Shell& shell)
    : TWPanel(screen), pictures_(pictures), colony_(colony) {
  SetRect(kToolPanelRect);
  LayOutBoxes();

  for (std::size_t i = 0; i < kToolbar.size(); ++i) {
    const ToolButtonRow& row = kToolbar[i];
    widgets::TWToolButton* button = MakeToolButton(
        this,
        gfx::FracRect::FromSize(row.left, kToolButtonTop, kToolButtonWidth, kToolButtonHeight),
        {&pictures.toolButtonFaces, &pictures.toolButtonIcons}, static_cast<std::int32_t>(i),
        row.hint, row.command, shell.ClickSound(1));
    if (row.timeToggle) button->SetToggleMode(1, kTimeGroup, i == TimeButtonRow(sim::kPaused));
    buttons[i] = button;
  }
}

void TPanelTBI::LayOutBoxes() {
  const gfx::AppVideo size = host() != nullptr ? host()->ScreenSize() : gfx::AppVideo{};
  panelFont_ = MakeFont(size, kToolPanelFont, gfx::kWhite);
  calendarFont_ = MakeFont(size, kCalendarSmallFont, gfx::kBlack);
  dayFont_ = MakeFont(size, kCalendarLargeFont, gfx::kBlack);
  font = panelFont_.get();
  DateBox = gfx::FracToPixels(kDateBoxRect, size).Offset(pixelRect.left, pixelRect.top);
  CounterBox = gfx::FracToPixels(kCounterBoxRect, size).Offset(pixelRect.left, pixelRect.top);
}

void TPanelTBI::Relayout() {
  // The buttons share the panel's font; the old one goes once they point at the new one.
  std::unique_ptr<gfx::Font> oldFont = std::move(panelFont_);
  TWPanel::Relayout();
  LayOutBoxes();
  widgets::ReplaceFont(*this, oldFont.get(), panelFont_.get());
}

void TPanelTBI::Draw() {
  background = widgets::PictureIn(&pictures_.toolPanelBackground);
  DrawBackground();
  DrawCounterBox(false);
  DrawDateBox(false);
}

void TPanelTBI::DrawCounterBox(bool present) {
  gfx::MemVideo* target = host() != nullptr ? host()->Target() : nullptr;
  if (target == nullptr) return;
  const gfx::AppVideo screen = host()->ScreenSize();
  if (const gfx::WBitmap* art = widgets::PictureIn(&pictures_.counterBox)) {
    gfx::StretchImage(*target, CounterBox, *art, {0, 0, art->width, art->height}, true);
  }
  gfx::Font* numbers = panelFont_.get();
  const std::int32_t balances[4] = {colony_.water, colony_.food, colony_.power,
                                    colony_.freeHousing};
  const std::int32_t lineHeight = numbers != nullptr ? numbers->lineHeight() : 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const gfx::IntRect well =
        ArtPlace(CounterBox, art::kCounterWells[i], art::kCounterWidth, art::kCounterHeight);
    // The figure starts a little inside its well and stands in its middle.
    const std::int32_t x = well.left + (well.Height() + 2) / 4;
    const std::int32_t y = well.top + (well.Height() - lineHeight) / 2;
    DrawRatioFigure(*target, screen, numbers, balances[i],
                    static_cast<float>(x) / static_cast<float>(screen.width),
                    static_cast<float>(y) / static_cast<float>(screen.height));
  }
  const gfx::IntRect people =
      ArtPlace(CounterBox, art::kPopulationText, art::kCounterWidth, art::kCounterHeight);
  gfx::DrawTextInRect(*target, people,
                      WithPercent(colony_.population, colony_.unemployed, colony_.population),
                      kCentredLine, gfx::kWhite, numbers);
  const gfx::IntRect growth =
      ArtPlace(CounterBox, art::kGrowthText, art::kCounterWidth, art::kCounterHeight);
  const gfx::Color growthColor =
      colony_.growthRate > 0.0f ? gfx::Rgb(0x00, 0xFF, 0x00) : gfx::Rgb(0xFF, 0x00, 0x00);
  gfx::DrawTextInRect(*target, growth, GrowthRateText(colony_.growthRate), kCentredLine,
                      growthColor, numbers);
  if (present) host()->Present(CounterBox);
}

void TPanelTBI::DrawDateBox(bool present) {
  gfx::MemVideo* target = host() != nullptr ? host()->Target() : nullptr;
  if (target == nullptr) return;
  if (const gfx::WBitmap* art = widgets::PictureIn(&pictures_.calendarBox)) {
    gfx::StretchImage(*target, DateBox, *art, {0, 0, art->width, art->height}, true);
  }
  const auto place = [this](const art::ArtRect& r) {
    return ArtPlace(DateBox, r, art::kCalendarWidth, art::kCalendarHeight);
  };
  const std::int32_t month = std::clamp(colony_.month, 0, sim::kMonthCount - 1);
  gfx::DrawTextInRect(*target, place(art::kCalendarYear), std::to_string(colony_.year),
                      kCentredLine, gfx::kWhite, calendarFont_.get());
  gfx::DrawTextInRect(*target, place(art::kCalendarMonth),
                      sim::MonthNames[static_cast<std::size_t>(month)], kCentredLine, gfx::kBlack,
                      calendarFont_.get());
  gfx::DrawTextInRect(*target, place(art::kCalendarDay), std::to_string(colony_.day), kCentredLine,
                      gfx::kBlack, dayFont_.get());
  if (present) host()->Present(DateBox);
}

}  // namespace screens
