#pragma once

#include <vector>

#include "model16/MemoryImage.h"
#include "radio/PrintLayout.h"

namespace varo::model16 {

// The eleven rows of the options page: label and value from the image.
std::vector<radio::ReportRow> OptionsReport(const MemoryImage& image, bool chinese);

// The 16-channel report: the options page above and a four-line block per
// channel (frequencies, tones, power and scan, busy lock and width).
const radio::ReportSpec& Report16();

}  // namespace varo::model16
