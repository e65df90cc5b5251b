#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "lang/LanguageModule.h"
#include "support/TempDir.h"

namespace varo {
namespace {

TEST(LanguageModule, ReadsEveryKindOfBlock) {
  LanguageModule m;
  m.LoadText(
      "\xEF\xBB\xBF; a module\r\n"
      "[strings]\r\n"
      "61452 = All data will be Cleared!\r\n"
      "32773=Read Data From Radio\\nRead\n"
      "[menu 129]\n"
      "popup = &File\n"
      "57600 = &New\\tCtrl+N\n"
      "separator\n"
      "57665 = E&xit\n"
      "popup = &Help\n"
      "57664 = &About\n"
      "[accelerators 128]\n"
      "57600 = Ctrl+N\n"
      "57681 = Shift+F6\n"
      "[toolbar 128]\n"
      "57600\n"
      "-\n"
      "32773\n"
      "[dialog 135]\n"
      "caption = COM Setup\n"
      "1007 = COM1\n"
      "label.1118 = Time-Out Timer\n");
  EXPECT_TRUE(m.Warnings().empty());
  EXPECT_EQ(m.String(61452), "All data will be Cleared!");
  EXPECT_EQ(SplitCommandPrompt(m.String(32773)).prompt, "Read Data From Radio");
  EXPECT_EQ(SplitCommandPrompt(m.String(32773)).tooltip, "Read");
  EXPECT_EQ(m.String(1, "fallback"), "fallback");

  const auto& menu = m.Menu(129);
  ASSERT_EQ(menu.size(), 2u);
  EXPECT_EQ(menu[0].text, "&File");
  ASSERT_EQ(menu[0].items.size(), 3u);
  EXPECT_EQ(menu[0].items[0].id, 57600);
  EXPECT_EQ(menu[0].items[0].text, "&New\tCtrl+N");
  EXPECT_EQ(menu[0].items[1].id, 0);

  ASSERT_EQ(m.Accelerators(128).size(), 2u);
  EXPECT_EQ(m.Accelerators(128)[1].id, 57681);
  EXPECT_EQ(m.Accelerators(128)[1].keys, "Shift+F6");
  EXPECT_EQ(m.Toolbar(128), (std::vector<int>{57600, 0, 32773}));

  EXPECT_EQ(m.DialogText(135, "caption", ""), "COM Setup");
  EXPECT_EQ(m.DialogText(135, 1007), "COM1");
  EXPECT_EQ(m.DialogText(135, "label.1118", ""), "Time-Out Timer");
  EXPECT_FALSE(m.DialogText(135, "1010").has_value());
}

TEST(LanguageModule, TextEscapesAndTrimming) {
  const std::pair<const char*, const char*> cases[] = {
      // clang-format off
      {"1 =   plain text   ", "plain text"},         {"1 = a = b", "a = b"},  {"1 =", ""},
      {"1 = a\\tb", "a\tb"},                         {"1 = a\\nb", "a\nb"},
      {"1 = \\s lead", "  lead"},                    {"1 = back\\\\slash", "back\\slash"},
      {"1 = unknown \\q stays", "unknown \\q stays"}, {"1 = trailing\\", "trailing\\"},
      {"1 = \xE4\xBF\xA1\xE9\x81\x93", "\xE4\xBF\xA1\xE9\x81\x93"},  // UTF-8 kept as it is
      {"1 = \xD0\xC5\xB5\xC0", "\xD0\xC5\xB5\xC0"},                  // and GBK
      {"1 = old\n1 = new", "new"},                                   // a later line replaces
      // clang-format on
  };
  for (const auto& [line, expected] : cases) {
    LanguageModule m;
    m.LoadText(std::string("[strings]\n") + line + "\n");
    EXPECT_EQ(m.String(1, "<none>"), expected) << line;
  }
}

// Each damaged line is skipped with a warning; string 7 after it still loads.
TEST(LanguageModule, SkipsDamagedLinesAndKeepsTheRest) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"orphan\n", 1},
      {"[strings]\nseven = 7\n", 1},
      {"[strings]\n7 seven\n", 1},
      {"[strings\n7 = lost\n", 1},
      {"[pictures 3]\nx = y\n", 1},
      {"[menu]\n", 1},
      {"[menu 1]\n5 = early\nseparator\npopup = P\nbad line\n", 3},
      {"[toolbar 1]\nNew\n", 1},
      {"[accelerators 1]\n5 =\n", 1},
      {"[dialog 1]\ncaption\n", 1},
  };
  for (const auto& [damaged, warnings] : cases) {
    LanguageModule m;
    m.LoadText(std::string(damaged) + "[strings]\n7 = seven\n");
    EXPECT_EQ(m.String(7), "seven") << damaged;
    EXPECT_EQ(m.Warnings().size(), warnings) << damaged;
  }
}

// The least a module must carry: the frame title and the menu bar shown
// without a document.
constexpr char kMinimal[] = "[strings]\n128 = Title\n[menu 128]\npopup = &File\n";

TEST(LanguageModule, FileLoadingAndLookupIgnoreLetterCase) {
  test::TempDir dir;
  dir.Write("chinese16.LNG", std::string(kMinimal) + "[strings]\n1 = zh\n");
  dir.Write("English16.lng", std::string(kMinimal) + "[strings]\n1 = en\n");
  const std::pair<const char*, const char*> cases[] = {
      {"Chinese", "zh"}, {"CHINESE", "zh"}, {"english", "en"}, {"", nullptr}, {"French", nullptr}};
  for (const auto& [language, expected] : cases) {
    auto path = FindLanguageModule(dir.path().string(), language, "16.lng");
    ASSERT_EQ(path.has_value(), expected != nullptr) << language;
    if (!path) continue;
    LanguageModule m;
    ASSERT_TRUE(m.LoadFile(*path));
    EXPECT_EQ(m.String(1), expected);
    EXPECT_EQ(m.Path(), *path);
  }
  LanguageModule missing;
  EXPECT_FALSE(missing.LoadFile(dir.File("16.lng")));
  EXPECT_FALSE(missing.IsLoaded());
}

// A file that is no usable module is refused like a missing one, so the
// program stops at start-up instead of showing a window without menus.
TEST(LanguageModule, RefusesFilesWithoutTitleAndMenu) {
  const std::pair<std::string, bool> cases[] = {
      {kMinimal, true},
      {"", false},
      {std::string("\x00\x9F\xFF[\x01\n=\x80\x00", 10), false},  // random bytes
      {"just some notes\nnothing more\n", false},
      {"[strings]\n128 = Title\n", false},                           // no menu
      {"[strings]\n128 = Title\n[menu 128]\n", false},              // a menu without popups
      {"[strings]\n128 = Title\n[menu 129]\npopup = &File\n", false},  // only the other menu
      {"[menu 128]\npopup = &File\n[strings]\n129 = x\n", false},      // no title
  };
  test::TempDir dir;
  for (const auto& [text, usable] : cases) {
    const std::string path = dir.Write("Test16.lng", text);
    LanguageModule m;
    EXPECT_EQ(m.LoadFile(path), usable) << text;
    EXPECT_EQ(m.IsLoaded(), usable) << text;
    if (!usable) {
      EXPECT_EQ(m.String(128, "<none>"), "<none>") << "a refused module kept its texts";
    }
  }
}

// Both programmers' modules in both languages carry the texts the program
// asks for, under the same identifiers everywhere, so no text is missing in
// either language; each has its own program's dialogs and menus.
TEST(LanguageModule, DeliveredModulesMatchEachOther) {
  const struct {
    const char* suffix;
    std::vector<int> dialogs;  // besides About, control bar, Process, options, Language, COM, Product
    bool scanInfo;
    const char* documentType;
    const char* program;  // the subfolder of its own help pages
  } programs[] = {{"16", {133}, true, "Varo_16.Document", "Varo16"},
                  {"199V3", {}, false, "Varo_199.Document", "Varo199V3"}};
  const std::string dir = std::string(VARO_SOURCE_DIR) + "/resources/suite/";
  for (const auto& p : programs) {
    SCOPED_TRACE(p.suffix);
    LanguageModule en;
    LanguageModule zh;
    ASSERT_TRUE(en.LoadFile(dir + "English" + p.suffix + ".lng"));
    ASSERT_TRUE(zh.LoadFile(dir + "Chinese" + p.suffix + ".lng"));
    EXPECT_TRUE(en.Warnings().empty()) << en.Warnings().front();
    EXPECT_TRUE(zh.Warnings().empty()) << zh.Warnings().front();

    // Strings the program asks for by number.
    for (int id : {128, 129, 61448, 61449, 61450, 61451, 61452, 61453, 61454, 61455, 61456, 61457,
                   61458, 61459, 61460, 32773, 32774}) {
      EXPECT_TRUE(en.HasString(id)) << id;
    }
    EXPECT_EQ(en.StringIds(), zh.StringIds());  // so Chinese has them too
    EXPECT_NE(en.String(129).find(p.documentType), std::string::npos);

    auto menuIds = [](const std::vector<LanguageModule::MenuPopup>& menu) {
      std::vector<int> ids;
      for (const auto& popup : menu) {
        ids.push_back(-1);
        for (const auto& item : popup.items) ids.push_back(item.id);
      }
      return ids;
    };
    EXPECT_EQ(menuIds(en.Menu(128)), menuIds(zh.Menu(128)));
    EXPECT_EQ(menuIds(en.Menu(129)), menuIds(zh.Menu(129)));
    ASSERT_EQ(en.Menu(129).size(), 6u);  // Help is the sixth popup
    const auto& program = en.Menu(129)[2].items;
    EXPECT_EQ(std::count_if(program.begin(), program.end(),
                            [](const auto& item) { return item.id == 32782; }),
              p.scanInfo ? 1 : 0);
    EXPECT_EQ(en.Toolbar(128), zh.Toolbar(128));
    ASSERT_EQ(en.Accelerators(128).size(), zh.Accelerators(128).size());
    // F1 on a menu item opens the page of its command, in both help folders:
    // the program's own page or the shared one.
    for (int menu : {128, 129}) {
      for (int id : menuIds(en.Menu(menu))) {
        if (id <= 0) continue;
        for (const char* folder : {"enHelp/", "chHelp/"}) {
          const std::string page = std::to_string(id) + ".html";
          EXPECT_TRUE(std::filesystem::is_regular_file(dir + folder + p.program + "/" + page) ||
                      std::filesystem::is_regular_file(dir + folder + page))
              << folder << id;
        }
      }
    }

    std::vector<int> dialogs = {100, 130, 131, 132, 134, 135, 136};
    dialogs.insert(dialogs.end(), p.dialogs.begin(), p.dialogs.end());
    for (int d : dialogs) {
      EXPECT_FALSE(en.DialogKeys(d).empty()) << d;
      EXPECT_EQ(en.DialogKeys(d), zh.DialogKeys(d)) << d;
    }
    EXPECT_EQ(en.DialogKeys(133).empty(), !p.scanInfo);
  }
}

}  // namespace
}  // namespace varo
