#include "radio/DatFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "model16/MemoryImage.h"
#include "support/DiskFull.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

// A 16-channel memory stands for any: the file layer knows sizes only.
using model16::NewImage;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

std::string ImageText(const MemoryImage& image) {
  return std::string(image.bytes.begin(), image.bytes.end());
}

TEST(DatFileTest, LoadTakesExactlyTheFirstImageSize) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.dat");
  struct { const char* name; long size; DatFileError error; } cases[] = {
      {"exact.dat", 1024, DatFileError::kNone},     {"long.dat", 2000, DatFileError::kNone},
      {"short.dat", 1023, DatFileError::kTooShort}, {"empty.dat", 0, DatFileError::kTooShort},
      {"missing.dat", -1, DatFileError::kCannotOpen}, {"folder.dat", -1, DatFileError::kCannotOpen},
  };
  for (const auto& c : cases) {
    if (c.size >= 0) dir.Write(c.name, Pattern(static_cast<std::size_t>(c.size)));
    MemoryImage image = NewImage();
    const MemoryImage before = image;
    EXPECT_EQ(LoadDatFile(dir.File(c.name), image.bytes.data(), image.size()), c.error) << c.name;
    if (c.error == DatFileError::kNone)
      EXPECT_EQ(ImageText(image), Pattern(1024)) << c.name;
    else
      EXPECT_EQ(image, before) << c.name << ": a failed load changed the image";
  }
}

TEST(DatFileTest, SaveReplacesTheFileWholeAndKeepsItsMode) {
  test::TempDir dir;
  const std::string path = dir.Write("radio.dat", "old contents");
  ::chmod(path.c_str(), 0640);
  MemoryImage image = NewImage();
  ASSERT_EQ(SaveDatFile(path, image.bytes.data(), image.size()), DatFileError::kNone);
  EXPECT_EQ(dir.Read("radio.dat"), ImageText(image));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));

  // Saving through a chain of symbolic links replaces the file at its end;
  // each relative link is read from its own folder, and the links stay.
  std::filesystem::create_directory(dir.path() / "sub");
  std::filesystem::create_symlink("../radio.dat", dir.path() / "sub/hop.dat");
  std::filesystem::create_symlink("sub/hop.dat", dir.path() / "link.dat");
  image[0x100] = 0x42;
  ASSERT_EQ(SaveDatFile(dir.File("link.dat"), image.bytes.data(), image.size()), DatFileError::kNone);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.dat"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "sub/hop.dat"));
  EXPECT_EQ(dir.Read("radio.dat"), ImageText(image));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));

  // Nothing but the file, the links and their folder is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "sub"), {}), 1);
}

TEST(DatFileTest, FailedSaveLeavesThePreviousFile) {
  test::TempDir dir;
  const std::string old = Pattern(1024);
  const std::string path = dir.Write("radio.dat", old);
  const MemoryImage image = NewImage();

  // The disk fills up half-way through the write.
  const DatFileError full =
      test::WithDiskFullAfter(100, [&] { return SaveDatFile(path, image.bytes.data(), image.size()); });
  EXPECT_EQ(full, DatFileError::kCannotWrite);
  EXPECT_EQ(dir.Read("radio.dat"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "a temporary file was left behind";
}

// What stands at the saved path before a save that must be refused.
enum class Standing {
  kNothing,        // not even the folder
  kFile,           // a regular file of `mode`
  kLinkToFile,     // a link to "real.dat" of `mode`
  kFolder,
  kFifo,
  kSocket,
  kSelfLink,       // a link to itself
  kLinkLoop,       // a link to "b.dat", which links back
  kDevice,         // the device `target` names (skipped where missing)
  kLinkToDevice,   // a link to /dev/full
};

// A socket node at `path`, left behind when its descriptor closes.
void MakeSocketNode(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  path.copy(address.sun_path, path.size());
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

// Targets a save must refuse before writing anything, whoever runs it (the
// tests run as root, for whom access() allows everything): what was there
// stays as it was, the same node (a device stays a device) with the same
// mode, and no file is added to the folder.
TEST(DatFileTest, SaveRefusesWhatItMayNotReplace) {
  struct {
    const char* target;  // saved to; relative to the test's folder unless absolute
    Standing standing;
    int mode;
  } cases[] = {
      {"ro.dat", Standing::kFile, 0444},           {"owner-ro.dat", Standing::kFile, 0400},
      {"via-link.dat", Standing::kLinkToFile, 0444}, {"folder.dat", Standing::kFolder, 0},
      {"no/such/radio.dat", Standing::kNothing, 0}, {"fifo.dat", Standing::kFifo, 0},
      {"socket.dat", Standing::kSocket, 0},        {"self.dat", Standing::kSelfLink, 0},
      {"a.dat", Standing::kLinkLoop, 0},           {"/dev/null", Standing::kDevice, 0},
      {"/dev/full", Standing::kDevice, 0},         {"full.dat", Standing::kLinkToDevice, 0},
  };
  const MemoryImage image = NewImage();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    test::TempDir dir;
    const std::string path = c.target[0] == '/' ? c.target : dir.File(c.target);
    // What must survive: the node saved to, or the file a link leads to.
    std::string kept = path;
    switch (c.standing) {
      case Standing::kNothing:
        break;
      case Standing::kFile:
        dir.Write(c.target, Pattern(1024));
        break;
      case Standing::kLinkToFile:
        std::filesystem::create_symlink("real.dat", path);
        kept = dir.Write("real.dat", Pattern(1024));
        break;
      case Standing::kFolder:
        std::filesystem::create_directory(path);
        break;
      case Standing::kFifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        break;
      case Standing::kSocket:
        MakeSocketNode(path);
        break;
      case Standing::kSelfLink:
        std::filesystem::create_symlink(c.target, path);
        break;
      case Standing::kLinkLoop:
        std::filesystem::create_symlink("b.dat", path);
        std::filesystem::create_symlink(c.target, dir.File("b.dat"));
        break;
      case Standing::kDevice:
        if (!std::filesystem::exists(path)) continue;
        break;
      case Standing::kLinkToDevice:
        kept = "/dev/full";
        if (!std::filesystem::exists(kept)) continue;
        std::filesystem::create_symlink(kept, path);
        break;
    }
    if (c.mode != 0) ::chmod(kept.c_str(), static_cast<mode_t>(c.mode));
    struct stat before {};
    const bool existed = ::lstat(kept.c_str(), &before) == 0;
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});

    // The message speaks of a previous file only when there was one.
    const DatFileError error = existed ? DatFileError::kCannotWrite : DatFileError::kCannotCreate;
    EXPECT_EQ(CheckDatFileSave(path), error);
    EXPECT_EQ(SaveDatFile(path, image.bytes.data(), image.size()), error);
    EXPECT_EQ(DatFileErrorText(error, path, false).find("previous") != std::string::npos, existed);
    EXPECT_EQ(DatFileErrorText(error, path, true).find("原有") != std::string::npos, existed);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), entries);
    struct stat after {};
    ASSERT_EQ(::lstat(kept.c_str(), &after) == 0, existed);
    if (!existed) continue;
    EXPECT_EQ(after.st_ino, before.st_ino) << "the node was replaced";
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    if (kept != path) {
      EXPECT_TRUE(std::filesystem::is_symlink(path)) << "the link was replaced";
    }
    if (S_ISREG(after.st_mode)) {
      std::ifstream in(kept, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), Pattern(1024));
    }
  }
}

}  // namespace
}  // namespace varo::radio
