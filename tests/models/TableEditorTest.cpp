// The channel table's set-up and the editing rules every radio shares, as one
// table over both radios: widths, headers, row labels and editor ids; the
// defaults a row gets with its first frequency, in either language; where
// Enter moves the current cell.
#include <gtest/gtest.h>

#include "model16/ChannelTable.h"
#include "model199/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "radio/TableEditor.h"
#include "support/EditorFakes.h"

namespace varo::radio {
namespace {

using Texts = std::vector<std::string>;
const TableSpec& T16() { return model16::Table16(); }
const TableSpec& T199() { return model199::Table199(); }

// Every width follows from the first column's width at set-up, truncated to a
// whole twip; column 0 is served by another column's editor (W/N on the
// 16-channel radio, Rx on the 199-channel radio).
TEST(ChannelTableSetUp, WidthsHeadersLabelsAndEditorIds) {
  const struct {
    const TableSpec& table;
    bool chinese;
    std::vector<long> widths;  // with 1001 twips in column 0 before
    Texts headers;
    std::vector<std::pair<long, const char*>> labels;
    std::vector<int> ids;  // editor id (help context) of each column
  } cases[] = {
      {T16(), false, {500, 1301, 1301, 1101, 1101, 900, 900, 900, 900},
       {"CH", "Rx Frequency", "Tx Frequency", "QT/DQT Dec", "QT/DQT Enc", "Power", "Scan Add",
        "Busy Lock", "W/N"},
       {{1, " 1"}, {16, "16"}}, {1128, 2127, 2128, 2132, 2133, 1129, 1134, 1139, 1128}},
      {T199(), true, {500, 1301, 1301, 1101, 1101, 1001, 1001, 1101},
       {"信道", "接收频率", "发射频率", "QT/DQT解码", "QT/DQT编码", "功率", "信道锁定", "信道名字"},
       {{1, "Pr"}, {2, "  1"}, {11, " 10"}, {200, "199"}},
       {2127, 2127, 2128, 2132, 2133, 1129, 1127, 1126}},
  };
  for (const auto& c : cases) {
    MemoryGrid grid(c.table.Rows(), c.table.Cols());
    grid.SetColWidth(0, 1001);
    SetUpChannelTable(grid, c.table, c.chinese);
    ASSERT_EQ(c.table.Cols(), static_cast<long>(c.widths.size()));
    for (long col = 0; col < c.table.Cols(); ++col) {
      const auto i = static_cast<std::size_t>(col);
      EXPECT_EQ(grid.ColWidth(col), c.widths[i]) << col;
      EXPECT_EQ(grid.TextMatrix(0, col), c.headers[i]) << col;
      EXPECT_EQ(c.table.EditorIdForColumn(col), c.ids[i]) << col;
    }
    for (const auto& [row, label] : c.labels) EXPECT_EQ(grid.TextMatrix(row, 0), label);
  }
  EXPECT_EQ(T199().Headers(false).back(), "Cha Name");
}

// A first receive frequency gives the row its transmit frequency and every
// column's default, in the interface language.
TEST(TableEditorBothRadios, FirstFrequencyGivesTheDefaults) {
  const struct {
    const TableSpec& table;
    bool chinese;
    long row;
    Texts texts;
  } cases[] = {
      {T16(), false, 4, {"145.01250", "145.01250", "None", "None", "High", "No", "Off", "Wide"}},
      {T16(), true, 1, {"145.01250", "145.01250", "无", "无", "高", "无", "关", "宽"}},
      {T199(), false, 1, {"145.01250", "145.01250", "None", "None", "High", "Lock", ""}},  // Pr
      {T199(), true, 3, {"145.01250", "145.01250", "无", "无", "高", "锁定", ""}},
  };
  for (const auto& c : cases) {
    test::TableEditorRig rig(c.table, c.chinese);
    rig.Commit(c.row, 1, "145.0125");
    EXPECT_EQ(rig.Row(c.row), c.texts) << c.table.Cols() << (c.chinese ? " zh" : " en");
    EXPECT_TRUE(rig.messages.shown.empty());
  }
}

// Enter commits the cell and moves right, then to the next row's first
// column, from the last row to the first; through the grid's cell events,
// opening the editor of the cell it reaches.
TEST(TableEditorBothRadios, EnterMovesThroughGridEvents) {
  using model199::kColLock, model199::kColName;
  const struct {
    const TableSpec& table;
    long row, col, toRow, toCol;
    Texts events;  // all of them, or the last one only
  } cases[] = {
      {T16(), 3, 4, 3, 5, {"leave(3,4)", "enter(3,5)"}},
      {T16(), 5, 8, 6, 1, {"leave(5,8)", "enter(5,1)", "leave(5,1)", "enter(6,1)"}},
      {T16(), 16, 8, 1, 1, {"leave(16,8)", "enter(1,8)", "leave(1,8)", "enter(1,1)"}},
      {T199(), 5, kColName, 6, 1, {"enter(6,1)"}},
      {T199(), 200, kColName, 1, 1, {"enter(1,1)"}},
      {T199(), 1, kColLock, 1, kColName, {"enter(1,7)"}},
      {T199(), 199, kColName, 200, 1, {"enter(200,1)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.table.Cols() << " columns, from " << c.row << "," << c.col);
    test::TableEditorRig rig(c.table, false);
    rig.Type(c.row, c.col, "");
    test::EventLog log(rig.grid, &rig.editor);
    rig.grid.SetEvents(&log);
    EXPECT_TRUE(rig.editor.EnterKey());
    rig.grid.SetEvents(&rig.editor);
    EXPECT_EQ(std::make_pair(rig.grid.Row(), rig.grid.Col()), std::make_pair(c.toRow, c.toCol));
    if (c.events.size() == 1) {
      ASSERT_FALSE(log.log.empty());
      EXPECT_EQ(log.log.back(), c.events[0]);
    } else {
      EXPECT_EQ(log.log, c.events);
    }
    EXPECT_TRUE(rig.editor.EditorForColumn(c.toCol).IsVisible());
  }
}

}  // namespace
}  // namespace varo::radio
