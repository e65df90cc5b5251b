#include <gtest/gtest.h>

#include <climits>
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

// Records every start instead of starting anything.
class RecordingStarter : public ProgramStarter {
 public:
  bool Start(const std::string& path) override {
    started.push_back(path);
    return result;
  }
  List started;
  bool result = true;
};

// The launcher over "Varo.ini" in a temporary folder standing as its own folder.
class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() { SetProgramDirectory(dir.path().string()); }
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
  RecordingStarter starter;
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
  // A missing product INI is created holding only the language.
  EXPECT_EQ(dir.Read("Varo199V2.ini"), "[Setup]\nLanguage=English\n");
}

TEST_F(LauncherTest, OkWithoutSelectionStartsV3AndStoresMinusOneEvenWhenTheStartFails) {
  starter.result = false;
  Launcher& l = Start(kFourProducts + "Default=9\n");
  EXPECT_EQ(l.Selection(), -1);  // outside the list
  l.Accept(l.Selection());
  EXPECT_EQ(starter.started, List{Program("Varo199V3")});
  EXPECT_EQ(dir.Read("Varo199V3.ini"), "[Setup]\nLanguage=Chinese\n");
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
  Start(kFourProducts + "Language=English\n").Accept(0);
  EXPECT_EQ(dir.Read("Varo16.ini"),
            "[Setup]\nLanguage=English\nFont=Arial\n"
            "[English]\nCompany=Radio Works\n[Chinese]\nCompany=\xD6\xD0\xCE\xC4\n");
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
