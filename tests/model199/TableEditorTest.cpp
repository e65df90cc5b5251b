// The channel table's editing rules on the 199-channel table: 200 rows with
// the priority row first, seven channel columns, the name column, and edit
// boxes that receive their cell's text without selecting it.
#include <gtest/gtest.h>

#include "model199/ChannelCodec.h"
#include "model199/ChannelTable.h"
#include "radio/MemoryGrid.h"
#include "radio/TableEditor.h"
#include "support/EditorFakes.h"

namespace varo::model199 {
namespace {

using namespace varo::radio;
using Texts7 = std::vector<std::string>;

TEST(ChannelTable199Test, SetUpLabelsWidthsAndEditors) {
  MemoryGrid grid(kTableRows, kTableCols);
  grid.SetColWidth(0, 1001);
  SetUpChannelTable(grid, Table199(), true);
  const long widths[kTableCols] = {500, 1301, 1301, 1101, 1101, 1001, 1001, 1101};
  const char* headers[kTableCols] = {"信道", "接收频率", "发射频率", "QT/DQT解码",
                                     "QT/DQT编码", "功率", "信道锁定", "信道名字"};
  for (long c = 0; c < kTableCols; ++c) {
    EXPECT_EQ(grid.ColWidth(c), widths[c]) << c;
    EXPECT_EQ(grid.TextMatrix(0, c), headers[c]) << c;
  }
  const std::pair<long, const char*> labels[] = {{1, "Pr"}, {2, "  1"}, {11, " 10"}, {200, "199"}};
  for (const auto& [row, label] : labels) EXPECT_EQ(grid.TextMatrix(row, 0), label);
  // Editor ids (help context numbers); column 0 is served by the Rx editor.
  const int ids[kTableCols] = {2127, 2127, 2128, 2132, 2133, 1129, 1127, 1126};
  for (long c = 0; c < kTableCols; ++c) EXPECT_EQ(Table199().EditorIdForColumn(c), ids[c]) << c;
  EXPECT_EQ(Table199().Headers(false).back(), "Cha Name");
}

class TableEditor199Test : public ::testing::Test, public test::TableEditorRig {
 protected:
  explicit TableEditor199Test(bool chinese = false) : TableEditorRig(Table199(), chinese) {}
};

TEST_F(TableEditor199Test, FirstFrequencyGivesDefaultsAndNamesNeedAFrequency) {
  Commit(1, kColRx, "145.0125");  // the priority row
  EXPECT_EQ(Row(1), (Texts7{"145.01250", "145.01250", "None", "None", "High", "Lock", ""}));
  EXPECT_EQ(List(kColPower).entries, (Texts7{"High", "Middle", "Low"}));
  EXPECT_EQ(List(kColDec).entries.size(), 261u);

  // The edit boxes receive the cell's text and leave it unselected.
  Type(1, kColRx, "145.0250");
  EXPECT_EQ(Box(kColRx).selections, 0);
  EXPECT_TRUE(editor.EnterKey());
  EXPECT_EQ(Row(1)[0], "145.02500");
  EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(1L, kColTx));
  EXPECT_EQ(Box(kColTx).text, "145.01250");
  EXPECT_EQ(Box(kColTx).selections, 0);

  Commit(1, kColName, "AB-12X");
  Commit(1, kColPower, "Middle");
  EXPECT_EQ(Row(1), (Texts7{"145.02500", "145.01250", "None", "None", "Middle", "Lock", "AB-12X"}));
  // Leaving a name cell that was entered and left alone keeps the name.
  grid.SetTextMatrix(1, kColName, "LONGNAME");  // eight characters from a file
  Commit(1, kColName, grid.TextMatrix(1, kColName));
  EXPECT_EQ(grid.TextMatrix(1, kColName), "LONGNAME");

  // A row without frequencies takes no name and no settings.
  Commit(7, kColName, "NONAME");
  Commit(7, kColLock, "Unlock");
  EXPECT_EQ(Row(7), Texts7(7, ""));
  // Emptying the receive frequency empties the row, name included.
  Commit(1, kColRx, "");
  EXPECT_EQ(Row(1), Texts7(7, ""));
  EXPECT_TRUE(messages.shown.empty());
}

// A power chosen in the table is stored and shows again when the image is
// read back.
TEST_F(TableEditor199Test, ChosenPowerAndLockReachTheImage) {
  const std::pair<const char*, std::uint8_t> cases[] = {{"High", 0xEF}, {"Middle", 0xDF}, {"Low", 0xCF}};
  for (const auto& [power, flags] : cases) {
    Commit(200, kColRx, "");
    Commit(200, kColRx, "150");
    Commit(200, kColPower, power);
    MemoryImage image = NewImage();
    TableToImage(grid, image);
    EXPECT_EQ(image[0x0C7C], flags) << power;  // channel 199: power, Lock, other bits kept
    MemoryGrid back(kTableRows, kTableCols);
    ImageToTable(image, back, false);
    EXPECT_EQ(back.TextMatrix(200, kColPower), power);
  }
}

TEST_F(TableEditor199Test, EnterMovesOverTheWholeTable) {
  struct {
    long row, col, toRow, toCol;
  } cases[] = {{5, kColName, 6, kColRx}, {200, kColName, 1, kColRx}, {1, kColLock, 1, kColName},
               {199, kColName, 200, kColRx}};
  for (const auto& c : cases) {
    Type(c.row, c.col, "");
    test::EventLog log(grid, &editor);
    grid.SetEvents(&log);
    EXPECT_TRUE(editor.EnterKey());
    grid.SetEvents(&editor);
    EXPECT_EQ(std::make_pair(grid.Row(), grid.Col()), std::make_pair(c.toRow, c.toCol));
    EXPECT_EQ(log.log.back(), "enter(" + std::to_string(c.toRow) + "," + std::to_string(c.toCol) + ")");
    EXPECT_TRUE(editor.EditorForColumn(c.toCol).IsVisible());
  }
}

class TableEditor199ChineseTest : public TableEditor199Test {
 protected:
  TableEditor199ChineseTest() : TableEditor199Test(true) {}
};

TEST_F(TableEditor199ChineseTest, DefaultsAndListsInChinese) {
  Commit(3, kColRx, "145.0125");
  EXPECT_EQ(Row(3), (Texts7{"145.01250", "145.01250", "无", "无", "高", "锁定", ""}));
  EXPECT_EQ(List(kColLock).entries, (Texts7{"锁定", "未锁定"}));
  // A cell written in English finds its Chinese entry.
  grid.SetTextMatrix(3, kColPower, "Middle");
  Type(3, kColPower, "");
  EXPECT_EQ(List(kColPower).Text(), "中");
}

}  // namespace
}  // namespace varo::model199
