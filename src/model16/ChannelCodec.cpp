#include "model16/ChannelCodec.h"

#include <vector>

#include "model16/ChannelTable.h"
#include "model16/TextNumbers.h"
#include "model16/ToneCodes.h"
#include "platform/Decimal.h"

namespace varo::model16 {

namespace {

// Channel n (1-16) occupies 16 bytes from kRecordBase + 16 x (n - 1).
constexpr std::size_t kRecordBase = 0x010;
constexpr std::size_t kRecordSize = 16;
// Record bytes: frequencies, tones, busy lock, width and power.
constexpr std::size_t kRx = 0;
constexpr std::size_t kTx = 4;
constexpr std::size_t kDecLow = 8;
constexpr std::size_t kEncLow = 10;
constexpr std::size_t kBusyByte = 12;
constexpr std::uint8_t kBusyCarrier = 0x08;
constexpr std::uint8_t kBusyTone = 0x10;
constexpr std::size_t kWidthPowerByte = 13;
constexpr std::uint8_t kWide = 0x10;
constexpr std::uint8_t kHighPower = 0x20;
// Scan Add bit maps: bit n-1 of 0x17E for channels 1-8, bit n-9 of 0x17F for 9-16.
constexpr std::size_t kScanMap = 0x17E;

std::size_t Record(long channel) {
  return kRecordBase + kRecordSize * static_cast<std::size_t>(channel - 1);
}

bool NoTone(std::uint8_t high) { return high == 0x00 || high == 0xFF; }

std::uint8_t& ScanByte(MemoryImage& image, long channel) {
  return image[kScanMap + static_cast<std::size_t>((channel - 1) / 8)];
}
std::uint8_t ScanBit(long channel) {
  return static_cast<std::uint8_t>(1u << ((channel - 1) % 8));
}

void SetBits(std::uint8_t& byte, std::uint8_t bits, bool on) {
  byte = on ? (byte | bits) : (byte & static_cast<std::uint8_t>(~bits));
}

const Words kEnglish{"None", "High", "Low", "Yes", "No", "Off", "Carrier", "QT/DQT", "Wide", "Narrow"};
const Words kChinese{"无", "高", "低", "有", "无", "关", "载波", "QT/DQT", "宽", "窄"};

}  // namespace

std::uint32_t FrequencyTextToCount(const std::string& text) {
  const std::int64_t count = DecimalMultiplyTruncate(LeadingDecimal(text), 100000);
  if (count <= 0) return 0;
  if (count > kMaxFrequencyCount) return kMaxFrequencyCount;
  return static_cast<std::uint32_t>(count);
}

void CountToBcd(std::uint32_t count, std::uint8_t* four) {
  if (count == 0) {
    for (int i = 0; i < 4; ++i) four[i] = 0xFF;
    return;
  }
  if (count > kMaxFrequencyCount) count = kMaxFrequencyCount;
  for (int i = 0; i < 4; ++i) {
    const std::uint32_t pair = count % 100;
    four[i] = static_cast<std::uint8_t>((pair / 10) * 16 + pair % 10);
    count /= 100;
  }
}

std::string BcdToFrequencyText(const std::uint8_t* four) {
  if (four[3] == 0x00 || four[3] == 0xFF) return "";
  // Nibbles above 9 count at their value, as the radio's own reading does;
  // 64 bits hold even 0xFF in every pair.
  std::uint64_t count = 0;
  for (int i = 3; i >= 0; --i) count = count * 100 + (four[i] >> 4) * 10 + (four[i] & 0x0F);
  const std::uint64_t frac = count % 100000;
  std::string fracText = std::to_string(frac);
  return std::to_string(count / 100000) + "." + std::string(5 - fracText.size(), '0') + fracText;
}

std::string CountToFrequencyText(std::uint32_t count) {
  // "%3.5f" of count x 0.00001, in integers: exact and free of the locale.
  std::string frac = std::to_string(count % 100000);
  return std::to_string(count / 100000) + "." + std::string(5 - frac.size(), '0') + frac;
}

const Words& WordsFor(bool chinese) { return chinese ? kChinese : kEnglish; }

void ImageToTable(const MemoryImage& image, GridControl& grid, bool chinese) {
  const Words& w = WordsFor(chinese);
  std::vector<bool> unprogrammed(kChannels + 1, false);
  for (long n = 1; n <= kChannels; ++n) {
    const std::uint8_t* r = &image.bytes[Record(n)];
    grid.SetTextMatrix(n, kColRx, BcdToFrequencyText(r + kRx));
    grid.SetTextMatrix(n, kColTx, BcdToFrequencyText(r + kTx));
    const bool empty = r[kRx + 3] == 0x00 || r[kRx + 3] == 0xFF ||  //
                       r[kTx + 3] == 0x00 || r[kTx + 3] == 0xFF;
    unprogrammed[static_cast<std::size_t>(n)] = empty;

    const ToneCode dec{r[kDecLow], r[kDecLow + 1]};
    const ToneCode enc{r[kEncLow], r[kEncLow + 1]};
    grid.SetTextMatrix(n, kColDec, empty && NoTone(dec.high) ? "" : ToneCodeToText(dec, chinese));
    grid.SetTextMatrix(n, kColEnc, empty && NoTone(enc.high) ? "" : ToneCodeToText(enc, chinese));

    const std::uint8_t wp = r[kWidthPowerByte];
    grid.SetTextMatrix(n, kColPower, empty ? "" : (wp & kHighPower) ? w.high : w.low);
    const std::uint8_t busy = r[kBusyByte] & (kBusyCarrier | kBusyTone);
    grid.SetTextMatrix(n, kColBusy,
                       empty                   ? ""
                       : busy == 0             ? w.off
                       : busy == kBusyCarrier  ? w.carrier
                                               : w.qtDqt);
    grid.SetTextMatrix(n, kColWN, empty ? "" : (wp & kWide) ? w.wide : w.narrow);
  }
  for (long n = 1; n <= kChannels; ++n) {
    const bool inList = image[kScanMap + static_cast<std::size_t>((n - 1) / 8)] & ScanBit(n);
    grid.SetTextMatrix(n, kColScan,
                       inList ? w.yes : unprogrammed[static_cast<std::size_t>(n)] ? "" : w.no);
  }
}

void TableToImage(const GridControl& grid, MemoryImage& image) {
  for (long n = 1; n <= kChannels; ++n) {
    std::uint8_t* r = &image.bytes[Record(n)];
    CountToBcd(FrequencyTextToCount(grid.TextMatrix(n, kColRx)), r + kRx);
    CountToBcd(FrequencyTextToCount(grid.TextMatrix(n, kColTx)), r + kTx);

    const ToneCode dec = ToneTextToCode(grid.TextMatrix(n, kColDec));
    r[kDecLow] = dec.low;
    r[kDecLow + 1] = dec.high;
    const ToneCode enc = ToneTextToCode(grid.TextMatrix(n, kColEnc));
    r[kEncLow] = enc.low;
    r[kEncLow + 1] = enc.high;

    const std::string power = grid.TextMatrix(n, kColPower);
    SetBits(r[kWidthPowerByte], kHighPower, power == kEnglish.high || power == kChinese.high);

    // Off clears both busy bits, Carrier sets the carrier bit; any other text,
    // an empty cell included, means busy lock on tone.
    const std::string busy = grid.TextMatrix(n, kColBusy);
    const bool off = busy == kEnglish.off || busy == kChinese.off;
    const bool carrier = busy == kEnglish.carrier || busy == kChinese.carrier;
    SetBits(r[kBusyByte], kBusyCarrier, carrier);
    SetBits(r[kBusyByte], kBusyTone, !off && !carrier);

    const std::string width = grid.TextMatrix(n, kColWN);
    SetBits(r[kWidthPowerByte], kWide, width == kEnglish.wide || width == kChinese.wide);
  }
  image[kScanMap] = 0x00;
  image[kScanMap + 1] = 0x00;
  for (long n = 1; n <= kChannels; ++n) {
    const std::string scan = grid.TextMatrix(n, kColScan);
    if (scan == kEnglish.yes || scan == kChinese.yes) ScanByte(image, n) |= ScanBit(n);
  }
}

}  // namespace varo::model16
