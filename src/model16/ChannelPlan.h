#pragma once

#include <vector>

#include "model16/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo::model16 {

// What a channel plan file carries of the 16-channel radio beyond its table:
// the Optional Features (0x12F-0x13B, the call tone at 0x3F0), the scan
// settings (0x160-0x168, the two 16-bit times low byte first) and the VOX
// and scan function switches at 0x3C7, by the names of the dialogs' labels.
const std::vector<radio::OptionField>& OptionFields16();

// Channels that changed rows: each record moves whole (its bytes the table
// does not stand for too), its Scan Add bit goes along in the maps at
// 0x17E/0x17F, and the priority channel (0x161) follows the channel it names.
void MoveChannels16(MemoryImage& image, const std::vector<long>& order);

}  // namespace varo::model16
