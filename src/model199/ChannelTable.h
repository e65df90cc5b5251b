#pragma once

#include "radio/ChannelTable.h"
#include "radio/DisplayText.h"

namespace varo::model199 {

// The 199-channel radio's channel table: one header row, the priority channel
// (row 1, labelled "Pr") and channels 1-199 (rows 2-200, labelled "  1" to
// "199"); column 0 holds the labels, columns 1-7 the channel's texts in this
// order.
constexpr long kTableRows = 201;
constexpr long kTableCols = 8;

constexpr long kColRx = 1;
constexpr long kColTx = 2;
constexpr long kColDec = 3;
constexpr long kColEnc = 4;
constexpr long kColPower = 5;
constexpr long kColLock = 6;
constexpr long kColName = 7;

// The words the codec writes, in both languages.
extern const radio::Texts kHigh;    // "High"   / "高"
extern const radio::Texts kMiddle;  // "Middle" / "中"
extern const radio::Texts kLow;     // "Low"    / "低"
extern const radio::Texts kLock;    // "Lock"   / "锁定"
extern const radio::Texts kUnlock;  // "Unlock" / "未锁定"

// Names typed in the table: at most this many characters.
constexpr int kNameEditLength = 6;

// Headers ("CH", "Rx Frequency", ... "Cha Name"; Chinese "信道", "接收频率",
// ... "信道名字"), widths in tenths of the first column (5, 13, 13, 11, 11,
// 10, 10, 11), editors (edit boxes 2127, 2128, which also serves any column
// without an editor; drop-down lists 2132 and 2133 with the 261 tones, 1129
// power, 1127 channel lock; the upper-case name box 1126 of at most six
// characters), list entries and new-row defaults ("None", "None", "High",
// "Lock", ""). An edit box receives the cell's text without selecting it.
const radio::TableSpec& Table199();

}  // namespace varo::model199
