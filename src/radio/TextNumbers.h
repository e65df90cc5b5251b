#pragma once

#include <cstdint>
#include <string>

namespace varo::radio {

// Numbers at the start of a cell or INI text, read the way the C library's
// atof and atoi read them (leading white space, a sign, then as many digits
// as follow; no number reads 0) but independent of the process locale, which
// a Qt program sets from the environment.

// Leading decimal number with optional fraction and exponent ("145.5MHz" ->
// 145.5). Infinity, not-a-number and values beyond the range of a double
// are not usable numbers here and read 0.
double LeadingDecimal(const std::string& text);

// Leading whole number ("130 - 160MHz" -> 130), clamped to the 64-bit range.
std::int64_t LeadingInteger(const std::string& text);

// `text` without the spaces and tabs around it (cells, CSV fields, headers).
std::string Trim(const std::string& text);

// `text` with the letters A-Z made small, for comparing column and option
// names whatever their case; other bytes (UTF-8 among them) stay.
std::string AsciiLower(std::string text);

}  // namespace varo::radio
