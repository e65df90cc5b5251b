#include "model16/PrintLayout.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "ini/IniProfile.h"
#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"
#include "support/TempDir.h"

namespace varo::model16 {
namespace {

// Line height = font height + 10 twips, so that a mix-up of the line height
// with the font height shows.
class FixedMetrics : public PrintFontMetrics {
 public:
  int LineHeight(const PrintFont& font) const override { return font.height + 10; }
};

// An A4 page at 600 dpi: cu = 4960 x 1440 / 600 / 66 = 180, H = 374, small
// font 299 high; c = 384, d = 309.
const PrintArea kA4{4960, 7016, 600, 600};
constexpr int cu = 180, c = 384, d = 309;

DrawItem T(FontRole font, int x, int y, const std::string& text) {
  DrawItem item;
  item.font = font;
  item.x = x;
  item.y = y;
  item.text = text;
  return item;
}

DrawItem R(int y) {
  DrawItem item;
  item.kind = DrawItem::Kind::kRule;
  item.x = 5 * cu;
  item.x2 = 60 * cu;
  item.y = y;
  return item;
}

void Program(MemoryGrid& grid, long row) {
  const char* texts[] = {"145.50000", "146.50000", "67.0", "D023N", "Low", "Yes", "Carrier", "Narrow"};
  for (long col = kColRx; col <= kColWN; ++col) grid.SetTextMatrix(row, col, texts[col - 1]);
}

// The channel numbers a page prints ("Channel %d:" items).
std::vector<int> ChannelsOn(const PrintPage& page) {
  std::vector<int> channels;
  for (const auto& item : page.items) {
    if (item.text.rfind("Channel ", 0) == 0 && std::isdigit(static_cast<unsigned char>(item.text[8]))) {
      channels.push_back(std::atoi(item.text.c_str() + 8));
    }
  }
  return channels;
}

TEST(PrintLayoutTest, FontsFromThePrintableArea) {
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = MemoryImage::NewDocument();
  PrintLayout layout(grid, image, kA4, FixedMetrics(), false, "");
  PrintFont main;
  main.height = 374;
  main.width = cu;
  PrintFont small = main;
  small.height = 299;
  small.width = 144;
  EXPECT_EQ(layout.mainFont(), main);
  EXPECT_EQ(layout.smallFont(), small);
  EXPECT_EQ(layout.mainFont().face, "Times New Roman");
  EXPECT_EQ(layout.mainFont().pitchAndFamily, 48);
  // A broken device without a resolution gives a layout, not a crash.
  PrintLayout broken(grid, image, PrintArea{100, 100, 0, 0}, FixedMetrics(), false, "");
  EXPECT_EQ(broken.PageCount(), 1);
}

TEST(PrintLayoutTest, OptionsPageOfANewDocument) {
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = MemoryImage::NewDocument();
  PrintLayout layout(grid, image, kA4, FixedMetrics(), false, "Owner Co.");
  ASSERT_EQ(layout.PageCount(), 1);

  std::vector<DrawItem> expected = {
      R(-2 * c - 50), R(-2 * c - 120), R(c / 2 - 36 * c),
      T(FontRole::kMain, 6 * cu, -c, "Option"), T(FontRole::kSmall, 6 * cu, -4 * d, "Function")};
  const std::pair<const char*, const char*> rows[] = {
      {"Time Out Timer:", "60s"}, {"TOT Pre-Alert:", "8"},   {"Sequelch Level:", "4"},
      {"Beep:", "On"},            {"Vox Gain Level:", "5"},  {"Vox Delay Time:", "1.0"},
      {"Call Tone:", "Off"},      {"Battery Saver:", "On"},  {"Voice Annunciation:", "Chinese"},
      {"VOX Function:", "On"},    {"Scan Function:", "On"},
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

TEST(PrintLayoutTest, OptionValuesFromImageBits) {
  MemoryImage image = MemoryImage::NewDocument();
  image[0x130] = 0xE8;  // bit 6 and 7 are not the timer: 0x28 = 40 -> 600 s
  image[0x131] = 0xF1;  // 1: Off
  image[0x13A] = 0xE0;  // gain 0: Off
  image[0x13B] = 0x07;
  image[0x3F0] = 16;
  image[0x12F] = 0x03;
  image[0x3C7] = 0x02;
  const auto en = OptionsReport(image, false);
  const std::vector<std::string> values = {"600s", "Off", "4",  "On",      "Off", "3.0",
                                           "16",   "On",  "English", "Off", "On"};
  ASSERT_EQ(en.size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(en[i].second, values[i]) << i;
  const auto zh = OptionsReport(image, true);
  EXPECT_EQ(zh[0].first, "超时定时器:");
  EXPECT_EQ(zh[1].second, "关");
  EXPECT_EQ(zh[8].second, "英文");
  EXPECT_EQ(zh[10].second, "开");
}

// The page plans, run one after the other on the same table, so that a job
// with fewer channels follows one with more.
TEST(PrintLayoutTest, PagePlans) {
  struct {
    const char* name;
    int firstRow, lastRow;  // programmed rows; 0 = none
    std::vector<std::vector<int>> pages;
  } cases[] = {
      {"16", 1, 16, {{1, 2, 3, 4, 5, 6, 7}, {8, 9, 10, 11, 12, 13, 14}, {15, 16}}},
      {"rows 2-16", 2, 16, {{2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15}, {16}}},
      {"8", 1, 8, {{1, 2, 3, 4, 5, 6, 7}, {8}}},
      {"7", 1, 7, {{1, 2, 3, 4, 5, 6, 7}}},
      {"0", 0, 0, {}},
  };
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = MemoryImage::NewDocument();
  for (const auto& cs : cases) {
    SCOPED_TRACE(cs.name);
    for (long row = 1; row <= 16; ++row) grid.SetTextMatrix(row, kColRx, "");
    for (int row = cs.firstRow; row >= 1 && row <= cs.lastRow; ++row) Program(grid, row);
    PrintLayout layout(grid, image, kA4, FixedMetrics(), false, "");
    const int count = layout.PageCount();
    ASSERT_EQ(count, 1 + static_cast<int>(cs.pages.size()));
    for (int p = 1; p <= count; ++p) {
      const PrintPage page = layout.Page(p);
      EXPECT_EQ(page.items.back().text, "Page " + std::to_string(p) + " of " + std::to_string(count));
      if (p >= 2) {
        EXPECT_EQ(ChannelsOn(page), cs.pages[static_cast<std::size_t>(p - 2)]);
      }
    }
  }
}

TEST(PrintLayoutTest, ChannelBlocks) {
  MemoryGrid grid(kTableRows, kTableCols);
  for (long row = 1; row <= 9; ++row) Program(grid, row);
  grid.SetTextMatrix(9, kColWN, "Wide");
  const MemoryImage image = MemoryImage::NewDocument();
  PrintLayout layout(grid, image, kA4, FixedMetrics(), false, "");
  const PrintPage page = layout.Page(3);  // channels 8 and 9
  auto find = [&](const std::string& text, int x) -> const DrawItem* {
    for (const auto& item : page.items) {
      if (item.text == text && item.x == x) return &item;
    }
    return nullptr;
  };
  EXPECT_EQ(page.items[3], T(FontRole::kMain, 6 * cu, -c, "Channel"));
  // Channel 8 in the top block, channel 9 one block (d x 5.7, truncated) lower.
  const int f = static_cast<int>(d * 5.7);
  ASSERT_TRUE(find("Channel 8:", 4 * cu));
  EXPECT_EQ(find("Channel 8:", 4 * cu)->y, -4 * d);
  ASSERT_TRUE(find("Channel 9:", 4 * cu));
  EXPECT_EQ(find("Channel 9:", 4 * cu)->y, -f - 4 * d);
  struct {
    const char* text;
    int x;
    int y;
  } cells[] = {
      {"Receive Frequency:", 5 * cu, -f - 5 * d}, {"145.50000", 22 * cu, -f - 5 * d},
      {"Transceive Frequency:", 36 * cu, -f - 5 * d}, {"146.50000", 55 * cu, -f - 5 * d},
      {"D023N", 55 * cu, -f - 6 * d},             {"Scan:", 36 * cu, -f - 7 * d},
      {"Channel Lock:", 5 * cu, -f - 8 * d},      {"Carrier", 22 * cu, -f - 8 * d},
      {"W/N:", 36 * cu, -f - 8 * d},              {"Wide", 55 * cu, -f - 8 * d},
  };
  for (const auto& cell : cells) {
    const DrawItem* item = nullptr;
    for (const auto& it : page.items) {
      if (it.text == cell.text && it.x == cell.x && it.y == cell.y) item = &it;
    }
    EXPECT_TRUE(item) << cell.text;
  }
}

TEST(PrintLayoutTest, ChinesePages) {
  MemoryGrid grid(kTableRows, kTableCols);
  Program(grid, 4);
  const MemoryImage image = MemoryImage::NewDocument();
  PrintLayout layout(grid, image, kA4, FixedMetrics(), true, "");
  EXPECT_EQ(layout.Page(1).items[3].text, "可选功能");
  EXPECT_EQ(layout.Page(1).items[4].text, "功能");
  const PrintPage page = layout.Page(2);
  std::set<std::string> texts;
  for (const auto& item : page.items) texts.insert(item.text);
  for (const char* text : {"信道", "信道4:", "接收频率:", "发射频率:", "QT/DQT解码:", "QT/DQT编码:",
                           "功率:", "扫描开关:", "信道锁定:", "宽/窄:", "Page 2 of 2"}) {
    EXPECT_EQ(texts.count(text), 1u) << text;
  }
}

TEST(PrintLayoutTest, FooterOwnerFromTheLanguageSection) {
  test::TempDir dir;
  const std::string path = dir.Write("Varo16.ini",
                                     "[Setup]\nLanguage=Chinese\n[English]\nCopyrights Owner=E Co\n"
                                     "[Chinese]\nCopyrights Owner=C Co\n");
  IniProfile ini;
  ASSERT_TRUE(ini.Open(path, false, true, false));
  EXPECT_EQ(CopyrightsOwner(ini), "C Co");
  ini.SetValue("Setup", "Language", "english");
  EXPECT_EQ(CopyrightsOwner(ini), "E Co");
  ini.SetValue("Setup", "Language", "");
  EXPECT_EQ(CopyrightsOwner(ini), "");
}

TEST(PrintLayoutTest, OptionsReportAsText) {
  const std::string text = FormatOptionsReport(MemoryImage::NewDocument(), false);
  EXPECT_EQ(text.substr(0, text.find("  TOT")),
            "Option\nFunction\n  Time Out Timer:      60s\n");
  EXPECT_NE(text.find("  Voice Annunciation:  Chinese\n"), std::string::npos);
  // Chinese labels count two columns per character: values still line up.
  const std::string zh = FormatOptionsReport(MemoryImage::NewDocument(), true);
  EXPECT_NE(zh.find("  超时定时器:      60s\n"), std::string::npos);
  EXPECT_NE(zh.find("  超时定时器预警:  8\n"), std::string::npos);
}

}  // namespace
}  // namespace varo::model16
