#pragma once

#include "radio/ChannelTable.h"

namespace varo::model16 {

// The 16-channel radio's channel table: one header row and sixteen channel
// rows; column 0 holds the channel numbers (" 1" to "16"), columns 1-8 the
// channel's texts in this order.
constexpr long kTableRows = 17;
constexpr long kTableCols = 9;
constexpr long kChannels = 16;

constexpr long kColCh = 0;
constexpr long kColRx = 1;
constexpr long kColTx = 2;
constexpr long kColDec = 3;
constexpr long kColEnc = 4;
constexpr long kColPower = 5;
constexpr long kColScan = 6;
constexpr long kColBusy = 7;
constexpr long kColWN = 8;

// Headers ("CH", "Rx Frequency", ... "W/N"; Chinese "信道", "接收频率", ...
// "宽/窄"), widths in tenths of the first column (5, 13, 13, 11, 11, 9, 9,
// 9, 9), editors (edit boxes 2127, 2128; drop-down lists 2132, 2133 with the
// 265 tones, 1129 power, 1134 scan add, 1139 busy lock, 1128 W/N, which also
// serves any column without an editor), list entries and new-row defaults.
const radio::TableSpec& Table16();

}  // namespace varo::model16
