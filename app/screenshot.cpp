#include "app/screenshot.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "gfx/png_file.h"
#include "sim/file_descriptor.h"

namespace app {

namespace {

namespace fs = std::filesystem;

// Values that do not name a folder from the root are ignored, as the XDG rules say.
std::optional<std::string> Absolute(const char* value) {
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::string(value);
}

// The quoted or bare value of a shell-style assignment, backslash escapes undone.
std::string Unquoted(std::string_view value) {
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
    value.remove_suffix(1);
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (quoted) value = value.substr(1, value.size() - 2);
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    out += value[i];
  }
  return out;
}

platform::WriteOutcome Failed(const std::string& why) {
  return {{}, "The screenshot could not be saved: " + why + "."};
}

}  // namespace

PicturePlaces PicturePlaces::FromEnvironment() {
  PicturePlaces places;
  places.picturesDir = Absolute(std::getenv("XDG_PICTURES_DIR"));
  places.configHome = Absolute(std::getenv("XDG_CONFIG_HOME"));
  places.home = Absolute(std::getenv("HOME"));
  if (!places.home) {
    const passwd* user = ::getpwuid(::getuid());
    if (user != nullptr) places.home = Absolute(user->pw_dir);
  }
  return places;
}

std::optional<fs::path> PicturesDirFromUserDirs(const std::string& text, const std::string& home) {
  constexpr std::string_view kKey = "XDG_PICTURES_DIR=";
  std::optional<fs::path> found;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::string_view rest(line);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (!rest.starts_with(kKey)) continue;
    std::string value = Unquoted(rest.substr(kKey.size()));
    if (value == "$HOME" || value.starts_with("$HOME/")) {
      if (home.empty()) continue;
      value = home + value.substr(5);
    }
    // The last assignment counts, as when the shell reads the file.
    found = value.starts_with('/') ? std::optional<fs::path>(value) : std::nullopt;
  }
  return found;
}

fs::path ScreenshotFolder(const PicturePlaces& places) {
  const std::string home = places.home.value_or("");
  if (places.picturesDir) return fs::path(*places.picturesDir) / kScreenshotSubfolder;
  const fs::path config = places.configHome
                              ? fs::path(*places.configHome)
                              : (home.empty() ? fs::path() : fs::path(home) / ".config");
  if (!config.empty()) {
    std::ifstream file(config / "user-dirs.dirs");
    std::ostringstream text;
    text << file.rdbuf();
    if (const auto pictures = PicturesDirFromUserDirs(text.str(), home))
      return *pictures / kScreenshotSubfolder;
  }
  if (home.empty()) return {};
  return fs::path(home) / "Pictures" / kScreenshotSubfolder;
}

std::string ScreenshotStem(const std::tm& local) {
  char stem[64];
  std::snprintf(stem, sizeof stem, "redhollow-%04d-%02d-%02d-%02d-%02d-%02d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  return stem;
}

platform::WriteOutcome WriteScreenshot(const gfx::MemVideo& picture, const fs::path& folder,
                                       const std::string& stem) {
  if (folder.empty()) return Failed("there is no home folder to put it in");
  std::error_code error;
  fs::create_directories(folder, error);
  if (error)
    return Failed("the folder " + folder.string() + " could not be made (" + error.message() + ")");
  const gfx::ByteBuffer png = gfx::EncodePng(picture);
  if (png.empty()) return Failed("the picture could not be encoded");
  for (int number = 1; number < 10'000; ++number) {
    std::string name = stem;
    if (number > 1) name.append("-").append(std::to_string(number));
    name.append(".png");
    const fs::path path = folder / name;
    // O_EXCL: a file of that name, or a link, is never written over.
    sim::FileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file.valid()) {
      if (errno == EEXIST) continue;
      return Failed(name + " could not be made in " + folder.string() + " (" +
                    std::generic_category().message(errno) + ")");
    }
    std::size_t done = 0;
    int why = 0;
    while (done < png.size() && why == 0) {
      const ssize_t n = ::write(file.get(), png.data() + done, png.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (n == 0 || errno != EINTR) {
        why = n == 0 ? EIO : errno;
      }
    }
    if (file.Close() != 0 && why == 0) why = errno;
    if (why != 0) {
      ::unlink(path.c_str());
      return Failed(name + " could not be written (" + std::generic_category().message(why) + ")");
    }
    return {name, {}};
  }
  return Failed("every name for it is taken");
}

}  // namespace app
