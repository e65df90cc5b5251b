#pragma once

#include <cstdint>
#include <string>

#include "model199/MemoryImage.h"
#include "radio/GridControl.h"

namespace varo::model199 {

// Converts the priority channel and channels 1-199 between the memory image
// (records and names) and the channel table (display texts). Frequencies are
// stored as radio/Frequency.h describes, tones as model199/ToneCodes.h does.

// A name of eight stored name codes: "0"-"9" are codes 0-9, "A"-"Z" 10-35,
// "-" 36 and "_" 38; 0xFF fills the bytes after the last character.

// The stored name read from its first byte up to the first byte that is no
// character's code, at most eight characters.
std::string NameFromBytes(const std::uint8_t* eight);

// The name's characters as codes, 0xFF after the last one. A character
// without a code cuts the name there: it and everything after it store 0xFF,
// so that the stored name reads back as what precedes it. Characters after
// the eighth are not stored.
void NameToBytes(const std::string& name, std::uint8_t* eight);

// Image to table: fills columns 1-7 of rows 1-200 in the interface language.
// Column 0 and row 0 are not touched. A row is unprogrammed when the top BCD
// pair of either frequency is 0x00 or 0xFF; its power, lock and "no tone"
// cells are then empty. A power value of 3 has no word: its cell is empty.
// Names show on every row. The band selection step that follows is separate
// (radio/RadioModel.h, FillTableFromImage).
void ImageToTable(const MemoryImage& image, radio::GridControl& grid, bool chinese);

// Table to image: record bytes 0-11, bits 5-3 of byte 12 and the name of all
// 200 rows. The words of both languages are accepted; an empty or unknown
// power text stores Low, any lock text but "Lock" stores Unlock. Record bytes
// 13-15, the other bits of byte 12 and everything outside records and names
// keep their values.
void TableToImage(const radio::GridControl& grid, MemoryImage& image);

}  // namespace varo::model199
