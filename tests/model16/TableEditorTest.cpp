#include <gtest/gtest.h>

#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/MemoryImage.h"
#include "radio/MemoryGrid.h"
#include "radio/TableEditor.h"
#include "support/EditorFakes.h"

namespace varo::model16 {
namespace {

using namespace varo::radio;

using test::EventLog;

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

const BandLimits kBand{13000000, 16000000};  // 130 - 160 MHz

class TableEditorTest : public ::testing::Test, public test::TableEditorRig {
 protected:
  TableEditorTest() : TableEditorRig(Table16(), false) {}
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
  // A band may reach past what four bytes store (1600 MHz): the rest of it
  // is out of range.
  const BandLimits high{100000000, 200000000};
  const std::pair<const char*, bool> highCases[] = {
      {"1240", true}, {"1599.995", true}, {"1600", false}, {"1700.00625", false}};
  for (const auto& [text, inRange] : highCases)
    EXPECT_EQ(CheckFrequency(text, high).inRange, inRange) << text;
  EXPECT_EQ(CheckFrequency("128.015", {0, 13000000}).units, 12801500);  // exact decimal
  // Without a band (0 - 0) no number passes; below 10 MHz a value would read
  // back as no frequency and is refused whatever the band.
  for (const char* text : {"x", "0", "9.99999"})
    EXPECT_FALSE(CheckFrequency(text, {0, 20000000}).inRange) << text;
  EXPECT_TRUE(CheckFrequency("10", {0, 20000000}).inRange);
}

TEST_F(TableEditorTest, EntryPlacesTheEditorAndFindsTheCellInTheList) {
  EXPECT_FALSE(Box(kColRx).visible || List(kColWN).visible);
  Type(4, kColRx, "145.0125");
  EXPECT_EQ(Box(kColRx).rect, (EditorRect{29, 61, 83, 16}));  // twips at 96 dpi, 3 pixels up-left
  EXPECT_EQ(editor.Commit(), CommitOutcome::kCommitted);
  grid.SetTextMatrix(4, kColPower, "low");  // the first entry it begins, any letter case
  Type(4, kColPower, "");
  EXPECT_EQ(List(kColPower).Text(), "Low");
  EXPECT_EQ(List(kColPower).rect.height, 116);  // a list gets room to open
  grid.SetTextMatrix(4, kColDec, "");    // an empty cell shows entry 0
  Type(4, kColDec, "");
  EXPECT_EQ(List(kColDec).Text(), "None");
  EXPECT_TRUE(messages.shown.empty());
}

// The Chinese Busy Lock list keeps "Carrier" in English; a cell holding the
// codec's Chinese word is not turned off by passing through.
TEST(TableEditorChinese, TheCarrierCell) {
  test::TableEditorRig rig(Table16(), true);
  rig.Commit(1, kColRx, "145.0125");
  EXPECT_EQ(rig.List(kColBusy).entries, (std::vector<std::string>{"关", "Carrier", "QT/DQT"}));
  rig.grid.SetTextMatrix(1, kColBusy, "载波");
  rig.Commit(1, kColBusy, "");
  EXPECT_EQ(rig.grid.TextMatrix(1, kColBusy), "Carrier");
}

// Failed checks: which message goes out and which cells are emptied, when
// the cell is left, on Enter and before a save (which keeps the row whole).
TEST_F(TableEditorTest, FailedChecksByColumnAndCommitVariant) {
  enum Variant { kLeave, kEnter, kSave };
  enum After { kCleared, kTxEmptied, kAsBefore };
  // clang-format off
  struct { long col; const char* text; Variant variant; int message; After row; } cases[] = {
      {kColRx, "170",     kLeave, kStrOutOfRange, kCleared},
      {kColRx, "145.013", kEnter, kStrStepValue,  kCleared},
      {kColTx, "170",     kLeave, kStrOutOfRange, kTxEmptied},
      {kColTx, "170",     kEnter, kStrOutOfRange, kTxEmptied},
      {kColTx, "145.013", kLeave, kStrStepValue,  kCleared},
      {kColTx, "145.013", kEnter, kStrStepValue,  kTxEmptied},
      {kColRx, "170",     kSave,  kStrOutOfRange, kAsBefore},
      {kColRx, "145.013", kSave,  kStrStepValue,  kAsBefore},
      {kColRx, "abc",     kSave,  kStrOutOfRange, kAsBefore},
      {kColTx, "170",     kSave,  kStrOutOfRange, kAsBefore},
      {kColTx, "145.013", kSave,  kStrStepValue,  kAsBefore},
  };
  // clang-format on
  const std::vector<std::string> before = {"145.50000", "146.00000", "None", "None",
                                           "High",      "No",        "Off",  "Wide"};
  std::vector<std::string> txEmptied = before;
  txEmptied[1] = "";
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " variant " + std::to_string(c.variant));
    messages.shown.clear();
    for (long col = kColRx; col <= kColWN; ++col) grid.SetTextMatrix(7, col, "");
    Type(7, kColRx, "145.5");
    editor.Commit();
    Type(7, kColTx, "146");
    editor.Commit();
    Type(7, c.col, c.text);
    if (c.variant == kEnter) {
      EXPECT_FALSE(editor.EnterKey());
      EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(7L, c.col));  // stays
    } else {
      EXPECT_EQ(c.variant == kSave ? editor.CommitForSave() : editor.Commit(),
                c.message == kStrOutOfRange ? CommitOutcome::kRangeMessage
                                            : CommitOutcome::kStepMessage);
    }
    EXPECT_FALSE(editor.EditorForColumn(c.col).IsVisible());  // the typed text is dropped
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (MessageRequest{c.message, "", kStrCaution,
                                                 MessageIcon::kExclamation, MessageButtons::kOk}));
    EXPECT_EQ(Row(7), c.row == kCleared ? std::vector<std::string>(8, "")
                      : c.row == kTxEmptied ? txEmptied
                                            : before);
  }
  // An edit that passes goes in before a save as it does on leaving the cell.
  Type(7, kColTx, "146.0125");
  EXPECT_EQ(editor.CommitForSave(), CommitOutcome::kCommitted);
  EXPECT_EQ(grid.TextMatrix(7, kColTx), "146.01250");
}

// With a band above 1000 MHz a typed frequency is shown and stored as typed;
// one that four bytes cannot hold is refused, not changed.
TEST_F(TableEditorTest, FrequenciesFrom1000MHzUpAreStoredOrRefused) {
  editor.SetBandLimits({100000000, 200000000});
  struct { const char* text; int message; const char* shown; std::vector<std::uint8_t> bcd; } cases[] = {
      {"1240", 0, "1240.00000", {0x00, 0x00, 0x00, 0xC4}},
      {"1599.995", 0, "1599.99500", {0x00, 0x95, 0x99, 0xF9}},
      {"1600", kStrOutOfRange, "", {0xFF, 0xFF, 0xFF, 0xFF}},
      {"1650.0125", kStrOutOfRange, "", {0xFF, 0xFF, 0xFF, 0xFF}},
  };
  for (const auto& c : cases) {
    messages.shown.clear();
    Type(9, kColRx, "");
    editor.Commit();
    Type(9, kColRx, c.text);
    editor.Commit();
    EXPECT_EQ(messages.shown.size(), c.message ? 1u : 0u) << c.text;
    if (c.message && !messages.shown.empty()) {
      EXPECT_EQ(messages.shown[0].textId, c.message);
    }
    EXPECT_EQ(grid.TextMatrix(9, kColRx), c.shown) << c.text;
    EXPECT_EQ(grid.TextMatrix(9, kColTx), c.shown) << c.text;
    MemoryImage image = NewImage();
    TableToImage(grid, image);
    const std::vector<std::uint8_t> stored(&image[0x010 + 8 * 16], &image[0x010 + 8 * 16 + 4]);
    EXPECT_EQ(stored, c.bcd) << c.text;
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

// A setting goes into a row that has a receive or a transmit frequency,
// either one; a row with neither takes none.
TEST_F(TableEditorTest, SettingsNeedAFrequencyInEitherColumn) {
  struct { const char* rx; const char* tx; bool taken; } cases[] = {
      {"145.50000", "146.00000", true}, {"145.50000", "", true},
      {"", "146.00000", true},          {"", "", false}};
  for (const auto& c : cases) {
    for (long col = kColDec; col <= kColWN; ++col) {
      grid.SetTextMatrix(3, kColRx, c.rx);
      grid.SetTextMatrix(3, kColTx, c.tx);
      grid.SetTextMatrix(3, col, "");
      const std::string choice = List(col).entries.back();
      Type(3, col, choice);
      editor.Commit();
      EXPECT_EQ(grid.TextMatrix(3, col), c.taken ? choice : "") << c.rx << "/" << c.tx << " col " << col;
    }
  }
}

// Enter commits before it moves, and so does moving to another cell.
TEST_F(TableEditorTest, EnterAndMovingCommit) {
  Type(2, kColRx, "145.0125");
  EXPECT_TRUE(editor.EnterKey());
  EXPECT_EQ(Box(kColTx).text, "145.01250");  // committed, and open on the next cell
  Box(kColTx).text = "146";
  grid.SetCol(kColDec);  // moving commits too
  EXPECT_EQ(grid.TextMatrix(2, kColTx), "146.00000");
}

}  // namespace
}  // namespace varo::model16
