#include "model16/ChannelCodec.h"

#include <vector>

#include "model16/ChannelTable.h"
#include "model16/Layout.h"
#include "model16/ToneCodes.h"
#include "radio/Frequency.h"

namespace varo::model16 {

namespace {

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

using radio::BcdToFrequencyText;
using radio::ColumnRole;
using radio::CountToBcd;
using radio::FrequencyTextToCount;
using radio::GridControl;

// The table's columns, found by what they stand for.
struct Columns {
  long rx, tx, dec, enc, power, scan, busy, wn;
};
const Columns& Cols() {
  static const Columns c = [] {
    const radio::TableSpec& t = Table16();
    return Columns{t.ColumnOf(ColumnRole::kRx),      t.ColumnOf(ColumnRole::kTx),
                   t.ColumnOf(ColumnRole::kDecode),  t.ColumnOf(ColumnRole::kEncode),
                   t.ColumnOf(ColumnRole::kPower),   t.ColumnOf(ColumnRole::kScanAdd),
                   t.ColumnOf(ColumnRole::kBusyLock), t.ColumnOf(ColumnRole::kBandwidth)};
  }();
  return c;
}

}  // namespace

const Words& WordsFor(bool chinese) { return chinese ? kChinese : kEnglish; }

void ImageToTable(const MemoryImage& image, GridControl& grid, bool chinese) {
  const Words& w = WordsFor(chinese);
  const Columns& c = Cols();
  std::vector<bool> unprogrammed(kChannels + 1, false);
  for (long n = 1; n <= kChannels; ++n) {
    const std::uint8_t* r = &image.bytes[Record(n)];
    grid.SetTextMatrix(n, c.rx, BcdToFrequencyText(r + kRx));
    grid.SetTextMatrix(n, c.tx, BcdToFrequencyText(r + kTx));
    const bool empty = r[kRx + 3] == 0x00 || r[kRx + 3] == 0xFF ||  //
                       r[kTx + 3] == 0x00 || r[kTx + 3] == 0xFF;
    unprogrammed[static_cast<std::size_t>(n)] = empty;

    const ToneCode dec{r[kDecLow], r[kDecLow + 1]};
    const ToneCode enc{r[kEncLow], r[kEncLow + 1]};
    grid.SetTextMatrix(n, c.dec, empty && NoTone(dec.high) ? "" : ToneCodeToText(dec, chinese));
    grid.SetTextMatrix(n, c.enc, empty && NoTone(enc.high) ? "" : ToneCodeToText(enc, chinese));

    const std::uint8_t wp = r[kWidthPowerByte];
    grid.SetTextMatrix(n, c.power, empty ? "" : (wp & kHighPower) ? w.high : w.low);
    const std::uint8_t busy = r[kBusyByte] & (kBusyCarrier | kBusyTone);
    grid.SetTextMatrix(n, c.busy,
                       empty                   ? ""
                       : busy == 0             ? w.off
                       : busy == kBusyCarrier  ? w.carrier
                                               : w.qtDqt);
    grid.SetTextMatrix(n, c.wn, empty ? "" : (wp & kWide) ? w.wide : w.narrow);
  }
  for (long n = 1; n <= kChannels; ++n) {
    const bool inList = image[kScanMap + static_cast<std::size_t>((n - 1) / 8)] & ScanBit(n);
    grid.SetTextMatrix(n, c.scan,
                       inList ? w.yes : unprogrammed[static_cast<std::size_t>(n)] ? "" : w.no);
  }
}

void TableToImage(const GridControl& grid, MemoryImage& image) {
  const Columns& c = Cols();
  for (long n = 1; n <= kChannels; ++n) {
    std::uint8_t* r = &image.bytes[Record(n)];
    CountToBcd(FrequencyTextToCount(grid.TextMatrix(n, c.rx)), r + kRx);
    CountToBcd(FrequencyTextToCount(grid.TextMatrix(n, c.tx)), r + kTx);

    const ToneCode dec = ToneTextToCode(grid.TextMatrix(n, c.dec));
    r[kDecLow] = dec.low;
    r[kDecLow + 1] = dec.high;
    const ToneCode enc = ToneTextToCode(grid.TextMatrix(n, c.enc));
    r[kEncLow] = enc.low;
    r[kEncLow + 1] = enc.high;

    const std::string power = grid.TextMatrix(n, c.power);
    SetBits(r[kWidthPowerByte], kHighPower, power == kEnglish.high || power == kChinese.high);

    // Off clears both busy bits, Carrier sets the carrier bit; any other text,
    // an empty cell included, means busy lock on tone.
    const std::string busy = grid.TextMatrix(n, c.busy);
    const bool off = busy == kEnglish.off || busy == kChinese.off;
    const bool carrier = busy == kEnglish.carrier || busy == kChinese.carrier;
    SetBits(r[kBusyByte], kBusyCarrier, carrier);
    SetBits(r[kBusyByte], kBusyTone, !off && !carrier);

    const std::string width = grid.TextMatrix(n, c.wn);
    SetBits(r[kWidthPowerByte], kWide, width == kEnglish.wide || width == kChinese.wide);
  }
  image[kScanMap] = 0x00;
  image[kScanMap + 1] = 0x00;
  for (long n = 1; n <= kChannels; ++n) {
    const std::string scan = grid.TextMatrix(n, c.scan);
    if (scan == kEnglish.yes || scan == kChinese.yes) ScanByte(image, n) |= ScanBit(n);
  }
}

}  // namespace varo::model16
