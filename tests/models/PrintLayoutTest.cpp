// Each radio's report on the shared page layout: which channels go on which
// page, the options page's values from the image's bits, and each radio's
// own channel block and options page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "ini/IniProfile.h"
#include "model16/ChannelTable.h"
#include "model16/Model16.h"
#include "model16/Report.h"
#include "model199/ChannelTable.h"
#include "model199/Model199.h"
#include "model199/Report.h"
#include "radio/MemoryGrid.h"
#include "radio/PrintLayout.h"
#include "support/PrintFixtures.h"
#include "support/TempDir.h"

namespace varo::radio {
namespace {

using test::FixedMetrics;
using test::Has;
using test::kA4;
constexpr int cu = test::kA4ColumnUnit, c = test::kA4MainLine, d = test::kA4SmallLine;

// A small-font text item, or one in `font`.
DrawItem T(int x, int y, const std::string& text, FontRole font = FontRole::kSmall) {
  return test::Text(font, x, y, text);
}

struct ReportRadio {
  const RadioModel& model;
  std::vector<ReportRow> (*optionsReport)(const MemoryImage& image, bool chinese);
  std::vector<std::string> row;  // a programmed row's texts, columns 1 on
};
const ReportRadio& R16() {
  static const ReportRadio r{model16::Model16(), model16::OptionsReport,
                             {"145.50000", "146.50000", "67.0", "D023N", "Low", "Yes", "Carrier", "Narrow"}};
  return r;
}
const ReportRadio& R199() {
  static const ReportRadio r{model199::Model199(), model199::OptionsReport,
                             {"145.50000", "146.50000", "67.0", "D023N", "Middle", "Lock", "NAME"}};
  return r;
}

struct ReportBench {
  explicit ReportBench(const ReportRadio& r)
      : radio(r), grid(r.model.table->Rows(), r.model.table->Cols()), image(r.model.newImage()) {}
  void Program(long row) {
    for (long col = 1; col < grid.Cols(); ++col) grid.SetTextMatrix(row, col, radio.row[static_cast<std::size_t>(col - 1)]);
  }
  PrintLayout Layout(bool chinese, const std::string& owner = "") const {
    return PrintLayout(*radio.model.table, *radio.model.report, grid, image, kA4, FixedMetrics(), chinese, owner);
  }
  const ReportRadio& radio;
  MemoryGrid grid;
  MemoryImage image;
};

// The channel numbers printed on each page, page 1 (options) included.
std::vector<std::vector<int>> ChannelsByPage(const PrintLayout& layout) {
  std::vector<std::vector<int>> pages;
  for (int p = 1; p <= layout.PageCount(); ++p) {
    std::vector<int> channels;
    for (const auto& item : layout.Page(p).items)
      if (item.text.rfind("Channel ", 0) == 0 && std::isdigit(static_cast<unsigned char>(item.text[8])))
        channels.push_back(std::atoi(item.text.c_str() + 8));
    pages.push_back(channels);
  }
  return pages;
}

template <class N = int>
std::vector<N> Range(N first, N last) {
  std::vector<N> r;
  for (N n = first; n <= last; ++n) r.push_back(n);
  return r;
}

// Jobs one after the other on the same table of each radio, so that a job
// with fewer channels follows one with more; seven channels a page after the
// options page, each page numbered "Page p of n".
TEST(PrintLayoutTest, PagePlans) {
  std::vector<std::vector<int>> all199;
  for (int first = 0; first < 199; first += 7) all199.push_back(Range(first, std::min(first + 6, 199)));
  struct Job {
    const ReportRadio& radio;
    const char* name;
    std::vector<long> rows;
    std::vector<std::vector<int>> pages;  // after the options page
  };
  const Job jobs[] = {
      {R16(), "16", Range(1L, 16L), {Range(1, 7), Range(8, 14), {15, 16}}},
      {R16(), "rows 2-16", Range(2L, 16L), {Range(2, 8), Range(9, 15), {16}}},
      {R16(), "8", Range(1L, 8L), {Range(1, 7), {8}}},
      {R16(), "7", Range(1L, 7L), {Range(1, 7)}},
      {R16(), "0", {}, {}},
      {R199(), "all 200", Range(1L, 200L), all199},
      {R199(), "none", {}, {}},
      {R199(), "priority only", {1}, {{0}}},
      {R199(), "14 channels", Range(2L, 15L), {Range(1, 7), Range(8, 14)}},
      {R199(), "then 10 spread over rows 1-150", {1, 20, 40, 60, 80, 100, 120, 130, 140, 150},
       {{0, 19, 39, 59, 79, 99, 119}, {129, 139, 149}}},
      {R199(), "channel 199 alone", {200}, {{199}}},
  };
  ReportBench b16(R16()), b199(R199());
  for (const Job& job : jobs) {
    SCOPED_TRACE(std::string(job.radio.model.name) + ": " + job.name);
    ReportBench& b = &job.radio == &R16() ? b16 : b199;
    for (long row = 1; row < b.grid.Rows(); ++row) b.grid.SetTextMatrix(row, 1, "");
    for (long row : job.rows) b.Program(row);
    const PrintLayout layout = b.Layout(false);
    ASSERT_EQ(layout.PageCount(), 1 + static_cast<int>(job.pages.size()));
    std::vector<std::vector<int>> expected = {{}};
    expected.insert(expected.end(), job.pages.begin(), job.pages.end());
    EXPECT_EQ(ChannelsByPage(layout), expected);
    const std::string count = std::to_string(layout.PageCount());
    for (int p = 1; p <= layout.PageCount(); ++p)
      EXPECT_EQ(layout.Page(p).items.back().text, "Page " + std::to_string(p) + " of " + count);
  }
}

// One byte changed from a new document's, the row (from 0) of the options
// page it shows in, the English and the Chinese value; the ends of each range.
TEST(PrintLayoutTest, OptionValuesFromImageBits) {
  struct { const ReportRadio& radio; std::size_t offset; std::uint8_t value; std::size_t row; const char* en; const char* zh; } cases[] = {
      // clang-format off
      {R16(), 0x130, 0xE8, 0, "600s", "600s"},  // 0x28 & 0x3F = 40
      {R16(), 0x130, 0x00, 0, "0s", "0s"},
      {R16(), 0x131, 0xF1, 1, "Off", "关"},      // pre-alert 1
      {R16(), 0x131, 0x00, 1, "-1", "-1"},       // pre-alert 0: one below 0
      {R16(), 0x131, 0x0F, 1, "14", "14"},
      {R16(), 0x13A, 0x00, 4, "Off", "关"},      // vox gain 0
      {R16(), 0x13B, 0x00, 5, "0.3", "0.3"},     // vox delay, first and last three
      {R16(), 0x13B, 0x05, 5, "3.0", "3.0"},     {R16(), 0x13B, 0x06, 5, "3.0", "3.0"},
      {R16(), 0x13B, 0xF7, 5, "3.0", "3.0"},     {R16(), 0x3F0, 0xFF, 6, "255", "255"},
      {R16(), 0x12F, 0x03, 8, "English", "英文"}, {R16(), 0x12F, 0x00, 8, "Off", "关"},
      {R16(), 0x3C7, 0x02, 9, "Off", "关"},      // VOX function bit 0
      {R16(), 0x3C7, 0x02, 10, "On", "开"},      // scan function bit 1
      {R199(), 0x1FC3, 0x00, 0, "Off", "关"},   {R199(), 0x1FC3, 0x07, 0, "10", "10"},  // & 3
      {R199(), 0x1FC1, 0xF9, 1, "9", "9"},       {R199(), 0x1FC0, 0xFE, 2, "Off", "关"},
      {R199(), 0x1FE5, 0x09, 3, "1750", "1750"}, {R199(), 0x1FE5, 0x00, 3, "Off", "关"},
      {R199(), 0x1FE5, 0x18, 3, "8", "8"},       {R199(), 0x1FE1, 0x00, 4, "On", "开"},
      {R199(), 0x1FE2, 0x40, 5, "On", "开"},     {R199(), 0x1FE1, 0x00, 6, "On", "开"},
      {R199(), 0x1FE7, 0x07, 7, "10s", "10s"},   {R199(), 0x1FE1, 0x30, 8, "TO", "TO"},
      {R199(), 0x1FE1, 0x00, 8, "SE", "SE"},     {R199(), 0x1FE1, 0x02, 9, "Auto", "自动"},
      {R199(), 0x1FE1, 0x0C, 10, "On", "开"},    {R199(), 0x1FE1, 0x00, 10, "Off", "关"},
      {R199(), 0x1FE2, 0x00, 11, "Channel", "信道"}, {R199(), 0x1FE2, 0x03, 11, "Memory", "存储"},
      {R199(), 0x1FE2, 0x00, 12, "Off", "关"},   {R199(), 0x1FE4, 0x30, 13, "16", "16"},
      {R199(), 0x1FE0, 0x02, 14, "6.25k", "6.25k"}, {R199(), 0x1FE0, 0x07, 14, "25k", "25k"},
      {R199(), 0x1FE0, 0x03, 14, "12.5k", "12.5k"}, {R199(), 0x1FE6, 0x05, 15, "1.0", "1.0"},
      {R199(), 0x1FE6, 0x0F, 15, "1.4", "1.4"},  {R199(), 0x1FE6, 0x08, 15, "Off", "关"},
      // clang-format on
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(testing::Message() << k.radio.model.name << " " << k.offset << "=" << int(k.value));
    MemoryImage image = k.radio.model.newImage();
    image[k.offset] = k.value;
    EXPECT_EQ(k.radio.optionsReport(image, false).at(k.row).second, k.en);
    EXPECT_EQ(k.radio.optionsReport(image, true).at(k.row).second, k.zh);
  }
}

// The 16-channel radio's options page of a new document, item by item.
TEST(PrintLayoutTest, OptionsPageOfANewDocument16) {
  const ReportBench b(R16());
  const PrintLayout layout = b.Layout(false, "Owner Co.");
  EXPECT_EQ(layout.smallFont().width, 144);  // its height shows in every line's place
  ASSERT_EQ(layout.PageCount(), 1);
  std::vector<DrawItem> expected;
  for (int y : {-2 * c - 50, -2 * c - 120, c / 2 - 36 * c})
    expected.push_back({DrawItem::Kind::kRule, FontRole::kMain, 5 * cu, y, 60 * cu, ""});
  expected.push_back(T(6 * cu, -c, "Option", FontRole::kMain));
  expected.push_back(T(6 * cu, -4 * d, "Function"));
  const std::pair<const char*, const char*> rows[] = {
      {"Time Out Timer:", "60s"}, {"TOT Pre-Alert:", "8"},     {"Sequelch Level:", "4"},
      {"Beep:", "On"},            {"Vox Gain Level:", "5"},    {"Vox Delay Time:", "1.0"},
      {"Call Tone:", "Off"},      {"Battery Saver:", "On"},    {"Voice Annunciation:", "Chinese"},
      {"VOX Function:", "On"},    {"Scan Function:", "On"},
  };
  int k = 5;
  for (const auto& [label, value] : rows) {
    expected.push_back(T(9 * cu, -k * d, label));
    expected.push_back(T(35 * cu, -k++ * d, value));
  }
  expected.push_back(T(10 * cu, -36 * c, "Owner Co."));
  expected.push_back(T(45 * cu, -36 * c, "Page 1 of 1"));
  EXPECT_EQ(layout.Page(1).items, expected);
}

// The 199-channel radio's options page of a new document, row by row.
TEST(PrintLayoutTest, OptionsPageOfANewDocument199) {
  const std::vector<ReportRow> expected = {
      {"Time Out Timer:", "1"},   {"Squelch Level:", "1"},     {"Beep:", "On"},
      {"Call Tone:", "1"},        {"Channel Display:", "Off"}, {"Priority Scan:", "Off"},
      {"Busy", "Off"},            {"Pri-Scanning Time:", "3s"}, {"Scan Mode:", "CO"},
      {"Keypad Lock:", "Manual"}, {"LED", "Auto"},             {"Mode:", "Frequency"},
      {"Encoder", "On"},          {"Voice Sensitivity:", "Off"}, {"Step:", "25k"},
      {"Battery Saver:", "0.4"},
  };
  EXPECT_EQ(model199::OptionsReport(model199::NewImage(), false), expected);
  const auto zh = model199::OptionsReport(model199::NewImage(), true);
  EXPECT_EQ(zh.at(6).first, "繁忙:");
  EXPECT_EQ(zh.at(10).first, "LED");
  EXPECT_EQ(zh.at(12).first, "编码器");
}

// Channel blocks: the second one a block (d x 5.7, truncated) lower.
TEST(PrintLayoutTest, ChannelBlocksInBothLanguages) {
  const int f = static_cast<int>(d * 5.7);
  ReportBench b16(R16());
  for (long row = 1; row <= 9; ++row) b16.Program(row);
  b16.grid.SetTextMatrix(9, model16::kColWN, "Wide");
  const PrintPage page16 = b16.Layout(false).Page(3);  // channels 8 and 9
  for (const auto& item : {
           T(6 * cu, -c, "Channel", FontRole::kMain), T(4 * cu, -4 * d, "Channel 8:"),
           T(4 * cu, -f - 4 * d, "Channel 9:"), T(5 * cu, -f - 5 * d, "Receive Frequency:"),
           T(55 * cu, -f - 5 * d, "146.50000"), T(55 * cu, -f - 6 * d, "D023N"),
           T(36 * cu, -f - 7 * d, "Scan:"),
           T(22 * cu, -f - 8 * d, "Carrier"),  // "Channel Lock:" is Busy Lock
           T(55 * cu, -f - 8 * d, "Wide")})
    EXPECT_TRUE(Has(page16, item)) << item.text;
  const PrintPage zh16 = b16.Layout(true).Page(2);
  for (const auto& item : {T(6 * cu, -c, "信道", FontRole::kMain), T(4 * cu, -4 * d, "信道1:"),
                           T(36 * cu, -8 * d, "宽/窄:")})
    EXPECT_TRUE(Has(zh16, item)) << item.text;

  // The 199-channel radio's block ends with a half line for the name.
  ReportBench b199(R199());
  b199.Program(1);
  b199.Program(3);
  b199.grid.SetTextMatrix(3, model199::kColName, "AB-12X");
  const PrintPage page199 = b199.Layout(false).Page(2);  // the priority channel and channel 2
  for (const auto& item : {
           T(6 * cu, -c, "Channel", FontRole::kMain), T(4 * cu, -4 * d, "Channel 0:"),
           T(4 * cu, -f - 4 * d, "Channel 2:"), T(36 * cu, -f - 5 * d, "Transceive Frequency:"),
           T(55 * cu, -f - 5 * d, "146.50000"), T(22 * cu, -f - 6 * d, "67.0"),
           T(5 * cu, -f - 7 * d, "Power:"), T(22 * cu, -f - 7 * d, "Middle"),
           T(36 * cu, -f - 7 * d, "Channel Lock:"), T(55 * cu, -f - 7 * d, "Lock"),
           T(5 * cu, -f - 8 * d, "Channel Name:"), T(22 * cu, -f - 8 * d, "AB-12X")})
    EXPECT_TRUE(Has(page199, item)) << item.text;
  // The name line has no right half: nothing else at its height.
  EXPECT_EQ(std::count_if(page199.items.begin(), page199.items.end(),
                          [&](const DrawItem& i) { return i.y == -f - 8 * d; }), 2);
  const PrintPage zh199 = b199.Layout(true).Page(2);
  for (const auto& item : {T(4 * cu, -4 * d, "信道0:"), T(5 * cu, -8 * d, "信道名字:"), T(36 * cu, -7 * d, "信道锁定:")})
    EXPECT_TRUE(Has(zh199, item)) << item.text;
}

TEST(PrintLayoutTest, FooterOwnerAndOptionsAsText) {
  test::TempDir dir;
  IniProfile ini;
  ASSERT_TRUE(ini.Open(dir.Write("Varo16.ini", "[Setup]\nLanguage=Chinese\n[English]\nCopyrights "
                                               "Owner=E Co\n[Chinese]\nCopyrights Owner=C Co\n"),
                       false, true, false));
  EXPECT_EQ(CopyrightsOwner(ini, "Chinese"), "C Co");
  EXPECT_EQ(CopyrightsOwner(ini, "English"), "E Co");
  EXPECT_EQ(CopyrightsOwner(ini, "Setup"), "");

  // The options page as text lines up its values.
  const std::string en = FormatOptionsReport(model16::OptionsReport(model16::NewImage(), false), false);
  EXPECT_NE(en.find("  Voice Annunciation:  Chinese\n"), std::string::npos);
  const std::string zh = FormatOptionsReport(model16::OptionsReport(model16::NewImage(), true), true);
  EXPECT_NE(zh.find("  超时定时器:      60s\n  超时定时器预警:  8\n"), std::string::npos);
}

}  // namespace
}  // namespace varo::radio
