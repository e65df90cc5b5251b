#include "ini/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace varo {
namespace {

// As many links as the kernel itself follows in one path lookup.
constexpr int kMaxLinks = 40;

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

// The folder part of `path` ("." when it names none) and the name after it.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      return target;
    }
    target.resize(target.size() * 2);  // possibly cut short: read again with more room
  }
}

// What a plain create gives a new file: 0666 less the umask.
mode_t CreateMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Makes a rename in `folder` survive a crash; a failure here no longer
// endangers the data, so it is not reported.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

enum class Replaced { kYes, kFailed, kNoNewFile };

// Writes `bytes` to a fresh file beside `target` and renames it over
// `target`, which must be a regular file or missing (links already
// followed). The fresh file takes the mode and, as far as we may set them,
// the owner and group of the file it replaces, or `newFileMode` when there
// was none. kNoNewFile: the folder took no new file, nothing was touched.
Replaced ReplaceThroughTemporary(const std::string& target, const std::string& bytes,
                                 mode_t newFileMode) {
  struct stat st {};
  const bool exists = ::lstat(target.c_str(), &st) == 0;
  if (exists && !S_ISREG(st.st_mode)) return Replaced::kFailed;
  // A file we may not write stays, although the folder would let us
  // replace it.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    return Replaced::kFailed;
  }

  const std::string folder = FolderOf(target);
  // A leading dot keeps the temporary file out of the numbered-backup search
  // of the INI engine, which looks at names starting with the file's own.
  std::string temp = InFolder(folder, "." + NameOf(target) + ".XXXXXX");
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return Replaced::kNoNewFile;

  if (exists) {
    // Owner before mode: a change of owner clears the set-ID bits that the
    // mode then puts back. Another user's file keeps at least its group when
    // we belong to it; beyond that the new file is ours, as any saved file.
    [[maybe_unused]] const bool kept = ::fchown(fd, st.st_uid, st.st_gid) == 0 ||
                                       ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) == 0;
  }
  bool ok = ::fchmod(fd, exists ? (st.st_mode & 07777) : newFileMode) == 0 &&
            WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = CloseChecked(fd) && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return Replaced::kFailed;
  }
  SyncFolder(folder);
  return Replaced::kYes;
}

}  // namespace

std::optional<std::string> FinalLinkTarget(const std::string& path) {
  std::string current = path;
  for (int links = 0;; ++links) {
    struct stat st {};
    // A path that cannot be looked at is left for the open or rename to refuse.
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    if (links == kMaxLinks) return std::nullopt;
    const std::optional<std::string> target = ReadLink(current);
    if (!target || target->empty()) return std::nullopt;
    current = target->front() == '/' ? *target : InFolder(FolderOf(current), *target);
  }
}

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
  const std::optional<std::string> target = FinalLinkTarget(path);
  if (!target) return false;
  switch (ReplaceThroughTemporary(*target, bytes, CreateMode())) {
    case Replaced::kYes:
      return true;
    case Replaced::kFailed:
      return false;
    case Replaced::kNoNewFile:
      break;
  }
  return OverwriteFileInPlace(*target, bytes);
}

bool OverwriteFileInPlace(const std::string& path, const std::string& bytes) {
  // Only a regular file is written; a device is not even opened.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::lseek(fd, 0, SEEK_SET) == 0 &&
            WriteAll(fd, bytes) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
            ::fsync(fd) == 0;
  return CloseChecked(fd) && ok;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  std::optional<std::string> bytes = ReadFileBytes(from);
  return bytes && WriteFileBytes(to, *bytes);
}

bool ReplaceFileBytes(const std::string& path, const std::string& bytes, NewFileMode newFile) {
  const std::optional<std::string> target = FinalLinkTarget(path);
  const mode_t mode = newFile == NewFileMode::kPrivate ? 0600 : CreateMode();
  return target && ReplaceThroughTemporary(*target, bytes, mode) == Replaced::kYes;
}

}  // namespace varo
