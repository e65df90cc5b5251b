#include "radio/ChannelTable.h"

#include <cstdio>

#include "radio/TextNumbers.h"

namespace varo::radio {

long TableSpec::ColumnOf(ColumnRole role) const {
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].role == role) return static_cast<long>(c);
  }
  return -1;
}

long TableSpec::ColumnNamed(const std::string& name) const {
  const std::string wanted = AsciiLower(Trim(name));
  if (wanted.empty()) return -1;
  for (long col = 0; col < Cols(); ++col) {
    const Texts& h = Column(col).header;
    if (wanted == AsciiLower(h.english) || wanted == AsciiLower(h.chinese)) return col;
  }
  return -1;
}

long TableSpec::EditorColumn(long col) const {
  if (col > 0 && col < Cols() && Column(col).editor != EditorKind::kNone) return col;
  return ColumnOf(fallbackEditor);
}

std::string TableSpec::RowLabel(long row) const {
  if (priorityRow && row == 1) return "Pr";
  char label[16];
  std::snprintf(label, sizeof label, "%*ld", labelWidth, ChannelNumber(row));
  return label;
}

std::vector<std::string> TableSpec::Headers(bool chinese) const {
  std::vector<std::string> headers;
  for (const ColumnSpec& c : columns) headers.push_back(c.header.In(chinese));
  return headers;
}

std::vector<std::string> TableSpec::NewRowDefaults(bool chinese) const {
  std::vector<std::string> defaults;
  for (long c = ColumnOf(ColumnRole::kTx) + 1; c < Cols(); ++c) {
    defaults.push_back(Column(c).newRowDefault.In(chinese));
  }
  return defaults;
}

void SetUpChannelTable(GridControl& grid, const TableSpec& table, bool chinese) {
  const std::vector<std::string> headers = table.Headers(chinese);
  for (long c = 0; c < table.Cols(); ++c) grid.SetTextMatrix(0, c, headers[static_cast<std::size_t>(c)]);
  for (long row = 1; row < table.Rows(); ++row) grid.SetTextMatrix(row, 0, table.RowLabel(row));
  // Widths are factors of the first column's width as the grid starts out;
  // it is read once, before column 0 itself is narrowed.
  const long w = grid.ColWidth(0);
  for (long c = 0; c < table.Cols(); ++c) {
    grid.SetColWidth(c, w * table.Column(c).widthTenths / 10);
    grid.SetColAlignment(c, kAlignCenterCenter);
  }
  grid.SetForeColorFixed(kFixedTextColor);
}

}  // namespace varo::radio
