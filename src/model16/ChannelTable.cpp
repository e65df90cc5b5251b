#include "model16/ChannelTable.h"

#include <cstdio>

namespace varo::model16 {

namespace {

const char* const kEnglishHeaders[kTableCols] = {
    "CH", "Rx Frequency", "Tx Frequency", "QT/DQT Dec", "QT/DQT Enc",
    "Power", "Scan Add", "Busy Lock", "W/N"};
const char* const kChineseHeaders[kTableCols] = {
    "信道", "接收频率", "发射频率", "QT/DQT解码", "QT/DQT编码",
    "功率", "扫描添加", "繁忙锁定", "宽/窄"};

constexpr int kWidthTenths[kTableCols] = {5, 13, 13, 11, 11, 9, 9, 9, 9};

}  // namespace

std::vector<std::string> ChannelTableHeaders(bool chinese) {
  const char* const* texts = chinese ? kChineseHeaders : kEnglishHeaders;
  return std::vector<std::string>(texts, texts + kTableCols);
}

int ColumnWidthTenths(long col) {
  return col >= 0 && col < kTableCols ? kWidthTenths[col] : 0;
}

void SetUpChannelTable(GridControl& grid, bool chinese) {
  const std::vector<std::string> headers = ChannelTableHeaders(chinese);
  for (long c = 0; c < kTableCols; ++c) grid.SetTextMatrix(0, c, headers[static_cast<std::size_t>(c)]);
  for (long n = 1; n <= kChannels; ++n) {
    char number[8];
    std::snprintf(number, sizeof number, "%2ld", n);
    grid.SetTextMatrix(n, kColCh, number);
  }
  // Widths are factors of the first column's width as the grid starts out;
  // it is read once, before column 0 itself is narrowed.
  const long w = grid.ColWidth(0);
  for (long c = 0; c < kTableCols; ++c) {
    grid.SetColWidth(c, w * ColumnWidthTenths(c) / 10);
    grid.SetColAlignment(c, kAlignCenterCenter);
  }
  grid.SetForeColorFixed(kFixedTextColor);
}

}  // namespace varo::model16
