#pragma once

#include <cstddef>

#include "radio/MemoryImage.h"

namespace varo::model199 {

using radio::MemoryImage;

// The 199-channel radio's memory: 8192 bytes.
constexpr std::size_t kImageSize = 8192;

// The contents of a new document: 0xFF everywhere but the settings defaults
// (squelch 1, time-out timer "1", step 25k, channel display and busy off,
// scan mode CO, LED auto, keypad lock manual, encoder on, mode frequency,
// voice sensitivity off, call tone 1, battery saver 0.4, priority scan time
// 3 s) and product type and band index 0.
MemoryImage NewImage();

}  // namespace varo::model199
