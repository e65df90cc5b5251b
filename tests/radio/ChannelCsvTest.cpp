// Channel plan files: every problem of a file reported with its line and
// nothing changed; plans moving between the two radios; the forms a
// spreadsheet saves. (The export and import of random images of each radio
// is in RadioModelSuite.cpp.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model16/Model16.h"
#include "model199/Model199.h"
#include "radio/ChannelCsv.h"
#include "radio/MemoryGrid.h"
#include "radio/TableSheet.h"

namespace varo::radio {
namespace {

const BandLimits kBand{13600000, 17400000};

// A document of `model` with channels programmed as pasted rows of texts.
struct Document {
  Document(const RadioModel& m, const std::vector<std::pair<long, std::vector<std::string>>>& rows)
      : model(m), image(m.newImage()), grid(m.table->Rows(), m.table->Cols()) {
    m.imageToTable(image, grid, false);
    for (const auto& [row, texts] : rows) PasteCells({grid, *m.table, kBand, false}, row, 1, {texts});
    m.tableToImage(grid, image);
  }
  std::vector<std::string> Cells() const {
    std::vector<std::string> cells;
    for (long r = 1; r < grid.Rows(); ++r)
      for (long c = 1; c < grid.Cols(); ++c) cells.push_back(grid.TextMatrix(r, c));
    return cells;
  }
  std::string Line(long row, long col) const { return grid.TextMatrix(row, col); }
  CsvImport Import(const std::string& csv) { return ImportCsv(model, csv, kBand, false, grid, image); }

  const RadioModel& model;
  MemoryImage image;
  MemoryGrid grid;
};

Document Plan16() {
  return Document(model16::Model16(), {{1, {"145.0125", "", "67.0", "", "High", "Yes"}},
                                       {2, {"146.0"}},
                                       {4, {"150.0", "151.0", "", "D023N", "Low", "", "Carrier"}}});
}

Document Plan199() {
  return Document(model199::Model199(), {{1, {"140.0"}},
                                         {2, {"145.0125", "", "67.0", "", "Middle", "Unlock", "PMR-1"}},
                                         {4, {"146.0", "", "", "", "", "", "YARD"}},
                                         {18, {"150.0"}},
                                         {121, {"151.0"}}});
}

// `csv` with line `line` (from 1) put in place of the one there.
std::string WithLine(const std::string& csv, long line, const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = csv.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(csv.substr(start, end - start));
  lines[static_cast<std::size_t>(line - 1)] = text;
  std::string joined;
  for (const std::string& l : lines) joined += l + "\n";
  return joined;
}

// Every faulty line is reported, with its number, and the document keeps
// every cell and byte.
TEST(ChannelCsvTest, EveryProblemIsReportedAndNothingChanges) {
  struct {
    const char* name;
    bool radio199;
    std::vector<std::pair<long, std::string>> lines;
    std::vector<long> reported;
    const char* firstSays;
  } cases[] = {
      {"three faulty lines", false,
       {{3, "2,145.01300,145.01300,None,None,High,No,Off,Wide"},
        {6, "5,146.00000,146.00000,None,None,Hi,No,Off,Wide"},
        {9, "7,,,,,,,,"}},
       {3, 6, 9},
       "Line 3: Rx Frequency 145.01300 is not on the 5 kHz or 6.25 kHz raster."},
      {"band, number, text beyond", false,
       {{2, "1,440.00000,,,,,,,"}, {3, "abc,,,,,,,,"}, {4, "3,,,,,,,,,x"}},
       {2, 3, 4},
       "Line 2: Rx Frequency 440.00000 lies outside the band (136.00000 - 174.00000 MHz)."},
      {"options", false,
       {{21, "Squelch Level,16"}, {22, "Frequency Step,1"}},
       {21, 22},
       "Line 21: Squelch Level \"16\" is not a number from 0 to 15."},
      {"names", true,
       {{3, "1,145.00000,,,,,,AB CD"}, {4, "2,145.00000,,,,,,ABCDEFGHI"}, {5, "3,abc,,,,,,"}},
       {3, 4, 5},
       "Line 3: Cha Name \"AB CD\" holds a character the radio cannot store (only "
       "-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_)."},
      {"channels beyond a plan of this radio", true,
       {{5, "300,145.00000,,,,,,"}, {6, "Pr,146.00000,,,,,,"}},
       {5, 6},
       "Line 5: channel 300 does not exist on this radio (channels 1-199)."},
      {"no channel header", true, {{1, "Channel,Rx,Tx"}}, {1}, nullptr},
  };
  for (const auto& c : cases) {
    Document doc = c.radio199 ? Plan199() : Plan16();
    std::string csv = ExportCsv(doc.model, doc.image);
    for (const auto& [line, text] : c.lines) csv = WithLine(csv, line, text);
    const std::vector<std::string> cells = doc.Cells();
    const MemoryImage image = doc.image;
    const CsvImport result = doc.Import(csv);
    std::vector<long> reported;
    for (const CsvProblem& p : result.problems) reported.push_back(p.line);
    EXPECT_EQ(reported, c.reported) << c.name;
    EXPECT_EQ(doc.Cells(), cells) << c.name;
    EXPECT_TRUE(doc.image == image) << c.name;
    const std::vector<std::string> lines = FormatCsvImport(result, false);
    EXPECT_EQ(lines.front(), "The CSV file was not imported; nothing was changed:") << c.name;
    if (c.firstSays) {
      EXPECT_EQ(lines.at(1), c.firstSays) << c.name;
    }
  }
}

// A plan goes into the channels the other radio has, by number; columns the
// plan lacks get a new channel's defaults, channels it does not list stay,
// and what did not fit is named.
TEST(ChannelCsvTest, PlansMoveBetweenTheRadios) {
  Document from16 = Plan16();
  Document into199 = Plan199();
  const std::vector<std::string> pr = {into199.Line(1, 1), into199.Line(1, 7)};
  CsvImport result = into199.Import(ExportCsv(from16.model, from16.image));
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.channels, 16);
  EXPECT_FALSE(result.options);
  for (long channel = 1; channel <= 16; ++channel) {
    for (long col = 1; col <= 5; ++col)
      EXPECT_EQ(into199.Line(channel + 1, col), from16.Line(channel, col)) << channel << "," << col;
  }
  EXPECT_EQ(into199.Line(2, 6), "Lock");  // the default of a column the plan lacks
  EXPECT_EQ(into199.Line(2, 7), "");
  EXPECT_EQ(into199.Line(4, 7), "");      // channel 3, empty in the plan, is empty now
  EXPECT_EQ(into199.Line(3, 1), "146.00000");
  EXPECT_EQ((std::vector<std::string>{into199.Line(1, 1), into199.Line(1, 7)}), pr);
  EXPECT_EQ(into199.Line(18, 1), "150.00000");  // channel 17: not in the plan
  EXPECT_EQ(FormatCsvImport(result, false),
            (std::vector<std::string>{
                "Imported 16 channels.",
                "Columns this radio's table does not have were not imported: Scan Add, Busy Lock, W/N.",
                "The options are those of radio model 16 (this is model 199) and were not imported."}));

  // Back, after the Middle power (which the 16-channel radio has not) is
  // set to High: channels 17 and 120 and the priority channel do not fit.
  into199.grid.SetTextMatrix(2, 5, "High");
  into199.model.tableToImage(into199.grid, into199.image);
  Document into16 = Plan16();
  result = into16.Import(ExportCsv(into199.model, into199.image));
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(into16.Line(1, 1), "145.01250");
  EXPECT_EQ(into16.Line(1, 6), "No");  // the new channel's Scan Add
  EXPECT_EQ(result.notes.back(),
            "Channels Pr, 17, 120 did not fit into this radio (16 channels) and were not imported.");
}

// Spreadsheets save with semicolons where the comma is the decimal sign,
// with a byte-order mark, and in the user's words; all read the same.
TEST(ChannelCsvTest, WhatASpreadsheetSavesReadsTheSame) {
  const std::string csv =
      "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,Power,Busy Lock\n"
      "1,145.0125,,67,Low,Carrier\n"
      "\"3\",\" 146.00000 \",146.00625,D023N,High,Off\n";
  const std::string spreadsheet =
      "\xEF\xBB\xBF"
      "信道;接收频率;发射频率;QT/DQT解码;功率;繁忙锁定\r\n"
      "1;145.0125;;67.0;低;载波\r\n"
      ";;;;;\r\n"
      "3;146;146.00625;d023n;高;关\r\n";
  Document a = Plan16(), b = Plan16();
  ASSERT_TRUE(a.Import(csv).Ok());
  ASSERT_TRUE(b.Import(spreadsheet).Ok());
  EXPECT_EQ(a.Cells(), b.Cells());
  EXPECT_EQ(a.Line(1, 3), "67.0");
  EXPECT_EQ(a.Line(3, 3), "D023N");
  EXPECT_EQ(a.Line(3, 6), "No");  // not in the file: a new channel's default
}

}  // namespace
}  // namespace varo::radio
