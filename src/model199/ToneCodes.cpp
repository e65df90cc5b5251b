#include "model199/ToneCodes.h"

#include <algorithm>
#include <cstdint>

#include "platform/Decimal.h"
#include "radio/Frequency.h"
#include "radio/TextNumbers.h"

namespace varo::model199 {

namespace {

constexpr std::uint8_t kDcsNormal = 0x80;
constexpr std::uint8_t kDcsInverted = 0xC0;
// DCS codes the radio does not have.
constexpr int kMissingCodes[] = {17, 50};
// Tenths of a hertz a CTCSS code can hold: its high byte stays within
// 0x01-0x79 (BCD of 1-79).
constexpr std::int64_t kLowestTenths = 100;
constexpr std::int64_t kHighestTenths = 7999;
constexpr std::int64_t kHighestDcs = 999;

}  // namespace

std::vector<std::string> ToneChoiceList(bool chinese) {
  std::vector<int> codes;
  for (int code : radio::DcsCodes()) {
    if (std::find(std::begin(kMissingCodes), std::end(kMissingCodes), code) ==
        std::end(kMissingCodes)) {
      codes.push_back(code);
    }
  }
  std::vector<std::string> list;
  list.reserve(1 + radio::CtcssTenths().size() + 2 * codes.size());
  list.push_back(radio::kNoTone.In(chinese));
  for (int tenths : radio::CtcssTenths()) list.push_back(radio::CtcssText(tenths));
  for (int code : codes) list.push_back(radio::DcsText(code, true));
  for (int code : codes) list.push_back(radio::DcsText(code, false));
  return list;
}

ToneCode ToneTextToCode(const std::string& text) {
  if (text.find('D') != std::string::npos) {
    const int code =
        static_cast<int>(std::clamp<std::int64_t>(radio::LeadingInteger(text.substr(1)), 0, kHighestDcs));
    const std::uint8_t kind = text.find('N') != std::string::npos ? kDcsNormal : kDcsInverted;
    return {radio::ToBcd(static_cast<unsigned>(code % 100)),
            static_cast<std::uint8_t>(kind + code / 100)};
  }
  const std::int64_t tenths = DecimalMultiplyTruncate(radio::LeadingDecimal(text), 10);
  if (tenths < kLowestTenths || tenths > kHighestTenths) return {0xFF, 0xFF};
  return {radio::ToBcd(static_cast<unsigned>(tenths % 100)),
          radio::ToBcd(static_cast<unsigned>(tenths / 100))};
}

std::string ToneCodeToText(ToneCode code, bool chinese) {
  if (IsNoTone(code)) return radio::kNoTone.In(chinese);
  const unsigned low = radio::FromBcd(code.low);
  if (code.high >= kDcsNormal) {
    const bool inverted = code.high >= kDcsInverted;
    const unsigned first = static_cast<unsigned>(code.high - (inverted ? kDcsInverted : kDcsNormal));
    const unsigned number = first * 100 + low;
    // A first digit of 0 is written out ("D023N"); otherwise the number is
    // printed as it is.
    const std::string prefix = code.high == kDcsNormal || code.high == kDcsInverted ? "D0" : "D";
    return prefix + std::to_string(number) + (inverted ? "I" : "N");
  }
  return radio::CtcssText(static_cast<int>(radio::FromBcd(code.high) * 100 + low));
}

}  // namespace varo::model199
