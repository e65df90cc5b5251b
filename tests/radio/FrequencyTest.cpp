#include "radio/Frequency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace varo::radio {
namespace {

TEST(FrequencyTest, TextAndBcdBothWays) {
  // `stored` false: the count cannot be stored and the four bytes keep what
  // they held (0x12 0x34 0x56 0x78).
  struct { const char* text; std::uint32_t count; bool stored; std::vector<std::uint8_t> bcd; const char* shown; } cases[] = {
      {"446.00625", 44600625, true, {0x25, 0x06, 0x60, 0x44}, "446.00625"},
      {"145.5", 14550000, true, {0x00, 0x00, 0x55, 0x14}, "145.50000"},
      {"128.015", 12801500, true, {0x00, 0x15, 0x80, 0x12}, "128.01500"},
      {" 136.0MHz", 13600000, true, {0x00, 0x00, 0x60, 0x13}, "136.00000"},
      {"10.00001", 1000001, true, {0x01, 0x00, 0x00, 0x01}, "10.00001"},
      {"999.99999", 99999999, true, {0x99, 0x99, 0x99, 0x99}, "999.99999"},
      // The top pair runs past 99 with its tens in the high nibble.
      {"1000", 100000000, true, {0x00, 0x00, 0x00, 0xA0}, "1000.00000"},
      {"1240", 124000000, true, {0x00, 0x00, 0x00, 0xC4}, "1240.00000"},
      {"1296.0125", 129601250, true, {0x50, 0x12, 0x60, 0xC9}, "1296.01250"},
      {"1599.99999", kMaxFrequencyCount, true, {0x99, 0x99, 0x99, 0xF9}, "1599.99999"},
      {"1600", 160000000, false, {0x12, 0x34, 0x56, 0x78}, nullptr},
      {"50000", 4294967295u, false, {0x12, 0x34, 0x56, 0x78}, nullptr},  // past 32 bits
      {"0.5", 50000, true, {0x00, 0x00, 0x05, 0x00}, ""},  // top pair 00 reads as none
      {"", 0, true, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"-145.5", 0, true, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrequencyTextToCount(c.text), c.count) << c.text;
    std::vector<std::uint8_t> bcd = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(CountToBcd(c.count, bcd.data()), c.stored) << c.text;
    EXPECT_EQ(bcd, c.bcd) << c.text;
    if (c.shown) {
      EXPECT_EQ(BcdToFrequencyText(c.bcd.data()), c.shown) << c.text;
    }
  }
  // Nibbles above 9 are counted at their value, not rejected; in the top
  // byte as anywhere else (0xFE: 15 x 10 + 14 = 164).
  struct { std::uint8_t four[4]; const char* shown; } odd[] = {
      {{0xFF, 0x00, 0x00, 0x4A}, "500.00165"},
      {{0x00, 0x00, 0x00, 0xFE}, "1640.00000"},
      {{0x05, 0x00, 0x00, 0xAF}, "1150.00005"},
  };
  for (const auto& o : odd) EXPECT_EQ(BcdToFrequencyText(o.four), o.shown) << o.shown;
}

TEST(FrequencyTest, CountsAndBcdBytes) {
  struct { std::int64_t count; const char* text; } texts[] = {
      {14550000, "145.50000"}, {0, "0.00000"}, {5, "0.00005"}, {-14550000, "-145.50000"},
      {2147483647, "21474.83647"}, {-2147483648LL, "-21474.83648"}};
  for (const auto& t : texts) EXPECT_EQ(FrequencyText(t.count), t.text) << t.count;
  EXPECT_EQ(ToBcd(45), 0x45);
  EXPECT_EQ(ToBcd(7), 0x07);
  EXPECT_EQ(ToBcd(159), 0xF9);
  EXPECT_EQ(FromBcd(0x45), 45u);
  EXPECT_EQ(FromBcd(0x4B), 51u);  // a nibble above 9 counts at its value
}

}  // namespace
}  // namespace varo::radio
