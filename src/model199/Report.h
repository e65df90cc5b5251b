#pragma once

#include <vector>

#include "model199/MemoryImage.h"
#include "radio/PrintLayout.h"

namespace varo::model199 {

// The sixteen rows of the options page: label and value from the settings
// block.
std::vector<radio::ReportRow> OptionsReport(const MemoryImage& image, bool chinese);

// The 199-channel report: the options page above and a five-line block per
// channel (frequencies, tones, power and channel lock, then the name alone);
// the priority channel prints as "Channel 0:".
const radio::ReportSpec& Report199();

}  // namespace varo::model199
