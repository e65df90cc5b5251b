#pragma once

#include <cstddef>

#include "radio/MemoryImage.h"

namespace varo::model16 {

using radio::MemoryImage;

// The 16-channel radio's memory: 1024 bytes.
constexpr std::size_t kImageSize = 1024;

// The contents of a new document: 0xFF everywhere but the defaults.
MemoryImage NewImage();

}  // namespace varo::model16
