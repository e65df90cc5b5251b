#pragma once

#include <string>
#include <vector>

#include "radio/ToneTable.h"

namespace varo::model16 {

// A channel's decode or encode tone, as the two bytes stored in its record
// (low byte first). The high byte tells the kind: 0x00 or 0xFF no tone;
// 0x28/0x29 DQT normal and 0xA8/0xA9 DQT inverted (bit 0 = bit 8 of the
// code's octal value, low byte = its low 8 bits); anything else a QT tone in
// tenths of a hertz as a 16-bit number.
using radio::ToneCode;

// The 265 tone texts the table offers, in order: "None" ("无" in Chinese),
// the 50 QT tones ("67.0" ... "254.1"), the 107 DQT codes normal
// ("D017N" ... "D754N") and the same codes inverted ("D017I" ... "D754I").
std::vector<std::string> ToneChoiceList(bool chinese);

// The DQT code table: 107 codes written as three octal digits, read here as
// the decimal number they look like (17, 23, ... 754), in list order.
const std::vector<int>& DqtCodes();

// Text to stored code. A text containing 'D' is a DQT text: the number after
// its first character picks the code (one not in the table stores low byte
// 0x00), "N" anywhere after the first character makes it normal, else it is
// inverted. Any other text is read as a leading decimal number of hertz,
// multiplied by 10 exactly and truncated; 0 (also "None", "无", "" and any
// text that is no number) stores 0xFF 0xFF.
ToneCode ToneTextToCode(const std::string& text);

// Stored code to text: "None"/"无" for no tone, "D%03dN" / "D%03dI" for DQT
// (a low byte matching no table code prints "D000N" / "D000I"), else the QT
// frequency as "%3.1f".
std::string ToneCodeToText(ToneCode code, bool chinese);

}  // namespace varo::model16
