#pragma once

#include <cstdint>

namespace varo {

// Exact decimal product, standing where the radio programs have always used
// decimal arithmetic for frequencies (x100000), tone tenths (x10) and
// look-back times (x20).
//
// `value` is first rounded to 15 significant digits, the way a double is turned
// into a decimal number; that decimal is multiplied by `factor` exactly and the
// product converted back to the nearest double. The caller truncates. So
// DecimalMultiply(128.015, 100000) is exactly 12801500.0, where the plain
// double product is 12801499.999999998 and would lose a 10 Hz step.
//
// Values that are not finite, or whose product does not fit, come back as the
// plain double product.
double DecimalMultiply(double value, std::int64_t factor);

// DecimalMultiply, then the fraction cut off towards zero; the result is
// clamped into the range of a 64-bit signed integer.
std::int64_t DecimalMultiplyTruncate(double value, std::int64_t factor);

}  // namespace varo
