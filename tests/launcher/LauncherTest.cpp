#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ini/IniProfile.h"
#include "launcher/Launcher.h"
#include "launcher/ProgramStarter.h"
#include "platform/ProgramFiles.h"
#include "support/TempDir.h"

namespace varo {
namespace {

using Language = Launcher::Language;
using List = std::vector<std::string>;

// Records every start instead of starting anything, with what the started
// program's INI held on disk at that moment (its language must be there).
class RecordingStarter : public ProgramStarter {
 public:
  explicit RecordingStarter(const test::TempDir& folder) : folder_(folder) {}
  bool Start(const std::string& path) override {
    started.push_back(path);
    std::string program = path.substr(path.rfind('/') + 1);
    program.resize(program.size() - std::string(ExecutableSuffix()).size());
    iniAtStart.push_back(folder_.Read(program + ".ini"));
    return result;
  }
  List started;
  List iniAtStart;
  bool result = true;

 private:
  const test::TempDir& folder_;
};

// The launcher over "Varo.ini" in a temporary folder standing as its own
// folder, with a stand-in for each of the four programmers.
class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    SetProgramDirectory(dir.path().string());
    for (const char* name : {"Varo16", "Varo199", "Varo199V2", "Varo199V3"}) {
      dir.Write(std::string(name) + ExecutableSuffix(), "#!/bin/sh\n");
      std::filesystem::permissions(Program(name), std::filesystem::perms::owner_all);
    }
  }
  ~LauncherTest() override { SetProgramDirectory(""); }

  Launcher& Start(const std::string& varoIni) {
    dir.Write("Varo.ini", varoIni);
    return Restart();
  }
  Launcher& Restart() {
    launcher.reset();
    ini = std::make_unique<IniProfile>(4);
    ini->Open("Varo.ini", true, true, false);
    launcher = std::make_unique<Launcher>(*ini, starter);
    launcher->Open();
    return *launcher;
  }
  std::string Program(const char* name) const { return dir.File(name) + ExecutableSuffix(); }

  test::TempDir dir;
  RecordingStarter starter{dir};
  std::unique_ptr<IniProfile> ini;
  std::unique_ptr<Launcher> launcher;
};

const std::string kFourProducts = "[Setup]\nType=Varo16,Varo199,Varo199V2,Varo199V3\n";

TEST_F(LauncherTest, DefaultPreselectsEntryAndOkStartsThatPositionsProduct) {
  Launcher& l = Start(kFourProducts + "Default=2\nAppName=Radio Suite\nLanguage=English\n");
  EXPECT_EQ(l.ProductNames(), (List{"Varo16", "Varo199", "Varo199V2", "Varo199V3"}));
  EXPECT_EQ(l.Selection(), 2);
  EXPECT_EQ(l.Caption(), "Radio Suite");

  l.Accept(l.Selection());
  EXPECT_EQ(starter.started, List{Program("Varo199V2")});
  // A missing product INI is created holding only the language, saved before the start.
  EXPECT_EQ(starter.iniAtStart, List{"[Setup]\nLanguage=English\n"});
}

TEST_F(LauncherTest, OkWithoutSelectionStartsV3AndStoresMinusOneEvenWhenTheStartFails) {
  starter.result = false;
  Launcher& l = Start(kFourProducts + "Default=9\n");
  EXPECT_EQ(l.Selection(), -1);  // outside the list
  l.Accept(l.Selection());
  EXPECT_EQ(starter.started, List{Program("Varo199V3")});
  EXPECT_EQ(starter.iniAtStart, List{"[Setup]\nLanguage=Chinese\n"});
  ini->Close();
  EXPECT_EQ(dir.Read("Varo.ini"), kFourProducts + "Default=-1\nLanguage=Chinese\n");
  EXPECT_EQ(Restart().Selection(), -1);
}

TEST_F(LauncherTest, OnlyExactEnglishShowsEnglishAndTheLanguageIsWrittenBack) {
  struct Case {
    const char* stored;  // nullptr: an empty launcher INI
    Language shown;
    const char* written;
  };
  for (const Case& c : {Case{"English", Language::English, "English"},
                        Case{"english", Language::Chinese, "Chinese"},
                        Case{"English // note", Language::Chinese, "Chinese"},
                        Case{nullptr, Language::Chinese, "Chinese"}}) {
    SCOPED_TRACE(c.stored ? c.stored : "(none)");
    Launcher& l = Start(c.stored ? std::string("[Setup]\nLanguage=") + c.stored + "\n" : "");
    EXPECT_EQ(l.CheckedLanguage(), c.shown);
    ini->Close();
    EXPECT_EQ(dir.Read("Varo.ini"), std::string("[Setup]\nLanguage=") + c.written + "\n");
  }
}

TEST_F(LauncherTest, ProductIniKeepsItsOtherSectionsAndKeys) {
  dir.Write("Varo16.ini",
            "; settings of the 16-channel programmer\n"
            "[Setup]\nLanguage = Chinese\nFont=Arial\n\n"
            "[English]\nCompany=Radio Works\n[Chinese]\nCompany=\xD6\xD0\xCE\xC4\n");
  EXPECT_EQ(Start(kFourProducts + "Language=English\n").Accept(0),
            Launcher::AcceptResult::kStarted);
  EXPECT_EQ(starter.iniAtStart,
            List{"[Setup]\nLanguage=English\nFont=Arial\n"
                 "[English]\nCompany=Radio Works\n[Chinese]\nCompany=\xD6\xD0\xCE\xC4\n"});
}

// A product INI that cannot be written (a folder in its place, a link to a
// device, a link to itself): the programmer would come up in a language that
// was never written, so nothing starts, "Default" keeps its value, and the
// message names the file in the launcher's language.
TEST_F(LauncherTest, ProductIniThatCannotBeWrittenStartsNothing) {
  const std::string ini16 = dir.File("Varo16.ini");
  struct Case {
    const char* what;
    std::function<void()> place;
    const char* language;
    std::string message;
  };
  const Case cases[] = {
      {"folder", [&] { std::filesystem::create_directory(ini16); }, "English",
       "Cannot write the file \"" + ini16 + "\". Varo16 was not started."},
      {"device", [&] { std::filesystem::create_symlink("/dev/null", ini16); }, "Chinese",
       "无法写入文件“" + ini16 + "”，Varo16 未启动。"},
      {"loop", [&] { std::filesystem::create_symlink("Varo16.ini", ini16); }, "English",
       "Cannot write the file \"" + ini16 + "\". Varo16 was not started."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.place();
    Launcher& l = Start(kFourProducts + "Default=2\nLanguage=" + c.language + "\n");
    EXPECT_EQ(l.Accept(0), Launcher::AcceptResult::kIniNotSaved);
    EXPECT_TRUE(starter.started.empty());
    EXPECT_EQ(l.SaveFailureText(Launcher::IniPath(Launcher::ProductAt(0)), Launcher::ProductAt(0)),
              c.message);
    ini->Close();
    EXPECT_EQ(Restart().Selection(), 2);
    std::filesystem::remove(ini16);
  }
  struct stat null {};
  ASSERT_EQ(::stat("/dev/null", &null), 0);
  EXPECT_TRUE(S_ISCHR(null.st_mode));
}

// A programmer that is not in the launcher's folder (the sibling programmers
// come apart from this suite), or is there without leave to run: nothing is
// written or started, "Default" keeps its value, and the message names the
// program in the launcher's language.
TEST_F(LauncherTest, MissingProgrammerIsNamedAndNothingChanges) {
  struct Case {
    int position;
    const char* program;
    bool file;  // a file without execute permission in its place
    const char* language;
    std::string message;
  };
  const std::string folder = dir.path().string() + "/";
  const Case cases[] = {
      {1, "Varo199", false, "English",
       "The program Varo199 is not in the folder \"" + folder +
           "\". It was not started; choose another product."},
      {2, "Varo199V2", true, "Chinese",
       "文件夹“" + folder + "”中没有程序 Varo199V2，未能启动；请选择其他产品。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    std::filesystem::remove(Program(c.program));
    if (c.file) dir.Write(std::string(c.program) + ExecutableSuffix(), "not a program");
    Launcher& l = Start(kFourProducts + "Default=0\nLanguage=" + c.language + "\n");
    EXPECT_EQ(l.Accept(c.position), Launcher::AcceptResult::kProgramMissing);
    EXPECT_EQ(l.MissingProgramText(Launcher::ProductAt(c.position)), c.message);
    EXPECT_TRUE(starter.started.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File(std::string(c.program) + ".ini")));
    ini->Close();
    EXPECT_EQ(Restart().Selection(), 0);
  }
}

TEST(LauncherRules, TypeSplitsAtEveryCommaWithoutTrimmingOrEmptyEntries) {
  EXPECT_EQ(Launcher::SplitTypes(""), List{});
  EXPECT_EQ(Launcher::SplitTypes(" A , B"), (List{" A ", " B"}));
  EXPECT_EQ(Launcher::SplitTypes(",A,,B,"), (List{"A", "B"}));
}

TEST(LauncherRules, DefaultReadsLikeAtoiAndPositionPicksProduct) {
  const std::pair<const char*, int> numbers[] = {
      // clang-format off
      {"", 0},     {" \t3", 3},  {"+1x", 1},  {"-1", -1},  {"abc", 0},  {"- 4", 0},
      {"99999999999", INT_MAX},  {"-99999999999", INT_MIN},
      // clang-format on
  };
  for (const auto& [text, value] : numbers) EXPECT_EQ(Launcher::ParsePosition(text), value) << text;

  const std::pair<int, std::string> products[] = {
      // clang-format off
      {0, "Varo16"},    {1, "Varo199"},    {2, "Varo199V2"},       {3, "Varo199V3"},
      {4, "Varo199V3"}, {-1, "Varo199V3"}, {INT_MIN, "Varo199V3"},
      // clang-format on
  };
  for (const auto& [position, program] : products) {
    EXPECT_EQ(Launcher::ProductAt(position).program, program) << position;
  }
}

}  // namespace
}  // namespace varo
