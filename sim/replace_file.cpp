#include "sim/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string>

#include "sim/file_descriptor.h"

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

// A new temporary file, never an existing one and never through a link that someone left
// in its place. One left by an earlier process that had our number is stale: it goes.
int CreateTemporary(const std::filesystem::path& temp) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(temp.c_str(), kFlags, 0644);
  if (fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0) {
    fd = ::open(temp.c_str(), kFlags, 0644);
  }
  return fd;
}

}  // namespace

std::error_code ReplaceFileDurably(const std::filesystem::path& path,
                                   std::span<const std::uint8_t> bytes) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  const std::filesystem::path temp =
      path.string() + std::string(kTemporaryMarker) + std::to_string(::getpid());
  FileDescriptor file(CreateTemporary(temp));
  if (!file.valid()) return {errno, std::generic_category()};
  // A replaced file keeps who may read it; failing to say so costs nothing of the contents.
  if (replacing) (void)::fchmod(file.get(), old.st_mode & 07777);
  int error = 0;
  bool ok = WriteAll(file.get(), bytes, error);
  if (ok && ::fsync(file.get()) != 0) {
    error = errno;
    ok = false;
  }
  if (file.Close() != 0 && ok) {
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
  const FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.valid()) ::fsync(folderFd.get());
  return {};
}

std::optional<pid_t> TemporaryFileOwner(std::string_view fileName, std::string_view extension) {
  const std::size_t marker = fileName.rfind(kTemporaryMarker);
  if (marker == std::string_view::npos) return std::nullopt;
  const std::string_view replaced = fileName.substr(0, marker);
  const std::string_view digits = fileName.substr(marker + kTemporaryMarker.size());
  if (replaced.size() < extension.size() + 2 || !replaced.ends_with(extension) ||
      replaced[replaced.size() - extension.size() - 1] != '.' || replaced.front() == '.') {
    return std::nullopt;
  }
  pid_t pid = 0;
  const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (failure != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
      pid <= 0) {
    return std::nullopt;
  }
  return pid;
}

}  // namespace sim
