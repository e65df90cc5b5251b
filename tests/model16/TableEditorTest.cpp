#include <gtest/gtest.h>

#include <algorithm>

#include "model16/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "radio/TableEditor.h"
#include "support/EditorFakes.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

using test::EventLog;
using test::FakeEditBox;
using test::FakeHost;
using test::FakeList;
using test::RecordingMessages;

TEST(MemoryGridTest, CellEventsSurroundEveryChangeOfTheCurrentCell) {
  MemoryGrid grid(kTableRows, kTableCols);
  EventLog events(grid, nullptr);
  grid.SetEvents(&events);
  using Log = std::vector<std::string>;
  struct {
    char what;
    long to;
    Log log;
  } steps[] = {
      // clang-format off
      {'r', 3, {"leave(1,1)", "enter(3,1)"}},   {'c', 4, {"leave(3,1)", "enter(3,4)"}},
      {'r', 3, {}},   {'c', 4, {}},             // no change, no events
      {'r', 17, {}},  {'c', -1, {}},            // outside: refused
      {'r', 16, {"leave(3,4)", "enter(16,4)"}}, {'c', 8, {"leave(16,4)", "enter(16,8)"}},
      // clang-format on
  };
  for (const auto& s : steps) {
    events.log.clear();
    s.what == 'r' ? grid.SetRow(s.to) : grid.SetCol(s.to);
    EXPECT_EQ(events.log, s.log) << s.what << s.to;
  }
}

// Every width follows from the first column's width at set-up, truncated to a
// whole twip.
TEST(ChannelTableTest, SetUpTakesWidthsFromTheFirstColumn) {
  MemoryGrid grid(kTableRows, kTableCols);
  grid.SetColWidth(0, 1001);
  SetUpChannelTable(grid, Table16(), false);
  const long widths[kTableCols] = {500, 1301, 1301, 1101, 1101, 900, 900, 900, 900};
  for (long c = 0; c < kTableCols; ++c) EXPECT_EQ(grid.ColWidth(c), widths[c]) << c;
}

const BandLimits kBand{13000000, 16000000};  // 130 - 160 MHz

class TableEditorTest : public ::testing::Test, public test::TableEditorRig {
 protected:
  explicit TableEditorTest(bool chinese = false) : TableEditorRig(Table16(), chinese) {}
};

TEST(TableEditorRules, FrequencyRangeAndRaster) {
  // clang-format off
  struct { const char* text; std::int32_t units; const char* shown; bool inRange, onRaster; }
  cases[] = {
      {"145.0125", 14501250, "145.01250", true, true},   // 6.25 kHz raster
      {"145.005", 14500500, "145.00500", true, true},    // 5 kHz raster
      {"145.0130", 14501300, "145.01300", true, false},  // neither
      {"145.0075", 14500750, "145.00750", true, false},  // half a 5 kHz step
      {"130", 13000000, "130.00000", true, true},        // band edges inclusive
      {"160.00000", 16000000, "160.00000", true, true},
      {"160.00625", 16000625, "160.00625", false, true},
      {"abc", 0, "0.00000", false, true},                 // no number reads 0
      {"1e30", 2147483647, "21474.83647", false, false},  // clamped to 32 bits
      {"145.012509", 14501250, "145.01250", true, true},  // shows what was checked
  };
  // clang-format on
  for (const auto& c : cases) {
    FrequencyCheck check = CheckFrequency(c.text, kBand);
    EXPECT_EQ(check.units, c.units) << c.text;
    EXPECT_EQ(check.text, c.shown) << c.text;
    EXPECT_EQ(check.inRange, c.inRange) << c.text;
    EXPECT_EQ(check.onRaster, c.onRaster) << c.text;
  }
  EXPECT_EQ(CheckFrequency("128.015", {0, 13000000}).units, 12801500);  // exact decimal
  EXPECT_TRUE(CheckFrequency("x", {0, 0}).inRange);                     // no band configured
}

TEST_F(TableEditorTest, EntryPlacesTheEditorAndNewChannelGetsDefaults) {
  EXPECT_FALSE(Box(kColRx).visible || List(kColWN).visible);
  Type(4, kColRx, "145.0125");
  EXPECT_EQ(Box(kColRx).rect, (EditorRect{29, 61, 83, 16}));  // twips at 96 dpi, 3 pixels up-left
  EXPECT_EQ(editor.Commit(), CommitOutcome::kCommitted);
  EXPECT_EQ(Row(4), (std::vector<std::string>{"145.01250", "145.01250", "None", "None", "High",
                                              "No", "Off", "Wide"}));
  grid.SetTextMatrix(4, kColPower, "low");  // the first entry it begins, any letter case
  Type(4, kColPower, "");
  EXPECT_EQ(List(kColPower).Text(), "Low");
  EXPECT_EQ(List(kColPower).rect.height, 116);  // a list gets room to open
  grid.SetTextMatrix(4, kColDec, "");    // an empty cell shows entry 0
  Type(4, kColDec, "");
  EXPECT_EQ(List(kColDec).Text(), "None");
  EXPECT_TRUE(messages.shown.empty());
}

class TableEditorChineseTest : public TableEditorTest {
 protected:
  TableEditorChineseTest() : TableEditorTest(true) {}
};

TEST_F(TableEditorChineseTest, DefaultsAndTheCarrierCell) {
  Type(1, kColRx, "145.0125");
  editor.Commit();
  EXPECT_EQ(Row(1), (std::vector<std::string>{"145.01250", "145.01250", "无", "无", "高", "无",
                                              "关", "宽"}));
  EXPECT_EQ(List(kColBusy).entries, (std::vector<std::string>{"关", "Carrier", "QT/DQT"}));
  grid.SetTextMatrix(1, kColBusy, "载波");
  Type(1, kColBusy, "");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(1, kColBusy), "Carrier");  // not turned off by passing through
}

// Failed checks: which message goes out and which cells are emptied.
TEST_F(TableEditorTest, FailedChecksByColumnAndCommitVariant) {
  // clang-format off
  struct { long col; const char* text; bool enterKey; int message; bool rowCleared; } cases[] = {
      {kColRx, "170",     false, kStrOutOfRange, true},
      {kColRx, "145.013", true,  kStrStepValue,  true},
      {kColTx, "170",     false, kStrOutOfRange, false},
      {kColTx, "170",     true,  kStrOutOfRange, false},
      {kColTx, "145.013", false, kStrStepValue,  true},
      {kColTx, "145.013", true,  kStrStepValue,  false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.enterKey ? " Enter" : " leave"));
    messages.shown.clear();
    for (long col = kColRx; col <= kColWN; ++col) grid.SetTextMatrix(7, col, "");
    Type(7, kColRx, "145.5");
    editor.Commit();
    Type(7, c.col, c.text);
    if (c.enterKey) {
      EXPECT_FALSE(editor.EnterKey());
      EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(7L, c.col));  // stays
    } else {
      editor.Commit();
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (MessageRequest{c.message, "", kStrCaution,
                                                 MessageIcon::kExclamation, MessageButtons::kOk}));
    const std::vector<std::string> kept = {"145.50000", "",   "None", "None",
                                           "High",      "No", "Off",  "Wide"};
    EXPECT_EQ(Row(7), c.rowCleared ? std::vector<std::string>(8, "") : kept);
  }
}

TEST_F(TableEditorTest, EmptiedCellsEmptyRowsAndKeptTexts) {
  Type(5, kColRx, "145.5");
  editor.Commit();
  Type(5, kColTx, "");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(5, kColTx), "145.50000");  // Rx comes back
  grid.SetTextMatrix(5, kColEnc, "100.5");             // a tone the list lacks
  Type(5, kColEnc, "");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(5, kColEnc), "100.5");
  Type(5, kColRx, "");
  EXPECT_EQ(editor.Commit(), CommitOutcome::kRowCleared);  // W/N included
  EXPECT_EQ(Row(5), std::vector<std::string>(8, ""));
  // An empty row takes neither a transmit frequency nor settings.
  for (long col : {kColTx, kColPower, kColWN}) {
    Type(5, col, col == kColTx ? "146.5" : List(col).entries.back());
    editor.Commit();
    EXPECT_EQ(grid.TextMatrix(5, col), "") << col;
  }
  // Scrolling drops what was typed.
  Type(6, kColRx, "150");
  editor.OnScroll();
  EXPECT_EQ(editor.Commit(), CommitOutcome::kNoEditor);
  EXPECT_EQ(grid.TextMatrix(6, kColRx), "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TableEditorTest, EnterCommitsAndMovesThroughGridEvents) {
  struct {
    long row, col, toRow, toCol;
    std::vector<std::string> events;
  } cases[] = {
      {3, 4, 3, 5, {"leave(3,4)", "enter(3,5)"}},
      {5, 8, 6, 1, {"leave(5,8)", "enter(5,1)", "leave(5,1)", "enter(6,1)"}},
      {16, 8, 1, 1, {"leave(16,8)", "enter(1,8)", "leave(1,8)", "enter(1,1)"}},
  };
  for (const auto& c : cases) {
    Type(c.row, c.col, "");
    EventLog log(grid, &editor);
    grid.SetEvents(&log);
    EXPECT_TRUE(editor.EnterKey());
    grid.SetEvents(&editor);
    EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(c.toRow, c.toCol));
    EXPECT_EQ(log.log, c.events);
    EXPECT_TRUE(editor.EditorForColumn(c.toCol).IsVisible());
  }
  Type(2, kColRx, "145.0125");
  EXPECT_TRUE(editor.EnterKey());
  EXPECT_EQ(Box(kColTx).text, "145.01250");  // committed, and open on the next cell
  Box(kColTx).text = "146";
  grid.SetCol(kColDec);  // moving commits too
  EXPECT_EQ(grid.TextMatrix(2, kColTx), "146.00000");
}

}  // namespace
}  // namespace varo::model16
