#pragma once

#include <cstdint>
#include <string>

#include "model16/MemoryImage.h"
#include "radio/GridControl.h"

namespace varo::model16 {

// Converts the sixteen channels between the memory image (radio encoding) and
// the channel table (display texts). Frequencies are stored as radio/Frequency.h
// describes.

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
// table fill is separate (radio/RadioModel.h, FillTableFromImage).
void ImageToTable(const MemoryImage& image, radio::GridControl& grid, bool chinese);

// Table to image: record bytes 0-13 of all sixteen channels and the scan bit
// maps at 0x17E/0x17F. The words of both languages are accepted; every bit
// and byte the table does not stand for keeps its value.
void TableToImage(const radio::GridControl& grid, MemoryImage& image);

}  // namespace varo::model16
