#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <chrono>
#include <thread>

#include "platform/ProgramFiles.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"

namespace varo {
namespace {

using test::TempDir;

TEST(ProgramFiles, FindFileNoCase) {
  TempDir dir;
  for (const char* name : {"English16.lng", "a.txt", "A.TXT"}) dir.Write(name, "");
  const std::string d = dir.path().string();
  struct Case {
    std::string dir, name;
    std::optional<std::string> found;
  };
  for (const Case& c : {Case{d, "ENGLISH16.LNG", d + "/English16.lng"},
                        Case{d + "/", "english16.lng", d + "/English16.lng"},
                        Case{d, "A.TXT", d + "/A.TXT"},  // an exact match is preferred
                        Case{d, "a.txt", d + "/a.txt"}, Case{d, "Chinese16.lng", std::nullopt},
                        Case{d + "/missing", "a.txt", std::nullopt}}) {
    EXPECT_EQ(FindFileNoCase(c.dir, c.name), c.found) << c.dir << " " << c.name;
  }
}

// Where a settings file lives follows from whether the user may write the
// program directory (its bits decide, for root as for anybody) and whether
// the user's own copy exists already.
TEST(ProgramFiles, SettingsFileInProgramFolderOrUsersCopy) {
  struct Case {
    int folderMode;
    bool ownCopy;
    bool readOwn, writeOwn;
  };
  for (const Case& c : {Case{0755, false, false, false}, Case{0755, true, false, false},
                        Case{0555, false, false, true}, Case{0555, true, true, true},
                        Case{0500, true, true, true}}) {
    SCOPED_TRACE(testing::Message() << std::oct << c.folderMode << " own copy " << c.ownCopy);
    TempDir dir;
    test::ScopedConfigHome home(dir.File("config"));
    std::filesystem::create_directory(dir.path() / "suite");
    const std::string installed = dir.Write("suite/Varo16.ini", "");
    std::filesystem::create_directories(dir.path() / "config/varo");
    const std::string own = dir.File("config/varo/Varo16.ini");
    if (c.ownCopy) dir.Write("config/varo/Varo16.ini", "");
    ::chmod(dir.File("suite").c_str(), static_cast<mode_t>(c.folderMode));
    SetProgramDirectory(dir.File("suite"));
    const SettingsFilePaths paths = LocateSettingsFile("Varo16.ini");
    const bool writable = FolderWritable(dir.File("suite"));
    SetProgramDirectory("");
    ::chmod(dir.File("suite").c_str(), 0755);
    EXPECT_EQ(writable, !c.writeOwn);
    EXPECT_EQ(paths, (SettingsFilePaths{c.readOwn ? own : installed, c.writeOwn ? own : installed}));
  }
  TempDir dir;
  // The installed file is found whatever the letter case of its name.
  const std::string upper = dir.Write("VARO16.INI", "");
  SetProgramDirectory(dir.path().string());
  EXPECT_EQ(LocateSettingsFile("Varo16.ini").read, upper);
  SetProgramDirectory("");
  EXPECT_FALSE(FolderWritable(dir.File("missing")));
  EXPECT_FALSE(FolderWritable(dir.Write("file", "")));
  // A suite under /usr (the Debian package's) keeps its files as installed,
  // also for root, to whom /usr/lib is writable.
  test::ScopedConfigHome home(dir.File("config"));
  SetProgramDirectory("/usr/lib");
  const SettingsFilePaths paths = LocateSettingsFile("Varo.ini");
  SetProgramDirectory("");
  EXPECT_EQ(paths, (SettingsFilePaths{"/usr/lib/Varo.ini", dir.File("config/varo/Varo.ini")}));
}

TEST(ProgramFiles, ProgramDirectoryIsTheExecutablesFolder) {
  EXPECT_TRUE(std::filesystem::exists(ProgramDirectory() + "core_tests"));
}

TEST(ProgramFiles, StartProgramDetached) {
  TempDir dir;
  const std::string script = dir.Write("Marker", "#!/bin/sh\necho \"$1 $2\" > \"$0.out\"\n");
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  ASSERT_TRUE(StartProgram(script, {"hello", "two words"}));
  // The program runs on its own; wait (boundedly) for its marker.
  std::string marker;
  for (int i = 0; i < 500 && marker.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    marker = dir.Read("Marker.out");
  }
  EXPECT_EQ(marker, "hello two words\n");
  // Nothing is left for us to reap.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  const std::string plain = dir.Write("NotExecutable", "#!/bin/sh\n");
  EXPECT_FALSE(StartProgram(dir.File("Missing")));
  EXPECT_FALSE(StartProgram(plain));
  EXPECT_FALSE(StartProgram(dir.path().string()));
}

}  // namespace
}  // namespace varo

namespace varo {
namespace {

// The user's settings and data folders follow the XDG variables when they are
// absolute paths, else the home folder.
TEST(ProgramFiles, UserFoldersFollowTheXdgRules) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  } saved[] = {{"HOME", {}}, {"XDG_CONFIG_HOME", {}}, {"XDG_DATA_HOME", {}}};
  for (Saved& s : saved)
    if (const char* v = std::getenv(s.name)) s.value = v;
  const struct {
    const char* xdg;  // both variables; nullptr: unset
    const char* settings;
    const char* data;
  } cases[] = {
      {nullptr, "/home/ann/.config/varo", "/home/ann/.local/share/varo"},
      {"/srv/x", "/srv/x/varo", "/srv/x/varo"},
      {"relative/x", "/home/ann/.config/varo", "/home/ann/.local/share/varo"},
  };
  ::setenv("HOME", "/home/ann", 1);
  for (const auto& c : cases) {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
      c.xdg ? ::setenv(name, c.xdg, 1) : ::unsetenv(name);
    EXPECT_EQ(UserSettingsDirectory(), c.settings) << (c.xdg ? c.xdg : "unset");
    EXPECT_EQ(UserDataDirectory(), c.data) << (c.xdg ? c.xdg : "unset");
  }
  for (const Saved& s : saved)
    s.value ? ::setenv(s.name, s.value->c_str(), 1) : ::unsetenv(s.name);
}

}  // namespace
}  // namespace varo
