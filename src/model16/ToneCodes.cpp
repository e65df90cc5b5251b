#include "model16/ToneCodes.h"

#include "radio/TextNumbers.h"
#include "radio/ToneTable.h"
#include "platform/Decimal.h"

namespace varo::model16 {

namespace {

using radio::CtcssText;
using radio::DcsText;
using radio::LeadingDecimal;
using radio::LeadingInteger;
using radio::kNoTone;

// High-byte markers of a DQT code; bit 0 carries bit 8 of the code's value.
constexpr std::uint8_t kDqtNormal = 0x28;
constexpr std::uint8_t kDqtInverted = 0xA8;
// Codes written 372 and up (411-754 in the table) have bit 8 set.
constexpr int kFirstHighCode = 372;

// The three digits read as the octal number they are (023 -> 19).
int OctalValue(int writtenCode) {
  return (writtenCode / 100) * 64 + (writtenCode / 10 % 10) * 8 + writtenCode % 10;
}

}  // namespace

const std::vector<int>& DqtCodes() { return radio::DcsCodes(); }

std::vector<std::string> ToneChoiceList(bool chinese) {
  std::vector<std::string> list;
  list.reserve(1 + radio::CtcssTenths().size() + 2 * DqtCodes().size());
  list.push_back(kNoTone.In(chinese));
  for (int tenths : radio::CtcssTenths()) list.push_back(CtcssText(tenths));
  for (int code : DqtCodes()) list.push_back(DcsText(code, true));
  for (int code : DqtCodes()) list.push_back(DcsText(code, false));
  return list;
}

ToneCode ToneTextToCode(const std::string& text) {
  if (text.find('D') != std::string::npos) {
    const std::string rest = text.substr(1);
    const std::int64_t written = LeadingInteger(rest);
    std::uint8_t high = rest.find('N') != std::string::npos ? kDqtNormal : kDqtInverted;
    if (written >= kFirstHighCode) high |= 0x01;
    std::uint8_t low = 0x00;
    for (int code : DqtCodes()) {
      if (code == written) {
        low = static_cast<std::uint8_t>(OctalValue(code) & 0xFF);
        break;
      }
    }
    return {low, high};
  }

  const std::int64_t tenths = DecimalMultiplyTruncate(LeadingDecimal(text), 10);
  // No tone, and anything that does not fit the 16-bit field.
  if (tenths <= 0 || tenths > 0xFFFF) return {0xFF, 0xFF};
  return {static_cast<std::uint8_t>(tenths % 256), static_cast<std::uint8_t>(tenths / 256)};
}

std::string ToneCodeToText(ToneCode code, bool chinese) {
  if (code.high == 0x00 || code.high == 0xFF) return kNoTone.In(chinese);
  const std::uint8_t marker = code.high & 0xFE;
  if (marker == kDqtNormal || marker == kDqtInverted) {
    const int value = ((code.high & 0x01) << 8) | code.low;
    int written = 0;
    for (int c : DqtCodes()) {
      if (OctalValue(c) == value) {
        written = c;
        break;
      }
    }
    return DcsText(written, marker == kDqtNormal);
  }
  return CtcssText(code.high * 256 + code.low);
}

}  // namespace varo::model16
