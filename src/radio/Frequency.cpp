#include "radio/Frequency.h"

#include <limits>

#include "platform/Decimal.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

std::uint8_t ToBcd(unsigned value) {
  return static_cast<std::uint8_t>((value / 10) * 16 + value % 10);
}

unsigned FromBcd(std::uint8_t byte) { return (byte >> 4) * 10u + (byte & 0x0Fu); }

std::uint32_t FrequencyTextToCount(const std::string& text) {
  const std::int64_t count = DecimalMultiplyTruncate(LeadingDecimal(text), 100000);
  constexpr std::uint32_t kLargest = std::numeric_limits<std::uint32_t>::max();
  if (count <= 0) return 0;
  if (count > kLargest) return kLargest;
  return static_cast<std::uint32_t>(count);
}

bool CountToBcd(std::uint32_t count, std::uint8_t* four) {
  if (count == 0) {
    for (int i = 0; i < 4; ++i) four[i] = 0xFF;
    return true;
  }
  if (count > kMaxFrequencyCount) return false;
  for (int i = 0; i < 3; ++i) {
    four[i] = ToBcd(count % 100);
    count /= 100;
  }
  four[3] = ToBcd(count);  // the top pair, 1-159
  return true;
}

std::string BcdToFrequencyText(const std::uint8_t* four) {
  if (four[3] == 0x00 || four[3] == 0xFF) return "";
  // Nibbles above 9 count at their value, as the radio's own reading does;
  // 64 bits hold even 0xFF in every pair.
  std::int64_t count = 0;
  for (int i = 3; i >= 0; --i) count = count * 100 + FromBcd(four[i]);
  return FrequencyText(count);
}

std::string FrequencyText(std::int64_t count) {
  const std::uint64_t magnitude =
      count < 0 ? static_cast<std::uint64_t>(-(count + 1)) + 1 : static_cast<std::uint64_t>(count);
  const std::string frac = std::to_string(magnitude % 100000);
  return (count < 0 ? "-" : "") + std::to_string(magnitude / 100000) + "." +
         std::string(5 - frac.size(), '0') + frac;
}

}  // namespace varo::radio
