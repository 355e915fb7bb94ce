#include "platform/sdl_platform.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string_view>

#include "gfx/draw.h"
#include "gfx/pixel_rows.h"
#include "platform/os_version.h"
#include "platform/sdl_keys.h"
#include "platform/x11_window.h"

namespace platform {

SdlPlatform::SdlPlatform() = default;

SdlPlatform::~SdlPlatform() {
  audio_.reset();
  for (auto& [id, cursor] : cursors_) SDL_FreeCursor(cursor);
  if (arrow_ != nullptr) SDL_FreeCursor(arrow_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  SDL_Quit();
}

bool DriverNamedIn(const char* driverList, std::string_view driver) {
  if (driverList == nullptr || driver.empty()) return false;
  std::string_view rest = driverList;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    if (name.size() == driver.size() &&
        SDL_strncasecmp(name.data(), driver.data(), driver.size()) == 0)
      return true;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return false;
}

namespace {

// SDL's drivers that draw nowhere; it falls back to them when no display answers.
bool DrawsNowhere(std::string_view driver) {
  return driver == "offscreen" || driver == "dummy";
}

void SayNoDisplay(const char* reason) {
  std::fprintf(stderr, "Redhollow needs a graphical display: %s.\n", reason);
}

}  // namespace

bool SdlPlatform::OpenMainWindow(const std::string& title, WindowEvents& events) {
  SurviveXErrors();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    const std::string reason = std::string("none could be opened (") + SDL_GetError() + ")";
    SayNoDisplay(reason.c_str());
    return false;
  }
  // A window nobody can see would run forever unnoticed, so an invisible driver is only
  // taken when SDL_VIDEODRIVER asks for it by name (the tests do).
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && DrawsNowhere(driver) &&
      !DriverNamedIn(SDL_GetHint(SDL_HINT_VIDEODRIVER), driver)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SayNoDisplay("no X11 or Wayland display could be reached (is DISPLAY or WAYLAND_DISPLAY set?)");
    return false;
  }
  videoReady_ = true;
  // The window surface stays plain shared memory. Backed by a texture, SDL would load a GL
  // stack (hundreds of ms and MB at start-up) and upload the whole screen for every small
  // rectangle a tick presents. Set as a default only, so SDL's own variable still decides.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Rect desktop{0, 0, 1024, 768};
  SDL_GetDisplayBounds(0, &desktop);
  // Borderless over the whole desktop, and hidden until it is marked full-screen. Asked of
  // SDL, full screen on X11 waits up to 100 ms for the window manager to move or resize the
  // window, which it never does for a window that already covers the screen (nor does a
  // server without a window manager): a window marked before it is mapped is simply shown
  // full-screen.
  mode_.windowSize = FitWindowSize(mode_.windowSize, {desktop.w, desktop.h});
  if (mode_.fullScreen) {
    window_ = SDL_CreateWindow(title.c_str(), desktop.x, desktop.y, desktop.w, desktop.h,
                               SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  } else {
    const bool placed = mode_.windowPlace && PlaceIsOnScreen(*mode_.windowPlace);
    window_ = SDL_CreateWindow(
        title.c_str(), placed ? mode_.windowPlace->x : SDL_WINDOWPOS_CENTERED,
        placed ? mode_.windowPlace->y : SDL_WINDOWPOS_CENTERED, mode_.windowSize.width,
        mode_.windowSize.height, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  }
  if (window_ == nullptr) {
    const std::string reason =
        std::string("the window could not be opened (") + SDL_GetError() + ")";
    SayNoDisplay(reason.c_str());
    return false;
  }
  SDL_SetWindowMinimumSize(window_, kSmallestWindow.width, kSmallestWindow.height);
  if (mode_.fullScreen && !MarkFullscreenBeforeMapping(window_))
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_ShowWindow(window_);
  knownClientSize_ = ClientSize();
  main_ = &events;
  SDL_StartTextInput();
  return true;
}

gfx::AppVideo SdlPlatform::ScreenSize() const {
  SDL_DisplayMode mode{};
  const int display = window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (videoReady_ && SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) == 0)
    return {mode.w, mode.h};
  return ClientSize();
}

bool SdlPlatform::PlaceIsOnScreen(Point place) const {
  // Enough of the window's top edge to grab it must lie on some display.
  constexpr int kGrip = 48;
  const int displays = SDL_GetNumVideoDisplays();
  for (int i = 0; i < displays; ++i) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    if (place.x + kGrip > bounds.x && place.x + kGrip < bounds.x + bounds.w &&
        place.y >= bounds.y && place.y + kGrip < bounds.y + bounds.h)
      return true;
  }
  return false;
}

void SdlPlatform::SetWindowMode(const WindowMode& mode) {
  if (window_ == nullptr) {
    mode_ = mode;
    return;
  }
  mode_ = mode;
  mode_.windowSize = FitWindowSize(mode.windowSize, ScreenSize());
  if (mode_.fullScreen) {
    SDL_Rect desktop{0, 0, 0, 0};
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (!WindowManagerRuns(window_) &&
        SDL_GetDisplayBounds(display < 0 ? 0 : display, &desktop) == 0) {
      // Nobody would carry the switch out (an X server without a window manager): the
      // window covers the screen by itself, as the game's first window does.
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowPosition(window_, desktop.x, desktop.y);
      SDL_SetWindowSize(window_, desktop.w, desktop.h);
    } else {
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
  } else {
    SDL_SetWindowFullscreen(window_, 0);
    SDL_SetWindowBordered(window_, SDL_TRUE);
    SDL_SetWindowResizable(window_, SDL_TRUE);
    SDL_SetWindowSize(window_, mode_.windowSize.width, mode_.windowSize.height);
    if (mode_.windowPlace && PlaceIsOnScreen(*mode_.windowPlace)) {
      SDL_SetWindowPosition(window_, mode_.windowPlace->x, mode_.windowPlace->y);
    } else {
      SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
  }
  FollowClientSize(false);
}

WindowMode SdlPlatform::CurrentWindowMode() const {
  WindowMode now = mode_;
  if (window_ == nullptr || mode_.fullScreen ||
      (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0)
    return now;
  now.windowSize = ClientSize();
  Point place;
  SDL_GetWindowPosition(window_, &place.x, &place.y);
  now.windowPlace = place;
  return now;
}

void SdlPlatform::FollowClientSize(bool sizeEvent) {
  if (main_ == nullptr) return;
  const gfx::AppVideo client = ClientSize();
  const bool changed = !(client == knownClientSize_);
  if (!changed && !sizeEvent) return;
  knownClientSize_ = client;
  // A window surface of a new size starts black, even when the size came back to the one the
  // game knows: the whole window is shown again.
  Guarded([&] {
    if (changed) main_->OnResize();
    main_->OnPaint({0, 0, client.width, client.height});
  });
}

gfx::AppVideo SdlPlatform::ClientSize() const {
  if (window_ == nullptr) return {};
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return {w, h};
}

void SdlPlatform::Present(const gfx::MemVideo& source, const gfx::IntRect& srcRect, std::int32_t x,
                          std::int32_t y) {
  if (window_ == nullptr) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) return;
  const std::optional<gfx::CopySpan> span =
      gfx::ClipCopySpan(source.width(), source.height(), srcRect, surface->w, surface->h, x, y);
  if (!span) return;
  const gfx::IntRect from =
      gfx::IntRect::FromSize(span->srcX, span->srcY, span->width, span->height);
  const gfx::IntRect to = gfx::IntRect::FromSize(span->dstX, span->dstY, span->width, span->height);

  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  const std::size_t sourcePitch = static_cast<std::size_t>(source.width()) * 4;
  const std::uint8_t* sourcePixels =
      reinterpret_cast<const std::uint8_t*>(source.row(from.top) + from.left);
  std::uint8_t* target = static_cast<std::uint8_t*>(surface->pixels) +
                         static_cast<std::size_t>(to.top) * surface->pitch +
                         static_cast<std::size_t>(to.left) * surface->format->BytesPerPixel;
  if (surface->format->format == SDL_PIXELFORMAT_RGB888 ||
      surface->format->format == SDL_PIXELFORMAT_ARGB8888) {
    gfx::CopyPixelRows(target, static_cast<std::size_t>(surface->pitch), sourcePixels, sourcePitch,
                       to.Width(), to.Height());
  } else {
    SDL_ConvertPixels(to.Width(), to.Height(), SDL_PIXELFORMAT_RGB888, sourcePixels,
                      static_cast<int>(sourcePitch), surface->format->format, target,
                      surface->pitch);
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  // The window is updated once the handler that presented returns: a tick may present a
  // thousand small rectangles, and every update waits for the display.
  presented_.push_back({to.left, to.top, to.Width(), to.Height()});
}

void SdlPlatform::ShowPresented() {
  if (presented_.empty()) return;
  if (window_ != nullptr) {
    SDL_UpdateWindowSurfaceRects(window_, presented_.data(), static_cast<int>(presented_.size()));
  }
  presented_.clear();
}

void SdlPlatform::SetTimerInterval(std::uint32_t ms) {
  timerInterval_ = ms;
  nextTick_ = SDL_GetTicks64() + ms;
}

void SdlPlatform::RunMessageLoop() {
  if (main_ == nullptr) return;
  RunLoop(*main_, nullptr);
}

void SdlPlatform::RunModalLoop(WindowEvents& modal, const std::function<bool()>& finished) {
  RunLoop(modal, &finished);
}

template <typename Handler>
void SdlPlatform::Guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowMessageBox("Redhollow", error.what(), MessageBoxButtons::Ok);
  } catch (...) {
    ShowMessageBox("Redhollow", "An unexpected error occurred.", MessageBoxButtons::Ok);
  }
}

void SdlPlatform::RunLoop(WindowEvents& input, const std::function<bool()>* finished) {
  auto done = [&] { return terminated_ || (finished != nullptr && (*finished)()); };
  if (!activatedOnce_ && main_ != nullptr) {
    // Without a window manager no focus event may ever come; the window is active anyway.
    activatedOnce_ = true;
    Guarded([&] { main_->OnActivate(); });
  }
  while (!done()) {
    ShowPresented();
    std::int64_t wait = 100;
    if (timerInterval_ != 0) {
      const std::int64_t untilTick =
          static_cast<std::int64_t>(nextTick_) - static_cast<std::int64_t>(SDL_GetTicks64());
      wait = untilTick < 0 ? 0 : untilTick;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, static_cast<int>(wait)) != 0) {
      Dispatch(event, input);
      // Drain what is queued, but never past a due tick.
      while (!done() && (timerInterval_ == 0 || SDL_GetTicks64() < nextTick_) &&
             SDL_PollEvent(&event) != 0)
        Dispatch(event, input);
    }
    if (!done()) FireTimerIfDue();
  }
  ShowPresented();
}

void SdlPlatform::FireTimerIfDue() {
  if (timerInterval_ == 0 || main_ == nullptr) return;
  const std::uint64_t now = SDL_GetTicks64();
  if (now < nextTick_) return;
  // A late tick fires once; the next is due a whole interval after it.
  nextTick_ = now + timerInterval_;
  if (window_ != nullptr) {
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if (visibility_.BackByItsFlags(now, (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0,
                                   (flags & SDL_WINDOW_INPUT_FOCUS) != 0))
      Guarded([&] { main_->OnRestored(); });
  }
  const std::size_t presentedBefore = presented_.size();
  Guarded([&] { main_->OnTimer(); });
  // The first screen is drawn by a tick; once it is on the window, the audio device, which
  // no sound has needed yet, is opened in the time before the next tick.
  if (audio_ && !audio_->opened() && presented_.size() > presentedBefore) {
    ShowPresented();
    audio_->Open();
  }
}

void SdlPlatform::CloseRequested(WindowEvents& input) {
  bool close = false;
  Guarded([&] { close = input.OnCloseQuery(); });
  // A modal window answers the close itself; only the main window ends the program.
  if (close && &input == main_) terminated_ = true;
}

void SdlPlatform::CameBack() {
  if (visibility_.CameBack()) Guarded([&] { main_->OnRestored(); });
}

void SdlPlatform::Dispatch(const SDL_Event& event, WindowEvents& input) {
  switch (event.type) {
    case SDL_QUIT:
      CloseRequested(input);
      break;
    case SDL_WINDOWEVENT:
      DispatchWindowEvent(event.window, input);
      break;
    case SDL_MOUSEMOTION:
      Guarded([&] {
        input_.Motion(input, event.motion.x, event.motion.y, ModifiersFromSdl(SDL_GetModState()));
      });
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      MouseButton button;
      if (event.button.button == SDL_BUTTON_LEFT)
        button = MouseButton::Left;
      else if (event.button.button == SDL_BUTTON_RIGHT)
        button = MouseButton::Right;
      else if (event.button.button == SDL_BUTTON_MIDDLE)
        button = MouseButton::Middle;
      else
        break;
      const ShiftState mods = ModifiersFromSdl(SDL_GetModState());
      Guarded([&] {
        if (event.type == SDL_MOUSEBUTTONDOWN) {
          input_.ButtonDown(input, button, event.button.x, event.button.y, mods,
                            event.button.clicks >= 2);
        } else {
          const gfx::AppVideo client = ClientSize();
          const bool inside = event.button.x >= 0 && event.button.y >= 0 &&
                              event.button.x < client.width && event.button.y < client.height;
          input_.ButtonUp(input, button, event.button.x, event.button.y, mods, inside);
        }
      });
      break;
    }
    case SDL_MOUSEWHEEL: {
      const std::int32_t steps =
          event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      const Point at = input_.pointer();
      Guarded([&] {
        input.OnMouseWheel(steps, ModifiersFromSdl(SDL_GetModState()) | input_.heldButtons(), at.x,
                           at.y);
      });
      break;
    }
    case SDL_KEYDOWN: {
      const std::uint16_t key = VirtualKeyFromSdl(event.key.keysym.sym);
      const ShiftState mods = static_cast<ShiftState>(ModifiersFromSdl(event.key.keysym.mod) |
                                                      (event.key.repeat != 0 ? kAutoRepeat : 0));
      if (key == 0) break;
      if (IsCloseChord(key, mods)) {
        CloseRequested(input);
        break;
      }
      Guarded([&] { input.OnKeyDown(key, mods); });
      break;
    }
    case SDL_TEXTINPUT:
      Guarded([&] { input.OnTextInput(event.text.text); });
      break;
    default:
      break;
  }
}

void SdlPlatform::DispatchWindowEvent(const SDL_WindowEvent& event, WindowEvents& input) {
  if (main_ == nullptr) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      activatedOnce_ = true;
      Guarded([&] { main_->OnActivate(); });
      CameBack();
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      Guarded([&] { input_.ReleaseAll(input); });
      break;
    case SDL_WINDOWEVENT_EXPOSED: {
      const gfx::AppVideo client = ClientSize();
      Guarded([&] { main_->OnPaint({0, 0, client.width, client.height}); });
      CameBack();
      break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
      visibility_.WentOutOfSight();
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      CameBack();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      // SDL also reports a change when a full-screen switch kept the size; a resize rebuilds
      // the back buffer and lays the screens out again, so only a real change is passed on.
      FollowClientSize(true);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      // The game hears of every restore, as it always has, but once.
      visibility_.CameBack();
      Guarded([&] { main_->OnRestored(); });
      break;
    case SDL_WINDOWEVENT_CLOSE:
      CloseRequested(input);
      break;
    case SDL_WINDOWEVENT_LEAVE:
      pointerOutside_ = true;
      break;
    case SDL_WINDOWEVENT_ENTER:
      pointerOutside_ = false;
      break;
    default:
      break;
  }
}

void SdlPlatform::Minimize() {
  if (window_ == nullptr) return;
  visibility_.MinimiseAsked(SDL_GetTicks64());
  SDL_MinimizeWindow(window_);
}

void SdlPlatform::InstallCursor(int id, const CursorImage& image) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<std::uint32_t*>(image.argb.data()), CursorImage::kSize, CursorImage::kSize, 32,
      CursorImage::kSize * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return;
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
  SDL_FreeSurface(surface);
  if (cursor == nullptr) return;
  if (auto old = cursors_.find(id); old != cursors_.end()) SDL_FreeCursor(old->second);
  cursors_[id] = cursor;
}

void SdlPlatform::SetCursor(int id) {
  if (!videoReady_) return;
  if (auto found = cursors_.find(id); found != cursors_.end()) {
    SDL_SetCursor(found->second);
    return;
  }
  if (arrow_ == nullptr) arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  if (arrow_ != nullptr) SDL_SetCursor(arrow_);
}

Point SdlPlatform::PointerPosition() const {
  if (!videoReady_) return {};
  // A pointer that left the window rests on none of its edges (nor on its buttons): a window
  // left at its edge does not go on scrolling the map.
  if (pointerOutside_) return kPointerOutside;
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  return {x, y};
}

OsVersion SdlPlatform::OperatingSystemVersion() const {
  return ReadOsVersion();
}

std::string SdlPlatform::CurrentDirectory() const {
  return ReadCurrentDirectory();
}

int SdlPlatform::ShowMessageBox(const std::string& title, const std::string& text,
                                MessageBoxButtons buttons) {
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kResultOk,
       "Ok"}};
  const SDL_MessageBoxButtonData yesNo[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kResultYes, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kResultNo, "No"}};
  ShowPresented();
  const bool question = buttons == MessageBoxButtons::YesNo;
  SDL_MessageBoxData data{};
  data.flags = question ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
  data.window = window_;
  data.title = title.c_str();
  data.message = text.c_str();
  data.numbuttons = question ? 2 : 1;
  data.buttons = question ? yesNo : ok;
  // Every box of the platform reports a fault, so its text goes to stderr too, in one line:
  // a log keeps what the player was shown, and without a display it is all there is.
  std::string line = title + ": " + text;
  std::replace(line.begin(), line.end(), '\n', ' ');
  std::fprintf(stderr, "%s\n", line.c_str());
  int answer = 0;
  if (SDL_ShowMessageBox(&data, &answer) != 0) return kResultNone;
  // Closed without a button: the answer of Escape.
  if (answer < 0) return question ? kResultNo : kResultOk;
  return answer;
}

bool SdlPlatform::OpenUrl(const std::string& url) {
  return SDL_OpenURL(url.c_str()) == 0;
}

AudioDevice& SdlPlatform::Audio() {
  if (!audio_) audio_ = std::make_unique<SdlAudio>();
  return *audio_;
}

}  // namespace platform
