// Each radio's tone list and the codes its texts store, in one table per
// direction over both radios.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <utility>

#include "model16/ToneCodes.h"
#include "model199/ToneCodes.h"

namespace varo::radio {
namespace {

struct ToneRadio {
  const char* name;
  std::vector<std::string> (*list)(bool chinese);
  ToneCode (*toCode)(const std::string&);
  std::string (*toText)(ToneCode, bool chinese);
};
const ToneRadio k16{"16", model16::ToneChoiceList, model16::ToneTextToCode, model16::ToneCodeToText};
const ToneRadio k199{"199", model199::ToneChoiceList, model199::ToneTextToCode, model199::ToneCodeToText};

// The 16-channel list: "None", the 50 QT tones, every DQT code normal, then
// every code inverted, each at its place (the drop-down shows them in this
// order); the 199-channel list is the same less codes 017 and 050. Every
// text stores a code of its own and reads back as itself.
std::vector<std::string> Words(const char* text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

TEST(ToneCodesTest, ListsAndEveryChoiceRoundTrips) {
  const std::vector<std::string> qt = Words(
      "67.0 69.3 71.9 74.4 77.0 79.7 82.5 85.4 88.5 91.5 94.8 97.4 100.0 103.5 107.2 110.9 "
      "114.8 118.8 123.0 127.3 131.8 136.5 141.3 146.2 151.4 156.7 159.8 162.2 165.5 167.9 "
      "171.3 173.8 177.3 179.9 183.5 186.2 189.9 192.8 196.6 199.5 203.5 206.5 210.7 218.1 "
      "225.7 229.1 233.6 241.8 250.3 254.1");
  const std::vector<std::string> dqt = Words(
      "017 023 025 026 031 032 036 043 047 050 051 053 054 065 071 072 073 074 114 115 116 122 "
      "125 131 132 134 143 145 152 155 156 162 165 172 174 205 212 223 225 226 243 244 245 246 "
      "251 252 255 261 263 265 266 271 274 306 311 315 325 331 332 343 346 351 356 364 365 371 "
      "411 412 413 423 431 432 445 446 452 454 455 462 464 465 466 503 506 516 523 526 532 546 "
      "565 606 612 624 627 631 632 645 654 662 664 703 712 723 731 732 734 743 754");
  ASSERT_EQ(qt.size(), 50u);
  ASSERT_EQ(dqt.size(), 107u);
  for (bool chinese : {false, true}) {
    std::vector<std::string> expected16 = {chinese ? "无" : "None"};
    expected16.insert(expected16.end(), qt.begin(), qt.end());
    for (const char* polarity : {"N", "I"})
      for (const std::string& c : dqt) expected16.push_back("D" + c + polarity);
    const std::vector<std::string> list16 = k16.list(chinese);
    ASSERT_EQ(list16, expected16);
    EXPECT_EQ(list16[83], "D165N");
    EXPECT_EQ(list16[190], "D165I");
    std::vector<std::string> expected199;
    for (const std::string& text : list16)
      if (text.rfind("D017", 0) != 0 && text.rfind("D050", 0) != 0) expected199.push_back(text);
    EXPECT_EQ(k199.list(chinese), expected199);
    for (const ToneRadio* radio : {&k16, &k199}) {
      SCOPED_TRACE(radio->name);
      std::set<std::pair<int, int>> codes;
      for (const std::string& text : radio->list(chinese)) {
        const ToneCode code = radio->toCode(text);
        EXPECT_EQ(radio->toText(code, chinese), text);
        codes.insert({code.low, code.high});
      }
      EXPECT_EQ(codes.size(), radio->list(chinese).size()) << "two choices share a stored code";
    }
  }
}

// Texts and the bytes they store (low byte first); `back` is what the bytes
// read as, where that is not the text itself.
TEST(ToneCodesTest, TextsToStoredBytes) {
  struct { const ToneRadio& radio; const char* text; ToneCode code; const char* back; } cases[] = {
      // clang-format off
      {k16, "D165N", {0x75, 0x28}, nullptr}, {k16, "D165I", {0x75, 0xA8}, nullptr},
      {k16, "D411N", {0x09, 0x29}, nullptr}, {k16, "D023N", {0x13, 0x28}, nullptr},
      {k16, "D023I", {0x13, 0xA8}, nullptr}, {k16, "D754I", {0xEC, 0xA9}, nullptr},
      {k16, "D371N", {0xF9, 0x28}, nullptr},  // last code below 256
      {k16, "D400N", {0x00, 0x29}, "D000N"},  // not a code of the table
      {k16, "D372N", {0x00, 0x29}, "D000N"},  // bit 8 goes by the written number
      {k16, "D023",  {0x13, 0xA8}, "D023I"},  // no "N": inverted
      {k16, "67.0",  {0x9E, 0x02}, nullptr}, {k16, "100.0", {0xE8, 0x03}, nullptr},
      {k16, "254.1", {0xED, 0x09}, nullptr},
      {k16, "None",  {0xFF, 0xFF}, nullptr}, {k16, "无", {0xFF, 0xFF}, "None"}, {k16, "", {0xFF, 0xFF}, "None"},
      {k16, "d023n", {0xFF, 0xFF}, "None"},  // lower case is no DQT text, and no number
      {k16, "-67.0", {0xFF, 0xFF}, "None"}, {k16, "9999.9", {0xFF, 0xFF}, "None"},  // do not fit 16 bits
      {k199, "D023N", {0x23, 0x80}, nullptr}, {k199, "D023I", {0x23, 0xC0}, nullptr},
      {k199, "D754N", {0x54, 0x87}, nullptr}, {k199, "D754I", {0x54, 0xC7}, nullptr},
      {k199, "D114N", {0x14, 0x81}, nullptr},  // digits as written, not octal
      {k199, "D023",  {0x23, 0xC0}, "D023I"},  // no "N": inverted
      {k199, "D4000N", {0x99, 0x89}, "D999N"}, // kept within three digits
      {k199, "254.1", {0x41, 0x25}, nullptr}, {k199, "67.0", {0x70, 0x06}, nullptr},
      {k199, "100.0", {0x00, 0x10}, nullptr},
      {k199, "799.9", {0x99, 0x79}, nullptr},  // the highest tone the bytes hold
      {k199, "800.0", {0xFF, 0xFF}, "None"},   // would read as DCS: no tone
      {k199, "9.9",   {0xFF, 0xFF}, "None"},   // would read as no tone anyway
      {k199, "None",  {0xFF, 0xFF}, nullptr}, {k199, "无", {0xFF, 0xFF}, "None"},
      {k199, "",      {0xFF, 0xFF}, "None"},  {k199, "d023n", {0xFF, 0xFF}, "None"},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.radio.name) + " " + c.text);
    EXPECT_EQ(c.radio.toCode(c.text), c.code);
    EXPECT_EQ(c.radio.toText(c.code, false), c.back ? c.back : c.text);
  }
}

// Stored codes that no choice stores.
TEST(ToneCodesTest, StoredBytesWithoutAnEntry) {
  struct { const ToneRadio& radio; ToneCode code; const char* en; } cases[] = {
      // clang-format off
      {k16, {0x00, 0x00}, "None"},  {k16, {0xFF, 0xFF}, "None"},  {k16, {0x9E, 0x00}, "None"},
      {k16, {0x13, 0xFF}, "None"},
      {k16, {0x77, 0x28}, "D000N"},  // no code with low byte 0x77 below 256
      {k16, {0x00, 0x29}, "D000N"},  {k16, {0x13, 0x29}, "D423N"},  // bit 8 counts
      {k16, {0x77, 0xA8}, "D000I"},  {k16, {0x01, 0x01}, "25.7"},
      {k199, {0x00, 0x00}, "None"},  {k199, {0x23, 0xFF}, "None"},
      {k199, {0x05, 0x80}, "D05N"},   // first digit 0: written out, the rest as it is
      {k199, {0x05, 0xC1}, "D105I"},
      {k199, {0x9E, 0x02}, "30.4"},   // nibbles above 9 count at their value
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.radio.name << " " << int(c.code.low) << "," << int(c.code.high));
    EXPECT_EQ(c.radio.toText(c.code, false), c.en);
    EXPECT_EQ(c.radio.toText(c.code, true), std::string(c.en) == "None" ? "无" : c.en);
  }
}

}  // namespace
}  // namespace varo::radio
