#include "radio/DatFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ini/FileText.h"

namespace varo::radio {

namespace {

// Closes a descriptor on every path out.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The file the save really replaces: the end of a chain of symbolic links,
// so that saving through links keeps them; nothing for a loop of links.
std::optional<std::filesystem::path> SaveTarget(const std::string& path) {
  std::optional<std::string> target = FinalLinkTarget(path);
  if (!target) return std::nullopt;
  return std::filesystem::path(*target);
}

// The folder a save writes its temporary file into.
std::filesystem::path SaveFolder(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

DatFileError CheckDatFileSave(const std::string& path) {
  const std::optional<std::filesystem::path> found = SaveTarget(path);
  if (!found) return DatFileError::kCannotWrite;  // links are there, leading nowhere
  const std::filesystem::path& target = *found;
  struct stat st;
  const bool exists = ::lstat(target.c_str(), &st) == 0;
  const DatFileError failure = exists ? DatFileError::kCannotWrite : DatFileError::kCannotCreate;
  if (exists) {
    // A folder, a device, a FIFO or a socket would be replaced by a plain
    // file (as root, a device node destroyed); only a regular file may go.
    if (!S_ISREG(st.st_mode)) return failure;
    if ((st.st_mode & 0222) == 0) return failure;
    if (::geteuid() != 0 && ::access(target.c_str(), W_OK) != 0) return failure;
  }
  const std::filesystem::path folder = SaveFolder(target);
  struct stat folderStat;
  if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode) ||
      ::access(folder.c_str(), W_OK | X_OK) != 0) {
    return failure;
  }
  return DatFileError::kNone;
}

DatFileError LoadDatFile(const std::string& path, std::uint8_t* image, std::size_t size) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return DatFileError::kCannotOpen;

  std::vector<std::uint8_t> buffer(size);
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd.get(), buffer.data() + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return DatFileError::kCannotOpen;  // a folder, or an I/O error
    }
    if (n == 0) return DatFileError::kTooShort;
    got += static_cast<std::size_t>(n);
  }
  std::memcpy(image, buffer.data(), size);
  return DatFileError::kNone;
}

DatFileError SaveDatFile(const std::string& path, const std::uint8_t* image, std::size_t size) {
  if (DatFileError refused = CheckDatFileSave(path); refused != DatFileError::kNone) {
    return refused;
  }
  // Written beside the file at the end of any links and renamed over it, so
  // the previous file survives any failure untouched.
  struct stat st;
  const std::optional<std::filesystem::path> target = SaveTarget(path);
  const bool exists = target && ::lstat(target->c_str(), &st) == 0;
  const std::string bytes(reinterpret_cast<const char*>(image), size);
  if (ReplaceFileBytes(path, bytes, NewFileMode::kLikeCreate)) return DatFileError::kNone;
  return exists ? DatFileError::kCannotWrite : DatFileError::kCannotCreate;
}

std::string DatFileErrorText(DatFileError error, const std::string& path, bool chinese) {
  switch (error) {
    case DatFileError::kNone:
      return "";
    case DatFileError::kCannotOpen:
      return chinese ? "无法打开文件“" + path + "”。"
                     : "Cannot open the file \"" + path + "\".";
    case DatFileError::kTooShort:
      return chinese ? "文件“" + path + "”太短，不是完整的数据文件，未能打开。"
                     : "The file \"" + path +
                           "\" is too short to be a complete data file and was not opened.";
    case DatFileError::kCannotWrite:
      return chinese ? "无法保存文件“" + path + "”，原有文件保持不变。"
                     : "Cannot save the file \"" + path +
                           "\". The previous file was left unchanged.";
    case DatFileError::kCannotCreate:
      return chinese ? "无法保存文件“" + path + "”，未创建该文件。"
                     : "Cannot save the file \"" + path + "\". No file was created.";
  }
  return "";
}

}  // namespace varo::radio
