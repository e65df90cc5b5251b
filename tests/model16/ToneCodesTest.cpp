#include <gtest/gtest.h>

#include "model16/ToneCodes.h"
#include "support/ToneChecks.h"

namespace varo::model16 {
namespace {

TEST(ToneCodesTest, EveryChoiceRoundTripsInBothLanguages) {
  for (bool chinese : {false, true}) {
    const std::vector<std::string> list = ToneChoiceList(chinese);
    ASSERT_EQ(list.size(), 265u);
    EXPECT_EQ(list[0], chinese ? "无" : "None");
    test::ExpectEveryChoiceRoundTrips(list, ToneTextToCode, ToneCodeToText, chinese);
  }
}

TEST(ToneCodesTest, TextToStoredBytes) {
  const std::pair<const char*, ToneCode> cases[] = {
      // clang-format off
      {"D165N", {0x75, 0x28}}, {"D165I", {0x75, 0xA8}}, {"D411N", {0x09, 0x29}},
      {"D023N", {0x13, 0x28}}, {"D023I", {0x13, 0xA8}}, {"D754I", {0xEC, 0xA9}},
      {"D371N", {0xF9, 0x28}},  // last code below 256
      {"D400N", {0x00, 0x29}},  // not a code of the table
      {"D372N", {0x00, 0x29}},  // bit 8 goes by the written number
      {"D023", {0x13, 0xA8}},   // no "N": inverted
      {"67.0", {0x9E, 0x02}},  {"100.0", {0xE8, 0x03}}, {"254.1", {0xED, 0x09}},
      {"None", {0xFF, 0xFF}},  {"无", {0xFF, 0xFF}},    {"", {0xFF, 0xFF}},
      {"d023n", {0xFF, 0xFF}},  // lower case is no DQT text, and no number
      {"-67.0", {0xFF, 0xFF}},  {"9999.9", {0xFF, 0xFF}},  // do not fit 16 bits
      // clang-format on
  };
  for (const auto& [text, code] : cases) EXPECT_EQ(ToneTextToCode(text), code) << text;
}

// Stored codes that no choice stores; every other code reads back through
// EveryChoiceRoundTripsInBothLanguages.
TEST(ToneCodesTest, StoredBytesToText) {
  struct {
    ToneCode code;
    const char* en;
  } cases[] = {
      // clang-format off
      {{0x00, 0x00}, "None"},  {{0xFF, 0xFF}, "None"},  {{0x9E, 0x00}, "None"},
      {{0x13, 0xFF}, "None"},
      {{0x77, 0x28}, "D000N"},  // no code with low byte 0x77 below 256
      {{0x00, 0x29}, "D000N"},  {{0x13, 0x29}, "D423N"},  // bit 8 counts
      {{0x77, 0xA8}, "D000I"},  {{0x01, 0x01}, "25.7"},
      // clang-format on
  };
  for (const auto& c : cases) {
    const std::string zh = std::string(c.en) == "None" ? "无" : c.en;
    EXPECT_EQ(ToneCodeToText(c.code, false), c.en) << int(c.code.low) << "," << int(c.code.high);
    EXPECT_EQ(ToneCodeToText(c.code, true), zh) << int(c.code.low) << "," << int(c.code.high);
  }
}

}  // namespace
}  // namespace varo::model16
