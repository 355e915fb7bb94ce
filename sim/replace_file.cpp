#include "sim/replace_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace sim {
namespace {

// Writes all bytes, going on after short writes and interruptions.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, int& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::error_code ReplaceFileDurably(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const std::filesystem::path temp = path.string() + ".tmp-" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return {errno, std::generic_category()};
  int error = 0;
  bool ok = WriteAll(fd, bytes, error);
  if (ok && ::fsync(fd) != 0) {
    error = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return {error, std::generic_category()};
  }
  // The rename itself reaches the disk with the folder.
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
  return {};
}

}  // namespace sim
