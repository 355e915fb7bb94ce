#include "platform/headless_platform.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>

#include "gfx/draw.h"
#include "platform/os_version.h"

namespace platform {

bool RecordingAudio::PlayWave(std::span<const std::uint8_t> waveFile) {
  Stop();
  played.emplace_back(waveFile.begin(), waveFile.end());
  playedVolumes.push_back(volume());
  playing = played.back();
  return !waveFile.empty();
}

HeadlessPlatform::HeadlessPlatform(gfx::AppVideo screen)
    : screen_(screen),
      client_(screen),
      window_(std::make_unique<gfx::MemVideo>(screen.width, screen.height)) {}

bool HeadlessPlatform::OpenMainWindow(const std::string& /*title*/, WindowEvents& events) {
  main_ = &events;
  inputStack_ = {&events};
  return true;
}

template <typename Handler>
void HeadlessPlatform::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowMessageBox("Redhollow", error.what(), MessageBoxButtons::Ok);
  } catch (...) {
    ShowMessageBox("Redhollow", "An unexpected error occurred.", MessageBoxButtons::Ok);
  }
}

void HeadlessPlatform::Present(const gfx::MemVideo& source, const gfx::IntRect& srcRect,
                               std::int32_t x, std::int32_t y) {
  const std::optional<gfx::CopySpan> span = gfx::ClipCopySpan(
      source.width(), source.height(), srcRect, window_->width(), window_->height(), x, y);
  if (!span) return;
  presentedRects.push_back(
      gfx::IntRect::FromSize(span->dstX, span->dstY, span->width, span->height));
  gfx::CopyRect(source, gfx::IntRect::FromSize(span->srcX, span->srcY, span->width, span->height),
                *window_, span->dstX, span->dstY);
}

void HeadlessPlatform::SetTimerInterval(std::uint32_t ms) {
  timerInterval_ = ms;
  nextTick_ = now_ + ms;
}

void HeadlessPlatform::AdvanceTime(std::uint32_t ms) {
  now_ += ms;
  if (timerInterval_ == 0 || main_ == nullptr || terminated_ || now_ < nextTick_) return;
  nextTick_ = now_ + timerInterval_;
  if (visibility_.BackByItsFlags(now_, windowState.minimised || windowState.hidden,
                                 windowState.focused))
    Guarded([&] { main_->OnRestored(); });
  Guarded([&] { main_->OnTimer(); });
}

void HeadlessPlatform::Tick(int count) {
  for (int i = 0; i < count && !terminated_; ++i) {
    const std::uint64_t due = timerInterval_ == 0 ? now_ + 40 : nextTick_;
    AdvanceTime(static_cast<std::uint32_t>(due > now_ ? due - now_ : 0));
  }
}

void HeadlessPlatform::RunMessageLoop() {
  // Nothing waits for a person here: a program that runs its loop headless is driven
  // entirely by what the caller already injected, so the loop returns at once.
}

void HeadlessPlatform::RunModalLoop(WindowEvents& modal, const std::function<bool()>& finished) {
  inputStack_.push_back(&modal);
  const std::uint64_t giveUpAt = now_ + modalTimeoutMs;
  while (!terminated_ && !finished() && now_ < giveUpAt) {
    if (onModalIdle) onModalIdle(*this);
    if (terminated_ || finished()) break;
    Tick();
  }
  inputStack_.pop_back();
}

std::string HeadlessPlatform::CurrentDirectory() const {
  return ReadCurrentDirectory();
}

int HeadlessPlatform::ShowMessageBox(const std::string& title, const std::string& text,
                                     MessageBoxButtons buttons) {
  messageBoxes.push_back({title, text, buttons});
  if (!messageBoxAnswers.empty()) {
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
  }
  return buttons == MessageBoxButtons::YesNo ? kResultNo : kResultOk;
}

bool HeadlessPlatform::OpenUrl(const std::string& url) {
  openedUrls.push_back(url);
  return urlOpenerWorks;
}

void HeadlessPlatform::MoveMouse(std::int32_t x, std::int32_t y, ShiftState keys) {
  if (WindowEvents* target = inputTarget()) Guarded([&] { input_.Motion(*target, x, y, keys); });
}

void HeadlessPlatform::PressButton(MouseButton button, std::int32_t x, std::int32_t y,
                                   ShiftState keys, bool doubleClick) {
  if (WindowEvents* target = inputTarget())
    Guarded([&] { input_.ButtonDown(*target, button, x, y, keys, doubleClick); });
}

void HeadlessPlatform::ReleaseButton(MouseButton button, std::int32_t x, std::int32_t y,
                                     ShiftState keys) {
  const bool inside = x >= 0 && y >= 0 && x < client_.width && y < client_.height;
  if (WindowEvents* target = inputTarget())
    Guarded([&] { input_.ButtonUp(*target, button, x, y, keys, inside); });
}

void HeadlessPlatform::Click(std::int32_t x, std::int32_t y) {
  MoveMouse(x, y);
  PressButton(MouseButton::Left, x, y);
  ReleaseButton(MouseButton::Left, x, y);
}

void HeadlessPlatform::TurnWheel(std::int32_t steps, std::int32_t x, std::int32_t y,
                                 ShiftState keys) {
  MoveMouse(x, y, keys);
  if (WindowEvents* target = inputTarget())
    Guarded([&] { target->OnMouseWheel(steps, keys | input_.heldButtons(), x, y); });
}

void HeadlessPlatform::PressKey(std::uint16_t key, ShiftState modifiers) {
  WindowEvents* target = inputTarget();
  if (target == nullptr) return;
  if (IsCloseChord(key, modifiers)) {
    RequestClose();
    return;
  }
  Guarded([&] { target->OnKeyDown(key, modifiers); });
}

void HeadlessPlatform::TypeText(std::string_view utf8) {
  if (WindowEvents* target = inputTarget()) Guarded([&] { target->OnTextInput(utf8); });
}

void HeadlessPlatform::RequestClose() {
  WindowEvents* target = inputTarget();
  if (target == nullptr) return;
  bool close = false;
  Guarded([&] { close = target->OnCloseQuery(); });
  if (close && target == main_) terminated_ = true;
}

void HeadlessPlatform::Minimize() {
  ++minimizeCount;
  visibility_.MinimiseAsked(now_);
}

void HeadlessPlatform::CameBack() {
  if (visibility_.CameBack() && main_ != nullptr) Guarded([&] { main_->OnRestored(); });
}

void HeadlessPlatform::Activate() {
  windowState.focused = true;
  windowState.hidden = false;
  if (main_ != nullptr) Guarded([&] { main_->OnActivate(); });
  CameBack();
}

void HeadlessPlatform::Restore() {
  windowState.minimised = false;
  windowState.hidden = false;
  visibility_.CameBack();
  if (main_ != nullptr) Guarded([&] { main_->OnRestored(); });
}

void HeadlessPlatform::LoseFocus() {
  windowState.focused = false;
  if (WindowEvents* target = inputTarget()) Guarded([&] { input_.ReleaseAll(*target); });
}

void HeadlessPlatform::MinimiseByWindowSystem() {
  windowState.minimised = true;
  visibility_.WentOutOfSight();
  LoseFocus();
}

void HeadlessPlatform::SetWindowMode(const WindowMode& mode) {
  mode_ = mode;
  mode_.windowSize = FitWindowSize(mode.windowSize, screen_);
  const gfx::AppVideo client = mode_.fullScreen ? screen_ : mode_.windowSize;
  if (client == client_) return;
  if (main_ == nullptr) {
    client_ = client;
    window_ = std::make_unique<gfx::MemVideo>(client.width, client.height);
    return;
  }
  Resize(client);
}

void HeadlessPlatform::Resize(gfx::AppVideo client) {
  if (!mode_.fullScreen) mode_.windowSize = client;
  client_ = client;
  window_ = std::make_unique<gfx::MemVideo>(client.width, client.height);
  if (main_ != nullptr) Guarded([&] { main_->OnResize(); });
  Expose();
}

void HeadlessPlatform::Expose() {
  if (main_ != nullptr) Guarded([&] { main_->OnPaint({0, 0, client_.width, client_.height}); });
  CameBack();
}

}  // namespace platform
