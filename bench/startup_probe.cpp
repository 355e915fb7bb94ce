// startup_probe: starts a program on the current X display and times, from the moment it is
// executed, when its first window is mapped and when a chosen point of the screen first turns
// non-black; then optionally runs a shell command (which may drive the program with xdotool),
// reads the program's peak memory and ends it.
//
//   startup_probe [--at FX,FY] [--pixel-timeout-ms N] [--then COMMAND] [--smaps FILE]
//                 -- PROGRAM [ARGUMENTS...]
//
// It prints one line: map_ms=... first_pixel_ms=... vmhwm_kb=... vmrss_kb=...; a time that
// never came prints as "none". COMMAND runs with GAME_PID set to the program's process id.
// The probe only watches from outside, so the program is measured as a player starts it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  double atX = 0.5;
  double atY = 0.5;
  int pixelTimeoutMs = 3000;
  int mapTimeoutMs = 10000;
  std::string then;
  std::string smapsFile;
  std::vector<char*> program;
};

[[noreturn]] void Usage(const char* why) {
  std::fprintf(stderr,
               "startup_probe: %s\nusage: startup_probe [--at FX,FY] [--pixel-timeout-ms N] "
               "[--then COMMAND] [--smaps FILE] -- PROGRAM [ARGUMENTS...]\n",
               why);
  std::exit(2);
}

bool ParseFraction(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && out >= 0.0 && out <= 1.0;
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--") {
      ++i;
      break;
    }
    if (!hasValue) Usage("an option lacks its value");
    const char* value = argv[++i];
    if (arg == "--at") {
      const char* comma = std::strchr(value, ',');
      if (comma == nullptr) Usage("--at takes FX,FY");
      const std::string x(value, comma);
      if (!ParseFraction(x.c_str(), options.atX) || !ParseFraction(comma + 1, options.atY))
        Usage("--at takes two fractions between 0 and 1");
    } else if (arg == "--pixel-timeout-ms") {
      options.pixelTimeoutMs = std::atoi(value);
    } else if (arg == "--then") {
      options.then = value;
    } else if (arg == "--smaps") {
      options.smapsFile = value;
    } else {
      Usage(("unknown option " + arg).c_str());
    }
  }
  for (; i < argc; ++i) options.program.push_back(argv[i]);
  if (options.program.empty()) Usage("no program to start");
  options.program.push_back(nullptr);
  return options;
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string FormatMs(std::optional<double> ms) {
  if (!ms) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", *ms);
  return text;
}

// Waits for the first top-level window to be mapped; the server is fresh, so it is ours.
std::optional<double> WaitForMap(Display* display, Clock::time_point start, int timeoutMs) {
  const int fd = ConnectionNumber(display);
  while (MsSince(start) < timeoutMs) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify) return MsSince(start);
    }
    pollfd ready{fd, POLLIN, 0};
    poll(&ready, 1, 1);
  }
  return std::nullopt;
}

bool PointIsBlack(Display* display, Window root, int x, int y) {
  XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return true;
  const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return pixel == 0;
}

std::optional<double> WaitForPixel(Display* display, Window root, int x, int y,
                                   Clock::time_point start, int timeoutMs, pid_t game) {
  const double until = MsSince(start) + timeoutMs;
  while (MsSince(start) < until) {
    if (!PointIsBlack(display, root, x, y)) return MsSince(start);
    if (waitpid(game, nullptr, WNOHANG) == game) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

std::string StatusField(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) {
      std::istringstream words(line.substr(field.size() + 1));
      std::string kb;
      words >> kb;
      return kb;
    }
  }
  return "none";
}

void CopyFile(const std::string& from, const std::string& to) {
  std::ifstream in(from);
  std::ofstream out(to);
  out << in.rdbuf();
}

void EndProgram(pid_t pid) {
  kill(pid, SIGTERM);
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) Usage("cannot open the X display");
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const int width = DisplayWidth(display, DefaultScreen(display));
  const int height = DisplayHeight(display, DefaultScreen(display));
  const int x = std::min(width - 1, static_cast<int>(options.atX * width));
  const int y = std::min(height - 1, static_cast<int>(options.atY * height));

  pid_t game = 0;
  const Clock::time_point start = Clock::now();
  if (posix_spawn(&game, options.program[0], nullptr, nullptr, options.program.data(), environ) !=
      0) {
    std::perror("startup_probe: cannot start the program");
    return 2;
  }
  const std::optional<double> mapped = WaitForMap(display, start, options.mapTimeoutMs);
  std::optional<double> firstPixel;
  if (mapped) firstPixel = WaitForPixel(display, root, x, y, start, options.pixelTimeoutMs, game);

  if (!options.then.empty()) {
    setenv("GAME_PID", std::to_string(game).c_str(), 1);
    if (std::system(options.then.c_str()) != 0)
      std::fprintf(stderr, "startup_probe: the --then command failed\n");
  }
  const std::string hwm = StatusField(game, "VmHWM");
  const std::string rss = StatusField(game, "VmRSS");
  if (!options.smapsFile.empty())
    CopyFile("/proc/" + std::to_string(game) + "/smaps", options.smapsFile);
  EndProgram(game);
  XCloseDisplay(display);
  std::printf("map_ms=%s first_pixel_ms=%s vmhwm_kb=%s vmrss_kb=%s\n", FormatMs(mapped).c_str(),
              FormatMs(firstPixel).c_str(), hwm.c_str(), rss.c_str());
  return mapped ? 0 : 1;
}
