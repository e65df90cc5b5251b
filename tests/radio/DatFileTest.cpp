#include "radio/DatFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include "model16/MemoryImage.h"
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

  // Saving through a symbolic link replaces the file it points to.
  std::filesystem::create_symlink("radio.dat", dir.path() / "link.dat");
  image[0x100] = 0x42;
  ASSERT_EQ(SaveDatFile(dir.File("link.dat"), image.bytes.data(), image.size()), DatFileError::kNone);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.dat"));
  EXPECT_EQ(dir.Read("radio.dat"), ImageText(image));

  // Nothing but the files themselves is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(DatFileTest, FailedSaveLeavesThePreviousFile) {
  test::TempDir dir;
  const std::string old = Pattern(1024);
  const std::string path = dir.Write("radio.dat", old);
  const MemoryImage image = NewImage();

  // The disk fills up half-way through the write: a file size limit makes
  // the write fail after 100 bytes.
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &tight);
  const DatFileError full = SaveDatFile(path, image.bytes.data(), image.size());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(full, DatFileError::kCannotWrite);
  EXPECT_EQ(dir.Read("radio.dat"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "a temporary file was left behind";
}

// Targets a save must refuse before writing anything, whoever runs it (the
// tests run as root, for whom access() allows everything). What was there
// stays as it was, the same file with the same mode.
TEST(DatFileTest, SaveRefusesWhatItMayNotReplace) {
  struct {
    const char* target;  // saved to
    const char* setup;   // "file" or "link" (to a file) with `mode`, "folder", or nothing
    int mode;
  } cases[] = {
      {"ro.dat", "file", 0444},       {"owner-ro.dat", "file", 0400},
      {"via-link.dat", "link", 0444}, {"folder.dat", "folder", 0},
      {"no/such/radio.dat", "", 0},
  };
  const MemoryImage image = NewImage();
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string path = dir.File(c.target);
    const std::string setup = c.setup;
    const std::string kept = setup == "link" ? "real.dat" : c.target;  // what must survive
    if (setup == "link") std::filesystem::create_symlink(kept, path);
    if (setup == "file" || setup == "link") {
      dir.Write(kept, Pattern(1024));
      ::chmod(dir.File(kept).c_str(), static_cast<mode_t>(c.mode));
    } else if (setup == "folder") {
      std::filesystem::create_directory(path);
    }
    struct stat before {};
    const bool existed = ::stat(dir.File(kept).c_str(), &before) == 0;

    // The message speaks of a previous file only when there was one.
    const DatFileError error = existed ? DatFileError::kCannotWrite : DatFileError::kCannotCreate;
    EXPECT_EQ(CheckDatFileSave(path), error) << c.target;
    EXPECT_EQ(SaveDatFile(path, image.bytes.data(), image.size()), error) << c.target;
    EXPECT_EQ(DatFileErrorText(error, path, false).find("previous") != std::string::npos, existed);
    EXPECT_EQ(DatFileErrorText(error, path, true).find("原有") != std::string::npos, existed);
    struct stat after {};
    ASSERT_EQ(::stat(dir.File(kept).c_str(), &after) == 0, existed) << c.target;
    if (!existed) continue;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.target << ": the file was replaced";
    EXPECT_EQ(after.st_mode, before.st_mode) << c.target;
    if (S_ISREG(after.st_mode)) {
      EXPECT_EQ(dir.Read(kept), Pattern(1024)) << c.target;
    }
  }
}

}  // namespace
}  // namespace varo::radio
