// Screenshots (F12): what the window shows, as a PNG file in the player's pictures folder,
// $XDG_PICTURES_DIR/Redhollow/ (from the environment or from the XDG user-dirs file of the
// config folder; a relative value is ignored), else ~/Pictures/Redhollow/. A file is named by
// the local date and time and never replaces another: redhollow-2026-12-08-19-30-05.png, then
// ...-2.png, ...-3.png. The tick only copies the window; the PNG is encoded and written on the
// writer's thread.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "gfx/mem_video.h"
#include "platform/background_writer.h"

namespace app {

inline constexpr const char* kScreenshotSubfolder = "Redhollow";

// The environment variables that decide where the pictures folder is, read once on the
// tick's thread (the environment is not for other threads to read).
struct PicturePlaces {
  std::optional<std::string> picturesDir;  // XDG_PICTURES_DIR
  std::optional<std::string> configHome;   // XDG_CONFIG_HOME
  std::optional<std::string> home;         // HOME, else the password database's
  static PicturePlaces FromEnvironment();
};

// The value of XDG_PICTURES_DIR in the text of a user-dirs.dirs file, with $HOME replaced;
// none when the file does not name it or names a relative folder.
std::optional<std::filesystem::path> PicturesDirFromUserDirs(const std::string& text,
                                                             const std::string& home);
// The folder screenshots go to; empty when there is no home to put it in.
std::filesystem::path ScreenshotFolder(const PicturePlaces& places);
// "redhollow-YYYY-MM-DD-HH-MM-SS", the moment given in local time.
std::string ScreenshotStem(const std::tm& local);
// Makes the folder when missing and writes the picture as STEM.png there, or STEM-2.png,
// STEM-3.png ... when that name is taken; never over an existing file.
platform::WriteOutcome WriteScreenshot(const gfx::MemVideo& picture,
                                       const std::filesystem::path& folder,
                                       const std::string& stem);

}  // namespace app
