#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "support/TempDir.h"

namespace varo {
namespace {

using test::TempDir;

// Sets an environment variable for one test and puts the old value back.
class EnvGuard {
 public:
  EnvGuard(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~EnvGuard() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(Registry, ValuesSharedThroughTheStoreFile) {
  TempDir dir;
  EnvGuard xdg("XDG_CONFIG_HOME", dir.path().c_str());
  ASSERT_EQ(Registry::StorePath(), dir.File("varo/registry.ini"));

  Registry key("Software\\Varo16");
  EXPECT_EQ(dir.Read("varo/registry.ini"), "[Software\\Varo16]\n");
  EXPECT_EQ(key.QueryDword("com"), std::nullopt);

  EXPECT_TRUE(key.SetDword("com", 3));
  EXPECT_TRUE(key.SetDword("Field", 0xFFFFFFFFu));
  Registry other("software\\varo16");
  EXPECT_EQ(other.QueryDword("COM"), 3u);
  EXPECT_EQ(other.QueryDword("Field"), 0xFFFFFFFFu);
  EXPECT_EQ(Registry("Software\\Varo199V3").QueryDword("com"), std::nullopt);
  EXPECT_FALSE(key.SetDword("", 1));
}

TEST(Registry, UnreadableValuesAreMissing) {
  TempDir dir;
  EnvGuard xdg("XDG_CONFIG_HOME", dir.path().c_str());
  std::filesystem::create_directories(dir.path() / "varo");
  dir.Write("varo/registry.ini", "[Software\\V]\na=abc\nb=4294967296\nc=-1\nd=\ne= 12 \n");
  Registry key("Software\\V");
  for (const char* name : {"a", "b", "c", "d"}) EXPECT_EQ(key.QueryDword(name), std::nullopt) << name;
  EXPECT_EQ(key.QueryDword("e"), 12u);
}

TEST(Registry, StoreLocation) {
  TempDir dir;
  EnvGuard home("HOME", dir.path().c_str());
  {
    EnvGuard xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(Registry::StorePath(), dir.File(".config/varo/registry.ini"));
  }
  {
    EnvGuard xdg("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(Registry::StorePath(), dir.File(".config/varo/registry.ini"));
  }
  // A store that cannot be made: nothing is stored, nothing is found.
  EnvGuard xdg("XDG_CONFIG_HOME", dir.Write("a-file", "").c_str());
  Registry key("Software\\V");
  EXPECT_FALSE(key.SetDword("com", 1));
  EXPECT_EQ(key.QueryDword("com"), std::nullopt);
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  TempDir dir;
  EnvGuard xdg("XDG_CONFIG_HOME", dir.path().c_str());
  constexpr int kWriters = 4;
  constexpr int kValues = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Registry key("Software\\V");
      bool ok = true;
      for (int v = 0; v < kValues; ++v) {
        ok = key.SetDword("w" + std::to_string(w) + "v" + std::to_string(v), static_cast<std::uint32_t>(v)) && ok;
      }
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
    for (int v = 0; v < kValues; ++v) {
      EXPECT_EQ(key.QueryDword("w" + std::to_string(w) + "v" + std::to_string(v)), static_cast<std::uint32_t>(v));
    }
  }
}

}  // namespace
}  // namespace varo
