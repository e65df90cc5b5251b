#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Decimal.h"

namespace varo {
namespace {

TEST(DecimalTest, ExactProductsWherePlainDoublesFail) {
  struct {
    double value;
    std::int64_t factor, truncated;
  } cases[] = {
      // clang-format off
      {446.00625, 100000, 44600625}, {145.5, 100000, 14550000}, {145.013, 100000, 14501300},
      {128.015, 100000, 12801500},  // the plain double product is 12801499.99...
      {67.0, 10, 670},    {254.1, 10, 2541},  {0.5, 20, 10},        {4.55, 20, 91},
      {0.0, 100000, 0},   {-1.5, 10, -15},    {2.675, -100, -267},
      {0.1 + 0.2, 10, 3},                                       // 15 digits make it 0.3
      {1.23456789012345678, 100000000000000, 123456789012346},  // more digits are rounded
      // clang-format on
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalMultiplyTruncate(c.value, c.factor), c.truncated)
        << c.value << " x " << c.factor;
  }
}

// Every frequency on the 5 kHz and the 6.25 kHz raster from 100 to 520 MHz,
// printed as the table shows it, read back and scaled to 10 Hz units, gives
// the number its digits spell.
TEST(DecimalTest, SweepOfEveryRasterFrequency) {
  int failures = 0;
  for (int step : {500, 625}) {
    for (std::int64_t count = 10000000; count <= 52000000; count += step) {
      char text[32];
      std::snprintf(text, sizeof text, "%3.5f", static_cast<double>(count) * 0.00001);
      std::string digits(text);
      digits.erase(digits.find('.'), 1);
      if (DecimalMultiplyTruncate(std::atof(text), 100000) !=
              std::strtoll(digits.c_str(), nullptr, 10) &&
          ++failures < 5) {
        ADD_FAILURE() << text;
      }
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace varo
