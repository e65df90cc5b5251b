#include <gtest/gtest.h>

#include <set>
#include <sstream>

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

// The list as data, written out here rather than taken from the code: "None",
// the 50 QT tones, then every DQT code normal, then every code inverted.
TEST(ToneCodesTest, ChoiceListEntriesAndPositions) {
  const char* qt =
      "67.0 69.3 71.9 74.4 77.0 79.7 82.5 85.4 88.5 91.5 94.8 97.4 100.0 103.5 107.2 110.9 "
      "114.8 118.8 123.0 127.3 131.8 136.5 141.3 146.2 151.4 156.7 159.8 162.2 165.5 167.9 "
      "171.3 173.8 177.3 179.9 183.5 186.2 189.9 192.8 196.6 199.5 203.5 206.5 210.7 218.1 "
      "225.7 229.1 233.6 241.8 250.3 254.1";
  const char* dqt =
      "017 023 025 026 031 032 036 043 047 050 051 053 054 065 071 072 073 074 114 115 116 122 "
      "125 131 132 134 143 145 152 155 156 162 165 172 174 205 212 223 225 226 243 244 245 246 "
      "251 252 255 261 263 265 266 271 274 306 311 315 325 331 332 343 346 351 356 364 365 371 "
      "411 412 413 423 431 432 445 446 452 454 455 462 464 465 466 503 506 516 523 526 532 546 "
      "565 606 612 624 627 631 632 645 654 662 664 703 712 723 731 732 734 743 754";
  auto words = [](const char* text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
  };
  const std::vector<std::string> codes = words(dqt);
  ASSERT_EQ(words(qt).size(), 50u);
  ASSERT_EQ(codes.size(), 107u);
  for (bool chinese : {false, true}) {
    std::vector<std::string> expected = {chinese ? "无" : "None"};
    for (const std::string& t : words(qt)) expected.push_back(t);
    for (const char* polarity : {"N", "I"})
      for (const std::string& c : codes) expected.push_back("D" + c + polarity);
    const std::vector<std::string> list = ToneChoiceList(chinese);
    ASSERT_EQ(list.size(), expected.size());
    for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i], expected[i]) << "index " << i;
    EXPECT_EQ(list[83], "D165N");
    EXPECT_EQ(list[190], "D165I");
    EXPECT_EQ(list[51], "D017N");
    EXPECT_EQ(list[158], "D017I");
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
