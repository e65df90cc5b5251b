#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// A radio-wide setting as a channel plan file (radio/ChannelCsv.h) carries
// it: the bits of `mask` in the byte at `offset`, or with `word` the 16-bit
// number in that byte and the next, low byte first. Its value is the number
// those bits hold, counted from the lowest bit of the mask.
struct OptionField {
  std::string name;  // "Squelch Level": the file's name for it
  std::size_t offset = 0;
  std::uint8_t mask = 0xFF;
  bool word = false;
};

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
  // Every radio-wide setting the program reads from the image (Optional
  // Features, scan settings, switches it only prints), except the product
  // type and band, which belong to the radio rather than to a channel plan.
  const std::vector<OptionField>* options = nullptr;
  // Channels moved to other rows of the table (rows inserted, deleted or
  // moved): `order[r]` is the row whose channel row r holds now (order[0] is
  // 0, and a row that stays names itself). Moves with them what the image
  // keeps per channel beyond the table's texts: whole records, and anything
  // that names a channel by its number.
  void (*moveChannels)(MemoryImage& image, const std::vector<long>& order) = nullptr;
};

// Image to table followed by the band selection step: what the view does at
// its first update and after a read from the radio. Returns the band limits.
BandLimits FillTableFromImage(const RadioModel& model, MemoryImage& image, GridControl& grid,
                              const IniProfile& ini, const std::string& languageSection,
                              bool chinese, bool newDocument, const TitleSink& setTitle);

}  // namespace varo::radio
