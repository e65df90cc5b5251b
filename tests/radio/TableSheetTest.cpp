// The channel table as a spreadsheet, for both radios: tab-separated text,
// pasted cells going through the typing rules with one report, cells cleared
// and filled down, rows inserted, deleted and moved with what the image keeps
// per channel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model16/Layout.h"
#include "model16/Model16.h"
#include "model199/Layout.h"
#include "model199/Model199.h"
#include "radio/MemoryGrid.h"
#include "radio/TableSheet.h"

namespace varo::radio {
namespace {

using Row = std::vector<std::string>;

// A radio's document without a window: its image, its table filled from it,
// the band 136-174 MHz.
struct SheetRig {
  explicit SheetRig(const RadioModel& m, bool zh = false)
      : model(m), image(m.newImage()), grid(m.table->Rows(), m.table->Cols()), chinese(zh) {
    SetUpChannelTable(grid, *m.table, zh);
    m.imageToTable(image, grid, zh);
  }
  Sheet Of() { return {grid, *model.table, {13600000, 17400000}, chinese}; }
  Row Texts(long row) const {
    Row texts;
    for (long c = 1; c < grid.Cols(); ++c) texts.push_back(grid.TextMatrix(row, c));
    return texts;
  }
  // Programs `row` as a pasted row of texts would.
  void Program(long row, const Row& texts) {
    ASSERT_TRUE(PasteCells(Of(), row, 1, {texts}).Complete()) << row;
  }
  const RadioModel& model;
  MemoryImage image;
  MemoryGrid grid;
  bool chinese;
};

// A full row of each radio, and a second one, as the table shows them.
Row Full16(const char* rx, const char* power = "High") {
  return {rx, rx, "67.0", "D023N", power, "Yes", "Carrier", "Narrow"};
}
Row Full199(const char* rx, const char* name = "GATE") {
  return {rx, rx, "67.0", "D023N", "Middle", "Unlock", name};
}

TEST(TableSheetTest, TabTextAsSpreadsheetsWriteIt) {
  struct {
    const char* text;
    TextBlock block;
  } cases[] = {
      {"a\tb\nc\td\n", {{"a", "b"}, {"c", "d"}}},
      {"a\r\nb", {{"a"}, {"b"}}},
      {"a\t\n\tb\n", {{"a", ""}, {"", "b"}}},
      {"\"x\ty\"\tz\n", {{"x\ty", "z"}}},
      {"\"two\nlines\"\t\"say \"\"hi\"\"\"\n", {{"two\nlines", "say \"hi\""}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTabText(c.text), c.block) << c.text;
    EXPECT_EQ(ParseTabText(FormatTabText(c.block)), c.block) << c.text;
  }
}

// Copied rows pasted elsewhere come out exactly as they were, over empty
// rows and over programmed ones, in either interface language.
TEST(TableSheetTest, CopiedRowsPasteBackExactly) {
  struct {
    const RadioModel* model;
    bool chinese;
    Row first, second, third;
    long from, to;
  } cases[] = {
      {&model16::Model16(), false, Full16("145.01250"), Full16("150.00000", "Low"), Full16("160.0"), 1, 3},
      {&model16::Model16(), true, Full16("145.01250"), Full16("150.00000", "Low"), Full16("160.0"), 5, 2},
      {&model199::Model199(), false, Full199("145.01250"), Full199("150.00000", "AB-12"),
       Full199("160.0"), 1, 3},
      {&model199::Model199(), true, Full199("145.01250"), Full199("150.00000", "YARD"),
       Full199("160.0"), 100, 199},
  };
  for (const auto& c : cases) {
    SheetRig rig(*c.model, c.chinese);
    rig.Program(c.from, c.first);
    rig.Program(c.from + 1, c.second);
    rig.Program(c.to + 1, c.third);  // pasted over: programmed before
    const Row a = rig.Texts(c.from), b = rig.Texts(c.from + 1);
    const TextBlock copied = CopyCells(rig.grid, {c.from, 1, c.from + 1, rig.grid.Cols() - 1});
    const PasteReport report = PasteText(rig.Of(), c.to, 1, FormatTabText(copied));
    EXPECT_TRUE(report.Complete()) << c.from;
    EXPECT_EQ(rig.Texts(c.to), a) << c.from;
    EXPECT_EQ(rig.Texts(c.to + 1), b) << c.from;
    EXPECT_EQ(report.pasted, (CellBlock{c.to, 1, c.to + 1, rig.grid.Cols() - 1}));
  }
}

// A spreadsheet's block: each row goes in by the typing rules or stays as it
// was, and the report names the refused ones.
TEST(TableSheetTest, RefusedRowsStayAsTheyWereAndAreNamedOnce) {
  struct {
    const char* name;
    const RadioModel* model;
    std::string middle;  // row 2 of the block, pasted over channel 2
    Refusal why;
    const char* said;  // in the report's line about channel 2
  } cases[] = {
      {"off the raster", &model16::Model16(), "145.0130\t\t\t\tLow", Refusal::kOffRaster,
       "Channel 2 was left as it was: Rx Frequency 145.0130 is not on the 5 kHz or 6.25 kHz raster."},
      {"outside the band", &model16::Model16(), "145.0125\t440.0\t\t\tLow", Refusal::kOutOfRange,
       "Channel 2 was left as it was: Tx Frequency 440.0 lies outside the band."},
      {"no such entry", &model199::Model199(), "145.0125\t\t\t\tHi", Refusal::kNotInList,
       "Channel 2 was left as it was: \"Hi\" is not one of the entries of Power."},
  };
  for (const auto& c : cases) {
    SheetRig rig(*c.model);
    const long first = FirstMovableRow(*c.model->table);
    rig.Program(first + 1, {"150.00000"});
    const Row before = rig.Texts(first + 1);
    const std::string text = "145.0125\t\t67\tD023N\tLow\n" + c.middle + "\n146.0125\t\t\t\t高\n";
    const PasteReport report = PasteText(rig.Of(), first, 1, text);
    ASSERT_EQ(report.refused.size(), 1u) << c.name;
    EXPECT_EQ(report.refused[0].row, first + 1) << c.name;
    EXPECT_EQ(report.refused[0].why, c.why) << c.name;
    EXPECT_EQ(rig.Texts(first + 1), before) << c.name;
    // The rows around it: "67" is the tone 67.0, "高" the interface's "High".
    EXPECT_EQ(rig.Texts(first)[2], "67.0") << c.name;
    EXPECT_EQ(rig.Texts(first)[4], "Low") << c.name;
    EXPECT_EQ(rig.Texts(first + 2)[4], "High") << c.name;
    EXPECT_EQ(FormatPasteReport(report, *c.model->table, false),
              (std::vector<std::string>{"Not everything could be pasted:", c.said}))
        << c.name;
  }
}

// Names are typed text: upper case, cut to the editor's six characters; a
// block reaching past the table is cut and counted.
TEST(TableSheetTest, NamesAreTypedAndWhatDoesNotFitIsCounted) {
  SheetRig rig(model199::Model199());
  const PasteReport report =
      PasteCells(rig.Of(), 199, 6, {{"Lock", "ab-12xyz", "extra"}, {"Lock", "b"}, {"Lock", "c"}});
  rig.Program(200, {"145.0125"});
  EXPECT_EQ(rig.Texts(199)[6], "");  // a row without a frequency takes nothing
  EXPECT_EQ(report.rowsLeftOut, 1);
  EXPECT_EQ(report.colsLeftOut, 1);
  PasteCells(rig.Of(), 200, 7, {{"ab-12xyz"}});
  EXPECT_EQ(rig.Texts(200)[6], "AB-12X");
}

// Columns go by their names from a header line, or from another radio's
// table when the copy says which columns they are.
TEST(TableSheetTest, ColumnsByName) {
  SheetRig rig(model199::Model199());
  const std::string rows16 = "145.01250\t145.01250\tNone\tNone\tLow\tYes\tOff\tWide\n";
  const std::vector<std::string> header16 = {"Rx Frequency", "Tx Frequency", "QT/DQT Dec",
                                             "QT/DQT Enc",   "Power",        "Scan Add",
                                             "Busy Lock",    "W/N"};
  PasteReport report = PasteText(rig.Of(), 5, 3, rows16, header16);
  EXPECT_EQ(rig.Texts(5), (Row{"145.01250", "145.01250", "None", "None", "Low", "Lock", ""}));
  EXPECT_EQ(report.columnsLeftOut, (std::vector<std::string>{"Scan Add", "Busy Lock", "W/N"}));

  report = PasteText(rig.Of(), 7, 4, "CH\tCha Name\tRx Frequency\n9\tpmr\t146.0125\n");
  EXPECT_TRUE(report.Complete());
  EXPECT_EQ(rig.Texts(7)[0], "146.01250");
  EXPECT_EQ(rig.Texts(7)[6], "PMR");
}

TEST(TableSheetTest, ClearedCellsAndFillDown) {
  SheetRig rig(model16::Model16());
  for (long row = 1; row <= 3; ++row) rig.Program(row, Full16("145.01250", row == 1 ? "Low" : "High"));
  ClearCells(rig.Of(), {2, 2, 2, 5});  // Tx to Power
  EXPECT_EQ(rig.Texts(2), (Row{"145.01250", "145.01250", "None", "None", "High", "Yes", "Carrier", "Narrow"}));
  ClearCells(rig.Of(), {3, 1, 3, 1});
  EXPECT_EQ(rig.Texts(3), Row(8));

  rig.Program(3, {"150.0"});
  EXPECT_TRUE(FillDown(rig.Of(), {1, 5, 4, 5}).Complete());
  for (long row = 1; row <= 3; ++row) EXPECT_EQ(rig.Texts(row)[4], "Low") << row;
  EXPECT_EQ(rig.Texts(4)[4], "");  // no frequency, no setting
  FillDown(rig.Of(), {4, 1, 4, 2});  // one row: from the row above
  EXPECT_EQ(rig.Texts(4)[0], "150.00000");
}

// Insert, delete and move take everything of a channel along: its texts,
// its whole record (bytes the table does not show too), and on the
// 16-channel radio its Scan Add bit and the priority channel that names it.
TEST(TableSheetTest, RowsMoveWithWhatBelongsToTheirChannels) {
  enum Op { kInsert, kDelete, kUp, kDown };
  struct {
    const char* name;
    const RadioModel* model;
    Op op;
    std::vector<long> rows;
    RowChange result;
    // Which of the channels first programmed in rows 1-5 (0 for an empty
    // row) rows 1-6 hold afterwards.
    std::vector<long> holds;
  } cases[] = {
      // clang-format off
      {"16 insert",       &model16::Model16(),   kInsert, {2},    RowChange::kDone,    {1, 0, 2, 3, 4, 5}},
      {"16 insert two",   &model16::Model16(),   kInsert, {4, 2}, RowChange::kDone,    {1, 0, 0, 2, 3, 4}},
      {"16 delete",       &model16::Model16(),   kDelete, {2, 4}, RowChange::kDone,    {1, 3, 5, 0, 0, 0}},
      {"16 up",           &model16::Model16(),   kUp,     {3, 4}, RowChange::kDone,    {1, 3, 4, 2, 5, 0}},
      {"16 down",         &model16::Model16(),   kDown,   {1},    RowChange::kDone,    {2, 1, 3, 4, 5, 0}},
      {"16 up at the top",&model16::Model16(),   kUp,     {1},    RowChange::kNothing, {1, 2, 3, 4, 5, 0}},
      {"199 insert",      &model199::Model199(), kInsert, {2},    RowChange::kDone,    {1, 0, 2, 3, 4, 5}},
      {"199 delete",      &model199::Model199(), kDelete, {1, 3}, RowChange::kDone,    {1, 2, 4, 5, 0, 0}},
      {"199 Pr stays",    &model199::Model199(), kUp,     {2},    RowChange::kNothing, {1, 2, 3, 4, 5, 0}},
      {"199 down",        &model199::Model199(), kDown,   {1, 2}, RowChange::kDone,    {1, 3, 2, 4, 5, 0}},
      // clang-format on
  };
  const char* rx[] = {"", "145.00000", "146.00000", "147.00000", "148.00000", "149.00000"};
  const char* names[] = {"", "CH1", "CH2", "CH3", "CH4", "CH5"};
  for (const auto& c : cases) {
    SheetRig rig(*c.model);
    const bool is16 = c.model == &model16::Model16();
    // Record byte 14 (shown nowhere) carries each channel's number.
    auto spare = [&](long row) -> std::uint8_t& {
      return rig.image[is16 ? model16::kRecordBase + 16 * static_cast<std::size_t>(row - 1) + 14
                            : model199::kRecordBase + 16 * static_cast<std::size_t>(row - 1) + 14];
    };
    for (long row = 1; row <= 5; ++row) {
      rig.Program(row, is16 ? Full16(rx[row]) : Full199(rx[row], names[row]));
      if (is16) rig.grid.SetTextMatrix(row, 6, row == 3 ? "Yes" : "No");
    }
    c.model->tableToImage(rig.grid, rig.image);
    for (long row = 1; row <= 7; ++row) spare(row) = static_cast<std::uint8_t>(row <= 5 ? row : 0);
    if (is16) rig.image[model16::kPriorityChannel] = 3;
    std::vector<long> rows = c.rows;
    RowChange result = RowChange::kNothing;
    switch (c.op) {
      case kInsert: result = InsertRows(*c.model, rig.image, rig.grid, rows); break;
      case kDelete: result = DeleteRows(*c.model, rig.image, rig.grid, rows); break;
      case kUp: result = MoveRows(*c.model, rig.image, rig.grid, rows, -1); break;
      case kDown: result = MoveRows(*c.model, rig.image, rig.grid, rows, 1); break;
    }
    EXPECT_EQ(result, c.result) << c.name;
    for (long row = 1; row <= 6; ++row) {
      const long channel = c.holds[static_cast<std::size_t>(row - 1)];
      EXPECT_EQ(rig.Texts(row)[0], rx[channel]) << c.name << " row " << row;
      if (channel) {
        EXPECT_EQ(spare(row), channel) << c.name << " row " << row;
      }
      if (!is16) {
        EXPECT_EQ(rig.Texts(row)[6], names[channel]) << c.name << " row " << row;
        continue;
      }
      const auto at = static_cast<std::size_t>(row - 1);
      EXPECT_EQ(rig.Texts(row)[5], channel == 0 ? "" : channel == 3 ? "Yes" : "No") << c.name;
      EXPECT_EQ((rig.image[model16::kScanMap + at / 8] >> (at % 8)) & 1, channel == 3 ? 1 : 0)
          << c.name << " row " << row;
      if (channel == 3) {
        EXPECT_EQ(rig.image[model16::kPriorityChannel], row) << c.name;
      }
    }
  }
}

TEST(TableSheetTest, InsertKeepsChannelsThatWouldDropOff) {
  for (const RadioModel* model : {&model16::Model16(), &model199::Model199()}) {
    SheetRig rig(*model);
    const long last = model->table->Rows() - 1;
    rig.Program(last, {"145.0"});
    rig.Program(2, {"146.0"});
    const MemoryImage image = rig.image;
    EXPECT_EQ(InsertRows(*model, rig.image, rig.grid, {2}), RowChange::kNoRoom) << model->name;
    EXPECT_EQ(rig.Texts(2)[0], "146.00000") << model->name;
    EXPECT_EQ(rig.Texts(last)[0], "145.00000") << model->name;
    EXPECT_TRUE(rig.image == image) << model->name;
  }
}

}  // namespace
}  // namespace varo::radio
