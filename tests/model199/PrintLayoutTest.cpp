#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "model199/ChannelTable.h"
#include "model199/MemoryImage.h"
#include "model199/Report.h"
#include "radio/MemoryGrid.h"
#include "radio/PrintLayout.h"
#include "support/PrintFixtures.h"

namespace varo::model199 {
namespace {

using namespace varo::radio;

using test::FixedMetrics;
using test::Has;
using test::kA4;
constexpr int cu = test::kA4ColumnUnit, c = test::kA4MainLine, d = test::kA4SmallLine;

// A small-font text item, or one in `font`.
DrawItem T(int x, int y, const std::string& text, FontRole font = FontRole::kSmall) {
  return test::Text(font, x, y, text);
}

void Program(MemoryGrid& grid, long row) {
  const char* texts[] = {"145.50000", "146.50000", "67.0", "D023N", "Middle", "Lock", "NAME"};
  for (long col = kColRx; col <= kColName; ++col) grid.SetTextMatrix(row, col, texts[col - 1]);
}

// The channel numbers printed on each page, page 1 (options) included.
std::vector<std::vector<int>> ChannelsByPage(const PrintLayout& layout) {
  std::vector<std::vector<int>> pages;
  for (int p = 1; p <= layout.PageCount(); ++p) {
    std::vector<int> channels;
    for (const auto& item : layout.Page(p).items) {
      if (item.text.rfind("Channel ", 0) == 0 && std::isdigit(static_cast<unsigned char>(item.text[8]))) {
        channels.push_back(std::atoi(item.text.c_str() + 8));
      }
    }
    pages.push_back(channels);
  }
  return pages;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> r;
  for (int n = first; n <= last; ++n) r.push_back(n);
  return r;
}

// Jobs one after the other on the same table, so that a job with fewer
// channels follows one with more.
TEST(PrintLayout199Test, PagePlans) {
  struct Job {
    const char* name;
    std::vector<long> rows;
    std::vector<std::vector<int>> pages;  // after the options page
  };
  std::vector<long> every(200);
  for (long r = 1; r <= 200; ++r) every[static_cast<std::size_t>(r - 1)] = r;
  std::vector<std::vector<int>> all;
  for (int first = 0; first < 199; first += 7) all.push_back(Range(first, std::min(first + 6, 199)));
  const Job jobs[] = {
      {"none", {}, {}},
      {"priority only", {1}, {{0}}},
      {"14 channels", {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {Range(1, 7), Range(8, 14)}},
      {"then 10 spread over rows 1-150", {1, 20, 40, 60, 80, 100, 120, 130, 140, 150},
       {{0, 19, 39, 59, 79, 99, 119}, {129, 139, 149}}},
      {"all 200", every, all},
      {"channel 199 alone", {200}, {{199}}},
  };
  MemoryGrid grid(kTableRows, kTableCols);
  const MemoryImage image = NewImage();
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.name);
    for (long row = 1; row <= 200; ++row) grid.SetTextMatrix(row, kColRx, "");
    for (long row : job.rows) Program(grid, row);
    const PrintLayout layout(Table199(), Report199(), grid, image, kA4, FixedMetrics(), false, "");
    ASSERT_EQ(layout.PageCount(), 1 + static_cast<int>(job.pages.size()));
    std::vector<std::vector<int>> expected = {{}};
    expected.insert(expected.end(), job.pages.begin(), job.pages.end());
    EXPECT_EQ(ChannelsByPage(layout), expected);
    const int count = layout.PageCount();
    EXPECT_EQ(layout.Page(count).items.back().text, "Page " + std::to_string(count) + " of " + std::to_string(count));
  }
}

TEST(PrintLayout199Test, ChannelBlockWithTheNameLine) {
  MemoryGrid grid(kTableRows, kTableCols);
  Program(grid, 1);
  Program(grid, 3);
  grid.SetTextMatrix(3, kColName, "AB-12X");
  const MemoryImage image = NewImage();
  const PrintPage page = PrintLayout(Table199(), Report199(), grid, image, kA4, FixedMetrics(), false, "").Page(2);
  const int f = static_cast<int>(d * 5.7);  // the second block
  const DrawItem wanted[] = {
      T(6 * cu, -c, "Channel", FontRole::kMain),
      T(4 * cu, -4 * d, "Channel 0:"),
      T(4 * cu, -f - 4 * d, "Channel 2:"),
      T(36 * cu, -f - 5 * d, "Transceive Frequency:"),
      T(55 * cu, -f - 5 * d, "146.50000"),
      T(22 * cu, -f - 6 * d, "67.0"),
      T(5 * cu, -f - 7 * d, "Power:"),
      T(22 * cu, -f - 7 * d, "Middle"),
      T(36 * cu, -f - 7 * d, "Channel Lock:"),
      T(55 * cu, -f - 7 * d, "Lock"),
      T(5 * cu, -f - 8 * d, "Channel Name:"),
      T(22 * cu, -f - 8 * d, "AB-12X"),
  };
  for (const auto& item : wanted) EXPECT_TRUE(Has(page, item)) << item.text;
  // The name line has no right half: nothing else at its height.
  EXPECT_EQ(std::count_if(page.items.begin(), page.items.end(), [&](const DrawItem& i) { return i.y == -f - 8 * d; }), 2);

  const PrintPage zh = PrintLayout(Table199(), Report199(), grid, image, kA4, FixedMetrics(), true, "").Page(2);
  for (const auto& item : {T(4 * cu, -4 * d, "信道0:"), T(5 * cu, -8 * d, "信道名字:"), T(36 * cu, -7 * d, "信道锁定:")})
    EXPECT_TRUE(Has(zh, item)) << item.text;
}

// A new document's options page, row by row (the page places them as it
// does for every radio).
TEST(PrintLayout199Test, OptionsPageOfANewDocument) {
  const std::vector<ReportRow> expected = {
      {"Time Out Timer:", "1"},   {"Squelch Level:", "1"},     {"Beep:", "On"},
      {"Call Tone:", "1"},        {"Channel Display:", "Off"}, {"Priority Scan:", "Off"},
      {"Busy", "Off"},            {"Pri-Scanning Time:", "3s"}, {"Scan Mode:", "CO"},
      {"Keypad Lock:", "Manual"}, {"LED", "Auto"},             {"Mode:", "Frequency"},
      {"Encoder", "On"},          {"Voice Sensitivity:", "Off"}, {"Step:", "25k"},
      {"Battery Saver:", "0.4"},
  };
  EXPECT_EQ(OptionsReport(NewImage(), false), expected);
}

// Values of the options page from the settings bytes, by row (0-based).
TEST(PrintLayout199Test, OptionValuesFromTheSettingsBytes) {
  struct {
    std::size_t offset;
    std::uint8_t value;
    std::size_t row;
    const char* en;
    const char* zh;
  } cases[] = {
      // clang-format off
      {0x1FC3, 0x00, 0, "Off", "关"},   {0x1FC3, 0x07, 0, "10", "10"},  // & 3
      {0x1FC1, 0xF9, 1, "9", "9"},       {0x1FC0, 0xFE, 2, "Off", "关"},
      {0x1FE5, 0x09, 3, "1750", "1750"}, {0x1FE5, 0x00, 3, "Off", "关"}, {0x1FE5, 0x18, 3, "8", "8"},
      {0x1FE1, 0x00, 4, "On", "开"},     {0x1FE2, 0x40, 5, "On", "开"},  {0x1FE1, 0x00, 6, "On", "开"},
      {0x1FE7, 0x07, 7, "10s", "10s"},   {0x1FE1, 0x30, 8, "TO", "TO"},  {0x1FE1, 0x00, 8, "SE", "SE"},
      {0x1FE1, 0x02, 9, "Auto", "自动"}, {0x1FE1, 0x0C, 10, "On", "开"}, {0x1FE1, 0x00, 10, "Off", "关"},
      {0x1FE2, 0x00, 11, "Channel", "信道"}, {0x1FE2, 0x03, 11, "Memory", "存储"},
      {0x1FE2, 0x00, 12, "Off", "关"},   {0x1FE4, 0x30, 13, "16", "16"},
      {0x1FE0, 0x02, 14, "6.25k", "6.25k"}, {0x1FE0, 0x07, 14, "25k", "25k"}, {0x1FE0, 0x03, 14, "12.5k", "12.5k"},
      {0x1FE6, 0x05, 15, "1.0", "1.0"},  {0x1FE6, 0x0F, 15, "1.4", "1.4"}, {0x1FE6, 0x08, 15, "Off", "关"},
      // clang-format on
  };
  for (const auto& cs : cases) {
    MemoryImage image = NewImage();
    image[cs.offset] = cs.value;
    EXPECT_EQ(OptionsReport(image, false).at(cs.row).second, cs.en) << cs.offset << " " << int(cs.value);
    EXPECT_EQ(OptionsReport(image, true).at(cs.row).second, cs.zh) << cs.offset << " " << int(cs.value);
  }
  const auto zh = OptionsReport(NewImage(), true);
  EXPECT_EQ(zh.at(6).first, "繁忙:");
  EXPECT_EQ(zh.at(10).first, "LED");
  EXPECT_EQ(zh.at(12).first, "编码器");
}

}  // namespace
}  // namespace varo::model199
