#pragma once

#include <cstdint>
#include <string>

#include "model16/GridControl.h"
#include "model16/MemoryImage.h"

namespace varo::model16 {

// Converts the sixteen channels between the memory image (radio encoding) and
// the channel table (display texts).
//
// Frequencies are counts of 10 Hz units, stored as 8 packed-BCD digits in four
// bytes, least significant digit pair first: 446.00625 MHz is 44600625 and is
// stored 0x25 0x06 0x60 0x44.

// The largest count that 8 BCD digits hold (999.99999 MHz).
constexpr std::uint32_t kMaxFrequencyCount = 99999999;

// Leading decimal number of `text` (as atof reads it; no number reads 0) times
// 100000 in exact decimal arithmetic, fraction cut off. 0 means no frequency;
// a negative value gives 0 and a value beyond kMaxFrequencyCount gives
// kMaxFrequencyCount.
std::uint32_t FrequencyTextToCount(const std::string& text);

// Stores `count` into four bytes; 0 stores 0xFF x 4 (no frequency). Counts
// beyond kMaxFrequencyCount are stored as kMaxFrequencyCount.
void CountToBcd(std::uint32_t count, std::uint8_t* four);

// The text of four stored bytes: "" when the most significant byte (four[3])
// is 0x00 or 0xFF, else the count in MHz with five decimals ("446.00625").
// Nibbles above 9 are taken at their value, not rejected.
std::string BcdToFrequencyText(const std::uint8_t* four);

// A count of 10 Hz units in MHz as "%3.5f" ("145.50000").
std::string CountToFrequencyText(std::uint32_t count);

// The words the codec writes into the table, in one language.
struct Words {
  std::string noTone;   // "None"
  std::string high;     // "High"
  std::string low;      // "Low"
  std::string yes;      // "Yes"   (in scan list)
  std::string no;       // "No"    (not in scan list)
  std::string off;      // "Off"   (busy lock off)
  std::string carrier;  // "Carrier"
  std::string qtDqt;    // "QT/DQT"
  std::string wide;     // "Wide"
  std::string narrow;   // "Narrow"
};
const Words& WordsFor(bool chinese);

// Image to table: fills columns 1-8 of rows 1-16 in the interface language.
// Column 0 and row 0 are not touched. The band selection step that follows a
// table fill is separate (ProductBand.h, FillTableFromImage).
void ImageToTable(const MemoryImage& image, GridControl& grid, bool chinese);

// Table to image: record bytes 0-13 of all sixteen channels and the scan bit
// maps at 0x17E/0x17F. The words of both languages are accepted; every bit
// and byte the table does not stand for keeps its value.
void TableToImage(const GridControl& grid, MemoryImage& image);

}  // namespace varo::model16
