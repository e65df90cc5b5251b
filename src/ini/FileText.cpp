#include "ini/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace varo {
namespace {

// Writes all of `bytes` to `fd` at its current offset; EINTR is retried.
bool WriteAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CloseChecked(int fd) { return ::close(fd) == 0 || errno == EINTR; }

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string bytes;
  char buffer[8192];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return OverwriteFileInPlace(path, bytes);
  bool ok = WriteAll(fd, bytes);
  return CloseChecked(fd) && ok;
}

bool OverwriteFileInPlace(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
            ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  return CloseChecked(fd) && ok;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  std::optional<std::string> bytes = ReadFileBytes(from);
  return bytes && WriteFileBytes(to, *bytes);
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = CloseChecked(fd) && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

}  // namespace varo
