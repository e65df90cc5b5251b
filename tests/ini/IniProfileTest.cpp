#include "ini/IniProfile.h"

#include <gtest/gtest.h>

#include <functional>

#include "ini/FileText.h"
#include "platform/ProgramFiles.h"
#include "support/TempDir.h"

namespace varo {
namespace {

using test::TempDir;

struct ReadCase {
  const char* name;
  std::string file;
  std::string section, key, defaultValue;
  std::string expected;
  bool ignoreCase = true;
};

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ValueAsRead) {
  const ReadCase& c = GetParam();
  TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("t.ini", c.file), false, c.ignoreCase, false));
  EXPECT_EQ(ini.GetValue(c.section, c.key, c.defaultValue), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniRead,
    testing::Values(
        ReadCase{"BlanksTrimmedKeyCaseBlind", "[Setup]\n  Language  =  English  \n", "SETUP", "language", "x", "English"},
        ReadCase{"ByteWiseWhenCaseMatters", "[Setup]\nLanguage=English\n", "Setup", "language", " d ", "d", false},
        ReadCase{"CrLfLines", "[S]\r\nK=v\r\nL=w\r\n", "S", "K", "", "v"},
        ReadCase{"SemicolonComment", "[S]\n;K=1\n", "S", "K", " d ", "d"},
        ReadCase{"SlashComment", "[S]\n//K=1\n", "S", "K", "d", "d"},
        ReadCase{"BackslashComment", "[S]\n\\K=1\n", "S", "K", "d", "d"},
        ReadCase{"StarComment", "[S]\n*K=1\n", "S", "*K", "d", "d"},
        ReadCase{"LineStartingWithEqualsDropped", "[S]\n=K\n", "S", "", "d", "d"},
        ReadCase{"DoubleSlashCutKeepsBlank", "[S]\nK=abc // note\n", "S", "K", "", "abc "},
        ReadCase{"TabSemicolonCut", "[S]\nK=abc\t; note\n", "S", "K", "", "abc"},
        ReadCase{"SlashStarCut", "[S]\nK=abc/* note */\n", "S", "K", "", "abc"},
        ReadCase{"KeyWithoutEquals", "[S]\nFlag\n", "S", "Flag", "d", ""},
        ReadCase{"LastKeyWins", "[S]\nK=1\nk=2\n", "S", "K", "", "2"},
        ReadCase{"FirstSectionWins", "[S]\nK=1\n[s]\nK=2\n", "S", "K", "", "1"},
        ReadCase{"MissingSectionDefaultUntouched", "[S]\nK=1\n", "T", "K", "  d  ", "  d  "},
        ReadCase{"MissingKeyDefaultTrimmed", "[S]\nK=1\n", "S", "L", " \td  ", "d"},
        ReadCase{"KeysBeforeFirstHeader", "K=0\n[S]\nK=1\n", "", "K", "", "0"},
        ReadCase{"HeaderNameNotTrimmedAgain", "[ S ]\nK=1\n", " S ", "K", "", "1"},
        ReadCase{"EmptyHeaderIsSection", "[S]\nK=1\n[]\nK=2\n", "S", "K", "", "1"},
        ReadCase{"GbkValue", "[S]\nName=\xC4\xE3\xBA\xC3\n", "S", "Name", "", "\xC4\xE3\xBA\xC3"},
        // GBK 0x81 0x41 and 0x81 0x61 are two different characters.
        ReadCase{"GbkTrailByteNotFolded", "[\x81\x41]\nK=1\n[\x81\x61]\nK=2\n", "\x81\x61", "K", "", "2"},
        ReadCase{"Utf8LettersFolded", "[\xE4\xB8\xAD" "A]\nK=1\n", "\xE4\xB8\xAD" "a", "K", "", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
  const char* name;
  std::string file;
  std::function<void(IniProfile&)> edit;
  std::string expected;
};

class IniWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, SavedText) {
  const WriteCase& c = GetParam();
  TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("t.ini", c.file), false, true, false));
  c.edit(ini);
  EXPECT_EQ(ini.Save(false), "");
  EXPECT_EQ(dir.Read("t.ini"), c.expected);
}

void SetK3(IniProfile& ini) { ini.SetValue("S", "K", "3"); }

INSTANTIATE_TEST_SUITE_P(
    Rules, IniWrite,
    testing::Values(
        WriteCase{"NewFileTwoLines", "", [](IniProfile& i) { i.SetValue("Setup", "Language", "English"); },
                  "[Setup]\nLanguage=English\n"},
        WriteCase{"CommentsAndBlanksDroppedBareKeyGetsEquals", "; c\n\n[S]\nFlag\n  K = v \n", SetK3,
                  "[S]\nFlag=\nK=3\n"},
        WriteCase{"LastDuplicateKeyReplaced", "[S]\nK=1\nK=2\n", SetK3, "[S]\nK=1\nK=3\n"},
        WriteCase{"FirstDuplicateSectionWrittenBothKept", "[S]\nK=1\n[S]\nK=2\n", SetK3, "[S]\nK=3\n[S]\nK=2\n"},
        WriteCase{"LeadingKeysHaveNoHeader", "A=1\n[S]\nB=2\n", SetK3, "A=1\n[S]\nB=2\nK=3\n"},
        WriteCase{"LaterEmptyHeaderKept", "[S]\nA=1\n[]\nB=2\n", SetK3, "[S]\nA=1\nK=3\n[]\nB=2\n"},
        WriteCase{"GbkBytesRoundTrip", "[\xD6\xD0]\nName=\xC4\xE3\xBA\xC3\n[S]\n", SetK3,
                  "[\xD6\xD0]\nName=\xC4\xE3\xBA\xC3\n[S]\nK=3\n"},
        WriteCase{"ManySectionsGrowSlots", "[A]\na=1\n[B]\n[C]\nc=3\n[D]\n[E]\ne=5\n[F]\n",
                  [](IniProfile& i) {
                    for (const char* s : {"G", "H", "I", "J"}) i.SetValue(s, "k", s);
                    i.SetValue("A", "a", "0");
                  },
                  "[A]\na=0\n[B]\n[C]\nc=3\n[D]\n[E]\ne=5\n[F]\n[G]\nk=G\n[H]\nk=H\n[I]\nk=I\n[J]\nk=J\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MarkCase {
  const char* name;
  std::string section, key, value;
  bool modified;
  std::string readBack;
};

class IniModifiedMark : public testing::TestWithParam<MarkCase> {};

TEST_P(IniModifiedMark, SetValue) {
  const MarkCase& c = GetParam();
  TempDir dir;
  const std::string original = "[S]\n; kept unless written\nK=Value\n";
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("t.ini", original), true, true, false));
  ini.SetValue(c.section, c.key, c.value);
  EXPECT_EQ(ini.IsModified(), c.modified);
  EXPECT_EQ(ini.GetValue(c.section, c.key, "-"), c.readBack);
  ini.Close();  // auto-save writes only a modified model
  EXPECT_EQ(dir.Read("t.ini") == original, !c.modified);
}

INSTANTIATE_TEST_SUITE_P(Rules, IniModifiedMark,
                         testing::Values(MarkCase{"SameValue", "S", "K", "Value", false, "Value"},
                                         MarkCase{"LetterCaseOnly", "s", "k", "VALUE", false, "VALUE"},
                                         MarkCase{"OtherValue", "S", "K", "Other", true, "Other"},
                                         MarkCase{"NewKey", "S", "L", "Value", true, "Value"},
                                         MarkCase{"NewSection", "T", "K", "Value", true, "Value"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IniProfile, MissingFileCreatedEmptyInProgramDirectory) {
  TempDir dir;
  SetProgramDirectory(dir.path().string());
  IniProfile ini;
  bool opened = ini.Open("Varo16.ini", true, true, false);
  SetProgramDirectory("");
  ASSERT_TRUE(opened);
  EXPECT_EQ(ini.Path(), dir.File("Varo16.ini"));
  EXPECT_TRUE(std::filesystem::exists(dir.File("Varo16.ini")));
  // The empty file has only the nameless section: a key there is missing
  // (trimmed default), a named section is missing (default untouched).
  EXPECT_EQ(ini.GetValue("", "Language", "  English "), "English");
  EXPECT_EQ(ini.GetValue("Setup", "Language", "  English "), "  English ");
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
  EXPECT_EQ(ini.Save(false), "");  // not modified: nothing written
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

struct BackupCase {
  const char* name;
  std::vector<std::string> siblings;
  std::string expected;
};

class IniBackup : public testing::TestWithParam<BackupCase> {};

TEST_P(IniBackup, NumberedCopy) {
  const BackupCase& c = GetParam();
  TempDir dir;
  for (const std::string& s : c.siblings) dir.Write(s, "x");
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("Varo16.ini", "[S]\nK=old\n"), true, true, true));
  ini.SetValue("S", "K", "new");
  EXPECT_EQ(ini.Save(true), dir.File(c.expected));
  EXPECT_EQ(dir.Read(c.expected), "[S]\nK=old\n");
  EXPECT_EQ(dir.Read("Varo16.ini"), "[S]\nK=new\n");
  // The same object keeps its backup path; the auto-save at close refreshes it.
  ini.SetValue("S", "K", "newer");
  ini.Close();
  EXPECT_EQ(dir.Read(c.expected), "[S]\nK=new\n");
  EXPECT_EQ(dir.Read("Varo16.ini"), "[S]\nK=newer\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniBackup,
    testing::Values(BackupCase{"First", {}, "Varo16.ini.001"},
                    BackupCase{"AfterNumberThree", {"Varo16.ini.003", "Varo16.exe"}, "Varo16.ini.004"},
                    BackupCase{"HighestOfSeveralCaseBlind", {"VARO16.INI.007", "varo16.ini.002", "Other.ini.009"},
                               "Varo16.ini.008"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileText, InPlaceOverwriteLeavesExactlyNewText) {
  TempDir dir;
  const std::string path = dir.Write("t.ini", "[Long]\nold text that is much longer than the new one\n");
  ASSERT_TRUE(OverwriteFileInPlace(path, "[S]\nK=1\n"));
  EXPECT_EQ(dir.Read("t.ini"), "[S]\nK=1\n");
  EXPECT_FALSE(OverwriteFileInPlace(dir.File("missing.ini"), "x"));
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.ini")));
}

}  // namespace
}  // namespace varo
