// The program from the opening of its window to its end, on whichever platform it is given, so
// that the ways it can fail to start are tested headless.
#pragma once

#include <string>

#include "app/command_line.h"
#include "platform/platform.h"

namespace app {

// The title of the message box that says why the game cannot start.
inline constexpr const char* kCannotStartTitle = "Redhollow cannot start";

// Why the game cannot start in `folder`: a sentence for each of its archives that is missing or
// damaged, naming the file's full path, and what to do; empty when all three can be used.
std::string ArchiveProblems(const std::string& folder);

// Opens the main window and runs the game until it ends, with the player's settings and the
// command line's options over them for this run. Returns the program's exit status: 0 when the
// player ended the game, 1 when it could not start (no display, an archive missing or damaged,
// an error while starting), after a message box saying why.
int RunGame(platform::Platform& platform, const StartOptions& options = {});

}  // namespace app
