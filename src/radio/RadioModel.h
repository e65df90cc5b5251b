#pragma once

#include <cstddef>
#include <string>

#include "radio/ChannelTable.h"
#include "radio/CloneProtocol.h"
#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/PrintLayout.h"
#include "radio/ProductBand.h"

namespace varo {
class IniProfile;
}

namespace varo::radio {

// One radio model as a set of descriptions: what the shared mechanism (the
// document, the channel table and its editor rules, the clone link, the
// report, varo-cli) needs to know to serve it. Each radio defines one
// constant of this type; nothing of the mechanism is copied per radio.
struct RadioModel {
  // What --model names ("16", "199") and the programmer it belongs to.
  std::string name;
  std::string programName;  // "Varo16"
  // The program INI in the program folder ("Varo16.ini").
  std::string iniName;
  // Memory size in bytes; a .dat file of this radio holds exactly this many.
  std::size_t imageSize = 0;
  // The memory of a new document: 0xFF everywhere but the defaults.
  MemoryImage (*newImage)() = nullptr;
  const CloneProtocol* protocol = nullptr;
  const TableSpec* table = nullptr;
  // Image to table: every channel row's texts in the interface language
  // (row 0 and column 0 untouched).
  void (*imageToTable)(const MemoryImage& image, GridControl& grid, bool chinese) = nullptr;
  // Table to image: the channel records (and whatever the table stands for);
  // every byte and bit the table does not stand for keeps its value. The
  // words of both languages are accepted.
  void (*tableToImage)(const GridControl& grid, MemoryImage& image) = nullptr;
  // Where the image keeps the product type and band indexes.
  ProductOffsets product;
  const ReportSpec* report = nullptr;
};

// Image to table followed by the band selection step: what the view does at
// its first update and after a read from the radio. Returns the band limits.
BandLimits FillTableFromImage(const RadioModel& model, MemoryImage& image, GridControl& grid,
                              const IniProfile& ini, const std::string& languageSection,
                              bool chinese, bool newDocument, const TitleSink& setTitle);

}  // namespace varo::radio
