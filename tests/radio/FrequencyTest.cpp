#include "radio/Frequency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace varo::radio {
namespace {

TEST(FrequencyTest, TextAndBcdBothWays) {
  struct { const char* text; std::uint32_t count; std::vector<std::uint8_t> bcd; const char* shown; } cases[] = {
      {"446.00625", 44600625, {0x25, 0x06, 0x60, 0x44}, "446.00625"},
      {"145.5", 14550000, {0x00, 0x00, 0x55, 0x14}, "145.50000"},
      {"128.015", 12801500, {0x00, 0x15, 0x80, 0x12}, "128.01500"},
      {" 136.0MHz", 13600000, {0x00, 0x00, 0x60, 0x13}, "136.00000"},
      {"10.00001", 1000001, {0x01, 0x00, 0x00, 0x01}, "10.00001"},
      {"5000", kMaxFrequencyCount, {0x99, 0x99, 0x99, 0x99}, "999.99999"},  // clamped
      {"0.5", 50000, {0x00, 0x00, 0x05, 0x00}, ""},  // top pair 00 reads as none
      {"", 0, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"-145.5", 0, {0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrequencyTextToCount(c.text), c.count) << c.text;
    std::vector<std::uint8_t> bcd = {0x12, 0x34, 0x56, 0x78};
    CountToBcd(c.count, bcd.data());
    EXPECT_EQ(bcd, c.bcd) << c.text;
    EXPECT_EQ(BcdToFrequencyText(c.bcd.data()), c.shown) << c.text;
  }
  // Nibbles above 9 are counted at their value, not rejected.
  const std::uint8_t oddNibbles[4] = {0xFF, 0x00, 0x00, 0x4A};
  EXPECT_EQ(BcdToFrequencyText(oddNibbles), "500.00165");
}

TEST(FrequencyTest, CountsAndBcdBytes) {
  struct { std::int64_t count; const char* text; } texts[] = {
      {14550000, "145.50000"}, {0, "0.00000"}, {5, "0.00005"}, {-14550000, "-145.50000"},
      {2147483647, "21474.83647"}, {-2147483648LL, "-21474.83648"}};
  for (const auto& t : texts) EXPECT_EQ(FrequencyText(t.count), t.text) << t.count;
  EXPECT_EQ(ToBcd(45), 0x45);
  EXPECT_EQ(ToBcd(7), 0x07);
  EXPECT_EQ(FromBcd(0x45), 45u);
  EXPECT_EQ(FromBcd(0x4B), 51u);  // a nibble above 9 counts at its value
}

}  // namespace
}  // namespace varo::radio
