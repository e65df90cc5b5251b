#include "model16/TableEditor.h"

#include <gtest/gtest.h>

#include "model16/ChannelTable.h"
#include "model16/MemoryGrid.h"

namespace varo::model16 {
namespace {

template <class Base>
class FakeCommon : public Base {
 public:
  void Place(const EditorRect& r) override { rect = r; }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void Focus() override { focused = true; }
  bool visible = true;  // SetUp() must hide them
  bool focused = false;
  EditorRect rect;
};

class FakeEditBox : public FakeCommon<EditBox> {
 public:
  void SetText(const std::string& t) override { text = t; }
  std::string Text() const override { return text; }
  void SelectAllText() override { allSelected = true; }
  std::string text;
  bool allSelected = false;
};

class FakeList : public FakeCommon<DropDownList> {
 public:
  void SetEntries(const std::vector<std::string>& e) override { entries = e; }
  void Select(int index) override {
    selection = (index >= 0 && index < static_cast<int>(entries.size())) ? index : -1;
  }
  int Selection() const override { return selection; }
  std::string Text() const override { return selection >= 0 ? entries[selection] : ""; }
  void Choose(const std::string& entry) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == entry) selection = static_cast<int>(i);
    }
  }
  std::vector<std::string> entries;
  int selection = -1;
};

class FakeHost : public EditorHost {
 public:
  int PixelsPerInchX() const override { return 96; }
  int PixelsPerInchY() const override { return 96; }
  void RedrawGrid() override { ++redraws; }
  int redraws = 0;
};

class RecordingMessages : public MessageBoxes {
 public:
  MessageAnswer Show(const MessageRequest& request) override {
    shown.push_back(request);
    return MessageAnswer::kOk;
  }
  std::vector<MessageRequest> shown;
};

// Logs the grid's events with the current cell, then hands them on.
class EventLog : public GridEvents {
 public:
  EventLog(GridControl& grid, GridEvents& next) : grid_(grid), next_(next) {}
  void OnEnterCell() override { Log("enter"); next_.OnEnterCell(); }
  void OnLeaveCell() override { Log("leave"); next_.OnLeaveCell(); }
  std::vector<std::string> log;

 private:
  void Log(const char* what) {
    log.push_back(std::string(what) + "(" + std::to_string(grid_.Row()) + "," +
                  std::to_string(grid_.Col()) + ")");
  }
  GridControl& grid_;
  GridEvents& next_;
};

const BandLimits kBand{13000000, 16000000};  // 130 - 160 MHz

class TableEditorTest : public ::testing::Test {
 protected:
  explicit TableEditorTest(bool chinese = false)
      : editor(grid, {rx, tx, decode, encode, power, scanAdd, busyLock, bandwidth}, host, messages,
               chinese) {
    editor.SetUp();
    editor.SetBandLimits(kBand);
    grid.SetEvents(&editor);
  }

  FakeList& List(long col) { return static_cast<FakeList&>(editor.EditorForColumn(col)); }

  // Makes (row, col) current without committing anything on the way and opens
  // its editor, as a click on the cell does.
  void Click(long row, long col) {
    editor.Scroll();
    grid.SetEvents(nullptr);
    grid.SetRow(row);
    grid.SetCol(col);
    grid.SetEvents(&editor);
    editor.EnterCell();
  }

  // Opens (row, col) and puts `text` into its editor.
  void Type(long row, long col, const std::string& text) {
    Click(row, col);
    if (col == kColRx || col == kColTx) {
      static_cast<FakeEditBox&>(editor.EditorForColumn(col)).text = text;
    } else {
      List(col).Choose(text);
    }
  }

  void Program(long row, const std::string& freq) {
    Type(row, kColRx, freq);
    ASSERT_EQ(editor.Commit(), CommitOutcome::kCommitted);
  }

  std::vector<std::string> Row(long row) const {
    std::vector<std::string> texts;
    for (long c = kColRx; c <= kColWN; ++c) texts.push_back(grid.TextMatrix(row, c));
    return texts;
  }

  MemoryGrid grid{kTableRows, kTableCols};
  FakeEditBox rx, tx;
  FakeList decode, encode, power, scanAdd, busyLock, bandwidth;
  FakeHost host;
  RecordingMessages messages;
  TableEditor editor;
};

TEST(TableEditorRules, FrequencyRangeAndRaster) {
  struct {
    const char* text;
    BandLimits band;
    std::int32_t units;
    const char* shown;
    bool inRange;
    bool onRaster;
  } cases[] = {
      {"145.0125", kBand, 14501250, "145.01250", true, true},   // 6.25 kHz raster
      {"145.005", kBand, 14500500, "145.00500", true, true},    // 5 kHz raster
      {"145.0130", kBand, 14501300, "145.01300", true, false},  // neither raster
      {"145.0075", kBand, 14500750, "145.00750", true, false},  // half a 5 kHz step
      {"130", kBand, 13000000, "130.00000", true, true},        // lower edge inclusive
      {"160.00000", kBand, 16000000, "160.00000", true, true},  // upper edge inclusive
      {"129.99375", kBand, 12999375, "129.99375", false, true},
      {"160.00625", kBand, 16000625, "160.00625", false, true},
      {"128.015", {12000000, 13000000}, 12801500, "128.01500", true, true},  // exact decimal
      {"abc", kBand, 0, "0.00000", false, true},                // no number reads 0
      {"abc", {0, 0}, 0, "0.00000", true, true},                // no band configured
      {"-145", kBand, -14500000, "-145.00000", false, true},
      {"1e30", kBand, 2147483647, "21474.83647", false, false},  // clamped to 32 bits
      // A sixth decimal is cut off, and the cell shows what was checked.
      {"145.012509", kBand, 14501250, "145.01250", true, true},
  };
  for (const auto& c : cases) {
    FrequencyCheck check = CheckFrequency(c.text, c.band);
    EXPECT_EQ(check.units, c.units) << c.text;
    EXPECT_EQ(check.text, c.shown) << c.text;
    EXPECT_EQ(check.inRange, c.inRange) << c.text;
    EXPECT_EQ(check.onRaster, c.onRaster) << c.text;
  }
}

TEST(TableEditorRules, PresetPicksFirstEntryStartingWithCellText) {
  const auto tones = EditorEntries(kColDec, false);
  const auto busyZh = EditorEntries(kColBusy, true);
  ASSERT_EQ(busyZh, (std::vector<std::string>{"关", "Carrier", "QT/DQT"}));
  struct {
    std::vector<std::string> entries;
    const char* cell;
    int expected;
  } cases[] = {
      {EditorEntries(kColPower, false), "", 0},  // empty cell: entry 0
      {EditorEntries(kColPower, false), "low", 1},
      {EditorEntries(kColBusy, false), "QT/DQT", 2},
      {EditorEntries(kColWN, true), "窄", 1},
      {tones, "D023I", 159},  // None, 50 QT, 107 normal DQT, then D017I, D023I
      {tones, "254.1", 50},
      {busyZh, "载波", 1},    // the table's Chinese carrier word
      {EditorEntries(kColScan, false), "有", 0},
      {tones, "100.5", -1},   // a tone the list does not offer
  };
  for (const auto& c : cases) EXPECT_EQ(PresetIndex(c.entries, c.cell), c.expected) << c.cell;
}

TEST(TableEditorRules, EditorPlacementInPixels) {
  // 1440 twips are one inch: at 96 dpi 96 pixels; the corner moves 3 up-left.
  EXPECT_EQ(EditorPlacement(1440, 720, 1440, 240, 96, 96, false), (EditorRect{93, 45, 96, 16}));
  EXPECT_EQ(EditorPlacement(1440, 720, 1440, 240, 96, 96, true), (EditorRect{93, 45, 96, 116}));
  EXPECT_EQ(EditorPlacement(1000, 500, 700, 250, 120, 144, false), (EditorRect{80, 47, 58, 25}));
}

TEST_F(TableEditorTest, SetUpFillsListsAndHidesEditors) {
  EXPECT_EQ(decode.entries.size(), 265u);
  EXPECT_EQ(encode.entries, decode.entries);
  EXPECT_EQ(busyLock.entries, (std::vector<std::string>{"Off", "Carrier", "QT/DQT"}));
  EXPECT_FALSE(rx.visible || tx.visible || decode.visible || bandwidth.visible);
  EXPECT_EQ(grid.TextMatrix(0, kColRx), "Rx Frequency");
}

TEST_F(TableEditorTest, CellEntryPresetsPlacesAndShowsTheEditor) {
  Program(3, "145.5");
  Click(3, kColPower);
  EXPECT_TRUE(power.visible);
  EXPECT_TRUE(power.focused);
  EXPECT_EQ(power.Text(), "High");
  EXPECT_EQ(power.rect, EditorPlacement(grid.CellLeft(), grid.CellTop(), grid.CellWidth(),
                                        grid.CellHeight(), 96, 96, true));
  Click(3, kColTx);
  EXPECT_TRUE(tx.visible);
  EXPECT_EQ(tx.text, "145.50000");
  EXPECT_TRUE(tx.allSelected);
  EXPECT_GT(host.redraws, 0);
}

TEST_F(TableEditorTest, FirstReceiveFrequencyFillsTheRow) {
  Program(4, "145.0125");
  EXPECT_EQ(Row(4), (std::vector<std::string>{"145.01250", "145.01250", "None", "None", "High",
                                              "No", "Off", "Wide"}));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(rx.visible);
  // A later receive frequency changes only its own cell.
  Type(4, kColTx, "146");
  editor.Commit();
  Program(4, "147.5");
  EXPECT_EQ(Row(4)[0], "147.50000");
  EXPECT_EQ(Row(4)[1], "146.00000");
}

class TableEditorChineseTest : public TableEditorTest {
 protected:
  TableEditorChineseTest() : TableEditorTest(true) {}
};

TEST_F(TableEditorChineseTest, NewRowDefaultsAndListsInChinese) {
  Program(1, "145.0125");
  EXPECT_EQ(Row(1), (std::vector<std::string>{"145.01250", "145.01250", "无", "无", "高", "无",
                                              "关", "宽"}));
  EXPECT_EQ(busyLock.entries, (std::vector<std::string>{"关", "Carrier", "QT/DQT"}));
}

TEST_F(TableEditorChineseTest, CarrierCellKeepsItsMeaningThroughTheList) {
  Program(2, "150");
  grid.SetTextMatrix(2, kColBusy, "载波");
  Click(2, kColBusy);
  EXPECT_EQ(busyLock.Text(), "Carrier");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(2, kColBusy), "Carrier");
}

// Failed checks: which message goes out and which cells are emptied, for both
// ways of committing.
TEST_F(TableEditorTest, FailedChecksByColumnAndCommitVariant) {
  struct {
    long col;
    const char* text;
    bool enterKey;
    int message;
    bool rowCleared;  // else only the edited cell is emptied
  } cases[] = {
      {kColRx, "170", false, kStrOutOfRange, true},
      {kColRx, "170", true, kStrOutOfRange, true},
      {kColRx, "145.013", false, kStrStepValue, true},
      {kColRx, "145.013", true, kStrStepValue, true},
      {kColRx, "hello", false, kStrOutOfRange, true},
      {kColTx, "170", false, kStrOutOfRange, false},
      {kColTx, "170", true, kStrOutOfRange, false},
      {kColTx, "145.013", false, kStrStepValue, true},
      {kColTx, "145.013", true, kStrStepValue, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.enterKey ? " Enter" : " leave") + " col " +
                 std::to_string(c.col));
    messages.shown.clear();
    for (long col = kColRx; col <= kColWN; ++col) grid.SetTextMatrix(7, col, "");
    Program(7, "145.5");
    Type(7, c.col, c.text);
    if (c.enterKey) {
      EXPECT_FALSE(editor.EnterKey());
      EXPECT_EQ(grid.Row(), 7);  // the current cell stays
      EXPECT_EQ(grid.Col(), c.col);
    } else {
      EXPECT_NE(editor.Commit(), CommitOutcome::kCommitted);
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], (MessageRequest{c.message, "", kStrCaution,
                                                 MessageIcon::kExclamation, MessageButtons::kOk}));
    if (c.rowCleared) {
      EXPECT_EQ(Row(7), std::vector<std::string>(8, ""));
    } else {
      EXPECT_EQ(grid.TextMatrix(7, kColTx), "");
      EXPECT_EQ(grid.TextMatrix(7, kColRx), "145.50000");
      EXPECT_EQ(grid.TextMatrix(7, kColWN), "Wide");
    }
    EXPECT_FALSE(editor.EditorForColumn(c.col).IsVisible());
  }
}

TEST_F(TableEditorTest, EmptyingAndEmptyRows) {
  Program(5, "145.5");
  Type(5, kColTx, "146.5");
  editor.Commit();
  // Emptying Tx puts Rx back.
  Type(5, kColTx, "");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(5, kColTx), "145.50000");
  // Emptying Rx deletes the channel, W/N included, without a message.
  Type(5, kColRx, "");
  EXPECT_EQ(editor.Commit(), CommitOutcome::kRowCleared);
  EXPECT_EQ(Row(5), std::vector<std::string>(8, ""));
  // An empty row takes neither a transmit frequency nor settings.
  for (long col : {kColTx, kColDec, kColPower, kColScan, kColBusy, kColWN}) {
    Type(5, col, col == kColTx ? "146.5" : List(col).entries.back());
    editor.Commit();
    EXPECT_EQ(grid.TextMatrix(5, col), "") << col;
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TableEditorTest, SettingsOfAProgrammedRow) {
  Program(9, "145.5");
  Type(9, kColPower, "Low");
  editor.Commit();
  Type(9, kColDec, "D023N");
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(9, kColPower), "Low");
  EXPECT_EQ(grid.TextMatrix(9, kColDec), "D023N");
  // A tone the list does not offer survives entering and leaving its cell.
  grid.SetTextMatrix(9, kColEnc, "100.5");
  Click(9, kColEnc);
  EXPECT_EQ(encode.Selection(), -1);
  editor.Commit();
  EXPECT_EQ(grid.TextMatrix(9, kColEnc), "100.5");
}

TEST_F(TableEditorTest, EnterMovesThroughGridEventsInOrder) {
  struct {
    long row, col;
    long toRow, toCol;
    std::vector<std::string> events;
  } cases[] = {
      {3, 4, 3, 5, {"leave(3,4)", "enter(3,5)"}},
      {5, 8, 6, 1, {"leave(5,8)", "enter(5,1)", "leave(5,1)", "enter(6,1)"}},
      {16, 8, 1, 1, {"leave(16,8)", "enter(1,8)", "leave(1,8)", "enter(1,1)"}},
  };
  for (const auto& c : cases) {
    Click(c.row, c.col);
    EventLog log(grid, editor);
    grid.SetEvents(&log);
    EXPECT_TRUE(editor.EnterKey());
    grid.SetEvents(&editor);
    EXPECT_EQ(grid.Row(), c.toRow);
    EXPECT_EQ(grid.Col(), c.toCol);
    EXPECT_EQ(log.log, c.events);
    EXPECT_TRUE(editor.EditorForColumn(c.toCol).IsVisible());
  }
}

TEST_F(TableEditorTest, EnterCommitsThenMoves) {
  Type(2, kColRx, "145.0125");
  EXPECT_TRUE(editor.EnterKey());
  EXPECT_EQ(grid.TextMatrix(2, kColTx), "145.01250");
  EXPECT_EQ(grid.Col(), kColTx);
  EXPECT_EQ(tx.text, "145.01250");  // the editor is open on the next cell
}

TEST_F(TableEditorTest, ScrollDropsTheTypedText) {
  Program(6, "145.5");
  Type(6, kColRx, "150");
  editor.OnScroll();
  EXPECT_FALSE(rx.visible);
  EXPECT_EQ(editor.Commit(), CommitOutcome::kNoEditor);
  EXPECT_EQ(grid.TextMatrix(6, kColRx), "145.50000");
}

TEST_F(TableEditorTest, LeavingByMovingCommits) {
  Type(8, kColRx, "145.5");
  grid.SetCol(kColTx);  // LeaveCell commits, EnterCell opens the next editor
  EXPECT_EQ(grid.TextMatrix(8, kColRx), "145.50000");
  EXPECT_TRUE(tx.visible);
  EXPECT_FALSE(rx.visible);
}

}  // namespace
}  // namespace varo::model16
