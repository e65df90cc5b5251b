#pragma once

#include <string>
#include <vector>

#include "radio/GridControl.h"
#include "radio/MemoryImage.h"
#include "radio/ProductBand.h"
#include "radio/RadioModel.h"

namespace varo::radio {

// A channel plan as a CSV file (UTF-8, comma-separated, quotes as RFC 4180
// has them), the same whatever the interface language:
//
//   CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Power,...
//   1,145.01250,145.01250,67.0,D023N,High,...
//   2,,,,,,...
//
//   Option,Value
//   Radio,16
//   Squelch Level,3
//   ...
//
// The first section is the channel table: a header row of the table's
// English column headers, then one row per channel ("Pr" for the priority
// channel, else its number) with the English texts the table shows
// (frequencies in MHz with five decimals, tones as "67.0" or "D023N",
// names as stored). After an empty line the second section holds the
// radio-wide options: "Radio" and the model's name, then each of the model's
// option fields with the number its bits hold. The product type and band
// are not in the file: they belong to the radio the memory is for.
//
// An export followed by an import gives back every byte the table and the
// options stand for, as the program saves them, for every document whose
// channels the editor takes (frequencies in the band and on the raster,
// tones of the list, a transmit frequency with every receive frequency).

// The number `field` holds in `image`, and the largest it can hold.
unsigned ReadOption(const OptionField& field, const MemoryImage& image);
unsigned MaxOptionValue(const OptionField& field);
// Puts `value` into the field's bits, keeping every other bit.
void WriteOption(const OptionField& field, unsigned value, MemoryImage& image);

// The plan file of `image`.
std::string ExportCsv(const RadioModel& model, const MemoryImage& image);

// A line of the file and what is wrong with it, in the interface language.
struct CsvProblem {
  long line = 0;
  std::string text;
};

struct CsvImport {
  // Every problem of the file; with any, nothing was changed.
  std::vector<CsvProblem> problems;
  // What was fine but left out: channels this radio does not have, columns
  // its table does not have, another radio's options.
  std::vector<std::string> notes;
  long channels = 0;     // channel rows taken in
  bool options = false;  // the options section was taken in
  bool Ok() const { return problems.empty(); }
};

// Checks all of `text` as a plan file of any radio and, when nothing is
// wrong, takes it in: each channel row it lists replaces that channel's row
// of `grid` (texts of the interface language), and the options go into
// `image` when the file names this radio. On a row with a receive frequency
// an empty cell, or a column the file lacks, gets what a new channel gets
// (the transmit frequency the receive one, the other columns their new-row
// defaults); on a row without one it stays empty. Channels the file does not
// list stay as they are.
//
// The checks, each reported with its line: a header row with CH and Rx
// Frequency, each column once; channel numbers ("Pr", or a whole number
// from 1), each channel once; frequencies in MHz within `limits` and on the
// 5 kHz or 6.25 kHz raster; list texts that are entries of their columns (in
// either language); names the radio can store; no text beyond the header's
// columns; option names of this radio with numbers their bits can hold, each
// once. Channel numbers this radio does not have are left out with a note
// when their rows hold text.
CsvImport ImportCsv(const RadioModel& model, const std::string& text, const BandLimits& limits,
                    bool chinese, GridControl& grid, MemoryImage& image);

// The same for a document without a window: the image's table, the import,
// the table stored back.
CsvImport ImportCsvIntoImage(const RadioModel& model, const std::string& text,
                             const BandLimits& limits, bool chinese, MemoryImage& image);

// The outcome in words, one line each: every problem ("Line 5: ..."), or a
// summary of what was taken in followed by the notes.
std::vector<std::string> FormatCsvImport(const CsvImport& result, bool chinese);

}  // namespace varo::radio
