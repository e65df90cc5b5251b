#include "model16/ChannelTable.h"

#include <gtest/gtest.h>

#include "model16/MemoryGrid.h"

namespace varo::model16 {
namespace {

// Records each event with the current cell at the moment it arrives.
class Recorder : public GridEvents {
 public:
  explicit Recorder(const GridControl& grid) : grid_(grid) {}
  void OnEnterCell() override { log += "E" + Cell(); }
  void OnLeaveCell() override { log += "L" + Cell(); }
  std::string log;

 private:
  std::string Cell() const {
    return "(" + std::to_string(grid_.Row()) + "," + std::to_string(grid_.Col()) + ")";
  }
  const GridControl& grid_;
};

TEST(MemoryGridTest, CellEventsSurroundEveryChangeOfTheCurrentCell) {
  MemoryGrid grid(kTableRows, kTableCols);
  Recorder recorder(grid);
  grid.SetEvents(&recorder);
  struct { char what; long to; const char* log; } steps[] = {
      {'r', 3, "L(1,1)E(3,1)"},  {'c', 4, "L(3,1)E(3,4)"},
      {'r', 3, ""},              {'c', 4, ""},               // no change, no events
      {'r', 17, ""},             {'c', -1, ""},              // outside: refused
      {'r', 16, "L(3,4)E(16,4)"}, {'c', 8, "L(16,4)E(16,8)"},
  };
  for (const auto& s : steps) {
    recorder.log.clear();
    s.what == 'r' ? grid.SetRow(s.to) : grid.SetCol(s.to);
    EXPECT_EQ(recorder.log, s.log) << s.what << s.to;
  }
  grid.SetText("446.00625");
  EXPECT_EQ(grid.TextMatrix(16, 8), "446.00625");
  EXPECT_EQ(grid.CellLeft(), 8 * MemoryGrid::kDefaultColWidth);
  EXPECT_EQ(grid.CellTop(), 16 * MemoryGrid::kDefaultRowHeight);
}

TEST(ChannelTableTest, SetUpGivesHeadersNumbersAndWidthsFromTheFirstColumn) {
  for (bool chinese : {false, true}) {
    MemoryGrid grid(kTableRows, kTableCols);
    grid.SetColWidth(0, 1001);  // an odd width shows the truncation
    SetUpChannelTable(grid, chinese);
    const std::vector<std::string> headers = ChannelTableHeaders(chinese);
    for (long c = 0; c < kTableCols; ++c) {
      EXPECT_EQ(grid.TextMatrix(0, c), headers[static_cast<std::size_t>(c)]);
      EXPECT_EQ(grid.ColAlignment(c), kAlignCenterCenter);
    }
    EXPECT_EQ(grid.TextMatrix(0, kColRx), chinese ? "接收频率" : "Rx Frequency");
    EXPECT_EQ(grid.TextMatrix(1, 0), " 1");
    EXPECT_EQ(grid.TextMatrix(16, 0), "16");
    const long widths[kTableCols] = {500, 1301, 1301, 1101, 1101, 900, 900, 900, 900};
    for (long c = 0; c < kTableCols; ++c) EXPECT_EQ(grid.ColWidth(c), widths[c]) << c;
    EXPECT_EQ(grid.ForeColorFixed(), 0x0032F0u);
  }
}

}  // namespace
}  // namespace varo::model16
