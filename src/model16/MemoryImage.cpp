#include "model16/MemoryImage.h"

#include <cstring>

#include "model16/Layout.h"

namespace varo::model16 {

namespace {

// Bytes a new document sets over the 0xFF background: header block, option
// defaults, scan defaults, empty scan maps, model identifier, call tone.
// Channel records, the revert channel (0x164) and the product type and band
// indexes (0x3D2/0x3D3) stay 0xFF; the band step fills the latter.
struct Default {
  std::size_t offset;
  const char* bytes;
  std::size_t count;
};

constexpr Default kDefaults[] = {
    {0x000, "\x00\x00\x00", 3},
    {0x008, "\x00\x03\x01\x00\x02\x00\x24\x11", 8},
    {kVoiceAnnunciation, "\x01", 1},
    {kTimeOutTimer, "\x04", 1},
    {kTotPreAlert, "\x09", 1},
    {kSquelchLevel, "\x04", 1},
    {kBatterySaver, "\x01", 1},
    {kBeep, "\x01", 1},
    {kVoxGainLevel, "\x05", 1},
    {kVoxDelayTime, "\x02", 1},
    {kPriority, "\x00\x11\x09\x15", 4},     // and Priority Channel, Look Back A/B
    {kDropoutDelay, "\x30\x00\x30\x00", 4},  // and Tx Dwell
    {kScanMap, "\x00\x00", 2},
    {kModelIdentifier, "K71605\xF0\x01", 8},
    {kCallTone, "\x00", 1},
};

}  // namespace

MemoryImage NewImage() {
  MemoryImage image(kImageSize, 0xFF);
  for (const Default& d : kDefaults) std::memcpy(&image.bytes[d.offset], d.bytes, d.count);
  return image;
}

}  // namespace varo::model16
