#include "model16/ToneCodes.h"

#include <gtest/gtest.h>

#include <set>

namespace varo::model16 {
namespace {

TEST(ToneCodesTest, EveryChoiceRoundTripsInBothLanguages) {
  for (bool chinese : {false, true}) {
    const std::vector<std::string> list = ToneChoiceList(chinese);
    ASSERT_EQ(list.size(), 265u);
    std::set<std::pair<int, int>> codes;
    for (const std::string& text : list) {
      const ToneCode code = ToneTextToCode(text);
      EXPECT_EQ(ToneCodeToText(code, chinese), text) << text;
      codes.insert({code.low, code.high});
    }
    EXPECT_EQ(codes.size(), list.size()) << "two choices share a stored code";
  }
}

TEST(ToneCodesTest, ListOrderAndPositions) {
  const std::vector<std::string> en = ToneChoiceList(false);
  const std::vector<std::string> zh = ToneChoiceList(true);
  struct { std::size_t index; const char* text; } cases[] = {
      {1, "67.0"},  {50, "254.1"},   {51, "D017N"},  {82, "D162N"}, {83, "D165N"},
      {84, "D172N"}, {157, "D754N"}, {158, "D017I"}, {190, "D165I"}, {264, "D754I"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(en[c.index], c.text) << c.index;
    EXPECT_EQ(zh[c.index], c.text) << c.index;
  }
  EXPECT_EQ(en[0], "None");
  EXPECT_EQ(zh[0], "无");
}

TEST(ToneCodesTest, TextToStoredBytes) {
  struct { const char* text; int low, high; } cases[] = {
      {"D165N", 0x75, 0x28}, {"D165I", 0x75, 0xA8}, {"D411N", 0x09, 0x29},
      {"D023N", 0x13, 0x28}, {"D023I", 0x13, 0xA8}, {"D754I", 0xEC, 0xA9},
      {"D371N", 0xF9, 0x28},  // last code below 256
      {"D400N", 0x00, 0x29},  // not a code of the table
      {"D372N", 0x00, 0x29},  // bit 8 goes by the written number
      {"D023", 0x13, 0xA8},   // no "N": inverted
      {"67.0", 0x9E, 0x02},  {"100.0", 0xE8, 0x03}, {"254.1", 0xED, 0x09},
      {"None", 0xFF, 0xFF},  {"无", 0xFF, 0xFF},    {"", 0xFF, 0xFF},
      {"d023n", 0xFF, 0xFF},  // lower case is no DQT text, and no number
      {"-67.0", 0xFF, 0xFF},  {"9999.9", 0xFF, 0xFF},  // do not fit 16 bits
  };
  for (const auto& c : cases) {
    const ToneCode code = ToneTextToCode(c.text);
    EXPECT_EQ(code.low, c.low) << c.text;
    EXPECT_EQ(code.high, c.high) << c.text;
  }
}

TEST(ToneCodesTest, StoredBytesToText) {
  struct { int low, high; const char* en; const char* zh; } cases[] = {
      {0x9E, 0x02, "67.0", "67.0"},   {0xE8, 0x03, "100.0", "100.0"},
      {0x00, 0x00, "None", "无"},     {0xFF, 0xFF, "None", "无"},
      {0x9E, 0x00, "None", "无"},     {0x13, 0xFF, "None", "无"},
      {0x77, 0x28, "D000N", "D000N"},  // no code with low byte 0x77 below 256
      {0x00, 0x29, "D000N", "D000N"},  {0x13, 0x29, "D423N", "D423N"},  // bit 8 counts
      {0x09, 0x29, "D411N", "D411N"},  {0xEC, 0xA9, "D754I", "D754I"},
      {0x77, 0xA8, "D000I", "D000I"},  {0x01, 0x01, "25.7", "25.7"},
  };
  for (const auto& c : cases) {
    const ToneCode code{static_cast<std::uint8_t>(c.low), static_cast<std::uint8_t>(c.high)};
    EXPECT_EQ(ToneCodeToText(code, false), c.en) << c.low << "," << c.high;
    EXPECT_EQ(ToneCodeToText(code, true), c.zh) << c.low << "," << c.high;
  }
}

}  // namespace
}  // namespace varo::model16
