#include "dialogs/file_dialog.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "dialogs/message_dialog.h"
#include "gfx/text.h"
#include "sim/save_file.h"

namespace dialogs {

namespace {

constexpr std::int32_t kAcceptCode = 10;

}  // namespace

std::string AutosaveName(int slot) {
  return "autosave-" + std::to_string(slot);
}

bool IsAutosaveName(std::string_view name) {
  for (int slot = 1; slot <= kAutosaveSlots; ++slot)
    if (name == AutosaveName(slot)) return true;
  return false;
}

std::vector<std::string> ListSavedGames(const std::filesystem::path& folder,
                                        std::string_view extension) {
  std::vector<std::string> names;
  std::vector<std::pair<std::filesystem::file_time_type, std::string>> autosaves;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return names;
  for (const auto end = std::filesystem::directory_iterator(); it != end; it.increment(error)) {
    if (error) break;
    if (!it->is_regular_file(error)) continue;
    const std::filesystem::path file = it->path().filename();
    const std::string suffix = file.extension().string();
    if (suffix.size() < 2 || std::string_view(suffix).substr(1) != extension) continue;
    const std::string stem = file.stem().string();
    if (stem.empty() || stem.front() == '.') continue;
    if (IsAutosaveName(stem)) {
      autosaves.emplace_back(it->last_write_time(error), stem);
      if (!error) continue;
      error.clear();  // gone while listed: still listed, as the oldest
      autosaves.back().first = std::filesystem::file_time_type::min();
      continue;
    }
    names.push_back(stem);
  }
  std::sort(names.begin(), names.end());
  std::sort(autosaves.begin(), autosaves.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  std::vector<std::string> listed;
  listed.reserve(autosaves.size() + names.size());
  for (auto& autosave : autosaves) listed.push_back(std::move(autosave.second));
  for (auto& name : names) listed.push_back(std::move(name));
  return listed;
}

std::string RefusedSaveName(std::string_view name) {
  if (name.empty()) return "A saved game needs a name.";
  if (name.size() > kLongestSaveName)
    return "The name is too long: a saved game's name may have at most 200 bytes.";
  if (name.front() == '.') return "A saved game's name may not begin with a dot.";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\')
      return "A saved game's name may not contain / or \\: it names a file in the SAVES folder.";
    if (byte < 0x20 || byte == 0x7F)
      return "A saved game's name may not contain control characters.";
  }
  return {};
}

TFileDlg::TFileDlg(FormHost& host) : TModalDialog(host) {
  background = host.Pictures().dlgBackground.get();
  SetArea(gfx::FracRect::FromSize(0.39f, 0.2f, 0.22f, 0.4f));
  const PictureSlot strip = &host.Pictures().dlgButtons;
  action_ = std::make_unique<TSButton>(*this);
  action_->cursor = platform::kCursorHand;
  action_->Setup(gfx::FracRect::FromSize(0.025f, 0.35f, 0.078f, 0.03f), strip, 0, kAcceptCode,
                 "&Load");
  cancel_ = std::make_unique<TSButton>(*this);
  cancel_->cursor = platform::kCursorHand;
  cancel_->Setup(gfx::FracRect::FromSize(0.117f, 0.35f, 0.078f, 0.03f), strip, 0, kModalCancel,
                 "&Cancel");
  list_ = std::make_unique<TListBox>(*this);
  list_->onClick = [this] {
    if (list_->ItemIndex() < 0) return;
    const std::string& fileName = list_->Items()[static_cast<std::size_t>(list_->ItemIndex())];
    name_->SetText(fileName);
    choice_.Pick(fileName, name_->Text());
  };
  list_->onDblClick = [this] { Accept(); };
  name_ = std::make_unique<TEdit>(*this);
  name_->onKeyDown = [this](std::uint16_t key, platform::ShiftState shift) {
    // A held Enter accepts once: its repetitions would answer the questions Accept asks.
    if (key == platform::vk::kReturn && (shift & platform::kAutoRepeat) == 0) Accept();
  };
  PlaceFields();
}

void TFileDlg::LayOut() {
  TModalDialog::LayOut();
  PlaceFields();
}

void TFileDlg::PlaceFields() {
  const gfx::AppVideo screen = host().ScreenSize();
  list_->bounds = gfx::FracToPixels(gfx::FracRect::FromSize(0.025f, 0.09f, 0.17f, 0.24f), screen);
  list_->font = font();
  name_->bounds = gfx::FracToPixels(gfx::FracRect::FromSize(0.025f, 0.04f, 0.17f, 0.024f), screen);
  name_->font = font();
}

void TFileDlg::Prepare(std::int32_t fileMode, std::string_view saveFolder,
                       std::string_view fileExtension, float centreX, float centreY) {
  MoveTo(centreX - area.Width() * 0.5f, centreY - area.Height() * 0.5f);
  mode = fileMode;
  folder = std::string(saveFolder);
  extension = std::string(fileExtension);
}

std::optional<std::string> TFileDlg::ChooseSavedGame(std::int32_t fileMode) {
  Prepare(fileMode, kSavesFolder, kSavedGameExtension, 0.5f, 0.5f);
  sim::RemoveStaleSaveTemporaries(host().StartDirectory() + folder, extension);
  if (ShowModal() != kModalOk) return std::nullopt;
  return path;
}

void TFileDlg::PrepareContents() {
  FocusControl(action_.get());
  name_->SetText("");
  choice_.Forget();
  const bool saving = mode == kFileModeSave;
  action_->caption = saving ? "&Save" : "&Load";
  SetCaption(saving ? "Save Game" : "Load Game");
  action_->ReadHotKey();
  list_->Clear();
  for (const std::string& name :
       ListSavedGames(std::filesystem::path(host().StartDirectory() + folder), extension))
    list_->Add(name);
}

void TFileDlg::DrawContents() {
  if (!surface) return;
  const gfx::AppVideo screen = host().ScreenSize();
  gfx::Font* f = font();
  gfx::DrawTextAt(*surface, "Name:", f, gfx::kTextAlignLeft, 0.025f, 0.02f, screen);
  gfx::DrawTextAt(*surface, "Files:", f, gfx::kTextAlignLeft, 0.025f, 0.07f, screen);
}

void TFileDlg::Command(std::int32_t code) {
  if (code == kAcceptCode) Accept();
}

void TFileDlg::Accept() {
  const std::string name = choice_.NameFor(name_->Text());
  if (name.empty()) return;
  // A picked name is a file already in the folder, whatever its bytes.
  if (const std::string refused = RefusedSaveName(name);
      !choice_.IsPicked(name_->Text()) && !refused.empty()) {
    ShowMessageDialog(host(), "Error", refused, kButtonsOk, kIconNotice);
    return;
  }
  path = host().StartDirectory() + folder + name + "." + extension;
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  if (mode == kFileModeSave) {
    if (IsAutosaveName(name)) {
      ShowMessageDialog(host(), "Error",
                        "The names autosave-1 to autosave-3 belong to the game's autosaves, which "
                        "it replaces in turn. Please choose another name.",
                        kButtonsOk, kIconNotice);
      return;
    }
    if (exists &&
        ShowMessageDialog(host(), "Warning", "File already exist. Do you want to replace it?",
                          kButtonsYesNo, kIconQuestion) != kResultYes)
      return;
    ModalResult = kModalOk;
    return;
  }
  if (exists) {
    ModalResult = kModalOk;
    return;
  }
  ShowMessageDialog(host(), "Error",
                    "The file " + path +
                        " does exist or cannot be read. Please check the file name and access "
                        "privileges.",
                    kButtonsOk, kIconNotice);
}

}  // namespace dialogs
