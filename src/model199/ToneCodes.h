#pragma once

#include <string>
#include <vector>

#include "radio/ToneTable.h"

namespace varo::model199 {

// A channel's decode or encode tone as its record stores it, low byte first.
// The high byte tells the kind: 0x00 or 0xFF no tone; 0x01-0x7F a CTCSS tone
// in tenths of a hertz as four BCD digits (67.0 Hz: 70 06); 0x80-0xBF a DCS
// code, normal, and 0xC0-0xFE inverted: the high byte adds the code's first
// digit, the low byte holds its last two as BCD (D023N: 23 80, D754I: 54 C7).
// The digits are those of the code as written, not its octal value.
using radio::ToneCode;

// The 261 tone texts the table offers, in order: "None" ("无" in Chinese),
// the 50 CTCSS tones ("67.0" ... "254.1"), the DCS codes normal ("D023N" ...
// "D754N") and the same codes inverted. The radio has no DCS 017 and 050.
std::vector<std::string> ToneChoiceList(bool chinese);

// Text to stored code. A text containing 'D' is a DCS text: the number after
// its first character is the code (kept within three digits), normal when the
// text contains 'N', else inverted. Any other text is read as a leading
// decimal number of hertz, times 10 exactly and truncated; a value that is
// no CTCSS tone the record can hold (below 10.0 Hz or from 800.0 Hz, where the
// high byte would leave 0x01-0x7F), "None", "无" and "" store FF FF.
ToneCode ToneTextToCode(const std::string& text);

// Stored code to text: "None"/"无" for no tone; a DCS code as "D", its number
// and "N" or "I" ("D023N"); a CTCSS tone as "%3.1f" of its hertz. BCD nibbles
// above 9 count at their value.
std::string ToneCodeToText(ToneCode code, bool chinese);

// Whether the code stands for no tone (high byte 0x00 or 0xFF).
inline bool IsNoTone(ToneCode code) { return code.high == 0x00 || code.high == 0xFF; }

}  // namespace varo::model199
