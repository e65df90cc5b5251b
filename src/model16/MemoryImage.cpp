#include "model16/MemoryImage.h"

#include <cstring>

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
    {0x12F, "\x01", 1},  // Voice Annunciation
    {0x130, "\x04", 1},  // Time-Out Timer
    {0x131, "\x09", 1},  // TOT Pre-Alert
    {0x134, "\x04", 1},  // Squelch Level
    {0x135, "\x01", 1},  // Battery Saver
    {0x136, "\x01", 1},  // Beep
    {0x13A, "\x05", 1},  // Vox Gain Level
    {0x13B, "\x02", 1},  // Vox Delay Time
    {0x160, "\x00\x11\x09\x15", 4},  // Priority, Priority Channel, Look Back A/B
    {0x165, "\x30\x00\x30\x00", 4},  // Dropout Delay, Tx Dwell
    {0x17E, "\x00\x00", 2},          // Scan Add maps
    {0x1B8, "K71605\xF0\x01", 8},    // model identifier and the two bytes after it
    {0x3F0, "\x00", 1},              // Call Tone
};

}  // namespace

MemoryImage MemoryImage::NewDocument() {
  MemoryImage image;
  image.bytes.fill(0xFF);
  for (const Default& d : kDefaults) std::memcpy(&image.bytes[d.offset], d.bytes, d.count);
  return image;
}

}  // namespace varo::model16
