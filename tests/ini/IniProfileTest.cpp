#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <utility>

#include "ini/FileText.h"
#include "ini/IniProfile.h"
#include "platform/ProgramFiles.h"
#include "support/DiskFull.h"
#include "support/ScopedConfigHome.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

namespace varo {
namespace {

using test::RunUnprivileged;
using test::TempDir;

// One file holding every reading rule; each line of the table below looks
// one of them up. Read once with "\n" and once with "\r\n" line ends.
const std::string kRules =
    "Lead=0\n"
    "[Setup]\n"
    "  Language  =  English  \n"
    ";Semi=1\n//Slash=1\n\\Back=1\n*Star=1\n=Eq\n"
    "Cut1=abc // note\nCut2=abc\t; note\nCut3=abc/* note */\nCut4=a//*b\n"
    "Lone=a/b\nEqual=a=b\n"
    "Flag\n"
    "Dup=1\ndup=2\n"
    "[SETUP]\nDup=3\n"
    "[ Spaced ]\nK=1\n"
    "[]\nK=2\n"
    "[\x81\x41]\nK=gbk-upper-trail\n[\x81\x61]\nK=gbk-lower-trail\n"
    "[\xE4\xB8\xAD"
    "A]\nK=utf8\n"
    "[Gbk]\nName=\xC4\xE3\xBA\xC3\n";

TEST(IniProfile, ReadingRules) {
  struct Lookup {
    std::string section, key, defaultValue, expected;
  };
  const Lookup lookups[] = {
      {"setup", "LANGUAGE", "x", "English"},  // blanks trimmed, letter case ignored
      {"Setup", ";Semi", "d", "d"},  // comment lines are no keys, not even by their whole key
      {"Setup", "//Slash", "d", "d"},
      {"Setup", "\\Back", "d", "d"},
      {"Setup", "*Star", "d", "d"},
      {"Setup", "", "d", "d"},        // a line starting with "=" is dropped
      {"Setup", "Cut1", "", "abc "},  // "//" cut keeps the blank before it
      {"Setup", "Cut2", "", "abc"},
      {"Setup", "Cut3", "", "abc"},
      {"Setup", "Cut4", "", "a"},       // "//" is cut before "/*" (that would leave "a/")
      {"Setup", "Lone", "", "a/b"},     // a single '/' is no comment
      {"Setup", "Equal", "", "a=b"},    // split at the first '='
      {"Setup", "Flag", "d", ""},                // a line without "=" is a key
      {"Setup", "Dup", "", "2"},                 // last key wins, first section wins
      {"Setup", "Missing", " \td  ", "d"},       // missing key: default trimmed
      {"Nowhere", "K", "  d  ", "  d  "},        // missing section: default untouched
      {"", "Lead", "", "0"},                     // keys before the first header
      {" Spaced ", "K", "", "1"},                // header name not trimmed again
      {"\x81\x61", "K", "", "gbk-lower-trail"},  // a GBK trail byte is not folded
      {"\xE4\xB8\xAD"
       "a",
       "K", "", "utf8"},  // UTF-8 text is folded
      {"Gbk", "Name", "", "\xC4\xE3\xBA\xC3"},
  };
  // A UTF-8 byte-order mark in front is not part of the first line.
  const std::pair<const char*, const char*> forms[] = {
      {"", "\n"}, {"", "\r\n"}, {"\xEF\xBB\xBF", "\n"}};
  for (const auto& [start, lineEnd] : forms) {
    std::string text = start;
    for (char c : kRules) text += c == '\n' ? std::string(lineEnd) : std::string(1, c);
    TempDir dir;
    IniProfile ini;
    ASSERT_TRUE(ini.Open(dir.Write("t.ini", text), false, true, false));
    for (const Lookup& l : lookups) {
      EXPECT_EQ(ini.GetValue(l.section, l.key, l.defaultValue), l.expected)
          << "[" << l.section << "] " << l.key << " with line end "
          << (lineEnd[1] ? "CR LF" : "LF") << (*start ? " after a byte-order mark" : "");
    }
    IniProfile byteWise;
    ASSERT_TRUE(byteWise.Open(dir.path().string() + "/t.ini", false, false, false));
    EXPECT_EQ(byteWise.GetValue("setup", "Language", "d"), "d");
    EXPECT_EQ(byteWise.GetValue("SETUP", "Dup", "d"), "3");
  }
}

TEST(IniProfile, SavedText) {
  TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("t.ini",
                                 "; comment\n\nA=1\n[S]\nFlag\n  K = v \nK=2\n[S]\nK=9\n[]\nB=2\n"
                                 "[\xD6\xD0]\nName=\xC4\xE3\xBA\xC3\n[C]\n[D]\n"),
                       false, true, false));
  ini.SetValue("S", "K", "3");  // the last K of the first [S]
  ini.SetValue("G", "k", "g");  // nine sections in all: the slots grow twice
  ini.SetValue("H", "k", "h");
  EXPECT_EQ(ini.SectionNames().size(), 9u);
  ini.Save(false);
  // Comments and blank lines go, a bare key gets "=", both [S] stay, a later
  // "[]" keeps its header (else its keys would join the section before it).
  EXPECT_EQ(dir.Read("t.ini"),
            "A=1\n[S]\nFlag=\nK=v\nK=3\n[S]\nK=9\n[]\nB=2\n"
            "[\xD6\xD0]\nName=\xC4\xE3\xBA\xC3\n[C]\n[D]\n[G]\nk=g\n[H]\nk=h\n");
}

// The mark stays in front of the saved text, and the section after it is
// found, not appended a second time. A first key that begins with the mark's
// bytes (blanks stood before them) gets a mark in front, or reading the file
// again would take its bytes for the mark and rename the key.
TEST(IniProfile, ByteOrderMarkKeptOnSave) {
  const std::string kMark = "\xEF\xBB\xBF";
  struct { std::string file, key, saved; } cases[] = {
      {kMark + "[Setup]\r\nLanguage=English\r\n", "Language", kMark + "[Setup]\nLanguage=Chinese\n"},
      {" " + kMark + "Language=English\n", kMark + "Language", kMark + kMark + "Language=Chinese\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    IniProfile ini;
    ASSERT_TRUE(ini.Open(dir.Write("t.ini", c.file), false, true, false));
    const std::string section = c.key == "Language" ? "Setup" : "";
    ini.SetValue(section, c.key, "Chinese");
    ini.Save(false);
    EXPECT_EQ(dir.Read("t.ini"), c.saved);
    IniProfile again;
    ASSERT_TRUE(again.Open(dir.File("t.ini"), false, true, false));
    EXPECT_EQ(again.GetValue(section, c.key, "-"), "Chinese");
    EXPECT_EQ(again.Text(), c.saved);
  }
}

TEST(IniProfile, ModifiedMark) {
  struct Case {
    std::string section, key, value;
    bool modified;
  };
  for (const Case& c : {Case{"S", "K", "Value", false}, Case{"s", "k", "VALUE", false},
                        Case{"S", "K", "Other", true}, Case{"S", "L", "Value", true},
                        Case{"T", "K", "Value", true}}) {
    TempDir dir;
    const std::string original = "[S]\n; kept unless written\nK=Value\n";
    IniProfile ini;
    ASSERT_TRUE(ini.Open(dir.Write("t.ini", original), true, true, false));
    ini.SetValue(c.section, c.key, c.value);
    EXPECT_EQ(ini.IsModified(), c.modified) << c.section << "/" << c.key << "=" << c.value;
    EXPECT_EQ(ini.GetValue(c.section, c.key, "-"), c.value);  // a case change is still kept
    ini.Close();  // the auto-save writes only a modified model
    EXPECT_EQ(dir.Read("t.ini") == original, !c.modified);
  }
}

TEST(IniProfile, MissingFileCreatedEmptyInProgramDirectory) {
  TempDir dir;
  SetProgramDirectory(dir.path().string());
  IniProfile ini;
  bool opened = ini.Open("Varo16.ini", true, true, false);
  SetProgramDirectory("");
  ASSERT_TRUE(opened);
  EXPECT_EQ(ini.Path(), dir.File("Varo16.ini"));
  EXPECT_TRUE(std::filesystem::exists(dir.File("Varo16.ini")));
  ini.SetValue("Setup", "Language", "English");
  ini.Save(false);
  EXPECT_EQ(dir.Read("Varo16.ini"), "[Setup]\nLanguage=English\n");
}

// A suite installed read-only for many users: the installed INI is read
// until the user's copy exists; the first save makes that copy (the
// installed text with the change) in the user's settings folder, later runs
// read it, and the installed file never changes. An INI the installation
// lacks is created empty in the user's folder.
TEST(IniProfile, InstalledSuiteKeepsSettingsInTheUsersFolder) {
  TempDir dir;
  test::ScopedConfigHome home(dir.File("config"));
  std::filesystem::create_directory(dir.path() / "suite");
  const std::string installedText = "[Setup]\n; the shipped choice\nLanguage=English\n";
  const std::string installed = dir.Write("suite/Varo16.ini", installedText);
  ::chmod(dir.File("suite").c_str(), 0555);
  SetProgramDirectory(dir.File("suite"));
  const std::string own = dir.File("config/varo/Varo16.ini");
  struct Step {
    const char* change;  // the language set in this run, nullptr for none
    const char* seen;    // the language the run reads first
    bool ownCopy;        // whether the user's copy exists afterwards
  };
  for (const Step& step : {Step{nullptr, "English", false}, Step{"Chinese", "English", true},
                           Step{nullptr, "Chinese", true}, Step{"English", "Chinese", true}}) {
    IniProfile ini;
    ASSERT_TRUE(ini.Open("Varo16.ini", true, true, false));
    EXPECT_EQ(ini.Path(), own);
    EXPECT_EQ(ini.GetValue("Setup", "Language", ""), step.seen);
    if (step.change) ini.SetValue("Setup", "Language", step.change);
    ini.Close();
    EXPECT_EQ(std::filesystem::exists(own), step.ownCopy) << step.seen;
    if (step.change) {
      EXPECT_EQ(dir.Read("config/varo/Varo16.ini"),
                std::string("[Setup]\nLanguage=") + step.change + "\n");
    }
  }
  IniProfile launcherIni;
  EXPECT_TRUE(launcherIni.Open("Varo.ini", true, true, false));
  SetProgramDirectory("");
  EXPECT_EQ(dir.Read("config/varo/Varo.ini"), "");
  EXPECT_TRUE(std::filesystem::exists(dir.File("config/varo/Varo.ini")));
  EXPECT_EQ(dir.Read("suite/Varo16.ini"), installedText);
  EXPECT_FALSE(std::filesystem::exists(dir.File("suite/Varo.ini")));
  ::chmod(dir.File("suite").c_str(), 0755);
}

TEST(IniProfile, FileThatCannotBeOpenedLeavesNothingOpen) {
  TempDir dir;
  for (const std::string& path : {dir.File("no/such/dir/t.ini"), dir.path().string() + "/"}) {
    IniProfile ini;
    EXPECT_FALSE(ini.Open(path, true, true, false)) << path;
    EXPECT_FALSE(ini.IsOpen());
    ini.SetValue("S", "K", "v");
    EXPECT_EQ(ini.GetValue("S", "K", " d "), " d ");
    EXPECT_EQ(ini.Save(true), "");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
}

TEST(IniProfile, SaveKeepsModifiedMarkAndReopenSavesOldFile) {
  TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("a.ini", "[S]\nK=1\n"), false, true, false));
  ini.SetValue("S", "K", "2");
  ini.Save(false);
  dir.Write("a.ini", "changed behind our back\n");
  ini.Save(false);
  EXPECT_EQ(dir.Read("a.ini"), "[S]\nK=2\n");

  ini.SetValue("S", "K", "3");
  ASSERT_TRUE(ini.Open(dir.Write("b.ini", ""), false, true, false));
  EXPECT_EQ(dir.Read("a.ini"), "[S]\nK=3\n");
  EXPECT_FALSE(ini.IsModified());
}

TEST(IniProfile, NumberedBackups) {
  struct Case {
    std::vector<std::string> siblings;
    std::string expected;
  };
  for (const Case& c :
       {Case{{}, "Varo16.ini.001"}, Case{{"Varo16.ini.003", "Varo16.exe"}, "Varo16.ini.004"},
        Case{{"VARO16.INI.007", "varo16.ini.002", "Other.ini.009"}, "Varo16.ini.008"}}) {
    TempDir dir;
    for (const std::string& s : c.siblings) dir.Write(s, "x");
    IniProfile ini;
    ASSERT_TRUE(ini.Open(dir.Write("Varo16.ini", "[S]\nK=old\n"), true, true, true));
    ini.SetValue("S", "K", "new");
    EXPECT_EQ(ini.Save(true), dir.File(c.expected));
    EXPECT_EQ(dir.Read(c.expected), "[S]\nK=old\n");
    EXPECT_EQ(dir.Read("Varo16.ini"), "[S]\nK=new\n");
    // The object keeps its backup path; the auto-save at close refreshes that copy.
    ini.SetValue("S", "K", "newer");
    ini.Close();
    EXPECT_EQ(dir.Read(c.expected), "[S]\nK=new\n");
    EXPECT_EQ(dir.Read("Varo16.ini"), "[S]\nK=newer\n");
  }
}

// A save that cannot be finished (here a file-size limit, as a full disk
// would) leaves the old text whole and no temporary file behind.
TEST(IniProfile, FailedSaveKeepsTheOldText) {
  TempDir dir;
  const std::string old = "[Setup]\nLanguage=English\n";
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("t.ini", old), false, true, false));
  ini.SetValue("Setup", "Company", std::string(200, 'x'));

  const std::string backup = test::WithDiskFullAfter(100, [&] { return ini.Save(false); });

  EXPECT_EQ(backup, "");
  EXPECT_TRUE(ini.SaveFailed());
  EXPECT_EQ(dir.Read("t.ini"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  ini.Save(false);  // room again: the same model is written
  EXPECT_FALSE(ini.SaveFailed());
  EXPECT_EQ(dir.Read("t.ini"), old + "Company=" + std::string(200, 'x') + "\n");
}

// Saving through a chain of symbolic links replaces the file at its end
// (each relative link read from its own folder); the links stay, and the
// file keeps its mode and, where we may set it, its owner.
TEST(IniProfile, SaveThroughLinksReplacesTheFileAtTheEnd) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "real");
  const std::string real = dir.Write("real/Varo16.ini", "[Setup]\nLanguage=English\n");
  ::chmod(real.c_str(), 0640);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(real.c_str(), 65534, 65534), 0);
  }
  std::filesystem::create_symlink("Varo16.ini", dir.path() / "real/current.ini");
  std::filesystem::create_symlink("real/current.ini", dir.path() / "Varo16.ini");

  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.File("Varo16.ini"), false, true, false));
  ini.SetValue("Setup", "Language", "Chinese");
  ini.Save(false);
  EXPECT_FALSE(ini.SaveFailed());
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "Varo16.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "real/current.ini"));
  EXPECT_EQ(dir.Read("real/Varo16.ini"), "[Setup]\nLanguage=Chinese\n");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(uid_t{65534}, gid_t{65534}));
  }
}

// The permissions of the folder and the file decide how an ordinary user's
// save goes: a folder that takes no new file, holding a file we may write, is
// written in place (the same file, new text); a file we may not write stays
// as it is, although its folder would let us replace it.
TEST(IniProfile, PermissionsOfFolderAndFileDecideTheWay) {
  struct {
    int folderMode, fileMode;
    bool written, inPlace;
  } cases[] = {{0555, 0666, true, true}, {0777, 0444, false, false}, {0777, 0666, true, false}};
  const std::string old = "[Setup]\nLanguage=English\nFont=Arial\n";
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::oct << "folder " << c.folderMode << ", file "
                                    << c.fileMode);
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::create_directory(dir.path() / "f");
    const std::string path = dir.Write("f/t.ini", old);
    ::chmod(path.c_str(), static_cast<mode_t>(c.fileMode));
    ::chmod(dir.File("f").c_str(), static_cast<mode_t>(c.folderMode));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    const int status = RunUnprivileged([&path] {
      IniProfile ini;
      if (!ini.Open(path, false, true, false)) return 1;
      ini.SetValue("Setup", "Language", "Chinese");
      ini.Save(false);
      return ini.SaveFailed() ? 2 : 0;
    });
    ::chmod(dir.File("f").c_str(), 0755);
    EXPECT_EQ(status, c.written ? 0 : 2);
    EXPECT_EQ(dir.Read("f/t.ini"), c.written ? "[Setup]\nLanguage=Chinese\nFont=Arial\n" : old);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace || !c.written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "f"), {}), 1);
  }
}

TEST(FileText, InPlaceOverwriteLeavesExactlyNewText) {
  TempDir dir;
  const std::string path =
      dir.Write("t.ini", "[Long]\nold text that is much longer than the new one\n");
  ASSERT_TRUE(OverwriteFileInPlace(path, "[S]\nK=1\n"));
  EXPECT_EQ(dir.Read("t.ini"), "[S]\nK=1\n");
  EXPECT_FALSE(OverwriteFileInPlace(dir.File("missing.ini"), "x"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.ini")));
}

}  // namespace
}  // namespace varo
