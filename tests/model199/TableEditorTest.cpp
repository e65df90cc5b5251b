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

class TableEditor199Test : public ::testing::Test, public test::TableEditorRig {
 protected:
  TableEditor199Test() : TableEditorRig(Table199(), false) {}
};

TEST_F(TableEditor199Test, ListsEditBoxesAndNamesNeedAFrequency) {
  Commit(1, kColRx, "145.0125");  // the priority row
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

// In Chinese, a cell written in English finds its Chinese entry.
TEST(TableEditor199Chinese, ListsInChinese) {
  test::TableEditorRig rig(Table199(), true);
  rig.Commit(3, kColRx, "145.0125");
  EXPECT_EQ(rig.List(kColLock).entries, (Texts7{"锁定", "未锁定"}));
  rig.grid.SetTextMatrix(3, kColPower, "Middle");
  rig.Type(3, kColPower, "");
  EXPECT_EQ(rig.List(kColPower).Text(), "中");
}

}  // namespace
}  // namespace varo::model199
