#include "model199/MemoryImage.h"

#include <cstdint>

#include "model199/Layout.h"

namespace varo::model199 {

namespace {

struct Default {
  std::size_t offset;
  std::uint8_t value;
};

// The beep bit is already set in the 0xFF background.
constexpr Default kDefaults[] = {
    {kSquelchLevel, 1},      {kTimeOutTimer, 1}, {kTypeIndex, 0},    {kBandIndex, 0},
    {kStep, 4},              {kDisplayFlags, 0xD4}, {kScanFlags, 0x21},
    {kVoiceSensitivity, 0},  {kCallTone, 1},     {kBatterySaver, 2}, {kPriScanTime, 0},
};

}  // namespace

MemoryImage NewImage() {
  MemoryImage image(kImageSize, 0xFF);
  for (const Default& d : kDefaults) image[d.offset] = d.value;
  return image;
}

}  // namespace varo::model199
