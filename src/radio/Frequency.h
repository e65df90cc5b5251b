#pragma once

#include <cstdint>
#include <string>

namespace varo::radio {

// Frequencies are counts of 10 Hz units. Both radios store one as 8 packed-BCD
// digits in four bytes, least significant digit pair first: 446.00625 MHz is
// 44600625 and is stored 0x25 0x06 0x60 0x44. 0xFF in all four bytes means no
// frequency.
//
// The most significant pair is stored as tens x 16 + units even when it runs
// past 99: 1240.00000 MHz is 124000000, its top pair 124 is stored as 0xC4
// (tens 12 in the high nibble). A byte holds tens up to 15, so 1599.99999 MHz
// (0x99 0x99 0x99 0xF9) is the highest frequency four bytes can hold.

// The largest count four bytes can hold (1599.99999 MHz).
constexpr std::uint32_t kMaxFrequencyCount = 159999999;
// The smallest count that reads back as a frequency (10.00000 MHz): below it
// the top pair is 0x00, which means no frequency.
constexpr std::uint32_t kMinFrequencyCount = 1000000;

// One byte of a digit pair: tens x 16 + units, for 0-159 ("45" -> 0x45,
// "124" -> 0xC4).
std::uint8_t ToBcd(unsigned value);
// A byte read as two decimal digits, high nibble first, without a check: a
// nibble of 10-15 counts as that value times its place (0x4B -> 51).
unsigned FromBcd(std::uint8_t byte);

// Leading decimal number of `text` (as atof reads it; no number reads 0) times
// 100000 in exact decimal arithmetic, fraction cut off. 0 means no frequency;
// a negative value gives 0, a value past 32 bits the largest 32-bit count.
std::uint32_t FrequencyTextToCount(const std::string& text);

// Stores `count` into four bytes; 0 stores 0xFF x 4 (no frequency). A count
// beyond kMaxFrequencyCount cannot be stored: the four bytes are left as they
// are and false is returned. Such a count only reaches the table from bytes
// read with nibbles above 9 (the editor refuses it when typed), so keeping the
// bytes keeps the value the table shows.
bool CountToBcd(std::uint32_t count, std::uint8_t* four);

// The text of four stored bytes: "" when the most significant byte (four[3])
// is 0x00 or 0xFF, else the count in MHz with five decimals ("446.00625").
// Nibbles above 9 are taken at their value, not rejected.
std::string BcdToFrequencyText(const std::uint8_t* four);

// A count of 10 Hz units in MHz as "%3.5f" ("145.50000"), done in integers,
// exact and free of the locale. Negative counts get a leading "-".
std::string FrequencyText(std::int64_t count);

}  // namespace varo::radio
