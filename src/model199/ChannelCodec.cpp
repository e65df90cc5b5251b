#include "model199/ChannelCodec.h"

#include "model199/ChannelTable.h"
#include "model199/Layout.h"
#include "model199/ToneCodes.h"
#include "radio/Frequency.h"

namespace varo::model199 {

namespace {

using radio::ColumnRole;
using radio::GridControl;

constexpr std::uint8_t kPowerBits = 0x30;
constexpr int kPowerShift = 4;
constexpr std::uint8_t kLockBit = 0x08;
constexpr int kPowerLow = 0, kPowerMiddle = 1, kPowerHigh = 2;

// Name codes 36 and 38 and their characters; 37 has none.
constexpr std::uint8_t kLetterCodes = 10;
constexpr std::uint8_t kDashCode = 36;
constexpr std::uint8_t kUnderscoreCode = 38;
constexpr std::uint8_t kNoCode = 0xFF;

std::size_t Record(long row) { return kRecordBase + kRecordSize * static_cast<std::size_t>(row - 1); }
std::size_t Name(long row) { return kNameBase + kNameSize * static_cast<std::size_t>(row - 1); }

bool NoFrequency(std::uint8_t topPair) { return topPair == 0x00 || topPair == 0xFF; }

std::uint8_t NameCode(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(kLetterCodes + (c - 'A'));
  if (c == '-') return kDashCode;
  if (c == '_') return kUnderscoreCode;
  return kNoCode;
}

// The character of a name code; '\0' when it has none.
char NameChar(std::uint8_t code) {
  if (code < kLetterCodes) return static_cast<char>('0' + code);
  if (code < kDashCode) return static_cast<char>('A' + (code - kLetterCodes));
  if (code == kDashCode) return '-';
  if (code == kUnderscoreCode) return '_';
  return '\0';
}

// The table's columns, found by what they stand for.
struct Columns {
  long rx, tx, dec, enc, power, lock, name;
};
const Columns& Cols() {
  static const Columns c = [] {
    const radio::TableSpec& t = Table199();
    return Columns{t.ColumnOf(ColumnRole::kRx),     t.ColumnOf(ColumnRole::kTx),
                   t.ColumnOf(ColumnRole::kDecode), t.ColumnOf(ColumnRole::kEncode),
                   t.ColumnOf(ColumnRole::kPower),  t.ColumnOf(ColumnRole::kLock),
                   t.ColumnOf(ColumnRole::kName)};
  }();
  return c;
}

std::string PowerText(std::uint8_t flags, bool chinese) {
  switch ((flags & kPowerBits) >> kPowerShift) {
    case kPowerLow:
      return kLow.In(chinese);
    case kPowerMiddle:
      return kMiddle.In(chinese);
    case kPowerHigh:
      return kHigh.In(chinese);
    default:
      return "";  // 3 has no word; the cell stores Low again
  }
}

std::string ToneText(ToneCode code, bool unprogrammed, bool chinese) {
  return unprogrammed && IsNoTone(code) ? "" : ToneCodeToText(code, chinese);
}

void PutTone(ToneCode code, std::uint8_t* two) {
  two[0] = code.low;
  two[1] = code.high;
}

}  // namespace

std::string NameFromBytes(const std::uint8_t* eight) {
  std::string name;
  for (std::size_t i = 0; i < kNameSize; ++i) {
    const char c = NameChar(eight[i]);
    if (c == '\0') break;
    name += c;
  }
  return name;
}

void NameToBytes(const std::string& name, std::uint8_t* eight) {
  bool cut = false;
  for (std::size_t i = 0; i < kNameSize; ++i) {
    const std::uint8_t code = !cut && i < name.size() ? NameCode(name[i]) : kNoCode;
    cut = code == kNoCode;
    eight[i] = code;
  }
}

void ImageToTable(const MemoryImage& image, GridControl& grid, bool chinese) {
  const Columns& c = Cols();
  for (long row = 1; row <= kRecords; ++row) {
    const std::uint8_t* r = &image.bytes[Record(row)];
    grid.SetTextMatrix(row, c.rx, radio::BcdToFrequencyText(r + kRecordRx));
    grid.SetTextMatrix(row, c.tx, radio::BcdToFrequencyText(r + kRecordTx));
    const bool unprogrammed = NoFrequency(r[kRecordRx + 3]) || NoFrequency(r[kRecordTx + 3]);
    grid.SetTextMatrix(row, c.dec,
                       ToneText({r[kRecordDecode], r[kRecordDecode + 1]}, unprogrammed, chinese));
    grid.SetTextMatrix(row, c.enc,
                       ToneText({r[kRecordEncode], r[kRecordEncode + 1]}, unprogrammed, chinese));
    const std::uint8_t flags = r[kRecordFlags];
    grid.SetTextMatrix(row, c.power, unprogrammed ? "" : PowerText(flags, chinese));
    grid.SetTextMatrix(row, c.lock,
                       unprogrammed ? "" : ((flags & kLockBit) ? kLock : kUnlock).In(chinese));
    grid.SetTextMatrix(row, c.name, NameFromBytes(&image.bytes[Name(row)]));
  }
}

void TableToImage(const GridControl& grid, MemoryImage& image) {
  const Columns& c = Cols();
  for (long row = 1; row <= kRecords; ++row) {
    std::uint8_t* r = &image.bytes[Record(row)];
    radio::CountToBcd(radio::FrequencyTextToCount(grid.TextMatrix(row, c.rx)), r + kRecordRx);
    radio::CountToBcd(radio::FrequencyTextToCount(grid.TextMatrix(row, c.tx)), r + kRecordTx);
    PutTone(ToneTextToCode(grid.TextMatrix(row, c.dec)), r + kRecordDecode);
    PutTone(ToneTextToCode(grid.TextMatrix(row, c.enc)), r + kRecordEncode);

    const std::string power = grid.TextMatrix(row, c.power);
    const int level = kHigh.Matches(power) ? kPowerHigh : kMiddle.Matches(power) ? kPowerMiddle : kPowerLow;
    std::uint8_t flags = r[kRecordFlags] & static_cast<std::uint8_t>(~(kPowerBits | kLockBit));
    flags |= static_cast<std::uint8_t>(level << kPowerShift);
    if (kLock.Matches(grid.TextMatrix(row, c.lock))) flags |= kLockBit;
    r[kRecordFlags] = flags;

    NameToBytes(grid.TextMatrix(row, c.name), &image.bytes[Name(row)]);
  }
}

}  // namespace varo::model199
