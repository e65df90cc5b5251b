#include "model16/DatFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include "model16/MemoryImage.h"
#include "support/TempDir.h"

namespace varo::model16 {
namespace {

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
    MemoryImage image = MemoryImage::NewDocument();
    const MemoryImage before = image;
    EXPECT_EQ(LoadDatFile(dir.File(c.name), image.bytes.data(), image.kSize), c.error) << c.name;
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
  MemoryImage image = MemoryImage::NewDocument();
  ASSERT_EQ(SaveDatFile(path, image.bytes.data(), image.kSize), DatFileError::kNone);
  EXPECT_EQ(dir.Read("radio.dat"), ImageText(image));
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms(0640));

  // Saving through a symbolic link replaces the file it points to.
  std::filesystem::create_symlink("radio.dat", dir.path() / "link.dat");
  image[0x100] = 0x42;
  ASSERT_EQ(SaveDatFile(dir.File("link.dat"), image.bytes.data(), image.kSize), DatFileError::kNone);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.dat"));
  EXPECT_EQ(dir.Read("radio.dat"), ImageText(image));

  // Nothing but the files themselves is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(DatFileTest, FailedSaveLeavesThePreviousFile) {
  test::TempDir dir;
  const std::string old = Pattern(1024);
  const std::string path = dir.Write("radio.dat", old);
  const MemoryImage image = MemoryImage::NewDocument();

  // The disk fills up half-way through the write: a file size limit makes
  // the write fail after 100 bytes.
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &tight);
  const DatFileError full = SaveDatFile(path, image.bytes.data(), image.kSize);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(full, DatFileError::kCannotWrite);
  EXPECT_EQ(dir.Read("radio.dat"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "a temporary file was left behind";

  // A folder that does not exist, and a folder in the file's place.
  EXPECT_EQ(SaveDatFile(dir.File("no/such/radio.dat"), image.bytes.data(), image.kSize),
            DatFileError::kCannotWrite);
  std::filesystem::create_directory(dir.path() / "folder.dat");
  EXPECT_EQ(SaveDatFile(dir.File("folder.dat"), image.bytes.data(), image.kSize),
            DatFileError::kCannotWrite);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.dat"));
}

}  // namespace
}  // namespace varo::model16
