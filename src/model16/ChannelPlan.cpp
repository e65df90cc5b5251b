#include "model16/ChannelPlan.h"

#include <algorithm>

#include "model16/ChannelTable.h"
#include "model16/Layout.h"

namespace varo::model16 {

const std::vector<radio::OptionField>& OptionFields16() {
  static const std::vector<radio::OptionField> fields = {
      {"Time-Out Timer", kTimeOutTimer, 0x7F},
      {"TOT Pre-Alert", kTotPreAlert, 0x0F},
      {"Squelch Level", kSquelchLevel, 0x0F},
      {"Voice Annunciation", kVoiceAnnunciation, 0x03},
      {"Call Tone", kCallTone, 0xFF},
      {"Vox Gain Level", kVoxGainLevel, 0x1F},
      {"Vox Delay Time", kVoxDelayTime, 0x07},
      {"Beep", kBeep, 0x01},
      {"Battery Saver", kBatterySaver, 0x01},
      {"Priority", kPriority, 0xFF},
      {"Priority Channel", kPriorityChannel, 0xFF},
      {"Look Back Time A", kLookBackA, 0xFF},
      {"Look Back Time B", kLookBackB, 0xFF},
      {"Revert Channel", kRevertChannel, 0xFF},
      {"Dropout Delay Time", kDropoutDelay, 0xFF, true},
      {"Tx Dwell Time", kTxDwell, 0xFF, true},
      {"VOX Function", kFunctionFlags, 0x01},
      {"Scan Function", kFunctionFlags, 0x02},
  };
  return fields;
}

void MoveChannels16(MemoryImage& image, const std::vector<long>& order) {
  const MemoryImage before = image;
  auto record = [](long channel) { return kRecordBase + kRecordSize * static_cast<std::size_t>(channel - 1); };
  auto scanBit = [](const MemoryImage& from, long channel) {
    return (from[kScanMap + static_cast<std::size_t>((channel - 1) / 8)] >> ((channel - 1) % 8)) & 1;
  };
  const long rows = std::min<long>(kChannels, static_cast<long>(order.size()) - 1);
  for (long channel = 1; channel <= rows; ++channel) {
    const long from = order[static_cast<std::size_t>(channel)];
    if (from < 1 || from > kChannels) continue;
    std::copy_n(before.bytes.begin() + static_cast<std::ptrdiff_t>(record(from)), kRecordSize,
                image.bytes.begin() + static_cast<std::ptrdiff_t>(record(channel)));
    std::uint8_t& map = image[kScanMap + static_cast<std::size_t>((channel - 1) / 8)];
    const auto bit = static_cast<std::uint8_t>(1u << ((channel - 1) % 8));
    map = scanBit(before, from) ? (map | bit) : (map & static_cast<std::uint8_t>(~bit));
    if (before[kPriorityChannel] == from) image[kPriorityChannel] = static_cast<std::uint8_t>(channel);
  }
}

}  // namespace varo::model16
