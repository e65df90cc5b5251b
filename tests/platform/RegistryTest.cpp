#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "ini/Registry.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo {
namespace {

TEST(Registry, ValuesSharedThroughTheStoreFile) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.path().string());
  ASSERT_EQ(Registry::StorePath(), dir.File("varo/registry.ini"));

  Registry key("Software\\Varo16");
  EXPECT_EQ(dir.Read("varo/registry.ini"), "[Software\\Varo16]\n");  // created on open
  EXPECT_EQ(key.QueryDword("com"), std::nullopt);
  EXPECT_TRUE(key.SetDword("com", 3));
  EXPECT_TRUE(key.SetDword("Field", 0xFFFFFFFFu));
  Registry other("software\\varo16");
  EXPECT_EQ(other.QueryDword("COM"), 3u);
  EXPECT_EQ(other.QueryDword("Field"), 0xFFFFFFFFu);
  EXPECT_EQ(Registry("Software\\Varo199V3").QueryDword("com"), std::nullopt);
  EXPECT_FALSE(key.SetDword("", 1));

  dir.Write("varo/registry.ini", "[Software\\V]\na=abc\nb=4294967296\nc=-1\nd=\ne= 12 \n");
  Registry edited("Software\\V");
  for (const char* name : {"a", "b", "c", "d"}) {
    EXPECT_EQ(edited.QueryDword(name), std::nullopt) << name;
  }
  EXPECT_EQ(edited.QueryDword("e"), 12u);
}

// Strings come back byte for byte, whatever the INI reader would cut or trim
// and whatever their letter case, and stay readable in the file.
TEST(Registry, StringsRoundTrip) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.path().string());
  Registry key("Software\\Varo16");
  EXPECT_EQ(key.QueryString("Folder"), std::nullopt);
  for (const std::string& value :
       {std::string("/home/alice/Radios"), std::string("/home/Alice/Radios"), std::string(" /a b/c "),
        std::string("/x//y/*z*/;w\t;100%"), std::string(),
        std::string("/家/电台"), std::string("a\0b\nc", 6)}) {
    EXPECT_TRUE(key.SetString("Folder", value));
    EXPECT_EQ(Registry("software\\varo16").QueryString("folder"), value);
  }
  key.SetString("Folder", "/home/alice/Radios");
  EXPECT_EQ(dir.Read("varo/registry.ini"), "[Software\\Varo16]\nFolder=/home/alice/Radios\n");
  EXPECT_FALSE(key.SetString("", "x"));
}

TEST(Registry, StoreThatCannotBeMadeHoldsNothing) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.Write("a-file", ""));
  Registry key("Software\\V");
  EXPECT_FALSE(key.SetDword("com", 1));
  EXPECT_EQ(key.QueryDword("com"), std::nullopt);
}

// The store behind a chain of symbolic links (into a synchronised folder,
// say): the file at the end of the chain gets the values and the links stay;
// a link to itself is not written over.
TEST(Registry, StoreBehindLinks) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.path().string());
  std::filesystem::create_directories(dir.path() / "varo");
  std::filesystem::create_directories(dir.path() / "sync");
  dir.Write("sync/values.ini", "[Software\\V]\ncom=1\n");
  std::filesystem::create_symlink("values.ini", dir.path() / "sync/current.ini");
  const std::filesystem::path store = Registry::StorePath();
  std::filesystem::create_symlink("../sync/current.ini", store);

  Registry key("Software\\V");
  EXPECT_TRUE(key.SetDword("com", 2));
  EXPECT_TRUE(std::filesystem::is_symlink(store));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "sync/current.ini"));
  EXPECT_EQ(dir.Read("sync/values.ini"), "[Software\\V]\ncom=2\n");

  std::filesystem::remove(store);
  std::filesystem::create_symlink("registry.ini", store);
  EXPECT_FALSE(key.SetDword("com", 3));
  EXPECT_EQ(key.QueryDword("com"), std::nullopt);
  EXPECT_EQ(std::filesystem::read_symlink(store), "registry.ini");
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  test::TempDir dir;
  test::ScopedConfigHome home(dir.path().string());
  constexpr int kWriters = 4;
  constexpr int kValues = 25;
  auto name = [](int w, int v) { return "w" + std::to_string(w) + "v" + std::to_string(v); };
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Registry key("Software\\V");
      bool ok = true;
      for (int v = 0; v < kValues; ++v) ok = key.SetDword(name(w, v), static_cast<std::uint32_t>(v)) && ok;
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Registry key("Software\\V");
  for (int w = 0; w < kWriters; ++w) {
    for (int v = 0; v < kValues; ++v) EXPECT_EQ(key.QueryDword(name(w, v)), std::uint32_t(v));
  }
}

}  // namespace
}  // namespace varo
