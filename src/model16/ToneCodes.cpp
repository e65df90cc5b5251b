#include "model16/ToneCodes.h"

#include <cstdio>

#include "radio/TextNumbers.h"
#include "platform/Decimal.h"

namespace varo::model16 {

namespace {

using radio::LeadingDecimal;
using radio::LeadingInteger;

// QT tones in tenths of a hertz, in list order.
constexpr int kQtTenths[50] = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966,
    1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541,
};

// The radio's DQT codes, written as their three octal digits.
const std::vector<int> kDqtCodes = {
    17,  23,  25,  26,  31,  32,  36,  43,  47,  50,  51,  53,  54,  65,  71,  72,
    73,  74,  114, 115, 116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162,
    165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246, 251, 252, 255, 261,
    263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364,
    365, 371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465,
    466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624, 627, 631, 632, 645,
    654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754,
};

// High-byte markers of a DQT code; bit 0 carries bit 8 of the code's value.
constexpr std::uint8_t kDqtNormal = 0x28;
constexpr std::uint8_t kDqtInverted = 0xA8;
// Codes written 372 and up (411-754 in the table) have bit 8 set.
constexpr int kFirstHighCode = 372;

const char* NoneWord(bool chinese) { return chinese ? "无" : "None"; }

// The three digits read as the octal number they are (023 -> 19).
int OctalValue(int writtenCode) {
  return (writtenCode / 100) * 64 + (writtenCode / 10 % 10) * 8 + writtenCode % 10;
}

std::string Tenths(int tenths) {
  // "%3.1f" of tenths x 0.1, done in integers so the locale plays no part.
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string DqtText(int writtenCode, bool normal) {
  char text[16];
  std::snprintf(text, sizeof text, "D%03d%c", writtenCode, normal ? 'N' : 'I');
  return text;
}

}  // namespace

const std::vector<int>& DqtCodes() { return kDqtCodes; }

std::vector<std::string> ToneChoiceList(bool chinese) {
  std::vector<std::string> list;
  list.reserve(1 + 50 + 2 * kDqtCodes.size());
  list.emplace_back(NoneWord(chinese));
  for (int tenths : kQtTenths) list.push_back(Tenths(tenths));
  for (int code : kDqtCodes) list.push_back(DqtText(code, true));
  for (int code : kDqtCodes) list.push_back(DqtText(code, false));
  return list;
}

ToneCode ToneTextToCode(const std::string& text) {
  if (text.find('D') != std::string::npos) {
    const std::string rest = text.substr(1);
    const std::int64_t written = LeadingInteger(rest);
    std::uint8_t high = rest.find('N') != std::string::npos ? kDqtNormal : kDqtInverted;
    if (written >= kFirstHighCode) high |= 0x01;
    std::uint8_t low = 0x00;
    for (int code : kDqtCodes) {
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
  if (code.high == 0x00 || code.high == 0xFF) return NoneWord(chinese);
  const std::uint8_t marker = code.high & 0xFE;
  if (marker == kDqtNormal || marker == kDqtInverted) {
    const int value = ((code.high & 0x01) << 8) | code.low;
    int written = 0;
    for (int c : kDqtCodes) {
      if (OctalValue(c) == value) {
        written = c;
        break;
      }
    }
    return DqtText(written, marker == kDqtNormal);
  }
  return Tenths(code.high * 256 + code.low);
}

}  // namespace varo::model16
