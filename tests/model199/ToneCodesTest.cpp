#include "model199/ToneCodes.h"

#include <gtest/gtest.h>

#include "model16/ToneCodes.h"
#include "support/ToneChecks.h"

namespace varo::model199 {
namespace {

TEST(ToneCodes199Test, ListIsThe16ChannelListWithoutFourCodesAndRoundTrips) {
  for (bool chinese : {false, true}) {
    const std::vector<std::string> list = ToneChoiceList(chinese);
    ASSERT_EQ(list.size(), 261u);
    // The 16-channel radio's list in its order, less the codes 017 and 050.
    std::vector<std::string> expected;
    for (const std::string& text : model16::ToneChoiceList(chinese)) {
      if (text.rfind("D017", 0) != 0 && text.rfind("D050", 0) != 0) expected.push_back(text);
    }
    EXPECT_EQ(list, expected);
    test::ExpectEveryChoiceRoundTrips(list, ToneTextToCode, ToneCodeToText, chinese);
  }
}

// Texts and the bytes they store (low byte first); `back` is what the bytes
// read as, where that is not the text itself.
TEST(ToneCodes199Test, TextsAndStoredBytes) {
  struct {
    const char* text;
    ToneCode code;
    const char* back;
  } cases[] = {
      // clang-format off
      {"D023N", {0x23, 0x80}, nullptr}, {"D023I", {0x23, 0xC0}, nullptr},
      {"D754N", {0x54, 0x87}, nullptr}, {"D754I", {0x54, 0xC7}, nullptr},
      {"D114N", {0x14, 0x81}, nullptr},  // digits as written, not octal
      {"D023",  {0x23, 0xC0}, "D023I"},  // no "N": inverted
      {"D4000N", {0x99, 0x89}, "D999N"}, // kept within three digits
      {"254.1", {0x41, 0x25}, nullptr}, {"67.0", {0x70, 0x06}, nullptr},
      {"100.0", {0x00, 0x10}, nullptr},
      {"799.9", {0x99, 0x79}, nullptr},  // the highest tone the bytes hold
      {"800.0", {0xFF, 0xFF}, "None"},   // would read as DCS: no tone
      {"9.9",   {0xFF, 0xFF}, "None"},   // would read as no tone anyway
      {"None",  {0xFF, 0xFF}, nullptr}, {"无", {0xFF, 0xFF}, "None"},
      {"",      {0xFF, 0xFF}, "None"},  {"d023n", {0xFF, 0xFF}, "None"},
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToneTextToCode(c.text), c.code) << c.text;
    EXPECT_EQ(ToneCodeToText(c.code, false), c.back ? c.back : c.text) << c.text;
  }
}

// Stored codes no list entry stores.
TEST(ToneCodes199Test, StoredBytesWithoutAnEntry) {
  struct {
    ToneCode code;
    const char* en;
    const char* zh;
  } cases[] = {
      {{0x00, 0x00}, "None", "无"},  {{0x23, 0xFF}, "None", "无"},
      {{0x05, 0x80}, "D05N", "D05N"},  // first digit 0: written out, the rest as it is
      {{0x05, 0xC1}, "D105I", "D105I"},
      {{0x9E, 0x02}, "30.4", "30.4"},  // nibbles above 9 count at their value
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToneCodeToText(c.code, false), c.en);
    EXPECT_EQ(ToneCodeToText(c.code, true), c.zh);
  }
}

}  // namespace
}  // namespace varo::model199
