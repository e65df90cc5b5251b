#pragma once

#include <vector>

#include "model199/MemoryImage.h"
#include "radio/RadioModel.h"

namespace varo::model199 {

// What a channel plan file carries of the 199-channel radio beyond its table:
// every field of the Optional Features dialog, by its label. A field the
// dialog writes as a whole byte is carried as that byte.
const std::vector<radio::OptionField>& OptionFields199();

// Channels that changed rows: each record moves whole (its bytes the table
// does not stand for too) and its name goes along. The priority channel is
// record 0 in row 1; it never changes rows.
void MoveChannels199(MemoryImage& image, const std::vector<long>& order);

}  // namespace varo::model199
