#include "platform/Decimal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace varo {
namespace {

struct ProductCase {
  double value;
  std::int64_t factor;
  std::int64_t truncated;
};

TEST(DecimalTest, ExactProductsWherePlainDoublesFail) {
  const ProductCase cases[] = {
      {446.00625, 100000, 44600625}, {145.5, 100000, 14550000}, {145.013, 100000, 14501300},
      {462.5625, 100000, 46256250},  {67.0, 10, 670},           {254.1, 10, 2541},
      {123.0, 10, 1230},             {0.5, 20, 10},             {4.55, 20, 91},
      {0.0, 100000, 0},              {-1.5, 10, -15},           {2.675, -100, -267},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalMultiplyTruncate(c.value, c.factor), c.truncated)
        << c.value << " x " << c.factor;
  }
  // The reason the layer exists: plain arithmetic loses a 10 Hz step here.
  volatile double plain = 128.015;
  EXPECT_EQ(static_cast<std::int64_t>(plain * 100000), 12801499);
  EXPECT_EQ(DecimalMultiplyTruncate(plain, 100000), 12801500);
}

TEST(DecimalTest, FifteenSignificantDigitsAreKeptNotMore) {
  // 0.1 + 0.2 is 0.30000000000000004 as a double; 15 digits make it 0.3.
  EXPECT_EQ(DecimalMultiply(0.1 + 0.2, 10), 3.0);
  // A value with more than 15 significant digits is rounded first.
  EXPECT_EQ(DecimalMultiplyTruncate(1.23456789012345678, 100000000000000), 123456789012346);
}

TEST(DecimalTest, SweepOfEveryRasterFrequency) {
  // Every frequency on the 5 kHz and the 6.25 kHz raster from 100 to 520 MHz,
  // printed as the table shows it, read back and scaled to 10 Hz units, must
  // give the number its digits spell.
  int failures = 0;
  for (int step : {500, 625}) {
    for (std::int64_t count = 10000000; count <= 52000000; count += step) {
      char text[32];
      std::snprintf(text, sizeof text, "%3.5f", static_cast<double>(count) * 0.00001);
      std::string digits(text);
      digits.erase(digits.find('.'), 1);
      std::int64_t expected = std::strtoll(digits.c_str(), nullptr, 10);
      if (DecimalMultiplyTruncate(std::atof(text), 100000) != expected && ++failures < 5) {
        ADD_FAILURE() << text;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace varo
