#include "model199/ChannelPlan.h"

#include <algorithm>

#include "model199/Layout.h"

namespace varo::model199 {

const std::vector<radio::OptionField>& OptionFields199() {
  static const std::vector<radio::OptionField> fields = {
      {"LED", kDisplayFlags, 0x0C},
      {"Battery Saver", kBatterySaver, 0xFF},
      {"Keypad Lock", kDisplayFlags, 0x02},
      {"Time-Out Timer", kTimeOutTimer, 0xFF},
      {"Voice Sensitivity", kVoiceSensitivity, 0xFF},
      {"Priority Scan", kScanFlags, 0x40},
      {"Channel Display", kDisplayFlags, 0x80},
      {"Pri-Scanning Time", kPriScanTime, 0xFF},
      {"Step", kStep, 0xFF},
      {"Call Tone", kCallTone, 0xFF},
      {"Squelch Level", kSquelchLevel, 0xFF},
      {"Encoder", kScanFlags, 0x20},
      {"Mode", kScanFlags, 0x03},
      {"Busy", kDisplayFlags, 0x40},
      {"Scan Mode", kDisplayFlags, 0x30},
      {"Beep", kBeep, 0x01},
  };
  return fields;
}

void MoveChannels199(MemoryImage& image, const std::vector<long>& order) {
  const MemoryImage before = image;
  const long rows = std::min<long>(kRecords, static_cast<long>(order.size()) - 1);
  for (long row = 2; row <= rows; ++row) {
    const long from = order[static_cast<std::size_t>(row)];
    if (from < 2 || from > kRecords || from == row) continue;
    const auto to = static_cast<std::size_t>(row - 1), at = static_cast<std::size_t>(from - 1);
    std::copy_n(before.bytes.begin() + static_cast<std::ptrdiff_t>(kRecordBase + kRecordSize * at),
                kRecordSize, image.bytes.begin() + static_cast<std::ptrdiff_t>(kRecordBase + kRecordSize * to));
    std::copy_n(before.bytes.begin() + static_cast<std::ptrdiff_t>(kNameBase + kNameSize * at),
                kNameSize, image.bytes.begin() + static_cast<std::ptrdiff_t>(kNameBase + kNameSize * to));
  }
}

}  // namespace varo::model199
