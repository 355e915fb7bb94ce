#include "screens/palette_panel.h"

#include <algorithm>
#include <string>

#include "gfx/draw.h"
#include "gfx/text.h"
#include "screens/game_layout.h"
#include "screens/info_pages.h"
#include "screens/tool_button_maker.h"

namespace screens {

namespace {

constexpr std::uint32_t kCentredLine =
    gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
constexpr gfx::Color kTextShadow = gfx::Rgb(16, 12, 8);

}  // namespace

void PaletteItemButton::Draw() {
  TWMenuButton::Draw();
  if (enabled != 0 || visible == 0 || host() == nullptr || host()->Target() == nullptr) return;
  gfx::MemVideo& target = *host()->Target();
  // Two lines close around the middle of the picture.
  const std::int32_t middle = pixelRect.top + pixelRect.Height() / 2;
  const std::int32_t line = font != nullptr ? font->lineHeight() : pixelRect.Height() / 2;
  const gfx::IntRect upper{pixelRect.left, middle - line, pixelRect.right, middle};
  const gfx::IntRect lower{pixelRect.left, middle, pixelRect.right, middle + line};
  for (const auto& [place, word] : {std::pair{upper, "Insufficient"}, std::pair{lower, "people"}}) {
    // A dark shadow keeps the white words readable on any picture.
    gfx::DrawTextInRect(target, place.Offset(1, 1), word, kCentredLine, kTextShadow, font);
    gfx::DrawTextInRect(target, place, word, kCentredLine, gfx::kWhite, font);
  }
}

TPanelControl::TPanelControl(widgets::TWControl* screen, const GamePictures& pictures,
                             const sim::Colony& colony, const Shell& shell)
    : TWPanel(screen), pictures_(pictures), colony_(colony) {
  SetRect(kPalettePanelRect);
  const gfx::AppVideo size = host() != nullptr ? host()->ScreenSize() : gfx::AppVideo{};
  panelFont_ = MakeFont(size, kPalettePanelFont, gfx::kWhite);
  font = panelFont_.get();

  const ToolButtonLookSlots tabLook{&pictures.tabFaces, &pictures.tabIcons};
  for (int i = 0; i < sim::kCategoryCount; ++i) {
    widgets::TWToolButton* tab = MakeToolButton(
        this, CategoryTabRect(i), tabLook, i, sim::CategoryHints[static_cast<std::size_t>(i)],
        sim::kCommandFirstCategory + i, shell.ClickSound(1));
    tab->SetToggleMode(1, kCategoryGroup, i == 0 ? 1 : 0);
    tabs[static_cast<std::size_t>(i)] = tab;
  }
  earthCommButton = MakeToolButton(this, kEarthCommRect, tabLook, kEarthCommIcon, kEarthCommHint,
                                   sim::kCommandEarthComm, shell.ClickSound(1));
  earthCommButton->enabled = 0;

  for (int i = 0; i < sim::kItemsPerCategory; ++i) {
    auto* item = widgets::MakeChild<PaletteItemButton>(this);
    item->Setup(ItemButtonRect(i), &pictures.categoryPictures[0], "", platform::kCursorHand,
                sim::kCommandFirstItem + i);
    item->cellIndex = i;
    item->clickSound = shell.ClickSound(2);
    item->SetToggleMode(1, kItemGroup, i == 0 ? 1 : 0);
    items[static_cast<std::size_t>(i)] = item;
  }
  deleteButton = widgets::MakeChild<widgets::TWSpeedButton>(this);
  deleteButton->Setup(kDeleteBuildingRect, &pictures.deleteBuilding, "", platform::kCursorHand,
                      sim::kCommandDelete);
  deleteButton->hint = std::string(kDeleteBuildingHint);
  deleteButton->Hide();

  infoAreaPixels = gfx::FracToPixels(kInfoArea.Moved(rect.left, rect.top), size);
}

void TPanelControl::Relayout() {
  const gfx::AppVideo size = host() != nullptr ? host()->ScreenSize() : gfx::AppVideo{};
  std::unique_ptr<gfx::Font> oldFont = std::move(panelFont_);
  panelFont_ = MakeFont(size, kPalettePanelFont, gfx::kWhite);
  TWPanel::Relayout();
  widgets::ReplaceFont(*this, oldFont.get(), panelFont_.get());
  infoAreaPixels = gfx::FracToPixels(kInfoArea.Moved(rect.left, rect.top), size);
}

void TPanelControl::Draw() {
  background = widgets::PictureIn(&pictures_.palettePanelBackground);
  DrawBackground();
  DrawInfoArea(false);
  if (map_ != nullptr) map_->ShowMiniMap(false);
}

void TPanelControl::DrawInfoArea(bool present) {
  gfx::MemVideo* target = host() != nullptr ? host()->Target() : nullptr;
  if (target == nullptr) return;
  gfx::FillRect(*target, infoAreaPixels, kInfoAreaFill);
  const sim::ColonyState& state = colony_.State();
  if (state.category >= sim::kFirstBuildingCategory) {
    ConfigureDeleteButton(false);
    ConfigurePalette();
  } else {
    for (PaletteItemButton* item : items) item->Hide();
    const InfoPageCanvas canvas{*target, host()->ScreenSize(), kInfoArea.Moved(rect.left, rect.top),
                                pictures_, font};
    if (state.category == 0) {
      ConfigureDeleteButton(false);
      DrawStatusPage(canvas, state);
    } else {
      const world::Land& land = colony_.Map();
      const world::MapCell* cell =
          land.HasSelection() ? land.CellAt(land.selectedX, land.selectedY) : nullptr;
      DrawInformationPage(canvas, cell);
      ConfigureDeleteButton(cell != nullptr && cell->type != world::kTypeBareLand &&
                            cell->type != world::kTypeLandingModule);
    }
  }
  if (!present) return;
  for (PaletteItemButton* item : items)
    if (item->visible == 1) item->Draw();
  if (deleteButton->visible == 1) deleteButton->Draw();
  host()->Present(infoAreaPixels);
}

void TPanelControl::ConfigurePalette() {
  const sim::ColonyState& state = colony_.State();
  const std::int32_t category = std::min(state.category, sim::kCategoryCount - 1);
  const std::int32_t selected = std::clamp(
      state.categoryItem[static_cast<std::size_t>(category - sim::kFirstBuildingCategory)], 0,
      sim::kItemsPerCategory - 1);
  for (int i = 0; i < sim::kItemsPerCategory; ++i) {
    PaletteItemButton* item = items[static_cast<std::size_t>(i)];
    const sim::StructureType type = sim::PaletteType(category, i);
    item->picture = &pictures_.categoryPictures[static_cast<std::size_t>(category)];
    item->hint = std::string(sim::NameOf(type));
    const auto slot = static_cast<std::size_t>(sim::PaletteSlotIndex(category, i));
    if (colony_.PaletteSlots()[slot] != 1) {
      item->Hide();
      continue;
    }
    item->Show();
    item->down = i == selected ? 1 : 0;
    if (state.unemployed < sim::SpecOf(type).builders) item->enabled = 0;
  }
}

void TPanelControl::ConfigureDeleteButton(bool shown) {
  if (!shown) {
    deleteButton->Hide();
  } else if (deleteButton->visible == 0) {
    deleteButton->Show();
  }
}

void TPanelControl::ShowCategoryPressed(std::int32_t category) {
  if (category < 0 || category >= sim::kCategoryCount) return;
  widgets::TWToolButton* tab = tabs[static_cast<std::size_t>(category)];
  if (tab->down == 1) return;
  tab->down = 1;
  widgets::ReleaseGroup(*this, kCategoryGroup, tab);
  tab->Redraw();
}

void TPanelControl::FollowEarthContact() {
  const std::uint8_t wanted = colony_.EarthCommEnabled() ? 1 : 0;
  if (earthCommButton->enabled == wanted) return;
  if (wanted == 1) {
    earthCommButton->Show();
  } else {
    earthCommButton->enabled = 0;
  }
  earthCommButton->Redraw();
}

}  // namespace screens
