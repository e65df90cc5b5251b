#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "ini/IniProfile.h"
#include "model16/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "model16/Report.h"
#include "radio/PrintLayout.h"
#include "support/PrintFixtures.h"
#include "support/TempDir.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

using test::FixedMetrics;
using test::Has;
using test::kA4;
constexpr int cu = test::kA4ColumnUnit, c = test::kA4MainLine, d = test::kA4SmallLine;
constexpr auto T = test::Text;

void Program(MemoryGrid& grid, long row) {
  const char* texts[] = {"145.50000", "146.50000", "67.0",    "D023N",
                         "Low",       "Yes",       "Carrier", "Narrow"};
  for (long col = kColRx; col <= kColWN; ++col) grid.SetTextMatrix(row, col, texts[col - 1]);
}


TEST(PrintLayoutTest, OptionsPageOfANewDocument) {
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = NewImage();
  PrintLayout layout(Table16(), Report16(), grid, image, kA4, FixedMetrics(), false, "Owner Co.");
  EXPECT_EQ(layout.smallFont().width, 144);  // its height shows in every line's place
  ASSERT_EQ(layout.PageCount(), 1);

  std::vector<DrawItem> expected;
  for (int y : {-2 * c - 50, -2 * c - 120, c / 2 - 36 * c}) {
    expected.push_back({DrawItem::Kind::kRule, FontRole::kMain, 5 * cu, y, 60 * cu, ""});
  }
  expected.push_back(T(FontRole::kMain, 6 * cu, -c, "Option"));
  expected.push_back(T(FontRole::kSmall, 6 * cu, -4 * d, "Function"));
  const std::pair<const char*, const char*> rows[] = {
      {"Time Out Timer:", "60s"},
      {"TOT Pre-Alert:", "8"},
      {"Sequelch Level:", "4"},
      {"Beep:", "On"},
      {"Vox Gain Level:", "5"},
      {"Vox Delay Time:", "1.0"},
      {"Call Tone:", "Off"},
      {"Battery Saver:", "On"},
      {"Voice Annunciation:", "Chinese"},
      {"VOX Function:", "On"},
      {"Scan Function:", "On"},
  };
  int k = 5;
  for (const auto& [label, value] : rows) {
    expected.push_back(T(FontRole::kSmall, 9 * cu, -k * d, label));
    expected.push_back(T(FontRole::kSmall, 35 * cu, -k * d, value));
    ++k;
  }
  expected.push_back(T(FontRole::kSmall, 10 * cu, -36 * c, "Owner Co."));
  expected.push_back(T(FontRole::kSmall, 45 * cu, -36 * c, "Page 1 of 1"));
  EXPECT_EQ(layout.Page(1).items, expected);
}

// One byte changed from a new document's, the row it shows in, the English
// and Chinese text; the ends of each range included.
TEST(PrintLayoutTest, OptionValuesFromImageBits) {
  struct { std::size_t offset; std::uint8_t value; std::size_t row; const char* en; const char* zh; } cases[] = {
      {0x130, 0xE8, 0, "600s", "600s"},  // 0x28 & 0x3F = 40
      {0x130, 0x00, 0, "0s", "0s"},
      {0x131, 0xF1, 1, "Off", "关"},      // pre-alert 1
      {0x131, 0x00, 1, "-1", "-1"},       // pre-alert 0: one below 0
      {0x131, 0x0F, 1, "14", "14"},
      {0x13A, 0x00, 4, "Off", "关"},      // vox gain 0
      {0x13B, 0x00, 5, "0.3", "0.3"},     // vox delay, first and last three
      {0x13B, 0x05, 5, "3.0", "3.0"},
      {0x13B, 0x06, 5, "3.0", "3.0"},
      {0x13B, 0xF7, 5, "3.0", "3.0"},
      {0x3F0, 0xFF, 6, "255", "255"},
      {0x12F, 0x03, 8, "English", "英文"},
      {0x12F, 0x00, 8, "Off", "关"},
      {0x3C7, 0x02, 9, "Off", "关"},      // VOX function bit 0
      {0x3C7, 0x02, 10, "On", "开"},      // scan function bit 1
  };
  for (const auto& k : cases) {
    MemoryImage image = NewImage();
    image[k.offset] = k.value;
    EXPECT_EQ(OptionsReport(image, false).at(k.row).second, k.en) << k.offset << "=" << int(k.value);
    EXPECT_EQ(OptionsReport(image, true).at(k.row).second, k.zh) << k.offset << "=" << int(k.value);
  }
}

// Run one after the other on the same table, so that jobs with fewer channels
// follow jobs with more.
TEST(PrintLayoutTest, PagePlans) {
  struct {
    const char* name;
    int firstRow, lastRow;
    std::vector<std::vector<int>> pages;
  } cases[] = {
      {"16", 1, 16, {{1, 2, 3, 4, 5, 6, 7}, {8, 9, 10, 11, 12, 13, 14}, {15, 16}}},
      {"rows 2-16", 2, 16, {{2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15}, {16}}},
      {"8", 1, 8, {{1, 2, 3, 4, 5, 6, 7}, {8}}},
      {"7", 1, 7, {{1, 2, 3, 4, 5, 6, 7}}},
      {"0", 0, 0, {}},
  };
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = NewImage();
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.name);
    for (long row = 1; row <= 16; ++row) grid.SetTextMatrix(row, kColRx, "");
    for (int row = cs.firstRow; row >= 1 && row <= cs.lastRow; ++row) Program(grid, row);
    PrintLayout layout(Table16(), Report16(), grid, image, kA4, FixedMetrics(), false, "");
    const int count = layout.PageCount();
    ASSERT_EQ(count, 1 + static_cast<int>(cs.pages.size()));
    for (int p = 1; p <= count; ++p) {
      const PrintPage page = layout.Page(p);
      EXPECT_EQ(page.items.back().text,
                "Page " + std::to_string(p) + " of " + std::to_string(count));
      std::vector<int> channels;
      for (const auto& item : page.items) {
        if (item.text.rfind("Channel ", 0) == 0 &&
            std::isdigit(static_cast<unsigned char>(item.text[8]))) {
          channels.push_back(std::atoi(item.text.c_str() + 8));
        }
      }
      EXPECT_EQ(channels, p == 1 ? std::vector<int>{} : cs.pages[static_cast<std::size_t>(p - 2)]);
    }
  }
}

TEST(PrintLayoutTest, ChannelBlocksInBothLanguages) {
  MemoryGrid grid(kTableRows, kTableCols);
  for (long row = 1; row <= 9; ++row) Program(grid, row);
  grid.SetTextMatrix(9, kColWN, "Wide");
  const MemoryImage image = NewImage();
  const PrintPage page = PrintLayout(Table16(), Report16(), grid, image, kA4, FixedMetrics(), false, "").Page(3);
  // Channel 8 in the top block, channel 9 one block (d x 5.7, truncated) lower.
  const int f = static_cast<int>(d * 5.7);
  const DrawItem wanted[] = {
      T(FontRole::kMain, 6 * cu, -c, "Channel"),
      T(FontRole::kSmall, 4 * cu, -4 * d, "Channel 8:"),
      T(FontRole::kSmall, 4 * cu, -f - 4 * d, "Channel 9:"),
      T(FontRole::kSmall, 5 * cu, -f - 5 * d, "Receive Frequency:"),
      T(FontRole::kSmall, 55 * cu, -f - 5 * d, "146.50000"),
      T(FontRole::kSmall, 55 * cu, -f - 6 * d, "D023N"),
      T(FontRole::kSmall, 36 * cu, -f - 7 * d, "Scan:"),
      T(FontRole::kSmall, 22 * cu, -f - 8 * d, "Carrier"),  // "Channel Lock:" is Busy Lock
      T(FontRole::kSmall, 55 * cu, -f - 8 * d, "Wide"),
  };
  for (const auto& item : wanted) EXPECT_TRUE(Has(page, item)) << item.text;

  const PrintPage zh = PrintLayout(Table16(), Report16(), grid, image, kA4, FixedMetrics(), true, "").Page(2);
  EXPECT_TRUE(Has(zh, T(FontRole::kMain, 6 * cu, -c, "信道")));
  EXPECT_TRUE(Has(zh, T(FontRole::kSmall, 4 * cu, -4 * d, "信道1:")));
  EXPECT_TRUE(Has(zh, T(FontRole::kSmall, 36 * cu, -8 * d, "宽/窄:")));
}

TEST(PrintLayoutTest, FooterOwnerFromTheLanguageSection) {
  test::TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("Varo16.ini",
                                 "[Setup]\nLanguage=Chinese\n[English]\nCopyrights "
                                 "Owner=E Co\n[Chinese]\nCopyrights Owner=C Co\n"),
                       false, true, false));
  EXPECT_EQ(CopyrightsOwner(ini, "Chinese"), "C Co");
  EXPECT_EQ(CopyrightsOwner(ini, "English"), "E Co");
  EXPECT_EQ(CopyrightsOwner(ini, "Setup"), "");
}

TEST(PrintLayoutTest, OptionsReportAsTextLinesUpItsValues) {
  const std::string en = FormatOptionsReport(OptionsReport(NewImage(), false), false);
  EXPECT_NE(en.find("  Voice Annunciation:  Chinese\n"), std::string::npos);
  const std::string zh = FormatOptionsReport(OptionsReport(NewImage(), true), true);
  EXPECT_NE(zh.find("  超时定时器:      60s\n  超时定时器预警:  8\n"), std::string::npos);
}

}  // namespace
}  // namespace varo::model16
