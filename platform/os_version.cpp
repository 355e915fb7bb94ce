#include "platform/os_version.h"

#include <sys/utsname.h>

#include <charconv>
#include <filesystem>

namespace platform {

OsVersion ParseKernelRelease(std::string_view release) {
  OsVersion version;
  const char* p = release.data();
  const char* end = release.data() + release.size();
  auto [afterMajor, majorError] = std::from_chars(p, end, version.major);
  if (majorError != std::errc{}) return {};
  if (afterMajor == end || *afterMajor != '.') return {version.major, 0};
  auto [afterMinor, minorError] = std::from_chars(afterMajor + 1, end, version.minor);
  (void)afterMinor;
  if (minorError != std::errc{}) version.minor = 0;
  return version;
}

OsVersion ReadOsVersion() {
  utsname name{};
  if (uname(&name) != 0) return {};
  return ParseKernelRelease(name.release);
}

std::string ReadCurrentDirectory() {
  std::error_code error;
  const auto path = std::filesystem::current_path(error);
  return error ? std::string{} : path.string();
}

}  // namespace platform
