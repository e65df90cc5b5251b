#include "platform/Decimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace varo {

namespace {
__extension__ typedef unsigned __int128 Uint128;
}  // namespace

double DecimalMultiply(double value, std::int64_t factor) {
  if (!std::isfinite(value)) return value * static_cast<double>(factor);

  // 15 significant digits: one before the point, fourteen after.
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", value);

  // text is "[-]d.ddddddddddddddde[+-]xx": collect the 15 digits as an
  // integer mantissa and the exponent of its last digit.
  bool negative = false;
  const char* p = text;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  Uint128 mantissa = 0;
  int digits = 0;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') {
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
      ++digits;
    }
  }
  if (*p != 'e') return value * static_cast<double>(factor);
  int exponent = std::atoi(p + 1) - (digits - 1);

  bool negativeFactor = factor < 0;
  Uint128 f = negativeFactor ? static_cast<Uint128>(-(factor + 1)) + 1
                                       : static_cast<Uint128>(factor);
  // 15 digits (< 2^50) times a 64-bit factor fits in 128 bits.
  Uint128 product = mantissa * f;
  if (negativeFactor) negative = !negative;

  // Print the exact product as "digits e exponent" and let strtod, which
  // rounds correctly, find the nearest double.
  std::string digitsText;
  if (product == 0) digitsText = "0";
  while (product > 0) {
    digitsText.insert(digitsText.begin(), static_cast<char>('0' + static_cast<int>(product % 10)));
    product /= 10;
  }
  std::string exact = (negative ? "-" : "") + digitsText + "e" + std::to_string(exponent);
  return std::strtod(exact.c_str(), nullptr);
}

std::int64_t DecimalMultiplyTruncate(double value, std::int64_t factor) {
  double product = std::trunc(DecimalMultiply(value, factor));
  if (std::isnan(product)) return 0;
  // 2^63 is exactly representable; anything at or beyond it is clamped.
  constexpr double kLimit = 9223372036854775808.0;
  if (product >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (product < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(product);
}

}  // namespace varo
