#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform {

// Major and minor of a kernel release such as "6.1.0-18-amd64"; {0, 0} when unreadable.
OsVersion ParseKernelRelease(std::string_view release);
// The running system's version, from uname.
OsVersion ReadOsVersion();
// The process's current folder; empty when it cannot be read.
std::string ReadCurrentDirectory();

}  // namespace platform
