#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model16/GridControl.h"

namespace varo::model16 {

// The channel table's fixed shape: one header row and sixteen channel rows;
// column 0 holds the channel numbers, columns 1-8 the channel's texts.
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

// Text colour of the fixed cells, 0xRRGGBB (red 0, green 50, blue 240).
constexpr std::uint32_t kFixedTextColor = 0x0032F0;
// Grid alignment value for centre-centre.
constexpr short kAlignCenterCenter = 4;

// The nine header texts of row 0 ("CH", "Rx Frequency", ... "W/N"; Chinese
// "信道", "接收频率", ... "宽/窄").
std::vector<std::string> ChannelTableHeaders(bool chinese);

// Width of column `col` in tenths of the first column's initial width
// (5, 13, 13, 11, 11, 9, 9, 9, 9).
int ColumnWidthTenths(long col);

// First set-up of the table: header texts in row 0, channel numbers (" 1" to
// "16") in column 0, every column's width set to the first column's current
// width times its factor (truncated to a whole twip), all columns centred,
// and the fixed cells' text colour.
void SetUpChannelTable(GridControl& grid, bool chinese);

}  // namespace varo::model16
